#include "reports/P106B00.h"

#include "platform/ui/FormRegistry.h"

#include <QLineEdit>

TFrmP106B00* FrmP106B00 = nullptr;

namespace {

const FormRegistrar registrar(FormEntry{QStringLiteral("P106B00"), QStringLiteral("과오납금반환결의서"),
                                        FormEntry::Mode::Dialog,
                                        [](QWidget* parent) -> QWidget* { return new TFrmP106B00(parent); }});

} // namespace

TFrmP106B00::TFrmP106B00(QWidget* parent) : TResolutionDialog(QStringLiteral("P106B00"), 2, parent) {
    FrmP106B00 = this;
}

TFrmP106B00::~TFrmP106B00() {
    if (FrmP106B00 == this) FrmP106B00 = nullptr;
}
