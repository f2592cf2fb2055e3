#pragma once
#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPixmap>
#include <QString>

#include <functional>

class QAction;
class QFrame;
class QLabel;
class QMdiArea;
class QMenu;
class QProgressBar;
class QTimer;
class QToolBar;

// The process's current directory when the main window was made (the
// program folder as the VAN session reads it).
extern QString StartDir;

// One row of the main menu. Top-level menus have no parent.
struct TMenuDef {
    enum class Kind {
        Menu,         // a top-level menu
        Work,         // work window, after closing every work window
        Modal,        // dialog shown modally, work windows stay open
        ProtectModal, // work-protection question, close work windows, dialog
        Action,       // a routine set by another unit (MainHooks::menuActions)
        NewTerm,      // its own handler: a set action, else question + dialog
        MealModal,    // meal-certification folder test, then dialog
        Manual,       // the manual page in the browser
        Close,        // closes the main window
        Nothing,      // stands in the menu and does nothing
    };
    QString name;    // MnuF101B00
    QString caption; // "학교등록"
    int tag = -1;    // -1: none
    QString parent;  // top-level menu name, empty for a top-level menu
    Kind kind = Kind::Nothing;
    QString unit; // form unit opened ("F101B00"), empty when none
    bool ownerDrawn = true;
    QString protectCaption; // caption of the work-protection question
    bool protectMo = false; // the "모드" variant of its text
};

// The MDI main window.
class TFrmMain : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kMinWidth = 798;
    static constexpr int kMinHeight = 532;

    explicit TFrmMain(QWidget* parent = nullptr);
    ~TFrmMain() override;

    QMdiArea* mdiArea() const { return mdi_; }
    // Closes every open work window, from the first upward.
    void CloseAllChildren();
    // Shows the window inside the screen: centred at its size, or maximized
    // on a screen smaller than that.
    void ShowOnScreen();

    // Settings of the key SchoolInfo; false when a value is missing or not
    // a number where one is needed.
    bool ReadSettings();
    // Writes the defaults of the values that are missing (present values
    // are kept).
    void WriteDefaultSettings();
    static int GuessSNoLen();

    // Table checks of the start.
    static bool GroupTableExists();
    static bool CreateGroupTable();
    static bool SchoolInfoExists();
    static bool CreateSchoolInfo();
    static bool TitleTableExists();
    // logMenu names the window in the job log (its caption).
    static bool CreateTitleTable(const QString& logMenu);
    // The main window's own tables; also run after a restore and by the
    // headless driver.
    static void CheckTables(const QString& logMenu);

    static bool NoticeDismissedToday(const QString& popIniPath);
    static QString GetMenuHint(int tag);
    static QString ProtectText(bool moVariant);
    static const QList<TMenuDef>& MenuTable();

    // The menu item of that name (also bound to its tool button).
    QAction* menuAction(const QString& name) const { return actions_.value(name); }
    QMenu* topMenu(const QString& name) const { return menus_.value(name); }
    QToolBar* toolBar() const { return toolBar_; }
    // Enables each menu item whose form is registered or whose routine is set.
    void RefreshMenuState();
    // Runs the menu item of that name (as its click would).
    void Dispatch(const QString& name);

    // The progress panel shared with other units' long preparations.
    void ShowProgress(const QString& text, int maximum);
    void StepProgress();
    void HideProgress();
    QFrame* progressPanel() const { return pnProgress_; }
    QProgressBar* progressBar() const { return pbInit_; }
    QLabel* progressLabel() const { return txtProgress_; }

    // The round-table check of every activation: rebuilds collection round
    // tables of an older layout, newest name first. Returns how many.
    int CheckRoundTables();
    bool RebuildRoundTable(const QString& tableName);

    // The log-in was refused: the window stops its set-up and the program ends.
    bool Terminated() const { return terminated_; }
    int LoginSwitch() const { return uxAut_; }
    QString BackupFolder() const { return uxBack_; }
    QLabel* timeLabel() const { return PnlTime_; }
    QLabel* hintWindow() const { return hint_; }
    // The caption with the company code as it stands (DMLib->FSchCode).
    void ShowCompanyCode();

    // The browser seam of the manual page (tests replace it).
    std::function<void(const QString& url)> openUrl;
    static QString ManualUrl();

protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void FormCreate();
    void BuildMenus();
    void BuildToolBar();
    void BuildStatusBar();
    void BuildProgressPanel();
    void FirstPaint();
    void TmrTimeTimer();
    void ShowHint(QAction* a);
    void Timer_HintTimer();
    void OpenUnit(const TMenuDef& d, bool asWork);
    void MnuM401B00Click();

    QMdiArea* mdi_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QLabel* PnlStatus_ = nullptr;
    QLabel* Panel3_ = nullptr;
    QLabel* PnlTime_ = nullptr;
    QTimer* TmrTime_ = nullptr;
    QTimer* Timer_Hint_ = nullptr;
    QLabel* hint_ = nullptr;
    QFrame* pnProgress_ = nullptr;
    QLabel* txtProgress_ = nullptr;
    QProgressBar* pbInit_ = nullptr;
    QHash<QString, QAction*> actions_;
    QHash<QString, QMenu*> menus_;

    int uxAut_ = 0;
    int uxAutS_ = 0;
    QString uxHxls_;
    QString uxBack_;
    QString startDir_;
    bool terminated_ = false;
    bool painted_ = false;
    bool checkingRounds_ = false;
};

extern TFrmMain* FrmMain;
