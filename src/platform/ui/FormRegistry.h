#pragma once
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// The forms the main window can open, by unit name ("F101B00", "M101B00").
// Each form's unit registers itself with a static FormRegistrar; a menu item
// whose unit is not registered stands disabled.
struct FormEntry {
    enum class Mode { WorkWindow, Dialog };
    QString unit;
    QString caption;
    Mode mode = Mode::WorkWindow;
    // Creates the form. Work windows get the MDI area's parent; dialogs are
    // shown modally and freed by the caller.
    std::function<QWidget*(QWidget* parent)> create;
};

namespace FormRegistry {
void add(const FormEntry& e);
const FormEntry* find(const QString& unit);
QStringList units();
} // namespace FormRegistry

struct FormRegistrar {
    explicit FormRegistrar(const FormEntry& e) { FormRegistry::add(e); }
};
