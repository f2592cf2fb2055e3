#include "platform/settings/IniFile.h"
#include "platform/text/Cp949.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString file(const char* name = "form.ini") const {
        return dir_.path() + QLatin1Char('/') + QLatin1String(name);
    }
    static void write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    static QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir_;
};

QByteArray utf16(const QString& s, bool le) {
    QByteArray out = le ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF");
    for (QChar c : s) {
        const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
        out += le ? QByteArray{&lo, 1} + QByteArray{&hi, 1} : QByteArray{&hi, 1} + QByteArray{&lo, 1};
    }
    return out;
}

// A form's file saved by another editor: the kept values are read whatever
// the encoding, a key held twice keeps its first value, and the save writes
// CP949 with every value and each key once.
TEST_F(IniFileTest, KeptValuesSurviveEveryEncoding) {
    const QString text = QStringLiteral("[DATA]\r\n증제=12\r\n년도=\r\n관=교육비\r\n증제=99\r\n"
                                        "[기타]\r\n메모=징수\r\n");
    const struct {
        const char* what;
        QByteArray bytes;
    } files[] = {
        {"CP949", Cp949::encode(text)},
        {"UTF-8", text.toUtf8()},
        {"UTF-8 with its mark", QByteArray("\xEF\xBB\xBF") + text.toUtf8()},
        {"UTF-16 LE", utf16(text, true)},
        {"UTF-16 BE", utf16(text, false)},
        {"UTF-16 LE without its mark", utf16(text, true).mid(2)},
        {"UTF-16 BE without its mark", utf16(text, false).mid(2)},
    };
    const QByteArray expected =
        Cp949::encode(QStringLiteral("[DATA]\r\n증제=12\r\n년도=2026\r\n관=교육비\r\n\r\n"
                                     "[기타]\r\n메모=징수\r\n\r\n"));
    for (const auto& f : files) {
        SCOPED_TRACE(f.what);
        write(file(), f.bytes);
        IniFile ini(file());
        ASSERT_TRUE(ini.load()) << ini.error().toStdString();
        EXPECT_EQ(ini.value(QStringLiteral("DATA"), QStringLiteral("증제")), QStringLiteral("12"));
        EXPECT_EQ(ini.value(QStringLiteral("DATA"), QStringLiteral("관")), QStringLiteral("교육비"));
        EXPECT_EQ(ini.keys(QStringLiteral("DATA")),
                  QStringList({QStringLiteral("증제"), QStringLiteral("년도"), QStringLiteral("관")}));
        ini.setValue(QStringLiteral("DATA"), QStringLiteral("년도"), QStringLiteral("2026"));
        ASSERT_TRUE(ini.save()) << ini.error().toStdString();
        EXPECT_EQ(read(file()), expected);
    }
}

// CP949 whose bytes also happen to be valid UTF-8 ("징" is C2 A1) stays CP949.
TEST_F(IniFileTest, Cp949ThatLooksLikeUtf8) {
    write(file(), Cp949::encode(QStringLiteral("[DATA]\r\n관=징\r\n")));
    IniFile ini(file());
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.value(QStringLiteral("DATA"), QStringLiteral("관")), QStringLiteral("징"));
}

// A file over the limit is refused with the limit named and never replaced;
// a value CP949 cannot hold is not written as '?'.
TEST_F(IniFileTest, RefusalsLeaveTheFile) {
    QByteArray big = "[DATA]\r\n";
    big += QByteArray("x=") + QByteArray(IniFile::MaxBytes, 'a');
    write(file(), big);
    IniFile ini(file());
    EXPECT_FALSE(ini.load());
    EXPECT_TRUE(ini.error().contains(QStringLiteral("최대 1 MB"))) << ini.error().toStdString();
    ini.setValue(QStringLiteral("DATA"), QStringLiteral("x"), QStringLiteral("b"));
    EXPECT_FALSE(ini.save());
    EXPECT_EQ(read(file()), big);

    const QByteArray small = Cp949::encode(QStringLiteral("[DATA]\r\n관=교육비\r\n\r\n"));
    write(file("b.ini"), small);
    IniFile b(file("b.ini"));
    ASSERT_TRUE(b.load());
    b.setValue(QStringLiteral("DATA"), QStringLiteral("관"), QStringLiteral("교육비 😀"));
    EXPECT_FALSE(b.save());
    EXPECT_TRUE(b.error().contains(QStringLiteral("CP949")));
    EXPECT_EQ(read(file("b.ini")), small);

    // The registry's own UTF-8 file keeps what CP949 cannot hold.
    IniFile u(file("u.ini"), IniFile::Encoding::Utf8);
    u.setValue(QStringLiteral("S"), QStringLiteral("k"), QStringLiteral("😀"));
    ASSERT_TRUE(u.save());
    IniFile u2(file("u.ini"), IniFile::Encoding::Utf8);
    ASSERT_TRUE(u2.load());
    EXPECT_EQ(u2.value(QStringLiteral("S"), QStringLiteral("k")), QStringLiteral("😀"));
}

} // namespace
