#include "platform/text/CodeText.h"

#include <gtest/gtest.h>

// Every code of one or two printable characters reads as its own text.
TEST(CodeText, EveryCodeReadsAsItsText) {
    for (int a = 0x20; a < 0x7f; ++a) {
        const char one[] = {char(a)};
        ASSERT_TRUE(CodeText::isCode(QByteArrayView(one, 1)));
        ASSERT_EQ(CodeText::text(QByteArrayView(one, 1)), QString::fromUtf8(one, 1)) << a;
        for (int b = 0x20; b < 0x7f; ++b) {
            const char two[] = {char(a), char(b)};
            ASSERT_TRUE(CodeText::isCode(QByteArrayView(two, 2)));
            const QString t = CodeText::text(QByteArrayView(two, 2));
            ASSERT_EQ(t, QString::fromUtf8(two, 2)) << a << ' ' << b;
            ASSERT_FALSE(t.isNull());
        }
    }
}

TEST(CodeText, OnlyShortPrintableAsciiIsACode) {
    const struct {
        QByteArray bytes;
        bool code;
    } cases[] = {
        {QByteArray(), false},           {QByteArray("", 0), false},          {QByteArray("0"), true},
        {QByteArray("04"), true},        {QByteArray("041"), false},          {QByteArray("\t1"), false},
        {QByteArray("1\x7f"), false},    {QByteArray("\xea\xb0\x80"), false}, // one Hangul syllable
        {QByteArray("\xc3\xa9"), false},                                      // two bytes, one character
    };
    for (const auto& c : cases)
        EXPECT_EQ(CodeText::isCode(c.bytes), c.code) << c.bytes.toHex().constData();
}

// A changed copy is the copy's own: the shared code stays as it was.
TEST(CodeText, ChangingACopyLeavesTheCode) {
    QString t = CodeText::text("04");
    t[0] = QLatin1Char('x');
    t += QLatin1Char('!');
    EXPECT_EQ(t, QStringLiteral("x4!"));
    EXPECT_EQ(CodeText::text("04"), QStringLiteral("04"));
}
