#include "platform/sheet/SheetReader.h"
#include "platform/sheet/SheetValue.h"
#include "platform/sheet/Workbook.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>
#include <zip.h>

namespace {

QString fixture(const char* name) {
    return QStringLiteral(ZQ_TEST_SOURCE_DIR "/platform/sheets/") + QString::fromUtf8(name);
}

QByteArray part(const QString& xlsx, const char* name) {
    int err = 0;
    zip_t* z = zip_open(QFile::encodeName(xlsx).constData(), ZIP_RDONLY, &err);
    if (!z) return {};
    QByteArray out;
    if (zip_file_t* f = zip_fopen(z, name, 0)) {
        char buf[4096];
        zip_int64_t n;
        while ((n = zip_fread(f, buf, sizeof buf)) > 0) out.append(buf, qsizetype(n));
        zip_fclose(f);
    }
    zip_discard(z);
    return out;
}


struct Expect {
    int row, col;
    QVariant value; // invalid: empty cell
    const char* text;
};

void expectCells(const SheetTable& t, const QList<Expect>& cells) {
    for (const Expect& e : cells) {
        SCOPED_TRACE(QStringLiteral("%1%2").arg(Workbook::columnName(e.col)).arg(e.row).toStdString());
        EXPECT_EQ(t.value(e.row, e.col), e.value);
        EXPECT_EQ(t.text(e.row, e.col), QString::fromUtf8(e.text));
    }
}

// The same cells through either writer: Workbook or WorkbookStream.
template <class W>
void writeSample(W& wb) {
    wb.writeRow(QStringLiteral("A1"), {QStringLiteral("학생고유번호"), QStringLiteral("학생명"), QStringLiteral("금액")});
    wb.writeRow(2, 1, {QStringLiteral("'0012300001"), QStringLiteral("'홍길동"), 12345, 2.5, true});
    wb.writeRow(3, 1, {QStringLiteral("'"), QVariant(), qint64(9901011234567)});
    wb.writeCell(QStringLiteral("C4"), QStringLiteral("바뀔 값 아주 아주 긴 것"));
    wb.writeCell(QStringLiteral("B4"), QStringLiteral("마지막"));
    wb.writeCell(QStringLiteral("C4"), QVariant()); // emptied again before the next row
}

void expectSample(const QString& file, const std::function<double(int)>& width) {
    QString error;
    const std::optional<SheetTable> t = SheetReader::read(file, 1, &error);
    ASSERT_TRUE(t) << error.toStdString();
    EXPECT_EQ(t->rowCount(), 4);
    EXPECT_EQ(t->columnCount(), 5);
    expectCells(*t, {
                        {1, 1, QStringLiteral("학생고유번호"), "학생고유번호"},
                        {2, 1, QStringLiteral("0012300001"), "0012300001"}, // apostrophe gone, zeros kept
                        {2, 2, QStringLiteral("홍길동"), "홍길동"},
                        {2, 3, 12345.0, "12345"},
                        {2, 4, 2.5, "2.5"},
                        {2, 5, true, "TRUE"},
                        {3, 1, QVariant(), ""}, // the apostrophe alone is an empty cell
                        {3, 3, 9901011234567.0, "9901011234567"},
                        {4, 2, QStringLiteral("마지막"), "마지막"},
                        {4, 3, QVariant(), ""},
                    });
    // Columns fitted to CP949 bytes plus a margin: "학생고유번호" is 12
    // bytes, each name 6, the widest number 13 digits.
    EXPECT_DOUBLE_EQ(width(1), 14);
    EXPECT_DOUBLE_EQ(width(2), 8);
    EXPECT_DOUBLE_EQ(width(3), 15);
    EXPECT_EQ(width(6), 0);
    const QByteArray sheet = part(file, "xl/worksheets/sheet1.xml");
    EXPECT_TRUE(sheet.contains("<cols>")) << sheet.constData();
    EXPECT_TRUE(sheet.contains("<col min=\"1\" max=\"1\" width=\"14.")) << sheet.constData();
    EXPECT_FALSE(sheet.contains("activeCell=\"") && !sheet.contains("activeCell=\"A1\""));
}

TEST(Sheet, WrittenWorkbookReadsBackWithItsTypes) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("out.xlsx"));
    Workbook wb;
    writeSample(wb);
    QString error;
    ASSERT_TRUE(wb.save(file, &error)) << error.toStdString();
    expectSample(file, [&wb](int col) { return wb.columnWidth(col); });
}

// Streamed, the sheet is the same; its texts are written in the cells
// themselves rather than in a shared table.
TEST(Sheet, StreamedWorkbookIsTheSameSheet) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("out.xlsx"));
    WorkbookStream wb(file);
    writeSample(wb);
    EXPECT_EQ(wb.lastRow(), 4);
    QString error;
    ASSERT_TRUE(wb.finish(&error)) << error.toStdString();
    expectSample(file, [&wb](int col) { return wb.columnWidth(col); });
    EXPECT_TRUE(part(file, "xl/worksheets/sheet1.xml").contains("t=\"inlineStr\""));
    EXPECT_TRUE(part(file, "xl/sharedStrings.xml").isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("out.xlsx")});
    EXPECT_FALSE(wb.writeCell(5, 1, QStringLiteral("닫힌 뒤"))); // finished: closed
}

int openFiles() { return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size()); }

// Whatever stops a stream, the target keeps its old content, no temporary
// file stays and no file is left open.
TEST(Sheet, StreamStoppedLeavesTheOldFile) {
    struct Case {
        const char* name;
        std::function<void(WorkbookStream&)> write;
        bool finish; // false: the stream is dropped unfinished
        const char* error; // part of the error, "" for none
    };
    const QList<Case> cases{
        {"an earlier row after a later one",
         [](WorkbookStream& wb) {
             wb.writeRow(1, 1, {QStringLiteral("a"), QStringLiteral("b")});
             wb.writeRow(3, 1, {QStringLiteral("c")});
             EXPECT_FALSE(wb.writeCell(2, 1, QStringLiteral("늦음")));
             EXPECT_FALSE(wb.writeCell(4, 1, QStringLiteral("이후도 거절")));
         },
         true, "3행 다음에 2행"},
        {"a cell over the sheet's limit, found when the next row starts",
         [](WorkbookStream& wb) {
             wb.writeCell(1, 1, QString(40000, QLatin1Char('x')));
             EXPECT_FALSE(wb.writeCell(2, 1, QStringLiteral("다음")));
         },
         true, "A1"},
        {"a cell over the sheet's limit in the last row",
         [](WorkbookStream& wb) {
             wb.writeCell(1, 1, QStringLiteral("앞"));
             wb.writeCell(2, 1, QString(40000, QLatin1Char('x')));
         },
         true, "A2"},
        {"dropped before finish",
         [](WorkbookStream& wb) {
             for (int r = 1; r <= 2000; ++r)
                 wb.writeRow(r, 1, {QStringLiteral("'%1").arg(r), QStringLiteral("학생%1").arg(r)});
         },
         false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("학생명부.xlsx"));
        {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("old");
        }
        const int open = openFiles();
        {
            WorkbookStream wb(file);
            c.write(wb);
            if (c.finish) {
                QString error;
                EXPECT_FALSE(wb.finish(&error));
                EXPECT_TRUE(error.contains(QString::fromUtf8(c.error))) << error.toStdString();
                EXPECT_EQ(wb.error(), error);
            }
        }
        EXPECT_EQ(openFiles(), open);
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), QByteArray("old"));
        f.close();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("학생명부.xlsx")});
    }

    QTemporaryDir dir;
    WorkbookStream nowhere(dir.filePath(QStringLiteral("no/such/folder/x.xlsx")));
    EXPECT_FALSE(nowhere.writeCell(1, 1, QStringLiteral("a")));
    QString error;
    EXPECT_FALSE(nowhere.finish(&error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(Sheet, SaveReplacesWholeOrLeavesTheOldFile) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("학생명부.xlsx"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("old");
    }
    Workbook bad;
    bad.writeCell(1, 1, QString(40000, QLatin1Char('x'))); // over the sheet's cell limit
    QString error;
    EXPECT_FALSE(bad.save(file, &error));
    EXPECT_FALSE(error.isEmpty());
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old"));
    f.close();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("학생명부.xlsx")});

    EXPECT_FALSE(bad.save(dir.filePath(QStringLiteral("no/such/folder/x.xlsx")), &error));

    Workbook good;
    good.writeCell(1, 1, QStringLiteral("새것"));
    ASSERT_TRUE(good.save(file, &error)) << error.toStdString();
    EXPECT_EQ(SheetReader::read(file)->text(1, 1), QStringLiteral("새것"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST(Sheet, ReadsWhatOpenpyxlWrote) {
    QString error;
    const QString file = fixture("openpyxl.xlsx");
    EXPECT_EQ(SheetReader::sheetNames(file, &error), QStringList({QStringLiteral("학생"), QStringLiteral("둘째")}));
    const std::optional<SheetTable> t = SheetReader::read(file, 1, &error);
    ASSERT_TRUE(t) << error.toStdString();
    expectCells(*t, {
                        {1, 1, QStringLiteral("학번"), "학번"},
                        {2, 1, 10101.0, "10101"},
                        {2, 3, 12345.0, "12345"},
                        {2, 4, 3.5, "3.5"},
                        {2, 5, 9901011234567.0, "9901011234567"},
                        {2, 6, true, "TRUE"},
                        {2, 7, QDate(2026, 3, 2), "20260302"}, // a date cell reads as its date
                        {2, 8, QVariant(), ""},
                        {3, 1, QStringLiteral("00123"), "00123"},
                        {3, 2, QStringLiteral("김 철수 "), "김 철수 "},
                        {3, 3, -7.0, "-7"},
                        {3, 4, 0.1, "0.1"},
                        {3, 7, QDate(2026, 3, 16), "20260316"},
                        {5, 10, QStringLiteral("멀리"), "멀리"},
                    });
    EXPECT_EQ(t->rowCount(), 5);
    EXPECT_EQ(t->regionRows(), 3); // row 4 is empty
    const std::optional<SheetTable> second = SheetReader::read(file, QStringLiteral("둘째"), &error);
    ASSERT_TRUE(second) << error.toStdString();
    EXPECT_EQ(second->text(1, 1), QStringLiteral("둘째 시트"));
    EXPECT_FALSE(SheetReader::read(file, QStringLiteral("없음"), &error));
    EXPECT_FALSE(SheetReader::read(file, 3, &error));
}

TEST(Sheet, ReadsAbsolutePartsInlineStringsAndCellsWithoutReferences) {
    QString error;
    const std::optional<SheetTable> t = SheetReader::read(fixture("handmade.xlsx"), QStringLiteral("Data"), &error);
    ASSERT_TRUE(t) << error.toStdString();
    expectCells(*t, {
                        {1, 1, QStringLiteral(" 앞뒤 공백 "), " 앞뒤 공백 "},
                        {1, 2, QStringLiteral("굵은글씨"), "굵은글씨"}, // runs joined, reading left out
                        {1, 3, QStringLiteral("인라인"), "인라인"},
                        {2, 1, 1000.0, "1000"},
                        {2, 2, QStringLiteral("계산\r값"), "계산\r값"},
                        {2, 3, false, "FALSE"},
                        {2, 4, QStringLiteral("#N/A"), "#N/A"},
                        {5, 2, QVariant(), ""},
                        {5, 4, QDate(2026, 3, 16), "20260316"},
                    });
    EXPECT_EQ(t->regionRows(), 2);
}

TEST(Sheet, ReadsOldXlsFiles) {
    QString error;
    const QString file = fixture("xlwt.xls");
    EXPECT_EQ(SheetReader::sheetNames(file, &error), QStringList({QStringLiteral("첫시트"), QStringLiteral("둘째")}));
    const std::optional<SheetTable> t = SheetReader::read(file, 1, &error);
    ASSERT_TRUE(t) << error.toStdString();
    EXPECT_EQ(t->rowCount(), 3);
    expectCells(*t, {
                        {1, 2, QStringLiteral("성명"), "성명"},
                        {2, 1, 10101.0, "10101"},
                        {2, 2, QStringLiteral("홍길동"), "홍길동"},
                        {2, 3, 12345.0, "12345"},
                        {2, 4, QDate(2026, 3, 2), "20260302"},
                        {3, 1, QStringLiteral("00123"), "00123"},
                        {3, 3, 2.25, "2.25"},
                        {3, 4, QVariant(), ""},
                    });
    EXPECT_EQ(SheetReader::read(file, QStringLiteral("둘째"), &error)->text(1, 1), QStringLiteral("둘째 시트"));
}

TEST(Sheet, RefusesWhatIsNoWorkbook) {
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("a.xlsx"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("학번,성명\n");
    f.close();
    const QString broken = dir.filePath(QStringLiteral("b.xlsx"));
    QFile b(broken);
    ASSERT_TRUE(b.open(QIODevice::WriteOnly));
    b.write("PK\x03\x04 not really a zip");
    b.close();
    for (const QString& p : {text, broken, dir.filePath(QStringLiteral("missing.xlsx"))}) {
        QString error;
        EXPECT_FALSE(SheetReader::read(p, 1, &error)) << p.toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(Sheet, CellReferences) {
    const struct {
        const char* ref;
        int row, col;
    } ok[] = {{"A1", 1, 1}, {"q17", 17, 17}, {"AA3", 3, 27}, {"XFD1048576", 1048576, 16384}};
    for (const auto& c : ok) {
        int r = 0, k = 0;
        EXPECT_TRUE(Workbook::parseRef(QString::fromLatin1(c.ref), &r, &k)) << c.ref;
        EXPECT_EQ(r, c.row) << c.ref;
        EXPECT_EQ(k, c.col) << c.ref;
        EXPECT_EQ(Workbook::columnName(c.col), QString::fromLatin1(c.ref).toUpper().remove(QRegularExpression("\\d")));
    }
    for (const char* bad : {"", "A", "1", "A0", "1A", "XFE1", "A1048577"}) {
        int r = 0, k = 0;
        EXPECT_FALSE(Workbook::parseRef(QString::fromLatin1(bad), &r, &k)) << bad;
    }
}

} // namespace
