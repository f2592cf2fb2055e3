// zq-driver login-settings show|off|on PASSWORD: the log-in settings dialog
// without a window on screen.

#include "driver/Driver.h"

#include "platform/settings/Registry.h"
#include "van/T401B00.h"
#include "van/VanLink.h"

#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

const char* kUsage = "login-settings show | off | on PASSWORD";

void show() {
    const QString key = QStringLiteral("SchoolInfo");
    Driver::print(
        {{QStringLiteral("SchCode"), Registry::readString(key, QStringLiteral("SchCode"))},
         {QStringLiteral("UxAut"), Registry::readInteger(key, QStringLiteral("UxAut")).value_or(0)},
         {QStringLiteral("UxPwdSet"), !Registry::readString(key, QStringLiteral("UxPwd")).isEmpty()}});
}

int run(const QStringList& args) {
    const QString what = args.value(0);
    if (what == QLatin1String("show")) {
        show();
        return 0;
    }
    if (what != QLatin1String("off") && !(what == QLatin1String("on") && args.size() >= 2))
        return Driver::fail(QString::fromUtf8(kUsage));
    TFrmT401B00 d;
    const bool on = what == QLatin1String("on");
    (on ? d.rdUSE : d.rdNON)->click();
    if (on) d.slePWD->setText(args.value(1));
    bool finished = false;
    QObject::connect(&d, &QDialog::finished, [&] { finished = true; });
    d.cmdSaveClick();
    // A verification runs until the dialog closes itself, or the answers end
    // it: a refusal leaves the dialog open with nothing left to wait for.
    QEventLoop loop;
    while (!finished && !d.cmdSave->isEnabled())
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    show();
    const bool ok = d.result() == QDialog::Accepted;
    Driver::print({{QStringLiteral("result"), ok ? QStringLiteral("saved") : QStringLiteral("not saved")}});
    return ok ? 0 : 1;
}

const struct Registrar {
    Registrar() { Driver::addCommand(QStringLiteral("login-settings"), QString::fromUtf8(kUsage), run); }
} registrar;

} // namespace
