#include "data/DMModule.h"
#include "platform/text/Cp949.h"

#include <gtest/gtest.h>

namespace {

struct PadCase {
    const char* name;
    QString in;
    int len;
    QString leftZero, rightSpace, padZeroLeft, padSpaceRight;
};

TEST(DMModule, Padding) {
    const QString name3 = QStringLiteral("홍길동"); // 6 bytes
    const PadCase cases[] = {
        {"shorter", QStringLiteral("12"), 5, QStringLiteral("00012"), QStringLiteral("12   "), QStringLiteral("00012"),
         QStringLiteral("12   ")},
        {"longer is kept whole or cut", QStringLiteral("12345"), 3, QStringLiteral("12345"), QStringLiteral("12345"),
         QStringLiteral("123"), QStringLiteral("123")},
        {"hangul counts two", name3, 10, QStringLiteral("0000") + name3, name3 + QStringLiteral("    "),
         QStringLiteral("0000") + name3, name3 + QStringLiteral("    ")},
        {"hangul cut at a character", name3, 5, name3, name3, QStringLiteral("홍길"), QStringLiteral("홍길")},
        {"empty", QString(), 2, QStringLiteral("00"), QStringLiteral("  "), QStringLiteral("00"), QStringLiteral("  ")},
    };
    for (const PadCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TDMLib::PadLeftZero(c.in, c.len), c.leftZero);
        EXPECT_EQ(TDMLib::PadRightSpace(c.in, c.len), c.rightSpace);
        EXPECT_EQ(PadZero(c.in, c.len, false), c.padZeroLeft);
        EXPECT_EQ(PadSpace(c.in, c.len, true), c.padSpaceRight);
    }
    EXPECT_EQ(PadZero(QStringLiteral("7"), 3, true), QStringLiteral("700"));
    EXPECT_EQ(ZeroStr(-1), QString());
    EXPECT_EQ(SpaceStr(3), QStringLiteral("   "));
}

TEST(DMModule, DigitFilters) {
    EXPECT_EQ(TDMLib::DigitsAndDot(QStringLiteral("1,234.50원")), QStringLiteral("1234.50"));
    EXPECT_EQ(TDMLib::DigitsOnly(QStringLiteral("12-34 5a")), QStringLiteral("12345"));
    EXPECT_TRUE(TDMLib::IsAllDigits(QString()));
    EXPECT_TRUE(TDMLib::IsAllDigits(QStringLiteral("0123")));
    EXPECT_FALSE(TDMLib::IsAllDigits(QStringLiteral("12 3")));
    EXPECT_EQ(RemoveChar(QStringLiteral("1-2-3"), QLatin1Char('-')), QStringLiteral("123"));
    EXPECT_EQ(BlankToZero(QStringLiteral(" ")), QStringLiteral("0"));
    EXPECT_EQ(BlankToZero(QStringLiteral("  ")), QStringLiteral("  "));
}

TEST(DMModule, FillZero) {
    const struct {
        QString in, two, three;
    } cases[] = {
        {QString(), QStringLiteral("00"), QStringLiteral("000")},
        {QStringLiteral("  "), QStringLiteral("00"), QStringLiteral("000")},
        {QStringLiteral("5"), QStringLiteral("05"), QStringLiteral("005")},
        {QStringLiteral("12"), QStringLiteral("12"), QStringLiteral("012")},
        {QStringLiteral(" 7"), QStringLiteral("07"), QStringLiteral("007")},
        {QStringLiteral("7 "), QStringLiteral("07"), QStringLiteral("007")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.in.toStdString());
        EXPECT_EQ(FillZero2(c.in), c.two);
        EXPECT_EQ(FillZero3(c.in), c.three);
    }
    EXPECT_EQ(FillZero3(QStringLiteral("123")), QStringLiteral("123"));
    EXPECT_EQ(FillZero3(QStringLiteral(" 23")), QStringLiteral("023"));
    EXPECT_EQ(FillZero3(QStringLiteral("1 3")), QStringLiteral("103"));
    EXPECT_EQ(FillZero3(QStringLiteral("12 ")), QStringLiteral("012"));
}

TEST(DMModule, StudentNumbers) {
    const struct {
        int mode;
        QString in, out;
    } norm[] = {
        {5, QStringLiteral("3"), QStringLiteral("30000")},     {5, QStringLiteral("312"), QStringLiteral("31200")},
        {5, QStringLiteral("3125"), QStringLiteral("31205")},  {5, QStringLiteral(" 1 3"), QStringLiteral("00103")},
        {5, QString(), QString()},                             {5, QStringLiteral("312050"), QStringLiteral("312050")},
        {6, QStringLiteral("31205"), QStringLiteral("312005")}, {6, QStringLiteral("312345"), QStringLiteral("312345")},
        {6, QStringLiteral("31"), QStringLiteral("301000")},   {7, QStringLiteral("31"), QStringLiteral("31")},
    };
    for (const auto& c : norm) {
        SCOPED_TRACE(c.in.toStdString());
        EXPECT_EQ(NormSNo(c.mode, c.in), c.out);
    }

    SNoLen = 5;
    EXPECT_EQ(MakeSNo(QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("5")), QStringLiteral("30105"));
    EXPECT_EQ(MakeSNo(QStringLiteral("3"), QString(), QString()), QStringLiteral("3"));
    EXPECT_EQ(MakeSNo(QStringLiteral("3"), QStringLiteral("2"), QString()), QStringLiteral("302"));
    EXPECT_EQ(MakeSNo(QString(), QString(), QString()), QString());
    EXPECT_FALSE(IsValidSNoInput(QString(), QStringLiteral("1"), QString()));
    EXPECT_FALSE(IsValidSNoInput(QStringLiteral("3"), QString(), QStringLiteral("5")));
    EXPECT_FALSE(IsValidSNoInput(QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("0")));
    EXPECT_TRUE(IsValidSNoInput(QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("000")));
    EXPECT_TRUE(IsValidSNoInput(QString(), QString(), QString()));
    SNoLen = 6;
    EXPECT_EQ(MakeSNo(QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("5")), QStringLiteral("301005"));
    EXPECT_FALSE(IsValidSNoInput(QStringLiteral("3"), QStringLiteral("1"), QStringLiteral("000")));
    SNoLen = 5;

    EXPECT_TRUE(IsValidSNoRange(QString(), QStringLiteral("30105")));
    EXPECT_FALSE(IsValidSNoRange(QStringLiteral("30105"), QStringLiteral("30101")));
    EXPECT_TRUE(IsValidSNoRange(QStringLiteral("30101"), QStringLiteral("30101")));
    bool ok = true;
    EXPECT_FALSE(IsValidSNoRange(QStringLiteral("3a"), QStringLiteral("30101"), &ok));
    EXPECT_FALSE(ok);
}

TEST(DMModule, AmountInKoreanNumerals) {
    const struct {
        double amt;
        const char16_t* text;
    } cases[] = {
        {0, u""},
        {15000, u"일만오천"},
        {100000, u"일십만"},
        {10010, u"일만일십"},
        {1000000, u"일백만"},
        {35270000, u"삼천오백이십칠만"},
        {100000000, u"일억"},
        {1200005000, u"일십이억오천"},
        {1000000000000.0, u"일조"},
        {123456789012.0, u"일천이백삼십사억오천육백칠십팔만구천일십이"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.amt);
        EXPECT_EQ(TDMLib::AmtToKorean(c.amt), QString::fromUtf16(c.text));
    }
    bool ok = true;
    TDMLib::AmtToKorean(1.5, &ok);
    EXPECT_FALSE(ok);
    TDMLib::AmtToKorean(-3, &ok);
    EXPECT_FALSE(ok);
}

TEST(Cp949, WidthsAndCuts) {
    EXPECT_EQ(Cp949::byteLength(QStringLiteral("가a")), 3);
    EXPECT_EQ(Cp949::cutToBytes(QStringLiteral("가나다"), 5), QStringLiteral("가나"));
    EXPECT_EQ(Cp949::cutBytes(Cp949::encode(QStringLiteral("가나다")), 3).size(), 2);
    EXPECT_TRUE(Cp949::canEncode(QStringLiteral("학생 명부 ABC 1")));
    EXPECT_FALSE(Cp949::canEncode(QStringLiteral("emoji 😀")));
    bool ok = true;
    EXPECT_EQ(Cp949::encode(QStringLiteral("a😀b"), &ok), QByteArray("a?b"));
    EXPECT_FALSE(ok);
    EXPECT_EQ(Cp949::decode(Cp949::encode(QStringLiteral("똠방각하"))), QStringLiteral("똠방각하"));
    Cp949::decode(QByteArray("\xB0"), &ok);
    EXPECT_FALSE(ok);
}

} // namespace
