#include "support/TestRoot.h"

#include "transfers/common/ResultEngine.h"
#include "transfers/distribution/DistribResult.h"
#include "transfers/registration/RegRun.h"

#include <functional>

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
// and 2,500, and a trailer that counts and sums them.
QList<QByteArray> goodFile(const RE::Layout& L, int width) {
    const int w = L.width ? L.width : width;
    QByteArray head(w, ' '), rec(w, ' '), tail(w, ' ');
    head[0] = L.trailMark ? 'S' : 'H';
    if (L.headDate.valid())
        head.replace(L.headDate.off, L.headDate.width, L.headDate.width == 6 ? "240510" : "20240510");
    rec.replace(0, L.dataMark.size(), L.dataMark);
    rec[L.flag.off] = L.okMark;
    if (L.recDate.valid()) rec.replace(L.recDate.off, L.recDate.width, "240510");
    tail[0] = L.trailMark ? L.trailMark : 'T';
    QList<QByteArray> recs{put(rec, L.amount, 1000), put(rec, L.amount, 2500)};
    for (const RE::Count& c : L.counts)
        if (c.valid()) tail = put(put(tail, c.a, recs.size() + c.less), c.b, 0);
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

Checked check(const RE::Layout& L, const QList<QByteArray>& lines) {
    RE::Loaded f;
    f.fileName = QStringLiteral("test.file");
    for (const QByteArray& l : lines)
        f.content += l + "\r\n";
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

class ResultEngineTable : public TestRoot {};

TEST_F(ResultEngineTable, EveryReaderRefusesEveryFaultOfItsLayout) {
    using Lines = QList<QByteArray>;
    using RE::Fault;
    struct Case {
        const char* name;
        std::function<bool(const RE::Layout&)> applies;
        std::function<void(const RE::Layout&, Lines&)> spoil;
        Fault fault;
        const char16_t* text; // a refusal worded whole, instead of a fault
    };
    auto always = [](const RE::Layout&) { return true; };
    const Case cases[] = {
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
    };
    for (const Kind& k : kinds()) {
        const RE::Layout& L = *k.layout;
        SCOPED_TRACE(k.name);
        const Checked good = check(L, goodFile(L, k.width));
        ASSERT_TRUE(good.ok) << int(good.why.fault) << " " << good.text.toStdString();
        for (const Case& c : cases) {
            if (!c.applies(L)) continue;
            SCOPED_TRACE(c.name);
            Lines lines = goodFile(L, k.width);
            c.spoil(L, lines);
            const Checked got = check(L, lines);
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
    head.replace(L.headDate.off, L.headDate.width, "240510");
    rec[0] = 'D';
    tail[0] = 'T';
    tail = put(tail, L.counts[0].a, 1);
    const Checked got = check(L, {head, rec, tail});
    EXPECT_FALSE(got.ok);
    EXPECT_EQ(got.why.fault, RE::Fault::Flag);
}

} // namespace
