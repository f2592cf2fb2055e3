#pragma once
#include <QString>

#include <functional>

class QWidget;

// Web pages open in the desktop's default browser. Tests replace the opener
// and see the address instead.
namespace Browser {

// A page that no browser can show is reported in a box, not on stderr.
bool open(const QString& url, QWidget* parent = nullptr);

using Opener = std::function<bool(const QString& url)>;
// An empty function restores the desktop's browser.
void setOpener(Opener o);

} // namespace Browser
