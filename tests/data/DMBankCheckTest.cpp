#include "data/DMBank.h"

#include <gtest/gtest.h>

namespace {

using B = TDMBankLib;

TEST(DMBankCheck, FourDecimalsAreExact) {
    const struct {
        const char* name;
        qint64 num, den;
        const char* expected;
    } cases[] = {
        {"plain", 150015, 1237, "2732"},
        // 0.1235 has no exact binary form: a float floor would give 1234.
        {"exact four places", 988, 8000, "1235"},
        // 0.99999999996...: the tenth decimal rounds up and carries into
        // the first four.
        {"carry from the tenth decimal", 29999999999LL, 30000000000LL, "0000"},
        {"whole number", 16, 4, "0000"},
        {"integer part dropped", 30022, 6385, "7019"},
        {"negative divisor counts by size", 1, -8, "1250"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool ok = false;
        EXPECT_EQ(B::FourDecimals(c.num, c.den, &ok), QString::fromLatin1(c.expected));
        EXPECT_TRUE(ok);
    }
    bool ok = true;
    B::FourDecimals(5, 0, &ok);
    EXPECT_FALSE(ok);
}

TEST(DMBankCheck, Bank04) {
    const struct {
        const char* name;
        qint64 total, count, checkSum;
        const char* passwd;
        const char* expected;
        bool ok;
    } cases[] = {
        {"plain", 150000, 3, 12, "1234", "2732", true},
        {"password with blanks", 150000, 3, 12, " 1234 ", "2732", true},
        {"password not a number counts as 0", 10, 4, 2, "ab", "0000", true},
        {"rounding edge", 987, 1, 0, "7999", "1235", true},
        {"carry edge", 29999999998LL, 1, 0, "29999999999", "0000", true},
        {"divisor zero", 10, 3, 0, "-3", "0000", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool ok = !c.ok;
        EXPECT_EQ(B::CheckValue04(c.total, c.count, c.checkSum, QString::fromLatin1(c.passwd), &ok),
                  QString::fromLatin1(c.expected));
        EXPECT_EQ(ok, c.ok);
    }
}

TEST(DMBankCheck, Bank05) {
    const struct {
        const char* acct;
        qint64 sum;
        bool ok;
    } sums[] = {
        {"12345678901", 68059, true}, {"123456789012", 68059, true}, // the 12th digit is not read
        {"123456789", 0, false},      {"1234567890", 0, false},      // too short for the eleventh
        {"12A45678901", 0, false},
    };
    for (const auto& c : sums) {
        SCOPED_TRACE(c.acct);
        bool ok = !c.ok;
        EXPECT_EQ(B::AcctSum05(QString::fromLatin1(c.acct), &ok), c.sum);
        EXPECT_EQ(ok, c.ok);
    }
    bool ok = false;
    EXPECT_EQ(B::CheckValue05(QStringLiteral("260317"), QStringLiteral("260318"), 2, 136118, 987654321, &ok),
              QStringLiteral("3796    "));
    EXPECT_TRUE(ok);
    B::CheckValue05(QStringLiteral("260317"), QStringLiteral("000000"), 2, 1, 1, &ok);
    EXPECT_FALSE(ok);
    B::CheckValue05(QStringLiteral("2603x7"), QStringLiteral("260318"), 2, 1, 1, &ok);
    EXPECT_FALSE(ok);
}

TEST(DMBankCheck, Bank06) {
    const struct {
        qint64 total, count;
        const char* expected;
    } cases[] = {
        {0, 1, "0030    "},
        {1234567890123LL, 1234567, "0788    "},
        {35000, 3, "5099    "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        bool ok = false;
        EXPECT_EQ(B::CheckValue06(c.total, c.count, &ok), QString::fromLatin1(c.expected));
        EXPECT_TRUE(ok);
    }
}

TEST(DMBankCheck, NHGroup) {
    EXPECT_EQ(B::RecordCheckNH(17, 5, 30000, 6385), 7019);
    EXPECT_EQ(B::RecordCheckNH(17, 1, 970, 8000), 1235); // rounding edge
    EXPECT_EQ(B::RecordCheckNH(17, 0, 0, 8), 1250);      // all amounts 0: (day + digit) / passwd
    EXPECT_EQ(B::RecordCheckNH(17, 5, 30000, 0), 0);     // password 0000
    bool ok = false;
    EXPECT_EQ(B::CheckValueNH(25, 4, 120000, 6385, &ok), QStringLiteral("7868"));
    EXPECT_TRUE(ok);
    // Password 0000: divided by the count alone.
    EXPECT_EQ(B::CheckValueNH(25, 4, 120000, 0, &ok), QStringLiteral("2500"));
    B::CheckValueNH(0, 0, 0, 0, &ok);
    EXPECT_FALSE(ok);
}

TEST(DMBankCheck, Bank20) {
    EXPECT_EQ(B::CheckValue20(45, 7), QStringLiteral("000003  "));
    EXPECT_EQ(B::CheckValue20(45, 0), QStringLiteral("000000  ")); // all amounts 0
    EXPECT_EQ(B::CheckValue20(123456789, 1000000000), QStringLiteral("456789  "));
    bool ok = true;
    EXPECT_EQ(B::DigitSum(QStringLiteral("1002-34"), &ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(B::DigitSum(QStringLiteral("100234"), &ok), 10);
    EXPECT_TRUE(ok);
}

TEST(DMBankCheck, Bank22) {
    const struct {
        const char* acct;
        qint64 recNo, amount;
        int expected;
        bool ok;
    } cases[] = {
        {"1002345678901", 1, 35000, 3, true},
        {"27012345678", 2, 120000, 4, true},
        {"2701-2345678", 2, 120000, 0, false},
        {"7", 1, 100, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.acct);
        bool ok = !c.ok;
        EXPECT_EQ(
            B::RecordCheck22(QStringLiteral("260317"), QString::fromLatin1(c.acct), c.recNo, c.amount, &ok),
            c.expected);
        EXPECT_EQ(ok, c.ok);
    }
    bool ok = false;
    EXPECT_EQ(B::CheckValue22(QStringLiteral("260317"), 155000, 2, 13, &ok), QStringLiteral("032013  "));
    EXPECT_TRUE(ok);
}

TEST(DMBankCheck, Bank23) {
    bool ok = false;
    EXPECT_EQ(B::RecordCheck23(QStringLiteral("12345678901"), 2, 50000, &ok), 0);
    EXPECT_TRUE(ok);
    EXPECT_EQ(B::RecordCheck23(QStringLiteral("98765432109"), 1, 1234567, &ok), 4);
    EXPECT_TRUE(ok);
    B::RecordCheck23(QStringLiteral("1234"), 1, 1, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(B::CheckValue23(0, 0, 0), QStringLiteral("0005"));
    EXPECT_EQ(B::CheckValue23(0, 0, 123456), QStringLiteral("3461"));
}

} // namespace
