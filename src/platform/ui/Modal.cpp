#include "platform/ui/Modal.h"

#include <QDialog>

namespace {
Modal::Runner& runner() {
    static Modal::Runner r;
    return r;
}
} // namespace

namespace Modal {

int exec(QDialog* dialog) {
    if (runner()) return runner()(dialog);
    return dialog->exec();
}

void setRunner(Runner r) { runner() = std::move(r); }

} // namespace Modal
