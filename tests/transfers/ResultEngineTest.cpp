#include "support/TestRoot.h"

#include "data/AppliedFiles.h"
#include "platform/db/Database.h"

#include "transfers/common/ResultEngine.h"
#include "transfers/distribution/DistribResult.h"
#include "transfers/registration/RegRun.h"

#include <QFile>

#include <functional>
#include <vector>

namespace {

namespace RE = ResultEngine;

// Every layout a result reader reads, with a record width where the layout
// takes the header's.
struct Kind {
    const char* name;
    const RE::Layout* layout;
    int width;
};

QList<Kind> kinds() {
    using DR = DistribResult::Reader;
    return {
        {"collection 200", &ResultFile::layoutOf(ResultReader::NH200), 200},
        {"collection NH 80", &ResultFile::layoutOf(ResultReader::NH80), 80},
        {"collection bank 12", &ResultFile::layoutOf(ResultReader::NH12), 80},
        {"collection 100A", &ResultFile::layoutOf(ResultReader::Layout100A), 100},
        {"collection 100B", &ResultFile::layoutOf(ResultReader::Layout100B), 100},
        {"collection 80", &ResultFile::layoutOf(ResultReader::Layout80), 80},
        {"distribution 80", &DistribResult::checksOf(DR::Std), 0},
        {"distribution NH", &DistribResult::checksOf(DR::NH), 0},
        {"distribution bank 12", &DistribResult::checksOf(DR::Bank12), 0},
        {"distribution bank 03", &DistribResult::checksOf(DR::Bank03), 0},
        {"registration", &RegRun::resultLayout(), 0},
    };
}

QByteArray put(QByteArray line, RE::Field f, qint64 v) {
    if (f.valid()) line.replace(f.off, f.width, QByteArray::number(v).rightJustified(f.width, '0'));
    return line;
}

// A file the layout accepts: a header, two processed data records of 1,000
// and 2,500 with the reply code "0000", and a trailer that counts and sums
// them. Its transfer date is a few days before the tests' today.
QList<QByteArray> goodFile(const RE::Layout& L, int width) {
    const int w = L.width ? L.width : width;
    QByteArray head(w, ' '), rec(w, ' '), tail(w, ' ');
    head[0] = L.trailMark ? 'S' : 'H';
    if (L.headDate.valid())
        head.replace(L.headDate.off, L.headDate.width, L.headDate.width == 6 ? "260310" : "20260310");
    rec.replace(0, L.dataMark.size(), L.dataMark);
    rec[L.flag.off] = L.okMark;
    if (L.recDate.valid()) rec.replace(L.recDate.off, L.recDate.width, "260310");
    if (L.reply.valid()) rec.replace(L.reply.off, L.reply.width, QByteArray(L.reply.width, '0'));
    tail[0] = L.trailMark ? L.trailMark : 'T';
    QList<QByteArray> recs{put(rec, L.amount, 1000), put(rec, L.amount, 2500)};
    for (const RE::Count& c : L.counts) {
        // Both records are processed.
        const qint64 n = c.records == FileLayout::Records::Unprocessed ? 0 : recs.size();
        if (c.valid()) tail = put(put(tail, c.a, n + c.less), c.b, 0);
    }
    for (const FileLayout::TrailerSum& s : L.sums) {
        for (const RE::Field& f : s.trailer)
            tail = put(tail, f, 0);
        qint64 sum = 0;
        for (const QByteArray& r : recs) {
            const bool ok = r.at(L.flag.off) == L.okMark;
            if (s.records == FileLayout::Records::All || ok == (s.records == FileLayout::Records::Processed))
                sum += r.mid(s.amount.off, s.amount.width).toLongLong();
        }
        tail = put(tail, s.trailer[0], sum);
    }
    return {head, recs[0], recs[1], tail};
}

// The whole-file check and the record check of the engine, with a reader that
// reads nothing but the flag and the date.
struct Checked {
    bool ok = false;
    RE::FaultInfo why;
    QString text;
};

QByteArray joined(const QList<QByteArray>& lines, const char* end = "\r\n") {
    QByteArray out;
    for (const QByteArray& l : lines)
        out += l + end;
    return out;
}

Checked check(const RE::Layout& L, const QByteArray& content) {
    RE::Loaded f;
    f.fileName = QStringLiteral("test.file");
    f.content = content;
    f.lines = ResultFile::splitLines(f.content);
    Checked c;
    if (!RE::checkLines(f, L, &c.why)) return c;
    const RE::Reader reader{&L, [&L](const QByteArray& rec, const QByteArray& head, int line) {
                                RE::Record r;
                                r.line = line;
                                // A line may end before its flag: the engine
                                // refuses it after the read, which must not
                                // look past the line.
                                r.ok = rec.size() > L.flag.off && rec.at(L.flag.off) == L.okMark;
                                r.procDt = L.recDate.valid() ? RE::fullDate(rec, L.recDate)
                                                             : RE::fullDate(head, L.headDate);
                                return r;
                            }};
    QList<RE::Record> recs;
    c.ok = RE::readRecords(f, reader, &recs, &c.why, &c.text);
    return c;
}

Checked check(const RE::Layout& L, const QList<QByteArray>& lines) {
    return check(L, joined(lines));
}

// The first count of the trailer that counts these records, if any.
const RE::Count* countOf(const RE::Layout& L, FileLayout::Records records) {
    for (const RE::Count& c : L.counts)
        if (c.valid() && c.records == records) return &c;
    return nullptr;
}

const FileLayout::TrailerSum* sumOf(const RE::Layout& L, FileLayout::Records records) {
    for (const FileLayout::TrailerSum& s : L.sums)
        if (s.records == records) return &s;
    return nullptr;
}

class ResultEngineTable : public TestRoot {};

using Lines = QList<QByteArray>;

// A fault put into a good file, in the layouts it applies to.
struct FaultCase {
    const char* name;
    std::function<bool(const RE::Layout&)> applies;
    std::function<void(const RE::Layout&, Lines&)> spoil;
    RE::Fault fault;
    const char16_t* text;  // a refusal worded whole, instead of a fault
    bool accepted = false; // a case at the edge that the layout accepts
};

std::vector<FaultCase> faultCases() {
    using RE::Fault;
    auto always = [](const RE::Layout&) { return true; };
    return {
        {"short line", always, [](const RE::Layout&, Lines& l) { l[1].chop(1); }, Fault::Width, nullptr},
        {"no trailer", always, [](const RE::Layout&, Lines& l) { l.removeLast(); }, Fault::NoTrailer, nullptr},
        {"data after the trailer", always, [](const RE::Layout&, Lines& l) { l.insert(2, l.last()); },
         Fault::AfterTrailer, nullptr},
        {"count off by one", always, [](const RE::Layout&, Lines& l) { l.removeAt(2); }, Fault::Count, nullptr},
        {"flag outside its values", [](const RE::Layout& L) { return L.flagValues != nullptr; },
         [](const RE::Layout& L, Lines& l) { l[1][L.flag.off] = 'X'; }, Fault::Flag, nullptr},
        {"amount not a number", [](const RE::Layout& L) { return L.amount.valid(); },
         [](const RE::Layout& L, Lines& l) { l[1][L.amount.end() - 2] = 'A'; }, Fault::Amount, nullptr},
        {"transfer date not a day", [](const RE::Layout& L) { return L.headDate.valid(); },
         [](const RE::Layout& L, Lines& l) { l[0].replace(L.headDate.end() - 2, 2, "32"); }, Fault::HeadDate,
         nullptr},
        {"trailer sum differs", [](const RE::Layout& L) { return !L.sums.empty(); },
         [](const RE::Layout& L, Lines& l) { l[1] = put(l[1], L.amount, 1001); }, Fault::Flag,
         u"금액합계가 트레일러와 다릅니다"},
        // A reply code is stored as it stands.
        {"reply code of NUL bytes", [](const RE::Layout& L) { return L.reply.valid(); },
         [](const RE::Layout& L, Lines& l) { l[1].replace(L.reply.off, L.reply.width, QByteArray(L.reply.width, '\0')); },
         Fault::Reply, nullptr},
        {"reply code with a tab", [](const RE::Layout& L) { return L.reply.valid(); },
         [](const RE::Layout& L, Lines& l) { l[1][L.reply.off] = '\t'; }, Fault::Reply, nullptr},
        {"reply code ending in half a character", [](const RE::Layout& L) { return L.reply.valid(); },
         [](const RE::Layout& L, Lines& l) { l[1].replace(L.reply.end() - 1, 2, "\xB0\xA1"); }, Fault::Reply,
         nullptr},
        {"reply code of a whole character", [](const RE::Layout& L) { return L.reply.valid(); },
         [](const RE::Layout& L, Lines& l) { l[1].replace(L.reply.off, 2, "\xB0\xA1"); }, Fault::Reply, nullptr,
         true},
        {"processed count off", [](const RE::Layout& L) { return countOf(L, FileLayout::Records::Processed); },
         [](const RE::Layout& L, Lines& l) { l.last() = put(l.last(), countOf(L, FileLayout::Records::Processed)->a, 1); },
         Fault::Count, nullptr},
        {"processed count blank", [](const RE::Layout& L) { return countOf(L, FileLayout::Records::Processed); },
         [](const RE::Layout& L, Lines& l) {
             const RE::Field f = countOf(L, FileLayout::Records::Processed)->a;
             l.last().replace(f.off, f.width, QByteArray(f.width, ' '));
         },
         Fault::Count, nullptr},
        {"processed count negative", [](const RE::Layout& L) { return countOf(L, FileLayout::Records::Processed); },
         [](const RE::Layout& L, Lines& l) {
             const RE::Field f = countOf(L, FileLayout::Records::Processed)->a;
             l.last().replace(f.off, f.width, QByteArray("-2").rightJustified(f.width, ' '));
         },
         Fault::Count, nullptr},
        {"unprocessed count off", [](const RE::Layout& L) { return countOf(L, FileLayout::Records::Unprocessed); },
         [](const RE::Layout& L, Lines& l) {
             l.last() = put(l.last(), countOf(L, FileLayout::Records::Unprocessed)->a, 1);
         },
         Fault::Count, nullptr},
        {"unprocessed amount off", [](const RE::Layout& L) { return sumOf(L, FileLayout::Records::Unprocessed); },
         [](const RE::Layout& L, Lines& l) {
             l.last() = put(l.last(), sumOf(L, FileLayout::Records::Unprocessed)->trailer[0], 1);
         },
         Fault::Flag, u"미처리 자료 0원, 트레일러 1원"},
        {"transfer date years ahead", [](const RE::Layout& L) { return L.headDate.valid(); },
         [](const RE::Layout& L, Lines& l) {
             l[0].replace(L.headDate.off, L.headDate.width, L.headDate.width == 6 ? "991231" : "20991231");
         },
         Fault::FarDate, nullptr},
        {"transfer date over a year ago", [](const RE::Layout& L) { return L.headDate.valid(); },
         [](const RE::Layout& L, Lines& l) {
             l[0].replace(L.headDate.off, L.headDate.width, L.headDate.width == 6 ? "250315" : "20250315");
         },
         Fault::FarDate, nullptr},
        {"transfer date a year ago to the day", [](const RE::Layout& L) { return L.headDate.valid(); },
         [](const RE::Layout& L, Lines& l) {
             l[0].replace(L.headDate.off, L.headDate.width, L.headDate.width == 6 ? "250316" : "20250316");
         },
         Fault::FarDate, nullptr, true},
        {"record's transfer date years ahead", [](const RE::Layout& L) { return L.recDate.valid(); },
         [](const RE::Layout& L, Lines& l) { l[2].replace(L.recDate.off, L.recDate.width, "991231"); },
         Fault::FarDate, nullptr},
    };
}

TEST_F(ResultEngineTable, EveryReaderRefusesEveryFaultOfItsLayout) {
    const std::vector<FaultCase> cases = faultCases();
    for (const Kind& k : kinds()) {
        const RE::Layout& L = *k.layout;
        SCOPED_TRACE(k.name);
        const Checked good = check(L, goodFile(L, k.width));
        ASSERT_TRUE(good.ok) << int(good.why.fault) << " " << good.text.toStdString();
        for (const FaultCase& c : cases) {
            if (!c.applies(L)) continue;
            SCOPED_TRACE(c.name);
            Lines lines = goodFile(L, k.width);
            c.spoil(L, lines);
            const Checked got = check(L, lines);
            if (c.accepted) {
                EXPECT_TRUE(got.ok) << int(got.why.fault) << " " << got.text.toStdString();
                continue;
            }
            EXPECT_FALSE(got.ok);
            if (c.text)
                EXPECT_TRUE(got.text.contains(QString::fromUtf16(c.text))) << got.text.toStdString();
            else
                EXPECT_EQ(got.why.fault, c.fault) << got.text.toStdString();
        }
    }
}

} // namespace

namespace {

// A file whose lines end before the flag: refused, never read past the line.
TEST_F(ResultEngineTable, LinesEndingBeforeTheFlagAreRefused) {
    const RE::Layout& L = ResultFile::layoutOf(ResultReader::Layout80);
    QByteArray head(30, ' '), rec(30, ' '), tail(30, ' ');
    head[0] = 'H';
    head.replace(L.headDate.off, L.headDate.width, "260310");
    rec[0] = 'D';
    tail[0] = 'T';
    tail = put(tail, L.counts[0].a, 1);
    const Checked got = check(L, {head, rec, tail});
    EXPECT_FALSE(got.ok);
    EXPECT_EQ(got.why.fault, RE::Fault::Flag);
}

} // namespace

namespace {

// A result is judged on its records: once applied, the same records are
// refused whatever their line ends, blank lines or end-of-file mark, in every
// layout. Other records are not.
TEST_F(ResultEngineTable, TheSameRecordsAreAppliedOnceWhateverTheirLineEnds) {
    for (const Kind& k : kinds()) {
        const RE::Layout& L = *k.layout;
        SCOPED_TRACE(k.name);
        Database::exec(QStringLiteral("delete from M_APPLIED"));
        const QList<QByteArray> lines = goodFile(L, k.width);
        const QByteArray applied = joined(lines);
        ASSERT_TRUE(check(L, applied).ok);
        ASSERT_TRUE(AppliedFiles::record(AppliedFiles::printsOf(applied).records, QStringLiteral("x.201")));
        const struct {
            const char* name;
            QByteArray content;
        } copies[] = {
            {"identical copy", applied},
            {"LF line ends", joined(lines, "\n")},
            {"CR line ends", joined(lines, "\r")},
            {"no line end after the trailer", applied.chopped(2)},
            {"one more CR LF", applied + "\r\n"},
            {"blank lines at the end", applied + "\r\n\r\n\n"},
            {"^Z at the end", applied + "\x1a"},
            {"^Z after the trailer", applied.chopped(2) + "\x1a"},
        };
        for (const auto& c : copies) {
            SCOPED_TRACE(c.name);
            const Checked got = check(L, c.content);
            EXPECT_FALSE(got.ok);
            EXPECT_EQ(got.why.fault, RE::Fault::Applied);
        }
        // Other records are judged on their own: a byte no check reads.
        QList<QByteArray> other = lines;
        other[1][other[1].size() - 1] = 'Q';
        const Checked got = check(L, joined(other, "\n"));
        EXPECT_TRUE(got.ok) << int(got.why.fault);
    }
}

// A field of whole characters: one begun before it (a Hangul lead byte just
// ahead) runs into it, whether the bytes before are plain ASCII or not.
TEST(ResultFields, WholeTextKnowsWhereCharactersBegin) {
    const RE::Field f{4, 4};
    const QByteArray ga("\xB0\xA1"); // 가
    const struct {
        const char* name;
        QByteArray line;
        bool whole;
    } cases[] = {
        {"ASCII throughout", "D123ABCDxx", true},
        {"a Hangul syllable ahead", ga + "12ABCDxx", true},
        {"two syllables ahead, ending at the field", ga + ga + "ABCDxx", true},
        {"a syllable inside", "D123" + ga + "CDxx", true},
        {"the field cut by the line's end", "D123AB", true},
        {"a lead byte just ahead", "D12" + ga + "BCDxx", false},
        {"a syllable ahead, then a lead byte", ga + "1" + ga + "BCDxx", false},
        {"half a syllable at the field's end", "D123ABC" + ga + "x", false},
        {"a control byte", "D123A\tCDxx", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RE::isWholeText(c.line, f), c.whole);
    }
}

// A content that is its lines each ended by CR LF gets its two prints from
// one digest; any other is digested twice. Each content has both prints as
// taken apart (the lines' print is the bytes' print of the lines rejoined).
TEST(AppliedPrints, OneDigestOnlyWhereTheBytesAreTheRecords) {
    const struct {
        const char* name;
        QByteArray content;
        bool same; // the two prints agree
    } cases[] = {
        {"CR LF throughout", "H1\r\nD2\r\nT3\r\n", true},
        {"an empty line inside", "H1\r\n\r\nT3\r\n", true},
        {"nothing", "", true},
        {"no line end after the last", "H1\r\nD2\r\nT3", false},
        {"LF", "H1\nD2\nT3\n", false},
        {"lone CR", "H1\rD2\rT3\r", false},
        {"CR CR LF", "H1\r\r\nT3\r\n", false},
        // As long as its lines rejoined by CR LF, yet other bytes.
        {"LF LF after CR LF", "H1\r\nD2\n\n", false},
        {"a blank line at the end", "H1\r\nT3\r\n\r\n", false},
        {"^Z at the end", "H1\r\nT3\r\n\x1a", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QList<QByteArray> lines = AppliedFiles::lines(c.content);
        const AppliedFiles::Prints p = AppliedFiles::printsOf(c.content, lines);
        EXPECT_EQ(p.records, AppliedFiles::fingerprintOfLines(lines));
        EXPECT_EQ(p.bytes, AppliedFiles::fingerprint(c.content));
        EXPECT_EQ(p.records == p.bytes, c.same);
        const AppliedFiles::Prints whole = AppliedFiles::printsOf(c.content);
        EXPECT_EQ(whole.records, p.records);
        EXPECT_EQ(whole.bytes, p.bytes);
    }
}

// Files booked before records were judged were known by their bytes: such a
// print still refuses its file, and a book of that version gets the records'
// prints of the archives in rback when the program starts.
TEST_F(ResultEngineTable, PrintsOfOlderBooksKeepRefusing) {
    const RE::Layout& L = ResultFile::layoutOf(ResultReader::Layout80);
    const QList<QByteArray> lines = goodFile(L, 80);
    const QByteArray old = joined(lines).chopped(2); // no line end after the trailer
    // An older book: no Form column, the print of the bytes.
    ASSERT_TRUE(Database::dropTable(QStringLiteral("M_APPLIED")));
    ASSERT_TRUE(Database::exec(QStringLiteral(
        "CREATE TABLE M_APPLIED (Sha256 CHAR(64) PRIMARY KEY, FileName CHAR(40), ApplyDate CHAR(8))")));
    Query ins(QStringLiteral("INSERT INTO M_APPLIED VALUES (?, '26031020.201', '20260310')"));
    ins.add(AppliedFiles::fingerprint(old));
    ASSERT_TRUE(ins.exec());
    QFile archive(path(QStringLiteral("rback/26031020.201")));
    ASSERT_TRUE(archive.open(QIODevice::WriteOnly));
    archive.write(old);
    archive.close();
    EXPECT_EQ(check(L, old).why.fault, RE::Fault::Applied);
    EXPECT_TRUE(check(L, joined(lines, "\n")).ok); // not known yet by its records

    ASSERT_TRUE(AppliedFiles::ensureTable());
    EXPECT_EQ(check(L, old).why.fault, RE::Fault::Applied);
    EXPECT_EQ(check(L, joined(lines, "\n")).why.fault, RE::Fault::Applied);
    EXPECT_EQ(AppliedFiles::archiveName(AppliedFiles::printsOf(joined(lines))), QStringLiteral("26031020.201"));
    // Done once: the next start finds the column.
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_APPLIED")), 2);
    ASSERT_TRUE(AppliedFiles::ensureTable());
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_APPLIED")), 2);
}

} // namespace
