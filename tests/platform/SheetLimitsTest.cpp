// Workbooks out of proportion and cells whose format gives them their
// meaning, written part by part.
#include "platform/sheet/SheetReader.h"
#include "support/XlsxParts.h"

#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

namespace {

using XlsxParts::Book;
using XlsxParts::cell;

QByteArray rows(int from, int to, const std::function<QByteArray(int)>& cells) {
    QByteArray out;
    for (int r = from; r <= to; ++r)
        out += "<row r=\"" + QByteArray::number(r) + "\">" + cells(r) + "</row>";
    return out;
}

QByteArray repeated(const QByteArray& what, int times) {
    QByteArray out;
    out.reserve(what.size() * times);
    for (int i = 0; i < times; ++i) out += what;
    return out;
}

struct LimitsGuard {
    explicit LimitsGuard(const SheetLimits& l) { SheetReader::setLimits(l); }
    ~LimitsGuard() { SheetReader::setLimits({}); }
};

struct Hostile {
    const char* name;
    std::function<Book()> book;
    std::function<void(SheetLimits&)> limits; // smaller limits to reach with a small file
    const char* refusal;                      // nullptr: read, see rows
    int rows;
};

TEST(SheetLimits, HostileWorkbooksAreReadWithinBoundsOrRefusedNamingTheLimit) {
    const QByteArray header = cell("A1", "0", "s");
    const Hostile cases[] = {
        {"a cell at column XFD in each of 12,000 rows: the rows count, the far cells are not kept",
         [&] {
             return Book{header + rows(2, 12001, [](int r) { return cell(("XFD" + std::to_string(r)).c_str(), "1"); }),
                         "<si><t>학번</t></si>"};
         },
         nullptr, nullptr, 12001},
        {"a sheet part of empty rows packed a thousand to one",
         [] { return Book{repeated("<row/>", 1000000)}; }, nullptr, "압축률이 200배를 넘는 부분", 0},
        {"a sheet part over the unpacked size limit",
         [] { return Book{rows(1, 40000, [](int r) { return cell(("A" + std::to_string(r)).c_str(), QByteArray::number(r * 7919)); })}; },
         [](SheetLimits& l) {
             l.partBytes = 1024 * 1024;
             l.ratio = 100000;
         },
         "압축을 푼 크기가 1MB를 넘는 부분", 0},
        {"one shared string of 2 MB", [] { return Book{cell("A1", "0", "s"), "<si><t>" + repeated("가", 700000) + "</t></si>"}; },
         nullptr, "한 항목이 1MB를 넘는 부분", 0},
        {"one shared string over a cell's 32,767 characters",
         [] { return Book{cell("A1", "0", "s"), "<si><t>" + repeated("x", 40000) + "</t></si>"}; }, nullptr,
         "셀 하나의 글자가 32767자를 넘어", 0},
        {"a shared string split in runs over a cell's length",
         [] {
             return Book{cell("A1", "0", "s"), "<si>" + repeated("<r><t>" + repeated("x", 1000) + "</t></r>", 300) + "</si>"};
         },
         nullptr, "셀 하나의 글자가 32767자를 넘어", 0},
        {"more shared strings than the limit", [&] { return Book{header, repeated("<si><t>a</t></si>", 1001)}; },
         [](SheetLimits& l) { l.sharedStrings = 1000; }, "공유 문자열이 1000개를 넘어", 0},
        {"shared strings over the total text limit", [&] { return Book{header, repeated("<si><t>abcdefghij</t></si>", 200)}; },
         [](SheetLimits& l) { l.textChars = 1000; }, "글자가 모두 1000자를 넘어", 0},
        {"inline strings over the total text limit",
         [] {
             return Book{rows(1, 200, [](int r) {
                 return "<c r=\"A" + QByteArray::number(r) + "\" t=\"inlineStr\"><is><t>abcdefghij</t></is></c>";
             })};
         },
         [](SheetLimits& l) { l.textChars = 1000; }, "글자가 모두 1000자를 넘어", 0},
        {"cells without references running past column XFD",
         [] { return Book{"<row r=\"1\">" + repeated("<c><v>1</v></c>", 16385) + "</row>"}; }, nullptr,
         "열이 16384개를 넘는", 0},
        {"a million rows", [] { return Book{rows(1, 1000000, [](int) { return QByteArray("<c><v>1</v></c>"); })}; },
         nullptr, "자료가 있는 행이 100000행을 넘는", 0},
        {"rows up to the row limit are read", [] { return Book{rows(1, 500, [](int) { return QByteArray("<c><v>1</v></c>"); })}; },
         [](SheetLimits& l) { l.rows = 500; }, nullptr, 500},
    };
    QTemporaryDir dir;
    for (const Hostile& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = dir.filePath(QStringLiteral("hostile.xlsx"));
        ASSERT_TRUE(XlsxParts::write(file, c.book()));
        SheetLimits l;
        if (c.limits) c.limits(l);
        LimitsGuard guard(l);
        QString error;
        const std::optional<SheetTable> t = SheetReader::read(file, 1, &error, SheetOptions{12});
        if (!c.refusal) {
            ASSERT_TRUE(t) << error.toStdString();
            EXPECT_EQ(t->rowCount(), c.rows);
            EXPECT_EQ(t->regionRows(), c.rows);
            EXPECT_LE(t->columnCount(), 12);
            continue;
        }
        EXPECT_FALSE(t);
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.refusal))) << error.toStdString();
    }
}

TEST(SheetLimits, AllColumnsOfAFarCellAreNotPadded) {
    // Read with every column kept, a cell at XFD is one cell, not a row of
    // 16,384.
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("far.xlsx"));
    ASSERT_TRUE(XlsxParts::write(file, Book{rows(1, 12000, [](int r) {
                                                return cell(("XFD" + std::to_string(r)).c_str(), "5");
                                            })}));
    QString error;
    const std::optional<SheetTable> t = SheetReader::read(file, 1, &error);
    ASSERT_TRUE(t) << error.toStdString();
    EXPECT_EQ(t->rowCount(), 12000);
    EXPECT_EQ(t->columnCount(), 16384);
    EXPECT_EQ(t->text(12000, 16384), QStringLiteral("5"));
    EXPECT_EQ(t->value(12000, 16383), QVariant());
}

TEST(SheetLimits, DateFormatsReadAsDatesOtherNumbersAsTheirDigits) {
    // Style 1: built-in 14 (a date); 2: a custom Korean date; 3: a time of
    // day; 4: a number with two decimals; 5: built-in 31, the Korean
    // edition's year-month-day; 6: a custom code with "d" only in quotes.
    const QByteArray styles =
        "<numFmts><numFmt numFmtId=\"164\" formatCode=\"yyyy&quot;년&quot; m&quot;월&quot; d&quot;일&quot;\"/>"
        "<numFmt numFmtId=\"165\" formatCode=\"h:mm\"/>"
        "<numFmt numFmtId=\"166\" formatCode=\"0&quot;d&quot;\"/></numFmts>"
        "<cellStyleXfs><xf numFmtId=\"14\"/></cellStyleXfs>"
        "<cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/><xf numFmtId=\"164\"/><xf numFmtId=\"165\"/>"
        "<xf numFmtId=\"2\"/><xf numFmtId=\"31\"/><xf numFmtId=\"166\"/></cellXfs>";
    const struct {
        const char* ref;
        QByteArray cell;
        const char* text;
    } cells[] = {
        {"A1", cell("A1", "45718", nullptr, 1), "20250302"},
        {"B1", cell("B1", "45718.75", nullptr, 2), "20250302"},
        {"C1", cell("C1", "0.5", nullptr, 3), "0.5"},
        {"D1", cell("D1", "1011112222", nullptr, 4), "1011112222"},
        {"E1", cell("E1", "46083", nullptr, 5), "20260302"},
        {"F1", cell("F1", "45718", nullptr, 6), "45718"},
        {"G1", cell("G1", "45718", nullptr, 0), "45718"},
        {"H1", cell("H1", "45718"), "45718"},
        {"I1", cell("I1", "1234567890123456"), "1234567890123456"},
        {"J1", cell("J1", "10101.0"), "10101"},
    };
    QByteArray row = "<row r=\"1\">";
    for (const auto& c : cells) row += c.cell;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("dates.xlsx"));
    ASSERT_TRUE(XlsxParts::write(file, Book{row + "</row>", {}, styles}));
    QString error;
    const std::optional<SheetTable> t = SheetReader::read(file, 1, &error);
    ASSERT_TRUE(t) << error.toStdString();
    for (int i = 0; i < int(std::size(cells)); ++i)
        EXPECT_EQ(t->text(1, i + 1), QString::fromUtf8(cells[i].text)) << cells[i].ref;
    EXPECT_EQ(t->value(1, 1), QVariant(QDate(2025, 3, 2)));

    // The 1904 date system counts from another day.
    ASSERT_TRUE(XlsxParts::write(file, Book{"<row r=\"1\">" + cell("A1", "44256", nullptr, 1) + "</row>", {}, styles,
                                            "date1904=\"1\""}));
    EXPECT_EQ(SheetReader::read(file, 1, &error)->text(1, 1), QStringLiteral("20250302"));
}

} // namespace

namespace {

TEST(SheetLimits, OldXlsFileDeclaringTheWholeSheetIsRefusedBeforeItIsUnpacked) {
    // libfreexl would set aside 65,536 x 256 cells for this 5 KB file.
    QString error;
    const QString file = QStringLiteral(ZQ_TEST_SOURCE_DIR "/platform/sheets/xlwt_far.xls");
    EXPECT_FALSE(SheetReader::read(file, 1, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("행과 열이 2000000칸을 넘는"))) << error.toStdString();
    // With room for it, the far cell is there and only the kept columns are.
    SheetLimits l;
    l.xlsCells = 65536 * 256;
    LimitsGuard guard(l);
    std::optional<SheetTable> t = SheetReader::read(file, 1, &error, SheetOptions{12});
    ASSERT_TRUE(t) << error.toStdString();
    EXPECT_EQ(t->text(1, 1), QStringLiteral("학번"));
    EXPECT_EQ(t->columnCount(), 1);
    EXPECT_EQ(t->rowCount(), 65536); // the far cell's row is held, its value is not
    EXPECT_TRUE(t->text(65536, 256).isEmpty());
    l.rows = 1;
    SheetReader::setLimits(l);
    EXPECT_FALSE(SheetReader::read(file, 1, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("1행을 넘는"))) << error.toStdString();
}

} // namespace

namespace {

TEST(SheetLimits, RowWithValuesOnlyPastTheKeptColumnsEndsNoRegionInEitherFormat) {
    // Row 4 holds only a memo in column M; two students follow it.
    struct Case {
        const char* file;
        int columns;
    };
    const Case cases[] = {{"memo_row.xls", 12}, {"memo_row.xlsx", 12}, {"memo_row.xls", 4},
                          {"memo_row.xlsx", 4}, {"memo_row.xls", 0},   {"memo_row.xlsx", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " keeping " + std::to_string(c.columns));
        const QString file =
            QStringLiteral(ZQ_TEST_SOURCE_DIR "/platform/sheets/") + QString::fromUtf8(c.file);
        QString error;
        std::optional<SheetTable> t = SheetReader::read(file, 1, &error, SheetOptions{c.columns});
        ASSERT_TRUE(t) << error.toStdString();
        EXPECT_EQ(t->regionRows(), 6);
        EXPECT_EQ(t->text(5, 1), QStringLiteral("10103"));
        EXPECT_EQ(t->text(6, 2), QStringLiteral("최지우"));
        EXPECT_EQ(t->text(4, 13), c.columns ? QString() : QStringLiteral("메모만 있는 줄"));
        // The memo's row counts toward the row limit though its value is not kept.
        SheetLimits l;
        l.rows = 5;
        LimitsGuard guard(l);
        EXPECT_FALSE(SheetReader::read(file, 1, &error, SheetOptions{c.columns}));
        EXPECT_TRUE(error.contains(QStringLiteral("5행을 넘는"))) << error.toStdString();
    }
}

TEST(SheetLimits, OldXlsCellsAtRow513AreNoSheetDeclaration) {
    // Number records at row 513, columns K and O, begin with the bytes of a
    // DIMENSION record; what follows them read as millions of cells.
    const QString file = QStringLiteral(ZQ_TEST_SOURCE_DIR "/platform/sheets/xlwt_row513.xls");
    QString error;
    std::optional<SheetTable> t = SheetReader::read(file, 1, &error);
    ASSERT_TRUE(t) << error.toStdString();
    EXPECT_EQ(t->value(513, 11), QVariant(123456789.123));
    EXPECT_EQ(t->value(513, 15), QVariant(987654321.987));
    EXPECT_EQ(t->text(514, 1), QStringLiteral("아래"));
    t = SheetReader::read(file, 1, &error, SheetOptions{12});
    ASSERT_TRUE(t) << error.toStdString();
    EXPECT_EQ(t->value(513, 11), QVariant(123456789.123));
    EXPECT_FALSE(t->value(513, 15).isValid());
    EXPECT_EQ(t->rowCount(), 514);
}

} // namespace
