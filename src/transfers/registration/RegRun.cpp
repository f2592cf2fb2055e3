#include "transfers/registration/RegRun.h"

#include "data/DMBank.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Msg.h"
#include "transfers/common/BatFile.h"
#include "transfers/common/FileLayout.h"
#include "transfers/common/ResultEngine.h"
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

namespace RE = ResultEngine;

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

const RE::Layout kLayout{.width = Reg100::Width,
                         .wholeCp949 = false,
                         .dataMark = "D",
                         .trailMark = 'E',
                         .counts = {RE::Count{Reg100::TrailCount}, RE::Count{Reg100::TrailAll, {}, 2}},
                         .flag = Reg100::Flag,
                         .flagValues = "YN"};

// What the header names: the registration bank, the institution code and
// the run (bank 23 carries the run in its first data record).
struct Header {
    QString bank, code, runKey;
    QString problem; // the refusal of a header the file may not have
};

Header readHeader(const QList<QByteArray>& lines) {
    Header h;
    const QString headerError = QStringLiteral("등록결과파일 헤더부 포맷오류~!!");
    if (lines.isEmpty() || !lines.first().startsWith('S') || lines.first().size() != Reg100::Width)
        return {{}, {}, {}, headerError};
    const QByteArray& head = lines.first();
    h.bank = fieldOf(head, Reg100::HeadBank);
    h.code = fieldOf(head, Reg100::HeadCompy).trimmed();
    if (h.bank == QLatin1String("23")) {
        if (lines.size() < 2 || !lines[1].startsWith('D') || lines[1].size() != Reg100::Width)
            return {{}, {}, {}, QStringLiteral("제일은행 등록결과파일 DATA부 포맷오류~!!")};
        h.runKey = fieldOf(lines[1], Reg100::RunKey23).left(8);
    } else {
        h.runKey = fieldOf(head, Reg100::HeadRunKey).left(8);
    }
    if (h.bank == QLatin1String("88")) h.bank = QStringLiteral("26");
    if (!printable(head.mid(Reg100::HeadCompy.off, Reg100::HeadCompy.width)) ||
        !printable(head.mid(Reg100::HeadBank.off, Reg100::HeadBank.width)) || !printable(h.runKey.toLatin1()) ||
        h.runKey.trimmed().isEmpty() || h.bank.trimmed().isEmpty() || h.code.isEmpty() ||
        !Database::isRoundTableName(QStringLiteral("H_R00_") + h.runKey))
        h.problem = headerError;
    return h;
}

RE::Record readRecord(const QByteArray& l, int line, const QString& fileName) {
    RE::Record r;
    r.line = line;
    // The flag is Y or N, as in every result file; anything else is not
    // "not registered".
    const char flag = l.at(Reg100::Flag.off);
    if (flag != 'Y' && flag != 'N') {
        r.fault = formatError(QStringLiteral("%1번째 줄의 등록결과 표시가 Y 또는 N이 아닙니다.").arg(line + 1), fileName);
        return r;
    }
    if (!printable(l.mid(Reg100::Reply.off, Reg100::Reply.width)) ||
        !printable(l.mid(Reg100::Payer.off, Reg100::Payer.width))) {
        r.fault = formatError(
            QStringLiteral("%1번째 줄의 결과코드 또는 납부자번호에 쓸 수 없는 문자가 있습니다.").arg(line + 1), fileName);
        return r;
    }
    r.key = fieldOf(l, Reg100::Payer).trimmed();
    r.reply = fieldOf(l, Reg100::Reply);
    r.ok = flag == 'Y' || r.reply == QLatin1String("2005");
    return r;
}

// Registration results: rows of the run named by the payer number among the
// rows of the header's bank and institution; the students' registration
// states change with them.
class RegPolicy : public RE::Policy {
public:
    explicit RegPolicy(const QString& fileName) : fileName_(fileName) {}

    RE::Reader choose(const RE::Loaded& f, ResultApplyOutcome* refusal) const override {
        header_ = readHeader(f.lines);
        if (!header_.problem.isEmpty()) {
            refusal->status = ResultApplyOutcome::Status::Invalid;
            refusal->messages << MsgBox{{}, header_.problem, MsgIcon::Error, MsgButtons::Ok};
            return {};
        }
        yearMon_ = header_.runKey.left(6);
        seqNo_ = header_.runKey.mid(6, 2);
        const QString fileName = f.fileName;
        return {&kLayout, [fileName](const QByteArray& rec, const QByteArray&, int line) {
                    return readRecord(rec, line, fileName);
                }};
    }

    QString fault(const RE::FaultInfo& why, const RE::Loaded& f) const override {
        const QString& n = f.fileName;
        switch (why.fault) {
        case RE::Fault::Unreadable:
            return QStringLiteral("등록결과파일을 읽을 수 없습니다.\r화일명: ") + n;
        case RE::Fault::NoHeadOrTrailer: {
            const Header h = readHeader(f.lines);
            return h.problem.isEmpty() ? formatError(QStringLiteral("트레일러가 없습니다."), n) : h.problem;
        }
        case RE::Fault::HeaderIsData:
            return QStringLiteral("등록결과파일 헤더부 포맷오류~!!");
        case RE::Fault::Width:
            return formatError(QStringLiteral("%1번째 줄의 길이가 %2바이트입니다.").arg(why.line + 1).arg(why.a), n);
        case RE::Fault::NoTrailer:
            return formatError(QStringLiteral("트레일러가 없습니다."), n);
        case RE::Fault::AfterTrailer:
            return formatError(QStringLiteral("%1번째 줄이 데이터 레코드가 아닙니다.").arg(why.line + 1), n);
        case RE::Fault::Count:
            return formatError(QStringLiteral("트레일러의 건수가 자료 건수(%1)와 다릅니다.").arg(why.a), n);
        case RE::Fault::Applied:
            return QStringLiteral("이미 반영된 계좌등록결과파일입니다.\r화일명: ") + n;
        case RE::Fault::NoRound:
            return QStringLiteral("존재하지않는 회차입니다~!!\r화일명: ") + n;
        default:
            return QStringLiteral("결과반영실패\r") + why.detail;
        }
    }
    QString roundTable(const RE::Loaded&, const QList<RE::Record>&) const override {
        return tableName(yearMon_, seqNo_);
    }

    QString rowsSql(const QString& qt) const override {
        return QStringLiteral("SELECT rowid, NapbuNo, '', Result, '' FROM %1 WHERE RegBankCd = ? AND RepFacCd = ?")
            .arg(qt);
    }
    QList<QVariant> rowsBinds() const override { return {header_.bank, header_.code}; }
    QString unknown(const RE::Record& r) const override {
        return payerText(QStringLiteral("결과반영대상이 회차에 없습니다~!!"), r);
    }
    QString ambiguous(const RE::Record& r, int) const override {
        return payerText(QStringLiteral("결과반영대상이 회차에 둘 이상입니다~!!"), r);
    }
    QString doubled(const RE::Record& r, const RE::Record&) const override {
        return payerText(QStringLiteral("결과반영대상이 파일에 두 번 있습니다~!!"), r);
    }

    class RowWriter : public Writer {
    public:
        RowWriter(const QString& qt, const QString& bank)
            : up_(QStringLiteral("UPDATE %1 SET ErrCd = ?, Result = ? WHERE rowid = ?").arg(qt)),
              cust_(QStringLiteral("UPDATE M_CUST SET %1 = ?, AcctRegDt = ? WHERE CustNo = ?")
                        .arg(bank == QLatin1String("12") ? QStringLiteral("AcctRegYn_2")
                                                         : QStringLiteral("AcctRegYn_1"))),
              today_(Clock::todayText()) {}
        bool write(const RE::Record& r, const RE::Row& row) override {
            const QString result = r.ok ? QStringLiteral("Y") : QStringLiteral("N");
            return up_.add(Database::storableText(r.reply, 4)).add(result).add(row.rowid).exec() &&
                   cust_.add(result).add(today_).add(r.key).exec();
        }

    private:
        Query up_, cust_;
        QString today_;
    };
    std::unique_ptr<Writer> writer(const QString& qt) const override {
        return std::make_unique<RowWriter>(qt, header_.bank);
    }
    QString writeFailed(const RE::Record& r, const RE::Row&) const override {
        return QStringLiteral("결과반영실패\r납부자번호: ") + r.key;
    }
    QString archiveName(const RE::Loaded& f, const QString&) const override {
        return QFileInfo(ResultFile::freeArchivePath(DMLib->dir(QStringLiteral("rback")), f.fileName)).fileName();
    }

    void planned(const QString&, const QList<const RE::Record*>& applied, QList<MsgBox>* out) const override {
        head_ = QStringLiteral("[계좌등록 결과파일 반영]\r\r수신회차 : ") + yearMon_ + QLatin1Char('-') + seqNo_ +
                QStringLiteral("\r등록은행 : ") + DMData->GetBankName(header_.bank);
        *out << MsgBox{{}, head_, MsgIcon::None, MsgButtons::Ok};
        Query student(QStringLiteral("SELECT count(*) FROM M_CUST WHERE CustNo = ?"));
        for (const RE::Record* r : applied) {
            student.add(r->key);
            if (!(student.exec() && student.next() && student.num(0) > 0)) noStudent_ << r->key;
            student.finish();
        }
    }
    void committed(const QList<const RE::Record*>& applied, QList<MsgBox>* out) const override {
        for (const QString& payer : noStudent_)
            *out << MsgBox{{}, QStringLiteral("결과반영대상 원본이 없음~!!\r납부자번호: ") + payer, MsgIcon::None,
                           MsgButtons::Ok};
        registered_ = int(std::count_if(applied.cbegin(), applied.cend(), [](const RE::Record* r) { return r->ok; }));
        *out << MsgBox{{}, head_ + QStringLiteral("\r요청건수 : ") + counted(applied.size()) +
                               QStringLiteral("\r등록성공 : ") + counted(registered_),
                       MsgIcon::None, MsgButtons::Ok};
    }

    QString yearMon() const { return yearMon_; }
    QString seqNo() const { return seqNo_; }
    int registered() const { return registered_; }

private:
    QString payerText(const QString& what, const RE::Record& r) const {
        return what + QStringLiteral("\r납부자번호: ") + r.key + QStringLiteral("\r화일명: ") + fileName_;
    }

    QString fileName_;
    mutable Header header_;
    mutable QString yearMon_, seqNo_, head_;
    mutable QStringList noStudent_;
    mutable int registered_ = 0;
};

} // namespace

const ResultEngine::Layout& resultLayout() {
    return kLayout;
}

Applied applyFile(const QString& path) {
    RegPolicy policy(QFileInfo(path).fileName());
    const ResultApplyOutcome o = ResultEngine::apply(path, policy);
    // Plain boxes: the program's title, OK, no icon.
    for (const MsgBox& m : o.messages)
        plainBox(m.text);
    Applied a;
    if (o.status != ResultApplyOutcome::Status::Applied) return a;
    a.status = Applied::Status::Applied;
    a.yearMon = policy.yearMon();
    a.seqNo = policy.seqNo();
    a.archiveName = o.archiveName;
    a.requests = o.appliedRows;
    a.registered = policy.registered();
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
