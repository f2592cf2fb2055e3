#include "basic/F102B00.h"

#include "basic/BasicActions.h"
#include "platform/ui/FormRegistry.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const FormRegistrar registrar(FormEntry{QStringLiteral("F102B00"), QStringLiteral("학년등록"),
                                        FormEntry::Mode::Dialog,
                                        [](QWidget* parent) -> QWidget* { return new TFrmF102B00(parent); }});
} // namespace

TFrmF102B00::TFrmF102B00(QWidget* parent) : BasicDialog(parent) {
    setWindowTitle(QStringLiteral("학년등록"));
    EdtSCd = new QLineEdit(this);
    EdtSCd->setObjectName(QStringLiteral("EdtSCd"));
    EdtSCd->setMaxLength(1);
    EdtSCdNm = new QLineEdit(this);
    EdtSCdNm->setObjectName(QStringLiteral("EdtSCdNm"));
    EdtSCdNm->setMaxLength(10);
    CbCompyNm = new QComboBox(this);
    CbCompyNm->setObjectName(QStringLiteral("CbCompyNm"));
    CbCompyNm->addItems(GradeStore::kinds());
    CbCompyNm->setCurrentIndex(-1);
    SGrdSCd = new QTableWidget(this);
    SGrdSCd->setObjectName(QStringLiteral("SGrdSCd"));
    BBtnAdd = new QPushButton(QStringLiteral("신규"), this);
    BBtnUpdt = new QPushButton(QStringLiteral("저장"), this);
    BBtnDel = new QPushButton(QStringLiteral("삭제"), this);
    BBtnClose = new QPushButton(QStringLiteral("닫기"), this);
    for (QPushButton* b : {BBtnAdd, BBtnUpdt, BBtnDel, BBtnClose})
        b->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("학년코드"), EdtSCd);
    form->addRow(QStringLiteral("학년명"), EdtSCdNm);
    form->addRow(QStringLiteral("학교구분"), CbCompyNm);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {BBtnAdd, BBtnUpdt, BBtnDel, BBtnClose})
        buttons->addWidget(b);
    auto* top = new QVBoxLayout(this);
    top->addWidget(SGrdSCd);
    top->addLayout(form);
    top->addLayout(buttons);
    resize(380, 420);

    connect(SGrdSCd, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { SGrdSCdDblClick(row); });
    connect(BBtnAdd, &QPushButton::clicked, this, &TFrmF102B00::BBtnAddClick);
    connect(BBtnUpdt, &QPushButton::clicked, this, &TFrmF102B00::BBtnUpdtClick);
    connect(BBtnDel, &QPushButton::clicked, this, &TFrmF102B00::BBtnDelClick);
    connect(BBtnClose, &QPushButton::clicked, this, &TFrmF102B00::BBtnCloseClick);
    FormCreate();
}

void TFrmF102B00::FormCreate() {
    setUpGrid(SGrdSCd, {QStringLiteral("코드"), QStringLiteral("학년명"), QStringLiteral("학교구분")},
              {50, 120, 120});
    LoadGrid();
}

void TFrmF102B00::LoadGrid() {
    QList<QStringList> rows;
    for (const GradeRow& g : GradeStore::rows())
        rows << QStringList{g.code, g.name, g.kind};
    fillGrid(SGrdSCd, rows);
}

void TFrmF102B00::SGrdSCdDblClick(int row) {
    auto cell = [this, row](int c) {
        const QTableWidgetItem* it = SGrdSCd->item(row, c);
        return it ? it->text() : QString();
    };
    EdtSCd->setText(cell(0));
    EdtSCdNm->setText(cell(1));
    CbCompyNm->setCurrentIndex(CbCompyNm->findText(cell(2)));
}

void TFrmF102B00::BBtnAddClick() {
    EdtSCd->clear();
    EdtSCdNm->clear();
    CbCompyNm->setCurrentIndex(-1);
}

void TFrmF102B00::BBtnUpdtClick() {
    const ActionResult r =
        GradeActions::save(GradeRow{EdtSCd->text(), EdtSCdNm->text(), CbCompyNm->currentText()}, this);
    if (r.focus == GradeStore::FieldCode)
        EdtSCd->setFocus();
    else if (r.focus == GradeStore::FieldName)
        EdtSCdNm->setFocus();
    else if (r.focus == GradeStore::FieldKind)
        CbCompyNm->setFocus();
    if (r.done) LoadGrid();
}

void TFrmF102B00::BBtnDelClick() {
    if (GradeActions::remove(EdtSCd->text(), this).done) LoadGrid();
}

void TFrmF102B00::BBtnCloseClick() {
    reject();
}
