#include "basic/T204B00.h"

#include "basic/MarkGrid.h"
#include "basic/ToolActions.h"
#include "platform/ui/FormRegistry.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString kMark = QStringLiteral("◎");

const FormRegistrar g_reg(FormEntry{QStringLiteral("T204B00"), QStringLiteral("이체자료삭제"),
                                    FormEntry::Mode::WorkWindow,
                                    [](QWidget* parent) -> QWidget* { return new TFrmT204B00(parent); }});

} // namespace

TFrmT204B00::TFrmT204B00(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("FrmT204B00"));
    setWindowTitle(QStringLiteral("이체자료삭제"));
    SGrdShftDel = new QTableWidget(this);
    SGrdShftDel->setObjectName(QStringLiteral("SGrdShftDel"));
    SGrdShftDel->setColumnCount(4);
    SGrdShftDel->setHorizontalHeaderLabels(
        {QStringLiteral("이체년월"), QStringLiteral("회차"), QStringLiteral("파일명"), QStringLiteral("선택")});
    const int widths[4] = {60, 40, 130, 30};
    for (int c = 0; c < 4; ++c) SGrdShftDel->setColumnWidth(c, widths[c]);
    MarkGrid::setUp(SGrdShftDel, 3, kMark);
    BBtnDel = new QPushButton(QStringLiteral("삭    제"), this);
    BBtnClose = new QPushButton(QStringLiteral("닫    기"), this);
    auto* side = new QVBoxLayout;
    side->addWidget(BBtnDel);
    side->addStretch();
    side->addWidget(BBtnClose);
    auto* main = new QHBoxLayout(this);
    main->addWidget(SGrdShftDel, 1);
    main->addLayout(side);
    connect(BBtnDel, &QPushButton::clicked, this, &TFrmT204B00::BBtnDelClick);
    connect(BBtnClose, &QPushButton::clicked, this, &QWidget::close);
    FillList();
}

void TFrmT204B00::FillList() {
    const QList<BulkDelete::RoundRow> rows = BulkDelete::roundTables();
    SGrdShftDel->clearContents();
    SGrdShftDel->setRowCount(qMax(1, int(rows.size())));
    for (int i = 0; i < rows.size(); ++i) {
        SGrdShftDel->setItem(i, 0, new QTableWidgetItem(rows.at(i).yearMon));
        SGrdShftDel->setItem(i, 1, new QTableWidgetItem(rows.at(i).seqNo));
        SGrdShftDel->setItem(i, 2, new QTableWidgetItem(rows.at(i).name));
    }
}

void TFrmT204B00::BBtnDelClick() {
    const QTableWidgetItem* first = SGrdShftDel->item(0, 2);
    const bool listed = first && !first->text().isEmpty();
    ToolActions::deleteRounds(listed, MarkGrid::marked(SGrdShftDel, 3, 2), this);
    FillList();
}
