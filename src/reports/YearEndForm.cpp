#include "reports/YearEndForm.h"

#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/ui/DatePicker.h"
#include "platform/ui/FileDialog.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

TYearEndForm::TYearEndForm(const QString& reportName, QWidget* parent)
    : TReportSelectForm(reportName, parent) {
    auto* top = qobject_cast<QVBoxLayout*>(layout());
    // The standard selection box stays hidden; the controls this window uses
    // are moved into its own panel.
    top->itemAt(0)->widget()->hide();
    panel = new QVBoxLayout;
    top->insertLayout(1, panel);
    // The group combos refill only their own lists.
    disconnect(cboGroup, &QComboBox::activated, this, nullptr);
    disconnect(bbtnSearch, &QPushButton::clicked, this, nullptr);
    connect(bbtnSearch, &QPushButton::clicked, this, &TYearEndForm::runSearch);
}

QListWidget* TYearEndForm::itemList(QWidget* parent, const QString& name) {
    auto* l = new QListWidget(parent);
    l->setObjectName(name);
    l->setMinimumWidth(110);
    l->setMaximumHeight(96);
    return l;
}

void TYearEndForm::fillItems(QListWidget* list, const QString& gcode) {
    const QSignalBlocker quiet(list);
    list->clear();
    if (gcode.isEmpty()) return;
    Query q(
        QStringLiteral("SELECT ItemID, ItemNm FROM C_ITEM WHERE Gcode = ? AND ItemNm <> '' ORDER BY ItemID"));
    q.add(gcode);
    if (!q.exec()) return;
    while (q.next()) {
        auto* it = new QListWidgetItem(q.str(0) + QLatin1Char('.') + q.str(1), list);
        it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
        it->setCheckState(Qt::Unchecked);
    }
}

QString TYearEndForm::checkedIds(const QListWidget* list) {
    QStringList ids;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->checkState() == Qt::Checked) ids << list->item(i)->text().left(2);
    return ids.join(QLatin1Char(','));
}

QDateEdit* TYearEndForm::dateEdit(QWidget* parent, const QString& name) {
    auto* d = new DatePicker(parent);
    d->setObjectName(name);
    return d;
}

QString TYearEndForm::dateDigits(const QDateEdit* e) {
    return e->date().toString(QStringLiteral("yyyyMMdd"));
}

void TYearEndForm::runSearch() {
    if (precheck) {
        if (const std::optional<YearEndTax::Refusal> r = precheck(selection())) {
            r->box.show(this);
            if (auto* w = findChild<QWidget*>(r->focus)) w->setFocus();
            return;
        }
    }
    search();
}

void TYearEndForm::exclusiveLists(const QList<QListWidget*>& lists, const QList<QPushButton*>& allButtons) {
    for (QListWidget* l : lists)
        connect(l, &QListWidget::itemChanged, this, [lists, l](QListWidgetItem* it) {
            if (it->checkState() != Qt::Checked) return;
            const int row = l->row(it);
            for (QListWidget* other : lists)
                if (other != l && other->item(row)) other->item(row)->setCheckState(Qt::Unchecked);
        });
    // One toggle for the group's All buttons: check the own list (and so
    // free those items in the others), then uncheck it, alternately.
    auto toggle = std::make_shared<bool>(true);
    for (int i = 0; i < allButtons.size() && i < lists.size(); ++i) {
        QListWidget* own = lists.at(i);
        connect(allButtons.at(i), &QPushButton::clicked, this, [own, toggle] {
            for (int r = 0; r < own->count(); ++r)
                own->item(r)->setCheckState(*toggle ? Qt::Checked : Qt::Unchecked);
            *toggle = !*toggle;
        });
    }
}

void TYearEndForm::ownToggle(QListWidget* list, QPushButton* all) {
    auto toggle = std::make_shared<bool>(true);
    connect(all, &QPushButton::clicked, this, [list, toggle] {
        for (int r = 0; r < list->count(); ++r)
            list->item(r)->setCheckState(*toggle ? Qt::Checked : Qt::Unchecked);
        *toggle = !*toggle;
    });
}

void TYearEndForm::setColumns(const QStringList& titles, const QList<int>& widths) {
    grid->setColumnCount(int(titles.size()));
    grid->setHorizontalHeaderLabels(titles);
    for (int c = 0; c < widths.size(); ++c)
        grid->setColumnWidth(c, widths.at(c) + 10);
}

void TYearEndForm::putYearOptions(ReportSelection& s, const QLineEdit* year, const QRadioButton* byDate,
                                  const QRadioButton* refundsLeft) {
    s.extra.insert(QStringLiteral("year"), year->text().trimmed());
    s.extra.insert(QStringLiteral("sort"), byDate->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    s.extra.insert(QStringLiteral("refund"),
                   refundsLeft->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

void TYearEndForm::exportBook(const QString& year, BookWriter write) {
    if (listing().rows.isEmpty()) {
        Msg::error(QStringLiteral("엑셀저장실패"), QStringLiteral("조회된 자료가 없습니다!"), this);
        return;
    }
    FileDialogSpec spec;
    spec.mode = FileDialogSpec::Mode::Save;
    spec.title = QStringLiteral("엑셀화일로 생성");
    spec.filter = QStringLiteral("엑셀화일|*.xlsx|모든화일|*.*");
    spec.defaultSuffix = QStringLiteral("xlsx");
    spec.fileName = YearEndTax::workbookName(year);
    spec.folder = DMLib ? DMLib->FDataDir : QString();
    const std::optional<QString> path = FileDialog::pick(spec, this);
    if (!path) return;
    if (const std::optional<ReportBox> box = write(listing(), year, *path)) {
        box->show(this);
        return;
    }
    Msg::info(QStringLiteral("화일생성"), QStringLiteral("엑셀화일을 생성하였습니다!"), this);
}
