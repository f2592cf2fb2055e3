#include "basic/StudentExport.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sheet/Workbook.h"
#include "platform/text/Cp949.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/Msg.h"
#include "shared/MainHooks.h"

#include <QSaveFile>

namespace StudentExport {

namespace {

// Hands the students to `take` one at a time in number order, as they are
// read, until `take` says no more. Returns how many were handed; *error says
// why the reading failed (then the export is not complete and is not kept).
template <class Take>
int eachStudent(QString* error, Take take) {
    // The remark table may not exist yet on a new data root.
    const bool remarks = Database::tableExists(QStringLiteral("C_Bigo"));
    Query q(QStringLiteral("SELECT m.CustNo, m.SNo, m.Nm, m.BankCd, m.AcctNo, m.Owr, m.SCd, m.Sex, m.UseTy, "
                           "m.InDate, m.OutDate, m.Ju_No, m.MTelNo, m.smsYN, m.Ju_No_Stud, %1 "
                           "FROM M_CUST m %2 ORDER BY m.SNo")
                .arg(remarks ? QStringLiteral("b.Bigo") : QStringLiteral("NULL"),
                     remarks ? QStringLiteral("LEFT JOIN \"C_Bigo\" b ON b.CustNo = m.CustNo") : QString()));
    if (!q.exec()) {
        *error = q.error();
        return 0;
    }
    int n = 0;
    Student s;
    while (q.next()) {
        int i = 0;
        for (QString* f : {&s.custNo, &s.sNo, &s.nm, &s.bankCd, &s.acctNo, &s.owr, &s.sCd, &s.sex, &s.useTy,
                           &s.inDate, &s.outDate, &s.juNo, &s.mTelNo, &s.smsYN, &s.juNoStud, &s.bigo})
            *f = q.str(i++);
        ++n;
        if (!take(s)) {
            q.finish();
            return n;
        }
    }
    if (!q.ok()) *error = q.error();
    return n;
}

QString bankName(const QString& code) { return DMData ? DMData->GetBankName(code) : QString(); }

// A minimum width in CP949 bytes; a longer value is kept whole.
QString pad(const QString& s, int width, bool right) {
    const int missing = width - Cp949::byteLength(s);
    if (missing <= 0) return s;
    return right ? QString(missing, QLatin1Char(' ')) + s : s + QString(missing, QLatin1Char(' '));
}

QString root() { return DMLib ? DMLib->FDataDir : QString(); }

} // namespace

QString textLine(const Student& s) {
    const QStringList fields{
        pad(s.custNo, 10, true),          pad(s.sNo, 10, false),   pad(s.nm, 20, false),
        pad(s.bankCd, 2, false),          pad(bankName(s.bankCd), 20, false),
        pad(s.acctNo, 20, false),         pad(s.owr, 20, false),   pad(s.sCd, 2, false),
        pad(s.sex, 1, false),             pad(s.useTy, 1, false),  pad(s.inDate, 8, false),
        pad(s.outDate, 8, false),         pad(s.juNo, 13, false),  pad(QLatin1Char('\'') + s.bigo, 80, false),
    };
    return fields.join(QLatin1Char(','));
}

Result writeText(const QString& path) {
    Result r;
    // Made at the first student: with none, no file is created.
    std::unique_ptr<QSaveFile> f;
    const int n = eachStudent(&r.error, [&](const Student& s) {
        if (!f) {
            f = std::make_unique<QSaveFile>(path);
            if (!f->open(QIODevice::WriteOnly)) {
                r.error = f->errorString();
                return false;
            }
        }
        if (f->write(Cp949::encode(textLine(s)) + "\r\n") < 0) {
            r.error = f->errorString();
            return false;
        }
        return true;
    });
    if (!f || !r.error.isEmpty()) return r; // an unfinished QSaveFile leaves the old file
    if (!f->commit()) {
        r.error = f->errorString();
        return r;
    }
    r.written = true;
    r.rows = n;
    return r;
}

Result writeWorkbook(const QString& path) {
    Result r;
    // Each student's row goes to the file as he is read; only the row being
    // written is held. The stream is made at the first student: with none,
    // no file is created.
    std::unique_ptr<WorkbookStream> wb;
    int row = 1;
    const int n = eachStudent(&r.error, [&](const Student& s) {
        if (!wb) {
            wb = std::make_unique<WorkbookStream>(path);
            wb->writeRow(1, 1,
                         {QStringLiteral("학생고유번호"), QStringLiteral("학생번호"), QStringLiteral("학생명"),
                          QStringLiteral("은행번호"), QStringLiteral("은행명"), QStringLiteral("계좌번호"),
                          QStringLiteral("보호자명"), QStringLiteral("학년"), QStringLiteral("성별(1:남자,2:여자)"),
                          QStringLiteral("재학여부(1:재학,2:전학)"), QStringLiteral("전입일"),
                          QStringLiteral("전출일"), QStringLiteral("예금주주민등록번호"), QStringLiteral("비고"),
                          QStringLiteral("핸드폰번호"), QStringLiteral("SMS수신여부(1:수신,2:거부)"),
                          QStringLiteral("학생주민번호")});
        }
        QVariantList v;
        v.reserve(17);
        // Every value is a text cell, so numbers keep their leading zeros.
        for (const QString& x : {s.custNo, s.sNo, s.nm, s.bankCd, bankName(s.bankCd), s.acctNo, s.owr, s.sCd,
                                 s.sex, s.useTy, s.inDate, s.outDate, s.juNo, s.bigo, s.mTelNo, s.smsYN,
                                 s.juNoStud})
            v << QVariant(QLatin1Char('\'') + x);
        if (!wb->writeRow(++row, 1, v)) {
            r.error = wb->error();
            return false;
        }
        return true;
    });
    if (!wb || !r.error.isEmpty()) return r; // a stream not finished leaves the old file
    if (!wb->finish(&r.error)) return r;
    r.written = true;
    r.rows = n;
    return r;
}

namespace {

Result finish(const Result& r, const QString& done, QWidget* parent) {
    if (r.written) Msg::info(QStringLiteral("화일생성"), done, parent);
    else if (!r.error.isEmpty())
        Msg::error(QStringLiteral("오류"), QStringLiteral("화일을 만들지 못했습니다.\r") + r.error, parent);
    return r;
}

} // namespace

Result MnuT201B00Click(QWidget* parent) {
    FileDialogSpec spec;
    spec.mode = FileDialogSpec::Mode::Save;
    spec.title = QStringLiteral("학생자료를 텍스트화일로 만들기");
    spec.defaultSuffix = QStringLiteral("txt");
    spec.filter = QStringLiteral("텍스트화일|*.txt|모든화일|*.*");
    spec.fileName = QStringLiteral("StudentData.txt");
    spec.folder = root();
    const std::optional<QString> path = FileDialog::pick(spec, parent);
    if (!path) return {};
    return finish(writeText(*path), QStringLiteral("텍스트화일을 생성하였습니다!"), parent);
}

Result MnuT202B00Click(QWidget* parent) {
    FileDialogSpec spec;
    spec.mode = FileDialogSpec::Mode::Save;
    spec.title = QStringLiteral("학생자료를 엑셀화일로 만들기");
    spec.defaultSuffix = QStringLiteral("xlsx");
    spec.filter = QStringLiteral("엑셀화일|*.xlsx|모든화일|*.*");
    spec.fileName = QStringLiteral("StudentData.xlsx");
    spec.folder = root();
    const std::optional<QString> path = FileDialog::pick(spec, parent);
    if (!path) return {};
    return finish(writeWorkbook(*path), QStringLiteral("엑셀화일을 생성하였습니다!"), parent);
}

namespace {
const bool g_hooked = [] {
    mainHooks().menuActions.insert(QStringLiteral("MnuT201B00"), [](QWidget* p) { MnuT201B00Click(p); });
    mainHooks().menuActions.insert(QStringLiteral("MnuT202B00"), [](QWidget* p) { MnuT202B00Click(p); });
    return true;
}();
} // namespace

} // namespace StudentExport
