#pragma once
#include <QString>

#include <functional>

class QWidget;

// Web pages open in the desktop's default browser. Tests replace the opener
// and see the address instead.
namespace Browser {

// A page that no browser can show is reported in a box, not on stderr. The
// browser gets the address whole; every text shown or logged about it has
// its password masked.
bool open(const QString& url, QWidget* parent = nullptr);

// The address as it may be shown or logged: the value of a password in its
// query (login_pwd, pwd, passwd, password) reads "****".
QString shown(const QString& url);

using Opener = std::function<bool(const QString& url)>;
// An empty function restores the desktop's browser.
void setOpener(Opener o);

} // namespace Browser
