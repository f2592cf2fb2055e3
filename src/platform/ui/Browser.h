#pragma once
#include <QString>

#include <functional>

// Web pages open in the desktop's default browser. Tests replace the opener
// and see the address instead.
namespace Browser {

bool open(const QString& url);

using Opener = std::function<bool(const QString& url)>;
// An empty function restores the desktop's browser.
void setOpener(Opener o);

} // namespace Browser
