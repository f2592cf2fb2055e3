#include "van/FileInquiry.h"

#include "data/Bnkerrcd.h"
#include "data/DMBank.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/text/Cp949.h"
#include "transfers/common/FileLayout.h"

#include <QFile>

namespace FileInquiry {

using FileLayout::Field;

QString folder(Kind k) {
    return k == Kind::Sent ? QStringLiteral("sback") : QStringLiteral("rback");
}

QString amountText(qint64 v, int width) {
    QString digits = QString::number(v < 0 ? -v : v);
    for (int i = int(digits.size()) - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char(','));
    if (v < 0) digits.prepend(QLatin1Char('-'));
    return width > 0 ? digits.rightJustified(width) : digits;
}

namespace {

QString srType(Kind k) {
    return k == Kind::Sent ? QStringLiteral("S") : QStringLiteral("R");
}

QString copyPath(Kind k, const QString& fileName) {
    return DMLib ? DMLib->dir(folder(k)) + fileName : QString();
}

QString bankName(const QString& code) {
    return DMData ? DMData->GetBankName(code) : QString();
}

} // namespace

bool list(Kind k, const ListFilter& f, QList<BookRow>* rows, QString* error) {
    rows->clear();
    QString sql = QStringLiteral(" select YearMon, SeqNo, FileName, FileType, BankCd, SRDate, DataCnt, Gcode "
                                 " from M_SRFILE where SRType = ? ");
    QVariantList binds{srType(k)};
    if (f.bankCd != QLatin1String("00") && !f.bankCd.isEmpty()) {
        sql += QStringLiteral(" and BankCd = ? ");
        binds << f.bankCd;
    }
    // The book keeps yymm.
    if (!f.yearMonFrom.isEmpty()) {
        sql += QStringLiteral(" and YearMon >= ? ");
        binds << f.yearMonFrom.mid(2, 4);
    }
    if (!f.yearMonTo.isEmpty()) {
        sql += QStringLiteral(" and YearMon <= ? ");
        binds << f.yearMonTo.mid(2, 4);
    }
    if (!f.seqNo.isEmpty()) {
        sql += QStringLiteral(" and SeqNo = ? ");
        binds << f.seqNo;
    }
    if (!f.count.isEmpty()) {
        sql += QStringLiteral(" and DataCnt = ? ");
        binds << f.count.toLongLong();
    }
    if (k == Kind::Sent) sql += QStringLiteral(" and SRDate <> '' ");
    sql += QStringLiteral(" order by YearMon, SeqNo, FileType desc");
    Query q(sql);
    for (const QVariant& v : binds)
        q.add(v);
    if (!q.exec()) {
        if (error) *error = q.error();
        return false;
    }
    while (q.next()) {
        BookRow r;
        const QString ym = q.str(0);
        r.yearMon = QStringLiteral("20") + ym.left(2) + QLatin1Char('.') + ym.mid(2, 2);
        r.seqNo = q.str(1);
        r.fileName = q.str(2);
        r.fileType = q.str(3).left(1);
        r.bankCd = q.str(4);
        r.bankNm = bankName(r.bankCd);
        const QString d = q.str(5);
        r.srDate =
            d.size() == 8 ? d.left(4) + QLatin1Char('-') + d.mid(4, 2) + QLatin1Char('-') + d.mid(6, 2) : d;
        r.count = q.num(6);
        r.dataCnt = amountText(r.count, 10);
        r.gcode = q.str(7).trimmed();
        if (k == Kind::Received && r.gcode.isEmpty()) r.gcode = QStringLiteral("01");
        rows->append(r);
    }
    if (!q.ok()) {
        if (error) *error = q.error();
        return false;
    }
    return true;
}

bool remove(Kind k, const QString& fileName, QString* error) {
    const QString name = fileName.trimmed();
    if (name.isEmpty()) return false;
    Query q(QStringLiteral(" delete from M_SRFILE where SRType = ? and FileName = ? "));
    q.add(srType(k)).add(name);
    if (!q.exec()) {
        if (error) *error = q.error();
        return false;
    }
    // The name comes from the book: only a plain file name is looked for in the folder.
    if (!name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
        name != QLatin1String("..")) {
        const QString p = copyPath(k, name);
        if (!p.isEmpty() && QFile::exists(p)) QFile::remove(p);
    }
    return true;
}

// ---- record viewers

Viewer choose(const QString& bankCd, const QString& fileType, int recLen) {
    bool ok = false;
    const int bank = bankCd.trimmed().toInt(&ok);
    if (!ok) return Viewer::Default80;
    switch (bank) {
    case 3:
        return fileType.startsWith(QLatin1Char('3')) ? Viewer::Dist03 : Viewer::Default80;
    case 10:
    case 11:
        return recLen == 200 ? Viewer::NH200 : Viewer::NH80;
    case 12:
        return recLen == 200 ? Viewer::NH200 : Viewer::NH12;
    case 23:
        return recLen == 80 ? Viewer::Default80 : recLen == 100 ? Viewer::L100B : Viewer::None;
    case 45:
    case 93:
        return recLen == 80 ? Viewer::Default80 : recLen == 100 ? Viewer::L100A : Viewer::None;
    default:
        return Viewer::Default80;
    }
}

QString viewerName(Viewer v) {
    switch (v) {
    case Viewer::None:
        return QStringLiteral("none");
    case Viewer::Default80:
        return QStringLiteral("default80");
    case Viewer::NH200:
        return QStringLiteral("nh200");
    case Viewer::NH80:
        return QStringLiteral("nh80");
    case Viewer::NH12:
        return QStringLiteral("nh12");
    case Viewer::L100B:
        return QStringLiteral("bank23-100");
    case Viewer::L100A:
        return QStringLiteral("bank45-93-100");
    case Viewer::Dist03:
        return QStringLiteral("bank03-dist");
    }
    return {};
}

namespace {

namespace L80 = FileLayout::L80;
namespace L100B = FileLayout::L100B;
namespace L200 = FileLayout::L200;
namespace NH80 = FileLayout::NH80;
namespace NH12 = FileLayout::NH12;
namespace D03 = FileLayout::D03;

// How a record names its student.
enum class KeyRule {
    Payer80,      // payer field: its first 14 bytes, a payer after bank 45's "C", or the student
    Whole,        // the whole field is the key
    Lookup,       // always a payer number
    LookupAfterC, // the payer number after a leading "C"
    NH12Key,      // bank 12's key, or the student packed at 48
    Student,      // the student itself: number at 2-7, name after it
};
enum class AcctCut { AsRead, Trim, NH80, NH12 };
enum class ItemRule { Id, IdMid1, IdTrim, NH12Id, Text, None };

// One viewer: where its values lie and how each is shown. Received-only
// entries stay invalid in the sent tables.
struct Table {
    int width = 0;
    Field headStart{}, headEnd{}, headAcct{};
    bool acctTrim = false;
    Field headBank{};  // the reason's bank (bank 12) or the unprocessed rule (default)
    Field trailLoop{}; // data records, less loopLess
    int loopLess = 0;
    Field trailTotCnt{}, trailTotAmt{}; // shown as they stand; invalid: counted and summed
    char dataMark = 0;                  // first byte of every data record; 0: not checked
    Field key{};
    KeyRule keyRule = KeyRule::Whole;
    int nameLen = 0; // student rule: bytes of the name
    Field bank{};
    bool bankMid1 = false;
    Field acct{};
    AcctCut acctCut = AcctCut::AsRead;
    Field item{};
    ItemRule itemRule = ItemRule::None;
    Field amt{}; // sent amount; received: column 5 of processed rows
    int amtWidth = 0;
    // received
    Field flag{};
    char mark = 0;
    Field failAmt{};          // column 5 of unprocessed rows
    Field okSum{}, failSum{}; // summed into the processed and unprocessed amounts
    Field trailOkCnt{}, trailOkAmt{}, trailFailCnt{}, trailFailAmt{}; // panels from the trailer
    Field reply{};
    bool replyText = false;      // the 200-byte table of reply texts
    bool headBankReason = false; // the reason's bank is the header's
    bool defaultRule = false;    // header bank decides the amount of unprocessed records
};

constexpr Field none{};

// Default 80-byte files and bank 45/93's 100-byte ones: one layout, two widths.
Table sent80(Viewer v) {
    return {.width = v == Viewer::L100A ? L80::Width100A : L80::Width,
            .headStart = L80::HeadStart,
            .headEnd = L80::HeadEnd,
            .headAcct = L80::HeadAcct,
            .trailLoop = L80::TrailCount,
            .trailTotCnt = L80::TrailCount,
            .trailTotAmt = L80::TrailTotal,
            .dataMark = 'D',
            .key = L80::Payer,
            .keyRule = KeyRule::Payer80,
            .nameLen = 7,
            .bank = L80::Bank,
            .acct = L80::Acct,
            .item = L80::Item,
            .itemRule = ItemRule::Id,
            .amt = L80::Amt,
            .amtWidth = 15};
}

// The trailer's first count takes in header and trailer.
Table sentNH200() {
    return {.width = L200::Width,
            .headStart = L200::HeadDate,
            .headEnd = L200::HeadDate,
            .headAcct = L200::HeadAcct,
            .acctTrim = true,
            .trailLoop = L200::TrailAll,
            .loopLess = 2,
            .trailTotCnt = L200::TrailCount,
            .trailTotAmt = L200::TrailTotal,
            .dataMark = 'D',
            .key = L200::Payer,
            .keyRule = KeyRule::Whole,
            .nameLen = 7,
            .bank = L200::Bank,
            .bankMid1 = true,
            .acct = L200::Acct,
            .acctCut = AcctCut::Trim,
            .item = L200::Item,
            .itemRule = ItemRule::IdMid1,
            .amt = L200::Amt,
            .amtWidth = 13};
}

// The trailer counts header and trailer too; the count shown is the rows'.
Table sentNH80() {
    return {.width = NH80::Width,
            .headStart = NH80::HeadStart,
            .headEnd = NH80::HeadEnd,
            .headAcct = NH80::HeadAcct,
            .trailLoop = NH80::TrailAll,
            .loopLess = 2,
            .trailTotAmt = NH80::TrailTotal,
            .key = NH80::Payer,
            .keyRule = KeyRule::Whole,
            .nameLen = 7,
            .bank = NH80::Bank,
            .acct = NH80::Acct,
            .acctCut = AcctCut::NH80,
            .item = NH80::Item,
            .itemRule = ItemRule::Id,
            .amt = NH80::Amt,
            .amtWidth = 13};
}

Table sentNH12() {
    return {.width = NH12::Width,
            .headStart = NH12::HeadDate,
            .headEnd = NH12::HeadDate,
            .headAcct = NH12::HeadAcct,
            .trailLoop = NH12::TrailCount,
            .trailTotCnt = NH12::TrailCount,
            .trailTotAmt = NH12::TrailTotal,
            .key = NH12::Key,
            .keyRule = KeyRule::NH12Key,
            .nameLen = 7,
            .bank = NH12::Bank,
            .acct = NH12::Acct,
            .acctCut = AcctCut::NH12,
            .item = NH12::Item,
            .itemRule = ItemRule::NH12Id,
            .amt = NH12::Amt,
            .amtWidth = 13};
}

Table sentL100B() {
    return {.width = L100B::Width,
            .headStart = L100B::HeadStart,
            .headEnd = L100B::HeadEnd,
            .trailLoop = L100B::TrailCount,
            .trailTotCnt = L100B::TrailCount,
            .trailTotAmt = L100B::TrailTotal,
            .dataMark = 'D',
            .key = L100B::Payer,
            .keyRule = KeyRule::Lookup,
            .nameLen = 7,
            .bank = L100B::Bank,
            .acct = L100B::Acct,
            .item = L100B::Item,
            .itemRule = ItemRule::IdTrim,
            .amt = L100B::Amt,
            .amtWidth = 15};
}

Table sentDist03() {
    return {.width = D03::Width,
            .headStart = D03::HeadDate,
            .headEnd = D03::HeadDate,
            .headAcct = D03::HeadAcct,
            .trailLoop = D03::TrailCount,
            .trailTotCnt = D03::TrailCount,
            .trailTotAmt = D03::TrailTotal,
            .key = D03::Student,
            .keyRule = KeyRule::Student,
            .nameLen = 26,
            .bank = D03::Bank,
            .acct = D03::Acct,
            .itemRule = ItemRule::None,
            .amt = D03::Amt,
            .amtWidth = 15};
}

Table sentTable(Viewer v) {
    switch (v) {
    case Viewer::Default80:
    case Viewer::L100A:
        return sent80(v);
    case Viewer::NH200:
        return sentNH200();
    case Viewer::NH80:
        return sentNH80();
    case Viewer::NH12:
        return sentNH12();
    case Viewer::L100B:
        return sentL100B();
    case Viewer::Dist03:
        return sentDist03();
    case Viewer::None:
        break;
    }
    return Table{};
}

Table recvTable(Viewer v) {
    Table t = sentTable(v);
    switch (v) {
    case Viewer::Default80:
    case Viewer::L100A:
        t.flag = L80::Flag;
        t.mark = 'Y';
        t.failAmt = L80::Amt;
        t.failSum = L80::Amt;
        t.trailOkAmt = L80::TrailOkAmt;
        t.reply = L80::Reply;
        if (v == Viewer::Default80) {
            t.headBank = L80::HeadBank;
            t.defaultRule = true;
        } else {
            t.keyRule = KeyRule::LookupAfterC;
        }
        break;
    case Viewer::NH200:
        t.trailTotCnt = t.trailTotAmt = none;
        t.flag = L200::Flag;
        t.mark = 'Y';
        t.amt = L200::OkAmt;
        t.failAmt = L200::Amt;
        t.okSum = L200::OkAmt;
        t.failSum = L200::Amt;
        t.amtWidth = 10;
        t.reply = L200::Reply;
        t.replyText = true;
        break;
    case Viewer::NH80:
        t.trailTotCnt = t.trailTotAmt = none;
        t.flag = NH80::Flag;
        t.mark = 'Y';
        t.failAmt = t.okSum = t.failSum = NH80::Amt;
        t.amtWidth = 10;
        t.reply = NH80::Reply;
        break;
    case Viewer::NH12:
        t.trailTotCnt = t.trailTotAmt = none;
        t.headBank = NH12::HeadBank;
        t.headBankReason = true;
        t.flag = NH12::Flag;
        t.mark = '1';
        t.failAmt = t.okSum = t.failSum = NH12::Amt;
        t.amtWidth = 10;
        t.item = NH12::ItemNm;
        t.itemRule = ItemRule::Text;
        t.reply = NH12::Reply;
        break;
    case Viewer::L100B:
        t.flag = L100B::Flag;
        t.mark = 'Y';
        t.amt = L100B::OkAmt;
        t.failAmt = L100B::Amt;
        t.failSum = L100B::Amt;
        t.trailOkAmt = L100B::TrailOkAmt;
        t.reply = L100B::Reply;
        break;
    case Viewer::Dist03:
        t.nameLen = 7;
        t.flag = D03::Flag;
        t.mark = '1';
        t.failAmt = D03::Amt;
        t.trailOkCnt = D03::TrailOkCount;
        t.trailOkAmt = D03::TrailOkAmt;
        t.trailFailCnt = D03::TrailFailCount;
        t.trailFailAmt = D03::TrailFailAmt;
        t.reply = D03::Reply;
        break;
    case Viewer::None:
        break;
    }
    return t;
}

QByteArray bytes(const QByteArray& rec, Field f) {
    return f.valid() ? rec.mid(f.off, f.width) : QByteArray();
}

// Bytes [off, off + width) of a field, decoded. Offsets count CP949 bytes; a
// character that starts inside the span is kept whole, since the writers
// never split one, and one that started before it is left out.
QString sub(const QByteArray& b, int off, int width) {
    const int end = std::min<int>(off + width, int(b.size()));
    int pos = 0;
    while (pos < off && pos < b.size())
        pos += Cp949::charLength(static_cast<unsigned char>(b[pos]));
    const int from = pos;
    while (pos < end)
        pos += Cp949::charLength(static_cast<unsigned char>(b[pos]));
    return Cp949::decode(b.mid(from, std::min<int>(pos, int(b.size())) - from));
}

QString text(const QByteArray& rec, Field f) {
    return f.valid() ? sub(bytes(rec, f), 0, f.width) : QString();
}

// A count or amount: blanks read 0, anything else but digits fails.
bool number(const QByteArray& rec, Field f, qint64* out) {
    *out = 0;
    if (!f.valid()) return true;
    const QByteArray t = rec.mid(f.off, f.width).trimmed();
    if (t.isEmpty()) return true;
    if (t.size() > 18) return false;
    for (char c : t)
        if (c < '0' || c > '9') return false;
    *out = t.toLongLong();
    return true;
}

QString dateText(const QString& d) {
    if (d.size() == 6)
        return QStringLiteral("20") + d.left(2) + QLatin1Char('-') + d.mid(2, 2) + QLatin1Char('-') +
               d.mid(4, 2);
    if (d.size() == 8) return d.left(4) + QLatin1Char('-') + d.mid(4, 2) + QLatin1Char('-') + d.mid(6, 2);
    return d;
}

// A payer number is 9, 10 or 12 bytes of plain characters. A key with a
// Hangul name or a blank inside carries the student, whatever its length.
bool isPayerKey(const QByteArray& key) {
    const QByteArray k = key.trimmed();
    if (k.size() != 9 && k.size() != 10 && k.size() != 12) return false;
    for (char c : k)
        if (static_cast<unsigned char>(c) <= ' ' || static_cast<unsigned char>(c) >= 0x7F) return false;
    return true;
}

void lookUp(QStringList& row, const QByteArray& key) {
    const QString k = Cp949::decode(key.trimmed());
    row[0] = DMData ? DMData->GetSNo(k) : QString();
    row[1] = DMData ? DMData->GetCustName(k) : QString();
}

// The student carried in the field itself: "C" (or another mark), the
// student number in bytes 1-6, the name from byte 7.
void student(QStringList& row, const QByteArray& f, int nameLen) {
    row[0] = sub(f, 1, 6);
    row[1] = sub(f, 7, nameLen);
}

// The payer-or-student rule on key K cut from field F.
void payerOrStudent(QStringList& row, const QByteArray& key, const QByteArray& f, int nameLen) {
    if (isPayerKey(key))
        lookUp(row, key);
    else
        student(row, f, nameLen);
}

// A field that starts with "C" is the student written by the distribution
// writer ("C" + student number + name), never a payer number; only bank
// 45's collection files put a payer number after the "C".
void payerField(QStringList& row, const QByteArray& f, const QByteArray& key, const QString& bank,
                bool distribution, int nameLen) {
    if (f.startsWith('C')) {
        if (!distribution && bank == QLatin1String("45"))
            payerOrStudent(row, f.mid(1, 13), f, nameLen);
        else
            student(row, f, nameLen);
        return;
    }
    payerOrStudent(row, key, f, nameLen);
}

// Account cuts count bytes; an account is plain digits and dashes.
QString cutAcct(AcctCut cut, const QByteArray& a, const QString& bank) {
    switch (cut) {
    case AcctCut::AsRead:
        return sub(a, 0, int(a.size()));
    case AcctCut::Trim:
        return sub(a, 0, int(a.size())).trimmed();
    case AcctCut::NH80:
        if (bank == QLatin1String("11")) return sub(a, 3, 11);
        if (bank == QLatin1String("10")) return sub(a, 2, 12);
        return sub(a, 0, int(a.size()));
    case AcctCut::NH12:
        if (bank == QLatin1String("11")) return sub(a, 2, 3) + sub(a, 6, 2) + sub(a, 9, 6);
        if (bank == QLatin1String("12")) return sub(a, 0, 6) + sub(a, 7, 2) + sub(a, 10, 6);
        if (bank == QLatin1String("10")) return sub(a, 1, 4) + sub(a, 6, 2) + sub(a, 9, 6);
        return sub(a, 0, int(a.size())).trimmed();
    }
    return {};
}

QString itemName(const QString& id, const QString& gcode) {
    return DMData ? DMData->GetGItemName(id, gcode) : QString();
}

QString reason(const Table& t, const QString& bank, const QString& rawCode) {
    const QString code = rawCode.trimmed();
    QString s;
    if (t.replyText) {
        static TDMBankLib local;
        s = (DMBankLib ? DMBankLib : &local)->GetReplyText(bank, code);
    } else {
        s = GetBankErrText(bank, code);
    }
    return s.isEmpty() ? rawCode : s;
}

bool isSpecialHeadBank(const QString& b) {
    return b == QLatin1String("20") || b == QLatin1String("22") || b == QLatin1String("26") ||
           b == QLatin1String("45");
}

FileView failed(FileView::Status st, const QString& message) {
    FileView v;
    v.status = st;
    v.message = message;
    return v;
}

// The file's records without their line ends: every line one record of the
// layout's length ending in CR LF, a header and a trailer at least, data
// records marked where the layout marks them, as many as the trailer counts.
// *failure is the view to show when the file fails these checks, or when a
// later one fails on its records.
bool readRecords(const QString& path, const Table& t, QList<QByteArray>* lines, FileView* failure) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *failure = failed(FileView::Status::Unreadable, QStringLiteral("화일이 존재하지 않습니다"));
        return false;
    }
    const QByteArray content = f.readAll();
    f.close();
    const QString fileName = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    *failure = failed(FileView::Status::Malformed, QStringLiteral("화일의 형식이 맞지 않습니다.\r화일명: ") + fileName);
    *lines = content.split('\n');
    if (lines->isEmpty() || !lines->last().isEmpty()) return false;
    lines->removeLast();
    for (QByteArray& l : *lines) {
        if (!l.endsWith('\r')) return false;
        l.chop(1);
        if (l.size() != t.width) return false;
    }
    if (lines->size() < 2) return false;
    const QByteArray& head = lines->first();
    const QByteArray& tail = lines->last();
    const int data = int(lines->size()) - 2;
    if (t.dataMark) {
        if (head.at(0) == t.dataMark || tail.at(0) == t.dataMark) return false;
        for (int i = 1; i <= data; ++i)
            if (lines->at(i).at(0) != t.dataMark) return false;
    }
    qint64 loop = 0;
    return number(tail, t.trailLoop, &loop) && loop - t.loopLess == data;
}

// The header panels.
void readHeader(const Table& t, const QByteArray& head, FileView* v) {
    v->startDate = dateText(text(head, t.headStart));
    v->endDate = dateText(text(head, t.headEnd));
    v->masterAcct = t.acctTrim ? text(head, t.headAcct).trimmed() : text(head, t.headAcct);
}

// Columns 0 and 1: the student number and name, by the table's key rule.
void studentCells(const Table& t, const QByteArray& rec, const QString& bank, bool distribution,
                  QStringList& row) {
    const QByteArray fld = bytes(rec, t.key);
    switch (t.keyRule) {
    case KeyRule::Payer80:
        payerField(row, fld, fld.left(14), bank, distribution, t.nameLen);
        break;
    case KeyRule::Whole:
        payerField(row, fld, fld, bank, distribution, t.nameLen);
        break;
    case KeyRule::Lookup:
        lookUp(row, fld);
        break;
    case KeyRule::LookupAfterC:
        lookUp(row, fld.mid(1, 13));
        break;
    case KeyRule::NH12Key:
        if (isPayerKey(fld)) {
            lookUp(row, fld);
        } else {
            row[0] = text(rec, NH12::StudentGrade) + text(rec, NH12::StudentClass) + text(rec, NH12::StudentNo);
            row[1] = text(rec, NH12::StudentNm);
        }
        break;
    case KeyRule::Student:
        student(row, fld, t.nameLen);
        break;
    }
}

// Column 4: the item's name, by the table's item rule.
QString itemCell(const Table& t, const QByteArray& rec, const QString& gcode) {
    switch (t.itemRule) {
    case ItemRule::Id:
        return itemName(text(rec, t.item), gcode);
    case ItemRule::IdMid1:
        return itemName(sub(bytes(rec, t.item), 1, 2), gcode);
    case ItemRule::IdTrim:
        return itemName(text(rec, t.item).trimmed(), gcode);
    case ItemRule::NH12Id:
        return itemName(isPayerKey(bytes(rec, t.key)) ? text(rec, NH12::Item) : text(rec, NH12::StudentItem),
                        gcode);
    case ItemRule::Text:
        return text(rec, t.item).trimmed();
    case ItemRule::None:
        break;
    }
    return {};
}

// What the records add up to while they are read.
struct Tally {
    qint64 okCnt = 0, failCnt = 0, okSum = 0, failSum = 0;
};

// One data record into its grid row: the processed rows (sent files: every
// row) or the unprocessed ones with their reason. False when an amount is
// not a number.
bool readRecord(const Table& t, Kind k, const QByteArray& rec, const QString& headBank, bool distribution,
                const QString& gcode, FileView* v, Tally* tally) {
    const bool recv = k == Kind::Received;
    QStringList row(recv ? 7 : 6);
    const bool ok = !recv || (t.flag.valid() && rec.at(t.flag.off) == t.mark);
    const bool special = !t.defaultRule || isSpecialHeadBank(headBank);
    const QByteArray bankField = bytes(rec, t.bank);
    const QString bank = (t.bankMid1 ? sub(bankField, 1, 2) : sub(bankField, 0, t.bank.width)).trimmed();

    studentCells(t, rec, bank, distribution, row);
    row[2] = bankName(bank);
    row[3] = cutAcct(t.acctCut, bytes(rec, t.acct), bank);
    row[4] = itemCell(t, rec, gcode);

    Field shown = ok ? t.amt : t.failAmt;
    // The distribution writer leaves 38 zero: its records show the amount asked.
    if (!ok && t.defaultRule && !special && !distribution) shown = L80::Amt38;
    qint64 amount = 0, sumOk = 0, sumFail = 0;
    if (!number(rec, shown, &amount) || !number(rec, t.okSum, &sumOk) || !number(rec, t.failSum, &sumFail))
        return false;
    row[5] = amountText(amount, t.amtWidth);
    if (!recv) {
        v->rows << row;
    } else if (ok) {
        row.removeLast();
        v->rows << row;
        ++tally->okCnt;
        tally->okSum += sumOk;
    } else {
        row[6] = reason(t, t.headBankReason ? headBank : bank, text(rec, t.reply));
        v->failRows << row;
        ++tally->failCnt;
        tally->failSum += sumFail;
    }
    return true;
}

// The count and sum panels: the trailer's figure where the layout carries
// one, else what the records added up to. False when a figure is not a number.
bool fillPanels(const Table& t, Kind k, const QByteArray& tail, int data, const Tally& n, FileView* v) {
    auto panel = [&](Field f, qint64 counted, QString* out) {
        qint64 value = counted;
        if (f.valid() && !number(tail, f, &value)) return false;
        *out = amountText(value);
        return true;
    };
    if (k == Kind::Sent) return panel(t.trailTotCnt, data, &v->totCnt) && panel(t.trailTotAmt, 0, &v->totAmt);
    return panel(t.trailTotCnt, n.okCnt + n.failCnt, &v->totCnt) &&
           panel(t.trailTotAmt, n.okSum + n.failSum, &v->totAmt) && panel(t.trailOkCnt, n.okCnt, &v->procCnt) &&
           panel(t.trailOkAmt, n.okSum, &v->procAmt) && panel(t.trailFailCnt, n.failCnt, &v->nonProcCnt) &&
           panel(t.trailFailAmt, n.failSum, &v->nonProcAmt);
}

} // namespace

FileView decode(Kind k, Viewer which, const QString& path, const QString& bankNm, const QString& gcode,
                const QString& fileType) {
    if (which == Viewer::None) return FileView{};
    // A distribution file names its students, never payers.
    const bool distribution = fileType.startsWith(QLatin1Char('3'));
    const Table t = k == Kind::Received ? recvTable(which) : sentTable(which);
    QList<QByteArray> lines;
    FileView failure;
    if (!readRecords(path, t, &lines, &failure)) return failure;

    FileView v;
    v.status = FileView::Status::Shown;
    v.viewer = which;
    v.bankNm = bankNm;
    readHeader(t, lines.first(), &v);
    const QString headBank = text(lines.first(), t.headBank);
    const int data = int(lines.size()) - 2;
    Tally tally;
    for (int i = 1; i <= data; ++i)
        if (!readRecord(t, k, lines[i], headBank, distribution, gcode, &v, &tally)) return failure;
    if (!fillPanels(t, k, lines.last(), data, tally, &v)) return failure;
    return v;
}

FileView view(Kind k, const BookRow& row) {
    const QString p = copyPath(k, row.fileName.trimmed());
    bool ok = false;
    const int len = TDMData::FirstLineLength(p, &ok);
    const Viewer v = choose(row.bankCd, row.fileType, ok ? len : -1);
    return decode(k, v, p, row.bankNm, row.gcode, row.fileType);
}

} // namespace FileInquiry
