#include "reports/P112B00.h"

#include "platform/ui/FormRegistry.h"
#include "platform/ui/GridFit.h"
#include "reports/DaySum.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TFrmP112B00* FrmP112B00 = nullptr;

namespace {

const FormRegistrar registrar(FormEntry{QStringLiteral("P112B00"), QStringLiteral("수입일계표"),
                                        FormEntry::Mode::WorkWindow,
                                        [](QWidget* parent) -> QWidget* { return new TFrmP112B00(parent); }});

} // namespace

TFrmP112B00::TFrmP112B00(QWidget* parent) : QWidget(parent) {
    FrmP112B00 = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("수입일계표"));
    auto* top = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    medtDateShft = new QLineEdit(this);
    medtDateShft->setInputMask(QStringLiteral("9999-99-99;_"));
    medtDateShft->setMaximumWidth(110);
    bbtnSearch = new QPushButton(QStringLiteral("조회"), this);
    bbtnPrint = new QPushButton(QStringLiteral("인쇄"), this);
    bbtnClose = new QPushButton(QStringLiteral("닫기"), this);
    bar->addWidget(new QLabel(QStringLiteral("이체일자"), this));
    bar->addWidget(medtDateShft);
    bar->addStretch();
    for (QPushButton* b : {bbtnSearch, bbtnPrint, bbtnClose})
        bar->addWidget(b);
    top->addLayout(bar);

    SGrdDateShft = new QTableWidget(1, 6, this);
    SGrdDateShft->setHorizontalHeaderLabels({QStringLiteral("항목코드"), QStringLiteral("항목명"),
                                             QStringLiteral("관"), QStringLiteral("항"), QStringLiteral("목"),
                                             QStringLiteral("금액")});
    const int widths[] = {80, 100, 100, 100, 100, 80};
    for (int i = 0; i < 6; ++i)
        SGrdDateShft->setColumnWidth(i, widths[i]);
    SGrdDateShft->setSelectionBehavior(QAbstractItemView::SelectRows);
    SGrdDateShft->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGrdDateShft->verticalHeader()->setDefaultSectionSize(20);
    top->addWidget(SGrdDateShft, 1);

    auto* foot = new QHBoxLayout;
    pnlTotCnt = new QLabel(QStringLiteral("0"), this);
    pnlTotAmt = new QLabel(QStringLiteral("0"), this);
    foot->addWidget(new QLabel(QStringLiteral("총건수"), this));
    foot->addWidget(pnlTotCnt);
    foot->addWidget(new QLabel(QStringLiteral("총금액"), this));
    foot->addWidget(pnlTotAmt);
    foot->addStretch();
    top->addLayout(foot);

    connect(bbtnSearch, &QPushButton::clicked, this, &TFrmP112B00::bbtnSearchClick);
    connect(bbtnPrint, &QPushButton::clicked, this, &TFrmP112B00::bbtnPrintClick);
    connect(bbtnClose, &QPushButton::clicked, this, &QWidget::close);
}

TFrmP112B00::~TFrmP112B00() {
    if (FrmP112B00 == this) FrmP112B00 = nullptr;
}

QString TFrmP112B00::dateText() const {
    QString t = medtDateShft->text();
    t.remove(QLatin1Char('-'));
    return t.trimmed();
}

void TFrmP112B00::clearGrid() {
    SGrdDateShft->clearContents();
    SGrdDateShft->setRowCount(1);
    pnlTotCnt->setText(QStringLiteral("0"));
    pnlTotAmt->setText(QStringLiteral("0"));
}

void TFrmP112B00::bbtnSearchClick() {
    clearGrid();
    ReportSelection s;
    s.extra.insert(QStringLiteral("date"), dateText());
    const ReportListing l = DaySum::list(s);
    if (l.box) {
        l.box->show(this);
        return;
    }
    SGrdDateShft->setRowCount(int(l.rows.size()));
    for (int r = 0; r < l.rows.size(); ++r)
        for (int c = 0; c < 6; ++c) {
            // The amount comes as printed ("%15.0n"): shown without its blanks.
            const QString v = l.rows.at(r).value(c);
            SGrdDateShft->setItem(r, c, c == 5 ? GridFit::figureItem(v) : new QTableWidgetItem(v));
        }
    GridFit::widenToRows(SGrdDateShft, l.rows, {5});
    pnlTotCnt->setText(ReportSelect::amount(l.count, 0));
    pnlTotAmt->setText(ReportSelect::amount(l.total, 0));
}

void TFrmP112B00::bbtnPrintClick() {
    const QTableWidgetItem* first = SGrdDateShft->item(0, 0);
    if (!first || first->text().isEmpty()) return;
    QList<QStringList> rows;
    for (int r = 0; r < SGrdDateShft->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < 6; ++c) {
            const QTableWidgetItem* it = SGrdDateShft->item(r, c);
            cells << (it ? it->text() : QString());
        }
        rows << cells;
    }
    DaySum::printRows(rows, dateText()).preview(this);
}

void TFrmP112B00::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        focusNextChild();
        return;
    }
    QWidget::keyPressEvent(e);
}
