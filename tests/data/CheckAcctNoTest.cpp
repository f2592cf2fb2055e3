#include "data/DMBank.h"

#include <gtest/gtest.h>

namespace {

struct AcctCase {
    const char* bank;
    const char* acct;
    bool ok;
    const char* why;
};

// One table per bank family; each row names what it shows.
const AcctCase kCases[] = {
    // lengths only
    {"03", "12345678901234", true, "03: 14 digits"},
    {"03", "12345678901", true, "03: 11 digits"},
    {"03", "123456789012", false, "03: 12 digits"},
    {"03", "1234567890123", false, "03: 13 digits"},
    {"04", "123456789012", true, "04: 12 digits"},
    {"04", "12345678901234", true, "04: 14 digits"},
    {"04", "1234567890123", false, "04: 13 digits"},
    {"04", "12345678901", false, "04: 11 digits"},
    {"05", "12345678901", true, "05: 11 digits"},
    {"05", "123456789012", true, "05: 12 digits"},
    {"05", "1234567890", false, "05: 10 digits"},
    {"05", "1234567890123", false, "05: 13 digits"},
    {"06", "123456789012", true, "06: 12 digits"},
    {"06", "12345678901234", true, "06: 14 digits"},
    {"06", "1234567890123", false, "06: 13 digits"},
    {"21", "12345678901", true, "21: 11 digits"},
    {"21", "123456789012", true, "21: 12 digits"},
    {"21", "12345678901234", false, "21: 14 digits"},
    {"25", "12345678901234", true, "25: 14 digits"},
    {"25", "123456789012", true, "25: 12 digits"},
    {"25", "12345678901", false, "25: 11 digits"},
    {"26", "12345678901", true, "26: 11 digits"},
    {"26", "123456789012", true, "26: 12 digits"},
    {"26", "1234567890", false, "26: 10 digits"},
    {"27", "123456789012", true, "27: 12 digits"},
    {"27", "12345678901", false, "27: 11 digits"},
    {"27", "1234567890123", false, "27: 13 digits"},
    {"45", "1234567890123", true, "45: 13 digits"},
    {"45", "123456789012", false, "45: 12 digits"},
    {"45", "12345678901234", false, "45: 14 digits"},
    {"81", "12345678901234", true, "81: 14 digits"},
    {"81", "123456789012", true, "81: 12 digits"},
    {"81", "1234567890123", false, "81: 13 digits"},

    // bank 10: 12 digits with the check digit, or 13 unchecked
    {"10", "952525594461", true, "10: sum ends in 0 needs 1"},
    {"10", "952525594460", false, "10: sum ends in 0, 0 given"},
    {"10", "886075002010", true, "10: sum ends in 1 needs 0"},
    {"10", "886075002011", false, "10: sum ends in 1, 1 given"},
    {"10", "608191620515", true, "10: sum ends in 5 needs 5"},
    {"10", "608191620516", false, "10: wrong check digit"},
    {"10", "1234567890123", true, "10: 13 digits unchecked"},
    {"10", "21323796451", false, "10: 11 digits"},
    {"10", "12345678901234", false, "10: 14 digits"},

    // bank 11: 11 digits (short weights), 12 digits (long weights), 13
    {"11", "21323796451", true, "11: 11 digits, sum ends in 0"},
    {"11", "21323796450", false, "11: 11 digits, wrong"},
    {"11", "14405795000", true, "11: 11 digits, sum ends in 1"},
    {"11", "22257118253", true, "11: 11 digits, sum ends in 7"},
    {"11", "22257118256", false, "11: 11 digits, wrong"},
    {"11", "952525594461", true, "11: 12 digits under the 12-digit rule"},
    {"11", "952525594462", false, "11: 12 digits, wrong"},
    {"11", "9999999999999", true, "11: 13 digits unchecked"},
    {"11", "12345678901234", false, "11: 14 digits"},

    // bank 12: 14 digits modulus 11, 13 unchecked
    {"12", "68586268525671", true, "12: remainder 0 needs 1"},
    {"12", "68586268525670", false, "12: remainder 0, 0 given"},
    {"12", "68958372910190", true, "12: remainder 1 needs 0"},
    {"12", "43800282802007", true, "12: remainder 4 needs 7"},
    {"12", "43800282802008", false, "12: wrong check digit"},
    {"12", "0000000000000", true, "12: 13 digits unchecked"},
    {"12", "123456789012", false, "12: 12 digits"},

    // bank 23: 11 digits, either of two weightings
    {"23", "14336143640", true, "23: first weighting"},
    {"23", "14336143645", true, "23: second weighting"},
    {"23", "14336143641", false, "23: neither"},
    {"23", "79556205875", true, "23: 56 series, digit 5 as 0"},
    {"23", "79556205877", true, "23: 56 series, second weighting"},
    {"23", "79556205879", false, "23: 56 series, digit 5 not zeroed"},
    {"23", "91555062763", true, "23: 55 series, digit 5 as 0"},
    {"23", "91555062768", false, "23: 55 series, digit 5 not zeroed"},
    {"23", "1433614364", false, "23: 10 digits"},
    {"23", "143361436400", false, "23: 12 digits"},

    // any other bank: anything of digits
    {"99", "1", true, "99: one digit"},
    {"02", "123456789012345", true, "unlisted bank: 15 digits"},

    // refused for every bank
    {"04", "", false, "empty account"},
    {"99", "", false, "empty account, no bank"},
    {"", "123456789012", false, "empty bank"},
    {"04", "12345-789012", false, "04: a hyphen"},
    {"10", "95252559446a", false, "10: a letter where the check digit is read"},
    {"12", "6858626852567 ", false, "12: a trailing blank"},
    {"99", "12 34", false, "99: a blank"},
    {"23", "１４３３６１４３６４０", false, "23: full-width digits"},
};

TEST(CheckAcctNo, EveryBank) {
    TDMBankLib lib;
    for (const AcctCase& c : kCases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(lib.CheckAcctNo(QString::fromLatin1(c.bank), QString::fromUtf8(c.acct)), c.ok);
    }
}

} // namespace
