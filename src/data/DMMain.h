#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include "platform/db/Database.h"

#include <functional>

class QComboBox;
class QListWidget;

// Records of the cached code lists. Display texts are code + "." + name.
struct aBank {
    QString BankCd, BankNm, Display;
};
struct aItem {
    QString ItemCd, ItemNm, Display; // Display: ItemID + "." + ItemNm
};
struct aGItem {
    QString Gcode, ItemID, ItemNm;
};
struct aGroup {
    QString G_CODE, G_NAME, Display;
};

// The statement that ItemList is built from. Callers set their own select
// (returning ItemCd, ItemNm and ItemID of C_ITEM) and call ReloadItems; the
// statement stays for the next reload. Values go in Params, bound in order.
struct TItemQuery {
    QString SQL;
    QVariantList Params;
    void Clear() {
        SQL.clear();
        Params.clear();
    }
};

// Outcome of rebuilding one table in the current layout.
struct RebuildResult {
    bool ok = false; // the table stands in the current layout
    int rows = 0;    // rows of the old table
    int copied = 0;
    int failed = 0; // rows left only in the bk_ copy (each counted in the job log)
};

// The database module: owns DBMain, creates the shared tables and holds the
// cached code lists.
class TDMData {
public:
    TDMData();
    ~TDMData();

    // Connects DBMain to the data root's data/school.db and prepares it:
    // table checks, item-group table, layout changes, cached lists. False
    // (with the reason) when the database cannot be opened or written.
    bool DMDataCreate(QString* error = nullptr);

    void CheckTables();

    // Creators by definition (replace an existing table; a round table is
    // never replaced: creating one that exists fails).
    bool CreateMCust();
    // The purge archive (never replaced: it holds the purged students).
    bool CreateDCust();
    bool CreateCBank();
    bool InsertDefaultBanks();
    bool CreateCAcct();
    bool CreateCGrp();
    bool CreateCItem();
    bool CreateMExemp();
    bool CreateCSCd();
    bool CreateMSRFile();
    bool CreateLogTable();
    bool CreateMDaySum();
    bool CreateH200(const QString& suffix);
    bool CreateH300(const QString& suffix);
    bool CreateHR00(const QString& suffix);
    bool CreateMSumTax();
    bool CreateMSumReceipt();

    // Creators by SQL (fail when the table exists).
    bool CBigoExists();
    bool CreateCBigo();
    bool GGroupExists();
    bool CreateGGroup();

    // Layout changes of older data folders, run at every start.
    bool RunLayoutChanges();
    // Steps of RunLayoutChanges, in their order.
    RebuildResult ConvertItemGroups();
    RebuildResult ConvertItems();
    RebuildResult ConvertAccounts();
    RebuildResult ConvertExemptions();
    bool ConvertStudents();
    bool ConvertFileBook();
    // Adds the roster columns an older purge archive lacks.
    bool ConvertPurgeArchive();
    // Collection round tables by name (the activation check walks them from
    // the last); a table is old without 19 fields including Gcode.
    static QStringList RoundTablesToCheck();
    static bool RoundTableIsOld(const QString& tableName);
    // Moves the table to bk_ + name, creates it anew and copies the rows;
    // perRow runs before each row (the window keeps painting).
    RebuildResult RebuildRoundTable(const QString& tableName, const std::function<void()>& perRow = {});
    // (Re)loads the cached code lists (start-up order: banks, items of
    // group 01, all groups' items, groups).
    void LoadLists();

    // ---- cached lists
    void LoadBanks();
    void LoadItems();
    void LoadGItems();
    void LoadGroups();
    void ReloadItems();
    void FreeBanks();
    void FreeItems();
    void FreeGItems();
    // The conventional item query for one group (code bound), then ReloadItems.
    void SetItemGroup(const QString& gcode);

    QList<aBank> BankList;
    QList<aItem> ItemList;
    QList<aGItem> GItemList;
    QList<aGroup> GroupList;
    TItemQuery ItemQry;

    // ---- lookups in the lists ('' when nothing matches)
    QString GetBankName(const QString& bankCd) const;
    QString GetBankCode(const QString& bankNm) const;
    QString GetItemName(const QString& itemCd) const;
    QString GetItemCodeByID(const QString& itemId) const;
    QString GetGItemName(const QString& itemId, const QString& gcode) const;
    QString FindGItemName(const QString& gcode, const QString& itemId) const;

    // ---- lookups in the tables
    qint64 GetItemAmt(const QString& itemCd) const;
    int LoadItemList(QStringList& list) const;
    QString GetRepCompyNo(const QString& bankCd) const;
    QString GetRepCd(const QString& bankCd) const;
    bool NoRepAcct(const QString& bankCd) const;
    // False also for a table name that is not a plain name or does not exist.
    bool GcodeUsed(const QString& tableName, const QString& gcode) const;
    QString GetSNo(const QString& custNo) const;
    QString GetCustName(const QString& custNo) const;
    QString GetSchoolName(const QString& sCd) const;
    QString GetSchoolTel(const QString& sCd) const;
    // Byte length of the file's first line without its line end; -1 (and
    // false in *ok) when the file cannot be read.
    static int FirstLineLength(const QString& fileName, bool* ok = nullptr);
    // The file of send is booked as a request file ("S" or "G" in M_SRFILE):
    // a file the database does not know is never sent.
    static bool IsBookedRequest(const QString& fileName);

    // ---- list fillers: append (never clear) and select as each says
    void FillGroupCombo(QComboBox* combo, const QString& selText);
    void FillBankCombo(QComboBox* combo, const QString& selText) const;
    void FillItemCombo(QComboBox* combo, const QString& selText) const;
    void FillItemListBox(QListWidget* list, const QString& selText) const;
    void FillItemCheckList(QListWidget* list) const;
    void FillGradeCombo(QComboBox* combo) const;
    void FillGradeCodeCombo(QComboBox* combo) const;
    void FillGradeNameCombo(QComboBox* combo) const;
    void FillGradeCheckList(QListWidget* list, const QString& selText = QString()) const;
    void FillGradeListBox(QListWidget* list) const;

    // The texts the fillers append.
    QStringList GroupTexts() const;
    QStringList BankTexts() const;
    QStringList ItemTexts() const;
    enum class GradeText { CodeAndName, Code, Name };
    QStringList GradeTexts(GradeText kind = GradeText::CodeAndName) const;

    // The list controls' own prefix search: the first item that begins with
    // text (case ignored), searching from the second item to the end and then
    // wrapping round to the first; -1 when none matches.
    static int PrefixIndex(const QStringList& items, const QString& text);

    QString LogTableName;
};

extern TDMData* DMData;

// Table layouts, shared by the creators, the layout changes and the tests.
namespace Tables {
TableDef MCust();
TableDef DCust();
TableDef CBank();
TableDef CAcct();
TableDef CGrp();
TableDef CItem();
TableDef MExemp();
TableDef CScd();
TableDef MSRFile();
TableDef MDaySum();
TableDef LogTable(const QString& name);
TableDef H200(const QString& suffix);
TableDef H300(const QString& suffix);
TableDef HR00(const QString& suffix);
TableDef MSumTax();
TableDef MSumReceipt();
} // namespace Tables

// Creates the job-log table of that name (used by the job-log writer when
// the month changed while the program ran).
bool CreateLogTableNamed(const QString& name);
