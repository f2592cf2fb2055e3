#include "transfers/common/ResultFile.h"

#include "data/AppliedFiles.h"
#include "data/DMModule.h"
#include "data/FileMoves.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "platform/sys/System.h"
#include "transfers/common/FileLayout.h"
#include "transfers/common/ResultEngine.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kMenu = QStringLiteral("집금이체");

namespace L80 = FileLayout::L80;
namespace L100B = FileLayout::L100B;
namespace L200 = FileLayout::L200;
namespace NH80 = FileLayout::NH80;
namespace NH12 = FileLayout::NH12;

using ResultEngine::field;
bool flagIs(const QByteArray& line, FileLayout::Field f, char mark) {
    return line.size() > f.off && line.at(f.off) == mark;
}

bool isOneOf(const QString& v, std::initializer_list<const char*> set) {
    for (const char* s : set)
        if (v == QLatin1String(s)) return true;
    return false;
}

} // namespace

namespace ResultFile {

QList<QByteArray> splitLines(const QByteArray& content) {
    return AppliedFiles::lines(content);
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
            if (!ResultEngine::toAmount(ResultEngine::bytesOf(tail, f), &v))
                return QStringLiteral("결과파일 트레일러의 금액이 숫자가 아닙니다.\r화일명: ") + fileName;
            stated += v;
        }
        qint64 sum = 0;
        for (int i = 1; i < end; ++i) {
            if (s.records != Records::All && processed(lines[i]) != (s.records == Records::Processed))
                continue;
            qint64 v = 0;
            if (!ResultEngine::toAmount(ResultEngine::bytesOf(lines[i], s.amount), &v))
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

QStringList finishBookedMoves(const QString& recvDir) {
    return FileMoves::finishPending(recvDir);
}

QList<ResultFileInfo> filesForBank(const QString& recvDir, const QString& workBank) {
    QList<ResultFileInfo> out;
    // A file whose apply was killed before its move is no longer waiting.
    finishBookedMoves(recvDir);
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

namespace RE = ResultEngine;

} // namespace

// The collection readers' layouts, as the whole-file check reads them.
const ResultEngine::Layout& ResultFile::layoutOf(ResultReader r) {
    static const RE::Layout nh200{.dataMark = "D",
                                  .headBank = {L200::HeadBank.off + 1, 2},
                                  .headDate = L200::HeadDate,
                                  .counts = {RE::Count{L200::TrailAll, {}, 2}},
                                  .sums = L200::Sums,
                                  .flag = L200::Flag,
                                  .flagValues = "YN",
                                  .amount = L200::Amt,
                                  .reply = L200::Reply};
    static const RE::Layout nh80{.dataMark = "D",
                                 .headBank = NH80::HeadBank,
                                 .headDate = NH80::HeadStart,
                                 .recDate = NH80::ProcDate,
                                 .recDateAlways = true,
                                 .counts = {RE::Count{NH80::TrailAll, {}, 2}},
                                 .sums = NH80::Sums,
                                 .flag = NH80::Flag,
                                 .flagValues = "YN",
                                 .amount = NH80::Amt,
                                 .reply = NH80::Reply};
    static const RE::Layout nh12{.dataMark = "22",
                                 .headBank = NH12::HeadBank,
                                 .headDate = NH12::HeadDate,
                                 .counts = {RE::Count{NH12::TrailOkCount, NH12::TrailFailCount, 0}},
                                 .sums = NH12::Sums,
                                 .flag = NH12::Flag,
                                 .okMark = '1',
                                 .amount = NH12::Amt,
                                 .reply = NH12::Reply};
    static const RE::Layout l100b{.dataMark = "D",
                                  .headDate = L100B::HeadStart,
                                  .counts = {RE::Count{L100B::TrailCount},
                                             RE::Count{L100B::TrailOkCount, {}, 0, FileLayout::Records::Processed}},
                                  .sums = L100B::Sums,
                                  .flag = L100B::Flag,
                                  .flagValues = "YN",
                                  .amount = L100B::OkAmt,
                                  .reply = L100B::Reply};
    static const RE::Layout l80{.dataMark = "D",
                                .headDate = L80::HeadStart,
                                .counts = RE::Counts80,
                                .sums = L80::Sums,
                                .flag = L80::Flag,
                                .flagValues = "YN",
                                .amount = L80::Amt,
                                .reply = L80::Reply};
    switch (r) {
    case ResultReader::NH200:
        return nh200;
    case ResultReader::NH80:
        return nh80;
    case ResultReader::NH12:
        return nh12;
    case ResultReader::Layout100B:
        return l100b;
    case ResultReader::Layout100A:
    case ResultReader::Layout80:
        break;
    }
    return l80;
}

namespace {

using ResultFile::layoutOf;

QString payer80(const QByteArray& rec, const QString& workBank) {
    const QString f = field(rec, L80::Payer);
    if (isOneOf(workBank, {"45", "93"}) && f.startsWith(QLatin1Char('C'))) return f.mid(1, 12).trimmed();
    return f.left(12).trimmed();
}

// A data record of a collection reader: the payer and item it names.
// headDate: the header's transfer date, read once per file.
RE::Record readRecord(ResultReader r, const QByteArray& rec, const QString& headDate, const QString& workBank) {
    const RE::Layout& L = layoutOf(r);
    RE::Record x;
    x.ok = flagIs(rec, L.flag, L.okMark);
    x.procDt = L.recDate.valid() ? RE::fullDate(rec, L.recDate) : headDate;
    x.acctBank = workBank;
    switch (r) {
    case ResultReader::NH200:
        x.key = field(rec, L200::Payer).trimmed();
        x.item = field(rec, {L200::Item.off + 1, 2});
        x.reply = field(rec, L200::Reply).trimmed();
        break;
    case ResultReader::NH80:
        x.key = field(rec, NH80::Payer).trimmed();
        x.item = field(rec, NH80::Item);
        x.reply = field(rec, NH80::Reply).trimmed();
        break;
    case ResultReader::NH12:
        x.key = field(rec, NH12::Key).trimmed();
        x.item = field(rec, NH12::ItemWide).trimmed();
        x.reply = field(rec, NH12::Reply).trimmed();
        x.acctBank = field(rec, NH12::Bank);
        break;
    case ResultReader::Layout100B:
        x.key = field(rec, L100B::Payer).left(12).trimmed();
        x.item = field(rec, L100B::Item).left(2);
        x.reply = field(rec, L100B::Reply).trimmed();
        x.acctBank = field(rec, L100B::Bank);
        break;
    case ResultReader::Layout100A:
    case ResultReader::Layout80:
        x.key = payer80(rec, workBank);
        x.item = field(rec, L80::Item);
        x.reply = field(rec, L80::Reply).trimmed();
        x.acctBank = field(rec, L80::Bank);
        break;
    }
    return x;
}

bool notRegisteredCode(ResultReader r, const QString& code) {
    if (r == ResultReader::NH80 || r == ResultReader::NH12) return isOneOf(code, {"44", "55"});
    return isOneOf(code, {"2007", "2008"});
}

QString payerText(const RE::Record& r) {
    return QStringLiteral("납부자번호=") + r.key;
}

// The collection policy: rows named by payer and item in H_200_ rounds.
class CollectPolicy : public RE::TransferPolicy {
public:
    explicit CollectPolicy(const ResultApplyRequest& req) : TransferPolicy(req, QLatin1Char('2')) {}

    RE::Reader choose(const RE::Loaded& f, ResultApplyOutcome* refusal) const override {
        kind_ = ResultFile::chooseReader(f.fileName.mid(2, 2), int(f.lines.first().size()));
        dialogRound_ = kind_ == ResultReader::NH12 ||
                       ((kind_ == ResultReader::Layout80 || kind_ == ResultReader::Layout100A) &&
                        isOneOf(workBank_, {"21", "06", "23", "03"}));
        if (dialogRound_ && !roundGiven(refusal)) return {};
        const ResultReader kind = kind_;
        const QString workBank = workBank_, headDate = RE::fullDate(f.lines.first(), layoutOf(kind).headDate);
        return {&layoutOf(kind), [kind, workBank, headDate](const QByteArray& rec, const QByteArray&, int line) {
                    RE::Record x = readRecord(kind, rec, headDate, workBank);
                    x.line = line;
                    if (kind == ResultReader::NH200) x.round = field(rec, L200::RecRunKey).trimmed();
                    return x;
                }};
    }
    // A merged file that could not be split still carries each record's own
    // round; none may land on another round's rows.
    QString foreignRound(const RE::Record& r, const QString& table, const RE::Loaded& f) const override {
        if (r.round.isEmpty() || r.round == table.mid(8, 6)) return {};
        return QStringLiteral("결과파일에 다른 회차(%1)의 자료가 있습니다.\r화일명: %2, %3번째 줄")
            .arg(r.round, f.fileName)
            .arg(r.line + 1);
    }

    QString roundTable(const RE::Loaded& f, const QList<RE::Record>&) const override {
        const QByteArray& head = f.lines.first();
        const QString prefix = QStringLiteral("H_200_20");
        if (dialogRound_) return QStringLiteral("H_200_") + yearMon_ + seqNo_;
        switch (kind_) {
        case ResultReader::NH200:
            return prefix + field(head, L200::HeadRunKey).left(6);
        case ResultReader::NH80:
            return prefix + field(head, NH80::HeadRunKey).left(6);
        case ResultReader::Layout100B:
            return prefix + field(f.lines[1], L100B::RunKey).left(6);
        default:
            return prefix + field(head, L80::HeadRunKey).left(6);
        }
    }

    QString rowsSql(const QString& qt) const override {
        return QStringLiteral("select rowid, CustNo, ItemCd, ReplyTy, ExempTy from %1").arg(qt);
    }
    QString unknown(const RE::Record& r) const override {
        if (kind_ == ResultReader::NH12)
            return payerText(r) + QStringLiteral("\r 학생자료가 변경되었거나 없습니다. \r\r  확인한 후 다시 파일풀기 하세요!");
        return payerText(r) + QStringLiteral("\r 항목코드=") + r.item +
               QStringLiteral("\r 학생이 삭제되어 파일풀기오류가 발생하였으니\r해당 학생을 '학생추가'하신 후\r"
                              "다시 파일풀기 작업해주세요.\r\r  확인을 하여 주십시오!");
    }
    QString ambiguous(const RE::Record& r, int rows) const override {
        return payerText(r) + QStringLiteral("\r 항목코드=") + r.item +
               QStringLiteral("\r 회차에 같은 자료가 %1건 있습니다.\r\r  확인을 하여 주십시오!").arg(rows);
    }
    QString doubled(const RE::Record& r, const RE::Record& first) const override {
        return payerText(r) + QStringLiteral("\r 항목코드=") + r.item +
               QStringLiteral("\r 한 자료에 결과가 두 번 있습니다. (%1, %2번째 줄)\r\r  확인을 하여 주십시오!")
                   .arg(first.line + 1)
                   .arg(r.line + 1);
    }
    void onUnknown(const QString& table) const override { logApply(QStringLiteral("[파일풀기오류]"), table); }
    QString skip(const RE::Row& row, const RE::Record& r) const override {
        if (row.replyTy == '2')
            return payerText(r) + QStringLiteral(" 학생을\r현금수납 하여 파일풀기오류가 발생하였으니\r"
                                                 "해당 학생을 미처리로 수정 후\r 다시 파일풀기 작업해주세요\r\r"
                                                 "  확인을 하여 주십시오!");
        if (row.replyTy == '3')
            return payerText(r) + QStringLiteral(" \r 환불처리된 학생입니다. \r\r  확인을 하여 주십시오!");
        if (row.exempTy == '0')
            return payerText(r) + QStringLiteral(" \r면제 학생입니다! \r\r  확인을 하여 주십시오!");
        return {};
    }

    // A reply that the account is not registered resets the payer's flag.
    class Writer : public RowWriter {
    public:
        Writer(const QString& qt, ResultReader kind)
            : RowWriter(qt), kind_(kind), reg1_(QStringLiteral("update M_CUST set AcctRegYn_1 = 'N' where CustNo = ?")),
              reg2_(QStringLiteral("update M_CUST set AcctRegYn_2 = 'N' where CustNo = ?")) {}
        bool after(const RE::Record& r) override {
            if (!notRegisteredCode(kind_, r.reply)) return true;
            return (r.acctBank == QLatin1String("12") ? reg2_ : reg1_).add(r.key).exec();
        }

    private:
        ResultReader kind_;
        Query reg1_, reg2_;
    };
    std::unique_ptr<RE::Policy::Writer> writer(const QString& qt) const override {
        return std::make_unique<Writer>(qt, kind_);
    }
    bool log(const RE::Loaded&, const QString& table) const override {
        return logApply(QStringLiteral("[파일풀기]"), table);
    }

private:
    bool logApply(const QString& action, const QString& table) const {
        return writeLog(kMenu, action, QFileInfo(req_.path).fileName(),
                        table.mid(6, 6) + QLatin1Char('-') + table.mid(12, 2));
    }

    mutable ResultReader kind_ = ResultReader::Layout80;
    mutable bool dialogRound_ = false;
};

} // namespace

bool ResultFile::bookResult(const ResultApplyRequest& req, const QString& archive, QString* error) {
    const QString bookBank =
        req.listBankName == QLatin1String("신농협중앙") ? QStringLiteral("10") : archive.mid(6, 2);
    return Database::insertRow(QStringLiteral("M_SRFILE"),
                               {{QStringLiteral("SRType"), QStringLiteral("R")},
                                {QStringLiteral("FileName"), archive},
                                {QStringLiteral("FileType"), archive.mid(9, 3)},
                                {QStringLiteral("YearMon"), archive.left(4)},
                                {QStringLiteral("SeqNo"), archive.mid(4, 2)},
                                {QStringLiteral("BankCd"), bookBank},
                                {QStringLiteral("DataCnt"), TDMLib::DigitsOnly(req.listCount).toLongLong()},
                                {QStringLiteral("SRDate"), Clock::todayText()},
                                {QStringLiteral("Gcode"), req.gcode.left(2)}},
                               error);
}

QString ResultApplier::NextResultFileType(const QString& yymm, const QString& seqNo) {
    return ResultEngine::nextResultType(yymm, seqNo, QLatin1Char('2'));
}

ResultApplyOutcome ResultApplier::apply(const ResultApplyRequest& req) {
    return ResultEngine::apply(req.path, CollectPolicy(req));
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
