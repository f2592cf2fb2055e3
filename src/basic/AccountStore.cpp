#include "basic/AccountStore.h"

#include "basic/GroupStore.h"
#include "data/DMBank.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"

QString AcctInput::gubun() const {
    return distribution ? AccountStore::kDistribute : AccountStore::kCollect;
}

namespace AccountStore {

namespace {

const QString kTable = QStringLiteral("C_ACCT");
const QString kNotesTable = QStringLiteral("C_BANKH");
const QString kInputCaption = QStringLiteral("입력오류");
const QString kBankCaption = QStringLiteral("은행확인");
// Passwords never reach the job log.
const QString kMasked = QStringLiteral("****");

struct BankNote {
    const char* bankCd;
    const char16_t* note;
};

// How each bank handles automatic transfers, as the office was told.
const BankNote kNotes[] = {
    {"03", u"은행 고유 항목코드 거래"},
    {"03", u"두 가지 이상 항목을 동시 송신 가능"},
    {"03", u"항목수 2개 이상 송신시 맨처음 항목의 모계좌로 입금됨"},
    {"03", u"이체자료 송신 가능횟수(고객번호 수 만큼 송신가능)"},
    {"03", u"은행에서의 이체순서 : <신청년월->항목->학반번호 순>"},
    {"04", u"은행측과 협의한 항목코드거래(최대 8 항목 까지 가능)"},
    {"04", u"이체자료 송신 가능 횟수(고객번호 수 만큼 송신 가능)"},
    {"04", u"두 가지 이상 항목을 동시 송신 가능"},
    {"04", u"항목수 2개 이상 송신시 맨처음 항목의 모계좌로 입금됨"},
    {"04", u"복기부호 사용"},
    {"04", u"이체자료 송신시 업체 비밀번호 입력"},
    {"04", u"송신시 입력하는 이체시작일자는 이체일자와 동일"},
    {"04", u"은행에서의 이체순서 : <신청년월->항목->학반번호 순>"},
    {"05", u"은행측과 협의한 항목코드거래(최대 7 항목 까지 가능)"},
    {"05", u"두 가지 이상 항목을 동시 송신 가능"},
    {"05", u"항목수 2개 이상 송신시 맨처음 항목의 모계좌로 입금됨"},
    {"05", u"이체자료 송신 가능횟수(1일 1회)"},
    {"05", u"송신시 이체시작일자는 이체일자와동일"},
    {"05", u"은행에서의 이체순서 : <신청년월->항목->학반번호 순>"},
    {"07", u"프로그램에 등록된 항목명 송신(한글 6자리)"},
    {"07", u"두 가지 이상 항목을 동시 송신시 모계좌 통일?"},
    {"07", u"이체자료 송신시 입금통장 계좌를 직접 입력(계좌는 하나)"},
    {"07", u"모계좌 비밀번호 필수 입력(1자리 숫자)"},
    {"07", u"이체자료 송신 가능횟수(1일 1회)"},
    {"07", u"은행에서의 이체순서 : <신청년월->항목->학반번호 순>"},
    {"11", u"은행측과 협의한 항목코드거래(최대 15 항목 까지 가능)"},
    {"11", u"이체자료 송신 가능횟수(1일 1회)"},
    {"11", u"두 가지 이상 항목을 동시 송신 가능"},
    {"11", u"두가지 항목 동시 송신 가능(각 항목별 모계좌로 입금 가능)"},
    {"11", u"은행에서의 이체순서: <은행->신청년월->항목->학반번호 순>"},
    {"12", u"프로그램에 등록된 항목명 송신(한글 6자리)?"},
    {"12", u"이체자료 송신 가능 횟수(고객번호 수 만큼 송신 가능)"},
    {"12", u"복기부호 사용"},
    {"12", u"두 가지 이상 항목 송신시 모계좌 통일(고객번호 참조)"},
    {"12", u"모계좌 변경시 반드시 해당 지점에 통보해야 함"},
    {"12", u"은행에서의 이체순서: <은행->신청년월->항목->학반번호 순>"},
    {"20", u"두 가지 이상 항목을 동시 송신 가능"},
    {"20", u"항목수 2개 이상 송신시 맨처음 항목의 모계좌로 입금됨"},
    {"20", u"이체자료 송신 가능 횟수(고객번호 수 만큼 송신 가능)"},
    {"20", u"통장인자는 학교명과 항목명중 선택(한글 4자리)"},
    {"20", u"송신시 입력하는 이체시작일자는 이체일자와 동일"},
    {"20", u"은행에서의 이체순서 : <신청년월->항목->학반번호 순>"},
    {"21", u"이체자료 송신 가능횟수(제한 없음)"},
    {"21", u"이체자료 송신시 항목단위로 파일을 구성"},
    {"21", u"두가지 항목 동시 송신 가능(각 항목별 모계좌로 입금 가능)"},
    {"21", u"은행 고유 항목코드 거래"},
    {"21", u"이체순서는 은행->항목->신청년월->학반번호 순"},
    {"23", u"이체자료 송신 가능횟수(1일 1회)"},
    {"23", u"두 가지 이상 항목을 동시 송신 가능"},
    {"23", u"항목수 2개 이상 송신시 맨처음 항목의 모계좌로 입금됨"},
    {"23", u"은행측과 협의한 항목코드거래(최대 10 항목 까지 가능)"},
    {"23", u"복기부호 및 관리 번호 적용"},
    {"23", u"은행에서의 이체순서 : <신청년월->항목->학반번호 순>"},
    {"81", u"이체자료 송신 가능 횟수(고객번호 수 만큼 송신 가능)"},
    {"81", u"두 가지 이상 항목을 동시 송신 가능"},
    {"81", u"항목수 2개 이상 송신시 맨처음 항목의 모계좌로 입금됨"},
    {"81", u"프로그램 항목명 통장에 표기(한글 6자리)"},
    {"81", u"은행에서의 이체순서 : <신청년월->항목->학반번호 순>"},
    {"26", u"이체자료 송신 가능횟수(1일 1회)"},
    {"26", u"두 가지 이상 항목을 동시 송신 가능"},
    {"26", u"항목수 2개 이상 송신시 맨처음 항목의 모계좌로 입금됨"},
    {"26", u"은행측과 협의한 항목코드거래(최대 9 항목 까지 가능)"},
    {"26", u"은행에서의 이체순서 : <신청년월->항목->학반번호 순>"},
    {"27", u"이체자료 송신 가능횟수(1일 1회)"},
    {"27", u"두 가지 이상 항목을 동시 송신 가능"},
    {"27", u"항목수 2개 이상 송신시 맨처음 항목의 모계좌로 입금됨"},
    {"27", u"은행 고유 항목코드 거래"},
    {"27", u"송신시 은행 통신 비밀번호 입력필수"},
    {"27", u"송신후 펌뱅킹을 이용하여 이체의뢰 실행"},
    {"27", u"은행에서의 이체순서 : <신청년월->항목->학반번호 순>"},
    {"31", u"이체자료 송신 가능 횟수(고객번호 수 만큼 송신 가능)"},
    {"31", u"두가지 이상 항목을 동시 송신 가능"},
    {"31", u"항목수 2개 이상 송신시 맨처음 항목의 모계좌로 입금됨"},
    {"31", u"프로그램 항목명 통장에 표기(한글 7자리)"},
    {"31", u"은행에서의 이체순서 : <신청년월->항목->학반번호 순>"},
    {"32", u"이체자료 송신 가능횟수(1일 1회)"},
    {"32", u"두가지 항목 동시 송신 가능(각 항목별 모계좌로 입금 가능)"},
    {"32", u"프로그램 항목명 통장에 표기(한글 5자리)"},
    {"32", u"이체자료 송신시 항목단위로 은행헤더 생성"},
    {"32", u"은행에서의 이체순서 : <신청년월->항목->학반번호 순>"},
    {"35", u"이체자료 송신 가능횟수(1일 1회)"},
    {"35", u"두가지 항목 동시 송신 가능(각 항목별 모계좌로 입금 가능)"},
    {"35", u"프로그램 항목명 통장에 표기(한글 7자리)"},
    {"35", u"이체자료 송신시 항목단위로 은행헤더 생성"},
    {"35", u"은행에서의 이체순서 : <신청년월->항목->학반번호 순>"},
    {"37", u"이체자료 송신 가능횟수(1일 1회)"},
    {"37", u"두가지 항목 동시 송신 가능(각 항목별 모계좌로 입금 가능)"},
    {"37", u"프로그램 항목명 통장에 표기(한글 5자리)"},
    {"37", u"이체자료 송신시 항목단위로 은행헤더 생성"},
    {"37", u"은행에서의 이체순서 : <신청년월->항목->학반번호 순>"},
    {"38", u"이체자료 송신 가능횟수(1일 1회)"},
    {"38", u"두가지 항목 동시 송신 가능(각 항목별 모계좌로 입금 가능)"},
    {"38", u"은행측과 협의한 항목코드거래"},
    {"38", u"이체자료 송신시 항목단위로 은행헤더 생성"},
    {"38", u"은행에서의 이체순서 : <신청년월->항목->학반번호 순>"},
    {"39", u"이체자료 송신 가능횟수(1일 1회)"},
    {"39", u"두가지 이상 항목을 동시 송신 가능"},
    {"39", u"항목수 2개 이상 송신시 맨처음 항목의 모계좌로 입금됨"},
    {"39", u"프로그램 항목명 통장에 표기(한글 7자리)"},
    {"39", u"은행에서의 이체순서 : <신청년월->항목->학반번호 순>"},
    {"71", u"이체자료 송신 가능횟수(제한 없음)"},
    {"71", u"두가지 항목 동시 송신 가능(각 항목별 모계좌로 입금 가능)"},
    {"71", u"이체자료 송신시 항목단위로 파일 생성"},
    {"71", u"프로그램 항목명 통장에 표기(한글 6자리)"},
    {"71", u"이체순서는 은행->항목->신청년월->학반번호 순"},
    {"45", u"이체자료 송신가능 횟수(제한없음)"},
    {"45", u"두가지 이상 항목 동시 동신 가능"},
    {"45", u"항목수 2개 이상 송신시 맨처음 항목의 모계좌로 입금됨"},
    {"45", u"프로그램 항목명 통장에 표기(한글 7자리)"},
    {"45", u"은행에서의 이체순서 : <신청년월->항목->학반번호 순>"},
    {"45", u"당일이체 불가, 최소 전일 업무시간내에 송신요"},
    {"45", u"이체일 전 최대 1 주일 전까지 송신된 자료 이체가능"},
    {"45", u"문서명은 수납이체 KF200, 환불이체 KF300으로 설정"},
    {"45", u"이체의뢰 자료는 전일 영업시간내에 송신필수"},
};

AcctRow rowOf(const Query& q) {
    return AcctRow{
        q.str(QStringLiteral("BankCd")),  q.str(QStringLiteral("Gubun")),  q.str(QStringLiteral("AcctNo")),
        q.str(QStringLiteral("CompyNo")), q.str(QStringLiteral("Passwd")), q.str(QStringLiteral("Gcode")),
        q.str(QStringLiteral("EduCode")), q.str(QStringLiteral("RepYn")),  q.str(QStringLiteral("RepCd"))};
}

bool isNonghyup(const QString& bankCd) {
    return bankCd == QLatin1String("10") || bankCd == QLatin1String("11") || bankCd == QLatin1String("12");
}

QString rtrim(const QString& s) {
    int end = s.size();
    while (end > 0 && s.at(end - 1) == QLatin1Char(' '))
        --end;
    return s.left(end);
}

Refusal checkInput(const AcctInput& in) {
    auto refuse = [](const QString& caption, const QString& text, int field) {
        return Refusal{caption, text, field};
    };
    if (in.bankCd.isEmpty()) return refuse(kBankCaption, QStringLiteral("은행을 선택해주세요!!"), FieldBank);
    if (in.distribution && in.bankCd != QLatin1String("20") && in.bankCd != QLatin1String("21"))
        return refuse(kBankCaption, QStringLiteral("현재 배분이체 서비스는 우리/조흥은행만 가능합니다!!"),
                      FieldKind);
    if (isNonghyup(in.bankCd) && !TDMLib::IsAllDigits(in.compyNo))
        return refuse(kBankCaption,
                      QStringLiteral("농협용 은행부여코드에는 숫자이외의 값이 들어갈수없습니다~!!"),
                      FieldCompyNo);
    // An account without a number could never be written into a request file.
    if (in.acctNo.trimmed().isEmpty())
        return refuse(kInputCaption, QStringLiteral("계좌번호를 입력해주세요!!"), FieldAcctNo);
    const struct {
        const QString& text;
        const char* column;
        const char16_t* label;
        int field;
    } texts[] = {
        {in.acctNo, "AcctNo", u"계좌번호", FieldAcctNo},
        {in.compyNo, "CompyNo", u"은행부여코드", FieldCompyNo},
        {in.passwd, "Passwd", u"비밀번호", FieldPasswd},
        {in.eduCode, "EduCode", u"교육금고코드", FieldEduCode},
        {in.repCd, "RepCd", u"CMS등록코드", FieldRepCd},
    };
    for (const auto& t : texts) {
        const int width = Database::columnWidth(kTable, QString::fromLatin1(t.column));
        if (Refusal r =
                InputCheck::checkText(kInputCaption, t.field, QString::fromUtf16(t.label), t.text, width))
            return r;
    }
    return {};
}

} // namespace

QList<AcctRow> rows() {
    QList<AcctRow> out;
    Query q(QStringLiteral("SELECT * FROM C_ACCT ORDER BY BankCd, Gubun, CompyNo"));
    if (!q.exec()) return out;
    while (q.next())
        out << rowOf(q);
    return out;
}

std::optional<AcctRow> find(const QString& bankCd, const QString& gubun, const QString& acctNo,
                            const QString& compyNo) {
    // IS also matches a blank input against the NULL it is stored as.
    Query q(QStringLiteral(
        "SELECT * FROM C_ACCT WHERE BankCd IS ? AND Gubun IS ? AND AcctNo IS ? AND CompyNo IS ?"));
    q.add(bankCd).add(gubun).add(acctNo).add(compyNo);
    if (!q.exec() || !q.next()) return std::nullopt;
    return rowOf(q);
}

QString bankText(const QString& bankCd) {
    const QString name = DMData ? DMData->GetBankName(bankCd) : QString();
    return name.isEmpty() ? bankCd : bankCd + QLatin1Char('.') + name;
}

bool acctNoValid(const QString& bankCd, const QString& acctNo) {
    if (bankCd.isEmpty() || acctNo.isEmpty()) return true;
    if (bankCd == QLatin1String("11")) {
        const int n = int(acctNo.size());
        return TDMLib::IsAllDigits(acctNo) && n >= 11 && n <= 13;
    }
    return DMBankLib && DMBankLib->CheckAcctNo(bankCd, acctNo);
}

SaveResult save(const AcctInput& raw) {
    SaveResult r;
    AcctInput in = raw;
    in.acctNo = rtrim(in.acctNo);
    in.compyNo = rtrim(in.compyNo);
    in.passwd = rtrim(in.passwd);
    in.eduCode = in.eduCode.trimmed();
    in.repCd = in.repCd.trimmed();
    if ((r.refusal = checkInput(in))) return r;

    const QString gubun = in.gubun();
    const std::optional<AcctRow> row = find(in.bankCd, gubun, in.acctNo, in.compyNo);
    Transaction tx;
    bool ok = true;
    if (row) {
        // Bank, kind, number and institution code are the key, so only the
        // other fields can differ here.
        const QString prefix = QStringLiteral("[수정] (은행 : ") + bankText(row->bankCd) +
                               QStringLiteral(" ,항목그룹 : ") + GroupStore::displayText(row->gcode) +
                               QLatin1Char(')');
        ColumnValues set;
        QStringList logs;
        if (in.gcode != row->gcode) {
            set << std::pair{QStringLiteral("Gcode"), QVariant(in.gcode)};
            logs << prefix + QStringLiteral(" 항목그룹변경: ") + GroupStore::displayText(in.gcode);
        }
        if (in.eduCode != row->eduCode) {
            set << std::pair{QStringLiteral("EduCode"), QVariant(in.eduCode)};
            logs << prefix + QStringLiteral(" 교육금고코드 : ") + in.eduCode;
        }
        if (in.repCd != row->repCd) set << std::pair{QStringLiteral("RepCd"), QVariant(in.repCd)};
        if (in.passwd != row->passwd) {
            set << std::pair{QStringLiteral("Passwd"), QVariant(in.passwd)};
            logs << prefix + QStringLiteral(" 비밀번호 : ") + kMasked;
        }
        if (!set.isEmpty()) {
            ok = Database::updateRows(kTable, set,
                                      {{QStringLiteral("BankCd"), row->bankCd},
                                       {QStringLiteral("Gubun"), row->gubun},
                                       {QStringLiteral("AcctNo"), row->acctNo},
                                       {QStringLiteral("CompyNo"), row->compyNo}});
            for (const QString& l : logs)
                ok = ok && DMLib->WriteJobLog(kMenuName, l);
        }
    } else {
        r.inserted = true;
        r.representative = DMData->NoRepAcct(in.bankCd);
        ok = Database::insertRow(
                 kTable, {{QStringLiteral("BankCd"), in.bankCd},
                          {QStringLiteral("AcctNo"), in.acctNo},
                          {QStringLiteral("CompyNo"), in.compyNo},
                          {QStringLiteral("Passwd"), in.passwd},
                          {QStringLiteral("Gcode"), in.gcode},
                          {QStringLiteral("EduCode"), in.eduCode},
                          {QStringLiteral("RepCd"), in.repCd},
                          {QStringLiteral("Gubun"), gubun},
                          {QStringLiteral("RepYn"), r.representative ? QStringLiteral("Y") : QString()}}) &&
             DMLib->WriteJobLog(kMenuName, QStringLiteral("[등록] 항목그룹: ") +
                                               GroupStore::displayText(in.gcode) + QStringLiteral(", 구분:") +
                                               gubun + QStringLiteral(", 은행:") + bankText(in.bankCd) +
                                               QStringLiteral(", 계좌번호:") + in.acctNo +
                                               QStringLiteral(", 은행부여코드:") + in.compyNo +
                                               QStringLiteral(", 비밀번호 :") + kMasked);
    }
    r.saved = ok && tx.commit();
    if (!r.saved) {
        r.inserted = false;
        r.representative = false;
    }
    return r;
}

Refusal checkDelete(const AcctInput& typed, const std::optional<AcctRow>& shown) {
    const Refusal rep{kMenuName, QStringLiteral("[대표코드]는 삭제할수 없습니다."), FieldAcctNo};
    if (shown && shown->isRep()) return rep;
    // The row that would go is the one the inputs name, which need not be the
    // row clicked.
    const auto row = find(typed.bankCd, typed.gubun(), rtrim(typed.acctNo), rtrim(typed.compyNo));
    if (row && row->isRep()) return rep;
    return {};
}

DeleteResult remove(const AcctInput& typed, const std::optional<AcctRow>& shown) {
    DeleteResult d;
    if ((d.refusal = checkDelete(typed, shown))) return d;
    const auto row = find(typed.bankCd, typed.gubun(), rtrim(typed.acctNo), rtrim(typed.compyNo));
    if (!row) return d;
    Transaction tx;
    Query del(
        QStringLiteral("DELETE FROM C_ACCT WHERE BankCd IS ? AND Gubun IS ? AND AcctNo IS ? AND CompyNo IS ? "
                       "AND RepYn IS NOT 'Y'"));
    del.add(row->bankCd).add(row->gubun).add(row->acctNo).add(row->compyNo);
    if (!del.exec() || del.affected() != 1) return d;
    if (!DMLib->WriteJobLog(kMenuName, QStringLiteral("[삭제] 항목그룹: ") +
                                           GroupStore::displayText(row->gcode) + QStringLiteral(", 구분:") +
                                           row->gubun + QStringLiteral(",은행코드 : ") + row->bankCd +
                                           QStringLiteral(",계좌번호 : ") + row->acctNo +
                                           QStringLiteral(",학교번호 : ") + row->compyNo))
        return d;
    d.deleted = tx.commit();
    return d;
}

bool ensureBankNotes() {
    if (Database::tableExists(kNotesTable)) return true;
    bool created;
    {
        Transaction tx;
        created = Database::createTable(TableDef{kNotesTable,
                                                 {FieldDef{QStringLiteral("seq"), FieldType::AutoInc, 0},
                                                  FieldDef{QStringLiteral("bankcd"), FieldType::Text, 5},
                                                  FieldDef{QStringLiteral("remark"), FieldType::Text, 80}},
                                                 {},
                                                 {}},
                                        false);
        // A note that does not go in is skipped; the others still do.
        if (created)
            for (const BankNote& n : kNotes)
                Database::insertRow(kNotesTable, {{QStringLiteral("bankcd"), QString::fromLatin1(n.bankCd)},
                                                  {QStringLiteral("remark"), QString::fromUtf16(n.note)}});
        created = created && tx.commit();
    }
    DMLib->WriteJobLog(kMenuName, created ? QStringLiteral("은행설명테이블생성 성공")
                                          : QStringLiteral("은행설명테이블생성 실패"));
    return created;
}

QStringList bankNotes(const QString& bankCd) {
    QStringList out;
    if (!Database::tableExists(kNotesTable)) return out;
    Query q(QStringLiteral("SELECT remark FROM C_BANKH WHERE bankcd = ? ORDER BY seq"));
    q.add(bankCd);
    if (!q.exec()) return out;
    while (q.next())
        out << q.str(0);
    return out;
}

int defaultNoteCount() {
    return int(std::size(kNotes));
}

} // namespace AccountStore
