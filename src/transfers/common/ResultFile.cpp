#include "transfers/common/ResultFile.h"

#include "data/AppliedFiles.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "platform/sys/CrashPoint.h"
#include "platform/sys/System.h"
#include "platform/text/Cp949.h"
#include "transfers/common/FileLayout.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace {

const QString kMenu = QStringLiteral("집금이체");
const QString kApplyError = QStringLiteral("이체처리오류");

namespace L80 = FileLayout::L80;
namespace L100B = FileLayout::L100B;
namespace L200 = FileLayout::L200;
namespace NH80 = FileLayout::NH80;
namespace NH12 = FileLayout::NH12;

QString field(const QByteArray& line, int off, int width) {
    return Cp949::decode(line.mid(off, width));
}
QString field(const QByteArray& line, FileLayout::Field f) {
    return field(line, f.off, f.width);
}
QByteArray bytes(const QByteArray& line, FileLayout::Field f) {
    return line.mid(f.off, f.width);
}
bool flagIs(const QByteArray& line, FileLayout::Field f, char mark) {
    return line.size() > f.off && line.at(f.off) == mark;
}

bool isOneOf(const QString& v, std::initializer_list<const char*> set) {
    for (const char* s : set)
        if (v == QLatin1String(s)) return true;
    return false;
}

MsgBox box(const QString& caption, const QString& text, MsgIcon icon = MsgIcon::Error) {
    return MsgBox{caption, text, icon, MsgButtons::Ok};
}

// Whole digits only; the amount fields are read as they stand.
bool toAmount(const QByteArray& f, qint64* out) {
    const QByteArray t = f.trimmed();
    if (t.isEmpty()) {
        *out = 0;
        return true;
    }
    for (char c : t)
        if (c < '0' || c > '9') return false;
    bool ok = false;
    *out = t.toLongLong(&ok);
    return ok;
}

} // namespace

namespace ResultFile {

QList<QByteArray> splitLines(const QByteArray& content) {
    QList<QByteArray> lines = content.split('\n');
    for (QByteArray& l : lines)
        if (l.endsWith('\r')) l.chop(1);
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString transferDateColumn(const QString& yymmdd) {
    return QStringLiteral("20") + yymmdd.mid(0, 2) + QLatin1Char('.') + yymmdd.mid(2, 2) + QLatin1Char('.') +
           yymmdd.mid(4, 2);
}

QStringList listFiles(const QString& recvDir, QChar kind) {
    QDir d(recvDir);
    QStringList out;
    for (const QString& n : d.entryList(QDir::Files, QDir::Name)) {
        const int dot = n.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0 && n.mid(dot + 1).startsWith(kind)) out << n;
    }
    return out;
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
    const QList<QByteArray> lines = splitLines(f.readAll());
    if (lines.isEmpty()) return info;
    const QByteArray& head = lines.first();
    const QByteArray& tail = lines.last();
    info.recLen = int(head.size());
    const QString b = info.bankCd;
    const bool nh = isOneOf(b, {"10", "11", "12"});
    if (nh && info.recLen == 200) {
        info.transferDate = field(head, L200::HeadDate).mid(2, 6);
        info.dataCount = field(tail, L200::TrailAll).toLongLong() - 2;
    } else if (isOneOf(b, {"10", "11"})) {
        info.transferDate = field(head, NH80::HeadStart);
        info.dataCount = field(tail, NH80::TrailAll).toLongLong() - 2;
    } else if (b == QLatin1String("12")) {
        info.transferDate = field(head, NH12::HeadDate);
        info.dataCount =
            field(tail, NH12::TrailOkCount).toLongLong() + field(tail, NH12::TrailFailCount).toLongLong();
    } else if (b == QLatin1String("23") && info.recLen == 100) {
        info.transferDate = field(head, L100B::HeadStart).mid(2, 6);
        info.dataCount = field(tail, L100B::TrailCount).toLongLong();
    } else {
        info.transferDate = field(head, L80::HeadStart);
        info.dataCount = field(tail, L80::TrailCount).toLongLong();
    }
    return info;
}

QString freeArchivePath(const QString& rbackDir, const QString& name) {
    return System::freeFilePath(QDir(rbackDir).filePath(name));
}

QString freeResultArchive(const QString& rbackDir, const QString& stem, const QString& firstType) {
    const QDir d(rbackDir);
    bool ok = false;
    const int first = firstType.toInt(&ok);
    if (!ok || first < 100) return {};
    for (int n = first; n <= first / 100 * 100 + 99; ++n) {
        const QString name = stem + QLatin1Char('.') + QString::number(n);
        if (!QFile::exists(d.filePath(name))) return name;
    }
    return {};
}

QString checkTrailerSums(const QList<QByteArray>& lines, int end,
                         std::span<const FileLayout::TrailerSum> sums,
                         const std::function<bool(const QByteArray&)>& processed, const QString& fileName) {
    using FileLayout::Records;
    const QByteArray& tail = lines.last();
    for (const FileLayout::TrailerSum& s : sums) {
        qint64 stated = 0;
        for (const FileLayout::Field& f : s.trailer) {
            if (!f.valid()) continue;
            qint64 v = 0;
            if (!toAmount(tail.mid(f.off, f.width), &v))
                return QStringLiteral("결과파일 트레일러의 금액이 숫자가 아닙니다.\r화일명: ") + fileName;
            stated += v;
        }
        qint64 sum = 0;
        for (int i = 1; i < end; ++i) {
            if (s.records != Records::All && processed(lines[i]) != (s.records == Records::Processed))
                continue;
            qint64 v = 0;
            if (!toAmount(lines[i].mid(s.amount.off, s.amount.width), &v))
                return QStringLiteral("결과파일의 금액이 숫자가 아닙니다.\r화일명: %1, %2번째 줄")
                    .arg(fileName)
                    .arg(i + 1);
            sum += v;
        }
        if (sum != stated) {
            const QString kind = s.records == Records::All         ? QStringLiteral("자료")
                                 : s.records == Records::Processed ? QStringLiteral("처리 자료")
                                                                   : QStringLiteral("미처리 자료");
            return QStringLiteral(
                       "결과파일의 금액합계가 트레일러와 다릅니다.\r화일명: %1 (%2 %3원, 트레일러 %4원)")
                .arg(fileName, kind)
                .arg(sum)
                .arg(stated);
        }
    }
    return {};
}

QStringList completeInterruptedMoves(const QString& recvDir, QChar kind) {
    QStringList moved;
    if (!DMLib) return moved;
    const QDir recv(recvDir);
    for (const QString& n : listFiles(recvDir, kind)) {
        const QString hash = AppliedFiles::fingerprintOfFile(recv.filePath(n));
        if (hash.isEmpty() || !AppliedFiles::isApplied(hash)) continue;
        QString archive = AppliedFiles::archiveName(hash);
        if (archive.isEmpty()) archive = n;
        // The name its booking gives; a file already there (a copy of the same
        // result put back into recv) is kept and this one goes beside it.
        const QString target = QDir(DMLib->dir(QStringLiteral("rback"))).filePath(archive);
        if (System::moveFileNoReplace(recv.filePath(n), target) ||
            System::moveFileNoReplace(recv.filePath(n), System::freeFilePath(target)))
            moved << n;
    }
    return moved;
}

QList<ResultFileInfo> filesForBank(const QString& recvDir, const QString& workBank) {
    QList<ResultFileInfo> out;
    // A file applied by a run that was killed before its move is no longer
    // waiting: it goes where that run would have put it.
    completeInterruptedMoves(recvDir);
    const QString bank = workBank.left(2);
    for (const QString& n : listFiles(recvDir)) {
        const QString fb = n.mid(2, 2);
        if (fb == bank || (bank == QLatin1String("10") && fb == QLatin1String("11")))
            out << readInfo(QDir(recvDir).filePath(n));
    }
    return out;
}

ResultReader chooseReader(const QString& fileBank, int recLen) {
    if (isOneOf(fileBank, {"10", "11", "12"}) && recLen == 200) return ResultReader::NH200;
    if (fileBank == QLatin1String("12")) return ResultReader::NH12;
    if (isOneOf(fileBank, {"45", "93"}) && recLen == 100) return ResultReader::Layout100A;
    if (fileBank == QLatin1String("23") && recLen == 100) return ResultReader::Layout100B;
    if (isOneOf(fileBank, {"10", "11"})) return ResultReader::NH80;
    return ResultReader::Layout80;
}

} // namespace ResultFile

namespace {

struct Record {
    QString custNo, itemCd, replyCd, procDt, acctBank;
    QByteArray amountField;
    qint64 amount = 0;
    bool success = false;
};

bool isDataRecord(ResultReader r, const QByteArray& line) {
    if (r == ResultReader::NH12) return line.startsWith("22");
    return line.startsWith('D');
}

QString payer80(const QByteArray& rec, const QString& workBank) {
    const QString f = field(rec, L80::Payer);
    if (isOneOf(workBank, {"45", "93"}) && f.startsWith(QLatin1Char('C'))) return f.mid(1, 12).trimmed();
    return f.left(12).trimmed();
}

Record readRecord(ResultReader r, const QByteArray& rec, const QByteArray& head, const QString& workBank) {
    Record x;
    switch (r) {
    case ResultReader::NH200:
        x.custNo = field(rec, L200::Payer).trimmed();
        x.itemCd = field(rec, L200::Item).mid(1, 2);
        x.amountField = bytes(rec, L200::Amt);
        x.success = flagIs(rec, L200::Flag, 'Y');
        x.replyCd = field(rec, L200::Reply).trimmed();
        x.procDt = field(head, L200::HeadDate);
        x.acctBank = workBank;
        break;
    case ResultReader::NH80:
        x.custNo = field(rec, NH80::Payer).trimmed();
        x.itemCd = field(rec, NH80::Item);
        x.amountField = bytes(rec, NH80::Amt);
        x.success = flagIs(rec, NH80::Flag, 'Y');
        x.replyCd = field(rec, NH80::Reply).trimmed();
        x.procDt = QStringLiteral("20") + field(rec, NH80::ProcDate);
        x.acctBank = workBank;
        break;
    case ResultReader::NH12:
        x.custNo = field(rec, NH12::Key).trimmed();
        x.itemCd = field(rec, NH12::ItemWide).trimmed();
        x.amountField = bytes(rec, NH12::Amt);
        x.success = flagIs(rec, NH12::Flag, '1');
        x.replyCd = field(rec, NH12::Reply).trimmed();
        x.procDt = QStringLiteral("20") + field(head, NH12::HeadDate);
        x.acctBank = field(rec, NH12::Bank);
        break;
    case ResultReader::Layout100B:
        x.custNo = field(rec, L100B::Payer).left(12).trimmed();
        x.itemCd = field(rec, L100B::Item).left(2);
        x.amountField = bytes(rec, L100B::OkAmt);
        x.success = flagIs(rec, L100B::Flag, 'Y');
        x.replyCd = field(rec, L100B::Reply).trimmed();
        x.procDt = field(head, L100B::HeadStart);
        x.acctBank = field(rec, L100B::Bank);
        break;
    case ResultReader::Layout100A:
    case ResultReader::Layout80:
        x.custNo = payer80(rec, workBank);
        x.itemCd = field(rec, L80::Item);
        x.amountField = bytes(rec, L80::Amt);
        x.success = flagIs(rec, L80::Flag, 'Y');
        x.replyCd = field(rec, L80::Reply).trimmed();
        x.procDt = QStringLiteral("20") + field(head, L80::HeadStart);
        x.acctBank = field(rec, L80::Bank);
        break;
    }
    return x;
}

bool notRegisteredCode(ResultReader r, const QString& code) {
    if (r == ResultReader::NH80 || r == ResultReader::NH12) return isOneOf(code, {"44", "55"});
    return isOneOf(code, {"2007", "2008"});
}

// Data records the trailer announces, for the count check.
qint64 trailerCount(ResultReader r, const QByteArray& tail) {
    switch (r) {
    case ResultReader::NH200:
        return field(tail, L200::TrailAll).toLongLong() - 2;
    case ResultReader::NH80:
        return field(tail, NH80::TrailAll).toLongLong() - 2;
    case ResultReader::NH12:
        return field(tail, NH12::TrailOkCount).toLongLong() + field(tail, NH12::TrailFailCount).toLongLong();
    case ResultReader::Layout100B:
        return field(tail, L100B::TrailCount).toLongLong();
    case ResultReader::Layout100A:
    case ResultReader::Layout80:
        return field(tail, L80::TrailCount).toLongLong();
    }
    return -1;
}

std::span<const FileLayout::TrailerSum> trailerSums(ResultReader r) {
    switch (r) {
    case ResultReader::NH200:
        return L200::Sums;
    case ResultReader::NH80:
        return NH80::Sums;
    case ResultReader::NH12:
        return NH12::Sums;
    case ResultReader::Layout100B:
        return L100B::Sums;
    case ResultReader::Layout100A:
    case ResultReader::Layout80:
        break;
    }
    return L80::Sums;
}

// The flag byte and the values it may hold; null when the layout's failure
// value is not fixed.
const char* flagValues(ResultReader r) {
    return r == ResultReader::NH12 ? nullptr : "YN";
}

int flagOffset(ResultReader r) {
    switch (r) {
    case ResultReader::NH200:
        return L200::Flag.off;
    case ResultReader::NH80:
        return NH80::Flag.off;
    case ResultReader::NH12:
        return NH12::Flag.off;
    case ResultReader::Layout100B:
        return L100B::Flag.off;
    case ResultReader::Layout100A:
    case ResultReader::Layout80:
        return L80::Flag.off;
    }
    return -1;
}

bool isRealDate(const QString& yyyymmdd) {
    return yyyymmdd.size() == 8 && QDate::fromString(yyyymmdd, QStringLiteral("yyyyMMdd")).isValid();
}

void logApply(const ResultApplyRequest& req, const QString& action, const QString& table) {
    DMLib->WriteJobLog(
        kMenu, action + QStringLiteral("은행명:") + req.listBankName + QStringLiteral(", 파일명:") +
                   QFileInfo(req.path).fileName() + QStringLiteral(", 이체일자:") + req.listTransferDate +
                   QStringLiteral(", 건수:") + req.listCount + QStringLiteral(", 파일풀기회차:") +
                   table.mid(6, 6) + QLatin1Char('-') + table.mid(12, 2));
}

} // namespace

QString ResultApplier::NextResultFileType(const QString& yymm, const QString& seqNo) {
    Query q(QStringLiteral("select Max(FileType) as FileSeq from M_SRFile where SRType = 'R' and YearMon = ? "
                           "and SeqNo = ? and substr(FileType, 1, 1) = '2'"));
    q.add(yymm).add(seqNo);
    if (!q.exec() || !q.next() || q.str(0).isEmpty()) return QStringLiteral("201");
    return QString::number(q.str(0).toInt() + 1);
}

ResultApplyOutcome ResultApplier::apply(const ResultApplyRequest& req) {
    using Status = ResultApplyOutcome::Status;
    ResultApplyOutcome out;
    const QString fileName = QFileInfo(req.path).fileName();
    const QString fileBank = fileName.mid(2, 2);
    const QString workBank = req.workBank.left(2);

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
    if (lines.size() < 2)
        return refuse(QStringLiteral("결과파일에 헤더 또는 트레일러가 없습니다.\r화일명: ") + fileName);
    const int recLen = int(lines.first().size());
    const ResultReader reader = ResultFile::chooseReader(fileBank, recLen);
    const QByteArray& head = lines.first();

    // Round of the dialog, where the layout needs it.
    const bool needsDialogRound = reader == ResultReader::NH12 ||
                                  ((reader == ResultReader::Layout80 || reader == ResultReader::Layout100A) &&
                                   isOneOf(workBank, {"21", "06", "23", "03"}));
    if (needsDialogRound && (req.yearMon.trimmed().isEmpty() || req.seqNo.trimmed().isEmpty())) {
        out.status = Status::NeedRound;
        out.messages << box(QStringLiteral("입력요망"), QStringLiteral("이체년월 및 회차를 입력하세요!!"));
        return out;
    }

    // Bank check.
    QString headBank;
    if (reader == ResultReader::NH200)
        headBank = field(head, 4, 3).mid(1, 2);
    else if (reader == ResultReader::NH80)
        headBank = field(head, 1, 2);
    else if (reader == ResultReader::NH12)
        headBank = field(head, 2, 2);
    if (!headBank.isNull() && headBank != workBank) {
        out.messages << box(QStringLiteral("은행오류"), QStringLiteral("은행선택이 잘못되었습니다"));
        return out;
    }

    // The whole file is checked before anything changes.
    bool decodedOk = true;
    Cp949::decode(content, &decodedOk);
    if (!decodedOk)
        return refuse(QStringLiteral("결과파일에 읽을 수 없는 문자가 있습니다.\r화일명: ") + fileName);
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].size() != recLen)
            return refuse(QStringLiteral("결과파일의 레코드 길이가 맞지 않습니다.\r화일명: %1, %2번째 줄")
                              .arg(fileName)
                              .arg(i + 1));
    if (isDataRecord(reader, head))
        return refuse(QStringLiteral("결과파일에 헤더가 없습니다.\r화일명: ") + fileName);
    int end = 1;
    while (end < lines.size() && isDataRecord(reader, lines[end]))
        ++end;
    if (end >= lines.size())
        return refuse(QStringLiteral("결과파일에 트레일러가 없습니다.\r화일명: ") + fileName);
    if (end != lines.size() - 1)
        return refuse(QStringLiteral("결과파일의 트레일러 뒤에 자료가 있습니다.\r화일명: ") + fileName);
    const int dataCount = end - 1;
    const qint64 announced = trailerCount(reader, lines.last());
    if (announced != dataCount)
        return refuse(QStringLiteral(
                          "결과파일의 자료건수가 트레일러와 다릅니다.\r화일명: %1 (자료 %2건, 트레일러 %3건)")
                          .arg(fileName)
                          .arg(dataCount)
                          .arg(announced));
    const QString hash = AppliedFiles::fingerprint(content);
    if (AppliedFiles::isApplied(hash))
        return refuse(QStringLiteral("이미 파일풀기 된 결과파일입니다.\r화일명: ") + fileName);
    if (reader == ResultReader::NH80 && !isRealDate(QStringLiteral("20") + field(head, 13, 6)))
        return refuse(QStringLiteral("결과파일 헤더의 이체일자가 올바른 날짜가 아닙니다.\r화일명: ") + fileName);

    // Dates, flags and amounts of every record, and the trailer's sum.
    {
        auto line = [&](const QString& what, int i) {
            return refuse(QStringLiteral("%1\r화일명: %2, %3번째 줄").arg(what, fileName).arg(i + 1));
        };
        QString headDate;
        switch (reader) {
        case ResultReader::NH200:
            headDate = field(head, 21, 8);
            break;
        case ResultReader::NH12:
            headDate = QStringLiteral("20") + field(head, 4, 6);
            break;
        case ResultReader::Layout100B:
            headDate = field(head, 26, 8);
            break;
        case ResultReader::Layout100A:
        case ResultReader::Layout80:
            headDate = QStringLiteral("20") + field(head, 15, 6);
            break;
        case ResultReader::NH80:
            break; // each record carries its own date
        }
        if (!headDate.isNull() && !isRealDate(headDate))
            return refuse(QStringLiteral("결과파일 헤더의 이체일자가 올바른 날짜가 아닙니다.\r화일명: ") + fileName);
        const char* flags = flagValues(reader);
        const int flagAt = flagOffset(reader);
        for (int i = 1; i < end; ++i) {
            Record r = readRecord(reader, lines[i], head, workBank);
            if (flags && !QByteArray(flags).contains(lines[i].at(flagAt)))
                return line(QStringLiteral("결과파일의 처리결과 표시가 올바르지 않습니다."), i);
            if (reader == ResultReader::NH80 && !isRealDate(r.procDt))
                return line(QStringLiteral("결과파일의 이체일자가 올바른 날짜가 아닙니다."), i);
            if (!toAmount(r.amountField, &r.amount))
                return line(QStringLiteral("결과파일의 금액이 숫자가 아닙니다."), i);
            if (r.success && r.amountField.trimmed().isEmpty())
                return line(QStringLiteral("결과파일의 정상처리 자료에 금액이 없습니다."), i);
        }
        const char okMark = reader == ResultReader::NH12 ? '1' : 'Y';
        const QString sums = ResultFile::checkTrailerSums(
            lines, end, trailerSums(reader),
            [&](const QByteArray& l) { return l.size() > flagAt && l.at(flagAt) == okMark; }, fileName);
        if (!sums.isEmpty()) return refuse(sums);
    }

    // The round table.
    QString table;
    if (needsDialogRound) {
        table = QStringLiteral("H_200_") + req.yearMon.trimmed() + req.seqNo.trimmed();
    } else if (reader == ResultReader::NH200) {
        table = QStringLiteral("H_200_20") + field(head, 72, 10).left(6);
    } else if (reader == ResultReader::NH80) {
        table = QStringLiteral("H_200_20") + field(head, 31, 8).left(6);
    } else if (reader == ResultReader::Layout100B) {
        table = QStringLiteral("H_200_20") + field(lines[1], 50, 10).left(6);
    } else {
        table = QStringLiteral("H_200_20") + field(head, 63, 17).left(6);
    }
    out.roundTable = table;
    if (!Database::isRoundTableName(table) || !Database::tableExists(table))
        return refuse(QStringLiteral("결과파일의 이체회차 자료가 없습니다.\r회차: %1").arg(table));
    const QString qt = Database::quoted(table);

    // Every record must find its row; cash, refunded and wholly exempt rows
    // are reported and left alone.
    QList<Record> toApply;
    // The round's rows by payer and item, read once.
    QHash<QString, std::pair<QString, QString>> rows;
    {
        Query all(QStringLiteral("select CustNo, ItemCd, ReplyTy, ExempTy from %1").arg(qt));
        if (!all.exec()) return refuse(QStringLiteral("결과반영실패: ") + all.error());
        while (all.next())
            rows.insert(all.str(0) + QLatin1Char('|') + all.str(1), std::pair{all.str(2), all.str(3)});
    }
    for (int i = 1; i < end; ++i) {
        Record r = readRecord(reader, lines[i], head, workBank);
        // A merged file that could not be split still carries each record's
        // own round; none may land on another round's rows.
        if (reader == ResultReader::NH200) {
            const QString key = field(lines[i], 114, 6).trimmed();
            if (!key.isEmpty() && key != table.mid(8, 6))
                return refuse(
                    QStringLiteral("결과파일에 다른 회차(%1)의 자료가 있습니다.\r화일명: %2, %3번째 줄")
                        .arg(key, fileName)
                        .arg(i + 1));
        }
        if (!toAmount(r.amountField, &r.amount))
            return refuse(QStringLiteral("결과파일의 금액이 숫자가 아닙니다.\r화일명: %1, %2번째 줄")
                              .arg(fileName)
                              .arg(i + 1));
        const auto row = rows.constFind(r.custNo + QLatin1Char('|') + r.itemCd);
        if (row == rows.constEnd()) {
            out.status = Status::Invalid;
            if (reader == ResultReader::NH12)
                out.messages << box(kApplyError, QStringLiteral("납부자번호=") + r.custNo +
                                                     QStringLiteral("\r") +
                                                     QStringLiteral(" 학생자료가 변경되었거나 없습니다. ") +
                                                     QStringLiteral("\r\r") +
                                                     QStringLiteral("  확인한 후 다시 파일풀기 하세요!"));
            else
                out.messages << box(
                    kApplyError, QStringLiteral("납부자번호=") + r.custNo + QStringLiteral("\r") +
                                     QStringLiteral(" 항목코드=") + r.itemCd + QStringLiteral("\r") +
                                     QStringLiteral(" 학생이 삭제되어 파일풀기오류가 발생하였으니") +
                                     QStringLiteral("\r") + QStringLiteral("해당 학생을 '학생추가'하신 후") +
                                     QStringLiteral("\r") + QStringLiteral("다시 파일풀기 작업해주세요.") +
                                     QStringLiteral("\r\r") + QStringLiteral("  확인을 하여 주십시오!"));
            logApply(req, QStringLiteral("[파일풀기오류]"), table);
            return out;
        }
        const QString& replyTy = row->first;
        const QString& exempTy = row->second;
        if (replyTy == QLatin1String("2")) {
            out.messages << box(kApplyError,
                                QStringLiteral("납부자번호=") + r.custNo + QStringLiteral(" 학생을") +
                                    QStringLiteral("\r") +
                                    QStringLiteral("현금수납 하여 파일풀기오류가 발생하였으니") +
                                    QStringLiteral("\r") + QStringLiteral("해당 학생을 미처리로 수정 후") +
                                    QStringLiteral("\r") + QStringLiteral(" 다시 파일풀기 작업해주세요") +
                                    QStringLiteral("\r\r") + QStringLiteral("  확인을 하여 주십시오!"));
            ++out.skippedRows;
        } else if (replyTy == QLatin1String("3")) {
            out.messages << box(kApplyError,
                                QStringLiteral("납부자번호=") + r.custNo + QStringLiteral(" ") +
                                    QStringLiteral("\r") + QStringLiteral(" 환불처리된 학생입니다. ") +
                                    QStringLiteral("\r\r") + QStringLiteral("  확인을 하여 주십시오!"));
            ++out.skippedRows;
        } else if (exempTy == QLatin1String("0")) {
            out.messages << box(kApplyError, QStringLiteral("납부자번호=") + r.custNo + QStringLiteral(" ") +
                                                 QStringLiteral("\r") + QStringLiteral("면제 학생입니다! ") +
                                                 QStringLiteral("\r\r") +
                                                 QStringLiteral("  확인을 하여 주십시오!"));
            ++out.skippedRows;
        } else {
            toApply << r;
        }
    }

    Transaction tx;
    if (!tx.ok()) return refuse(QStringLiteral("결과반영실패: ") + tx.error());
    // Judged again inside the write: another copy may have applied it since.
    if (AppliedFiles::isApplied(hash))
        return refuse(QStringLiteral("이미 파일풀기 된 결과파일입니다.\r화일명: ") + fileName);
    // Archive name and book values, numbered inside the write as well; the
    // name is one rback does not hold, so the book names the file stored.
    const QString yymm = table.mid(8, 4), seq = table.mid(12, 2);
    const QString listBankCode =
        req.listBankName.isEmpty() ? fileBank : DMData->GetBankCode(req.listBankName);
    const QString rbackDir = DMLib->dir(QStringLiteral("rback"));
    const QString archive =
        ResultFile::freeResultArchive(rbackDir, yymm + seq + listBankCode, NextResultFileType(yymm, seq));
    if (archive.isEmpty())
        return refuse(
            QStringLiteral("보관폴더(rback)에 이 회차의 결과파일 이름이 모두 쓰였습니다.\r화일명: ") +
            fileName);
    out.archiveName = archive;
    // A failed transfer with no amount keeps what the payer owes.
    Query upOk(QStringLiteral("update %1 set ReplyCd = ?, ExempTy = '1', Amt = ?, ProcDt = ?, ReplyTy = '1' "
                              "where CustNo = ? and ItemCd = ?")
                   .arg(qt));
    Query upFail(
        QStringLiteral("update %1 set ReplyCd = ?, ExempTy = '1', Amt = case when ? > 0 then ? else Amt end, "
                       "ProcDt = '00000000', ReplyTy = '0' where CustNo = ? and ItemCd = ?")
            .arg(qt));
    Query reg1(QStringLiteral("update M_CUST set AcctRegYn_1 = 'N' where CustNo = ?"));
    Query reg2(QStringLiteral("update M_CUST set AcctRegYn_2 = 'N' where CustNo = ?"));
    for (const Record& r : toApply) {
        bool ok;
        if (r.success) {
            upOk.add(r.replyCd).add(r.amount).add(r.procDt).add(r.custNo).add(r.itemCd);
            ok = upOk.exec();
        } else {
            upFail.add(r.replyCd).add(r.amount).add(r.amount).add(r.custNo).add(r.itemCd);
            ok = upFail.exec();
        }
        if (ok && notRegisteredCode(reader, r.replyCd)) {
            Query& reg = r.acctBank == QLatin1String("12") ? reg2 : reg1;
            reg.add(r.custNo);
            ok = reg.exec();
        }
        if (!ok) {
            out.messages << box(kApplyError, QStringLiteral("결과반영실패(") + r.custNo + QLatin1Char(',') +
                                                 r.itemCd + QLatin1Char(')'));
            out.status = Status::Invalid;
            return out; // the transaction rolls back
        }
        ++out.appliedRows;
    }
    const QString bookBank =
        req.listBankName == QLatin1String("신농협중앙") ? QStringLiteral("10") : archive.mid(6, 2);
    const qint64 count = TDMLib::DigitsOnly(req.listCount).toLongLong();
    QString err;
    if (!Database::insertRow(QStringLiteral("M_SRFILE"),
                             {{QStringLiteral("SRType"), QStringLiteral("R")},
                              {QStringLiteral("FileName"), archive},
                              {QStringLiteral("FileType"), archive.mid(9, 3)},
                              {QStringLiteral("YearMon"), archive.left(4)},
                              {QStringLiteral("SeqNo"), archive.mid(4, 2)},
                              {QStringLiteral("BankCd"), bookBank},
                              {QStringLiteral("DataCnt"), count},
                              {QStringLiteral("SRDate"), Clock::todayText()},
                              {QStringLiteral("Gcode"), req.gcode.left(2)}},
                             &err)) {
        out.messages << box(QStringLiteral("화일처리 오류"),
                            QStringLiteral("결과파일을 등록하지 못했습니다.\r") + err);
        out.status = Status::Invalid;
        return out;
    }
    // The rows, the booking, the log row and the fingerprint commit together;
    // the file is moved only after that. A run killed in between leaves an
    // applied file in recv, which the next listing moves on.
    if (!AppliedFiles::record(hash, archive, &err)) {
        out.messages << box(QStringLiteral("화일처리 오류"),
                            QStringLiteral("결과파일을 등록하지 못했습니다.\r") + err);
        out.status = Status::Invalid;
        return out;
    }
    logApply(req, QStringLiteral("[파일풀기]"), table);
    CrashPoint::hit("apply-before-commit");
    if (!tx.commit()) {
        out.messages << box(QStringLiteral("화일처리 오류"), QStringLiteral("결과를 저장하지 못했습니다.\r") + tx.error());
        out.status = Status::Invalid;
        return out;
    }
    CrashPoint::hit("apply-after-commit");
    // Exactly the name booked; an archive in rback is never overwritten.
    const QString target = QDir(rbackDir).filePath(archive);
    if (!System::moveFileNoReplace(req.path, target))
        out.messages << box(QStringLiteral("화일처리 오류"),
                            QStringLiteral("결과파일을 보관폴더로 옮기지 못했습니다.\r화일명: ") + fileName +
                                QStringLiteral("\r결과는 반영되었습니다."));
    CrashPoint::hit("apply-after-move");
    out.messages << box(QStringLiteral("파일풀기"), QStringLiteral("파일풀기가 완료되었습니다"),
                        MsgIcon::Information);
    out.status = Status::Applied;
    return out;
}

bool ResetTransferDate(const TransferDateReset& r, QString* error) {
    const QString table = QStringLiteral("H_200_") + r.yearMon + r.seqNo;
    const QString qt = Database::quoted(table);
    if (!Database::isRoundTableName(table) || qt.isEmpty()) {
        if (error) *error = table;
        return false;
    }
    QString sql = QStringLiteral("update %1 set ReplyTy = '0', ReplyCd = NULL, ProcDt = NULL "
                                 "where YearMon = ? and SeqNo = ? ")
                      .arg(qt);
    QVariantList binds{r.yearMon, r.seqNo};
    const QString bank = r.bankCd.left(2);
    if (isOneOf(bank, {"10", "11", "12"})) {
        sql += QStringLiteral("and BankCd in ('10','11','12') ");
    } else if (bank != QLatin1String("00")) {
        sql += QStringLiteral("and BankCd = ? ");
        binds << bank;
    }
    if (!r.itemIds.isEmpty()) {
        sql += QStringLiteral("and ItemCd in (%1) ")
                   .arg(QStringList(QList<QString>(r.itemIds.size(), QStringLiteral("?")))
                            .join(QLatin1Char(',')));
        for (const QString& id : r.itemIds)
            binds << id.left(2);
    }
    auto bound = [&](const QString& b, const char* op) {
        if (b.size() == SNoLen) {
            sql += QStringLiteral("and SNo %1 ? ").arg(QLatin1String(op));
            binds << b;
        } else if (b.size() == 3 || b.size() == 1) {
            sql += QStringLiteral("and substr(SNo, 1, %1) %2 ? ").arg(b.size()).arg(QLatin1String(op));
            binds << b;
        }
    };
    bound(r.fromSNo, ">=");
    bound(r.toSNo, "<=");
    sql += QStringLiteral("and ProcDt = ? and ExempTy > '0' and ReplyTy = '1'");
    binds << r.procDt.trimmed();
    Query q(sql);
    for (const QVariant& b : binds)
        q.add(b);
    if (!q.exec()) {
        if (error) *error = q.error();
        return false;
    }
    return true;
}
