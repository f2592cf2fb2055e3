#pragma once
#include <QByteArrayView>
#include <QString>

// Codes of one or two printable ASCII characters ("1", "04", "Y") are most
// of what a listing's cells hold. Their text is kept in static storage, so
// that the cells share it without a reference count to keep up and without
// an allocation.
namespace CodeText {

// True when v is such a code.
inline bool isCode(QByteArrayView v) {
    if (v.size() < 1 || v.size() > 2) return false;
    for (char c : v)
        if (c < 0x20 || c > 0x7e) return false;
    return true;
}

// The text of a code (isCode(v) must hold); equal to QString::fromUtf8(v).
QString text(QByteArrayView v);

} // namespace CodeText
