#include "reports/P104B00.h"

#include "platform/ui/FormRegistry.h"

#include <QLineEdit>

TFrmP104B00* FrmP104B00 = nullptr;

namespace {

const FormRegistrar registrar(FormEntry{QStringLiteral("P104B00"), QStringLiteral("수입결의서"),
                                        FormEntry::Mode::Dialog,
                                        [](QWidget* parent) -> QWidget* { return new TFrmP104B00(parent); }});

} // namespace

TFrmP104B00::TFrmP104B00(QWidget* parent) : TResolutionDialog(QStringLiteral("P104B00"), 2, parent) {
    FrmP104B00 = this;
    connect(field(QStringLiteral("MedtDate1")), &QLineEdit::textChanged, this, &TFrmP104B00::MedtDate1Change);
}

TFrmP104B00::~TFrmP104B00() {
    if (FrmP104B00 == this) FrmP104B00 = nullptr;
}

void TFrmP104B00::MedtDate1Change() {
    const QString t = values().value(QStringLiteral("발의"));
    if (t.size() != 8) return;
    for (const char* name : {"MedtDate2", "MedtDate3"})
        field(QString::fromLatin1(name))->setText(t);
}
