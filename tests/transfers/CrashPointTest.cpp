// The program killed at each step of its main actions, and two copies of it
// on one data root. A child zq-driver is stopped at a named step
// (ZQ_CRASH_AT); the next start is then checked: the database is sound, the
// action is whole or absent, its file is where the state says, and the action
// can be done again.
#include "RoundFixture.h"

#include "basic/DataBackup.h"
#include "data/AppliedFiles.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/settings/Registry.h"
#include "platform/sys/CrashPoint.h"
#include "students/StudentStore.h"
#include "transfers/common/ResultFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>

namespace {

struct Driven {
    int rc = -1;
    QStringList boxes; // texts of the boxes shown
};

class CrashPoints : public RoundFixture {
protected:
    QProcess* spawn(const QStringList& args, const QByteArray& var = {}, const QByteArray& value = {}) {
        auto* p = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("ZQ_REGISTRY"), path(QStringLiteral("registry.ini")));
        if (!var.isEmpty()) env.insert(QString::fromLatin1(var), QString::fromLatin1(value));
        p->setProcessEnvironment(env);
        p->start(QStringLiteral(ZQ_DRIVER_PATH),
                 QStringList{QStringLiteral("--root"), root(), QStringLiteral("--today"),
                             QStringLiteral("20260316"), QStringLiteral("--answers"),
                             QStringLiteral("yes,yes,ok,ok")} +
                     args);
        EXPECT_TRUE(p->waitForStarted());
        return p;
    }
    // Waits until a copy started with ZQ_PAUSE_AT holds at its step, however
    // slowly it starts.
    static void waitPaused(QProcess* p) {
        QByteArray err;
        QElapsedTimer t;
        t.start();
        p->setReadChannel(QProcess::StandardError);
        while (!err.contains("paused at ") && p->state() != QProcess::NotRunning && t.elapsed() < 60000) {
            p->waitForReadyRead(100);
            err += p->readAllStandardError();
        }
        p->setReadChannel(QProcess::StandardOutput);
        EXPECT_TRUE(err.contains("paused at ")) << err.constData();
    }
    static Driven finish(QProcess* p) {
        Driven d;
        EXPECT_TRUE(p->waitForFinished(60000));
        d.rc = p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -1;
        for (const QByteArray& l : p->readAllStandardOutput().split('\n')) {
            const QJsonObject o = QJsonDocument::fromJson(l).object();
            if (o.contains(QStringLiteral("box"))) d.boxes << o.value(QStringLiteral("text")).toString();
        }
        delete p;
        return d;
    }
    // Runs the driver with the services of this process stopped, then starts
    // them again: that start is "the next start" after a kill.
    Driven drive(const QStringList& args, const QByteArray& crashAt = {}) {
        stopServices();
        Driven d = finish(spawn(args, crashAt.isEmpty() ? QByteArray() : "ZQ_CRASH_AT", crashAt));
        if (!crashAt.isEmpty()) EXPECT_EQ(d.rc, CrashPoint::kExitCode) << crashAt.constData();
        startServices();
        QString err;
        EXPECT_TRUE(Database::integrityCheck(path(QStringLiteral("data/school.db")), &err))
            << err.toStdString();
        return d;
    }
    const QStringList createRound{
        QStringLiteral("round"),    QStringLiteral("create"), QStringLiteral("--ym"),
        QStringLiteral("202603"),   QStringLiteral("--seq"),  QStringLiteral("01"),
        QStringLiteral("--grades"), QStringLiteral("2,3"),    QStringLiteral("--items"),
        QStringLiteral("01,02"),    QStringLiteral("--bank"), QStringLiteral("99")};
    const QStringList addStudent{
        QStringLiteral("student"), QStringLiteral("add"),    QStringLiteral("--grade"),
        QStringLiteral("3"),       QStringLiteral("--sno"),  QStringLiteral("0199"),
        QStringLiteral("--name"),  QStringLiteral("새학생"), QStringLiteral("--bank"),
        QStringLiteral("99"),      QStringLiteral("--sms"),  QStringLiteral("2")};

    QStringList files(const QString& folder) const {
        return QDir(path(folder)).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    qint64 logCount(const QString& like) {
        return scalar(QStringLiteral("select count(*) from L_Log_202603 where JobLog like ?"), {like});
    }

    // A round of 2024-05 round 03 with two rows and a 200-byte result file
    // of bank 11 for both.
    void resultFixture() {
        round(QStringLiteral("20240503"),
              {row(QStringLiteral("C1"), QStringLiteral("10101"), QStringLiteral("01"), 500),
               row(QStringLiteral("C2"), QStringLiteral("10102"), QStringLiteral("01"), 700)});
        auto rec = [](QByteArray b, int off, const QByteArray& v) { return b.replace(off, v.size(), v); };
        QByteArray head(200, ' '), d1(200, ' '), d2(200, ' '), tail(200, ' ');
        head = rec(rec(rec(rec(head, 0, "H"), 4, "011"), 21, "20260310"), 72, "2405030000");
        auto data = [&](const QByteArray& cust, const QByteArray& amt) {
            QByteArray d(200, ' ');
            d = rec(rec(rec(rec(rec(d, 0, "D"), 20, " 01"), 42, amt.rightJustified(13, '0')), 94, cust), 154,
                    "Y0000");
            return rec(d, 114, "240503");
        };
        d1 = data("C1", "500");
        d2 = data("C2", "700");
        tail = rec(rec(rec(tail, 0, "E"), 1, "0000004"), 15, QByteArray("1200").rightJustified(15, '0'));
        QFile f(path(QStringLiteral("recv/00110001.201")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        for (const QByteArray& l : {head, d1, d2, tail})
            f.write(l + "\r\n");
    }
    QStringList resultApply() {
        return {QStringLiteral("result"), QStringLiteral("apply"), QStringLiteral("00110001.201"),
                QStringLiteral("--bank"), QStringLiteral("11")};
    }
    QString replyOf(const QString& cust) {
        return column(QStringLiteral("select ReplyTy from H_200_20240503 where CustNo = ?"), {cust}).value(0);
    }
};

TEST_F(CrashPoints, ResultApplicationIsWholeOrAbsentAndCanBeRepeated) {
    const struct {
        const char* step;
        bool applied;
    } cases[] = {
        {"apply-before-commit", false},
        {"apply-after-commit", true},
        {"apply-after-move", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        stopServices();
        QDir(root()).removeRecursively();
        QDir().mkpath(root());
        startServices();
        resultFixture();
        drive(resultApply(), c.step);
        // The next start has finished a move the kill cut off, before any
        // result list is opened.
        EXPECT_EQ(files(QStringLiteral("recv")),
                  c.applied ? QStringList{} : QStringList{QStringLiteral("00110001.201")});
        EXPECT_EQ(files(QStringLiteral("rback")),
                  c.applied ? QStringList{QStringLiteral("24050311.201")} : QStringList{});
        EXPECT_EQ(logCount(QStringLiteral("[중단작업완료] rback/24050311.201")),
                  qstrcmp(c.step, "apply-after-commit") == 0 ? 1 : 0);
        EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_FILEMOVE")), 0);
        EXPECT_EQ(replyOf(QStringLiteral("C1")), QLatin1String(c.applied ? "1" : "0"));
        EXPECT_EQ(replyOf(QStringLiteral("C2")), QLatin1String(c.applied ? "1" : "0"));
        EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_SRFILE where SRType = 'R'")),
                  c.applied ? 1 : 0);
        EXPECT_EQ(logCount(QStringLiteral("[파일풀기]%")), c.applied ? 1 : 0);
        // The listing finishes an interrupted move, and shows only what waits.
        const auto listed = ResultFile::filesForBank(path(QStringLiteral("recv")), QStringLiteral("11"));
        EXPECT_EQ(listed.size(), c.applied ? 0 : 1);
        EXPECT_EQ(files(QStringLiteral("rback")),
                  c.applied ? QStringList{QStringLiteral("24050311.201")} : QStringList{});
        if (!c.applied) {
            EXPECT_EQ(drive(resultApply()).rc, 0);
            EXPECT_EQ(replyOf(QStringLiteral("C1")), QStringLiteral("1"));
        }
        // The same file offered again, its archive and booking gone, is
        // refused by its fingerprint alone; being a copy, it stays in recv
        // through the next start and is listed.
        QFile::copy(path(QStringLiteral("rback/24050311.201")), path(QStringLiteral("recv/00110001.201")));
        QFile::remove(path(QStringLiteral("rback/24050311.201")));
        Database::exec(QStringLiteral("delete from M_SRFILE"));
        stopServices();
        startServices();
        EXPECT_EQ(files(QStringLiteral("recv")), QStringList{QStringLiteral("00110001.201")});
        EXPECT_TRUE(files(QStringLiteral("rback")).isEmpty());
        EXPECT_EQ(ResultFile::filesForBank(path(QStringLiteral("recv")), QStringLiteral("11")).size(), 1);
        ResultApplyRequest req;
        req.path = path(QStringLiteral("recv/00110001.201"));
        req.workBank = QStringLiteral("11");
        req.gcode = QStringLiteral("01");
        const ResultApplyOutcome again = ResultApplier::apply(req);
        EXPECT_EQ(again.status, ResultApplyOutcome::Status::Invalid);
        EXPECT_EQ(again.messages.value(0).text,
                  QStringLiteral("이미 파일풀기 된 결과파일입니다.\r화일명: 00110001.201"));
        EXPECT_EQ(files(QStringLiteral("recv")), QStringList{QStringLiteral("00110001.201")});
        EXPECT_TRUE(files(QStringLiteral("rback")).isEmpty());
        EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_SRFILE")), 0);
        EXPECT_EQ(logCount(QStringLiteral("[중단작업완료]%")),
                  qstrcmp(c.step, "apply-after-commit") == 0 ? 1 : 0);
    }
}

// A distribution result killed between its commit and its move: the next
// start puts it in rback under the name booked, and it is not applied again.
TEST_F(CrashPoints, DistributionResultKilledAfterCommitIsArchivedAtTheNextStart) {
    ASSERT_TRUE(DMData->CreateH300(QStringLiteral("20240503")));
    ASSERT_TRUE(Database::insertRow(QStringLiteral("H_300_20240503"),
                                    {{QStringLiteral("YearMon"), QStringLiteral("202405")},
                                     {QStringLiteral("SeqNo"), QStringLiteral("03")},
                                     {QStringLiteral("SNo"), QStringLiteral("301001")},
                                     {QStringLiteral("ItemCd"), QStringLiteral("01")},
                                     {QStringLiteral("BankCd"), QStringLiteral("21")},
                                     {QStringLiteral("AcctNo"), QStringLiteral("110222333444")},
                                     {QStringLiteral("Amt"), 50000},
                                     {QStringLiteral("ReplyTy"), QStringLiteral("0")},
                                     {QStringLiteral("ExempTy"), QStringLiteral("1")},
                                     {QStringLiteral("CustNo"), QStringLiteral("C301001")},
                                     {QStringLiteral("Gcode"), QStringLiteral("01")}}));
    // The standard 80-byte layout: header, one processed record, trailer.
    auto rec = [](std::initializer_list<std::pair<int, QByteArray>> fields) {
        QByteArray b(80, ' ');
        for (const auto& [off, v] : fields)
            b.replace(off, v.size(), v);
        return b + "\r\n";
    };
    QFile f(path(QStringLiteral("recv/00210001.301")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(rec({{0, "S"}, {1, "C2"}, {13, "21"}, {15, "260310"}}) +
            rec({{0, "D"}, {1, "21"}, {3, "110222333444"}, {20, "00000050000"}, {33, "Y"}, {34, "0000"},
                 {48, "C301001"}, {76, "01"}}) +
            rec({{0, "E"}, {1, "0000003"}, {8, "0000001"}, {15, "0000000050000"}, {28, "0000001"},
                 {35, "0000000050000"}, {48, "0000000"}, {55, "0000000000000"}}));
    f.close();
    const QStringList apply{QStringLiteral("dist"),    QStringLiteral("result"),
                            QStringLiteral("apply"),   QStringLiteral("00210001.301"),
                            QStringLiteral("--bank"),  QStringLiteral("21"),
                            QStringLiteral("--round"), QStringLiteral("202405-03")};
    drive(apply, "dist-apply-after-commit");
    EXPECT_EQ(column(QStringLiteral("select ReplyTy || ProcDt from H_300_20240503")),
              QStringList{QStringLiteral("120260310")});
    EXPECT_EQ(column(QStringLiteral("select FileName from M_SRFILE where SRType = 'R'")),
              QStringList{QStringLiteral("24050321.301")});
    EXPECT_TRUE(files(QStringLiteral("recv")).isEmpty());
    EXPECT_EQ(files(QStringLiteral("rback")), QStringList{QStringLiteral("24050321.301")});
    EXPECT_EQ(logCount(QStringLiteral("[중단작업완료] rback/24050321.301")), 1);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_FILEMOVE")), 0);
    // The start after that has nothing left to finish.
    stopServices();
    startServices();
    EXPECT_EQ(logCount(QStringLiteral("[중단작업완료]%")), 1);
    EXPECT_EQ(files(QStringLiteral("rback")), QStringList{QStringLiteral("24050321.301")});
}

// rback holds the round's first name already (a restored database numbers
// its results again): a run killed between its commit and its move still
// lands the file under the name it booked, never over the older archive.
TEST_F(CrashPoints, ResultKilledAfterCommitLandsUnderTheNameBooked) {
    resultFixture();
    QFile undone(path(QStringLiteral("rback/24050311.201")));
    ASSERT_TRUE(undone.open(QIODevice::WriteOnly));
    undone.write("undone month");
    undone.close();
    QFile in(path(QStringLiteral("recv/00110001.201")));
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray applied = in.readAll();
    in.close();
    drive(resultApply(), "apply-after-commit");
    EXPECT_EQ(column(QStringLiteral("select FileName from M_SRFILE where SRType = 'R'")),
              QStringList{QStringLiteral("24050311.202")});
    EXPECT_TRUE(ResultFile::filesForBank(path(QStringLiteral("recv")), QStringLiteral("11")).isEmpty());
    EXPECT_EQ(files(QStringLiteral("rback")),
              (QStringList{QStringLiteral("24050311.201"), QStringLiteral("24050311.202")}));
    QFile older(path(QStringLiteral("rback/24050311.201")));
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    EXPECT_EQ(older.readAll(), QByteArray("undone month"));
    QFile stored(path(QStringLiteral("rback/24050311.202")));
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    EXPECT_EQ(stored.readAll(), applied);
}

// Killed after a registration result went into rback but before its
// recorded move was forgotten; a new result file of the same name arrives
// before the next start. That start leaves the archive as it is and the new
// file in recv, where it is listed and applied.
TEST_F(CrashPoints, RecordedMoveNeverTakesALaterFileOfTheSameName) {
    ASSERT_TRUE(Database::insertRow(QStringLiteral("C_ACCT"),
                                    {{QStringLiteral("BankCd"), QStringLiteral("11")},
                                     {QStringLiteral("Gubun"), QStringLiteral("집금")},
                                     {QStringLiteral("AcctNo"), QStringLiteral("900011")},
                                     {QStringLiteral("CompyNo"), QStringLiteral("NH11000001")},
                                     {QStringLiteral("RepYn"), QStringLiteral("Y")},
                                     {QStringLiteral("Gcode"), QStringLiteral("01")}}));
    Database::exec(QStringLiteral("update M_CUST set AcctRegYn_1 = 'N'"));
    ASSERT_EQ(drive({QStringLiteral("reg"), QStringLiteral("run"), QStringLiteral("create"),
                     QStringLiteral("--bank"), QStringLiteral("11")})
                  .rc,
              0);
    const QString table = QStringLiteral("H_R00_20260301");
    ASSERT_TRUE(Database::tableExists(table));
    ASSERT_EQ(scalar(QStringLiteral("select count(*) from H_R00_20260301 where NapbuNo = 'C2'")), 1);

    auto line = [](QByteArray s) { return s.leftJustified(100, ' ', true) + "\r\n"; };
    auto result = [&](char flag, const char* code) {
        return line(QByteArray("SA1NH1100000111202603161").leftJustified(42, ' ') + "20260301") +
               line((QByteArray("D0000001").leftJustified(43, ' ') + flag + code).leftJustified(62, ' ') +
                    "C2") +
               line("E00000030000001");
    };
    const QByteArray first = result('Y', "0000"), second = result('N', "1004");
    auto put = [&](const QByteArray& content) {
        QFile f(path(QStringLiteral("recv/26030111.R01")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    };
    auto read = [&](const QString& rel) {
        QFile f(path(rel));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QStringList apply{QStringLiteral("reg"), QStringLiteral("result"), QStringLiteral("apply")};
    put(first);

    stopServices();
    EXPECT_EQ(finish(spawn(apply, "ZQ_CRASH_AT", "filemove-after-move")).rc, CrashPoint::kExitCode);
    put(second); // arrives before the next start
    startServices();

    EXPECT_EQ(read(QStringLiteral("rback/26030111.R01")), first);
    EXPECT_EQ(read(QStringLiteral("recv/26030111.R01")), second);
    EXPECT_EQ(files(QStringLiteral("rback")), QStringList{QStringLiteral("26030111.R01")});
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_FILEMOVE")), 0);
    EXPECT_EQ(column(QStringLiteral("select Result from H_R00_20260301 where NapbuNo = 'C2'")),
              QStringList{QStringLiteral("Y")});

    // The new file is applied like any other and archived beside the first.
    EXPECT_EQ(drive(apply).rc, 0);
    EXPECT_EQ(
        column(QStringLiteral("select Result || ' ' || ErrCd from H_R00_20260301 where NapbuNo = 'C2'")),
        QStringList{QStringLiteral("N 1004")});
    EXPECT_EQ(read(QStringLiteral("rback/26030111.R01")), first);
    EXPECT_EQ(read(QStringLiteral("rback/26030111.R01_1")), second);
    EXPECT_TRUE(files(QStringLiteral("recv")).isEmpty());
}

TEST_F(CrashPoints, RoundCreationIsWholeOrAbsent) {
    const QStringList& create = createRound;
    for (const char* step : {"round-after-check", "round-before-commit"}) {
        SCOPED_TRACE(step);
        drive(create, step);
        EXPECT_FALSE(Database::tableExists(QStringLiteral("H_200_20260301")));
        EXPECT_EQ(logCount(QStringLiteral("%회차:202603-01%")), 0);
    }
    EXPECT_EQ(drive(create).rc, 0);
    EXPECT_EQ(rowsOf(QStringLiteral("H_200_20260301")).size(), 2);
}

TEST_F(CrashPoints, StudentAddIsWholeOrAbsent) {
    const QStringList& add = addStudent;
    drive(add, "student-before-commit");
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_CUST where SNo = '30199'")), 0);
    EXPECT_EQ(logCount(QStringLiteral("[등록]학번:30199%")), 0);
    EXPECT_EQ(drive(add).rc, 0);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_CUST where SNo = '30199'")), 1);
}

TEST_F(CrashPoints, RequestFileIsInSendOnlyWithItsBooking) {
    ASSERT_TRUE(Database::insertRow(QStringLiteral("C_ACCT"),
                                    {{QStringLiteral("BankCd"), QStringLiteral("04")},
                                     {QStringLiteral("Gubun"), QStringLiteral("집금")},
                                     {QStringLiteral("AcctNo"), QStringLiteral("04012345678901")},
                                     {QStringLiteral("CompyNo"), QStringLiteral("SCH0400001")},
                                     {QStringLiteral("Passwd"), QStringLiteral("4321")},
                                     {QStringLiteral("Gcode"), QStringLiteral("01")},
                                     {QStringLiteral("RepYn"), QStringLiteral("Y")}}));
    QMap<QString, QVariant> r =
        row(QStringLiteral("C1"), QStringLiteral("10101"), QStringLiteral("01"), 150000);
    r.insert(QStringLiteral("BankCd"), QStringLiteral("04"));
    r.insert(QStringLiteral("AcctNo"), QStringLiteral("123456789012"));
    round(QStringLiteral("20260301"), {r});
    const QStringList write{QStringLiteral("request"), QStringLiteral("write"),
                            QStringLiteral("--group"), QStringLiteral("01"),
                            QStringLiteral("--bank"),  QStringLiteral("04"),
                            QStringLiteral("--round"), QStringLiteral("202603-01"),
                            QStringLiteral("--start"), QStringLiteral("2026-03-17")};
    const struct {
        const char* step;
        bool placed;
    } cases[] = {
        {"request-after-write", false},
        {"request-before-commit", false},
        {"request-after-commit", true},
    };
    int booked = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        drive(write, c.step);
        if (c.placed) ++booked;
        EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_SRFILE where SRType = 'S'")), booked);
        EXPECT_EQ(logCount(QStringLiteral("[이체파일생성]%")), booked);
        // Every booked file is in send, and nothing else is.
        EXPECT_EQ(
            files(QStringLiteral("send")),
            column(QStringLiteral("select FileName from M_SRFILE where SRType = 'S' order by FileName")));
        EXPECT_TRUE(files(QStringLiteral("Temp")).isEmpty());
    }
    EXPECT_EQ(drive(write).rc, 0);
    EXPECT_EQ(files(QStringLiteral("send")),
              (QStringList{QStringLiteral("26030104.201"), QStringLiteral("26030104.202")}));
}

TEST_F(CrashPoints, BackupArchiveAndItsLogRowGoTogether) {
    const struct {
        const char* step;
        bool made;
    } cases[] = {
        {"backup-after-archive", false},
        {"backup-before-commit", false},
        {"backup-after-commit", true},
    };
    Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("UxBack"),
                          path(QStringLiteral("ext")));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        QDir(path(QStringLiteral("databack"))).removeRecursively();
        QDir().mkpath(path(QStringLiteral("databack")));
        Database::exec(QStringLiteral("delete from L_Log_202603"));
        drive({QStringLiteral("backup")}, c.step);
        const QStringList made = files(QStringLiteral("databack"));
        EXPECT_EQ(made.size(), c.made ? 1 : 0) << made.join(u',').toStdString();
        for (const QString& n : made)
            EXPECT_TRUE(n.endsWith(QLatin1String(".zip")));
        EXPECT_EQ(logCount(QStringLiteral("[백업] 자료백업")), c.made ? 1 : 0);
        EXPECT_TRUE(QDir(path(QStringLiteral("Temp")))
                        .entryList({QStringLiteral("snapshot-*")}, QDir::Dirs)
                        .isEmpty());
    }
}

TEST_F(CrashPoints, RestoreLeavesTheOldOrTheRestoredDatabase) {
    // The backup holds student C1..C7 and books a request file as waiting;
    // the live data gains C8 afterwards and has no booking, and the file
    // stands set aside by an earlier restore.
    const QString waiting = QStringLiteral("26030104.201");
    ASSERT_TRUE(
        Database::insertRow(QStringLiteral("M_SRFILE"), {{QStringLiteral("SRType"), QStringLiteral("S")},
                                                         {QStringLiteral("FileName"), waiting},
                                                         {QStringLiteral("DataCnt"), 1}}));
    QString archive;
    ASSERT_TRUE(DataBackup::makeBackup(&archive));
    const QString aside = path(QStringLiteral("send-unbooked/20260301-090000"));
    const auto setAside = [&] {
        ASSERT_TRUE(Database::exec(QStringLiteral("delete from M_SRFILE")));
        ASSERT_TRUE(QDir().mkpath(aside));
        QFile f(aside + QLatin1Char('/') + waiting);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("request");
    };
    setAside();
    student(QStringLiteral("C8"), QStringLiteral("3"), QStringLiteral("30199"), QStringLiteral("나중"),
            QStringLiteral("04"));
    const struct {
        const char* step;
        bool restored;
    } cases[] = {
        {"restore-after-extract", false},
        {"restore-before-swap", false},
        {"restore-between-renames", true},
        {"restore-after-swap", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        drive({QStringLiteral("restore"), archive}, c.step);
        const bool hasLater = scalar(QStringLiteral("select count(*) from M_CUST where CustNo = 'C8'")) == 1;
        EXPECT_EQ(hasLater, !c.restored);
        EXPECT_EQ(logCount(QStringLiteral("[자료복구]%")), c.restored ? 1 : 0);
        EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_CUST")), c.restored ? 7 : 8);
        // Nothing of the killed run is left beside the data folder.
        EXPECT_EQ(QDir(root()).entryList({QStringLiteral("data.*"), QStringLiteral("restore.*")},
                                         QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot),
                  QStringList{});
        // The restored data's waiting file is back in send, taken at the
        // next start when the kill came before the restore could.
        EXPECT_EQ(files(QStringLiteral("send")), c.restored ? QStringList{waiting} : QStringList{});
        EXPECT_EQ(QFile::exists(aside + QLatin1Char('/') + waiting), !c.restored);
        if (c.restored) {
            student(QStringLiteral("C8"), QStringLiteral("3"), QStringLiteral("30199"),
                    QStringLiteral("나중"), QStringLiteral("04"));
            Database::exec(QStringLiteral("delete from L_Log_202603"));
            QFile::remove(path(QStringLiteral("send/")) + waiting);
            setAside();
        }
    }
}

TEST_F(CrashPoints, TwoCopiesNeverBothCreateARoundOrAStudentNumber) {
    // The other copy holds its write open just past its own checks; this one
    // starts the same action meanwhile, waits for it and then finds the round
    // (the number) taken.
    QProcess* other = spawn(createRound, "ZQ_PAUSE_AT", "round-after-check:2000");
    waitPaused(other);
    const RoundResult mine = RoundBuilder::createByGrade(
        target(QStringLiteral("202603"), QStringLiteral("01")),
        grades({QStringLiteral("2")}, {QStringLiteral("01")}, QStringLiteral("99")));
    EXPECT_EQ(finish(other).rc, 0);
    EXPECT_EQ(mine.status, RoundResult::Status::Exists) << mine.error.toStdString();
    // The other copy's round stands whole (its two rows, not this one's).
    EXPECT_EQ(rowsOf(QStringLiteral("H_200_20260301")).size(), 2);

    other = spawn(addStudent, "ZQ_PAUSE_AT", "student-before-commit:2000");
    waitPaused(other);
    StudentEntry e;
    e.gradeCode = QStringLiteral("3");
    e.classNo = QStringLiteral("0199");
    e.name = QStringLiteral("같은번호");
    e.bankText = QStringLiteral("99.은행없음");
    e.smsText = QStringLiteral("2.거부");
    const StoreResult r = StudentStore::save(e, StudentRow{});
    EXPECT_EQ(finish(other).rc, 0);
    EXPECT_FALSE(r.stored);
    ASSERT_FALSE(r.boxes.isEmpty());
    EXPECT_EQ(r.boxes.first().text, QStringLiteral("존재하는학번입니다"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from M_CUST where SNo = '30199'")), 1);
}

TEST_F(CrashPoints, ABusyDatabaseIsRefusedInKorean) {
    QProcess* other = spawn(createRound, "ZQ_PAUSE_AT",
                            "round-before-commit:" + QByteArray::number(Database::kBusyTimeoutMs + 4000));
    waitPaused(other);
    const RoundResult mine = RoundBuilder::createByGrade(
        target(QStringLiteral("202603"), QStringLiteral("02")),
        grades({QStringLiteral("2")}, {QStringLiteral("01")}, QStringLiteral("99")));
    EXPECT_EQ(mine.status, RoundResult::Status::Failed);
    EXPECT_EQ(mine.error, Database::busyText());
    EXPECT_EQ(finish(other).rc, 0);
    EXPECT_FALSE(Database::tableExists(QStringLiteral("H_200_20260302")));
}

} // namespace
