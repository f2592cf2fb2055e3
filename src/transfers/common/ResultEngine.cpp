#include "transfers/common/ResultEngine.h"

#include "data/AppliedFiles.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "data/FileMoves.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "platform/sys/CrashPoint.h"
#include "platform/text/Cp949.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <cstring>

namespace ResultEngine {

namespace {

MsgBox box(const QString& caption, const QString& text, MsgIcon icon = MsgIcon::Error) {
    return MsgBox{caption, text, icon, MsgButtons::Ok};
}

const QString kFileError = QStringLiteral("화일오류");
const QString kApplyError = QStringLiteral("이체처리오류");
const QString kWriteError = QStringLiteral("화일처리 오류");

// The round's rows by key and item (by key alone for KeyInRowOrder): the
// first and last row of a key, and each row's next of the same key.
struct RowIndex {
    std::vector<Row> rows;
    std::vector<int> next;
    QHash<std::pair<QString, QString>, std::pair<int, int>> byKey;

    void add(Row&& r, const std::pair<QString, QString>& key) {
        const int i = int(rows.size());
        rows.push_back(std::move(r));
        next.push_back(-1);
        auto it = byKey.find(key);
        if (it == byKey.end()) {
            byKey.insert(key, {i, i});
        } else {
            next[it->second] = i;
            it->second = i;
        }
    }
    // The rows of a key, in row order.
    QList<int> of(const std::pair<QString, QString>& key) const {
        QList<int> out;
        const auto it = byKey.constFind(key);
        for (int i = it == byKey.constEnd() ? -1 : it->first; i >= 0; i = next[i])
            out << i;
        return out;
    }
};

// What the plan decided: each applied record with its row; the boxes of the
// rows left alone are in the outcome.
struct Plan {
    RowIndex ix;
    QList<const Record*> apply;
    QList<const Row*> rows;
    int skipped = 0;
};

// Plain ASCII needs no decoding to be read.
bool readable(const QByteArray& content) {
    for (char c : content)
        if (uchar(c) >= 0x80) {
            bool ok = true;
            Cp949::decode(content, &ok);
            return ok;
        }
    return true;
}

// A count of the trailer: digits, never blank or signed.
bool countField(const QByteArray& tail, Field f, qint64* n) {
    const QByteArrayView v = bytesOf(tail, f).trimmed();
    return !v.isEmpty() && toAmount(v, n);
}

qint64 countOf(const QByteArray& tail, const Count& c, bool* ok) {
    qint64 a = 0, b = 0;
    *ok = countField(tail, c.a, &a) && (!c.b.valid() || countField(tail, c.b, &b));
    return a + b - c.less;
}

bool processed(const Layout& L, const QByteArray& line) {
    return line.size() > L.flag.off && line.at(L.flag.off) == L.okMark;
}

QString recordsWord(FileLayout::Records r) {
    switch (r) {
    case FileLayout::Records::Processed:
        return QStringLiteral("처리 자료");
    case FileLayout::Records::Unprocessed:
        return QStringLiteral("미처리 자료");
    case FileLayout::Records::All:
        break;
    }
    return QStringLiteral("자료");
}

// The trailer's counts of processed and of unprocessed records, once the
// flags are known to be sound.
bool checkFlagCounts(const Loaded& f, const Layout& L, FaultInfo* why) {
    for (const Count& c : L.counts) {
        if (!c.valid() || c.records == FileLayout::Records::All) continue;
        const bool wanted = c.records == FileLayout::Records::Processed;
        qint64 n = 0;
        for (int i = 1; i < f.end; ++i)
            n += processed(L, f.lines[i]) == wanted;
        bool ok = false;
        const qint64 announced = countOf(f.lines.last(), c, &ok);
        if (!ok || announced != n) {
            *why = FaultInfo{Fault::Count, -1, n, announced, recordsWord(c.records)};
            return false;
        }
    }
    return true;
}

bool lineFault(FaultInfo* why, Fault f, int line, qint64 a = 0) {
    *why = FaultInfo{f, line, a, 0, {}};
    return false;
}

bool checkStructure(Loaded& f, const Layout& L, FaultInfo* why) {
    const QList<QByteArray>& lines = f.lines;
    auto isData = [&](const QByteArray& l) { return l.startsWith(L.dataMark); };
    if (isData(lines.first())) return lineFault(why, Fault::HeaderIsData, 0);
    if (L.trailMark && !lines.last().startsWith(L.trailMark))
        return lineFault(why, Fault::NoTrailer, int(lines.size()) - 1);
    int end = 1;
    while (end < lines.size() && isData(lines[end]))
        ++end;
    if (end >= lines.size()) return lineFault(why, Fault::NoTrailer, end);
    if (end != lines.size() - 1) return lineFault(why, Fault::AfterTrailer, end);
    f.end = end;
    const qint64 data = end - 1;
    for (const Count& c : L.counts) {
        if (!c.valid() || c.records != FileLayout::Records::All) continue;
        bool ok = false;
        const qint64 announced = countOf(lines.last(), c, &ok);
        if (!ok || announced != data) {
            *why = FaultInfo{Fault::Count, -1, data, announced, {}};
            return false;
        }
    }
    return true;
}

bool checkRecord(const Layout& L, const QByteArray& line, Record& r, QByteArrayView amt, FaultInfo* why) {
    // A line too short for its flag (a header shorter than the layout) has none.
    if (L.flagValues && (line.size() <= L.flag.off ||
                         !std::memchr(L.flagValues, line.at(L.flag.off), std::strlen(L.flagValues))))
        return lineFault(why, Fault::Flag, r.line);
    // The code is stored as it stands: a NUL or half a character would be too.
    if (L.reply.valid() && !isWholeText(line, L.reply)) return lineFault(why, Fault::Reply, r.line);
    if (L.amount.valid()) {
        if (!toAmount(amt, &r.amount)) return lineFault(why, Fault::Amount, r.line);
        if (r.ok && amt.trimmed().isEmpty()) return lineFault(why, Fault::OkWithoutAmount, r.line);
    }
    if (L.recDate.valid() && (r.ok || L.recDateAlways)) {
        if (!isRealDate(r.procDt)) return lineFault(why, Fault::RecDate, r.line);
        if (!isNearToday(r.procDt)) {
            *why = FaultInfo{Fault::FarDate, r.line, 0, 0, r.procDt};
            return false;
        }
    }
    return true;
}

// expected: about how many rows there are (as many as the file's records).
bool readRows(const Policy& p, const QString& qt, qsizetype expected, RowIndex* ix, QString* error) {
    Query q(p.rowsSql(qt));
    for (const QVariant& v : p.rowsBinds())
        q.add(v);
    if (!q.exec()) {
        *error = q.error();
        return false;
    }
    const bool byItem = p.match() == Match::KeyAndItem;
    ix->rows.reserve(size_t(expected));
    ix->next.reserve(size_t(expected));
    ix->byKey.reserve(expected);
    while (q.next()) {
        const QByteArrayView reply = q.utf8(3), exemp = q.utf8(4);
        Row r{q.num(0), q.str(1), q.str(2), reply.isEmpty() ? char(0) : reply.front(),
              exemp.isEmpty() ? char(0) : exemp.front()};
        std::pair<QString, QString> key{r.key, byItem ? r.item : QString()};
        ix->add(std::move(r), key);
    }
    return true;
}

struct Refusal {
    QString text;
    bool unknown = false; // a record names no row
};

// Each record's row; no text when every record has exactly one row of its own.
Refusal matchRows(const Policy& p, const QList<Record>& recs, const RowIndex& ix, QList<int>* target) {
    const bool byItem = p.match() == Match::KeyAndItem;
    QHash<QString, int> recsOf, taken;
    if (!byItem)
        for (const Record& r : recs)
            ++recsOf[r.key];
    target->fill(-1, recs.size());
    for (int k = 0; k < recs.size(); ++k) {
        const Record& r = recs[k];
        const QList<int> cands = ix.of({r.key, byItem ? r.item : QString()});
        if (cands.isEmpty()) return {p.unknown(r), true};
        if (byItem) {
            if (cands.size() > 1) return {p.ambiguous(r, int(cands.size()))};
            (*target)[k] = cands.first();
            continue;
        }
        if (cands.size() != recsOf.value(r.key)) return {p.countsDiffer(r, recsOf.value(r.key), int(cands.size()))};
        (*target)[k] = cands[taken[r.key]++];
    }
    QHash<int, int> seen;
    for (int k = 0; k < recs.size(); ++k) {
        const auto it = seen.constFind((*target)[k]);
        if (it != seen.constEnd()) return {p.doubled(recs[k], recs[*it])};
        seen.insert((*target)[k], k);
    }
    return {};
}

struct Run {
    const Policy& p;
    Loaded f;
    ResultApplyOutcome out;

    ResultApplyOutcome refuse(const FaultInfo& why, const QString& caption = kFileError) {
        out.status = ResultApplyOutcome::Status::Invalid;
        out.messages << box(caption, p.fault(why, f));
        return out;
    }
    ResultApplyOutcome refuseText(const QString& text, const QString& caption) {
        out.status = ResultApplyOutcome::Status::Invalid;
        out.messages << box(caption, text);
        return out;
    }

    bool plan(const QString& table, const QList<Record>& recs, Plan* plan);
    ResultApplyOutcome commit(const QString& table, const Plan& plan);
    bool writeRows(const QString& qt, const Plan& plan);
};

bool Run::plan(const QString& table, const QList<Record>& recs, Plan* plan) {
    RowIndex& ix = plan->ix;
    QString err;
    if (!readRows(p, Database::quoted(table), recs.size(), &ix, &err)) {
        refuse(FaultInfo{Fault::Database, -1, 0, 0, err});
        return false;
    }
    QList<int> target;
    const Refusal refused = matchRows(p, recs, ix, &target);
    if (!refused.text.isEmpty()) {
        refuseText(refused.text, kApplyError);
        if (refused.unknown) p.onUnknown(table);
        return false;
    }
    for (int k = 0; k < recs.size(); ++k) {
        const Row& row = ix.rows[target[k]];
        const QString left = p.skip(row, recs[k]);
        if (!left.isEmpty()) {
            out.messages << box(kApplyError, left);
            ++plan->skipped;
            continue;
        }
        plan->apply << &recs[k];
        plan->rows << &row;
    }
    return true;
}

bool Run::writeRows(const QString& qt, const Plan& plan) {
    const std::unique_ptr<Policy::Writer> w = p.writer(qt);
    for (int k = 0; k < plan.apply.size(); ++k) {
        if (!w->write(*plan.apply[k], *plan.rows[k])) {
            refuseText(p.writeFailed(*plan.apply[k], *plan.rows[k]), kApplyError);
            return false; // the transaction rolls back
        }
        ++out.appliedRows;
    }
    return true;
}

std::string crashName(const Policy& p, const char* point) {
    return std::string(p.crashPrefix()) + point;
}

ResultApplyOutcome Run::commit(const QString& table, const Plan& plan) {
    Transaction tx;
    if (!tx.ok()) return refuse(FaultInfo{Fault::Database, -1, 0, 0, tx.error()});
    // Judged again inside the write: another copy may have applied it since.
    if (AppliedFiles::isApplied(f.prints)) return refuse(FaultInfo{Fault::Applied});
    // Named inside the write as well; a name rback does not hold, so the
    // book names the file stored.
    const QString archive = p.archiveName(f, table);
    if (archive.isEmpty()) return refuse(FaultInfo{Fault::NamesUsedUp});
    out.archiveName = archive;
    const QString target = QDir(DMLib->dir(QStringLiteral("rback"))).filePath(archive);
    if (!writeRows(Database::quoted(table), plan)) return out;
    QString err;
    // The move is booked with the rows: only a booked move is finished at the
    // next start, so a copy of this file found in recv later stays there.
    if (!p.book(archive, &err) || !AppliedFiles::record(f.prints.records, archive, &err) ||
        !FileMoves::record(f.path, target, f.prints.bytes, &err))
        return refuse(FaultInfo{Fault::Book, -1, 0, 0, err}, kWriteError);
    if (!p.log(f, table)) return refuse(FaultInfo{Fault::Log}, kWriteError);
    CrashPoint::hit(crashName(p, "apply-before-commit").c_str());
    if (!tx.commit()) return refuse(FaultInfo{Fault::Commit, -1, 0, 0, tx.error()}, kWriteError);
    CrashPoint::hit(crashName(p, "apply-after-commit").c_str());
    p.committed(plan.apply, &out.messages);
    // Exactly the name booked: an archive in rback is never overwritten. A
    // run killed before the move leaves the file in recv with its move
    // booked, which the next start (or result list) carries out.
    const bool moved = FileMoves::carryOut(f.path, target);
    if (!moved) out.messages << box(kWriteError, p.notMoved(f));
    CrashPoint::hit(crashName(p, "apply-after-move").c_str());
    p.finished(&out.messages);
    out.status = ResultApplyOutcome::Status::Applied;
    return out;
}

} // namespace

QString Policy::fault(const FaultInfo& why, const Loaded& f) const {
    return faultText(why, f);
}

QString faultText(const FaultInfo& why, const Loaded& f) {
    const QString& n = f.fileName;
    auto named = [&](const char16_t* text) { return QString::fromUtf16(text) + QStringLiteral("\r화일명: ") + n; };
    auto line = [&](const char16_t* text) {
        return QStringLiteral("%1\r화일명: %2, %3번째 줄").arg(QString::fromUtf16(text), n).arg(why.line + 1);
    };
    switch (why.fault) {
    case Fault::Unreadable:
        return QStringLiteral("화일이 존재하지 않습니다!");
    case Fault::NoHeadOrTrailer:
        return named(u"결과파일에 헤더 또는 트레일러가 없습니다.");
    case Fault::NotCp949:
        return named(u"결과파일에 읽을 수 없는 문자가 있습니다.");
    case Fault::Width:
        return line(u"결과파일의 레코드 길이가 맞지 않습니다.");
    case Fault::HeaderIsData:
        return named(u"결과파일에 헤더가 없습니다.");
    case Fault::NoTrailer:
        return named(u"결과파일에 트레일러가 없습니다.");
    case Fault::AfterTrailer:
        return named(u"결과파일의 트레일러 뒤에 자료가 있습니다.");
    case Fault::Count:
        return QStringLiteral("결과파일의 자료건수가 트레일러와 다릅니다.\r화일명: %1 (%2 %3건, 트레일러 %4건)")
            .arg(n, why.detail.isEmpty() ? QStringLiteral("자료") : why.detail)
            .arg(why.a)
            .arg(why.b);
    case Fault::Applied:
        return named(u"이미 파일풀기 된 결과파일입니다.");
    case Fault::HeadDate:
        return named(u"결과파일 헤더의 이체일자가 올바른 날짜가 아닙니다.");
    case Fault::Flag:
        return line(u"결과파일의 처리결과 표시가 올바르지 않습니다.");
    case Fault::Amount:
        return line(u"결과파일의 금액이 숫자가 아닙니다.");
    case Fault::OkWithoutAmount:
        return line(u"결과파일의 정상처리 자료에 금액이 없습니다.");
    case Fault::RecDate:
        return line(u"결과파일의 이체일자가 올바른 날짜가 아닙니다.");
    case Fault::NoRound:
        return QStringLiteral("결과파일의 이체회차 자료가 없습니다.\r회차: %1").arg(why.detail);
    case Fault::Database:
        return QStringLiteral("결과반영실패: ") + why.detail;
    case Fault::NamesUsedUp:
        return named(u"보관폴더(rback)에 이 회차의 결과파일 이름이 모두 쓰였습니다.");
    case Fault::Book:
        return QStringLiteral("결과파일을 등록하지 못했습니다.\r") + why.detail;
    case Fault::Log:
        return QStringLiteral("작업기록을 남기지 못했습니다.");
    case Fault::Commit:
        return QStringLiteral("결과를 저장하지 못했습니다.\r") + why.detail;
    case Fault::Reply:
        return line(u"결과파일의 결과코드에 쓸 수 없는 문자가 있습니다.");
    case Fault::FarDate:
        return QStringLiteral("결과파일의 이체일자(%1)가 오늘에서 1년 넘게 떨어져 있습니다.\r화일명: %2, %3번째 줄")
            .arg(QDate::fromString(why.detail, QStringLiteral("yyyyMMdd")).toString(QStringLiteral("yyyy-MM-dd")), n)
            .arg(why.line + 1);
    }
    return {};
}

TransferPolicy::TransferPolicy(const ResultApplyRequest& req, QChar typeDigit)
    : req_(req), workBank_(req.workBank.left(2)), yearMon_(req.yearMon.trimmed()), seqNo_(req.seqNo.trimmed()),
      typeDigit_(typeDigit) {}

TransferPolicy::RowWriter::RowWriter(const QString& qt)
    : upOk_(QStringLiteral("update %1 set ReplyCd = ?, ExempTy = '1', Amt = ?, ProcDt = ?, ReplyTy = '1' "
                           "where rowid = ?")
                .arg(qt)),
      // A failed transfer with no amount keeps what is owed.
      upFail_(QStringLiteral("update %1 set ReplyCd = ?, ExempTy = '1', Amt = case when ? > 0 then ? else Amt "
                             "end, ProcDt = '00000000', ReplyTy = '0' where rowid = ?")
                  .arg(qt)) {}

bool TransferPolicy::RowWriter::write(const Record& r, const Row& row) {
    const bool ok = r.ok ? upOk_.add(r.reply).add(r.amount).add(r.procDt).add(row.rowid).exec()
                         : upFail_.add(r.reply).add(r.amount).add(r.amount).add(row.rowid).exec();
    return ok && after(r);
}

std::unique_ptr<Policy::Writer> TransferPolicy::writer(const QString& qt) const {
    return std::make_unique<RowWriter>(qt);
}

QString TransferPolicy::writeFailed(const Record& r, const Row& row) const {
    return QStringLiteral("결과반영실패(") + r.key + QLatin1Char(',') + row.item + QLatin1Char(')');
}

QString TransferPolicy::archiveName(const Loaded& f, const QString& table) const {
    const QString yymm = table.mid(8, 4), seq = table.mid(12, 2);
    const QString bank =
        req_.listBankName.isEmpty() ? f.fileName.mid(2, 2) : DMData->GetBankCode(req_.listBankName);
    return ResultFile::freeResultArchive(DMLib->dir(QStringLiteral("rback")), yymm + seq + bank,
                                         nextResultType(yymm, seq, typeDigit_));
}

bool TransferPolicy::book(const QString& archive, QString* error) const {
    return ResultFile::bookResult(req_, archive, error);
}

void TransferPolicy::finished(QList<MsgBox>* out) const {
    *out << box(QStringLiteral("파일풀기"), QStringLiteral("파일풀기가 완료되었습니다"), MsgIcon::Information);
}

bool TransferPolicy::roundGiven(ResultApplyOutcome* refusal) const {
    if (!yearMon_.isEmpty() && !seqNo_.isEmpty()) return true;
    refusal->status = ResultApplyOutcome::Status::NeedRound;
    refusal->messages << box(QStringLiteral("입력요망"), QStringLiteral("이체년월 및 회차를 입력하세요!!"));
    return false;
}

bool TransferPolicy::writeLog(const QString& menu, const QString& action, const QString& fileName,
                              const QString& round) const {
    return DMLib->WriteJobLog(menu, action + QStringLiteral("은행명:") + req_.listBankName +
                                        QStringLiteral(", 파일명:") + fileName + QStringLiteral(", 이체일자:") +
                                        req_.listTransferDate + QStringLiteral(", 건수:") + req_.listCount +
                                        QStringLiteral(", 파일풀기회차:") + round);
}

QString Policy::countsDiffer(const Record& r, int, int rows) const {
    return ambiguous(r, rows);
}

QString Policy::notMoved(const Loaded& f) const {
    return QStringLiteral("결과파일을 보관폴더로 옮기지 못했습니다.\r화일명: ") + f.fileName +
           QStringLiteral("\r결과는 반영되었습니다.");
}

bool toAmount(QByteArrayView f, qint64* out) {
    const QByteArrayView t = f.trimmed();
    *out = 0;
    if (t.isEmpty()) return true;
    for (char c : t)
        if (c < '0' || c > '9') return false;
    if (t.size() > 18) return false;
    qint64 v = 0;
    for (char c : t)
        v = v * 10 + (c - '0');
    *out = v;
    return true;
}

QByteArrayView bytesOf(const QByteArray& line, Field f) {
    if (!f.valid() || f.off >= line.size()) return {};
    return QByteArrayView(line.constData() + f.off, std::min<qsizetype>(f.width, line.size() - f.off));
}

bool isRealDate(const QString& yyyymmdd) {
    if (yyyymmdd.size() != 8) return false;
    int v[3] = {0, 0, 0};
    for (int i = 0; i < 8; ++i) {
        const char16_t c = yyyymmdd[i].unicode();
        if (c < u'0' || c > u'9') return false;
        int& part = v[i < 4 ? 0 : i < 6 ? 1 : 2];
        part = part * 10 + (c - u'0');
    }
    return QDate::isValid(v[0], v[1], v[2]);
}

bool isNearToday(const QString& yyyymmdd) {
    // Compared as yyyymmdd numbers: the date is known to be a day already.
    bool ok = false;
    const int d = yyyymmdd.size() == 8 ? yyyymmdd.toInt(&ok) : 0;
    const QDate today = Clock::today();
    auto number = [](const QDate& x) { return x.year() * 10000 + x.month() * 100 + x.day(); };
    return ok && d >= number(today.addYears(-1)) && d <= number(today.addYears(1));
}

bool isWholeText(const QByteArray& line, Field f) {
    if (!f.valid() || f.off >= line.size()) return true;
    const qsizetype end = std::min<qsizetype>(f.end(), line.size());
    const char* d = line.constData();
    // Plain ASCII before the field (the usual record) holds no character
    // that could run into it; only a record with Hangul there is walked.
    uchar high = 0;
    for (qsizetype i = 0; i < f.off; ++i)
        high |= uchar(d[i]);
    qsizetype pos = f.off;
    if (high & 0x80) {
        pos = 0;
        while (pos < f.off)
            pos += Cp949::charLength(uchar(d[pos]));
    }
    if (pos != f.off) return false; // a character begun before the field runs into it
    while (pos < end) {
        const uchar c = uchar(line.at(pos));
        if (c < 0x20 || c == 0x7F) return false;
        pos += Cp949::charLength(c);
    }
    return pos == end; // or runs out of it
}

QString field(const QByteArray& line, Field f) {
    const QByteArrayView v = bytesOf(line, f);
    if (v.isEmpty()) return {};
    for (char c : v)
        if (uchar(c) >= 0x80) return Cp949::decode(v.toByteArray());
    return QString::fromLatin1(v);
}

QString fullDate(const QByteArray& line, Field f) {
    return f.width == 6 ? QStringLiteral("20") + field(line, f) : field(line, f);
}

QString nextResultType(const QString& yymm, const QString& seqNo, QChar digit) {
    Query q(QStringLiteral("select Max(FileType) as FileSeq from M_SRFile where SRType = 'R' and YearMon = ? "
                           "and SeqNo = ? and substr(FileType, 1, 1) = ?"));
    q.add(yymm).add(seqNo).add(QString(digit));
    if (!q.exec() || !q.next() || q.str(0).isEmpty()) return QString(digit) + QStringLiteral("01");
    return QString::number(q.str(0).toInt() + 1);
}

bool load(const QString& path, Loaded* f) {
    f->path = path;
    f->fileName = QFileInfo(path).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    f->content = file.readAll();
    f->lines = ResultFile::splitLines(f->content);
    return true;
}

bool checkLines(Loaded& f, const Layout& L, FaultInfo* why) {
    if (L.wholeCp949 && !readable(f.content)) return lineFault(why, Fault::NotCp949, -1);
    const qsizetype width = L.width ? L.width : f.lines.first().size();
    for (int i = 0; i < f.lines.size(); ++i)
        if (f.lines[i].size() != width) return lineFault(why, Fault::Width, i, f.lines[i].size());
    if (!checkStructure(f, L, why)) return false;
    // The records decide, whatever their line ends: the lines as split.
    f.prints = AppliedFiles::printsOf(f.content, f.lines);
    if (AppliedFiles::isApplied(f.prints)) return lineFault(why, Fault::Applied, -1);
    if (L.headDate.valid()) {
        const QString date = fullDate(f.lines.first(), L.headDate);
        if (!isRealDate(date)) return lineFault(why, Fault::HeadDate, 0);
        if (!isNearToday(date)) {
            *why = FaultInfo{Fault::FarDate, 0, 0, 0, date};
            return false;
        }
    }
    return true;
}

bool readRecords(const Loaded& f, const Reader& reader, QList<Record>* out, FaultInfo* why, QString* text) {
    const Layout& L = *reader.layout;
    const QByteArray& head = f.lines.first();
    out->reserve(f.end - 1);
    for (int i = 1; i < f.end; ++i) {
        const QByteArray& line = f.lines[i];
        Record r = reader.read(line, head, i);
        if (!r.fault.isEmpty()) {
            *text = r.fault;
            return false;
        }
        if (!checkRecord(L, line, r, bytesOf(line, L.amount), why)) return false;
        out->append(std::move(r));
    }
    if (!checkFlagCounts(f, L, why)) return false;
    if (!L.sums.empty()) {
        *text = ResultFile::checkTrailerSums(
            f.lines, f.end, L.sums,
            [&](const QByteArray& l) { return processed(L, l); },
            f.fileName);
        if (!text->isEmpty()) return false;
    }
    return true;
}

bool checkWhole(Loaded& f, const Layout& L, MsgBox* refusal) {
    FaultInfo why;
    QString text;
    bool ok = f.lines.size() >= 2;
    if (!ok) why = FaultInfo{Fault::NoHeadOrTrailer};
    if (ok) ok = checkLines(f, L, &why);
    if (ok) {
        // The records as the checks see them: flag, date and amount.
        const QString headDate = L.headDate.valid() ? fullDate(f.lines.first(), L.headDate) : QString();
        const Reader reader{&L, [&L, &headDate](const QByteArray& rec, const QByteArray&, int line) {
                                Record r;
                                r.line = line;
                                r.ok = processed(L, rec);
                                r.procDt = L.recDate.valid() ? fullDate(rec, L.recDate) : headDate;
                                return r;
                            }};
        QList<Record> recs;
        ok = readRecords(f, reader, &recs, &why, &text);
    }
    if (!ok) *refusal = box(kFileError, text.isEmpty() ? faultText(why, f) : text);
    return ok;
}

ResultApplyOutcome apply(const QString& path, const Policy& p) {
    Run run{p, {}, {}};
    ResultApplyOutcome& out = run.out;
    if (!load(path, &run.f)) {
        out.messages << box(kFileError, p.fault(FaultInfo{Fault::Unreadable}, run.f));
        return out;
    }
    Loaded& f = run.f;
    if (f.lines.size() < 2) return run.refuse(FaultInfo{Fault::NoHeadOrTrailer});
    const Reader reader = p.choose(f, &out);
    if (!reader.layout) return out;
    const Layout& L = *reader.layout;
    if (L.headBank.valid() && field(f.lines.first(), L.headBank) != p.workBank()) {
        out.messages << box(QStringLiteral("은행오류"), QStringLiteral("은행선택이 잘못되었습니다"));
        return out;
    }
    FaultInfo why;
    if (!checkLines(f, L, &why)) return run.refuse(why);
    QList<Record> recs;
    QString text;
    if (!readRecords(f, reader, &recs, &why, &text))
        return text.isEmpty() ? run.refuse(why) : run.refuseText(text, kFileError);
    const QString table = p.roundTable(f, recs);
    out.roundTable = table;
    if (!Database::isRoundTableName(table) || !Database::tableExists(table))
        return run.refuse(FaultInfo{Fault::NoRound, -1, 0, 0, table});
    for (const Record& r : recs)
        if (const QString other = p.foreignRound(r, table, f); !other.isEmpty())
            return run.refuseText(other, kFileError);
    Plan plan;
    if (!run.plan(table, recs, &plan)) return out;
    out.skippedRows = plan.skipped;
    p.planned(table, plan.apply, &out.messages);
    return run.commit(table, plan);
}

} // namespace ResultEngine
