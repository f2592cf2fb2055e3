#include "basic/F105B00.h"

#include "basic/BasicActions.h"
#include "data/DMMain.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/RowMove.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const FormRegistrar registrar(FormEntry{QStringLiteral("F105B00"), QStringLiteral("항목그룹등록"),
                                        FormEntry::Mode::Dialog,
                                        [](QWidget* parent) -> QWidget* { return new TFrmF105B00(parent); }});

const QString kSave = QStringLiteral("저장");
const QString kDelete = QStringLiteral("삭제");
} // namespace

TFrmF105B00::TFrmF105B00(QWidget* parent) : BasicDialog(parent) {
    setWindowTitle(QStringLiteral("항목그룹등록"));
    EditGCode = new QLineEdit(this);
    EditGCode->setObjectName(QStringLiteral("EditGCode"));
    EditGCode->setEnabled(false); // a group's code never changes
    EditGName = new QLineEdit(this);
    EditGName->setObjectName(QStringLiteral("EditGName"));
    EditGName->setMaxLength(40);
    EditGText = new QLineEdit(this);
    EditGText->setObjectName(QStringLiteral("EditGText"));
    EditGText->setMaxLength(240);
    NCode = new QLineEdit(this);
    NCode->setObjectName(QStringLiteral("NCode"));
    NCode->setVisible(false);
    SGridGroup = new QTableWidget(this);
    SGridGroup->setObjectName(QStringLiteral("SGridGroup"));
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    BTGNew = new QPushButton(QStringLiteral("신규"), this);
    BTGEdit = new QPushButton(QStringLiteral("수정"), this);
    BTGSave = new QPushButton(kSave, this);
    BTGOK = new QPushButton(QStringLiteral("닫기"), this);
    for (QPushButton* b : {BTGNew, BTGEdit, BTGSave, BTGOK})
        b->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("그룹코드"), EditGCode);
    form->addRow(QStringLiteral("그룹명"), EditGName);
    form->addRow(QStringLiteral("설명"), EditGText);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {BTGNew, BTGEdit, BTGSave, BTGOK})
        buttons->addWidget(b);
    auto* top = new QVBoxLayout(this);
    top->addWidget(SGridGroup);
    top->addLayout(form);
    top->addWidget(Label4);
    top->addLayout(buttons);
    resize(480, 420);

    connect(SGridGroup, &QTableWidget::cellClicked, this, [this](int row, int) { SGridGroupClick(row); });
    RowMove::follow(SGridGroup, [this](int row) { SGridGroupClick(row); });
    connect(BTGNew, &QPushButton::clicked, this, &TFrmF105B00::BTGNewClick);
    connect(BTGEdit, &QPushButton::clicked, this, &TFrmF105B00::BTGEditClick);
    connect(BTGSave, &QPushButton::clicked, this, &TFrmF105B00::BTGSaveClick);
    connect(BTGOK, &QPushButton::clicked, this, &TFrmF105B00::BTGOKClick);
    FormCreate();
}

void TFrmF105B00::FormCreate() {
    setUpGrid(SGridGroup, {QStringLiteral("그룹코드"), QStringLiteral("그룹명"), QStringLiteral("설명")},
              {70, 140, 220});
    LoadGrid();
}

void TFrmF105B00::LoadGrid() {
    QList<QStringList> rows;
    for (const GroupRow& g : GroupStore::rows())
        rows << QStringList{g.code, g.name, g.memo};
    fillGrid(SGridGroup, rows);
    NCode->setText(GroupStore::nextCode());
    EditGName->setEnabled(false);
    EditGText->setEnabled(false);
    BTGEdit->setEnabled(true);
    BTGNew->setEnabled(true);
    BTGSave->setEnabled(false);
    Label4->clear();
}

void TFrmF105B00::SGridGroupClick(int row) {
    auto cell = [this, row](int c) {
        const QTableWidgetItem* it = SGridGroup->item(row, c);
        return it ? it->text() : QString();
    };
    EditGCode->setText(cell(0));
    EditGName->setText(cell(1));
    EditGText->setText(cell(2));
    shownName_ = cell(1);
    EditGName->setEnabled(false);
    EditGText->setEnabled(false);
    BTGEdit->setEnabled(true);
    BTGNew->setEnabled(true);
    // A blank row (empty table) has nothing to delete.
    BTGSave->setEnabled(!cell(0).isEmpty());
    BTGSave->setText(kDelete);
}

void TFrmF105B00::BTGEditClick() {
    if (EditGCode->text().isEmpty()) return; // no group shown
    EditGName->setEnabled(true);
    EditGText->setEnabled(true);
    BTGSave->setText(kSave);
    BTGSave->setEnabled(true);
    BTGNew->setEnabled(false);
    Label4->setText(QStringLiteral("코드는 수정불가"));
    EditGName->setFocus();
}

void TFrmF105B00::BTGNewClick() {
    const auto code = GroupActions::newCode(this);
    if (!code) return;
    EditGName->clear();
    EditGText->clear();
    EditGName->setEnabled(true);
    EditGText->setEnabled(true);
    BTGSave->setText(kSave);
    BTGSave->setEnabled(true);
    BTGEdit->setEnabled(false);
    Label4->setText(QStringLiteral("코드는 수정불가"));
    EditGCode->setText(*code);
    shownName_.clear();
    EditGName->setFocus();
}

void TFrmF105B00::BTGSaveClick() {
    ActionResult r;
    if (BTGSave->text() == kSave) {
        r = GroupActions::save(GroupRow{EditGCode->text(), EditGName->text(), EditGText->text()}, shownName_,
                               this);
        if (r.focus == GroupStore::FieldName)
            EditGName->setFocus();
        else if (r.focus == GroupStore::FieldMemo)
            EditGText->setFocus();
        if (!r.done) return;
    } else {
        r = GroupActions::remove(EditGCode->text(), shownName_, this);
        if (!r.done) return;
    }
    LoadGrid();
}

void TFrmF105B00::BTGOKClick() {
    reject();
}

void TFrmF105B00::done(int r) {
    // Group combos elsewhere read the cached list.
    if (DMData) DMData->LoadGroups();
    BasicDialog::done(r);
}
