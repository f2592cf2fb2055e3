#include "van/O102B00.h"

#include "platform/ui/FormRegistry.h"
#include "van/VanSettings.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFrmO102B00::TFrmO102B00(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral(u"통신환경설정"));
    EdtAddress = new QLineEdit(this);
    EdtPortNo = new QLineEdit(this);
    BBtnConfi = new QPushButton(QStringLiteral(u"확인"), this);
    BBtnCncl = new QPushButton(QStringLiteral(u"취소"), this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral(u"주      소"), EdtAddress);
    form->addRow(QStringLiteral(u"포트번호"), EdtPortNo);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BBtnConfi);
    buttons->addWidget(BBtnCncl);
    auto* v = new QVBoxLayout(this);
    v->addLayout(form);
    v->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(320, 0)));
    connect(BBtnConfi, &QPushButton::clicked, this, &TFrmO102B00::BBtnConfiClick);
    connect(BBtnCncl, &QPushButton::clicked, this, &QDialog::reject);

    // A first opening writes the defaults, whatever the user then presses.
    VanSettings::ensureServerDefaults();
    const VanSettings::Server s = VanSettings::readServer();
    EdtAddress->setText(s.address);
    EdtPortNo->setText(s.portNo);
}

void TFrmO102B00::BBtnConfiClick() {
    VanSettings::writeServer({EdtAddress->text(), EdtPortNo->text()});
    accept();
}

namespace {
const FormRegistrar reg(FormEntry{QStringLiteral("O102B00"), QStringLiteral(u"통신환경설정"),
                                  FormEntry::Mode::Dialog,
                                  [](QWidget* parent) -> QWidget* { return new TFrmO102B00(parent); }});
} // namespace
