#include "reports/ResolutionDialog.h"

#include "platform/ui/Cp949Validator.h"
#include "shared/ButtonRow.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TResolutionDialog::TResolutionDialog(const QString& unit, int columns, QWidget* parent)
    : QDialog(parent), form_(Resolutions::find(unit)) {
    setWindowTitle(form_->title);
    auto* grid = new QGridLayout;
    const int n = int(form_->fields.size());
    const int perColumn = (n + columns - 1) / columns;
    for (int i = 0; i < n; ++i) {
        const ResolutionField& f = form_->fields.at(i);
        auto* e = new QLineEdit(this);
        e->setObjectName(f.control);
        if (f.kind == ResolutionField::Date)
            e->setInputMask(QStringLiteral("0000-00-00; "));
        else if (f.kind == ResolutionField::DashDate)
            e->setInputMask(QStringLiteral("0000-00-00; "));
        else
            Cp949Validator::limit(e, f.maxLen > 0 ? f.maxLen : 100, false);
        e->setMinimumWidth(f.kind == ResolutionField::Edit ? 150 : 90);
        e->installEventFilter(this);
        edits_ << e;
        const int row = i % perColumn, col = 2 * (i / perColumn);
        grid->addWidget(new QLabel(f.caption, this), row, col);
        grid->addWidget(e, row, col + 1);
    }
    MemoDescript = new QPlainTextEdit(this);
    MemoDescript->setMinimumHeight(80);
    BbtnPrnt = new QPushButton(QStringLiteral("인쇄"), this);
    BbtnDone = new QPushButton(QStringLiteral("닫기"), this);
    for (QPushButton* b : {BbtnPrnt, BbtnDone})
        b->setAutoDefault(false);
    auto* top = new QVBoxLayout(this);
    top->addLayout(grid);
    top->addWidget(new QLabel(form_->memoCaption, this));
    top->addWidget(MemoDescript, 1);
    top->addLayout(ButtonRow::rightAligned({BbtnPrnt, BbtnDone}));
    connect(BbtnPrnt, &QPushButton::clicked, this, &TResolutionDialog::BbtnPrntClick);
    connect(BbtnDone, &QPushButton::clicked, this, &TResolutionDialog::BbtnDoneClick);

    QString path;
    if (!Resolutions::ensure(*form_, &path)) Resolutions::writeFailed(path).show(this);
    QString error;
    setValues(Resolutions::load(*form_, &error));
    if (!error.isEmpty()) Resolutions::readFailed(error).show(this);
}

QLineEdit* TResolutionDialog::field(const QString& control) const {
    for (QLineEdit* e : edits_)
        if (e->objectName() == control) return e;
    return nullptr;
}

ResolutionValues TResolutionDialog::values() const {
    ResolutionValues v;
    for (int i = 0; i < edits_.size(); ++i) {
        const ResolutionField& f = form_->fields.at(i);
        QString t = edits_.at(i)->displayText();
        if (f.kind == ResolutionField::Date) {
            // The mask keeps no separators: only the digits typed.
            t.remove(QLatin1Char('-'));
            t = t.trimmed();
        } else if (f.kind == ResolutionField::Edit) {
            t = edits_.at(i)->text();
        }
        v.insert(f.key, t);
    }
    v.insert(QStringLiteral("memo"), MemoDescript->toPlainText());
    return v;
}

void TResolutionDialog::setValues(const ResolutionValues& v) {
    for (int i = 0; i < edits_.size(); ++i)
        edits_.at(i)->setText(v.value(form_->fields.at(i).key));
}

bool TResolutionDialog::saveFields() {
    QString path;
    if (Resolutions::save(*form_, values(), &path)) return true;
    Resolutions::writeFailed(path).show(this);
    return false;
}

void TResolutionDialog::BbtnPrntClick() {
    Resolutions::printForm(*form_, values()).preview(this);
    saveFields();
}

void TResolutionDialog::BbtnDoneClick() {
    if (saveFields()) accept();
}

bool TResolutionDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        auto* e = qobject_cast<QLineEdit*>(watched);
        if (e && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            enterPressed(e);
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
