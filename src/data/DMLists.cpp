#include "data/DMMain.h"

#include "data/DMModule.h"
#include "platform/ui/Msg.h"

#include <QComboBox>
#include <QFile>
#include <QListWidget>

#include <algorithm>

namespace {

const QString kDot = QStringLiteral(".");

// Runs a select with bound values; the caller walks it.
bool run(Query& q, const QVariantList& params = {}) {
    for (const QVariant& p : params)
        q.add(p);
    return q.exec();
}

QString firstText(const QString& sql, const QVariantList& params) {
    Query q(sql);
    if (!run(q, params) || !q.next()) return {};
    return q.str(0);
}

// Appends texts to a combo and selects by prefix; no match leaves the
// selection as it was before the fill (a fresh combo stays unselected).
void appendAndSelect(QComboBox* combo, const QStringList& texts, const QString& selText) {
    if (!combo) return;
    const int before = combo->currentIndex();
    combo->addItems(texts);
    QStringList all;
    for (int i = 0; i < combo->count(); ++i)
        all << combo->itemText(i);
    const int at = TDMData::PrefixIndex(all, selText);
    combo->setCurrentIndex(at >= 0 ? at : before);
}

void appendAndSelect(QListWidget* list, const QStringList& texts, const QString& selText) {
    if (!list) return;
    const int before = list->currentRow();
    list->addItems(texts);
    QStringList all;
    for (int i = 0; i < list->count(); ++i)
        all << list->item(i)->text();
    const int at = TDMData::PrefixIndex(all, selText);
    list->setCurrentRow(at >= 0 ? at : before);
}

void appendChecks(QListWidget* list, const QStringList& texts) {
    if (!list) return;
    for (const QString& t : texts) {
        auto* it = new QListWidgetItem(t, list);
        it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
        it->setCheckState(Qt::Unchecked);
    }
}

// Grade fillers pick item 0 whatever was selected before.
void selectFirst(QComboBox* combo) {
    if (combo && combo->count() > 0) combo->setCurrentIndex(0);
}
void selectFirst(QListWidget* list) {
    if (list && list->count() > 0) list->setCurrentRow(0);
}

} // namespace

void TDMData::LoadLists() {
    FreeBanks();
    FreeItems();
    FreeGItems();
    ItemQry.Clear(); // start-up lists hold group "01"
    LoadBanks();
    LoadItems();
    LoadGItems();
    LoadGroups();
}

void TDMData::LoadBanks() {
    Query q(QStringLiteral("SELECT BankCd, BankNm, UseTy FROM C_BANK ORDER BY BankCd"));
    if (!run(q)) return;
    while (q.next()) {
        if (q.str(2) != QLatin1String("1")) continue;
        const QString cd = q.str(0), nm = q.str(1);
        BankList.append(aBank{cd, nm, cd + kDot + nm});
    }
}

void TDMData::LoadItems() {
    if (ItemQry.SQL.trimmed().isEmpty()) {
        ItemQry.SQL = QStringLiteral("SELECT * FROM C_Item WHERE Gcode = ? ORDER BY ItemID ASC");
        ItemQry.Params = {QStringLiteral("01")};
    }
    Query q(ItemQry.SQL);
    if (!run(q, ItemQry.Params)) return;
    while (q.next()) {
        const QString cd = q.str(QStringLiteral("ItemCd"));
        const QString nm = q.str(QStringLiteral("ItemNm"));
        const QString id = q.str(QStringLiteral("ItemID"));
        ItemList.append(aItem{cd, nm, id + kDot + nm});
    }
}

void TDMData::LoadGItems() {
    Query q(QStringLiteral("SELECT Gcode, ItemID, ItemNm FROM C_ITEM "));
    if (!run(q)) return;
    while (q.next())
        GItemList.append(aGItem{q.str(0), q.str(1), q.str(2)});
}

void TDMData::LoadGroups() {
    QList<aGroup> fresh;
    Query q(QStringLiteral("SELECT G_CODE, G_NAME FROM G_GROUP ORDER BY G_CODE"));
    if (run(q))
        while (q.next())
            fresh.append(aGroup{q.str(0), q.str(1), q.str(0) + kDot + q.str(1)});
    GroupList = std::move(fresh);
}

void TDMData::ReloadItems() {
    FreeItems();
    LoadItems();
    FreeGItems();
    LoadGItems();
}

void TDMData::FreeBanks() {
    BankList.clear();
}
void TDMData::FreeItems() {
    ItemList.clear();
}
void TDMData::FreeGItems() {
    GItemList.clear();
}

void TDMData::SetItemGroup(const QString& gcode) {
    ItemQry.SQL = QStringLiteral("SELECT * FROM C_ITEM WHERE Gcode = ? ORDER BY ItemID ASC");
    ItemQry.Params = {gcode};
    ReloadItems();
}

// ---- lookups in the lists

QString TDMData::GetBankName(const QString& bankCd) const {
    for (const aBank& b : BankList)
        if (b.BankCd == bankCd) return b.BankNm;
    return {};
}

QString TDMData::GetBankCode(const QString& bankNm) const {
    const QString nm = bankNm.trimmed();
    for (const aBank& b : BankList)
        if (b.BankNm == nm) return b.BankCd;
    return {};
}

QString TDMData::GetItemName(const QString& itemCd) const {
    for (const aItem& i : ItemList)
        if (i.ItemCd == itemCd) return i.ItemNm;
    return {};
}

QString TDMData::GetItemCodeByID(const QString& itemId) const {
    for (const aItem& i : ItemList)
        if (i.Display.left(2) == itemId) return i.ItemCd;
    return {};
}

QString TDMData::GetGItemName(const QString& itemId, const QString& gcode) const {
    for (const aGItem& g : GItemList)
        if (g.Gcode == gcode && g.ItemID == itemId) return g.ItemNm;
    return {};
}

QString TDMData::FindGItemName(const QString& gcode, const QString& itemId) const {
    return GetGItemName(itemId, gcode);
}

// ---- lookups in the tables

qint64 TDMData::GetItemAmt(const QString& itemCd) const {
    const QString want = itemCd.trimmed();
    qint64 amt = 0;
    Query q(QStringLiteral("SELECT ItemCd, ItemAmt FROM C_ITEM ORDER BY ItemCd"));
    if (!run(q)) return 0;
    while (q.next())
        if (q.str(0).trimmed() == want) amt = q.num(1); // the last match wins
    return amt;
}

int TDMData::LoadItemList(QStringList& list) const {
    list.clear();
    Query q(QStringLiteral("SELECT ItemCd, ItemNm FROM C_ITEM ORDER BY ItemCd"));
    if (run(q))
        while (q.next())
            list << q.str(0).trimmed() + QStringLiteral("  ") + PadSpace(q.str(1), 18, true);
    std::sort(list.begin(), list.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    list.erase(std::unique(list.begin(), list.end()), list.end());
    return int(list.size());
}

QString TDMData::GetRepCompyNo(const QString& bankCd) const {
    return firstText(
        QStringLiteral("SELECT CompyNo FROM C_ACCT WHERE BankCd = ? AND RepYn = 'Y' AND Gubun = ?"),
        {bankCd, QStringLiteral("집금")});
}

QString TDMData::GetRepCd(const QString& bankCd) const {
    return firstText(QStringLiteral("SELECT RepCd FROM C_ACCT WHERE BankCd = ? AND RepYn = 'Y'"), {bankCd});
}

bool TDMData::NoRepAcct(const QString& bankCd) const {
    Query q(QStringLiteral("SELECT count(RepYn) AS cnt FROM C_ACCT WHERE BankCd = ? AND RepYn = 'Y'"));
    if (!run(q, {bankCd}) || !q.next()) return true;
    return q.num(0) == 0;
}

bool TDMData::GcodeUsed(const QString& tableName, const QString& gcode) const {
    const QString t = Database::quoted(tableName);
    if (t.isEmpty() || !Database::tableExists(tableName)) return false;
    Query q(QStringLiteral("SELECT count(Gcode) AS cnt FROM %1 WHERE Gcode = ?").arg(t));
    if (!run(q, {gcode}) || !q.next()) return false;
    return q.str(0) != QLatin1String("0");
}

QString TDMData::GetSNo(const QString& custNo) const {
    return firstText(QStringLiteral("SELECT SNo FROM M_CUST WHERE CustNo = ?"), {custNo.trimmed()});
}

QString TDMData::GetCustName(const QString& custNo) const {
    return firstText(QStringLiteral("SELECT Nm FROM M_CUST WHERE CustNo = ?"), {custNo.trimmed()});
}

namespace {

// The name or telephone printed for a grade: the school's for every kind but
// 유치원, the kindergarten's for 유치원, each falling back on the other.
QString schoolField(const QString& sCd, const char* schCol, const char* kidCol) {
    QString kind;
    bool found = false;
    {
        Query q(QStringLiteral("SELECT SCd, CompyNm FROM C_SCD ORDER BY SCd"));
        if (!run(q)) return {};
        const QString want = sCd.trimmed();
        while (q.next()) {
            if (q.str(0).trimmed() == want) {
                kind = q.str(1).trimmed();
                found = true;
                break;
            }
        }
    }
    if (!found || kind.isEmpty()) return {};
    Query q(QStringLiteral("select * FROM SchoolInfo "));
    if (!q.exec()) {
        Msg::error(QStringLiteral("오류"), q.error());
        return {};
    }
    if (!q.next()) return {};
    const QString sch = q.str(QString::fromLatin1(schCol));
    const QString kid = q.str(QString::fromLatin1(kidCol));
    if (kind != QStringLiteral("유치원")) return !sch.trimmed().isEmpty() ? sch : kid;
    return !kid.trimmed().isEmpty() ? kid : sch;
}

} // namespace

QString TDMData::GetSchoolName(const QString& sCd) const {
    return schoolField(sCd, "SchNm", "KidNm");
}

QString TDMData::GetSchoolTel(const QString& sCd) const {
    return schoolField(sCd, "SchTel", "KidTel");
}

int TDMData::FirstLineLength(const QString& fileName, bool* ok) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) {
        if (ok) *ok = false;
        return -1;
    }
    QByteArray line = f.readLine();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    if (ok) *ok = true;
    return int(line.size());
}

// ---- fillers

int TDMData::PrefixIndex(const QStringList& items, const QString& text) {
    const int n = int(items.size());
    for (int k = 1; k <= n; ++k) {
        const int i = k % n; // 1, 2, ..., n-1, then 0
        if (items.at(i).startsWith(text, Qt::CaseInsensitive)) return i;
    }
    return -1;
}

QStringList TDMData::GroupTexts() const {
    QStringList out;
    for (const aGroup& g : GroupList)
        out << g.Display;
    return out;
}

QStringList TDMData::BankTexts() const {
    QStringList out;
    for (const aBank& b : BankList)
        out << b.Display;
    return out;
}

QStringList TDMData::ItemTexts() const {
    QStringList out;
    for (const aItem& i : ItemList)
        out << i.Display;
    return out;
}

QStringList TDMData::GradeTexts(GradeText kind) const {
    QStringList out;
    Query q(QStringLiteral("SELECT SCd, SCdNm FROM C_SCD ORDER BY SCd"));
    if (!run(q)) return out;
    while (q.next()) {
        switch (kind) {
        case GradeText::CodeAndName:
            out << q.str(0) + kDot + q.str(1);
            break;
        case GradeText::Code:
            out << q.str(0);
            break;
        case GradeText::Name:
            out << q.str(1);
            break;
        }
    }
    return out;
}

void TDMData::FillGroupCombo(QComboBox* combo, const QString& selText) {
    LoadGroups();
    appendAndSelect(combo, GroupTexts(), selText);
}

void TDMData::FillBankCombo(QComboBox* combo, const QString& selText) const {
    appendAndSelect(combo, BankTexts(), selText);
}

void TDMData::FillItemCombo(QComboBox* combo, const QString& selText) const {
    appendAndSelect(combo, ItemTexts(), selText);
}

void TDMData::FillItemListBox(QListWidget* list, const QString& selText) const {
    appendAndSelect(list, ItemTexts(), selText);
}

void TDMData::FillItemCheckList(QListWidget* list) const {
    appendChecks(list, ItemTexts());
}

void TDMData::FillGradeCombo(QComboBox* combo) const {
    if (!combo) return;
    combo->addItems(GradeTexts(GradeText::CodeAndName));
    selectFirst(combo);
}

void TDMData::FillGradeCodeCombo(QComboBox* combo) const {
    if (!combo) return;
    combo->addItems(GradeTexts(GradeText::Code));
    selectFirst(combo);
}

void TDMData::FillGradeNameCombo(QComboBox* combo) const {
    if (!combo) return;
    combo->addItems(GradeTexts(GradeText::Name));
    selectFirst(combo);
}

void TDMData::FillGradeCheckList(QListWidget* list, const QString&) const {
    appendChecks(list, GradeTexts(GradeText::CodeAndName));
    selectFirst(list);
}

void TDMData::FillGradeListBox(QListWidget* list) const {
    if (!list) return;
    list->addItems(GradeTexts(GradeText::CodeAndName));
    selectFirst(list);
}
