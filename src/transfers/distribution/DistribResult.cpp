#include "transfers/distribution/DistribResult.h"

#include "data/AppliedFiles.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "platform/sys/CrashPoint.h"
#include "platform/sys/System.h"
#include "platform/text/Cp949.h"
#include "transfers/common/FileLayout.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace {

namespace FL = FileLayout;
using Field = FL::Field;
using Reader = DistribResult::Reader;

const QString kMenu = QStringLiteral("배분이체");
const QString kApplyError = QStringLiteral("이체처리오류");

// Where a reader finds what it needs; the student number is read by
// studentOf, since bank 12 puts it together from three fields.
struct Layout {
    QByteArray dataMark;
    Field headDate{};   // yymmdd
    Field headBank{};   // checked against the work window's bank; none for some
    Field trailCount{}; // data records, plus countLess
    int countLess = 0;
    std::span<const FL::TrailerSum> sums; // what the trailer's amounts sum
    Field flag{};
    char okMark = 'Y';
    const char* flagValues = nullptr; // the values the flag may hold; null: any
    Field reply{}, amt{}, name{};
    Field item{};    // none for bank 03
    Field recDate{}; // banks 10 and 11: each record's own transfer date
};

const Layout& layoutOf(Reader r) {
    static const Layout std{.dataMark = "D",
                            .headDate = FL::L80::HeadStart,
                            .trailCount = FL::L80::TrailCount,
                            .sums = FL::L80::Sums,
                            .flag = FL::L80::Flag,
                            .okMark = 'Y',
                            .flagValues = "YN",
                            .reply = FL::L80::Reply,
                            .amt = FL::L80::Amt,
                            .name = {55, 17},
                            .item = FL::L80::Item};
    static const Layout nh{.dataMark = "D",
                           .headDate = FL::NH80::HeadStart,
                           .headBank = FL::NH80::HeadBank,
                           .trailCount = FL::NH80::TrailAll,
                           .countLess = 2,
                           .sums = FL::NH80::Sums,
                           .flag = FL::NH80::Flag,
                           .okMark = 'Y',
                           .flagValues = "YN",
                           .reply = FL::NH80::Reply,
                           .amt = FL::NH80::Amt,
                           .name = {51, 6},
                           .item = FL::NH80::Item,
                           .recDate = FL::NH80::ProcDate};
    static const Layout b12{.dataMark = "22",
                            .headDate = FL::NH12::HeadDate,
                            .headBank = FL::NH12::HeadBank,
                            .trailCount = FL::NH12::TrailCount,
                            .sums = FL::NH12::Sums,
                            .flag = FL::NH12::Flag,
                            .okMark = '1',
                            .reply = FL::NH12::Reply,
                            .amt = FL::NH12::Amt,
                            .name = FL::NH12::StudentNm,
                            .item = FL::NH12::StudentItem};
    static const Layout b03{.dataMark = "D",
                            .headDate = FL::D03::HeadDate,
                            .trailCount = FL::D03::TrailCount,
                            .sums = FL::D03::Sums,
                            .flag = FL::D03::Flag,
                            .okMark = '1',
                            .reply = FL::D03::Reply,
                            .amt = FL::D03::Amt,
                            .name = {44, 17}};
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

QString field(const QByteArray& line, int off, int width) {
    return Cp949::decode(line.mid(off, width));
}
QString field(const QByteArray& line, Field f) {
    return f.valid() ? field(line, f.off, f.width) : QString();
}

QString studentOf(Reader r, const QByteArray& rec) {
    switch (r) {
    case Reader::Std:
        return field(rec, 49, 6).trimmed();
    case Reader::NH:
        return field(rec, 45, 6).trimmed();
    case Reader::Bank12:
        return (field(rec, FL::NH12::StudentGrade) + field(rec, FL::NH12::StudentClass) +
                field(rec, FL::NH12::StudentNo))
            .trimmed();
    case Reader::Bank03:
        return field(rec, 38, 6).trimmed();
    }
    return {};
}

// Whole digits only; blank reads 0.
bool toAmount(const QByteArray& f, qint64* out) {
    const QByteArray t = f.trimmed();
    *out = 0;
    if (t.isEmpty()) return true;
    for (char c : t)
        if (c < '0' || c > '9') return false;
    bool ok = false;
    *out = t.toLongLong(&ok);
    return ok;
}

bool isRealDate(const QString& yyyymmdd) {
    return yyyymmdd.size() == 8 && QDate::fromString(yyyymmdd, QStringLiteral("yyyyMMdd")).isValid();
}

MsgBox box(const QString& caption, const QString& text, MsgIcon icon = MsgIcon::Error) {
    return MsgBox{caption, text, icon, MsgButtons::Ok};
}

struct Record {
    int line = 0; // 0-based line of the file
    QString sno, item, name, reply, procDt;
    QByteArray amtField;
    qint64 amount = 0;
    bool ok = false;
};

Record readRecord(Reader r, const Layout& L, const QByteArray& rec, const QByteArray& head, int line) {
    Record x;
    x.line = line;
    x.sno = studentOf(r, rec);
    x.item = field(rec, L.item);
    if (r == Reader::Bank12 && x.item == QLatin1String("00")) x.item = QStringLiteral("99");
    x.name = field(rec, L.name).trimmed();
    x.reply = field(rec, L.reply).trimmed();
    x.amtField = rec.mid(L.amt.off, L.amt.width);
    x.ok = rec.size() > L.flag.off && rec.at(L.flag.off) == L.okMark;
    x.procDt = QStringLiteral("20") + (L.recDate.valid() ? field(rec, L.recDate) : field(head, L.headDate));
    return x;
}

QString student(const Record& r) {
    return QStringLiteral("학번=") + r.sno + QStringLiteral(", 성명=") + r.name;
}

// The box of a record without its round row, as each reader words it.
QString notFoundText(Reader reader, const Record& r) {
    if (reader == Reader::Std)
        return student(r) + QStringLiteral("\r 항목코드=") + r.item +
               QStringLiteral("\r 학생자료가 없습니다. ") + QStringLiteral("\r\r  확인을 하여 주십시오!");
    if (reader == Reader::Bank12)
        return student(r) +
               QStringLiteral("\r 해당 학생자료가 변경되었거나 없습니다. \r\n  확인을 하여 주십시오!");
    return student(r) + QStringLiteral("\r 학생자료가 없습니다. \r\r  확인을 하여 주십시오!");
}

struct RoundRow {
    qint64 rowid = 0;
    QString sno, itemCd, acctNo, replyTy, exempTy;
    qint64 amt = 0;
};

} // namespace

namespace DistribResult {

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
    info.transferDate = field(lines.first(), L.headDate);
    info.dataCount = field(lines.last(), L.trailCount).trimmed().toLongLong() - L.countLess;
    return info;
}

QStringList completeInterruptedMoves(const QString& recvDir) {
    return ResultFile::completeInterruptedMoves(recvDir, QLatin1Char('3'));
}

QList<ResultFileInfo> filesForBank(const QString& recvDir, const QString& workBank) {
    completeInterruptedMoves(recvDir);
    QList<ResultFileInfo> out;
    const QString bank = workBank.left(2);
    for (const QString& n : listFiles(recvDir))
        if (n.mid(2, 2) == bank) out << readInfo(QDir(recvDir).filePath(n));
    return out;
}

QString NextResultType(const QString& yymm, const QString& seqNo) {
    Query q(QStringLiteral("select Max(FileType) as FileSeq from M_SRFile where SRType = 'R' and YearMon = ? "
                           "and SeqNo = ? and substr(FileType, 1, 1) = '3'"));
    q.add(yymm).add(seqNo);
    if (!q.exec() || !q.next() || q.str(0).isEmpty()) return QStringLiteral("301");
    return QString::number(q.str(0).toInt() + 1);
}

ResultApplyOutcome apply(const ResultApplyRequest& req) {
    using Status = ResultApplyOutcome::Status;
    ResultApplyOutcome out;
    const QString fileName = QFileInfo(req.path).fileName();
    const QString fileBank = fileName.mid(2, 2);
    const QString workBank = req.workBank.left(2);
    const QString yearMon = req.yearMon.trimmed(), seqNo = req.seqNo.trimmed();

    if (yearMon.isEmpty() || seqNo.isEmpty()) {
        out.status = Status::NeedRound;
        out.messages << box(QStringLiteral("입력요망"), QStringLiteral("이체년월 및 회차를 입력하세요!!"));
        return out;
    }
    QFile f(req.path);
    if (!f.open(QIODevice::ReadOnly)) {
        out.messages << box(QStringLiteral("화일오류"), QStringLiteral("화일이 존재하지 않습니다!"));
        return out;
    }
    const QByteArray content = f.readAll();
    f.close();
    const QList<QByteArray> lines = ResultFile::splitLines(content);
    auto refuse = [&](const QString& why) {
        out.status = Status::Invalid;
        out.messages << box(QStringLiteral("화일오류"), why);
        return out;
    };
    auto refuseLine = [&](const QString& why, int i) {
        return refuse(QStringLiteral("%1\r화일명: %2, %3번째 줄").arg(why, fileName).arg(i + 1));
    };
    if (lines.size() < 2)
        return refuse(QStringLiteral("결과파일에 헤더 또는 트레일러가 없습니다.\r화일명: ") + fileName);
    const Reader reader = readerFor(fileBank);
    const Layout& L = layoutOf(reader);
    const QByteArray& head = lines.first();
    const QByteArray& tail = lines.last();

    if (L.headBank.valid() && field(head, L.headBank) != workBank) {
        out.messages << box(QStringLiteral("은행오류"), QStringLiteral("은행선택이 잘못되었습니다"));
        return out;
    }

    // The whole file is checked before anything changes.
    bool decodedOk = true;
    Cp949::decode(content, &decodedOk);
    if (!decodedOk)
        return refuse(QStringLiteral("결과파일에 읽을 수 없는 문자가 있습니다.\r화일명: ") + fileName);
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].size() != FL::L80::Width)
            return refuseLine(QStringLiteral("결과파일의 레코드 길이가 맞지 않습니다."), i);
    auto isData = [&](const QByteArray& l) { return l.startsWith(L.dataMark); };
    if (isData(head)) return refuse(QStringLiteral("결과파일에 헤더가 없습니다.\r화일명: ") + fileName);
    int end = 1;
    while (end < lines.size() && isData(lines[end]))
        ++end;
    if (end >= lines.size())
        return refuse(QStringLiteral("결과파일에 트레일러가 없습니다.\r화일명: ") + fileName);
    if (end != lines.size() - 1)
        return refuse(QStringLiteral("결과파일의 트레일러 뒤에 자료가 있습니다.\r화일명: ") + fileName);
    const int dataCount = end - 1;
    bool countOk = false;
    const qint64 announced = field(tail, L.trailCount).trimmed().toLongLong(&countOk) - L.countLess;
    if (!countOk || announced != dataCount)
        return refuse(QStringLiteral(
                          "결과파일의 자료건수가 트레일러와 다릅니다.\r화일명: %1 (자료 %2건, 트레일러 %3건)")
                          .arg(fileName)
                          .arg(dataCount)
                          .arg(announced));
    const QString hash = AppliedFiles::fingerprint(content);
    if (AppliedFiles::isApplied(hash))
        return refuse(QStringLiteral("이미 파일풀기 된 결과파일입니다.\r화일명: ") + fileName);
    if (!isRealDate(QStringLiteral("20") + field(head, L.headDate)))
        return refuse(QStringLiteral("결과파일 헤더의 이체일자가 올바른 날짜가 아닙니다.\r화일명: ") +
                      fileName);

    QList<Record> recs;
    recs.reserve(dataCount);
    for (int i = 1; i < end; ++i) {
        Record r = readRecord(reader, L, lines[i], head, i);
        if (L.flagValues && !QByteArray(L.flagValues).contains(lines[i].at(L.flag.off)))
            return refuseLine(QStringLiteral("결과파일의 처리결과 표시가 올바르지 않습니다."), i);
        if (!toAmount(r.amtField, &r.amount))
            return refuseLine(QStringLiteral("결과파일의 금액이 숫자가 아닙니다."), i);
        if (r.ok && r.amtField.trimmed().isEmpty())
            return refuseLine(QStringLiteral("결과파일의 정상처리 자료에 금액이 없습니다."), i);
        if (r.ok && !isRealDate(r.procDt))
            return refuseLine(QStringLiteral("결과파일의 이체일자가 올바른 날짜가 아닙니다."), i);
        recs << r;
    }
    const QString sums = ResultFile::checkTrailerSums(
        lines, end, L.sums,
        [&](const QByteArray& l) { return l.size() > L.flag.off && l.at(L.flag.off) == L.okMark; }, fileName);
    if (!sums.isEmpty()) return refuse(sums);

    // The round.
    const QString table = QStringLiteral("H_300_") + yearMon + seqNo;
    out.roundTable = table;
    if (!Database::isRoundTableName(table) || !Database::tableExists(table))
        return refuse(QStringLiteral("결과파일의 이체회차 자료가 없습니다.\r회차: %1").arg(table));
    const QString qt = Database::quoted(table);
    QList<RoundRow> rows;
    QHash<QString, int> byKey;        // SNo|ItemCd
    QHash<QString, QList<int>> bySNo; // bank 03 names the student only
    {
        Query all(QStringLiteral("select rowid, SNo, ItemCd, AcctNo, Amt, ReplyTy, ExempTy from %1 "
                                 "order by SNo, ItemCd")
                      .arg(qt));
        if (!all.exec()) return refuse(QStringLiteral("결과반영실패: ") + all.error());
        while (all.next()) {
            RoundRow r{all.num(0), all.str(1), all.str(2), all.str(3).trimmed(),
                       all.str(5), all.str(6), all.num(4)};
            byKey.insert(r.sno + QLatin1Char('|') + r.itemCd, int(rows.size()));
            bySNo[r.sno] << int(rows.size());
            rows << r;
        }
    }

    // Every record finds exactly one row, and no row is named twice.
    auto refuseRecord = [&](const QString& text) {
        out.status = Status::Invalid;
        out.messages << box(kApplyError, text);
        return out;
    };
    // Bank 03 names the student only: a student's records take the student's
    // rows in key order, one for one, and only when the counts agree.
    QHash<QString, int> recsOf, taken;
    if (reader == Reader::Bank03)
        for (const Record& r : recs)
            ++recsOf[r.sno];
    QList<int> target(recs.size(), -1);
    for (int k = 0; k < recs.size(); ++k) {
        const Record& r = recs[k];
        if (reader != Reader::Bank03) {
            const auto it = byKey.constFind(r.sno + QLatin1Char('|') + r.item);
            if (it == byKey.constEnd()) return refuseRecord(notFoundText(reader, r));
            target[k] = *it;
            continue;
        }
        const QList<int> cands = bySNo.value(r.sno);
        if (cands.isEmpty()) return refuseRecord(notFoundText(reader, r));
        if (cands.size() != recsOf.value(r.sno))
            return refuseRecord(
                student(r) +
                QStringLiteral("\r 결과파일의 자료 %1건과 회차의 학생자료 %2건이 맞지 않습니다.")
                    .arg(recsOf.value(r.sno))
                    .arg(cands.size()) +
                QStringLiteral("\r\r  확인을 하여 주십시오!"));
        target[k] = cands[taken[r.sno]++];
    }
    {
        QHash<int, int> seen;
        for (int k = 0; k < recs.size(); ++k)
            if (seen.contains(target[k]))
                return refuseRecord(student(recs[k]) +
                                    QStringLiteral("\r 한 학생자료에 결과가 두 번 있습니다. (%1, %2번째 줄)")
                                        .arg(recs[seen[target[k]]].line + 1)
                                        .arg(recs[k].line + 1) +
                                    QStringLiteral("\r\r  확인을 하여 주십시오!"));
            else
                seen.insert(target[k], k);
    }

    // Rows paid already, paid in cash or exempt are reported and left.
    QList<int> toApply;
    for (int k = 0; k < recs.size(); ++k) {
        const RoundRow& row = rows[target[k]];
        const Record& r = recs[k];
        if (row.replyTy == QLatin1String("1")) {
            out.messages << box(kApplyError, student(r) + QStringLiteral("\r 이미 이체된 학생입니다. ") +
                                                 QStringLiteral("\r\r  확인을 하여 주십시오!"));
            ++out.skippedRows;
        } else if (!row.replyTy.isEmpty() && row.replyTy != QLatin1String("0")) {
            out.messages << box(kApplyError, student(r) + QStringLiteral("\r 현금으로 처리된 학생입니다. ") +
                                                 QStringLiteral("\r\r  확인을 하여 주십시오!"));
            ++out.skippedRows;
        } else if (row.exempTy == QLatin1String("0")) {
            out.messages << box(kApplyError, student(r) + QStringLiteral("\r면제 학생입니다! ") +
                                                 QStringLiteral("\r\r  확인을 하여 주십시오!"));
            ++out.skippedRows;
        } else {
            toApply << k;
        }
    }

    Transaction tx;
    if (!tx.ok()) return refuse(QStringLiteral("결과반영실패: ") + tx.error());
    // Judged again inside the write: another copy may have applied it since.
    if (AppliedFiles::isApplied(hash))
        return refuse(QStringLiteral("이미 파일풀기 된 결과파일입니다.\r화일명: ") + fileName);
    const QString yymm = yearMon.mid(2, 4);
    const QString bankCode = req.listBankName.isEmpty() ? fileBank : DMData->GetBankCode(req.listBankName);
    // A name rback does not hold, so the book names the file stored.
    const QString rbackDir = DMLib->dir(QStringLiteral("rback"));
    const QString archive =
        ResultFile::freeResultArchive(rbackDir, yymm + seqNo + bankCode, NextResultType(yymm, seqNo));
    if (archive.isEmpty())
        return refuse(
            QStringLiteral("보관폴더(rback)에 이 회차의 결과파일 이름이 모두 쓰였습니다.\r화일명: ") +
            fileName);
    out.archiveName = archive;
    Query upOk(
        QStringLiteral(
            "update %1 set ReplyCd = ?, ExempTy = '1', Amt = ?, ProcDt = ?, ReplyTy = '1' where rowid = ?")
            .arg(qt));
    // A failed payment with no amount keeps what the student is owed.
    Query upFail(
        QStringLiteral("update %1 set ReplyCd = ?, ExempTy = '1', Amt = case when ? > 0 then ? else Amt "
                       "end, ProcDt = '00000000', ReplyTy = '0' where rowid = ?")
            .arg(qt));
    for (int k : toApply) {
        const Record& r = recs[k];
        const qint64 rowid = rows[target[k]].rowid;
        bool ok;
        if (r.ok)
            ok = upOk.add(r.reply).add(r.amount).add(r.procDt).add(rowid).exec();
        else
            ok = upFail.add(r.reply).add(r.amount).add(r.amount).add(rowid).exec();
        if (!ok) {
            out.status = Status::Invalid;
            out.messages << box(kApplyError, QStringLiteral("결과반영실패(") + r.sno + QLatin1Char(',') +
                                                 rows[target[k]].itemCd + QLatin1Char(')'));
            return out; // the transaction rolls back
        }
        ++out.appliedRows;
    }
    auto failWrite = [&](const QString& text) {
        out.status = Status::Invalid;
        out.messages << box(QStringLiteral("화일처리 오류"), text);
        return out;
    };
    QString err;
    if (!Database::insertRow(
            QStringLiteral("M_SRFILE"),
            {{QStringLiteral("SRType"), QStringLiteral("R")},
             {QStringLiteral("FileName"), archive},
             {QStringLiteral("FileType"), archive.mid(9, 3)},
             {QStringLiteral("YearMon"), archive.left(4)},
             {QStringLiteral("SeqNo"), archive.mid(4, 2)},
             {QStringLiteral("BankCd"),
              req.listBankName == QLatin1String("신농협중앙") ? QStringLiteral("10") : archive.mid(6, 2)},
             {QStringLiteral("DataCnt"), TDMLib::DigitsOnly(req.listCount).toLongLong()},
             {QStringLiteral("SRDate"), Clock::todayText()},
             {QStringLiteral("Gcode"), req.gcode.left(2)}},
            &err) ||
        !AppliedFiles::record(hash, archive, &err))
        return failWrite(QStringLiteral("결과파일을 등록하지 못했습니다.\r") + err);
    if (!DMLib->WriteJobLog(kMenu,
                            QStringLiteral("[파일풀기]은행명:") + req.listBankName +
                                QStringLiteral(", 파일명:") + fileName + QStringLiteral(", 이체일자:") +
                                req.listTransferDate + QStringLiteral(", 건수:") + req.listCount +
                                QStringLiteral(", 파일풀기회차:") + yearMon + QLatin1Char('-') + seqNo))
        return failWrite(QStringLiteral("작업기록을 남기지 못했습니다."));
    CrashPoint::hit("dist-apply-before-commit");
    if (!tx.commit()) return failWrite(QStringLiteral("결과를 저장하지 못했습니다.\r") + tx.error());
    // The rows and the fingerprint are in; a run killed before the move
    // leaves an applied file in recv, which the next listing moves on. An
    // archive in rback is never overwritten: the file goes under exactly the
    // name booked.
    const QString dest = QDir(rbackDir).filePath(archive);
    if (!System::moveFileNoReplace(req.path, dest))
        out.messages << box(QStringLiteral("화일처리 오류"),
                            QStringLiteral("결과파일을 보관폴더로 옮기지 못했습니다.\r화일명: ") + fileName +
                                QStringLiteral("\r결과는 반영되었습니다."));
    out.messages << box(QStringLiteral("파일풀기"), QStringLiteral("파일풀기가 완료되었습니다"),
                        MsgIcon::Information);
    out.status = Status::Applied;
    return out;
}

} // namespace DistribResult
