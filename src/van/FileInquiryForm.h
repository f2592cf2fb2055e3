#pragma once
#include "van/FileInquiry.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QTableWidget;

// The list page both file inquiries share: bank, year-month, round and count
// filters, the book list, detail, delete and close; and the detail page's
// header panels. The sent-file window has one detail grid, the received-file
// window two.
class TFileInquiryForm : public QWidget {
public:
    TFileInquiryForm(FileInquiry::Kind kind, QWidget* parent);

    QStackedWidget* PageControl = nullptr;
    QWidget* TabShtList = nullptr;
    QWidget* TabShtDetail = nullptr;
    QComboBox* CbBank = nullptr;
    QLineEdit* MEdtYearMon = nullptr;
    QLineEdit* MEdtSeqNo = nullptr;
    QLineEdit* edtCnt = nullptr;
    QPushButton* BBtnSearch = nullptr;
    QPushButton* bbtnDtlData = nullptr;
    QPushButton* bbtnDel = nullptr;
    QPushButton* bbtnDone = nullptr;
    QTableWidget* SGrdList = nullptr;
    QLabel* PnlBnkNm = nullptr;
    QLabel* PnlPrentAcctNo = nullptr;
    QLabel* PnlStrtDate = nullptr;
    QLabel* PnlEndDate = nullptr;
    QPushButton* btnPrint = nullptr;
    QPushButton* btnRtn = nullptr;

    // The list as "조회" leaves it, with the bank filter's code.
    void BBtnSearchClick();
    void bbtnDtlDataClick();
    void bbtnDelClick();
    const QList<FileInquiry::BookRow>& listed() const { return rows_; }
    const FileInquiry::FileView& shown() const { return view_; }

protected:
    // The detail page below the header panels; called once by the derived constructor.
    void buildDetail(QWidget* body);
    virtual void clearDetail() = 0;
    virtual void showView(const FileInquiry::FileView& v) = 0;
    static QLabel* panel(QWidget* owner, const char* name, int width);
    static QTableWidget* grid(QWidget* owner, const char* name,
                              const QList<std::pair<const char16_t*, int>>& cols);
    static void fill(QTableWidget* g, const QList<QStringList>& rows);

    FileInquiry::FileView view_;

private:
    void pShowList(const QString& bank);
    FileInquiry::Kind kind_;
    QList<FileInquiry::BookRow> rows_;
};
