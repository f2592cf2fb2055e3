#include "reports/P105B00.h"

#include "platform/ui/FormRegistry.h"

#include <QLineEdit>

TFrmP105B00* FrmP105B00 = nullptr;

namespace {

const FormRegistrar registrar(FormEntry{QStringLiteral("P105B00"), QStringLiteral("지급결의서"),
                                        FormEntry::Mode::Dialog,
                                        [](QWidget* parent) -> QWidget* { return new TFrmP105B00(parent); }});

} // namespace

TFrmP105B00::TFrmP105B00(QWidget* parent) : TResolutionDialog(QStringLiteral("P105B00"), 3, parent) {
    FrmP105B00 = this;
}

TFrmP105B00::~TFrmP105B00() {
    if (FrmP105B00 == this) FrmP105B00 = nullptr;
}

void TFrmP105B00::enterPressed(QLineEdit* e) {
    QStringList targets;
    if (e->objectName() == QLatin1String("MedtDate1"))
        targets = {QStringLiteral("MedtDate2"), QStringLiteral("MedtDate3"), QStringLiteral("MedtDate4"),
                   QStringLiteral("MedtDate5")};
    else if (e->objectName() == QLatin1String("MedtDate6"))
        targets = {QStringLiteral("MedtDate7"), QStringLiteral("MedtDate8")};
    for (const QString& t : targets)
        field(t)->setText(e->displayText());
}
