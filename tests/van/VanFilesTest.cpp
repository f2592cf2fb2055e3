// The send list with its merged file, uploads, downloads, notices and the
// password change, against the operator simulator.
#include "data/DMBank.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/settings/Registry.h"
#include "platform/sys/Clock.h"
#include "platform/text/Cp949.h"
#include "support/TestRoot.h"
#include "support/VanSimulator.h"
#include "support/Wait.h"
#include "transfers/common/BatFile.h"
#include "transfers/collection/CollectFileRun.h"
#include "transfers/distribution/DistribRequest.h"
#include "van/SendList.h"
#include "van/VanLink.h"
#include "van/VanSettings.h"
#include "van/VanTransfer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonObject>
#include <QThread>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

const QString kMark = QStringLiteral(u"◎");
const QString kRunKey = QStringLiteral("20260301");
const QString kDisconnectBox =
    QStringLiteral("TORVA과 연결이 종료되었습니다!!!\r\n연결을 원하면 다시 접속하세요!!!");

// The session window without its widgets.
struct Host : VanSessionHost, VanTransferHost {
    TVanTransfer* transfer = nullptr;
    VanRowTable* grid = nullptr;
    int loggedOn = 0, disconnected = 0;
    QStringList statuses, sent, received, notices;
    int listBlocks = 0;

    void vanStatus(const QString& t, VanColor) override { statuses << t; }
    void vanLog(const QString&) override {}
    void vanClearLog() override {}
    bool vanAskLogIn(QString*, QString*) override { return false; }
    void vanLoggedOn() override { ++loggedOn; }
    void vanLoggedOff() override {}
    void vanDisconnected() override {
        ++disconnected;
        transfer->abort();
    }
    void vanHideTransferPanel() override { transfer->abort(); }
    void vanListEntries(const QByteArray& job, const QList<QByteArray>& e) override {
        ++listBlocks;
        VanAppendListRows(*grid, job, e);
    }
    Exchange vanExchange(const TVanMsg& m) override { return transfer->handle(m); }

    void xferLabel(const QString&) override {}
    void xferShowPanel(int) override {}
    std::function<void()> onProgress; // runs while a block is being read
    void xferProgress(int) override {
        if (onProgress) onProgress();
    }
    void xferHidePanel() override {}
    void xferStatus(const QString& t, VanColor c) override { vanStatus(t, c); }
    void xferSchedule(bool upload) override {
        QTimer::singleShot(0,
                           [this, upload] { upload ? transfer->TmrSndTimer() : transfer->TmrRecvTimer(); });
    }
    void xferShowNotice(const QString& path) override { notices << path; }
    void xferSent(const QString& n) override { sent << n; }
    void xferReceived(const QString& p, int) override { received << QFileInfo(p).fileName(); }
};

class VanFilesTest : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("SchCode"),
                              QStringLiteral("A123"));
        Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("UxPwd"),
                              QStringLiteral("pw1234"));
        Registry::writeInteger(QStringLiteral("SchoolInfo"), QStringLiteral("UxAut"), 1);
        ASSERT_TRUE(DMData->CreateH200(kRunKey));
        item("A1", "01", QStringLiteral("수업료"), "01");
        item("A2", "02", QStringLiteral("급식비"), "01");
    }
    void TearDown() override {
        transfer.reset();
        session.reset();
        link.reset();
        sim.stop();
        TestRoot::TearDown();
    }

    static QString s(const char* t) { return QString::fromUtf8(t); }

    void item(const char* cd, const char* id, const QString& nm, const char* gcode) {
        ASSERT_TRUE(Database::insertRow(QStringLiteral("C_ITEM"), {{QStringLiteral("ItemCd"), s(cd)},
                                                                   {QStringLiteral("ItemID"), s(id)},
                                                                   {QStringLiteral("ItemNm"), nm},
                                                                   {QStringLiteral("Gcode"), s(gcode)}}));
    }
    void account(const char* bank, const char* pw, const char* gcode = "01") {
        ASSERT_TRUE(Database::insertRow(
            QStringLiteral("C_ACCT"), {{QStringLiteral("BankCd"), s(bank)},
                                       {QStringLiteral("Gubun"), QStringLiteral("집금")},
                                       {QStringLiteral("AcctNo"), QStringLiteral("30100012345678")},
                                       {QStringLiteral("CompyNo"), QStringLiteral("SCH") + s(bank) + "00001"},
                                       {QStringLiteral("Passwd"), s(pw)},
                                       {QStringLiteral("Gcode"), s(gcode)},
                                       {QStringLiteral("RepYn"), QStringLiteral("Y")}}));
    }
    // n rows of one item, payers at the given banks in turn.
    void rows(int n, const char* itemId, const QStringList& banks, int first = 1,
              const QString& runKey = kRunKey) {
        for (int i = 0; i < n; ++i) {
            const QString bank = banks[i % banks.size()];
            ASSERT_TRUE(Database::insertRow(
                QStringLiteral("H_200_") + runKey,
                {{QStringLiteral("YearMon"), runKey.left(6)},
                 {QStringLiteral("SeqNo"), runKey.mid(6)},
                 {QStringLiteral("SNo"), QStringLiteral("1%1").arg(first + i, 4, 10, QLatin1Char('0'))},
                 {QStringLiteral("ItemCd"), s(itemId)},
                 {QStringLiteral("BankCd"), bank},
                 {QStringLiteral("AcctNo"),
                  QStringLiteral("1234567890%1").arg(first + i, 3, 10, QLatin1Char('0'))},
                 {QStringLiteral("Amt"), 10000 + 100 * (first + i)},
                 {QStringLiteral("ReplyTy"), QStringLiteral("0")},
                 {QStringLiteral("ExempTy"), QStringLiteral("1")},
                 {QStringLiteral("CustNo"),
                  QStringLiteral("08888%1").arg(first + i, 5, 10, QLatin1Char('0'))},
                 {QStringLiteral("Nm"), QStringLiteral("홍길동")},
                 {QStringLiteral("Gcode"), QStringLiteral("01")}}));
        }
    }
    // A collection request file through the writer, booked as the work
    // window books it.
    QString writeFile(const char* bank, const QStringList& items, const char* start = "260317",
                      const QString& runKey = kRunKey) {
        CollectSelection sel;
        sel.Gcode = QStringLiteral("01");
        sel.BankCd = s(bank);
        sel.YearMon = runKey.left(6);
        sel.SeqNo = runKey.mid(6);
        sel.ItemIds = items;
        const auto acc = CollectFileRun::CollectAccounts(sel.BankCd, sel.Gcode);
        pSetMasterAcct(acc.AcctLines.value(0));
        QString name;
        int count = 0;
        EXPECT_TRUE(bCreateCollectFile(s(start), s(start), sel.BankCd, runKey, acc.EduCodes.value(0), sel,
                                       name, count));
        EXPECT_TRUE(CollectFileRun::pBookRequestFile(name, count, QStringLiteral("01")));
        return name;
    }
    // A plain file of n data records of the given length.
    void craftFile(const QString& name, int len, int n, const QByteArray& header, const char* gcode = "01") {
        QByteArray out = header.leftJustified(len, ' ', true) + "\r\n";
        for (int i = 1; i <= n; ++i)
            out +=
                ("D" + QByteArray::number(i).rightJustified(6, '0')).leftJustified(len, 'x', true) + "\r\n";
        out += QByteArray("E").leftJustified(len, ' ', true) + "\r\n";
        QFile f(path(QStringLiteral("send/") + name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(out);
        f.close();
        ASSERT_TRUE(CollectFileRun::pBookRequestFile(name, n, s(gcode)));
    }
    QByteArray file(const QString& rel) const {
        QFile f(path(rel));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList names(const char* folder) const {
        return QDir(path(QString::fromLatin1(folder))).entryList(QDir::Files, QDir::Name);
    }
    static QString srDate(const QString& name) {
        const QStringList d =
            column(QStringLiteral("SELECT SRDate FROM M_SRFILE WHERE FileName = ?"), {name});
        return d.value(0);
    }

    void start(const QStringList& options = {}) {
        ASSERT_TRUE(sim.start(QStringList{QStringLiteral("--upload-dir"), sim.dir()} + options));
        link = std::make_unique<VanLink>();
        session = std::make_unique<TVanSession>(&host, link.get());
        transfer = std::make_unique<TVanTransfer>(*session, grid, host, state);
        host.transfer = transfer.get();
        host.grid = &grid;
        link->setSession(session.get());
        link->setReadTimeout(3000);
        session->LoadSettings();
        link->connectTo(QStringLiteral("127.0.0.1"), sim.port());
        ASSERT_TRUE(waitFor([this] { return host.loggedOn == 1; }));
    }
    // The send list as 송신 shows it, with the named files ticked.
    SendListResult listAndTick(const QStringList& tick) {
        grid.reset(9);
        const SendListResult r = SendFolder::BuildSendList(state, {QStringLiteral("01")}, Clock::todayText());
        for (const SendListRow& row : r.rows) {
            grid.appendRow(row.cells());
            if (tick.contains(row.FileName)) grid.setCell(grid.rowCount() - 1, 8, kMark);
        }
        return r;
    }
    bool runUpload() {
        if (!transfer->BBtnFileSndClick()) return false;
        return waitFor([this] { return !transfer->running(); });
    }
    QList<QJsonObject> recv(const char* job) const { return sim.messages(QStringLiteral("recv"), s(job)); }
    static QString f(const QJsonObject& o, const char* k) {
        return o.value(QString::fromLatin1(k)).toString();
    }
    // The uploads the operator confirmed, as it stored them.
    QByteArray uploaded(int n) const {
        QDir d(sim.dir());
        const QStringList l = d.entryList({QStringLiteral("%1_*.txt").arg(n, 3, 10, QLatin1Char('0'))});
        QFile f(d.filePath(l.value(0)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    Host host;
    VanRowTable grid;
    SendFolderState state;
    VanSimulator sim;
    std::unique_ptr<VanLink> link;
    std::unique_ptr<TVanSession> session;
    std::unique_ptr<TVanTransfer> transfer;
};

// ---- send list and merged file

TEST_F(VanFilesTest, TwoNhFilesOfOneDateAreMerged) {
    account("11", "    "); // blank password: the NH default counts in the check value
    // Two rounds of one item group, one transfer date.
    const QString round2 = QStringLiteral("20260302");
    ASSERT_TRUE(DMData->CreateH200(round2));
    rows(3, "01", {QStringLiteral("11"), QStringLiteral("12"), QStringLiteral("10")});
    rows(2, "02", {QStringLiteral("12"), QStringLiteral("10")}, 10, round2);
    const QString a = writeFile("11", {QStringLiteral("01")});
    const QString b = writeFile("11", {QStringLiteral("02")}, "260317", round2);
    ASSERT_EQ(a, QStringLiteral("26030111.201"));
    ASSERT_EQ(b, QStringLiteral("26030211.201"));
    const QByteArray srcA = file(QStringLiteral("send/") + a), srcB = file(QStringLiteral("send/") + b);

    msg.expect(MsgResult::Ok);
    const SendListResult r =
        SendFolder::BuildSendList(state, {QStringLiteral("01")}, QStringLiteral("20260316"));
    EXPECT_EQ(msg.texts(), QStringList{QStringLiteral(u"파일합치기 전송파일목록\r\r"
                                                      u"2603월 01회차 3건\r2603월 02회차 2건\r")});
    const QString merged = QStringLiteral("20990111.201");
    EXPECT_EQ(names("send"), QStringList{merged});
    EXPECT_EQ(names("SendTempFile"), (QStringList{a, b}));
    EXPECT_EQ(state.PendingMerges.value(merged), (QStringList{a, b}));
    ASSERT_EQ(r.rows.size(), 1);
    EXPECT_EQ(r.rows[0].cells(),
              (QStringList{QStringLiteral("S"), QStringLiteral("0011"), QStringLiteral("200"),
                           QStringLiteral("5"), merged, QStringLiteral("20260317"),
                           QStringLiteral("SCH1100001"), QStringLiteral("30100012345678"), QString()}));

    const QList<QByteArray> out = SendFolder::SplitLines(file(QStringLiteral("send/") + merged));
    const QList<QByteArray> la = SendFolder::SplitLines(srcA), lb = SendFolder::SplitLines(srcB);
    ASSERT_EQ(out.size(), 7);
    EXPECT_EQ(out[0], la[0]) << "the first file's header is kept";
    QList<QByteArray> sources = la.mid(1, 3) + lb.mid(1, 2);
    qint64 total = 0, acc = 0;
    qint64 cnt[3] = {}, amt[3] = {};
    for (int i = 0; i < 5; ++i) {
        const QByteArray& rec = out[i + 1];
        const QByteArray& src = sources[i];
        ASSERT_EQ(rec.size(), 200);
        EXPECT_EQ(rec.mid(1, 7), QByteArray::number(i + 1).rightJustified(7, '0')) << "renumbered from 1";
        EXPECT_EQ(rec.mid(114, 6), i < 3 ? QByteArray("260301") : QByteArray("260302"))
            << "the source's run key";
        EXPECT_EQ(rec.left(1) + rec.mid(8, 106) + rec.mid(120), src.left(1) + src.mid(8, 106) + src.mid(120));
        const qint64 a = src.mid(42, 13).toLongLong();
        const int bank = src.mid(24, 2).toInt();
        total += a;
        acc += (bank >= 10 && bank <= 17) ? src.at(39) - '0' : bank;
        const int c = bank <= 11 ? 0 : bank <= 17 ? 1 : 2;
        ++cnt[c];
        amt[c] += a;
    }
    const QByteArray t = out[6];
    ASSERT_EQ(t.size(), 200);
    EXPECT_EQ(t.left(30),
              "E" + QByteArray("0000007") + "0000005" + QByteArray::number(total).rightJustified(15, '0'));
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(t.mid(30 + 22 * c, 7).toLongLong(), cnt[c]) << c;
        EXPECT_EQ(t.mid(37 + 22 * c, 15).toLongLong(), amt[c]) << c;
    }
    EXPECT_EQ(cnt[0], 3);
    EXPECT_EQ(cnt[1], 2);
    EXPECT_EQ(t.mid(96, 4), TDMBankLib::CheckValueNH(acc, 5, total, 6385).toLatin1());
    EXPECT_EQ(t.mid(100), QByteArray(100, ' '));

    // Nothing was sent: undoing brings the two files back and drops the merge.
    SendFolder::UndoPendingMerges(state);
    EXPECT_EQ(names("send"), (QStringList{a, b}));
    EXPECT_EQ(file(QStringLiteral("send/") + a), srcA);
    EXPECT_FALSE(state.FMerged);
}

TEST_F(VanFilesTest, SendListCases) {
    account("11", "1234");
    account("12", "1234");
    account("04", "1234");
    rows(2, "01", {QStringLiteral("11")});
    const QString today = QStringLiteral("20260316");

    // One NH file alone: listed unchanged.
    const QString nh = writeFile("11", {QStringLiteral("01")}, "260316");
    SendListResult r = SendFolder::BuildSendList(state, {QStringLiteral("01")}, today);
    EXPECT_EQ(names("send"), QStringList{nh});
    ASSERT_EQ(r.rows.size(), 1);
    EXPECT_EQ(r.rows[0].Date, today) << "dated today: still listed";

    // A second NH file of another date: the date box and no rows at all.
    const QString other = writeFile("11", {QStringLiteral("01")}, "260318");
    msg.expect(MsgResult::Ok);
    r = SendFolder::BuildSendList(state, {QStringLiteral("01")}, today);
    EXPECT_TRUE(r.stopped);
    EXPECT_TRUE(r.rows.isEmpty());
    EXPECT_EQ(msg.texts().last(),
              QStringLiteral(u"2개의 송신파일이 이체일자가 다릅니다.(또는 포맷이 다릅니다.)\r"
                             u"동일한 이체일자로 다시 생성하십시오."));
    EXPECT_EQ(names("send"), (QStringList{nh, other}));
    QFile::remove(path(QStringLiteral("send/") + other));

    // Expired files are counted, an R00 file is listed whatever its date,
    // a bank-12 file dated yesterday is not listed.
    rows(1, "02", {QStringLiteral("12")}, 20);
    const QString b12 = writeFile("12", {QStringLiteral("02")}, "260315");
    craftFile(QStringLiteral("26030104.R01"), 80, 2, "S  SCH0400001  20260301");
    msg.expect(MsgResult::Ok);
    r = SendFolder::BuildSendList(state, {QStringLiteral("01")}, today);
    QStringList listed;
    for (const SendListRow& row : r.rows)
        listed << row.FileName;
    EXPECT_EQ(listed, (QStringList{QStringLiteral("26030104.R01"), nh}));
    EXPECT_EQ(r.rows[0].FileType, QStringLiteral("R00"));
    EXPECT_EQ(r.rows[0].Date, QStringLiteral("20260301"));
    EXPECT_EQ(msg.texts().last(),
              QStringLiteral(u"송신폴더(Send)에 이체 불가능한(이체날짜 경과 등) 파일이 존재합니다\r\r") +
                  path(QStringLiteral("send/")) + b12 +
                  QStringLiteral(u" 등 1개 파일\r\r확인하시고 삭제 해 주십시오"));
    EXPECT_EQ(msg.shown().last().icon, MsgIcon::None);
    EXPECT_TRUE(state.PendingMerges.isEmpty());
}

// A file whose upload was confirmed but whose move to sback failed is never
// offered again.
TEST_F(VanFilesTest, ConfirmedFileLeftInSendIsNotListedAgain) {
    account("11", "1234");
    rows(2, "01", {QStringLiteral("11")});
    const QString today = QStringLiteral("20260316");
    const QString nh = writeFile("11", {QStringLiteral("01")}, "260316");
    Database::insertRow(QStringLiteral("M_SRFILE"),
                        {{QStringLiteral("SRType"), QStringLiteral("S")}, {QStringLiteral("FileName"), nh}});
    ASSERT_TRUE(Database::updateRows(
        QStringLiteral("M_SRFILE"), {{QStringLiteral("SRDate"), today}},
        {{QStringLiteral("SRType"), QStringLiteral("S")}, {QStringLiteral("FileName"), nh}}));
    const SendListResult r = SendFolder::BuildSendList(state, {QStringLiteral("01")}, today);
    EXPECT_TRUE(r.rows.isEmpty());
    EXPECT_TRUE(names("send").isEmpty());
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("sback/") + nh)));
}

// A file whose backup copy cannot be made is not joined: an undo could
// never bring it back.
TEST_F(VanFilesTest, FileWithoutBackupIsNotJoined) {
    account("11", "1234");
    const QString round2 = QStringLiteral("20260302");
    ASSERT_TRUE(DMData->CreateH200(round2));
    rows(2, "01", {QStringLiteral("11")});
    rows(2, "02", {QStringLiteral("11")}, 10, round2);
    const QString a = writeFile("11", {QStringLiteral("01")});
    const QString b = writeFile("11", {QStringLiteral("02")}, "260317", round2);
    // The copy goes through "<name>.part" beside the target: a folder there
    // makes it fail.
    ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("SendTempFile/") + b + QStringLiteral(".part"))));
    const SendListResult r =
        SendFolder::BuildSendList(state, {QStringLiteral("01")}, QStringLiteral("20260316"));
    EXPECT_TRUE(state.PendingMerges.isEmpty());
    EXPECT_EQ(names("send"), (QStringList{a, b}));
    EXPECT_EQ(r.rows.size(), 2);
    SendFolder::UndoPendingMerges(state);
    EXPECT_EQ(names("send"), (QStringList{a, b}));
}

// A merge in one item group does not reach into another.
TEST_F(VanFilesTest, EachGroupJoinsOnItsOwn) {
    item("B1", "01", QStringLiteral("방과후"), "02");
    account("11", "1234");
    rows(1, "01", {QStringLiteral("11")});
    const QString g1 = writeFile("11", {QStringLiteral("01")}, "260317");
    ASSERT_TRUE(Database::updateRows(QStringLiteral("M_SRFILE"),
                                     {{QStringLiteral("Gcode"), QStringLiteral("02")}},
                                     {{QStringLiteral("FileName"), g1}}));
    const QString g2 = writeFile("11", {QStringLiteral("01")}, "260318");
    const SendListResult r = SendFolder::BuildSendList(state, {QStringLiteral("01"), QStringLiteral("02")},
                                                       QStringLiteral("20260316"));
    EXPECT_FALSE(r.stopped) << "one file per group: nothing to join, no date box";
    EXPECT_EQ(r.rows.size(), 2);
    EXPECT_EQ(names("send"), (QStringList{g1, g2}));
}

// ---- uploads

TEST_F(VanFilesTest, UploadBlocksPerRecordLength) {
    account("11", "1234");
    account("04", "1234");
    account("93", "1234");
    rows(10, "01", {QStringLiteral("11")});
    rows(3, "02", {QStringLiteral("04")}, 100);
    rows(16, "02", {QStringLiteral("93")}, 200);
    const QString f200 = writeFile("11", {QStringLiteral("01")});
    const QString f80 = writeFile("04", {QStringLiteral("02")});
    const QString f100 = writeFile("93", {QStringLiteral("02")});
    const QByteArray c200 = file(QStringLiteral("send/") + f200), c80 = file(QStringLiteral("send/") + f80),
                     c100 = file(QStringLiteral("send/") + f100);
    ASSERT_EQ(SendFolder::SplitLines(c100).first().size(), 100);
    start();
    listAndTick({f200, f80, f100});
    ASSERT_EQ(grid.rowCount(), 3);
    msg.expect(MsgResult::Ok);
    ASSERT_TRUE(runUpload());
    EXPECT_EQ(msg.texts(), QStringList{QStringLiteral(u"파일송신이 완료되었습니다!!")});
    EXPECT_EQ(host.sent, (QStringList{f80, f200, f100}));

    // Blocks in order: 80 bytes (one block of 5), 200 bytes (4, 4, 4), 100 bytes (9, 9).
    const auto blocks = recv("0710100");
    QStringList got;
    for (const QJsonObject& b : blocks)
        got << f(b, "RecCount") + QLatin1Char('/') + f(b, "BlockNo") + QLatin1Char('/') +
                   f(b, "AuxInfo").trimmed() + QLatin1Char('/') + f(b, "ReceiverCode");
    EXPECT_EQ(got,
              (QStringList{QStringLiteral("05/0000001/080/0004"), QStringLiteral("04/0000001/200/0011"),
                           QStringLiteral("04/0000002/200/0011"), QStringLiteral("04/0000003/200/0011"),
                           QStringLiteral("09/0000001/100/0093"), QStringLiteral("09/0000002/100/0093")}));
    const auto ends = recv("0800800");
    ASSERT_EQ(ends.size(), 3);
    EXPECT_EQ(f(ends[0], "MsgData"), QStringLiteral("000005"));
    EXPECT_EQ(f(ends[1], "MsgData"), QStringLiteral("000012"));
    EXPECT_EQ(f(ends[2], "MsgData"), QStringLiteral("000018"));
    EXPECT_EQ(uploaded(1), c80);
    EXPECT_EQ(uploaded(2), c200);
    EXPECT_EQ(uploaded(3), c100);

    EXPECT_TRUE(names("send").isEmpty());
    EXPECT_EQ(names("sback"), (QStringList{f80, f200, f100}));
    for (const QString& n : {f200, f80, f100})
        EXPECT_EQ(srDate(n), QStringLiteral("20260316")) << n.toStdString();
    for (int r = 0; r < 3; ++r)
        EXPECT_FALSE(grid.marked(r, 8));
}

// While the second of two ticked files goes out, the user presses 파일송신
// again or lists the folder again: each ticked file goes out once, and a
// file nobody ticked never goes.
class VanPressDuringUpload : public VanFilesTest {
protected:
    void run(const std::function<void()>& press) {
        account("04", "1234");
        account("11", "1234");
        account("93", "1234");
        rows(2, "01", {QStringLiteral("04")});
        rows(2, "02", {QStringLiteral("11")}, 20);
        rows(2, "01", {QStringLiteral("93")}, 40);
        const QString a = writeFile("04", {QStringLiteral("01")});
        const QString b = writeFile("11", {QStringLiteral("02")});
        const QString c = writeFile("93", {QStringLiteral("01")});
        start();
        listAndTick({a, b});
        ASSERT_EQ(grid.rowCount(), 3);
        bool pressed = false;
        host.onProgress = [&] {
            if (host.sent.size() != 1 || pressed) return;
            pressed = true;
            press();
        };
        msg.expect(MsgResult::Ok);
        ASSERT_TRUE(runUpload());
        EXPECT_TRUE(pressed);
        EXPECT_EQ(msg.texts(), QStringList{QStringLiteral(u"파일송신이 완료되었습니다!!")});
        EXPECT_EQ(host.sent, (QStringList{a, b}));
        EXPECT_EQ(recv("0700100").size(), 2);
        EXPECT_EQ(names("send"), QStringList{c});
        for (int r = 0; r < grid.rowCount(); ++r)
            EXPECT_FALSE(grid.marked(r, 8)) << r;
    }
};

TEST_F(VanPressDuringUpload, SendPressedAgain) {
    run([this] { transfer->BBtnFileSndClick(); });
}

TEST_F(VanPressDuringUpload, FolderListedAgain) {
    run([this] { listAndTick({}); });
}

TEST_F(VanFilesTest, SbackCopyIsReplaced) {
    account("04", "1234");
    rows(2, "01", {QStringLiteral("04")});
    const QString name = writeFile("04", {QStringLiteral("01")});
    QFile old(path(QStringLiteral("sback/") + name));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old copy\r\n");
    old.close();
    const QByteArray content = file(QStringLiteral("send/") + name);
    start();
    listAndTick({name});
    msg.expect(MsgResult::Ok);
    ASSERT_TRUE(runUpload());
    EXPECT_EQ(file(QStringLiteral("sback/") + name), content);
}

TEST_F(VanFilesTest, RefusalsBeforeTheStart) {
    start();
    struct Case {
        const char* name;
        QTime time;
        QStringList row; // bank, type, date
        QString box;     // empty: the file goes out
    } cases[] = {
        {"0011 at 16:00",
         QTime(16, 0),
         {QStringLiteral("0011"), QStringLiteral("200"), QStringLiteral("20260316")},
         {}},
        {"0011 at 16:01",
         QTime(16, 1),
         {QStringLiteral("0011"), QStringLiteral("200"), QStringLiteral("20260316")},
         QStringLiteral(u"농협중앙 당일이체 데이터는 16시00분 이후에 전송할 수 없습니다.")},
        {"0012 at 16:01",
         QTime(16, 1),
         {QStringLiteral("0012"), QStringLiteral("200"), QStringLiteral("20260316")},
         QStringLiteral(u"단위농협 당일이체 데이터는 16시00분 이후에 전송할 수 없습니다.")},
        {"0011 tomorrow at 16:01",
         QTime(16, 1),
         {QStringLiteral("0011"), QStringLiteral("200"), QStringLiteral("20260317")},
         {}},
        {"R00 yesterday",
         QTime(9, 0),
         {QStringLiteral("0004"), QStringLiteral("R00"), QStringLiteral("20260315")},
         QStringLiteral(u"계좌등록 데이터의 신청일자가 당일 이전입니다.")},
        {"R00 today",
         QTime(9, 0),
         {QStringLiteral("0004"), QStringLiteral("R00"), QStringLiteral("20260316")},
         {}},
    };
    int starts = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Clock::set(QDateTime(QDate(2026, 3, 16), c.time));
        craftFile(QStringLiteral("26030199.x01"), 80, 1, "S");
        grid.reset(9);
        grid.appendRow({QStringLiteral("S"),
                        c.row[0],
                        c.row[1],
                        QStringLiteral("1"),
                        QStringLiteral("26030199.x01"),
                        c.row[2],
                        {},
                        {},
                        kMark});
        msg.clear();
        msg.expect(MsgResult::Ok);
        ASSERT_TRUE(runUpload());
        ASSERT_EQ(msg.shown().size(), 1);
        if (c.box.isEmpty()) {
            ++starts;
            EXPECT_EQ(msg.texts()[0], QStringLiteral(u"파일송신이 완료되었습니다!!"));
        } else {
            EXPECT_EQ(msg.texts()[0], c.box);
            EXPECT_EQ(msg.shown()[0].caption, QStringLiteral(u"전송실패"));
            EXPECT_EQ(msg.shown()[0].icon, MsgIcon::Error);
            EXPECT_TRUE(grid.marked(0, 8));
        }
        EXPECT_EQ(recv("0700100").size(), starts);
        Database::exec(QStringLiteral("DELETE FROM M_SRFILE"));
    }
}

// A drop or an error response in the middle: the file stays where it was,
// unstamped and still ticked; a merged file's sources come back on close.
TEST_F(VanFilesTest, FaultsMidUpload) {
    account("11", "1234");
    rows(10, "01", {QStringLiteral("11")});
    rows(2, "02", {QStringLiteral("11")}, 50);
    const QString a = writeFile("11", {QStringLiteral("01")});
    const QString b = writeFile("11", {QStringLiteral("02")});
    const QString merged = QStringLiteral("20990111.201");
    struct Case {
        const char* name;
        QStringList options;
        QStringList boxes;
    } cases[] = {
        {"dropped after the second block",
         {QStringLiteral("--drop-block"), QStringLiteral("2")},
         {QStringLiteral(u"파일합치기 전송파일목록\r\r2603월 01회차 10건\r2603월 01회차 2건\r"),
          kDisconnectBox}},
        {"error code on the second block",
         {QStringLiteral("--fail-block"), QStringLiteral("2:21")},
         {QStringLiteral(u"파일합치기 전송파일목록\r\r2603월 01회차 10건\r2603월 01회차 2건\r"),
          QStringLiteral(u"해당은행송신불가")}},
        {"end refused",
         {QStringLiteral("--resp"), QStringLiteral("0800800=13")},
         {QStringLiteral(u"파일합치기 전송파일목록\r\r2603월 01회차 10건\r2603월 01회차 2건\r"),
          QStringLiteral(u"File Size오류")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        msg.clear();
        for (int i = 0; i < c.boxes.size(); ++i)
            msg.expect(MsgResult::Ok);
        host = Host();
        start(c.options);
        listAndTick({merged});
        ASSERT_TRUE(transfer->BBtnFileSndClick());
        ASSERT_TRUE(waitFor([this] { return !transfer->running(); }));
        EXPECT_EQ(msg.texts(), c.boxes);
        EXPECT_TRUE(host.sent.isEmpty());
        EXPECT_EQ(names("send"), QStringList{merged});
        EXPECT_TRUE(names("sback").isEmpty());
        EXPECT_TRUE(grid.marked(0, 8));
        EXPECT_EQ(srDate(a), QString());
        EXPECT_EQ(srDate(b), QString());

        // Closing: the unsent merge is undone.
        link->closeSilently();
        transfer->abort();
        SendFolder::UndoPendingMerges(state);
        EXPECT_EQ(names("send"), (QStringList{a, b}));
        transfer.reset();
        session.reset();
        link.reset();
        sim.stop();
    }
}

TEST_F(VanFilesTest, ConfirmedMergeIsArchivedAndNeverComesBack) {
    account("11", "1234");
    account("04", "1234");
    rows(3, "01", {QStringLiteral("11")});
    rows(2, "02", {QStringLiteral("11")}, 50);
    rows(2, "01", {QStringLiteral("04")}, 80);
    const QString a = writeFile("11", {QStringLiteral("01")});
    const QString b = writeFile("11", {QStringLiteral("02")});
    const QString c = writeFile("04", {QStringLiteral("01")}); // listed, not ticked
    const QByteArray srcA = file(QStringLiteral("send/") + a);
    const QString merged = QStringLiteral("20990111.201");
    start();
    msg.expect({MsgResult::Ok, MsgResult::Ok});
    listAndTick({merged});
    ASSERT_TRUE(runUpload());
    EXPECT_EQ(host.sent, QStringList{merged});
    EXPECT_EQ(srDate(a), QStringLiteral("20260316"));
    EXPECT_EQ(srDate(b), QStringLiteral("20260316"));
    EXPECT_EQ(srDate(c), QString()) << "a file that was not sent is never stamped";
    EXPECT_EQ(names("sback"), (QStringList{merged, a, b}));
    EXPECT_EQ(file(QStringLiteral("sback/") + a), srcA);
    EXPECT_EQ(names("OrgSendFile"), (QStringList{a, b}));
    EXPECT_EQ(names("send"), QStringList{c});

    // Closing after the run brings nothing back.
    SendFolder::UndoPendingMerges(state);
    EXPECT_EQ(names("send"), QStringList{c});
    EXPECT_EQ(uploaded(1).count("\r\n"), 7);
}

// ---- downloads

QByteArray resultLines(int n) {
    QByteArray out;
    for (int i = 1; i <= n; ++i)
        out += ("D" + QByteArray::number(i).rightJustified(7, '0')).leftJustified(200, 'r') + "\r\n";
    return out;
}

QStringList fileRow(const char* type = "200", const char* seq = "001") {
    return {QStringLiteral("R"),       QStringLiteral("0011"),
            QString::fromLatin1(type), QStringLiteral("20260316"),
            QStringLiteral("090000"),  QStringLiteral("091000"),
            QStringLiteral("10"),      QString::fromLatin1(seq),
            QStringLiteral("0000"),    kMark};
}

class VanDownloadTest : public VanFilesTest {
protected:
    QString writeResult(const char* name, int n) {
        const QString p = sim.dir() + QLatin1Char('/') + QString::fromLatin1(name);
        QFile f(p);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(resultLines(n));
        return p;
    }
    bool runDownload(const QList<QStringList>& rows) {
        grid.reset(10);
        for (const QStringList& r : rows)
            grid.appendRow(r);
        if (!transfer->BBtnFileRecvClick()) return false;
        return waitFor([this] { return !transfer->running(); });
    }
    QStringList leftovers() const { return names("Temp"); }
};

TEST_F(VanDownloadTest, CountsNamesAndMismatch) {
    const QString r10 = writeResult("r10.txt", 10), r7 = writeResult("r7.txt", 7);
    start({QStringLiteral("--result-file"), r10, QStringLiteral("--result-file"), r7,
           QStringLiteral("--result-file"), r10, QStringLiteral("--result-total"), QStringLiteral("-1"),
           QStringLiteral("--result-total"), QStringLiteral("-1"), QStringLiteral("--result-total"),
           QStringLiteral("11")});
    msg.expect(MsgResult::Ok);
    ASSERT_TRUE(runDownload({fileRow(), fileRow("200", "002")}));
    EXPECT_EQ(msg.texts(), QStringList{QStringLiteral(u"파일수신이 완료되었습니다!!")});
    EXPECT_EQ(names("recv"), (QStringList{QStringLiteral("0011A123.201"), QStringLiteral("0011A123.202")}));
    EXPECT_EQ(file(QStringLiteral("recv/0011A123.201")), resultLines(10));
    EXPECT_EQ(file(QStringLiteral("recv/0011A123.202")), resultLines(7));
    EXPECT_FALSE(grid.marked(0, 9));
    EXPECT_FALSE(grid.marked(1, 9));
    const auto starts = recv("0700100");
    ASSERT_EQ(starts.size(), 2);
    EXPECT_EQ(f(starts[1], "MsgData"), QStringLiteral("20260316002"));
    EXPECT_EQ(f(starts[1], "ReceiverCode"), QStringLiteral("0011"));
    EXPECT_EQ(f(starts[1], "DirFlag"), QStringLiteral("R"));
    // The simulator logs the last reply after the client is done with it.
    ASSERT_TRUE(waitFor([this] { return recv("0810800").size() >= 2; }));
    const auto replies = recv("0810800");
    ASSERT_EQ(replies.size(), 2);
    EXPECT_EQ(f(replies[0], "MsgData"), QStringLiteral("000010"));
    EXPECT_EQ(f(replies[0], "RespCode"), QStringLiteral("00"));
    EXPECT_EQ(Registry::readString(QStringLiteral("RecvFile"), QStringLiteral("200")), QStringLiteral("2"));

    // The third announces one record more than it sends: nothing reaches
    // recv, the operator hears "13", the run stops.
    msg.expect(MsgResult::Ok);
    ASSERT_TRUE(runDownload({fileRow(), fileRow()}));
    EXPECT_EQ(msg.texts().last(), QStringLiteral(u"파일수신을 실패하였습니다. 총 건수 오류"));
    EXPECT_EQ(names("recv").size(), 2);
    EXPECT_TRUE(leftovers().isEmpty());
    ASSERT_TRUE(waitFor([this] { return recv("0810800").size() >= 3; }));
    EXPECT_EQ(f(recv("0810800").last(), "RespCode"), QStringLiteral("13"));
    EXPECT_EQ(recv("0700100").size(), 3) << "the second ticked file is not fetched";
    EXPECT_TRUE(grid.marked(1, 9));
    EXPECT_EQ(Registry::readString(QStringLiteral("RecvFile"), QStringLiteral("200")), QStringLiteral("3"));
}

TEST_F(VanDownloadTest, DroppedConnectionLeavesNothing) {
    const QString r10 = writeResult("r10.txt", 10);
    msg.expect(MsgResult::Ok);
    start({QStringLiteral("--result-file"), r10, QStringLiteral("--drop-block"), QStringLiteral("2")});
    grid.reset(10);
    grid.appendRow(fileRow());
    ASSERT_TRUE(transfer->BBtnFileRecvClick());
    ASSERT_TRUE(waitFor([this] { return host.disconnected == 1; }));
    EXPECT_FALSE(transfer->running());
    EXPECT_TRUE(names("recv").isEmpty());
    EXPECT_TRUE(leftovers().isEmpty());
    EXPECT_TRUE(grid.marked(0, 9));
}

TEST_F(VanDownloadTest, HostileNamesAreRefused) {
    const QString r10 = writeResult("r10.txt", 10);
    // "자작" is C0 DA C0 DB in CP949: four Latin-1 letters.
    for (const char* sender : {"../x", "a b1", "00/1", "자작"}) {
        SCOPED_TRACE(sender);
        msg.clear();
        msg.expect({MsgResult::Ok, MsgResult::Ok});
        host = Host();
        start({QStringLiteral("--result-file"), r10, QStringLiteral("--result-sender"),
               QString::fromUtf8(sender)});
        grid.reset(10);
        grid.appendRow(fileRow());
        ASSERT_TRUE(transfer->BBtnFileRecvClick());
        ASSERT_TRUE(waitFor([this] { return host.disconnected == 1; }));
        EXPECT_TRUE(msg.texts().value(0).startsWith(QStringLiteral(u"수신 파일 이름이 올바르지 않습니다")));
        EXPECT_TRUE(names("recv").isEmpty());
        EXPECT_TRUE(leftovers().isEmpty());
        EXPECT_TRUE(QDir(root()).entryList({QStringLiteral("*.2*")}, QDir::Files).isEmpty());
        transfer.reset();
        session.reset();
        link.reset();
        sim.stop();
    }
    // A file type from the list is a counter name and part of the file name.
    const QString r3 = writeResult("r3.txt", 3);
    msg.clear();
    msg.expect({MsgResult::Ok, MsgResult::Ok});
    host = Host();
    start({QStringLiteral("--result-file"), r3});
    grid.reset(10);
    grid.appendRow(fileRow("2=/"));
    ASSERT_TRUE(transfer->BBtnFileRecvClick());
    ASSERT_TRUE(waitFor([this] { return host.disconnected == 1; }));
    EXPECT_TRUE(names("recv").isEmpty());
}

// The list asked for again while a file comes in: no row of the new list
// gets a mark it did not have, so nothing is fetched unasked.
TEST_F(VanDownloadTest, NewListDuringADownloadTicksNothing) {
    const QString r10 = writeResult("r10.txt", 10);
    start({QStringLiteral("--result-file"), r10});
    bool relisted = false;
    host.onProgress = [&] {
        if (relisted) return;
        relisted = true;
        grid.reset(10);
        QStringList other = fileRow("200", "007");
        other[9].clear();
        grid.appendRow(other);
    };
    msg.expect(MsgResult::Ok);
    ASSERT_TRUE(runDownload({fileRow()}));
    EXPECT_TRUE(relisted);
    EXPECT_EQ(names("recv"), QStringList{QStringLiteral("0011A123.201")});
    EXPECT_FALSE(grid.marked(0, 9));
    EXPECT_EQ(recv("0700100").size(), 1);
}

// The counters start again on a new day, but a file of an earlier day is
// never overwritten: the next free counter is taken.
TEST_F(VanDownloadTest, CountersAcrossADayChange) {
    const QString r3 = writeResult("r3.txt", 3), r4 = writeResult("r4.txt", 4);
    start({QStringLiteral("--result-file"), r3, QStringLiteral("--result-file"), r4});
    msg.expect(MsgResult::Ok);
    ASSERT_TRUE(runDownload({fileRow()}));
    EXPECT_EQ(names("recv"), QStringList{QStringLiteral("0011A123.201")});

    Clock::set(QDateTime(QDate(2026, 3, 17), QTime(9, 0)));
    msg.expect(MsgResult::Ok);
    ASSERT_TRUE(runDownload({fileRow()}));
    EXPECT_EQ(names("recv"), (QStringList{QStringLiteral("0011A123.201"), QStringLiteral("0011A123.202")}));
    EXPECT_EQ(file(QStringLiteral("recv/0011A123.201")), resultLines(3)) << "yesterday's file is kept";
    EXPECT_EQ(file(QStringLiteral("recv/0011A123.202")), resultLines(4));
    EXPECT_EQ(Registry::readString(QStringLiteral("RecvFile"), QStringLiteral("Date")),
              QStringLiteral("20260317"));
    EXPECT_EQ(Registry::readString(QStringLiteral("RecvFile"), QStringLiteral("200")), QStringLiteral("2"));
}

// Records of other lengths: renumbered at 29-34, the run key at 63-68,
// the rest of the record kept; the trailer carries the line count, the
// total and the first two classes.
TEST(MergedRequestFile, OtherLengths) {
    auto rec = [](const char* bank, qint64 amount) {
        QByteArray r = QByteArray("D").leftJustified(80, '.');
        r.replace(11, 2, bank);
        r.replace(28, 6, "999999");
        r.replace(34, 10, QByteArray::number(amount).rightJustified(10, '0'));
        r.replace(62, 6, "KEYKEY");
        return r;
    };
    const QByteArray head = QByteArray("S").leftJustified(80, 'h');
    const QByteArray tail = QByteArray("E").leftJustified(80, 't');
    const QByteArray a = head + "\r\n" + rec("11", 100) + "\r\n" + rec("15", 20) + "\r\n" + tail + "\r\n";
    const QByteArray b = head + "\r\n" + rec("39", 3) + "\r\n" + tail + "\r\n";
    const SendFolder::JoinResult j = SendFolder::JoinRequestFiles(
        {{QStringLiteral("26030111.301"), a}, {QStringLiteral("26030211.301"), b}});
    ASSERT_TRUE(j.ok);
    EXPECT_EQ(j.counts, (QList<int>{2, 1}));
    const QList<QByteArray> out = SendFolder::SplitLines(j.content);
    ASSERT_EQ(out.size(), 5);
    EXPECT_EQ(out[0], head);
    for (int i = 1; i <= 3; ++i) {
        ASSERT_EQ(out[i].size(), 80);
        EXPECT_EQ(out[i].mid(28, 6), QByteArray::number(i).rightJustified(6, '0'));
        EXPECT_EQ(out[i].mid(62, 6), i < 3 ? QByteArray("260301") : QByteArray("260302"));
    }
    EXPECT_EQ(out[4], QByteArray("Etttttttt") + "000005" + "000000000123" + "000001000000000100" +
                          "000001000000000020" + tail.mid(63));

    // An amount that is not a number stops the join.
    QByteArray bad = rec("11", 1);
    bad.replace(34, 10, "12x4567890");
    EXPECT_FALSE(
        SendFolder::JoinRequestFiles({{QStringLiteral("26030111.301"), head + "\r\n" + bad + "\r\n" + tail}})
            .ok);
}

TEST(VanRecvCounter, NamesAndValues) {
    EXPECT_EQ(VanSettings::recvCounterDigits(1), QStringLiteral("01"));
    EXPECT_EQ(VanSettings::recvCounterDigits(99), QStringLiteral("99"));
    EXPECT_EQ(VanSettings::recvCounterDigits(123), QStringLiteral("12"));
    EXPECT_EQ(VanSettings::recvCounterName(QStringLiteral("R00")), QStringLiteral("R00"));
    EXPECT_EQ(VanSettings::recvCounterName(QStringLiteral("801")), QStringLiteral("800"));
    EXPECT_TRUE(SendFolder::IsPlainName(QStringLiteral("notice01.txt"), true));
    EXPECT_FALSE(SendFolder::IsPlainName(QStringLiteral("../notice.txt"), true));
    EXPECT_FALSE(SendFolder::IsPlainName(QStringLiteral(".hidden"), true));
    EXPECT_FALSE(SendFolder::IsPlainName(QStringLiteral("a/b"), true));
    EXPECT_FALSE(SendFolder::IsPlainName(QStringLiteral("a.b"), false));
}

// ---- notices and the password

TEST_F(VanFilesTest, NoticeListAndFile) {
    const QString text =
        QStringLiteral(u"점검 안내 ") + QString(1000, QLatin1Char('x')) + QStringLiteral(u" 끝");
    QStringList opts;
    for (const char* n : {"notice01.txt", "notice02.txt", "../evil.txt"})
        opts << QStringLiteral("--notice-entry")
             << QStringLiteral("20260315103000") + QStringLiteral(u"정기 점검").leftJustified(76) +
                    QString::fromLatin1(n).leftJustified(20);
    opts << QStringLiteral("--notice-text") << text;
    start(opts);
    grid.reset(5);
    session->SendVanMsg(session->builder.NoticeListRequest(QStringLiteral("20020601"), Clock::todayText()));
    ASSERT_TRUE(waitFor([this] { return recv("0420100").size() == 1; }));
    EXPECT_EQ(host.listBlocks, 1);
    ASSERT_EQ(grid.rowCount(), 3);
    EXPECT_EQ(grid.cell(0, 0), QStringLiteral("20260315"));
    EXPECT_EQ(grid.cell(0, 1), QStringLiteral("103000"));
    EXPECT_EQ(grid.cell(0, 2), QStringLiteral(u"정기 점검"));
    EXPECT_EQ(grid.cell(1, 3), QStringLiteral("notice02.txt"));

    grid.setCell(1, 4, kMark);
    ASSERT_TRUE(transfer->BBtnGongjiFileClick());
    ASSERT_TRUE(waitFor([this] { return !transfer->running(); }));
    EXPECT_EQ(host.notices, QStringList{path(QStringLiteral("gong/notice02.txt"))});
    EXPECT_EQ(Cp949::decode(file(QStringLiteral("gong/notice02.txt"))).trimmed(), text);
    EXPECT_FALSE(grid.marked(1, 4));
    // The simulator logs the client's last reply after the client is done.
    ASSERT_TRUE(waitFor([this] { return !recv("0810800").isEmpty(); }));
    EXPECT_EQ(f(recv("0810800").last(), "MsgData"), QStringLiteral("000002")) << "two blocks";

    // A notice name with a path is never a file name.
    grid.setCell(2, 4, kMark);
    msg.expect({MsgResult::Ok, MsgResult::Ok});
    ASSERT_TRUE(transfer->BBtnGongjiFileClick());
    ASSERT_TRUE(waitFor([this] { return host.disconnected == 1; }));
    EXPECT_EQ(msg.texts().value(0), QStringLiteral(u"수신 파일 이름이 올바르지 않습니다: ../evil.txt"));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("evil.txt"))));
    EXPECT_EQ(names("gong"), QStringList{QStringLiteral("notice02.txt")});
}

TEST_F(VanFilesTest, PasswordChange) {
    start();
    // A confirmation that differs by a trailing space is refused.
    msg.expect(MsgResult::Ok);
    EXPECT_FALSE(transfer->ChangePassword(QStringLiteral("pw1234"), QStringLiteral("new123"),
                                          QStringLiteral("new123 ")));
    EXPECT_EQ(msg.shown().last().caption, QStringLiteral(u"입력오류"));
    EXPECT_EQ(msg.texts().last(), QStringLiteral(u"새로운 패스워드가 틀립니다.\r\n다시 입력하세요!!!"));
    EXPECT_TRUE(recv("0300100").isEmpty());

    msg.expect(MsgResult::Ok);
    EXPECT_TRUE(transfer->ChangePassword(QStringLiteral(" pw1234 "), QStringLiteral("new123"),
                                         QStringLiteral("new123")));
    ASSERT_TRUE(waitFor([this] { return msg.shown().size() == 2; }));
    EXPECT_EQ(msg.shown().last().caption, QStringLiteral(u"암호변경"));
    EXPECT_EQ(msg.texts().last(), QStringLiteral(u"암호가 변경되었습니다.!!"));
    EXPECT_EQ(host.statuses.last(), QStringLiteral(u"암호가 변경되었습니다!!"));
    ASSERT_TRUE(waitFor([this] { return !recv("0300100").isEmpty(); }));
    EXPECT_EQ(f(recv("0300100").last(), "MsgData"), QStringLiteral("pw1234    new123"));
    EXPECT_EQ(Registry::readString(QStringLiteral("SchoolInfo"), QStringLiteral("UxPwd")),
              QStringLiteral("pw1234"));

    // The old password no longer holds.
    msg.expect(MsgResult::Ok);
    transfer->ChangePassword(QStringLiteral("pw1234"), QStringLiteral("x"), QStringLiteral("x"));
    ASSERT_TRUE(waitFor([this] { return msg.shown().size() == 3; }));
    EXPECT_EQ(msg.texts().last(), QStringLiteral(u"구비밀번호오류"));
}

// ---- distribution files

// A distribution request file as the distribution window writes it goes out
// like any other: listed, uploaded whole to the bank, archived and stamped.
TEST_F(VanFilesTest, DistributionRequestGoesThroughTheSendList) {
    ASSERT_TRUE(Database::insertRow(QStringLiteral("C_ACCT"), {{QStringLiteral("BankCd"), QStringLiteral("21")},
                                                               {QStringLiteral("Gubun"), QStringLiteral("배분")},
                                                               {QStringLiteral("AcctNo"), QStringLiteral("55566677788")},
                                                               {QStringLiteral("CompyNo"), QStringLiteral("SCH2100001")},
                                                               {QStringLiteral("Passwd"), QStringLiteral("1234")},
                                                               {QStringLiteral("Gcode"), QStringLiteral("01")}}));
    ASSERT_TRUE(DMData->CreateH300(kRunKey));
    for (int i = 1; i <= 3; ++i)
        ASSERT_TRUE(Database::insertRow(QStringLiteral("H_300_") + kRunKey,
                                        {{QStringLiteral("YearMon"), kRunKey.left(6)},
                                         {QStringLiteral("SeqNo"), kRunKey.mid(6)},
                                         {QStringLiteral("SNo"), QStringLiteral("1010%1").arg(i)},
                                         {QStringLiteral("ItemCd"), QStringLiteral("A1")},
                                         {QStringLiteral("BankCd"), QStringLiteral("21")},
                                         {QStringLiteral("AcctNo"), QStringLiteral("2100000000%1").arg(i)},
                                         {QStringLiteral("Amt"), 1000 * i},
                                         {QStringLiteral("ReplyTy"), QStringLiteral("0")},
                                         {QStringLiteral("ExempTy"), QStringLiteral("1")},
                                         {QStringLiteral("Nm"), QStringLiteral("홍길동")},
                                         {QStringLiteral("Gcode"), QStringLiteral("01")}}));
    DistribRequest::Run run;
    run.round = {QStringLiteral("01.기본"), kRunKey.left(6), kRunKey.mid(6)};
    run.bankText = QStringLiteral("21.조흥은행");
    run.start = run.end = QDate(2026, 3, 17);
    run.acctLine = DistribRequest::accountLines(QStringLiteral("21")).value(0);
    run.marked = DistribRequest::roundRows(run.round);
    msg.expect(MsgResult::Ok);
    const DistribRequest::Result w = DistribRequest::write(run);
    ASSERT_TRUE(w.ok);
    ASSERT_EQ(w.fileName, QStringLiteral("26030121.301"));
    const QByteArray src = file(QStringLiteral("send/") + w.fileName);

    start();
    const SendListResult r = listAndTick({w.fileName});
    ASSERT_EQ(r.rows.size(), 1);
    EXPECT_EQ(r.rows[0].FileName, w.fileName);
    msg.expect(MsgResult::Ok);
    ASSERT_TRUE(runUpload());
    EXPECT_EQ(host.sent, QStringList{w.fileName});
    const auto blocks = recv("0710100");
    ASSERT_EQ(blocks.size(), 1);
    EXPECT_EQ(f(blocks[0], "ReceiverCode"), QStringLiteral("0021"));
    EXPECT_EQ(f(blocks[0], "AuxInfo").trimmed(), QStringLiteral("080"));
    EXPECT_EQ(uploaded(1), src);
    EXPECT_EQ(names("sback"), QStringList{w.fileName});
    EXPECT_EQ(srDate(w.fileName), QStringLiteral("20260316"));
}

// A distribution result ("3nn") fetched for bank 21 lands in recv under a
// name of that bank and a "3" type: where the result dialog lists the
// bank's files.
TEST_F(VanDownloadTest, DistributionResultLandsWhereTheResultDialogLooks) {
    QByteArray body = QByteArray("S").leftJustified(80, ' ') + "\r\n";
    for (int i = 1; i <= 2; ++i)
        body += ("D" + QByteArray::number(i).rightJustified(7, '0')).leftJustified(80, 'r') + "\r\n";
    body += QByteArray("E").leftJustified(80, ' ') + "\r\n";
    const QString p = sim.dir() + QStringLiteral("/dist.txt");
    {
        QFile out(p);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(body);
    }
    start({QStringLiteral("--result-file"), p});
    msg.expect(MsgResult::Ok);
    ASSERT_TRUE(runDownload({{QStringLiteral("R"), QStringLiteral("0021"), QStringLiteral("300"),
                              QStringLiteral("20260316"), QStringLiteral("090000"), QStringLiteral("091000"),
                              QStringLiteral("4"), QStringLiteral("001"), QStringLiteral("0000"), kMark}}));
    EXPECT_EQ(msg.texts(), QStringList{QStringLiteral(u"파일수신이 완료되었습니다!!")});
    const QStringList listed = QDir(path(QStringLiteral("recv"))).entryList({QStringLiteral("*.3*")}, QDir::Files);
    ASSERT_EQ(listed, QStringList{QStringLiteral("0021A123.301")});
    EXPECT_EQ(listed[0].mid(2, 2), QStringLiteral("21"));
    EXPECT_EQ(file(QStringLiteral("recv/") + listed[0]), body);
}

} // namespace
