#include "reports/P107B00.h"

#include "platform/ui/FormRegistry.h"

#include <QLineEdit>

TFrmP107B00* FrmP107B00 = nullptr;

namespace {

const FormRegistrar registrar(FormEntry{QStringLiteral("P107B00"), QStringLiteral("징수결의서"),
                                        FormEntry::Mode::Dialog,
                                        [](QWidget* parent) -> QWidget* { return new TFrmP107B00(parent); }});

} // namespace

TFrmP107B00::TFrmP107B00(QWidget* parent) : TResolutionDialog(QStringLiteral("P107B00"), 2, parent) {
    FrmP107B00 = this;
}

TFrmP107B00::~TFrmP107B00() {
    if (FrmP107B00 == this) FrmP107B00 = nullptr;
}
