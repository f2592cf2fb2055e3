#include "transfers/distribution/DistribResult.h"

#include "transfers/common/FileLayout.h"
#include "transfers/common/ResultEngine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

namespace FL = FileLayout;
namespace RE = ResultEngine;
using Field = FL::Field;
using Reader = DistribResult::Reader;

const QString kMenu = QStringLiteral("배분이체");

// Where a reader finds what the checks read, and the fields of a record; the
// student number is read by studentOf, since bank 12 puts it together from
// three fields.
struct Layout {
    RE::Layout checks;
    Field name{};
    Field item{}; // none for bank 03
};

const Layout& layoutOf(Reader r) {
    static const Layout std{{.width = FL::L80::Width,
                             .dataMark = "D",
                             .headDate = FL::L80::HeadStart,
                             .counts = RE::Counts80,
                             .sums = FL::L80::Sums,
                             .flag = FL::L80::Flag,
                             .flagValues = "YN",
                             .amount = FL::L80::Amt,
                             .reply = FL::L80::Reply},
                            {55, 17},
                            FL::L80::Item};
    static const Layout nh{{.width = FL::NH80::Width,
                            .dataMark = "D",
                            .headBank = FL::NH80::HeadBank,
                            .headDate = FL::NH80::HeadStart,
                            .recDate = FL::NH80::ProcDate,
                            .counts = {RE::Count{FL::NH80::TrailAll, {}, 2}},
                            .sums = FL::NH80::Sums,
                            .flag = FL::NH80::Flag,
                            .flagValues = "YN",
                            .amount = FL::NH80::Amt,
                            .reply = FL::NH80::Reply},
                           {51, 6},
                           FL::NH80::Item};
    static const Layout b12{{.width = FL::NH12::Width,
                             .dataMark = "22",
                             .headBank = FL::NH12::HeadBank,
                             .headDate = FL::NH12::HeadDate,
                             .counts = {RE::Count{FL::NH12::TrailCount}},
                             .sums = FL::NH12::Sums,
                             .flag = FL::NH12::Flag,
                             .okMark = '1',
                             .amount = FL::NH12::Amt,
                             .reply = FL::NH12::Reply},
                            FL::NH12::StudentNm,
                            FL::NH12::StudentItem};
    static const Layout b03{{.width = FL::D03::Width,
                             .dataMark = "D",
                             .headDate = FL::D03::HeadDate,
                             .counts = {RE::Count{FL::D03::TrailCount}},
                             .sums = FL::D03::Sums,
                             .flag = FL::D03::Flag,
                             .okMark = '1',
                             .amount = FL::D03::Amt,
                             .reply = FL::D03::Reply},
                            {44, 17}};
    switch (r) {
    case Reader::NH:
        return nh;
    case Reader::Bank12:
        return b12;
    case Reader::Bank03:
        return b03;
    case Reader::Std:
        break;
    }
    return std;
}

QString field(const QByteArray& line, Field f) {
    return RE::field(line, f);
}

QString studentOf(Reader r, const QByteArray& rec) {
    switch (r) {
    case Reader::Std:
        return field(rec, {49, 6}).trimmed();
    case Reader::NH:
        return field(rec, {45, 6}).trimmed();
    case Reader::Bank12:
        return (field(rec, FL::NH12::StudentGrade) + field(rec, FL::NH12::StudentClass) +
                field(rec, FL::NH12::StudentNo))
            .trimmed();
    case Reader::Bank03:
        return field(rec, {38, 6}).trimmed();
    }
    return {};
}

// headDate: the header's transfer date (yyyymmdd), read once per file.
RE::Record readRecord(Reader r, const QByteArray& rec, const QString& headDate, int line) {
    const Layout& L = layoutOf(r);
    const RE::Layout& C = L.checks;
    RE::Record x;
    x.line = line;
    x.key = studentOf(r, rec);
    x.item = field(rec, L.item);
    if (r == Reader::Bank12 && x.item == QLatin1String("00")) x.item = QStringLiteral("99");
    x.name = field(rec, L.name).trimmed();
    x.reply = field(rec, C.reply).trimmed();
    x.ok = rec.size() > C.flag.off && rec.at(C.flag.off) == C.okMark;
    x.procDt = C.recDate.valid() ? RE::fullDate(rec, C.recDate) : headDate;
    return x;
}

QString student(const RE::Record& r) {
    return QStringLiteral("학번=") + r.key + QStringLiteral(", 성명=") + r.name;
}

const QString kCheck = QStringLiteral("\r\r  확인을 하여 주십시오!");

// The distribution policy: rows named by student and item (bank 03: by
// student, in key order) in the dialog's H_300_ round.
class DistribPolicy : public RE::TransferPolicy {
public:
    explicit DistribPolicy(const ResultApplyRequest& req) : TransferPolicy(req, QLatin1Char('3')) {}

    RE::Reader choose(const RE::Loaded& f, ResultApplyOutcome* refusal) const override {
        if (!roundGiven(refusal)) return {};
        reader_ = DistribResult::readerFor(f.fileName.mid(2, 2));
        const Reader r = reader_;
        const QString headDate = RE::fullDate(f.lines.first(), layoutOf(r).checks.headDate);
        return {&layoutOf(r).checks, [r, headDate](const QByteArray& rec, const QByteArray&, int line) {
                    return readRecord(r, rec, headDate, line);
                }};
    }
    QString roundTable(const RE::Loaded&, const QList<RE::Record>&) const override {
        return QStringLiteral("H_300_") + yearMon_ + seqNo_;
    }

    QString rowsSql(const QString& qt) const override {
        return QStringLiteral("select rowid, SNo, ItemCd, ReplyTy, ExempTy from %1 order by SNo, ItemCd").arg(qt);
    }
    RE::Match match() const override {
        return reader_ == Reader::Bank03 ? RE::Match::KeyInRowOrder : RE::Match::KeyAndItem;
    }
    // The box of a record without its round row, as each reader words it.
    QString unknown(const RE::Record& r) const override {
        if (reader_ == Reader::Std)
            return student(r) + QStringLiteral("\r 항목코드=") + r.item + QStringLiteral("\r 학생자료가 없습니다. ") +
                   kCheck;
        if (reader_ == Reader::Bank12)
            return student(r) +
                   QStringLiteral("\r 해당 학생자료가 변경되었거나 없습니다. \r\n  확인을 하여 주십시오!");
        return student(r) + QStringLiteral("\r 학생자료가 없습니다. ") + kCheck;
    }
    QString ambiguous(const RE::Record& r, int rows) const override {
        return student(r) + QStringLiteral("\r 항목코드=") + r.item +
               QStringLiteral("\r 회차에 같은 학생자료가 %1건 있습니다.").arg(rows) + kCheck;
    }
    // Bank 03 names the student only: the counts must agree.
    QString countsDiffer(const RE::Record& r, int recs, int rows) const override {
        return student(r) + QStringLiteral("\r 결과파일의 자료 %1건과 회차의 학생자료 %2건이 맞지 않습니다.")
                                .arg(recs)
                                .arg(rows) +
               kCheck;
    }
    QString doubled(const RE::Record& r, const RE::Record& first) const override {
        return student(r) +
               QStringLiteral("\r 한 학생자료에 결과가 두 번 있습니다. (%1, %2번째 줄)").arg(first.line + 1).arg(r.line + 1) +
               kCheck;
    }
    // Rows paid already, paid in cash or exempt are reported and left.
    QString skip(const RE::Row& row, const RE::Record& r) const override {
        if (row.replyTy == '1') return student(r) + QStringLiteral("\r 이미 이체된 학생입니다. ") + kCheck;
        if (row.replyTy && row.replyTy != '0')
            return student(r) + QStringLiteral("\r 현금으로 처리된 학생입니다. ") + kCheck;
        if (row.exempTy == '0') return student(r) + QStringLiteral("\r면제 학생입니다! ") + kCheck;
        return {};
    }
    bool log(const RE::Loaded& f, const QString&) const override {
        return writeLog(kMenu, QStringLiteral("[파일풀기]"), f.fileName, yearMon_ + QLatin1Char('-') + seqNo_);
    }
    const char* crashPrefix() const override { return "dist-"; }

private:
    mutable Reader reader_ = Reader::Std;
};

} // namespace

namespace DistribResult {

const ResultEngine::Layout& checksOf(Reader r) {
    return layoutOf(r).checks;
}

Reader readerFor(const QString& fileBank) {
    if (fileBank == QLatin1String("10") || fileBank == QLatin1String("11")) return Reader::NH;
    if (fileBank == QLatin1String("12")) return Reader::Bank12;
    if (fileBank == QLatin1String("03")) return Reader::Bank03;
    return Reader::Std;
}

QStringList listFiles(const QString& recvDir) {
    return ResultFile::listFiles(recvDir, QLatin1Char('3'));
}

ResultFileInfo readInfo(const QString& path) {
    ResultFileInfo info;
    const QFileInfo fi(path);
    info.fileName = fi.fileName();
    info.path = path;
    info.bankCd = info.fileName.mid(2, 2);
    info.recvDate = fi.lastModified().toString(QStringLiteral("yyyy.MM.dd"));
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return info;
    const QList<QByteArray> lines = ResultFile::splitLines(f.readAll());
    if (lines.isEmpty()) return info;
    const Layout& L = layoutOf(readerFor(info.bankCd));
    info.recLen = int(lines.first().size());
    const RE::Count& count = L.checks.counts[0];
    info.transferDate = field(lines.first(), L.checks.headDate);
    info.dataCount = field(lines.last(), count.a).trimmed().toLongLong() - count.less;
    return info;
}

QList<ResultFileInfo> filesForBank(const QString& recvDir, const QString& workBank) {
    ResultFile::finishBookedMoves(recvDir);
    QList<ResultFileInfo> out;
    const QString bank = workBank.left(2);
    for (const QString& n : listFiles(recvDir))
        if (n.mid(2, 2) == bank) out << readInfo(QDir(recvDir).filePath(n));
    return out;
}

QString NextResultType(const QString& yymm, const QString& seqNo) {
    return ResultEngine::nextResultType(yymm, seqNo, QLatin1Char('3'));
}

ResultApplyOutcome apply(const ResultApplyRequest& req) {
    return ResultEngine::apply(req.path, DistribPolicy(req));
}

} // namespace DistribResult
