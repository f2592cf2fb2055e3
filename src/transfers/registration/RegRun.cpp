#include "transfers/registration/RegRun.h"

#include "data/AppliedFiles.h"
#include "data/DMBank.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "data/FileMoves.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "platform/sys/CrashPoint.h"
#include "platform/ui/Msg.h"
#include "transfers/common/BatFile.h"
#include "transfers/common/FileLayout.h"
#include "transfers/common/ResultFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

namespace RegRun {

namespace {

namespace Reg100 = FileLayout::Reg100;

void plainBox(const QString& text) {
    Msg::show(QCoreApplication::applicationName(), text);
}

// "1,234" as the window's counters and boxes show numbers.
QString counted(qint64 n) {
    return QLocale(QLocale::English).toString(n);
}

QString fieldOf(const QByteArray& line, FileLayout::Field f) {
    return QString::fromLatin1(line.mid(f.off, f.width));
}

} // namespace

QString tableName(const QString& yearMon, const QString& seqNo) {
    return QStringLiteral("H_R00_") + yearMon + seqNo;
}

bool exists(const QString& yearMon, const QString& seqNo) {
    const QString t = tableName(yearMon, seqNo);
    return Database::isRoundTableName(t) && Database::tableExists(t);
}

QStringList runTables() {
    return Database::listTables(QStringLiteral("H_R00_[0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9]"));
}

QString nextSeq(const QString& yearMon) {
    const QStringList names = runTables();
    for (auto it = names.crbegin(); it != names.crend(); ++it)
        if (it->mid(6, 6) == yearMon) {
            const int n = it->mid(12, 2).toInt() + 1;
            return n > 99 ? QString() : QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
        }
    return QStringLiteral("01");
}

QStringList bankTexts() {
    QStringList out{QStringLiteral("00.모든은행")};
    Query q(QStringLiteral("select distinct t1.BankCd, t2.BankNm from C_ACCT t1, C_BANK t2 "
                           "where t1.BankCd = t2.BankCd order by t1.BankCd"));
    if (q.exec())
        while (q.next())
            out << q.str(0) + QLatin1Char('.') + q.str(1);
    return out;
}

Created create(const QString& bankCd, const QString& bankText) {
    Created c;
    const QString bank = bankCd.left(2);
    c.repFacCd = DMData->GetRepCompyNo(bank);
    c.yearMon = Clock::today().toString(QStringLiteral("yyyyMM"));

    Transaction tx;
    if (!tx.ok()) {
        Msg::error(QStringLiteral("오류"), tx.error());
        return c;
    }
    // A blank state is not registered either.
    const QString flag =
        bank == QLatin1String("12") ? QStringLiteral("AcctRegYn_2") : QStringLiteral("AcctRegYn_1");
    QString sql = QStringLiteral("SELECT AcctNo, CustNo, Ju_No, BankCd FROM M_CUST WHERE ");
    QVariantList binds;
    if (bank == QLatin1String("11") || bank == QLatin1String("12")) {
        sql += QStringLiteral("BankCd in ('10','11','12') ");
    } else {
        sql += QStringLiteral("BankCd = ? ");
        binds << bank;
    }
    sql += QStringLiteral("AND coalesce(%1, '') not in ('Y','W') order by CustNo").arg(flag);
    struct Payer {
        QString acct, cust, juNo, bank;
    };
    QList<Payer> payers;
    {
        Query q(sql);
        for (const QVariant& b : binds)
            q.add(b);
        if (!q.exec()) {
            Msg::error(QStringLiteral("오류"), q.error());
            return c;
        }
        while (q.next())
            payers.append({q.str(0), q.str(1), q.str(2), q.str(3)});
    }
    if (payers.isEmpty()) {
        plainBox(QStringLiteral("등록대상자가 없습니다~!"));
        return c;
    }
    c.seqNo = nextSeq(c.yearMon);
    if (c.seqNo.isEmpty() || exists(c.yearMon, c.seqNo)) {
        plainBox(QStringLiteral("이미 존재하는 등록회차~!!"));
        return c;
    }
    const QString table = tableName(c.yearMon, c.seqNo);
    if (!DMData->CreateHR00(c.yearMon + c.seqNo)) {
        Msg::error(QStringLiteral("오류"), QStringLiteral("등록회차를 만들 수 없습니다.\r") + table);
        return c;
    }
    Query ins(QStringLiteral("INSERT INTO %1 (RegBankCd, RepFacCd, AcctNo, NapbuNo, SocId, BankCd) "
                             "VALUES (?, ?, ?, ?, ?, ?)")
                  .arg(Database::quoted(table)));
    for (const Payer& p : payers) {
        ins.add(bank)
            .add(Database::storableText(c.repFacCd, 10))
            .add(Database::storableText(p.acct, 15))
            .add(Database::storableText(p.cust, 12))
            .add(Database::storableText(p.juNo, 13))
            .add(Database::storableText(p.bank, 2));
        if (!ins.exec()) {
            Msg::error(QStringLiteral("오류"), QStringLiteral("등록회차를 만들 수 없습니다.\r납부자번호: ") +
                                                   p.cust + QLatin1Char('\r') + ins.error());
            return c; // the table goes with the rollback
        }
    }
    if (!tx.commit()) {
        Msg::error(QStringLiteral("오류"), tx.error());
        return c;
    }
    plainBox(QStringLiteral("등록은행:") + bankText + QLatin1Char('\r') +
             QStringLiteral("대표은행부여코드:") + c.repFacCd + QLatin1Char('\r') + QStringLiteral("회차:") +
             c.yearMon + c.seqNo);
    c.ok = true;
    c.rows = int(payers.size());
    return c;
}

Listing list(const QString& yearMon, const QString& seqNo, Filter filter) {
    Listing l;
    if (!exists(yearMon, seqNo)) return l;
    l.exists = true;
    QString sql =
        QStringLiteral("SELECT t2.SNo, t2.Nm, t2.Sex, t1.RegBankCd, t1.BankCd, t1.RepFacCd, t1.AcctNo, "
                       "t1.NapbuNo, t1.SocId, t1.ReqDt, t1.Result, t1.ErrCd FROM %1 t1, M_CUST t2 "
                       "WHERE t1.NapbuNo = t2.CustNo ")
            .arg(Database::quoted(tableName(yearMon, seqNo)));
    if (filter == Filter::Failed) sql += QStringLiteral("AND t1.Result not in ('Y','W') ");
    if (filter == Filter::Registered) sql += QStringLiteral("AND t1.Result = 'Y' ");
    sql += QStringLiteral("ORDER BY t2.SNo, t1.NapbuNo");
    Query q(sql);
    if (!q.exec()) return l;
    while (q.next()) {
        Row r{q.str(0), q.str(1), q.str(2), q.str(3), q.str(4),  q.str(5),
              q.str(6), q.str(7), q.str(8), q.str(9), q.str(10), q.str(11)};
        ++l.total;
        if (r.Result == QLatin1String("Y")) ++l.registered;
        if (r.Result == QLatin1String("N")) ++l.failed;
        l.rows << r;
    }
    return l;
}

QString sexText(const QString& sex) {
    if (sex == QLatin1String("1")) return QStringLiteral("남자");
    if (sex == QLatin1String("2")) return QStringLiteral("여자");
    return {};
}

QString resultText(const QString& result) {
    if (result == QLatin1String("Y")) return QStringLiteral("등록성공");
    if (result == QLatin1String("W")) return QStringLiteral("등록요청중");
    if (result == QLatin1String("N")) return QStringLiteral("등록실패");
    return {};
}

QString reasonText(const QString& errCd) {
    if (errCd.trimmed().isEmpty()) return {};
    return DMBankLib->GetReplyText(QStringLiteral("99"), errCd);
}

Written writeRequest(const QString& yearMon, const QString& seqNo, const Listing& shown) {
    Written w;
    if (seqNo.trimmed().isEmpty()) {
        plainBox(QStringLiteral("선택된 회차가 없습니다~!"));
        return w;
    }
    const int dow = Clock::today().dayOfWeek();
    if (dow == Qt::Saturday || dow == Qt::Sunday) {
        plainBox(QStringLiteral("공휴일에는 계좌등록자료를 은행으로 보내실수 없습니다."));
        return w;
    }
    if (!exists(yearMon, seqNo)) {
        plainBox(QStringLiteral("존재하지않는 회차입니다~!!"));
        return w;
    }
    // The bank and the code come from the listing: without one there is
    // nothing to take them from.
    if (shown.rows.isEmpty()) {
        plainBox(QStringLiteral("조회된 등록자료가 없습니다~!\r자료조회 후 파일작성을 하세요."));
        return w;
    }
    const QString runKey = yearMon + seqNo;
    const Row& first = shown.rows.first();
    plainBox(QStringLiteral("회차 : ") + runKey + QLatin1Char('\r') + QStringLiteral("요청일 : ") +
             Clock::todayText() + QLatin1Char('\r') + QStringLiteral("등록은행 : ") +
             DMData->GetBankName(first.RegBankCd) + QLatin1Char('\r') +
             QStringLiteral("대표은행부여코드 : ") + first.RepFacCd);
    const QString table = Database::quoted(tableName(yearMon, seqNo));
    // The booking goes with the placing of the file: no file in send without
    // its "G" row, and no row without its file.
    auto book = [&](const QString& file) {
        Query n(QStringLiteral("SELECT count(*) FROM %1").arg(table));
        if (!n.exec() || !n.next()) return false;
        return Database::insertRow(QStringLiteral("M_SRFILE"),
                                   {{QStringLiteral("SRType"), QStringLiteral("G")},
                                    {QStringLiteral("FileName"), file},
                                    {QStringLiteral("FileType"), file.mid(9, 3)},
                                    {QStringLiteral("YearMon"), file.left(4)},
                                    {QStringLiteral("SeqNo"), file.mid(4, 2)},
                                    {QStringLiteral("BankCd"), file.mid(6, 2)},
                                    {QStringLiteral("DataCnt"), n.num(0)},
                                    {QStringLiteral("Gcode"), QStringLiteral("01")}});
    };
    QString name;
    int count = 0;
    if (!bCreateRegFile(runKey, first.RegBankCd, first.RepFacCd, name, count, book)) {
        plainBox(QStringLiteral("파일작성 실패~!"));
        return w;
    }
    plainBox(QStringLiteral("파일작성 성공~!"));
    w.ok = true;
    w.fileName = name;
    w.count = count;
    return w;
}

namespace {

struct Record {
    QString payer, code;
    bool registered = false;
    bool hasStudent = true;
};

// A refusal: the file stays where it is and nothing has changed.
Applied refused(const QString& text) {
    plainBox(text);
    return {};
}

QString formatError(const QString& reason, const QString& file) {
    return QStringLiteral("등록결과파일 포맷오류~!!\r") + reason + QStringLiteral("\r화일명: ") + file;
}

// A code or number field holds printable ASCII only: a control character
// (NUL, TAB, ESC) would vanish in a trim or be stored as it stands.
bool printable(const QByteArray& field) {
    for (char c : field)
        if (uchar(c) < 0x20 || uchar(c) > 0x7E) return false;
    return true;
}

} // namespace

Applied applyFile(const QString& path) {
    const QString fileName = QFileInfo(path).fileName();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return refused(QStringLiteral("등록결과파일을 읽을 수 없습니다.\r화일명: ") + fileName);
    const QByteArray content = f.readAll();
    f.close();
    const QList<QByteArray> lines = ResultFile::splitLines(content);

    const QString headerError = QStringLiteral("등록결과파일 헤더부 포맷오류~!!");
    if (lines.isEmpty() || !lines.first().startsWith('S') || lines.first().size() != Reg100::Width)
        return refused(headerError);
    const QByteArray& head = lines.first();
    QString bank = fieldOf(head, Reg100::HeadBank);
    const QString code = fieldOf(head, Reg100::HeadCompy).trimmed();
    QString runKey;
    if (bank == QLatin1String("23")) {
        if (lines.size() < 2 || !lines[1].startsWith('D') || lines[1].size() != Reg100::Width)
            return refused(QStringLiteral("제일은행 등록결과파일 DATA부 포맷오류~!!"));
        runKey = fieldOf(lines[1], Reg100::RunKey23).left(8);
    } else {
        runKey = fieldOf(head, Reg100::HeadRunKey).left(8);
    }
    if (bank == QLatin1String("88")) bank = QStringLiteral("26");
    if (!printable(head.mid(Reg100::HeadCompy.off, Reg100::HeadCompy.width)) ||
        !printable(head.mid(Reg100::HeadBank.off, Reg100::HeadBank.width)) || !printable(runKey.toLatin1()))
        return refused(headerError);
    if (runKey.trimmed().isEmpty() || bank.trimmed().isEmpty() || code.isEmpty() ||
        !Database::isRoundTableName(QStringLiteral("H_R00_") + runKey))
        return refused(headerError);

    // Every line whole: 100 bytes, data records, a trailer that counts them.
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].size() != Reg100::Width)
            return refused(formatError(
                QStringLiteral("%1번째 줄의 길이가 %2바이트입니다.").arg(i + 1).arg(lines[i].size()),
                fileName));
    if (lines.size() < 2 || !lines.last().startsWith('E'))
        return refused(formatError(QStringLiteral("트레일러가 없습니다."), fileName));
    for (int i = 1; i + 1 < lines.size(); ++i)
        if (!lines[i].startsWith('D'))
            return refused(
                formatError(QStringLiteral("%1번째 줄이 데이터 레코드가 아닙니다.").arg(i + 1), fileName));
    const qint64 dataCount = lines.size() - 2;
    bool countOk = false, allOk = false;
    const qint64 trailCount = fieldOf(lines.last(), Reg100::TrailCount).toLongLong(&countOk);
    const qint64 trailAll = fieldOf(lines.last(), Reg100::TrailAll).toLongLong(&allOk);
    if (!countOk || !allOk || trailCount != dataCount || trailAll != dataCount + 2)
        return refused(formatError(
            QStringLiteral("트레일러의 건수가 자료 건수(%1)와 다릅니다.").arg(dataCount), fileName));

    const QString yearMon = runKey.left(6), seqNo = runKey.mid(6, 2);
    if (!exists(yearMon, seqNo))
        return refused(QStringLiteral("존재하지않는 회차입니다~!!\r화일명: ") + fileName);
    const QString hash = AppliedFiles::fingerprint(content);
    const QString applied = QStringLiteral("이미 반영된 계좌등록결과파일입니다.\r화일명: ") + fileName;
    if (AppliedFiles::isApplied(hash)) return refused(applied);

    const QString table = Database::quoted(tableName(yearMon, seqNo));
    QList<Record> records;
    {
        Query match(
            QStringLiteral("SELECT count(*) FROM %1 WHERE RegBankCd = ? AND RepFacCd = ? AND NapbuNo = ?")
                .arg(table));
        Query student(QStringLiteral("SELECT count(*) FROM M_CUST WHERE CustNo = ?"));
        for (int i = 1; i + 1 < lines.size(); ++i) {
            const QByteArray& l = lines[i];
            // The flag is Y or N, as in every result file; anything else is
            // not "not registered".
            const char flag = l.at(Reg100::Flag.off);
            if (flag != 'Y' && flag != 'N')
                return refused(formatError(
                    QStringLiteral("%1번째 줄의 등록결과 표시가 Y 또는 N이 아닙니다.").arg(i + 1), fileName));
            if (!printable(l.mid(Reg100::Reply.off, Reg100::Reply.width)) ||
                !printable(l.mid(Reg100::Payer.off, Reg100::Payer.width)))
                return refused(formatError(
                    QStringLiteral("%1번째 줄의 결과코드 또는 납부자번호에 쓸 수 없는 문자가 있습니다.")
                        .arg(i + 1),
                    fileName));
            Record r;
            r.payer = fieldOf(l, Reg100::Payer).trimmed();
            r.code = fieldOf(l, Reg100::Reply);
            r.registered = fieldOf(l, Reg100::Flag) == QLatin1String("Y") || r.code == QLatin1String("2005");
            match.add(bank).add(code).add(r.payer);
            if (!match.exec() || !match.next())
                return refused(QStringLiteral("결과반영실패\r") + match.error());
            const qint64 n = match.num(0);
            match.finish();
            if (n != 1)
                return refused((n == 0 ? QStringLiteral("결과반영대상이 회차에 없습니다~!!")
                                       : QStringLiteral("결과반영대상이 회차에 둘 이상입니다~!!")) +
                               QStringLiteral("\r납부자번호: ") + r.payer + QStringLiteral("\r화일명: ") +
                               fileName);
            student.add(r.payer);
            r.hasStudent = student.exec() && student.next() && student.num(0) > 0;
            student.finish();
            records << r;
        }
    }

    const QString head1 = QStringLiteral("[계좌등록 결과파일 반영]\r\r수신회차 : ") + yearMon +
                          QLatin1Char('-') + seqNo + QStringLiteral("\r등록은행 : ") +
                          DMData->GetBankName(bank);
    plainBox(head1);

    Applied a;
    a.yearMon = yearMon;
    a.seqNo = seqNo;
    const QString target = ResultFile::freeArchivePath(DMLib->dir(QStringLiteral("rback")), fileName);
    a.archiveName = QFileInfo(target).fileName();
    {
        Transaction tx;
        if (!tx.ok()) return refused(QStringLiteral("결과반영실패\r") + tx.error());
        // Judged again inside the write: another copy may have applied it since.
        if (AppliedFiles::isApplied(hash)) return refused(applied);
        Query up(QStringLiteral("UPDATE %1 SET ErrCd = ?, Result = ? WHERE RegBankCd = ? AND RepFacCd = ? "
                                "AND NapbuNo = ?")
                     .arg(table));
        const QString flag =
            bank == QLatin1String("12") ? QStringLiteral("AcctRegYn_2") : QStringLiteral("AcctRegYn_1");
        Query cust(QStringLiteral("UPDATE M_CUST SET %1 = ?, AcctRegDt = ? WHERE CustNo = ?").arg(flag));
        for (const Record& r : records) {
            const QString result = r.registered ? QStringLiteral("Y") : QStringLiteral("N");
            up.add(Database::storableText(r.code, 4)).add(result).add(bank).add(code).add(r.payer);
            cust.add(result).add(Clock::todayText()).add(r.payer);
            if (!up.exec() || !cust.exec())
                return refused(QStringLiteral("결과반영실패\r납부자번호: ") + r.payer);
            ++a.requests;
            if (r.registered) ++a.registered;
        }
        QString err;
        if (!AppliedFiles::record(hash, a.archiveName, &err) || !FileMoves::record(path, target, &err))
            return refused(QStringLiteral("결과반영실패\r") + err);
        CrashPoint::hit("apply-before-commit");
        if (!tx.commit()) return refused(QStringLiteral("결과반영실패\r") + tx.error());
    }
    CrashPoint::hit("apply-after-commit");
    for (const Record& r : records)
        if (!r.hasStudent) plainBox(QStringLiteral("결과반영대상 원본이 없음~!!\r납부자번호: ") + r.payer);
    plainBox(head1 + QStringLiteral("\r요청건수 : ") + counted(a.requests) + QStringLiteral("\r등록성공 : ") +
             counted(a.registered));
    // An archive in rback is never overwritten; a move that fails now is
    // finished at the next start.
    if (!FileMoves::carryOut(path, target))
        plainBox(QStringLiteral("결과파일을 보관폴더로 옮기지 못했습니다.\r화일명: ") + fileName +
                 QStringLiteral("\r결과는 반영되었습니다."));
    a.status = Applied::Status::Applied;
    return a;
}

QStringList resultFiles() {
    QDir d(DMLib->dir(QStringLiteral("recv")));
    return d.entryList({QStringLiteral("*.R*")}, QDir::Files, QDir::Name);
}

QList<Applied> applyAll() {
    QList<Applied> out;
    const QStringList files = resultFiles();
    if (files.isEmpty()) {
        plainBox(QStringLiteral("수신된 계좌등록결과파일이 없습니다."));
        return out;
    }
    const QDir recv(DMLib->dir(QStringLiteral("recv")));
    for (const QString& n : files)
        out << applyFile(recv.filePath(n));
    return out;
}

} // namespace RegRun
