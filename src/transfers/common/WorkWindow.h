#pragma once
#include "platform/ui/Msg.h"

#include <QWidget>

#include <initializer_list>

class QButtonGroup;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLayout;
class QListWidget;
class QPushButton;
class TKeyEdit;

// What the collection and the distribution work windows share: the round line
// (item group, bank, year-month, round), the transfer date, the item list,
// the eight totals panels and the buttons both have, the keys, and the
// handlers that work alike. A window makes its controls with the pieces
// below in its own order (the order is the focus order) and lays them out
// itself; what it lists, and the dialogs it opens, stay its own.
class TWorkWindow : public QWidget {
    Q_OBJECT
public:
    // ---- controls both windows have
    QComboBox* cboGroup = nullptr;
    QComboBox* CbBank = nullptr;
    TKeyEdit* MEdtYearMon = nullptr;
    QPushButton* SBtnYearMonSelect = nullptr;
    TKeyEdit* MEdtSeqNo = nullptr;
    TKeyEdit* MEdtSetlDt = nullptr;
    QListWidget* CLbItem = nullptr;
    QButtonGroup* RGrpProc = nullptr;
    QLabel *PnlTotCnt = nullptr, *PnlTotAmt = nullptr, *PnlProcCnt = nullptr, *PnlProcAmt = nullptr;
    QLabel *PnlNonProcCnt = nullptr, *PnlNonProcAmt = nullptr, *PnlExempCnt = nullptr, *PnlExempAmt = nullptr;
    QPushButton *BBtnPayDisp = nullptr, *BBtnCreate = nullptr, *bbtnFileCreate = nullptr,
                *bbtnDataRecv = nullptr;
    QPushButton *BBtnAmtUpdt = nullptr, *BBtnAddShft = nullptr, *BBtnDelShft = nullptr, *BBtnSearch = nullptr;
    QPushButton* BBtnClose = nullptr;

    // ---- values of the controls
    QString groupCode() const;
    QString bankCode() const;
    QString yearMon() const; // six digits when complete
    QString seqNo() const;

    // ---- handlers alike in both windows
    virtual void cboGroupChange() = 0;
    // Two typed characters choose the first bank they start.
    virtual void CbBankChange();
    // Leaving the bank combo: one typed character or none is the first
    // entry, two choose a bank as above.
    virtual void CbBankExit();
    void MEdtYearMonExit();
    void MEdtSeqNoExit();
    // Ctrl+F11: after a question, the rows transferred on the transfer date
    // go back to unprocessed and the round is listed again.
    void FormKeyDown(int key, Qt::KeyboardModifiers shift);
    void BBtnCloseClick();

protected:
    explicit TWorkWindow(QWidget* parent);

    // ---- what each window does its own way
    virtual void updateFileButtons() = 0;
    // Lists the round again with the controls' values.
    virtual void relist() = 0;
    // The transfer-date reset itself; false when it failed.
    virtual bool resetTransferDate(const QString& date) = 0;

    // ---- building pieces
    // cboGroup, CbBank (two typed characters at most, else an entry),
    // MEdtYearMon, SBtnYearMonSelect and MEdtSeqNo, in that order.
    void makeRoundLine();
    struct Panel {
        const char16_t* label;
        QLabel** panel;
    };
    // The eight panels both windows show, in their order.
    QList<Panel> sharedPanels();
    // Each panel after its caption, two to a column; returns the captions.
    QList<QLabel*> addPanels(QGridLayout* grid, const QList<Panel>& panels);
    // A panel of the totals: "0 " right-aligned in a sunken frame.
    QLabel* panel();
    // A button of the bottom row that may narrow down to its caption.
    QPushButton* addButton(QHBoxLayout* row, const QString& text);
    // Radio buttons of parent in lay, the first checked; ids from 0.
    QButtonGroup* radios(QWidget* parent, QLayout* lay, const QStringList& texts);
    // The round line's signals, the exits of its edits and BBtnClose.
    void wireRoundLine();
    // Enter in these edits moves the focus on.
    void enterMovesOn(std::initializer_list<TKeyEdit*> edits);
    // Every other control but the grid moves the focus on with Enter and
    // does not act on it.
    void filterEnter(const QWidget* grid);
    void addResetShortcut();

    // ---- routines
    // CbBankExit's choice; false when the text is no bank to settle on.
    bool settleBank();
    // The newest of the round tables ("H_x00_yyyymmNN"), or this month's
    // first round when there is none.
    void showNewestRound(const QStringList& tables);
    void fillGroupCombo();
    void loadBankCombo(const QStringList& entries);
    // Year-month and round chosen in a dialog; the focus goes to the round.
    void takeRound(const QString& yearMon, const QString& seqNo);
    void sayNoRound();
    // "학생삭제": the question before a row is deleted.
    MsgResult askDeleteRow(const QString& sno, const QString& nm, const QString& item, bool defaultNo);
    // A box with the program's title and OK only.
    static void plainBox(const QString& text);

    bool eventFilter(QObject* o, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
};
