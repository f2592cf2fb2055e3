#pragma once
#include <QString>
#include <QStringList>

#include "platform/db/Database.h"

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

    // Creators by definition (replace an existing table).
    bool CreateMCust();
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
    // (Re)loads the cached code lists.
    void LoadLists();

    QString LogTableName;
};

extern TDMData* DMData;

// Table layouts, shared by the creators, the layout changes and the tests.
namespace Tables {
TableDef MCust();
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

