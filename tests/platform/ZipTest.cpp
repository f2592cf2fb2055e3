#include "platform/archive/Zip.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <zip.h>

namespace {

void writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// An archive with raw entry names, as another tool might have written it.
void rawArchive(const QString& path, const QList<std::pair<QByteArray, QByteArray>>& entries) {
    int err = 0;
    zip_t* za = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    ASSERT_NE(za, nullptr);
    for (const auto& e : entries) {
        char* copy = static_cast<char*>(malloc(size_t(e.second.size()) + 1));
        memcpy(copy, e.second.constData(), size_t(e.second.size()));
        zip_source_t* s = zip_source_buffer(za, copy, zip_uint64_t(e.second.size()), 1);
        ASSERT_GE(zip_file_add(za, e.first.constData(), s, ZIP_FL_ENC_RAW), 0);
    }
    ASSERT_EQ(zip_close(za), 0);
}

TEST(Zip, FolderGoesInFlatInNameOrderWithoutSubfolders) {
    QTemporaryDir t;
    QDir(t.path()).mkpath(QStringLiteral("src/sub"));
    writeFile(t.filePath(QStringLiteral("src/b.txt")), "bee");
    writeFile(t.filePath(QStringLiteral("src/A.txt")), "ay");
    writeFile(t.filePath(QStringLiteral("src/c.TXT")), QByteArray(100000, 'c'));
    writeFile(t.filePath(QStringLiteral("src/sub/deep.txt")), "deep");
    const QString zip = t.filePath(QStringLiteral("out.zip"));
    ASSERT_TRUE(Zip::addFolder(zip, t.filePath(QStringLiteral("src"))));

    QStringList names;
    ASSERT_TRUE(Zip::entries(zip, &names));
    EXPECT_EQ(names,
              (QStringList{QStringLiteral("A.txt"), QStringLiteral("b.txt"), QStringLiteral("c.TXT")}));

    QDir(t.path()).mkdir(QStringLiteral("dst"));
    ASSERT_TRUE(Zip::extractAll(zip, t.filePath(QStringLiteral("dst"))));
    EXPECT_EQ(readFile(t.filePath(QStringLiteral("dst/c.TXT"))), QByteArray(100000, 'c'));
    EXPECT_EQ(readFile(t.filePath(QStringLiteral("dst/A.txt"))), "ay");
}

TEST(Zip, AddingToAnArchiveReplacesSameNamesAndKeepsTheRest) {
    QTemporaryDir t;
    writeFile(t.filePath(QStringLiteral("one")), "1");
    writeFile(t.filePath(QStringLiteral("two")), "2");
    const QString zip = t.filePath(QStringLiteral("p.zip"));
    ASSERT_TRUE(Zip::add(zip, {{QStringLiteral("one"), t.filePath(QStringLiteral("one"))},
                               {QStringLiteral("two"), t.filePath(QStringLiteral("two"))}}));
    writeFile(t.filePath(QStringLiteral("one")), "uno");
    ASSERT_TRUE(Zip::add(zip, {{QStringLiteral("one"), t.filePath(QStringLiteral("one"))}}));

    QStringList names;
    ASSERT_TRUE(Zip::entries(zip, &names));
    EXPECT_EQ(names.size(), 2);
    QDir(t.path()).mkdir(QStringLiteral("x"));
    ASSERT_TRUE(Zip::extractAll(zip, t.filePath(QStringLiteral("x"))));
    EXPECT_EQ(readFile(t.filePath(QStringLiteral("x/one"))), "uno");
    EXPECT_EQ(readFile(t.filePath(QStringLiteral("x/two"))), "2");
}

TEST(Zip, EmptyFolderGivesAValidEmptyArchive) {
    QTemporaryDir t;
    QDir(t.path()).mkdir(QStringLiteral("empty"));
    const QString zip = t.filePath(QStringLiteral("e.zip"));
    ASSERT_TRUE(Zip::addFolder(zip, t.filePath(QStringLiteral("empty"))));
    QStringList names{QStringLiteral("x")};
    names.clear();
    ASSERT_TRUE(Zip::entries(zip, &names));
    EXPECT_TRUE(names.isEmpty());
    // It can itself go into another archive.
    ASSERT_TRUE(Zip::add(t.filePath(QStringLiteral("pkg.zip")), {{QStringLiteral("e.zip"), zip}}));
}

TEST(Zip, FailedWriteLeavesAnExistingArchiveAsItWas) {
    QTemporaryDir t;
    writeFile(t.filePath(QStringLiteral("a")), "a");
    const QString zip = t.filePath(QStringLiteral("keep.zip"));
    ASSERT_TRUE(Zip::add(zip, {{QStringLiteral("a"), t.filePath(QStringLiteral("a"))}}));
    const QByteArray before = readFile(zip);
    QString error;
    EXPECT_FALSE(Zip::add(zip, {{QStringLiteral("b"), t.filePath(QStringLiteral("missing"))}}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(readFile(zip), before);
    EXPECT_FALSE(Zip::add(t.filePath(QStringLiteral("no-such-dir/x.zip")),
                          {{QStringLiteral("a"), t.filePath(QStringLiteral("a"))}}));
}

TEST(Zip, ExtractionRefusesNamesThatLeaveTheFolder) {
    const struct {
        const char* label;
        QByteArray name;
    } cases[] = {
        {"parent", "../evil.txt"},     {"dotdot alone", ".."},
        {"absolute", "/tmp/evil.txt"}, {"sub-folder", "sub/x.txt"},
        {"backslash", "..\\evil"},     {"drive", "C:evil.txt"},
        {"directory entry", "dir/"},   {"dot", "."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        QTemporaryDir t;
        const QString zip = t.filePath(QStringLiteral("bad.zip"));
        rawArchive(zip, {{"good.txt", "fine"}, {c.name, "bad"}});
        QDir(t.path()).mkpath(QStringLiteral("out/inner"));
        const QString out = t.filePath(QStringLiteral("out/inner"));
        QString error;
        EXPECT_FALSE(Zip::extractAll(zip, out, &error));
        EXPECT_FALSE(error.isEmpty());
        // Nothing at all was written, not even the good entry.
        EXPECT_TRUE(QDir(out).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
        EXPECT_TRUE(QDir(t.filePath(QStringLiteral("out"))).entryList(QDir::Files).isEmpty());
        EXPECT_FALSE(QFile::exists(t.filePath(QStringLiteral("evil.txt"))));
    }
}

TEST(Zip, NotAZipAndCorruptDataAreErrors) {
    QTemporaryDir t;
    const QString junk = t.filePath(QStringLiteral("junk.zip"));
    writeFile(junk, "this is not a zip file at all");
    QStringList names;
    EXPECT_FALSE(Zip::entries(junk, &names));
    EXPECT_FALSE(Zip::extractAll(junk, t.path()));

    // A flipped byte inside the stored data fails its CRC: no file is left.
    const QString zip = t.filePath(QStringLiteral("crc.zip"));
    writeFile(t.filePath(QStringLiteral("data.bin")), QByteArray(4096, 'z'));
    {
        int err = 0;
        zip_t* za = zip_open(QFile::encodeName(zip).constData(), ZIP_CREATE, &err);
        zip_source_t* s =
            zip_source_file(za, QFile::encodeName(t.filePath(QStringLiteral("data.bin"))).constData(), 0, -1);
        const zip_int64_t idx = zip_file_add(za, "data.bin", s, 0);
        zip_set_file_compression(za, zip_uint64_t(idx), ZIP_CM_STORE, 0);
        ASSERT_EQ(zip_close(za), 0);
    }
    QByteArray bytes = readFile(zip);
    const int at = bytes.indexOf(QByteArray(64, 'z'));
    ASSERT_GT(at, 0);
    bytes[at + 10] = 'y';
    writeFile(zip, bytes);
    QDir(t.path()).mkdir(QStringLiteral("o"));
    EXPECT_FALSE(Zip::extractAll(zip, t.filePath(QStringLiteral("o"))));
    EXPECT_TRUE(QDir(t.filePath(QStringLiteral("o"))).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

} // namespace
