#include "reports/P108B00.h"

#include "platform/sys/Clock.h"
#include "platform/ui/Cp949Validator.h"
#include "platform/ui/FormRegistry.h"
#include "shared/ButtonRow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFrmP108B00* FrmP108B00 = nullptr;

namespace {

const FormRegistrar registrar(FormEntry{QStringLiteral("P108B00"), QStringLiteral("가정통신문"),
                                        FormEntry::Mode::WorkWindow,
                                        [](QWidget* parent) -> QWidget* { return new TFrmP108B00(parent); }});

} // namespace

TFrmP108B00::TFrmP108B00(QWidget* parent) : QWidget(parent) {
    FrmP108B00 = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("가정통신문"));
    EdtSeqNo = new QLineEdit(this);
    EdtSeqNo->setMaximumWidth(120);
    EdtTitle = new QLineEdit(this);
    MedtDate = new QLineEdit(this);
    MedtDate->setInputMask(QStringLiteral("0000-00-00;_"));
    MedtDate->setMaximumWidth(100);
    MedtDate->setText(Clock::today().toString(QStringLiteral("yyyy-MM-dd")));
    Cp949Validator::limit(EdtSeqNo, 20, false);
    Cp949Validator::limit(EdtTitle, 100, false);
    MemoDescript = new QPlainTextEdit(this);
    bbtnPrnt = new QPushButton(QStringLiteral("인쇄"), this);
    bbtnDone = new QPushButton(QStringLiteral("닫기"), this);

    auto* g = new QGridLayout;
    g->addWidget(new QLabel(QStringLiteral("호      수"), this), 0, 0);
    auto* no = new QHBoxLayout;
    no->addWidget(EdtSeqNo);
    no->addWidget(new QLabel(QStringLiteral("호"), this));
    no->addStretch();
    g->addLayout(no, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("제      목"), this), 1, 0);
    g->addWidget(EdtTitle, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("일      자"), this), 2, 0);
    g->addWidget(MedtDate, 2, 1);
    auto* top = new QVBoxLayout(this);
    top->addLayout(g);
    top->addWidget(MemoDescript, 1);
    top->addLayout(ButtonRow::rightAligned({bbtnPrnt, bbtnDone}));
    connect(bbtnPrnt, &QPushButton::clicked, this, &TFrmP108B00::bbtnPrntClick);
    connect(bbtnDone, &QPushButton::clicked, this, &QWidget::close);
}

TFrmP108B00::~TFrmP108B00() {
    if (FrmP108B00 == this) FrmP108B00 = nullptr;
}

LetterFields TFrmP108B00::letter() const {
    return LetterFields{EdtSeqNo->text(), EdtTitle->text(), MedtDate->text(), MemoDescript->toPlainText()};
}

void TFrmP108B00::bbtnPrntClick() {
    const LetterFields f = letter();
    if (const std::optional<ReportBox> box = Letter::check(f)) {
        box->show(this);
        MedtDate->setFocus();
        return;
    }
    Letter::printLetter(f).preview(this);
}
