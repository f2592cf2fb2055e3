#include "students/StudentSheets.h"

#include "data/DMBank.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sheet/SheetReader.h"
#include "platform/sheet/Workbook.h"
#include "shared/InputCheck.h"
#include "platform/text/Cp949.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <cmath>
#include <optional>

namespace StudentSheets {

namespace {

const QString kMenu = QString::fromUtf16(StudentStore::kMenuName);

QString root() { return DMLib ? DMLib->FDataDir : QDir::currentPath(); }

StoreBox box(const QString& caption, const QString& text, MsgIcon icon) { return StoreBox{caption, text, icon}; }

// The error list in the system code page, one CR LF line per rejected row.
bool writeList(const QString& file, const QStringList& lines, QString* error) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSaveFile f(file);
    if (!f.open(QIODevice::WriteOnly)) {
        *error = f.errorString();
        return false;
    }
    for (const QString& l : lines)
        f.write(Cp949::encode(l) + "\r\n");
    if (!f.commit()) {
        *error = f.errorString();
        return false;
    }
    return true;
}

StoreBox readError(const QString& why) {
    return box(QStringLiteral("오류"), QStringLiteral("엑셀화일을 읽을 수 없습니다.\r") + why, MsgIcon::Error);
}

// A sheet with its header row alone.
StoreBox noRows() {
    return box(QStringLiteral("알림"), QStringLiteral("불러올 자료가 없습니다."), MsgIcon::Information);
}

StoreBox dbError(const QString& why) {
    return box(QStringLiteral("오류"), QStringLiteral("학생 정보를 저장하지 못했습니다.\r") + why, MsgIcon::Error);
}

// The error list as the boxes name it: its whole path.
QString shownPath(const QString& file) {
    return QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath());
}

// The closing box of a run that went through its rows: the rows stored and
// refused, and the error list by its whole path when a row was refused.
// Rows stored: the done text (caption `doneCaption`, or "알림" with refused
// rows); none: `noneText` with an error icon.
StoreBox closingBox(const SheetRun& run, const QString& errorFile, const QString& doneCaption,
                    const QString& doneText, const QString& errorsText, const QString& noneCaption,
                    const QString& noneText) {
    const QString counts = QStringLiteral("저장 %1건, 오류 %2건").arg(run.stored).arg(run.rejected.size());
    const QString check = shownPath(errorFile) + QStringLiteral(" 파일을 확인하세요!!");
    if (run.stored == 0)
        return box(noneCaption,
                   noneText + QStringLiteral("\r") + counts +
                       (run.rejected.isEmpty() ? QString() : QStringLiteral("\r") + check),
                   MsgIcon::Error);
    if (run.rejected.isEmpty())
        return box(doneCaption, doneText + QStringLiteral("\r") + counts, MsgIcon::Information);
    return box(QStringLiteral("알림"),
               doneText + QStringLiteral("\r") + counts + QStringLiteral("\r") + errorsText + QStringLiteral("\r") +
                   check,
               MsgIcon::Information);
}

// The import's columns: their M_CUST column and the name a rejected row's
// reason gives them.
struct Column {
    const char* field;
    const char16_t* label;
};
constexpr Column kColumns[12] = {
    {"SNo", u"학번"},         {"Nm", u"성명"},          {"Sex", u"성별"},
    {"BankCd", u"은행코드"},  {"AcctNo", u"계좌번호"},  {"Owr", u"예금주"},
    {"InDate", u"전입일"},    {"OutDate", u"전출일"},   {"Ju_No", u"예금주주민번호"},
    {"MTelNo", u"핸드폰번호"}, {"smsYN", u"SMS수신여부"}, {"Ju_No_Stud", u"학생주민번호"},
};

bool exists(const char* sql, const QString& value, QString* error) {
    Query q(QString::fromLatin1(sql));
    q.add(value);
    if (!q.exec()) {
        *error = q.error();
        return false;
    }
    return q.next();
}

bool exists2(const char* sql, const QString& value, QString* error) {
    Query q(QString::fromLatin1(sql));
    q.add(value).add(value);
    if (!q.exec()) {
        *error = q.error();
        return false;
    }
    return q.next();
}

enum class Stored { Yes, Rejected, Failed };

// One row in one transaction: the checks against the roster, the new payer
// number, the row, its number record and its log row.
Stored storeRow(const QStringList& v, QString* reason, QString* error) {
    const QString& s = v.at(0);
    Transaction tx;
    if (!tx.ok()) {
        *error = QStringLiteral("BEGIN");
        return Stored::Failed;
    }
    QString qerr;
    // The NOCASE term lets the number index answer; the plain one decides.
    if (exists2("SELECT 1 FROM M_CUST WHERE SNo = ? COLLATE NOCASE AND SNo = ?", s, &qerr)) {
        *reason = QStringLiteral(" 이미 존재하는 학번입니다");
        return Stored::Rejected;
    }
    if (!qerr.isEmpty()) {
        *error = qerr;
        return Stored::Failed;
    }
    const QString custNo = StudentStore::sNewCustNo();
    if (exists("SELECT 1 FROM M_CUST WHERE CustNo = ?", custNo, &qerr)) {
        *reason = QStringLiteral(" 이미 존재하는 고객번호입니다.");
        return Stored::Rejected;
    }
    if (!qerr.isEmpty()) {
        *error = qerr;
        return Stored::Failed;
    }
    const QString& bank = v.at(3);
    const QString& acct = v.at(4);
    // A payer whose bank is not one of the list is left out of every round
    // by bank.
    if (!bank.isEmpty() && bank != QLatin1String("99")) {
        if (!exists("SELECT 1 FROM C_BANK WHERE BankCd = ?", bank, &qerr)) {
            if (!qerr.isEmpty()) {
                *error = qerr;
                return Stored::Failed;
            }
            *reason = QStringLiteral(" 은행코드가 은행목록에 없습니다");
            return Stored::Rejected;
        }
    }
    if (!DMBankLib->CheckAcctNo(bank, acct) && bank != QLatin1String("99") && !bank.isEmpty() &&
        bank != QLatin1String("0")) {
        *reason = QStringLiteral(" 계좌번호가 틀렸습니다");
        return Stored::Rejected;
    }
    ColumnValues row{{QStringLiteral("CustNo"), custNo}, {QStringLiteral("SCd"), s.left(1)}};
    for (int i = 0; i < 12; ++i)
        row.append({QString::fromLatin1(kColumns[i].field), v.at(i)});
    // Enrolled even with an out-date; the registration states stay empty.
    row.append({QStringLiteral("UseTy"), QStringLiteral("1")});
    const QString logText =
        QStringLiteral("[엑셀등록]학번:") + s + QStringLiteral(", 성명:") + v.at(1) + QStringLiteral(", 성별:") +
        v.at(2) + QStringLiteral(", 은행:") + v.at(3) + QStringLiteral(", 계좌번호:") + v.at(4) +
        QStringLiteral(", 예금주: ") + v.at(5) + QStringLiteral(", 전입일: ") + v.at(6) +
        QStringLiteral(", 전출일: ") + v.at(7) + QStringLiteral(", 주민번호: ") + v.at(8) +
        QStringLiteral(", 핸드폰번호: ") + v.at(9) + QStringLiteral(", sms수신여부: ") + v.at(10) +
        QStringLiteral(", 학생주민번호: ") + v.at(11);
    if (!Database::insertRow(QStringLiteral("M_CUST"), row, error)) return Stored::Failed;
    if (!StudentStore::rememberCustNo(custNo)) {
        *error = QStringLiteral("M_CUSTSEQ");
        return Stored::Failed;
    }
    if (!DMLib->WriteJobLog(kMenu, logText)) {
        *error = QStringLiteral("L_Log");
        return Stored::Failed;
    }
    if (!tx.commit()) {
        *error = QStringLiteral("COMMIT");
        return Stored::Failed;
    }
    return Stored::Yes;
}

// The reason a row cannot be stored as it stands, before the roster is
// asked; empty when it can.
QString rowFault(const QStringList& v) {
    const QString& s = v.at(0);
    if (s.isEmpty()) return QStringLiteral(" 학번이 없습니다");
    if (s.size() != SNoLen) return QStringLiteral(" 학번 자릿수 오류");
    if (s.startsWith(QLatin1Char('0')) || s.mid(1, 2) == QLatin1String("00"))
        return QStringLiteral(" 학반자료 오류(0은 허용안됨)");
    // Nothing is cut to fit: a value the roster cannot hold refuses the row.
    for (int i = 0; i < 12; ++i) {
        const QString label = QString::fromUtf16(kColumns[i].label);
        if (!Cp949::canEncode(v.at(i))) return QStringLiteral(" ") + label + QStringLiteral("에 쓸 수 없는 글자가 있습니다");
        const int width = Database::columnWidth(QStringLiteral("M_CUST"), QString::fromLatin1(kColumns[i].field));
        if (width > 0 && Cp949::byteLength(v.at(i)) > width)
            return QStringLiteral(" %1 자료가 너무 깁니다(%2바이트 이하)").arg(label).arg(width);
    }
    if (v.at(1).isEmpty()) return QStringLiteral(" 성명이 없습니다");
    // The roster's own check, as for a student entered by hand; then the
    // columns it does not cover.
    StudentEntry e;
    e.classNo = s;
    e.name = v.at(1);
    e.acctNo = v.at(4);
    e.owr = v.at(5);
    e.juNo = v.at(8);
    e.mTelNo = v.at(9);
    e.juNoStud = v.at(11);
    e.inDate = v.at(6);
    e.outDate = v.at(7);
    e.sexText = v.at(2);
    e.smsText = v.at(10);
    if (const QString p = StudentStore::fieldProblem(e); !p.isEmpty()) return QStringLiteral(" ") + p;
    for (int i : {2, 3, 6, 7, 10})
        if (InputCheck::hasControl(v.at(i)))
            return QStringLiteral(" ") + InputCheck::textProblem(QString::fromUtf16(kColumns[i].label), v.at(i), 0);
    return {};
}

// A two-digit code typed as a number lost its leading zero: 4 is "04".
QString codeCell(const SheetTable& t, int row, int col, int width) {
    const QVariant v = t.value(row, col);
    const QString text = t.text(row, col).trimmed();
    if (v.typeId() != QMetaType::Double) return text;
    const double d = v.toDouble();
    if (d < 0 || d != std::floor(d) || text.size() >= width) return text;
    return text.rightJustified(width, QLatin1Char('0'));
}

// A date typed as text with its separators, "2026-03-02", "2026.03.02" or
// "2026/03/02", is the day 20260302; any other text stays as typed and the
// roster's date rule judges it.
QString dateCell(const SheetTable& t, int row, int col) {
    static const QRegularExpression sep(QStringLiteral("^([0-9]{4})([-./])([0-9]{2})\\2([0-9]{2})$"));
    const QString text = t.text(row, col).trimmed();
    const auto m = sep.match(text);
    return m.hasMatch() ? m.captured(1) + m.captured(3) + m.captured(4) : text;
}

// Korean mobile numbers begin with 0 (010, 011, 016-019); typed as a number
// the 0 is gone. Where the digits are a mobile number without it, the 0 is
// put back; a number cell that is no such number cannot be restored and
// refuses the row (*refused).
QString mobileCell(const SheetTable& t, int row, int col, bool* refused) {
    static const QRegularExpression lost(QStringLiteral("^1[016789][0-9]{7,8}$"));
    const QString text = t.text(row, col).trimmed();
    *refused = false;
    if (lost.match(text).hasMatch()) return QLatin1Char('0') + text;
    if (t.value(row, col).typeId() == QMetaType::Double) *refused = true;
    return text;
}

} // namespace

QString importErrorFile() { return root() + QStringLiteral("/Temp/Error_Student.txt"); }
QString batchChangeErrorFile() { return root() + QStringLiteral("/Temp/Error_TTmod.txt"); }

SheetRun importStudents(const QString& path) {
    SheetRun run;
    QString why;
    const std::optional<SheetTable> sheet = SheetReader::read(path, 1, &why, SheetOptions{12});
    if (!sheet) {
        run.boxes << readError(why);
        return run;
    }
    if (!writeList(importErrorFile(), {}, &why)) {
        run.boxes << box(QStringLiteral("오류"), importErrorFile() + QStringLiteral("\r") + why, MsgIcon::Error);
        return run;
    }
    run.ran = true;
    const int last = sheet->regionRows();
    if (last < 2) {
        run.boxes << noRows();
        return run;
    }
    QString dbFailure;
    // Each row is its own savepoint; the rows are committed in batches, as
    // a commit per row costs a disk flush per row. A row that fails rolls
    // back alone and the batch before it is committed.
    constexpr int kBatch = 250;
    const StudentStore::CustNoRun numbering;
    std::optional<Transaction> batch;
    int pending = 0;
    const auto commitBatch = [&]() {
        if (batch && !batch->commit()) {
            run.stored -= pending;
            if (dbFailure.isEmpty()) dbFailure = QStringLiteral("COMMIT");
        }
        batch.reset();
        pending = 0;
    };
    for (int r = 2; r <= last; ++r) {
        QStringList v;
        for (int c = 1; c <= 12; ++c)
            v << sheet->text(r, c).trimmed();
        v[3] = codeCell(*sheet, r, 4, 2);
        v[6] = dateCell(*sheet, r, 7);
        v[7] = dateCell(*sheet, r, 8);
        bool phoneLost = false;
        v[9] = mobileCell(*sheet, r, 10, &phoneLost);
        // The line names the bank code as the sheet holds it.
        const QString head = QStringLiteral("학번 = ") + v.at(0) + QStringLiteral(" 은행코드 = ") + v.at(3) +
                             QStringLiteral(" 계좌번호 = ") + v.at(4);
        // Today's three-digit codes read as the list's two; a code that
        // cannot be read so refuses the row after the number's own checks.
        QString bankReason;
        const std::optional<QString> bank = StudentStore::outsideBankCode(v.at(3), &bankReason);
        v[3] = bank.value_or(QString());
        QString reason = rowFault(v);
        if (reason.isEmpty() && !bank) reason = QStringLiteral(" ") + bankReason;
        if (reason.isEmpty() && phoneLost)
            reason = QStringLiteral(" 숫자로 입력된 핸드폰번호(%1)의 앞자리 0을 알 수 없습니다").arg(v.at(9));
        if (reason.isEmpty()) {
            if (!batch) batch.emplace();
            QString error;
            const Stored s = batch->ok() ? storeRow(v, &reason, &error) : Stored::Failed;
            if (s == Stored::Failed) {
                dbFailure = QStringLiteral("%1행 학번 %2: %3")
                                .arg(r)
                                .arg(v.at(0), error.isEmpty() ? QStringLiteral("BEGIN") : error);
                break;
            }
            if (s == Stored::Yes) {
                ++run.stored;
                if (++pending >= kBatch) commitBatch();
                continue;
            }
        }
        run.rejected << head + reason;
    }
    commitBatch();
    if (!writeList(importErrorFile(), run.rejected, &why))
        run.boxes << box(QStringLiteral("오류"), importErrorFile() + QStringLiteral("\r") + why, MsgIcon::Error);
    if (!dbFailure.isEmpty()) {
        run.boxes << dbError(dbFailure + QStringLiteral("\r%1명까지 저장되었습니다.").arg(run.stored));
        return run;
    }
    run.boxes << closingBox(run, importErrorFile(), QStringLiteral("변환성공"),
                            QStringLiteral("학생명부로 변환이 완료되었습니다!!"),
                            QStringLiteral("변환도중에 에러가 발생하였습니다"), QStringLiteral("변환실패"),
                            QStringLiteral("학생명부에 저장된 학생이 없습니다!!"));
    return run;
}

SheetRun writeBatchWorkbook(const QString& path) {
    SheetRun run;
    Query q(QStringLiteral("SELECT CustNo, SNo, Nm, Ju_No_Stud FROM M_CUST ORDER BY SNo"));
    if (!q.exec()) {
        run.boxes << box(QStringLiteral("오류"), q.error(), MsgIcon::Error);
        return run;
    }
    Workbook wb;
    wb.writeRow(1, 1,
                {QStringLiteral("학생고유번호"), QStringLiteral("학생번호"), QStringLiteral("학생명"),
                 QStringLiteral("학생주민번호")});
    int row = 1;
    while (q.next())
        wb.writeRow(++row, 1,
                    {QLatin1Char('\'') + q.str(0), QLatin1Char('\'') + q.str(1), QLatin1Char('\'') + q.str(2),
                     QLatin1Char('\'') + q.str(3)});
    if (row == 1) return run; // no student: nothing to write
    QString why;
    if (!wb.save(path, &why)) {
        run.boxes << box(QStringLiteral("오류"), QStringLiteral("엑셀화일을 만들지 못했습니다.\r") + why,
                         MsgIcon::Error);
        return run;
    }
    run.ran = true;
    run.stored = row - 1;
    run.boxes << box(QStringLiteral("화일생성"), QStringLiteral("엑셀화일을 생성하였습니다!"), MsgIcon::Information);
    return run;
}

SheetRun batchChange(const QString& path) {
    SheetRun run;
    QString why;
    const std::optional<SheetTable> sheet = SheetReader::read(path, 1, &why, SheetOptions{4});
    if (!sheet) {
        run.boxes << readError(why);
        return run;
    }
    if (!writeList(batchChangeErrorFile(), {}, &why)) {
        run.boxes << box(QStringLiteral("오류"), batchChangeErrorFile() + QStringLiteral("\r") + why,
                         MsgIcon::Error);
        return run;
    }
    run.ran = true;
    if (sheet->regionRows() < 2) {
        run.boxes << noRows();
        return run;
    }
    const int width = Database::columnWidth(QStringLiteral("M_CUST"), QStringLiteral("Ju_No_Stud"));
    struct Change {
        StudentRow s;
        QString value;
    };
    QList<Change> changes;
    // Every row is checked before anything changes; the changes then go in
    // together.
    for (int r = 2; r <= sheet->regionRows(); ++r) {
        // Payer numbers are ten digits; typed as a number they lose their
        // leading zeros.
        const QString k = codeCell(*sheet, r, 1, 10);
        const QString value = sheet->text(r, 4).trimmed();
        const std::optional<StudentRow> s = StudentStore::find(k);
        if (!s) {
            run.rejected << QStringLiteral("존재하지 않는 학생고유번호(") + k + QStringLiteral(") 입니다~!!");
            continue;
        }
        if (!Cp949::canEncode(value)) {
            run.rejected << QStringLiteral("학생고유번호(") + k +
                                QStringLiteral(")의 학생주민번호에 쓸 수 없는 글자가 있습니다~!!");
            continue;
        }
        StudentEntry e;
        e.juNoStud = value;
        if (const QString p = StudentStore::fieldProblem(e); !p.isEmpty()) {
            run.rejected << QStringLiteral("학생고유번호(") + k + QStringLiteral(")의 ") + p;
            continue;
        }
        if (width > 0 && Cp949::byteLength(value) > width) {
            run.rejected << QStringLiteral("학생고유번호(%1)의 학생주민번호가 너무 깁니다(%2바이트 이하)~!!")
                                .arg(k)
                                .arg(width);
            continue;
        }
        changes << Change{*s, value};
    }
    QString error;
    {
        Transaction tx;
        bool ok = tx.ok();
        for (const Change& c : changes) {
            if (!ok) break;
            ok = Database::updateRows(QStringLiteral("M_CUST"), {{QStringLiteral("Ju_No_Stud"), c.value}},
                                      {{QStringLiteral("CustNo"), c.s.custNo}}, &error);
            ok = ok && (DMLib->WriteJobLog(kMenu, QStringLiteral("[일괄변경] 학생고유번호(납부자번호):") + c.s.custNo +
                                                      QStringLiteral(", 학생번호:") + c.s.sNo +
                                                      QStringLiteral(", 학생명: ") + c.s.nm +
                                                      QStringLiteral(", 학생주민번호: ") + c.value) ||
                        (error = QStringLiteral("L_Log"), false));
        }
        if (!ok || !tx.commit()) {
            tx.rollback();
            run.boxes << dbError(error.isEmpty() ? QStringLiteral("COMMIT") : error);
            writeList(batchChangeErrorFile(), run.rejected, &why);
            return run;
        }
    }
    run.stored = int(changes.size());
    if (!writeList(batchChangeErrorFile(), run.rejected, &why))
        run.boxes << box(QStringLiteral("오류"), batchChangeErrorFile() + QStringLiteral("\r") + why,
                         MsgIcon::Error);
    run.boxes << closingBox(run, batchChangeErrorFile(), QStringLiteral("변경성공"),
                            QStringLiteral("학생명부 일괄변경이 완료되었습니다!!"),
                            QStringLiteral("일괄변경도중에 에러가 발생하였습니다"), QStringLiteral("변경실패"),
                            QStringLiteral("학생명부에 변경된 학생이 없습니다!!"));
    return run;
}

} // namespace StudentSheets
