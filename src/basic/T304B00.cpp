#include "basic/T304B00.h"

#include "basic/ToolActions.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Cp949Validator.h"
#include "platform/ui/FormRegistry.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const FormRegistrar g_reg(FormEntry{QStringLiteral("T304B00"), QStringLiteral("월별로그조회"),
                                    FormEntry::Mode::WorkWindow,
                                    [](QWidget* parent) -> QWidget* { return new TFrmT304B00(parent); }});

QComboBox* combo(QWidget* owner, const char* name) {
    auto* c = new QComboBox(owner);
    c->setObjectName(QString::fromLatin1(name));
    return c;
}

} // namespace

void FillLogGrid(QTableWidget* grid, const QList<JobLogView::LogRow>& rows, bool withSeq, bool formatted) {
    grid->clearContents();
    grid->setRowCount(qMax(1, int(rows.size())));
    for (int i = 0; i < rows.size(); ++i) {
        const JobLogView::LogRow& r = rows.at(i);
        QStringList cells{formatted ? JobLogView::dateText(r.logDate) : r.logDate,
                          formatted ? JobLogView::timeText(r.logTime) : r.logTime, r.menuName, r.jobLog};
        if (withSeq) cells.prepend(r.seq);
        for (int c = 0; c < cells.size(); ++c) grid->setItem(i, c, new QTableWidgetItem(cells.at(c)));
    }
}

TFrmT304B00::TFrmT304B00(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("FrmT304B00"));
    setWindowTitle(QStringLiteral("월별로그조회"));
    cboYearF = combo(this, "cboYearF");
    cboDayF = combo(this, "cboDayF");
    cboDayT = combo(this, "cboDayT");
    cboMenu = combo(this, "cboMenu");
    cboType = combo(this, "cboType");
    cboType->addItems({QStringLiteral("전체"), QStringLiteral("송신"), QStringLiteral("수신")});
    sleKey = new QLineEdit(this);
    sleKey->setObjectName(QStringLiteral("sleKey"));
    Cp949Validator::limit(sleKey, 8);
    cmdSearch = new QPushButton(QStringLiteral("조회"), this);
    cmdClose = new QPushButton(QStringLiteral("닫기"), this);
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("조회년월/일"), this));
    bar->addWidget(cboYearF);
    bar->addWidget(cboDayF);
    bar->addWidget(new QLabel(QStringLiteral("~"), this));
    bar->addWidget(cboDayT);
    bar->addWidget(new QLabel(QStringLiteral("메 뉴 명"), this));
    bar->addWidget(cboMenu);
    bar->addWidget(new QLabel(QStringLiteral("로그구분"), this));
    bar->addWidget(cboType);
    bar->addWidget(new QLabel(QStringLiteral("문자찾기"), this));
    bar->addWidget(sleKey);
    bar->addStretch();
    bar->addWidget(cmdSearch);
    bar->addWidget(cmdClose);

    vGrid = new QTableWidget(this);
    vGrid->setObjectName(QStringLiteral("vGrid"));
    vGrid->setColumnCount(5);
    vGrid->setHorizontalHeaderLabels({QStringLiteral("순번"), QStringLiteral("작업일"), QStringLiteral("작업시간"),
                                      QStringLiteral("메뉴명"), QStringLiteral("변경내용")});
    vGrid->setColumnHidden(0, true);
    const int widths[5] = {0, 80, 70, 120, 1000};
    for (int c = 1; c < 5; ++c) vGrid->setColumnWidth(c, widths[c]);
    vGrid->verticalHeader()->hide();
    vGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    vGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    vGrid->setRowCount(1);

    auto* main = new QVBoxLayout(this);
    main->addLayout(bar);
    main->addWidget(vGrid, 1);

    connect(cboYearF, &QComboBox::activated, this, [this] {
        cboYearFChange();
        cboDayF->setFocus();
    });
    connect(cboDayF, &QComboBox::activated, this, [this] {
        cboDayFChange();
        cboDayT->isEnabled() ? cboDayT->setFocus() : cboMenu->setFocus();
    });
    connect(cboDayT, &QComboBox::activated, this, [this] { cboMenu->setFocus(); });
    connect(cboMenu, &QComboBox::activated, this, [this] { cboType->setFocus(); });
    connect(cboType, &QComboBox::activated, this, [this] { sleKey->setFocus(); });
    connect(cmdSearch, &QPushButton::clicked, this, &TFrmT304B00::cmdSearchClick);
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    sleKey->installEventFilter(this);
    FillMonths();
}

bool TFrmT304B00::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sleKey && event->type() == QEvent::KeyPress) {
        const int k = static_cast<QKeyEvent*>(event)->key();
        if (k == Qt::Key_Return || k == Qt::Key_Enter) {
            cmdSearch->setFocus();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFrmT304B00::FillMonths() {
    cboYearF->clear();
    const QStringList months = JobLogView::months();
    if (months.isEmpty()) {
        ToolActions::noData(this);
        return;
    }
    cboYearF->addItems(months);
    cboYearF->setCurrentIndex(0);
    cboYearFChange();
}

void TFrmT304B00::cboYearFChange() {
    const QString month = cboYearF->currentText();
    cboDayF->clear();
    cboDayF->addItems(JobLogView::dayItems(month, Clock::today()));
    cboDayF->setCurrentIndex(0);
    cboDayFChange();
    cboMenu->clear();
    cboMenu->addItems(JobLogView::menus(month));
    cboMenu->setCurrentIndex(0);
}

void TFrmT304B00::cboDayFChange() {
    cboDayT->clear();
    if (cboDayF->currentIndex() <= 0) {
        cboDayT->setEnabled(false);
        return;
    }
    cboDayT->setEnabled(true);
    for (int i = cboDayF->currentIndex(); i < cboDayF->count(); ++i) cboDayT->addItem(cboDayF->itemText(i));
    cboDayT->setCurrentIndex(0);
}

JobLogView::MonthFilter TFrmT304B00::filter() const {
    JobLogView::MonthFilter f;
    f.month = cboYearF->currentText();
    f.dayFrom = cboDayF->currentText();
    f.dayTo = cboDayT->currentText();
    f.menu = cboMenu->currentText();
    f.kind = cboType->currentText();
    f.text = sleKey->text();
    return f;
}

void TFrmT304B00::cmdSearchClick() {
    if (cboYearF->currentText().isEmpty()) {
        ToolActions::noData(this);
        return;
    }
    if (const auto rows = ToolActions::searchMonth(filter(), this)) FillLogGrid(vGrid, *rows, true, true);
}
