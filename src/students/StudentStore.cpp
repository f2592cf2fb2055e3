#include "students/StudentStore.h"

#include "data/DMBank.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sys/CrashPoint.h"
#include "platform/sys/Clock.h"
#include "shared/CustNoHandOver.h"
#include "shared/InputCheck.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>

namespace StudentStore {

namespace {

const QString kMenu = QString::fromUtf16(kMenuName);

// The highest sequence given on each day. Rows of deleted students leave
// M_CUST, and their exemptions, groups and remarks stay behind under their
// payer number, so a number once given must never come back.
const QString kSeqTable = QStringLiteral("M_CUSTSEQ");

// The day's highest number in the roster and the archive, asked once for a
// run of many new students. Every writer since then records its numbers in
// M_CUSTSEQ, and purged or restored rows held numbers already counted, so
// the record and this figure together still cover every number given.
struct RunScan {
    int depth = 0;
    QString dayKey;
    int last = 0;
    bool seqTable = false; // M_CUSTSEQ seen during the run
};
RunScan runScan;

bool seqTableExists() {
    if (runScan.depth > 0 && runScan.seqTable) return true;
    const bool exists = Database::tableExists(kSeqTable);
    if (runScan.depth > 0) runScan.seqTable = exists;
    return exists;
}

bool ensureSeqTable() {
    if (seqTableExists()) return true;
    return Database::createTable(TableDef{kSeqTable,
                                          {FieldDef{QStringLiteral("DayKey"), FieldType::Text, 5},
                                           FieldDef{QStringLiteral("LastSeq"), FieldType::Integer, 0}},
                                          {QStringLiteral("DayKey")},
                                          {}},
                                 false);
}

// Sequence part of a payer number of the usual form; -1 for any other form.
int seqOf(const QString& custNo) {
    if (custNo.size() < 6) return -1;
    bool ok = false;
    const int n = custNo.mid(5).toInt(&ok);
    return ok && n >= 0 ? n : -1;
}

int maxSeq(const QString& table, const QString& dayKey) {
    // The sequences are compared in SQL: an import asks once per row, over
    // every number given that day. Only all-digit sequences count, as in
    // seqOf.
    int best = 0;
    Query q(QStringLiteral("SELECT MAX(CAST(substr(CustNo, 6) AS INTEGER)) FROM %1 "
                           "WHERE CustNo GLOB ? AND length(CustNo) > 5 "
                           "AND NOT substr(CustNo, 6) GLOB '*[^0-9]*'")
                .arg(Database::quoted(table)));
    q.add(dayKey + QLatin1Char('*'));
    if (q.exec() && q.next()) best = std::max(best, int(q.num(0)));
    return best;
}

int scannedSeq(const QString& dayKey) {
    if (runScan.depth > 0 && runScan.dayKey == dayKey) return runScan.last;
    int last = maxSeq(QStringLiteral("M_CUST"), dayKey);
    // Purged students keep their numbers in the archive.
    if (Database::tableExists(QStringLiteral("D_CUST")))
        last = std::max(last, maxSeq(QStringLiteral("D_CUST"), dayKey));
    if (runScan.depth > 0) {
        runScan.dayKey = dayKey;
        runScan.last = last;
    }
    return last;
}

bool isDateColumn(const QString& column) {
    return column.compare(QLatin1String("InDate"), Qt::CaseInsensitive) == 0 ||
           column.compare(QLatin1String("OutDate"), Qt::CaseInsensitive) == 0;
}

bool isColumn(const QString& column, const char* name) {
    return column.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

// The consent refusal as one line, for the lists it also goes into.
QString noMobileLine() {
    return noMobileMessage().replace(QLatin1Char('\r'), QLatin1Char(' '));
}

// The two codes the entry boxes offer ("1.남자", "2.여자"; "1.수신",
// "2.거부"), or blank for a student stored without one.
bool isBoxCode(const QString& v) {
    const QString t = v.trimmed();
    return t.isEmpty() || t == QLatin1String("1") || t == QLatin1String("2");
}

StoreBox box(const QString& caption, const QString& text, MsgIcon icon = MsgIcon::Error) {
    return StoreBox{caption, text, icon};
}

StoreBox plain(const QString& text) {
    return StoreBox{plainCaption(), text, MsgIcon::None};
}

StoreBox dbError(const QString& detail) {
    return box(QStringLiteral("오류"), QStringLiteral("학생 정보를 저장하지 못했습니다.\r") + detail);
}

StoreResult refused(const StoreBox& b, StudentField focus) {
    StoreResult r;
    if (!b.text.isEmpty()) r.boxes << b;
    r.focus = focus;
    return r;
}

bool ask(const StudentStoreHooks& hooks, const StoreBox& b) {
    if (hooks.ask) return hooks.ask(b);
    return Msg::show(b.caption, b.text, b.icon, MsgButtons::YesNo, nullptr, b.defaultNo) == MsgResult::Yes;
}

bool ensureRemarkTable() {
    if (!DMData) return Database::tableExists(QStringLiteral("C_Bigo"));
    return DMData->CBigoExists() || DMData->CreateCBigo();
}

// Writes or clears the remark; the remark table's statements take the text
// as a bound value, so quotes in it are stored as typed.
bool writeRemark(const QString& custNo, const QString& bigo, bool existed, QString* error) {
    if (!ensureRemarkTable()) {
        *error = QStringLiteral("C_Bigo");
        return false;
    }
    const QString table = QStringLiteral("C_Bigo");
    if (existed && bigo.trimmed().isEmpty()) {
        Query q(QStringLiteral("DELETE FROM \"C_Bigo\" WHERE CustNo = ?"));
        q.add(custNo);
        if (!q.exec()) *error = q.error();
        return q.ok();
    }
    if (bigo.trimmed().isEmpty()) return true; // nothing to keep
    int affected = 0;
    if (!Database::updateRows(table, {{QStringLiteral("Bigo"), bigo}}, {{QStringLiteral("CustNo"), custNo}},
                              error, &affected))
        return false;
    if (affected > 0) return true;
    return Database::insertRow(table, {{QStringLiteral("CustNo"), custNo}, {QStringLiteral("Bigo"), bigo}},
                               error);
}

bool log(const QString& text, QString* error) {
    if (DMLib && DMLib->WriteJobLog(kMenu, text)) return true;
    *error = QStringLiteral("L_Log");
    return false;
}

QStringList roundTablesOf(const QString& glob) {
    QStringList out;
    for (const QString& t : Database::listTables(glob))
        if (Database::isRoundTableName(t)) out << t;
    return out;
}

bool updateRoundAccount(const QString& table, const StudentRow& now, QString* error) {
    Query q(QStringLiteral("UPDATE %1 SET BankCd = ?, AcctNo = ? WHERE CustNo = ? AND ReplyTy = ?")
                .arg(Database::quoted(table)));
    q.add(now.bankCd).add(now.acctNo).add(now.custNo).add(QStringLiteral("0"));
    if (!q.exec()) *error = q.error();
    return q.ok();
}

enum class Carry { Done, NumberTaken, Failed };

// Carries the saved name, number and account into the round tables.
Carry bUpdateRounds(bool askRounds, const StudentEntry& e, const StudentStoreHooks& hooks, StoreResult& r,
                    QString* error) {
    const QString name = e.name.trimmed();
    const QString custNo = e.custNo.trimmed();
    const std::optional<StudentRow> now = find(custNo);
    if (!now) {
        *error = custNo;
        return Carry::Failed;
    }
    if (!askRounds) {
        // Name or grade only: every collection and distribution round.
        for (const QString& t : roundTablesOf(QStringLiteral("[Hh]_[23]00_*"))) {
            Query q(QStringLiteral("UPDATE %1 SET Nm = ? WHERE CustNo = ?").arg(Database::quoted(t)));
            q.add(name).add(custNo);
            if (!q.exec()) {
                r.boxes << box(QStringLiteral("성명오류"), QStringLiteral("회차DB 성명 변경 오류"));
                break;
            }
            if (!updateRoundAccount(t, *now, error)) return Carry::Failed;
        }
        return Carry::Done;
    }
    const std::optional<QStringList> picked = hooks.pickRounds ? hooks.pickRounds() : std::nullopt;
    if (!picked) {
        r.boxes << box(QStringLiteral("수정확인"), QStringLiteral("학생명부만 수정되었습니다!!"),
                       MsgIcon::Information);
        return Carry::Done;
    }
    const QString sNo = e.gradeCode + e.classNo;
    for (const QString& entry : *picked) {
        const QString t = roundTable(entry);
        // The student number is part of a round row's key: another student
        // of the round holding it makes the update fail.
        Query q(QStringLiteral("UPDATE %1 SET Nm = ?, SNo = ? WHERE CustNo = ?").arg(Database::quoted(t)));
        q.add(name).add(sNo).add(custNo);
        if (t.isEmpty() || !Database::tableExists(t) || !q.exec()) return Carry::NumberTaken;
        if (!updateRoundAccount(t, *now, error)) return Carry::Failed;
    }
    return Carry::Done;
}

// The entry's values as the roster stores them.
QList<std::pair<QString, QString>> columnsOf(const StudentEntry& e) {
    return {{QStringLiteral("SCd"), e.gradeCode},
            {QStringLiteral("SNo"), e.gradeCode + e.classNo},
            {QStringLiteral("Nm"), e.name},
            {QStringLiteral("Sex"), e.sexText.left(1)},
            {QStringLiteral("BankCd"), codeOf(e.bankText)},
            {QStringLiteral("AcctNo"), e.acctNo},
            {QStringLiteral("Owr"), e.owr},
            {QStringLiteral("InDate"), e.inDate},
            {QStringLiteral("OutDate"), e.outDate},
            {QStringLiteral("Ju_No"), e.juNo},
            {QStringLiteral("MTelNo"), e.mTelNo},
            {QStringLiteral("smsYN"), e.smsText.left(1)},
            {QStringLiteral("Ju_No_Stud"), e.juNoStud}};
}

// Without widths, the characters and dates only: the window's own checks
// of the bank, the account and the consent come before the codes.
StoreResult rosterRefusal(const StudentEntry& e, bool widths) {
    QString column;
    const QString p = rosterProblem(columnsOf(e), widths, &column, widths);
    if (p.isEmpty()) return {};
    if (p == noMobileLine())
        return refused(box(QStringLiteral("휴대폰번호입력오류"), noMobileMessage()), StudentField::EdtMtelNo);
    // The date edits refuse with the date boxes' own words.
    if (isDateColumn(column) && p.endsWith(InputCheck::dateMessage()))
        return refused(box(QStringLiteral("일자입력오류"), InputCheck::dateMessage()),
                       column.compare(QLatin1String("InDate"), Qt::CaseInsensitive) == 0
                           ? StudentField::MedtInDate
                           : StudentField::MedtOutDate);
    static const QHash<QString, StudentField> focus{{QStringLiteral("SCd"), StudentField::CbMNo},
                                                    {QStringLiteral("SNo"), StudentField::MEdtSNo},
                                                    {QStringLiteral("Nm"), StudentField::EdtNm},
                                                    {QStringLiteral("Sex"), StudentField::CbSex},
                                                    {QStringLiteral("smsYN"), StudentField::CBsmsYN},
                                                    {QStringLiteral("BankCd"), StudentField::CBBank},
                                                    {QStringLiteral("AcctNo"), StudentField::EdtAcctNo},
                                                    {QStringLiteral("Ju_No"), StudentField::MEdtJu_No},
                                                    {QStringLiteral("MTelNo"), StudentField::EdtMtelNo}};
    return refused(plain(p), focus.value(column, StudentField::None));
}

StoreResult saveNew(const StudentEntry& e, const QString& bankCheck, const StudentStoreHooks& hooks) {
    const QString acct = e.acctNo.trimmed();
    if (e.classNo.trimmed().isEmpty())
        return refused(box(QStringLiteral("학번오류"), QStringLiteral("학번을 입력하세요")),
                       StudentField::MEdtSNo);
    if (e.juNo.trimmed().size() > 13)
        return refused(box(QStringLiteral("입력오류"),
                           QStringLiteral("예금주 주민등록번호는 13자리 이하로 입력하셔야 됩니다.")),
                       StudentField::MEdtJu_No);
    if (const StoreResult bad = rosterRefusal(e, true); !bad.boxes.isEmpty()) return bad;
    if (!acct.isEmpty() && bankCheck != QLatin1String("99")) {
        if (!DMBankLib->CheckAcctNo(bankCheck, acct))
            return refused(box(QStringLiteral("계좌번호오류"),
                               QStringLiteral("계좌번호 오류입니다!\r다시입력하십시오.")),
                           StudentField::EdtAcctNo);
        if (!bAcctNoConfirm(acct, hooks)) return refused({}, StudentField::EdtAcctNo);
    }
    const QString sNo = e.gradeCode + e.classNo;
    // The number checks and the insert are one write, so two copies of the
    // program cannot both take the same student number or payer number.
    Transaction tx;
    if (!tx.ok()) return refused(dbError(tx.error()), StudentField::None);
    {
        Query q(QStringLiteral("SELECT 1 FROM M_CUST WHERE SNo = ?"));
        q.add(sNo);
        if (q.exec() && q.next())
            return refused(box(QStringLiteral("학번오류"), QStringLiteral("존재하는학번입니다")),
                           StudentField::MEdtSNo);
    }
    const QString custNo = sNewCustNo();
    if (find(custNo))
        return refused(box(QStringLiteral("고객번호오류"), QStringLiteral("존재하는고객번호입니다")),
                       StudentField::None);

    StoreResult r;
    const QString useTy = e.outDate.trimmed().isEmpty() ? QStringLiteral("1") : QStringLiteral("0");
    QString error;
    bool ok = Database::insertRow(QStringLiteral("M_CUST"),
                                             {{QStringLiteral("CustNo"), custNo},
                                              {QStringLiteral("SCd"), e.gradeCode},
                                              {QStringLiteral("SNo"), sNo},
                                              {QStringLiteral("Nm"), e.name},
                                              {QStringLiteral("Sex"), e.sexText.left(1)},
                                              {QStringLiteral("BankCd"), codeOf(e.bankText)},
                                              {QStringLiteral("AcctNo"), e.acctNo},
                                              {QStringLiteral("Owr"), e.owr},
                                              {QStringLiteral("InDate"), e.inDate},
                                              {QStringLiteral("OutDate"), e.outDate},
                                              {QStringLiteral("Ju_No"), e.juNo},
                                              {QStringLiteral("AcctRegYn_1"), QStringLiteral("N")},
                                              {QStringLiteral("AcctRegYn_2"), QStringLiteral("N")},
                                              {QStringLiteral("UseTy"), useTy},
                                              {QStringLiteral("MTelNo"), e.mTelNo},
                                              {QStringLiteral("smsYN"), e.smsText.left(1)},
                                              {QStringLiteral("Ju_No_Stud"), e.juNoStud}},
                                             &error);
    ok = ok && (rememberCustNo(custNo) || (error = kSeqTable, false));
    ok = ok && log(QStringLiteral("[등록]학번:") + sNo + QStringLiteral(", 성명:") + e.name +
                       QStringLiteral(", 성별:") + e.sexText + QStringLiteral(", 은행:") + e.bankText +
                       QStringLiteral(", 계좌번호:") + e.acctNo + QStringLiteral(", 예금주: ") + e.owr +
                       QStringLiteral(", 전입일: ") + e.inDate + QStringLiteral(", 전출일: ") + e.outDate +
                       QStringLiteral(", 예금주주민번호: ") + e.juNo + QStringLiteral(", 휴대폰번호:") +
                       e.mTelNo + QStringLiteral(", SMS수신여부") + e.smsText +
                       QStringLiteral(", 학생주민번호: ") + e.juNoStud,
                   &error);
    if (ok && e.bigo != e.bigoLoaded) ok = writeRemark(custNo, e.bigo, false, &error);
    CrashPoint::hit("student-before-commit");
    if (ok && !tx.commit()) {
        ok = false;
        error = tx.error();
    }
    if (!ok) {
        tx.rollback();
        r.boxes << dbError(error);
        return r;
    }
    r.stored = true;
    r.reload = true;
    r.focus = StudentField::CbMNo;
    r.custNo = custNo;
    return r;
}

// The checks of an edited student, before anything is written.
std::optional<StoreResult> refuseEdit(const StudentEntry& e, const StudentRow& before, const QString& bank,
                                      const QString& acct, const QString& sNo) {
    if (!acct.isEmpty() && bank != QLatin1String("99") && !DMBankLib->CheckAcctNo(bank, acct))
        return refused(
            box(QStringLiteral("계좌번호오류"), QStringLiteral("계좌번호 오류입니다!\r다시입력하십시오.")),
            StudentField::EdtAcctNo);
    if (e.juNo.trimmed().size() > 13)
        return refused(box(QStringLiteral("입력오류"),
                           QStringLiteral("주민등록번호는 13자리 이하로 입력하셔야 됩니다.")),
                       StudentField::MEdtJu_No);
    if (const StoreResult bad = rosterRefusal(e, true); !bad.boxes.isEmpty()) return bad;
    if (before.sNo != sNo) {
        StoreBox b;
        if (!bSNoFree(sNo, &b)) return refused(b, StudentField::MEdtSNo);
    }
    return std::nullopt;
}

// The columns an edit changes, with their log lines, and whether the
// rounds follow (and whether the user is asked first).
struct StudentChanges {
    ColumnValues set;
    QStringList logs;
    bool roundsTouched = false, askRounds = false;
};

StudentChanges changesOf(const StudentEntry& e, const StudentRow& before, const QString& bank,
                         const QString& acct, const QString& sNo, const StudentStoreHooks& hooks) {
    StudentChanges c;
    const QString p =
        QStringLiteral("(학번:") + before.sNo + QStringLiteral(" ,성명:") + before.nm + QStringLiteral(") ");
    const auto change = [&](const QString& column, const QString& value, const QString& logText) {
        c.set << std::pair<QString, QVariant>{column, value};
        if (!logText.isEmpty()) c.logs << QStringLiteral("[수정]") + p + logText;
    };
    if (before.sCd != e.gradeCode) {
        change(QStringLiteral("SCd"), e.gradeCode, QStringLiteral("학년 : ") + e.gradeCode);
        c.roundsTouched = true;
    }
    if (before.sNo != sNo) {
        change(QStringLiteral("SNo"), sNo, QStringLiteral("학번 : ") + sNo);
        c.roundsTouched = c.askRounds = true;
    }
    if (before.nm != e.name) {
        change(QStringLiteral("Nm"), e.name, QStringLiteral("성명 : ") + e.name);
        c.roundsTouched = true;
    }
    const QString sex = e.sexText.left(1);
    if (before.sex != sex) change(QStringLiteral("Sex"), sex, QStringLiteral("성별 : ") + sex);
    if (before.acctNo != e.acctNo) {
        c.askRounds = true;
        if (bAcctNoConfirm(acct, hooks)) {
            change(QStringLiteral("AcctNo"), e.acctNo, QStringLiteral("계좌번호 : ") + e.acctNo);
            change(QStringLiteral("BankCd"), bank, QStringLiteral("은행코드 : ") + bank);
            change(QStringLiteral("AcctRegYn_1"), QStringLiteral("N"), QStringLiteral("계좌등록 : 미등록"));
            change(QStringLiteral("AcctRegYn_2"), QStringLiteral("N"), QString());
            c.roundsTouched = true;
        }
    } else if (before.bankCd != bank) {
        change(QStringLiteral("BankCd"), bank, QStringLiteral("은행코드 : ") + bank);
        c.roundsTouched = c.askRounds = true;
    }
    if (before.owr != e.owr) change(QStringLiteral("Owr"), e.owr, QStringLiteral("예금주 : ") + e.owr);
    if (before.inDate != e.inDate)
        change(QStringLiteral("InDate"), e.inDate, QStringLiteral("전입일 : ") + e.inDate);
    if (before.outDate != e.outDate) {
        change(QStringLiteral("OutDate"), e.outDate, QStringLiteral("전출일 : ") + e.outDate);
        const bool out = !e.outDate.trimmed().isEmpty();
        change(QStringLiteral("UseTy"), out ? QStringLiteral("0") : QStringLiteral("1"),
               out ? QStringLiteral("재학여부 : 전출") : QStringLiteral("재학여부 : 재학"));
    }
    if (before.juNo != e.juNo)
        change(QStringLiteral("Ju_No"), e.juNo, QStringLiteral("예금주 주민번호 : ") + e.juNo);
    if (before.mTelNo != e.mTelNo)
        change(QStringLiteral("MTelNo"), e.mTelNo, QStringLiteral("휴대폰번호:") + e.mTelNo);
    const QString sms = e.smsText.left(1);
    if (before.smsYN != sms) change(QStringLiteral("smsYN"), sms, QStringLiteral("SMS수신여부:") + sms);
    if (before.juNoStud != e.juNoStud)
        change(QStringLiteral("Ju_No_Stud"), e.juNoStud, QStringLiteral("학생 주민번호 : ") + e.juNoStud);
    return c;
}

// The remark, the changed columns and their log lines.
bool writeChanges(const QString& custNo, const StudentEntry& e, const StudentChanges& c, QString* error) {
    bool ok = true;
    if (e.bigo != e.bigoLoaded) ok = writeRemark(custNo, e.bigo, !e.bigoLoaded.isEmpty(), error);
    if (ok && !c.set.isEmpty())
        ok = Database::updateRows(QStringLiteral("M_CUST"), c.set, {{QStringLiteral("CustNo"), custNo}},
                                  error);
    for (const QString& l : c.logs)
        ok = ok && log(l, error);
    return ok;
}

StoreResult saveExisting(const StudentEntry& e, const StudentRow& before, const StudentStoreHooks& hooks) {
    const QString bank = codeOf(e.bankText);
    const QString acct = e.acctNo.trimmed();
    const QString sNo = e.gradeCode + e.classNo;
    if (std::optional<StoreResult> bad = refuseEdit(e, before, bank, acct, sNo)) return *bad;

    StoreResult r;
    Transaction tx;
    if (!tx.ok()) {
        r.boxes << dbError(QStringLiteral("BEGIN"));
        return r;
    }
    const QString custNo = e.custNo.trimmed();
    if (!find(custNo))
        return refused(box(QStringLiteral("고객번호오류"), QStringLiteral("존재하지 않는 고객번호입니다")),
                       StudentField::CbMNo);

    const StudentChanges c = changesOf(e, before, bank, acct, sNo, hooks);
    QString error;
    bool ok = writeChanges(custNo, e, c, &error);
    if (ok && c.roundsTouched) {
        switch (bUpdateRounds(c.askRounds, e, hooks, r, &error)) {
        case Carry::Done:
            break;
        case Carry::Failed:
            ok = false;
            break;
        case Carry::NumberTaken:
            tx.rollback();
            r.boxes << plain(QStringLiteral("수정하려는 학번이 이미 존재합니다.!! 학번수정오류"));
            r.reload = true;
            r.focus = StudentField::CbMNo;
            return r;
        }
    }
    if (!ok || !tx.commit()) {
        tx.rollback();
        r.boxes << dbError(error);
        return r;
    }
    r.stored = true;
    r.reload = true;
    r.focus = StudentField::CbMNo;
    r.custNo = custNo;
    return r;
}

} // namespace

QString plainCaption() {
    return QCoreApplication::applicationName();
}

std::optional<QString> outsideBankCode(const QString& code, QString* problem) {
    if (code.size() <= 2) return code;
    if (code.size() == 3 && code.at(0) == QLatin1Char('0')) {
        const QString two = code.mid(1);
        Query q(QStringLiteral("SELECT 1 FROM C_BANK WHERE BankCd = ?"));
        q.add(two);
        if (q.exec() && q.next()) return two;
        if (problem) *problem = QStringLiteral("은행코드(%1)의 은행이 은행목록에 없습니다").arg(code);
        return std::nullopt;
    }
    if (problem) *problem = QStringLiteral("은행코드(%1)가 올바르지 않습니다(두 자리 은행코드)").arg(code);
    return std::nullopt;
}

QString codeOf(const QString& comboText) {
    return comboText.left(2);
}

QString sNewCustNo() {
    const qint64 days = QDate(2002, 1, 1).daysTo(Clock::today());
    const QString dayKey = TDMLib::PadLeftZero(QString::number(days), 5);
    int last = scannedSeq(dayKey);
    if (seqTableExists()) {
        Query q(QStringLiteral("SELECT LastSeq FROM \"M_CUSTSEQ\" WHERE DayKey = ?"));
        q.add(dayKey);
        if (q.exec() && q.next()) last = std::max(last, int(q.num(0)));
    }
    return dayKey + TDMLib::PadLeftZero(QString::number(last + 1), 5);
}

CustNoRun::CustNoRun() {
    if (runScan.depth++ == 0) runScan = RunScan{1};
}

CustNoRun::~CustNoRun() {
    if (--runScan.depth == 0) runScan = RunScan{};
}

bool rememberCustNo(const QString& custNo) {
    const int seq = seqOf(custNo);
    if (seq < 0) return true; // another form of number: nothing to keep
    if (!ensureSeqTable()) return false;
    Query q(QStringLiteral("INSERT INTO \"M_CUSTSEQ\" (DayKey, LastSeq) VALUES (?, ?) "
                           "ON CONFLICT(DayKey) DO UPDATE SET LastSeq = max(LastSeq, excluded.LastSeq)"));
    q.add(custNo.left(5)).add(seq);
    return q.exec();
}

namespace {
// The tools' bulk deletion keeps its students' numbers through the hand-over.
const CustNoKeeperRegistrar g_keeper(rememberCustNo);
} // namespace

QString sexMessage() {
    return QStringLiteral("1.남자, 2.여자 중에서 선택하세요!!");
}

QString smsMessage() {
    return QStringLiteral("1.수신, 2.거부 중에서 선택하세요!!");
}

QString noMobileMessage() {
    return QStringLiteral("SMS를 수신하게하려면\r휴대폰번호를 입력하셔야합니다..");
}

QString rosterProblem(const QList<std::pair<QString, QString>>& values, bool widths, QString* column,
                      bool codes) {
    static const QHash<QString, QString> labels{
        {QStringLiteral("custno"), QStringLiteral("고객번호")},
        {QStringLiteral("scd"), QStringLiteral("학년")},
        {QStringLiteral("sno"), QStringLiteral("학번")},
        {QStringLiteral("nm"), QStringLiteral("성명")},
        {QStringLiteral("sex"), QStringLiteral("성별")},
        {QStringLiteral("bankcd"), QStringLiteral("은행코드")},
        {QStringLiteral("acctno"), QStringLiteral("계좌번호")},
        {QStringLiteral("owr"), QStringLiteral("예금주")},
        {QStringLiteral("usety"), QStringLiteral("재학여부")},
        {QStringLiteral("indate"), QStringLiteral("전입일")},
        {QStringLiteral("outdate"), QStringLiteral("전출일")},
        {QStringLiteral("ju_no"), QStringLiteral("예금주주민번호")},
        {QStringLiteral("acctregyn_1"), QStringLiteral("계좌등록여부")},
        {QStringLiteral("acctregyn_2"), QStringLiteral("계좌등록여부")},
        {QStringLiteral("acctregdt"), QStringLiteral("계좌등록일")},
        {QStringLiteral("mtelno"), QStringLiteral("휴대폰번호")},
        {QStringLiteral("smsyn"), QStringLiteral("SMS수신여부")},
        {QStringLiteral("ju_no_stud"), QStringLiteral("학생주민번호")}};
    for (const auto& [col, v] : values) {
        const QString label = labels.value(col.toLower(), col);
        // A line break or tab would split the fixed-width bank and SMS
        // records the value goes into; the check sees it before any trim.
        QString p = InputCheck::textProblem(label, v, 0);
        // A date is a day of the calendar or nothing: 20260230 or the
        // incomplete 202602 would make a student leave every later round.
        if (p.isEmpty() && isDateColumn(col) && !InputCheck::dateProblem(v).isEmpty())
            p = QStringLiteral("%1(%2): ").arg(label, v) + InputCheck::dateMessage();
        // A code the boxes do not offer shows as a blank box, and the next
        // save would put the box's last choice in its place.
        if (p.isEmpty() && codes && isColumn(col, "Sex") && !isBoxCode(v))
            p = QStringLiteral("%1(%2): ").arg(label, v.trimmed()) + sexMessage();
        if (p.isEmpty() && codes && isColumn(col, "smsYN") && !isBoxCode(v))
            p = QStringLiteral("%1(%2): ").arg(label, v.trimmed()) + smsMessage();
        if (p.isEmpty() && widths) {
            qsizetype end = v.size();
            while (end > 0 && v.at(end - 1) == QLatin1Char(' '))
                --end;
            p = InputCheck::textProblem(label, v.left(end),
                                        Database::columnWidth(QStringLiteral("M_CUST"), col));
        }
        if (!p.isEmpty()) {
            if (column) *column = col;
            return p;
        }
    }
    if (codes) {
        // Consent is judged with the number it would be sent to.
        const QString* sms = nullptr;
        const QString* mobile = nullptr;
        QString mobileColumn;
        for (const auto& [col, v] : values) {
            if (isColumn(col, "smsYN")) sms = &v;
            if (isColumn(col, "MTelNo")) {
                mobile = &v;
                mobileColumn = col;
            }
        }
        if (sms && mobile && sms->trimmed() == QLatin1String("1") && mobile->trimmed().isEmpty()) {
            if (column) *column = mobileColumn;
            return noMobileLine();
        }
    }
    return {};
}

std::optional<StudentRow> find(const QString& custNo) {
    Query q(QStringLiteral(
        "SELECT CustNo, SCd, SNo, Nm, Sex, BankCd, AcctNo, Owr, UseTy, InDate, OutDate, Ju_No, "
        "AcctRegYn_1, AcctRegYn_2, MTelNo, smsYN, Ju_No_Stud FROM M_CUST WHERE CustNo = ?"));
    q.add(custNo);
    if (custNo.trimmed().isEmpty() || !q.exec() || !q.next()) return std::nullopt;
    StudentRow s;
    int i = 0;
    for (QString* f :
         {&s.custNo, &s.sCd, &s.sNo, &s.nm, &s.sex, &s.bankCd, &s.acctNo, &s.owr, &s.useTy, &s.inDate,
          &s.outDate, &s.juNo, &s.acctRegYn1, &s.acctRegYn2, &s.mTelNo, &s.smsYN, &s.juNoStud})
        *f = q.str(i++);
    return s;
}

QString fieldProblem(const StudentEntry& e) {
    return rosterProblem(columnsOf(e), false, nullptr, true);
}

StoreResult save(const StudentEntry& e, const StudentRow& before, const StudentStoreHooks& hooks) {
    // A blank bank box counts as "no bank" for the account checks.
    QString bankCheck = codeOf(e.bankText);
    if (bankCheck.trimmed().isEmpty()) bankCheck = QStringLiteral("99");
    const bool noBank = bankCheck == QLatin1String("99");
    const QString acct = e.acctNo.trimmed();
    if (e.name.trimmed().isEmpty())
        return refused(plain(QStringLiteral("성명을 입력하세요.")), StudentField::EdtNm);
    // Characters first, where the window checks them; widths after the
    // window's own length checks (rosterRefusal in saveNew/saveExisting).
    if (const StoreResult bad = rosterRefusal(e, false); !bad.boxes.isEmpty()) return bad;
    if (!noBank && acct.isEmpty())
        return refused(plain(QStringLiteral("계좌번호를 확인하세요.")), StudentField::EdtAcctNo);
    if (noBank && !acct.isEmpty())
        return refused(plain(QStringLiteral("은행을 선택하세요.")), StudentField::CBBank);
    if (e.smsText.left(1) == QLatin1String("1") && e.mTelNo.trimmed().isEmpty())
        return refused(box(QStringLiteral("휴대폰번호입력오류"), noMobileMessage()), StudentField::EdtMtelNo);
    if (e.custNo.trimmed().isEmpty()) return saveNew(e, bankCheck, hooks);
    return saveExisting(e, before, hooks);
}

StoreResult remove(const QString& custNo, const QString& gridSNo, const QString& gridName,
                   const StudentStoreHooks& hooks) {
    StoreResult r;
    StoreBox question =
        box(QStringLiteral("삭제"),
            QStringLiteral("삭제하시면 해당 학생의 \r계좌정보 및 이체내역을 영구히 삭제됩니다\r신중히 "
                           "선택하여 주십시오.\r\r정말 삭제하시겠습니까?"),
            MsgIcon::Warning);
    question.defaultNo = true;
    if (!ask(hooks, question)) return r;
    const QString key = custNo.trimmed();
    Transaction tx;
    if (!find(key))
        return refused(box(QStringLiteral("고객번호오류"), QStringLiteral("존재하지 않는 고객번호입니다")),
                       StudentField::None);
    QString error;
    bool ok = tx.ok();
    // Registration runs keep their rows: they record what the bank was sent.
    const QStringList tables =
        roundTablesOf(QStringLiteral("[Hh]_200_*")) + roundTablesOf(QStringLiteral("[Hh]_300_*"));
    for (const QString& t : tables) {
        if (!ok) break;
        Query q(QStringLiteral("DELETE FROM %1 WHERE CustNo = ?").arg(Database::quoted(t)));
        q.add(key);
        if (!q.exec()) {
            error = q.error();
            ok = false;
        }
    }
    ok = ok && (rememberCustNo(key) || (error = kSeqTable, false));
    if (ok) {
        Query q(QStringLiteral("DELETE FROM M_CUST WHERE CustNo = ?"));
        q.add(key);
        if (!q.exec()) {
            error = q.error();
            ok = false;
        }
    }
    ok = ok && log(QStringLiteral("[삭제]학번 : ") + gridSNo + QStringLiteral(",성명 : ") + gridName, &error);
    if (!ok || !tx.commit()) {
        tx.rollback();
        r.boxes << box(QStringLiteral("오류"), QStringLiteral("학생을 삭제하지 못했습니다.\r") + error);
        return r;
    }
    r.stored = true;
    r.reload = true;
    r.custNo = key;
    return r;
}

bool bSNoFree(const QString& sNo, StoreBox* b) {
    Query q(QStringLiteral("SELECT 1 FROM M_CUST WHERE SNo = ?"));
    q.add(sNo.trimmed());
    if (q.exec() && q.next()) {
        if (b) *b = box(QStringLiteral("학번변경오류"), QStringLiteral("동일한 학번이 존재합니다"));
        return false;
    }
    return true;
}

bool bAcctNoConfirm(const QString& acctNo, const StudentStoreHooks& hooks) {
    Query q(QStringLiteral("SELECT SNo, Nm FROM M_CUST WHERE AcctNo = ? ORDER BY CustNo"));
    q.add(acctNo.trimmed());
    if (acctNo.trimmed().isEmpty() || !q.exec() || !q.next()) return true;
    const QString sNo = q.str(0), nm = q.str(1);
    int n = 1;
    while (q.next())
        ++n;
    return ask(hooks, box(QStringLiteral("변경 확인"),
                          sNo + QLatin1Char(' ') + nm + QStringLiteral("등 ") + QString::number(n) +
                              QStringLiteral("명과 계좌번호가 동일합니다!!") + QStringLiteral("\r\n") +
                              QStringLiteral("계좌번호를 저장하시겠습니까??"),
                          MsgIcon::Question));
}

QString roundEntry(const QString& table) {
    if (!Database::isRoundTableName(table)) return {};
    const QChar kind = table.at(2);
    const QString head = kind == QLatin1Char('2')   ? QStringLiteral("[집금]")
                         : kind == QLatin1Char('3') ? QStringLiteral("[배분]")
                                                    : QString();
    if (head.isEmpty()) return {};
    return head + table.mid(6, 6) + QStringLiteral(" / ") + table.mid(12, 2);
}

QStringList roundEntries() {
    QStringList out;
    const QStringList tables = roundTablesOf(QStringLiteral("[Hh]_[23]00_*"));
    for (auto it = tables.crbegin(); it != tables.crend(); ++it) {
        const QString e = roundEntry(*it);
        if (!e.isEmpty()) out << e;
    }
    return out;
}

QString roundTable(const QString& entry) {
    static const QRegularExpression re(QStringLiteral("^\\[(집금|배분)\\](\\d{6}) / (\\d{2})$"));
    const auto m = re.match(entry);
    if (!m.hasMatch()) return {};
    return (m.captured(1) == QStringLiteral("집금") ? QStringLiteral("H_200_") : QStringLiteral("H_300_")) +
           m.captured(2) + m.captured(3);
}

QString remark(const QString& custNo) {
    if (!Database::tableExists(QStringLiteral("C_Bigo"))) return {};
    Query q(QStringLiteral("SELECT Bigo FROM \"C_Bigo\" WHERE CustNo = ?"));
    q.add(custNo);
    return q.exec() && q.next() ? q.str(0) : QString();
}

} // namespace StudentStore
