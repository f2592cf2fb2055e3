#pragma once
#include <functional>

class QDialog;

// Shows modal dialogs. Tests install a runner that fills and accepts a
// dialog without an event loop of its own.
namespace Modal {

// Runs the dialog modally and returns its result (QDialog::Accepted or
// Rejected, or the value given to done()).
int exec(QDialog* dialog);

using Runner = std::function<int(QDialog*)>;
void setRunner(Runner r);

} // namespace Modal
