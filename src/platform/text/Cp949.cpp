#include "platform/text/Cp949.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <mutex>

namespace {

// iconv descriptors are not thread-safe; the program converts on the main
// thread, but tests and benchmarks may not, so each call locks.
struct Converter {
    iconv_t cd;
    std::mutex lock;
    Converter(const char* to, const char* from) : cd(iconv_open(to, from)) {}
    ~Converter() {
        if (cd != (iconv_t)-1) iconv_close(cd);
    }
};

Converter& toCp949() {
    static Converter c("CP949", "UTF-8");
    return c;
}
Converter& fromCp949() {
    static Converter c("UTF-8", "CP949");
    return c;
}

} // namespace

namespace Cp949 {

QByteArray encode(const QString& text, bool* ok) {
    if (ok) *ok = true;
    if (text.isEmpty()) return {};
    // Fast path: plain ASCII needs no conversion.
    bool ascii = true;
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) return text.toLatin1();

    Converter& cv = toCp949();
    std::lock_guard<std::mutex> g(cv.lock);
    {
        // Whole text at once; the slow path below only for unencodable text.
        QByteArray utf8 = text.toUtf8();
        QByteArray whole;
        whole.resize(utf8.size() * 2 + 8);
        char* in = utf8.data();
        size_t inLeft = size_t(utf8.size());
        char* o = whole.data();
        size_t outLeft = size_t(whole.size());
        iconv(cv.cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cv.cd, &in, &inLeft, &o, &outLeft) != size_t(-1) && inLeft == 0) {
            whole.resize(int(o - whole.data()));
            return whole;
        }
    }
    QByteArray out;
    out.reserve(text.size() * 2);
    // Convert character by character so that one unencodable character
    // becomes '?' without losing the rest.
    const QList<uint> ucs = text.toUcs4();
    char buf[8];
    for (uint u : ucs) {
        if (u < 0x80) {
            out.append(char(u));
            continue;
        }
        QByteArray utf8 = QString::fromUcs4(reinterpret_cast<const char32_t*>(&u), 1).toUtf8();
        char* in = utf8.data();
        size_t inLeft = size_t(utf8.size());
        char* o = buf;
        size_t outLeft = sizeof buf;
        iconv(cv.cd, nullptr, nullptr, nullptr, nullptr);
        size_t r = iconv(cv.cd, &in, &inLeft, &o, &outLeft);
        if (r == size_t(-1) || inLeft != 0 || (o - buf) == 0) {
            out.append('?');
            if (ok) *ok = false;
        } else {
            out.append(buf, int(o - buf));
        }
    }
    return out;
}

QString decode(const QByteArray& bytes, bool* ok) {
    if (ok) *ok = true;
    if (bytes.isEmpty()) return {};
    bool ascii = true;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    }
    if (ascii) return QString::fromLatin1(bytes);

    Converter& cv = fromCp949();
    std::lock_guard<std::mutex> g(cv.lock);
    QByteArray out;
    out.resize(bytes.size() * 3 + 8);
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = size_t(bytes.size());
    char* o = out.data();
    size_t outLeft = size_t(out.size());
    iconv(cv.cd, nullptr, nullptr, nullptr, nullptr);
    while (inLeft > 0) {
        size_t r = iconv(cv.cd, &in, &inLeft, &o, &outLeft);
        if (r != size_t(-1)) break;
        if (errno == EILSEQ || errno == EINVAL) {
            // Skip the bad byte and mark it.
            if (ok) *ok = false;
            static const char repl[] = "\xEF\xBF\xBD";
            if (outLeft < 3) break;
            memcpy(o, repl, 3);
            o += 3;
            outLeft -= 3;
            ++in;
            --inLeft;
            continue;
        }
        break;
    }
    out.resize(int(o - out.data()));
    return QString::fromUtf8(out);
}

bool canEncode(const QString& text) {
    bool ok = true;
    encode(text, &ok);
    return ok;
}

int byteLength(const QString& text) { return int(encode(text).size()); }

QByteArray cutBytes(const QByteArray& bytes, int width) {
    if (width <= 0) return {};
    if (bytes.size() <= width) return bytes;
    int pos = 0;
    while (pos < bytes.size()) {
        int n = charLength(static_cast<unsigned char>(bytes[pos]));
        if (pos + n > width) break;
        pos += n;
    }
    return bytes.left(pos);
}

QString cutToBytes(const QString& text, int width) {
    // No UTF-16 unit takes more than two bytes (an unencodable one becomes
    // '?'), so most values are known to fit without being encoded.
    if (text.size() * 2 > width) {
        qsizetype most = 0;
        for (QChar c : text)
            most += c.unicode() < 0x80 ? 1 : 2;
        if (most <= width) return text;
    } else {
        return text;
    }
    bool encodable = true;
    QByteArray enc = encode(text, &encodable);
    if (enc.size() <= width) return text;
    if (encodable) {
        // Each character became one character of the bytes (none lies
        // outside the BMP), so the characters that fit are counted there.
        qsizetype pos = 0, chars = 0;
        while (pos < enc.size()) {
            const int n = charLength(static_cast<unsigned char>(enc[pos]));
            if (pos + n > width) break;
            pos += n;
            ++chars;
        }
        return text.left(chars);
    }
    // Walk the characters so that unencodable ones keep their own form.
    QString out;
    int used = 0;
    const QList<uint> ucs = text.toUcs4();
    for (uint u : ucs) {
        QString ch = QString::fromUcs4(reinterpret_cast<const char32_t*>(&u), 1);
        int n = u < 0x80 ? 1 : int(encode(ch).size());
        if (used + n > width) break;
        out += ch;
        used += n;
    }
    return out;
}

QString mid(const QByteArray& bytes, int pos, int len) {
    if (pos < 0 || pos >= bytes.size() || len <= 0) return {};
    return decode(bytes.mid(pos, len));
}

} // namespace Cp949
