#include "basic/F104B00.h"

#include "basic/BasicActions.h"
#include "basic/F105B00.h"
#include "data/DMMain.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Modal.h"
#include "platform/ui/RowMove.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const FormRegistrar registrar(FormEntry{QStringLiteral("F104B00"), QStringLiteral("항목등록"),
                                        FormEntry::Mode::Dialog,
                                        [](QWidget* parent) -> QWidget* { return new TFrmF104B00(parent); }});

const QString kEdit = QStringLiteral("수정");
const QString kSave = QStringLiteral("저장");

QString codeOf(const QComboBox* c) {
    return c->currentText().left(2);
}
} // namespace

TFrmF104B00::TFrmF104B00(QWidget* parent) : BasicDialog(parent) {
    setWindowTitle(QStringLiteral("항목등록"));
    auto edit = [this](const char* name, int maxLength) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        if (maxLength > 0) e->setMaxLength(maxLength);
        return e;
    };
    cboGroup = new QComboBox(this);
    cboGroup->setObjectName(QStringLiteral("cboGroup"));
    cboItemGroup = new QComboBox(this);
    cboItemGroup->setObjectName(QStringLiteral("cboItemGroup"));
    EdtItemCd = edit("EdtItemCd", 2);
    EdtItemNm = edit("EdtItemNm", 10);
    EdtItemAmt = edit("EdtItemAmt", 10);
    edtKwan = edit("edtKwan", 10);
    edtHang = edit("edtHang", 10);
    edtMok = edit("edtMok", 10);
    eItemID = edit("eItemID", 2);
    eItemID->setVisible(false);
    eItemID->setText(ItemStore::kPlaceholder);
    // The certificate choice is kept hidden: items stay "비대상" unless
    // changed elsewhere.
    lblEdu = new QLabel(QStringLiteral("교육비납입증명서"), this);
    RdoBtn1 = new QRadioButton(QStringLiteral("대상"), this);
    RdoBtn1->setObjectName(QStringLiteral("RdoBtn1"));
    RdoBtn2 = new QRadioButton(QStringLiteral("비대상"), this);
    RdoBtn2->setObjectName(QStringLiteral("RdoBtn2"));
    RdoBtn2->setChecked(true);
    for (QWidget* w : std::initializer_list<QWidget*>{lblEdu, RdoBtn1, RdoBtn2})
        w->setVisible(false);
    SGrdItem = new QTableWidget(this);
    SGrdItem->setObjectName(QStringLiteral("SGrdItem"));
    BBtnAdd = new QPushButton(QStringLiteral("신규"), this);
    BBtnUpdt = new QPushButton(kEdit, this);
    BBtnDel = new QPushButton(QStringLiteral("삭제"), this);
    BBtnClose = new QPushButton(QStringLiteral("닫기"), this);
    bt_gedit = new QPushButton(QStringLiteral("그룹편집"), this);
    for (QPushButton* b : {BBtnAdd, BBtnUpdt, BBtnDel, BBtnClose, bt_gedit})
        b->setAutoDefault(false);

    auto* head = new QHBoxLayout;
    head->addWidget(new QLabel(QStringLiteral("항목그룹"), this));
    head->addWidget(cboGroup, 1);
    head->addWidget(bt_gedit);
    auto* grid = new QGridLayout;
    int r = 0;
    auto row = [&](const QString& label, QWidget* w) {
        grid->addWidget(new QLabel(label, this), r, 0);
        grid->addWidget(w, r++, 1);
    };
    row(QStringLiteral("항목그룹"), cboItemGroup);
    row(QStringLiteral("항목코드"), EdtItemCd);
    row(QStringLiteral("항목명"), EdtItemNm);
    row(QStringLiteral("금액"), EdtItemAmt);
    row(QStringLiteral("관"), edtKwan);
    row(QStringLiteral("항"), edtHang);
    row(QStringLiteral("목"), edtMok);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {BBtnAdd, BBtnUpdt, BBtnDel, BBtnClose})
        buttons->addWidget(b);
    auto* top = new QVBoxLayout(this);
    top->addLayout(head);
    top->addWidget(SGrdItem);
    top->addLayout(grid);
    top->addLayout(buttons);
    resize(420, 560);

    connect(SGrdItem, &QTableWidget::cellClicked, this, [this](int row, int) { SGrdItemClick(row); });
    RowMove::follow(SGrdItem, [this](int row) { SGrdItemClick(row); });
    // Only the user's choice counts as a change: code that selects a group
    // must not propose a new item code.
    connect(cboGroup, &QComboBox::activated, this, &TFrmF104B00::cboGroupChange);
    connect(cboItemGroup, &QComboBox::activated, this, &TFrmF104B00::cboItemGroupChange);
    connect(EdtItemCd, &QLineEdit::editingFinished, this, &TFrmF104B00::EdtItemCdExit);
    connect(EdtItemNm, &QLineEdit::textEdited, this, &TFrmF104B00::EdtItemNmChange);
    connect(BBtnAdd, &QPushButton::clicked, this, &TFrmF104B00::BBtnAddClick);
    connect(BBtnUpdt, &QPushButton::clicked, this, &TFrmF104B00::BBtnUpdtClick);
    connect(BBtnDel, &QPushButton::clicked, this, &TFrmF104B00::BBtnDelClick);
    connect(BBtnClose, &QPushButton::clicked, this, &TFrmF104B00::BBtnCloseClick);
    connect(bt_gedit, &QPushButton::clicked, this, &TFrmF104B00::bt_geditClick);
    FormCreate();
}

void TFrmF104B00::FormCreate() {
    setUpGrid(SGrdItem,
              {QStringLiteral("코드"), QStringLiteral("항목명"), QStringLiteral("금액"),
               QStringLiteral("항목그룹"), QStringLiteral("관"), QStringLiteral("항"), QStringLiteral("목"),
               QStringLiteral("교육비"), QStringLiteral("ItemCd")},
              {40, 90, 90, 110});
    for (int c = ColKwan; c < ColCount; ++c)
        SGrdItem->setColumnHidden(c, true);
    FillGroups();
    LoadGrid();
    SetLocked(true);
}

void TFrmF104B00::FillGroups() {
    cboGroup->clear();
    cboItemGroup->clear();
    DMData->FillGroupCombo(cboGroup, QString());
    cboItemGroup->addItems(DMData->GroupTexts());
    cboGroup->setCurrentIndex(cboGroup->count() > 0 ? 0 : -1);
}

QString TFrmF104B00::cell(int row, int col) const {
    const QTableWidgetItem* it = SGrdItem->item(row, col);
    return it ? it->text() : QString();
}

void TFrmF104B00::LoadGrid() {
    const QString gcode = codeOf(cboGroup);
    // The shared item query follows the listed group; closing reloads the
    // cached item lists from it.
    DMData->ItemQry.SQL = QStringLiteral("SELECT * FROM C_ITEM WHERE Gcode = ? ORDER BY ItemID ASC");
    DMData->ItemQry.Params = {gcode};
    const QLocale en(QLocale::English);
    QList<QStringList> rows;
    for (const ItemRow& i : ItemStore::rowsOfGroup(gcode))
        rows << QStringList{
            i.itemId,  i.name,  en.toString(i.amount), cboGroup->currentText(), i.kwan, i.hang, i.name,
            i.eduType, i.itemCd};
    fillGrid(SGrdItem, rows, {ColAmt});
    cboItemGroup->setCurrentIndex(cboItemGroup->findText(cboGroup->currentText()));
}

void TFrmF104B00::SetLocked(bool locked) {
    for (QLineEdit* e : {EdtItemCd, EdtItemNm, EdtItemAmt, edtKwan, edtHang, edtMok})
        e->setReadOnly(locked);
    edtMok->setReadOnly(true);
    cboItemGroup->setEnabled(!locked);
    RdoBtn1->setEnabled(!locked);
    RdoBtn2->setEnabled(!locked);
    if (locked) {
        BBtnUpdt->setText(kEdit);
        BBtnUpdt->setEnabled(false);
    } else {
        BBtnUpdt->setText(kSave);
        BBtnUpdt->setEnabled(true);
    }
}

void TFrmF104B00::ClearInputs() {
    for (QLineEdit* e : {EdtItemCd, EdtItemNm, EdtItemAmt, edtKwan, edtHang, edtMok})
        e->clear();
    RdoBtn2->setChecked(true);
    eItemID->setText(ItemStore::kPlaceholder);
    shownItemId_.clear();
}

void TFrmF104B00::SGrdItemClick(int row) {
    if (cell(row, ColItemCd).isEmpty()) return; // the blank row of an empty group
    EdtItemCd->setText(cell(row, ColId));
    EdtItemNm->setText(cell(row, ColName));
    EdtItemAmt->setText(cell(row, ColAmt));
    edtKwan->setText(cell(row, ColKwan));
    edtHang->setText(cell(row, ColHang));
    edtMok->setText(cell(row, ColMok));
    eItemID->setText(cell(row, ColItemCd));
    (cell(row, ColEduType) == QLatin1String("1") ? RdoBtn1 : RdoBtn2)->setChecked(true);
    shownItemId_ = cell(row, ColId);
    int found = -1;
    for (int i = 0; i < cboItemGroup->count(); ++i)
        if (cboItemGroup->itemText(i).left(2) == cell(row, ColGroup).left(2)) found = i;
    cboItemGroup->setCurrentIndex(found);
    SetLocked(true);
    BBtnUpdt->setEnabled(found >= 0);
}

void TFrmF104B00::cboGroupChange() {
    LoadGrid();
    ClearInputs();
    SetLocked(true);
}

void TFrmF104B00::cboItemGroupChange() {
    EdtItemCd->setText(ItemStore::nextItemId(codeOf(cboItemGroup)));
}

void TFrmF104B00::EdtItemCdExit() {
    EdtItemCd->setText(ItemStore::normalizeItemId(EdtItemCd->text()));
}

void TFrmF104B00::EdtItemNmChange(const QString& text) {
    edtKwan->setText(text);
    edtHang->setText(text);
    edtMok->setText(text);
}

void TFrmF104B00::BBtnAddClick() {
    ClearInputs();
    cboItemGroup->setCurrentIndex(cboGroup->currentIndex());
    EdtItemCd->setText(ItemStore::nextItemId(codeOf(cboItemGroup)));
    SetLocked(false);
    EdtItemCd->setFocus();
}

void TFrmF104B00::BBtnUpdtClick() {
    if (BBtnUpdt->text() == kEdit) {
        SetLocked(false);
        EdtItemNm->setFocus();
        return;
    }
    ItemInput in;
    in.itemCd = eItemID->text();
    in.shownItemId = shownItemId_;
    in.itemId = EdtItemCd->text();
    in.name = EdtItemNm->text();
    in.amount = EdtItemAmt->text();
    in.kwan = edtKwan->text();
    in.hang = edtHang->text();
    in.gcode = codeOf(cboItemGroup);
    in.eduTarget = RdoBtn1->isChecked();
    const ActionResult r = ItemActions::save(in, this);
    switch (r.focus) {
    case ItemStore::FieldItemId:
        EdtItemCd->setFocus();
        break;
    case ItemStore::FieldName:
        EdtItemNm->setFocus();
        break;
    case ItemStore::FieldAmount:
        EdtItemAmt->setFocus();
        break;
    case ItemStore::FieldKwan:
        edtKwan->setFocus();
        break;
    case ItemStore::FieldHang:
        edtHang->setFocus();
        break;
    case ItemStore::FieldGroup:
        cboItemGroup->setFocus();
        break;
    default:
        break;
    }
    if (!r.done) return;
    LoadGrid();
    ClearInputs();
    SetLocked(true);
}

void TFrmF104B00::BBtnDelClick() {
    if (!ItemActions::remove(eItemID->text(), EdtItemCd->text(), this).done) return;
    LoadGrid();
    ClearInputs();
    SetLocked(true);
}

void TFrmF104B00::bt_geditClick() {
    auto* dlg = new TFrmF105B00(this);
    Modal::exec(dlg);
    delete dlg;
    FillGroups();
    LoadGrid();
    ClearInputs();
    SetLocked(true);
}

void TFrmF104B00::BBtnCloseClick() {
    reject();
}

void TFrmF104B00::done(int r) {
    // The cached item lists follow the last group listed here.
    if (DMData) DMData->ReloadItems();
    BasicDialog::done(r);
}
