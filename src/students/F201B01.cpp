#include "students/F201B01.h"

#include "data/DMModule.h"
#include "platform/ui/Cp949Validator.h"
#include "platform/ui/Msg.h"
#include "students/F201B00.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

int FindRow = 0;

namespace {

// Compared grid cell of each search kind: number, name, account.
const int kCellOf[] = {0, 1, 4};

bool byNumber(const QComboBox* c) {
    return c->currentIndex() == 0;
}

} // namespace

TFrmF201B01::TFrmF201B01(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("찾기"));
    auto* g = new QGridLayout(this);
    CbSelect = new QComboBox(this);
    CbSelect->addItems({QStringLiteral("1.학번"), QStringLiteral("2.성명"), QStringLiteral("3.계좌번호")});
    EdtSearchNm = new QLineEdit(this);
    EdtSearchNm->setObjectName(QStringLiteral("EdtSearchNm"));
    rdobtnDown = new QRadioButton(QStringLiteral("아래로"), this);
    rdobtnUp = new QRadioButton(QStringLiteral("위로"), this);
    rdobtnDown->setChecked(true);
    BBtnSearch = new QPushButton(QStringLiteral("찾기"), this);
    BBtnClose = new QPushButton(QStringLiteral("닫기"), this);
    g->addWidget(CbSelect, 0, 0);
    g->addWidget(EdtSearchNm, 0, 1);
    g->addWidget(rdobtnDown, 1, 0);
    g->addWidget(rdobtnUp, 1, 1);
    g->addWidget(BBtnSearch, 2, 0);
    g->addWidget(BBtnClose, 2, 1);
    connect(CbSelect, &QComboBox::activated, this, [this](int) { CbSelectChange(); });
    connect(EdtSearchNm, &QLineEdit::editingFinished, this, &TFrmF201B01::EdtSearchNmExit);
    connect(BBtnSearch, &QPushButton::clicked, this, &TFrmF201B01::BBtnSearchClick);
    connect(BBtnClose, &QPushButton::clicked, this, &TFrmF201B01::BBtnCloseClick);
    EdtSearchNm->installEventFilter(this);
    FormCreate();
}

void TFrmF201B01::FormCreate() {
    CbSelect->setCurrentIndex(0);
    EdtSearchNm->setInputMask(SNoLen == 5 ? QStringLiteral("0-00-00; ") : QStringLiteral("0-00-000; "));
    FindRow = FrmF201B00 ? FrmF201B00->gridRow() - 1 : 0;
}

void TFrmF201B01::CbSelectChange() {
    if (FrmF201B00) FrmF201B00->setGridRow(1);
    EdtSearchNm->clear();
    if (byNumber(CbSelect)) {
        EdtSearchNm->setValidator(nullptr);
        EdtSearchNm->setInputMask(SNoLen == 5 ? QStringLiteral("0-00-00; ") : QStringLiteral("0-00-000; "));
    } else {
        EdtSearchNm->setInputMask(QString());
        Cp949Validator::limit(EdtSearchNm, CbSelect->currentIndex() == 1 ? 8 : 15,
                              CbSelect->currentIndex() == 2);
    }
    EdtSearchNm->setFocus();
}

QString TFrmF201B01::searchText() const {
    if (!byNumber(CbSelect)) return EdtSearchNm->text();
    QString t = EdtSearchNm->displayText();
    t.remove(QLatin1Char('-'));
    return t;
}

void TFrmF201B01::EdtSearchNmExit() {
    if (!byNumber(CbSelect)) return;
    const QString t = searchText();
    if (t.trimmed().isEmpty()) return;
    EdtSearchNm->setText(NormSNo(SNoLen, t));
}

int TFrmF201B01::findRow(int rowCount, const std::function<QString(int)>& cellOf, const QString& text,
                         bool byName, bool down) {
    const auto matches = [&](int row) {
        const QString c = cellOf(row);
        return byName ? c.trimmed() == text.trimmed() : c == text;
    };
    if (down) {
        for (int r = FindRow + 1; r < rowCount; ++r) {
            FindRow = r;
            if (matches(r)) return r;
        }
    } else {
        if (FindRow == 0) FindRow = 1;
        for (int r = FindRow - 1; r >= 1; --r) {
            FindRow = r;
            if (matches(r)) return r;
        }
    }
    if (Msg::show(QStringLiteral("찾기"), QStringLiteral("자료의 끝입니다!\r처음부터 다시 검색하시겠습니까?"),
                  MsgIcon::Information, MsgButtons::OkCancel) == MsgResult::Ok)
        FindRow = down ? 0 : rowCount;
    return -1;
}

void TFrmF201B01::BBtnSearchClick() {
    if (!FrmF201B00) return;
    EdtSearchNmExit();
    TFrmF201B00* roster = FrmF201B00;
    const int col = kCellOf[std::clamp(CbSelect->currentIndex(), 0, 2)];
    const QString text = byNumber(CbSelect) ? searchText().trimmed() : EdtSearchNm->text();
    const int row = findRow(
        roster->gridRowCount(), [roster, col](int r) { return roster->gridCell(col, r); }, text,
        CbSelect->currentIndex() == 1, rdobtnDown->isChecked());
    if (row > 0) {
        roster->setGridRow(row);
        // The found student is loaded as if his row were clicked.
        roster->SGrdMCustClick();
    }
}

void TFrmF201B01::BBtnCloseClick() {
    done(2);
}

bool TFrmF201B01::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EdtSearchNm && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            BBtnSearchClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
