#include "platform/text/CodeText.h"

#include <array>

namespace {

constexpr int kFirst = 0x20;
constexpr int kCount = 0x7f - kFirst;

// Every pair of printable characters; a one-character code is the first
// character of its pair with a blank.
constexpr std::array<char16_t, kCount * kCount * 2> makePairs() {
    std::array<char16_t, kCount * kCount * 2> out{};
    for (int a = 0; a < kCount; ++a)
        for (int b = 0; b < kCount; ++b) {
            out[size_t((a * kCount + b) * 2)] = char16_t(kFirst + a);
            out[size_t((a * kCount + b) * 2 + 1)] = char16_t(kFirst + b);
        }
    return out;
}

constexpr std::array<char16_t, kCount* kCount* 2> kPairs = makePairs();

} // namespace

namespace CodeText {

QString text(QByteArrayView v) {
    const int a = uchar(v[0]) - kFirst;
    const int b = v.size() == 2 ? uchar(v[1]) - kFirst : 0;
    const char16_t* p = kPairs.data() + (a * kCount + b) * 2;
    return QString::fromRawData(reinterpret_cast<const QChar*>(p), v.size());
}

} // namespace CodeText
