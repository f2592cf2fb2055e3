#include "data/DMMain.h"

#include "data/AppliedFiles.h"
#include "data/FileMoves.h"

#include "data/DMModule.h"
#include "platform/sys/Clock.h"
#include "platform/sys/CrashPoint.h"

#include <QDir>
#include <QFileInfo>

TDMData* DMData = nullptr;

namespace {

FieldDef T(const char* name, int width) { return FieldDef{QString::fromLatin1(name), FieldType::Text, width}; }
FieldDef I(const char* name) { return FieldDef{QString::fromLatin1(name), FieldType::Integer, 0}; }
FieldDef A(const char* name) { return FieldDef{QString::fromLatin1(name), FieldType::AutoInc, 0}; }

QStringList keys(std::initializer_list<const char*> k) {
    QStringList out;
    for (const char* s : k) out << QString::fromLatin1(s);
    return out;
}

} // namespace

namespace Tables {

TableDef MCust() {
    return {QStringLiteral("M_CUST"),
            {T("CustNo", 12), T("SCd", 2), T("SNo", 10), T("Nm", 20), T("Sex", 1), T("BankCd", 2),
             T("AcctNo", 15), T("Owr", 30), T("UseTy", 1), T("InDate", 8), T("OutDate", 8), T("Ju_No", 13),
             T("AcctRegYn_1", 1), T("AcctRegYn_2", 1), T("AcctRegDt", 8), T("MTelNo", 20), T("smsYN", 1),
             T("Ju_No_Stud", 13)},
            keys({"CustNo"}),
            // The roster's order: student number, then payer number.
            {IndexDef{QStringLiteral("Index1"), keys({"SNo", "CustNo"}), true, false, keys({"CustNo"})}}};
}

// The purge archive: the roster's columns in their order of old (v_x00d, the
// purge day, standing where the old archive ended), then the later roster
// columns, so a purged student keeps everything.
TableDef DCust() {
    return {QStringLiteral("D_CUST"),
            {T("CustNo", 12), T("SCd", 2), T("SNo", 10), T("Nm", 20), T("Sex", 1), T("BankCd", 2),
             T("AcctNo", 15), T("Owr", 30), T("UseTy", 1), T("InDate", 8), T("OutDate", 8), T("Ju_No", 13),
             T("v_x00d", 10), T("AcctRegYn_1", 1), T("AcctRegYn_2", 1), T("AcctRegDt", 8), T("MTelNo", 20),
             T("smsYN", 1), T("Ju_No_Stud", 13)},
            {},
            {}};
}

TableDef CBank() {
    return {QStringLiteral("C_BANK"), {T("BankCd", 2), T("BankNm", 20), T("UseTy", 1)}, keys({"BankCd"}), {}};
}

TableDef CAcct() {
    return {QStringLiteral("C_ACCT"),
            {T("BankCd", 2), T("Gubun", 4), T("AcctNo", 15), T("CompyNo", 10), T("Passwd", 10), T("Gcode", 2),
             T("EduCode", 5), T("RepYn", 1), T("RepCd", 20)},
            keys({"BankCd", "Gubun", "AcctNo", "CompyNo"}),
            {}};
}

TableDef CGrp() { return {QStringLiteral("C_GRP"), {T("GrpNm", 10), T("CustNo", 12)}, keys({"GrpNm", "CustNo"}), {}}; }

TableDef CItem() {
    return {QStringLiteral("C_ITEM"),
            {T("ItemCd", 2), T("ItemNm", 10), T("Kwan", 10), T("Hang", 10), I("ItemAmt"), T("EduType", 1),
             T("Gcode", 2), T("ItemID", 2)},
            keys({"ItemCd"}),
            {}};
}

TableDef MExemp() {
    return {QStringLiteral("M_EXEMP"),
            {T("CustNo", 12), T("ItemCd", 2), I("Itemval"), T("Free", 2)},
            keys({"CustNo", "ItemCd"}),
            {}};
}

TableDef CScd() {
    return {QStringLiteral("C_SCD"), {T("SCd", 2), T("SCdNm", 10), T("CompyNm", 10)}, keys({"SCd"}), {}};
}

// Eight fields: Gcode is added by the layout change that runs right after.
TableDef MSRFile() {
    return {QStringLiteral("M_SRFILE"),
            {T("SRType", 1), T("FileName", 12), T("FileType", 3), T("YearMon", 6), T("SeqNo", 2), T("BankCd", 2),
             I("DataCnt"), T("SRDate", 8)},
            keys({"SRType", "FileName"}),
            {}};
}

// The daily income summary: one line per item group and item.
TableDef MDaySum() {
    return {QStringLiteral("M_DAYSUM"),
            {T("ItemCd", 2), T("ShftDate", 8), I("TotAmt"), T("ItemNm", 16), T("Kwan", 16), T("Hang", 16),
             T("Mok", 16), T("Gcode", 2)},
            keys({"Gcode", "ItemCd"}),
            {}};
}

TableDef LogTable(const QString& name) {
    return {name,
            {A("seq"), T("LogDate", 8), T("LogTime", 6), T("MenuName", 30), T("JobLog", 200)},
            keys({"seq", "LogDate"}),
            {IndexDef{QStringLiteral("index1"), keys({"LogDate"}), true, false}}};
}

static QList<FieldDef> roundFields14() {
    return {T("YearMon", 6), T("SeqNo", 2), T("SNo", 10), T("ItemCd", 2), T("BankCd", 2), T("AcctNo", 15),
            I("Amt"),        T("ProcDt", 8), T("ReplyTy", 1), T("ReplyCd", 4), T("ExempTy", 1), T("CustNo", 12),
            T("Nm", 20),     T("SCd", 2)};
}

TableDef H200(const QString& suffix) {
    QList<FieldDef> f = roundFields14();
    f << T("GrpNm", 10) << T("Unpaid", 30) << T("ReDt", 8) << I("REAmt") << T("Gcode", 2);
    // Result files and roster changes find rows by payer number and item.
    return {QStringLiteral("H_200_") + suffix, f, keys({"YearMon", "SeqNo", "SNo", "ItemCd"}),
            {IndexDef{QStringLiteral("CustItem"), keys({"CustNo", "ItemCd"}), false, false}}};
}

TableDef H300(const QString& suffix) {
    QList<FieldDef> f = roundFields14();
    f << T("Gcode", 2);
    return {QStringLiteral("H_300_") + suffix, f, keys({"YearMon", "SeqNo", "SNo", "ItemCd"}),
            {IndexDef{QStringLiteral("CustItem"), keys({"CustNo", "ItemCd"}), false, false}}};
}

TableDef HR00(const QString& suffix) {
    return {QStringLiteral("H_R00_") + suffix,
            {T("RegBankCd", 2), T("RepFacCd", 10), T("AcctNo", 15), T("NapbuNo", 12), T("SocId", 13), T("ReqDt", 8),
             T("Result", 1), T("ErrCd", 4), T("BankCd", 2)},
            keys({"RegBankCd", "RepFacCd", "AcctNo", "NapbuNo"}),
            {}};
}

TableDef MSumTax() {
    return {QStringLiteral("M_SumTax"),
            {I("seq"), T("CustNo", 10), T("Sno", 10), T("Name", 20), T("ItemCd", 2), T("Gcode", 2), I("Amt"),
             T("ProcDt", 8), T("SocId", 20), T("NapCd", 10), T("ProcMon", 10)},
            keys({"seq"}),
            {}};
}

TableDef MSumReceipt() {
    return {QStringLiteral("M_SumReceipt"),
            {I("seq"), T("CustNo", 10), T("Sno", 10), T("Name", 20), T("ItemCd", 2), T("Gcode", 2), I("Amt"),
             T("ProcDt", 8), T("BankCd", 4), T("AcctNo", 15)},
            keys({"seq"}),
            {}};
}

} // namespace Tables

bool CreateLogTableNamed(const QString& name) { return Database::createTable(Tables::LogTable(name), true); }

TDMData::TDMData() = default;

TDMData::~TDMData() { Database::close(); }

bool TDMData::DMDataCreate(QString* error) {
    const QString dataDir = DMLib->FDataDir + QStringLiteral("/data");
    QDir().mkpath(dataDir);
    const QFileInfo di(dataDir);
    if (!di.isDir() || !di.isWritable()) {
        if (error) *error = QStringLiteral("cannot write the data folder %1").arg(dataDir);
        return false;
    }
    if (!Database::open(dataDir + QStringLiteral("/school.db"), error)) return false;
    CheckTables();
    if (!GGroupExists()) CreateGGroup();
    RunLayoutChanges();
    LoadLists();
    return true;
}

void TDMData::CheckTables() {
    if (Database::tableExists(QStringLiteral("M_CUST"))) {
        // Dropped and added in one transaction: a start killed or failing
        // in between leaves the roster with its old index.
        Transaction tx;
        if (tx.ok() && Database::dropIndex(QStringLiteral("M_CUST"), QStringLiteral("Index1"))) {
            CrashPoint::hit("index-after-drop");
            if (Database::addIndex(QStringLiteral("M_CUST"), Tables::MCust().indexes.first())) tx.commit();
        }
    } else {
        CreateMCust();
    }
    if (!Database::tableExists(QStringLiteral("C_BANK"))) {
        CreateCBank();
        InsertDefaultBanks();
    }
    LogTableName = QStringLiteral("L_Log_") + Clock::yearMonthText();
    if (!Database::tableExists(QStringLiteral("C_ACCT"))) CreateCAcct();
    if (!Database::tableExists(QStringLiteral("C_GRP"))) CreateCGrp();
    if (!Database::tableExists(QStringLiteral("C_ITEM"))) CreateCItem();
    if (!Database::tableExists(QStringLiteral("M_EXEMP"))) CreateMExemp();
    if (!Database::tableExists(QStringLiteral("C_SCD"))) CreateCSCd();
    if (!Database::tableExists(QStringLiteral("M_SRFILE"))) CreateMSRFile();
    if (!Database::tableExists(LogTableName)) CreateLogTable();
    AppliedFiles::ensureTable();
    FileMoves::ensureTable();
}

bool TDMData::CreateMCust() { return Database::createTable(Tables::MCust(), true); }
bool TDMData::CreateDCust() { return Database::createTable(Tables::DCust(), false); }
bool TDMData::CreateCBank() { return Database::createTable(Tables::CBank(), true); }

bool TDMData::InsertDefaultBanks() {
    static const struct {
        const char* cd;
        const char16_t* nm;
        const char* use;
    } banks[] = {
        {"02", u"산업은행", "0"},   {"03", u"기업은행", "1"}, {"04", u"국민은행", "1"}, {"05", u"외환은행", "1"},
        {"06", u"주택은행", "1"},   {"07", u"수협은행", "0"}, {"10", u"신농협중앙", "1"}, {"11", u"농협중앙", "1"},
        {"12", u"회원농협", "1"},   {"20", u"우리은행", "1"}, {"21", u"조흥은행", "1"}, {"23", u"제일은행", "1"},
        {"25", u"서울은행", "1"},   {"26", u"신한은행", "1"}, {"27", u"한미은행", "0"}, {"31", u"대구은행", "0"},
        {"32", u"부산은행", "0"},   {"34", u"광주은행", "0"}, {"35", u"제주은행", "1"}, {"37", u"전북은행", "0"},
        {"39", u"경남은행", "0"},   {"45", u"새마을금고", "1"}, {"53", u"씨티은행", "0"}, {"71", u"우체국", "0"},
        {"81", u"하나은행", "1"},   {"83", u"평화은행", "0"},
    };
    Transaction tx;
    for (const auto& b : banks) {
        if (!Database::insertRow(QStringLiteral("C_BANK"), {{QStringLiteral("BankCd"), QString::fromLatin1(b.cd)},
                                                            {QStringLiteral("BankNm"), QString::fromUtf16(b.nm)},
                                                            {QStringLiteral("UseTy"), QString::fromLatin1(b.use)}}))
            return false;
    }
    return tx.commit();
}

bool TDMData::CreateCAcct() { return Database::createTable(Tables::CAcct(), true); }
bool TDMData::CreateCGrp() { return Database::createTable(Tables::CGrp(), true); }
bool TDMData::CreateCItem() { return Database::createTable(Tables::CItem(), true); }
bool TDMData::CreateMExemp() { return Database::createTable(Tables::MExemp(), true); }
bool TDMData::CreateCSCd() { return Database::createTable(Tables::CScd(), true); }
bool TDMData::CreateMSRFile() { return Database::createTable(Tables::MSRFile(), true); }
bool TDMData::CreateLogTable() { return CreateLogTableNamed(LogTableName); }
bool TDMData::CreateMDaySum() { return Database::createTable(Tables::MDaySum(), true); }

bool TDMData::CreateH200(const QString& suffix) {
    if (!Database::isRoundTableName(QStringLiteral("H_200_") + suffix)) return false;
    return Database::createTable(Tables::H200(suffix), false);
}

bool TDMData::CreateH300(const QString& suffix) {
    if (!Database::isRoundTableName(QStringLiteral("H_300_") + suffix)) return false;
    return Database::createTable(Tables::H300(suffix), false);
}

bool TDMData::CreateHR00(const QString& suffix) {
    if (!Database::isRoundTableName(QStringLiteral("H_R00_") + suffix)) return false;
    return Database::createTable(Tables::HR00(suffix), false);
}

bool TDMData::CreateMSumTax() { return Database::createTable(Tables::MSumTax(), true); }
bool TDMData::CreateMSumReceipt() { return Database::createTable(Tables::MSumReceipt(), true); }

bool TDMData::CBigoExists() { return Database::tableExists(QStringLiteral("C_Bigo")); }

bool TDMData::CreateCBigo() {
    return Database::exec(QStringLiteral("create table C_Bigo(   CustNo char(10),   Bigo char(80),   primary key(CustNo) ) "));
}

bool TDMData::GGroupExists() { return Database::tableExists(QStringLiteral("G_GROUP")); }

bool TDMData::CreateGGroup() {
    const bool created = Database::exec(QStringLiteral(
        "create table G_GROUP(   G_CODE char(10),   G_NAME char(40),   G_MEMO char(240),   primary key(G_CODE) ) "));
    // The default row goes in whether or not the table was just made; an
    // existing row "01" makes it fail harmlessly.
    Database::insertRow(QStringLiteral("G_GROUP"), {{QStringLiteral("G_CODE"), QStringLiteral("01")},
                                                    {QStringLiteral("G_NAME"), QStringLiteral("기본")},
                                                    {QStringLiteral("G_MEMO"), QStringLiteral("기본항목그룹")}});
    return created;
}

bool TDMData::IsBookedRequest(const QString& fileName) {
    Query q(QStringLiteral("SELECT count(*) FROM M_SRFILE WHERE FileName = ? AND SRType IN ('S', 'G')"));
    q.add(fileName);
    return q.exec() && q.next() && q.num(0) > 0;
}
