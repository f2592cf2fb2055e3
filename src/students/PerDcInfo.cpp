#include "students/PerDcInfo.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/ui/GridFit.h"
#include "platform/ui/Msg.h"
#include "platform/ui/RowMove.h"
#include "students/StudentStore.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString kMenu = QStringLiteral("학생명부면제등록");

QLabel* bluePanel(const QString& text, QWidget* owner) {
    auto* l = new QLabel(text, owner);
    l->setStyleSheet(QStringLiteral("background:#000080; color:white; padding:2px;"));
    l->setAlignment(Qt::AlignCenter);
    return l;
}

QLabel* valuePanel(QWidget* owner) {
    auto* l = new QLabel(owner);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(90);
    return l;
}

} // namespace

TFrmPerDcInfo::TFrmPerDcInfo(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("항목별 면제등록 정보"));
    auto* top = new QVBoxLayout(this);
    top->addWidget(new QLabel(QStringLiteral("본 기능은 선택되어 있는 학생의 항목별 면제등록 여부를 한\r\n화면에 "
                                             "나타내 주고 등록/수정을 할 수 있게 구성되었습니다."),
                              this));
    auto* who = new QHBoxLayout;
    CustNoView = valuePanel(this);
    SNoView = valuePanel(this);
    NameView = valuePanel(this);
    who->addWidget(bluePanel(QStringLiteral("학생코드"), this));
    who->addWidget(CustNoView);
    who->addWidget(bluePanel(QStringLiteral("학번"), this));
    who->addWidget(SNoView);
    who->addWidget(bluePanel(QStringLiteral("성명"), this));
    who->addWidget(NameView);
    top->addLayout(who);

    DCPriceItemGrid = new QTableWidget(0, 3, this);
    DCPriceItemGrid->setObjectName(QStringLiteral("DCPriceItemGrid"));
    DCPriceItemGrid->setHorizontalHeaderLabels(
        {QStringLiteral("수납항목명"), QStringLiteral("면제구분"), QStringLiteral("면제금액")});
    DCPriceItemGrid->setColumnWidth(0, 220);
    DCPriceItemGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    DCPriceItemGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DCPriceItemGrid->verticalHeader()->setDefaultSectionSize(20);
    DCPriceItemGrid->setMinimumHeight(200);
    top->addWidget(DCPriceItemGrid, 1);

    auto* edit = new QGridLayout;
    CBDCItems = new QComboBox(this);
    CBDCItems->setObjectName(QStringLiteral("CBDCItems"));
    EDCPrice = new QLineEdit(this);
    EDCPrice->setObjectName(QStringLiteral("EDCPrice"));
    RBAfree = new QRadioButton(QStringLiteral("전액면제"), this);
    RBPfree = new QRadioButton(QStringLiteral("부분면제"), this);
    RBAfree->setChecked(true);
    Cfree = new QCheckBox(QStringLiteral("면제항목해제"), this);
    edit->addWidget(new QLabel(QStringLiteral("면제항목"), this), 0, 0);
    edit->addWidget(CBDCItems, 0, 1, 1, 2);
    edit->addWidget(new QLabel(QStringLiteral("면제금액"), this), 1, 0);
    edit->addWidget(EDCPrice, 1, 1);
    edit->addWidget(Cfree, 1, 2);
    edit->addWidget(RBAfree, 2, 1);
    edit->addWidget(RBPfree, 2, 2);
    top->addLayout(edit);
    auto* buttons = new QHBoxLayout;
    SaveBtn = new QPushButton(QStringLiteral("저장"), this);
    CloseBtn = new QPushButton(QStringLiteral("닫기"), this);
    buttons->addStretch();
    buttons->addWidget(SaveBtn);
    buttons->addWidget(CloseBtn);
    top->addLayout(buttons);

    connect(CBDCItems, &QComboBox::activated, this, [this](int) { CBDCItemsChange(); });
    connect(DCPriceItemGrid, &QTableWidget::cellClicked, this, [this](int row, int) { DCPriceItemGridClick(row); });
    RowMove::follow(DCPriceItemGrid, [this](int row) { DCPriceItemGridClick(row); });
    connect(Cfree, &QCheckBox::clicked, this, &TFrmPerDcInfo::CfreeClick);
    connect(SaveBtn, &QPushButton::clicked, this, &TFrmPerDcInfo::SaveBtnClick);
    connect(CloseBtn, &QPushButton::clicked, this, &QDialog::reject);
    CustNoView->setText(SelCustNo);
    FormCreate();
    resize(520, 460);
}

QString TFrmPerDcInfo::sExempAmt(const QString& custNo, const QString& itemCd) {
    QString error;
    const std::optional<ExempRow> r = ExempStore::find(custNo, itemCd, &error);
    if (!error.isEmpty()) Msg::error(QStringLiteral("오류"), error);
    return r && r->hasAmount ? QString::number(r->amount) : QString();
}

void TFrmPerDcInfo::FormCreate() {
    items_ = ExempStore::items();
    CBDCItems->clear();
    CboItemT.clear();
    CBDCItems->addItem(QStringLiteral("면제항목선택"));
    CboItemT << QStringLiteral("00");
    for (const ExempItem& i : items_) {
        CBDCItems->addItem(i.label);
        CboItemT << i.itemCd;
    }
    CBDCItems->setCurrentIndex(0);
    fillGrid();
    CBDCItemsChange();
}

void TFrmPerDcInfo::fillGrid() {
    QStringList all;
    const int n = DMData->LoadItemList(all);
    DCPriceItemGrid->clearContents();
    DCPriceItemGrid->setRowCount(std::max(1, n));
    int row = 0;
    const QString custNo = SelCustNo.trimmed();
    for (int i = 1; i < CboItemT.size() && row < DCPriceItemGrid->rowCount(); ++i) {
        // Rows without an amount are not shown.
        const QString amount = sExempAmt(custNo, CboItemT.at(i));
        if (amount.isEmpty()) continue;
        const std::optional<ExempRow> e = ExempStore::find(custNo, CboItemT.at(i));
        const QStringList cells{CBDCItems->itemText(i), e ? e->kindText() : QString(), amount};
        for (int c = 0; c < 2; ++c)
            DCPriceItemGrid->setItem(row, c, new QTableWidgetItem(cells.at(c)));
        DCPriceItemGrid->setItem(row, 2, GridFit::figureItem(cells.at(2)));
        ++row;
    }
    GridFit::widenToContents(DCPriceItemGrid);
}

void TFrmPerDcInfo::CBDCItemsChange() {
    const int at = CBDCItems->currentIndex();
    const QString code = at > 0 && at < CboItemT.size() ? CboItemT.at(at) : QStringLiteral("00");
    EDCPrice->setText(code == QLatin1String("00") ? QStringLiteral("0") : QString::number(DMData->GetItemAmt(code)));
    RBAfree->setChecked(true);
    const std::optional<ExempRow> row = code == QLatin1String("00")
                                            ? std::nullopt
                                            : ExempStore::find(CustNoView->text().trimmed(), code);
    Cfree->setChecked(false);
    Cfree->setVisible(row.has_value());
    Cfree->setEnabled(row.has_value());
    if (row) (row->full() ? RBAfree : RBPfree)->setChecked(true);
    CfreeClick();
}

void TFrmPerDcInfo::DCPriceItemGridClick(int row) {
    const auto* it = DCPriceItemGrid->item(row, 0);
    if (!it || it->text().isEmpty()) return;
    const int at = CBDCItems->findText(it->text());
    if (at < 0) return;
    CBDCItems->setCurrentIndex(at);
    CBDCItemsChange();
}

void TFrmPerDcInfo::CfreeClick() {
    const bool on = Cfree->isChecked();
    RBAfree->setEnabled(!on);
    RBPfree->setEnabled(!on);
    EDCPrice->setEnabled(!on);
}

void TFrmPerDcInfo::SaveBtnClick() {
    if (CBDCItems->currentIndex() <= 0) {
        Msg::show(StudentStore::plainCaption(), QStringLiteral("면제항목을 선택하세요."), MsgIcon::None,
                  MsgButtons::Ok, this);
        return;
    }
    const QString custNo = SelCustNo.trimmed();
    const QString itemCd = CboItemT.value(CBDCItems->currentIndex());
    const bool full = RBAfree->isChecked();
    const QString who = QStringLiteral("학번 : ") + SNoView->text() + QStringLiteral(", 성명 : ") + NameView->text() +
                        QStringLiteral(", 면제항목 : ") + CBDCItems->currentText();
    ExempResult r;
    if (!Cfree->isHidden() && Cfree->isChecked()) {
        r = ExempStore::release(custNo, itemCd, kMenu, QStringLiteral("[면제항목 해제] ") + who);
    } else {
        const QString tail = QStringLiteral(" ") + ExempStore::kindText(full);
        r = ExempStore::save(ExempSave{custNo, itemCd, EDCPrice->text(), full}, kMenu, [&](bool inserted) {
            return (inserted ? QStringLiteral("[면제항목 등록] ") : QStringLiteral("[면제항목 수정] ")) + who + tail;
        });
    }
    if (!r.ok) {
        Msg::error(r.caption, r.text, this);
        EDCPrice->setFocus();
        return;
    }
    FormCreate();
}
