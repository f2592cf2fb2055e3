#include "van/C101B00.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/settings/Registry.h"
#include "platform/ui/Modal.h"
#include "support/TestRoot.h"
#include "support/VanSimulator.h"
#include "support/Wait.h"
#include "van/C101B01.h"
#include "van/C101B02.h"
#include "van/C101B03.h"
#include "van/C101B04.h"
#include "van/VanSettings.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QTextEdit>
#include <QTimer>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QThread>

#include <functional>

namespace {

class C101B00Test : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("SchCode"),
                              QStringLiteral("A123"));
        Registry::writeString(QStringLiteral("SchoolInfo"), QStringLiteral("UxPwd"),
                              QStringLiteral("pw1234"));
        Registry::writeInteger(QStringLiteral("SchoolInfo"), QStringLiteral("UxAut"), 1);
        // Lists end after this much silence.
        qputenv("ZQ_VAN_LIST_QUIET_MS", "300");
    }
    void TearDown() override {
        qunsetenv("ZQ_VAN_LIST_QUIET_MS");
        delete w.data();
        Modal::setRunner({});
        sim.stop();
        TestRoot::TearDown();
    }
    void open(const QStringList& simOptions = {}) {
        ASSERT_TRUE(sim.start(simOptions));
        VanSettings::writeServer({QStringLiteral("127.0.0.1"), QString::number(sim.port())});
        w = new TFrmC101B00;
        w->show();
    }
    QPointer<TFrmC101B00> w;
    VanSimulator sim;
};

TEST_F(C101B00Test, LogOnCloseLogsOffThenCloses) {
    open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("통신(ver2.0)"));
    EXPECT_EQ(w->layout(), 10);
    EXPECT_EQ(w->SGrdDataLst->rowCount(), 1);
    EXPECT_FALSE(w->sessionButtonsEnabled());
    EXPECT_TRUE(w->BBtnConn->isVisible());

    w->BBtnConn->click();
    ASSERT_TRUE(waitFor([this] { return w->BBtnDisConn->isVisible(); }));
    EXPECT_FALSE(w->BBtnConn->isVisible());
    EXPECT_EQ(w->statusText(), QStringLiteral(" ▶TORVA과 개시되었습니다!!"));
    EXPECT_TRUE(w->BBtnAll->isEnabled());
    EXPECT_TRUE(w->bbtnSend->isEnabled());
    EXPECT_TRUE(w->BBtnPswd->isEnabled());
    EXPECT_TRUE(w->Memo->toPlainText().startsWith(QStringLiteral("SEND==>S00001")));

    // A second 접속 while connected does nothing.
    w->BBtnConn->click();
    QTest::qWait(100);
    EXPECT_EQ(sim.messages(QStringLiteral("recv"), QStringLiteral("0800100")).size(), 1);

    // The first close logs off and keeps the window; the next one closes it.
    msg.expect(MsgResult::Ok);
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    ASSERT_TRUE(waitFor([this] { return w->BBtnConn->isVisible(); }));
    EXPECT_EQ(sim.messages(QStringLiteral("recv"), QStringLiteral("0800900")).size(), 1);
    EXPECT_EQ(msg.shown().last().caption, QStringLiteral("접속종료"));
    EXPECT_FALSE(w->sessionButtonsEnabled());
    EXPECT_TRUE(w->close());
    ASSERT_TRUE(waitFor([this] { return w.isNull(); }));
}

TEST_F(C101B00Test, DialogLogOnAndLogOffButton) {
    Registry::writeInteger(QStringLiteral("SchoolInfo"), QStringLiteral("UxAut"), 0);
    open();
    int dialogs = 0;
    Modal::setRunner([&](QDialog* d) {
        ++dialogs;
        auto* l = qobject_cast<TFrmC101B01*>(d);
        EXPECT_TRUE(l);
        l->EdtCompCd->setText(QStringLiteral("A123"));
        l->EdtPswd->setText(dialogs == 1 ? QStringLiteral("wrong") : QStringLiteral("pw1234"));
        return int(QDialog::Accepted);
    });
    msg.expect(MsgResult::Ok); // 비밀번호오류
    w->BBtnConn->click();
    ASSERT_TRUE(waitFor([this] { return w->BBtnDisConn->isVisible(); }));
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(msg.texts(), QStringList{QStringLiteral("비밀번호오류")});

    msg.expect(MsgResult::Ok);
    w->BBtnDisConn->click();
    ASSERT_TRUE(waitFor([this] { return w->BBtnConn->isVisible(); }));
    EXPECT_EQ(w->statusText(), QStringLiteral(" ▶TORVA과 접속이 종료되었습니다!!"));
    EXPECT_TRUE(sim.waitClosed());
}

TEST_F(C101B00Test, TimeOutEndsTheSessionAndTheWindowStaysUsable) {
    open({QStringLiteral("--silent")});
    w->link().setReadTimeout(300);
    msg.expect(MsgResult::Ok);
    w->BBtnConn->click();
    ASSERT_TRUE(waitFor([this] { return msg.shown().size() == 1; }));
    EXPECT_EQ(msg.shown()[0].caption, QStringLiteral("접속종료"));
    EXPECT_EQ(w->statusText(), QStringLiteral(" ▶TORVA과 접속이 종료되었습니다!!"));
    EXPECT_TRUE(w->BBtnConn->isVisible());
    EXPECT_TRUE(w->BBtnConn->isEnabled());
    EXPECT_TRUE(w->close()) << "a disconnected window closes at once";
}

TEST_F(C101B00Test, BadPortAndUnreachableServerShowTheErrorBox) {
    open();
    const struct {
        const char* address;
        const char* port;
        const char16_t* says;
    } cases[] = {{"127.0.0.1", "abc", u"포트번호 'abc'이(가) 올바르지 않습니다."},
                 {"", "", u"서버 주소 또는 포트번호가 등록되어 있지 않습니다."},
                 {"127.0.0.1", " ", u"서버 주소 또는 포트번호가 등록되어 있지 않습니다."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.port);
        msg.clear();
        VanSettings::writeServer({QString::fromLatin1(c.address), QString::fromLatin1(c.port)});
        msg.expect(MsgResult::Ok);
        w->BBtnConn->click();
        ASSERT_EQ(msg.shown().size(), 1);
        EXPECT_EQ(msg.shown()[0].icon, MsgIcon::Error);
        EXPECT_TRUE(msg.shown()[0].text.startsWith(QString::fromUtf16(c.says)))
            << msg.shown()[0].text.toStdString();
        EXPECT_TRUE(w->BBtnConn->isEnabled());
    }
    msg.clear();

    const quint16 port = sim.port();
    sim.stop(); // nothing listens there now
    VanSettings::writeServer({QStringLiteral("127.0.0.1"), QString::number(port)});
    msg.expect(MsgResult::Ok);
    w->BBtnConn->click();
    ASSERT_TRUE(waitFor([this] { return msg.shown().size() == 1; }));
    EXPECT_EQ(msg.shown()[0].icon, MsgIcon::Error);
    EXPECT_FALSE(w->link().isConnected());
    EXPECT_TRUE(w->BBtnConn->isVisible());
}

TEST_F(C101B00Test, GridMarksAndMemo) {
    open();
    QTableWidget* g = w->SGrdDataLst;
    g->setRowCount(3);
    const QStringList kinds = {QStringLiteral("R"), QStringLiteral("S"), QStringLiteral("R")};
    for (int r = 0; r < 3; ++r)
        g->setItem(r, 0, new QTableWidgetItem(kinds[r]));
    auto mark = [g](int r) { return g->item(r, 9) ? g->item(r, 9)->text() : QString(); };
    w->ToggleMark(1);
    EXPECT_EQ(mark(1), QString()) << "sent files cannot be marked";
    w->ToggleMark(0);
    EXPECT_EQ(mark(0), QStringLiteral("◎"));
    g->setItem(1, 9, new QTableWidgetItem(QStringLiteral("◎")));
    w->BBtnAllClick();
    EXPECT_EQ(mark(0), QString());
    EXPECT_EQ(mark(1), QString());
    EXPECT_EQ(mark(2), QStringLiteral("◎"));

    w->SetLayout(C101Grid::NoticeList);
    w->ClearGrid();
    EXPECT_EQ(w->layout(), 5);
    g->setRowCount(3);
    g->setItem(0, 3, new QTableWidgetItem(QStringLiteral("a.txt")));
    g->setItem(2, 3, new QTableWidgetItem(QStringLiteral("c.txt")));
    w->BBtnAllClick();
    EXPECT_EQ(g->item(0, 4)->text(), QStringLiteral("◎"));
    EXPECT_FALSE(g->item(2, 4)) << "the walk stops at the first row without a file name";

    EXPECT_FALSE(w->Memo->isVisible());
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w, Qt::Key_F11);
    EXPECT_TRUE(w->Memo->isVisible());
    QTest::keyClick(w, Qt::Key_F11);
    EXPECT_FALSE(w->Memo->isVisible());
}

// A registration request file dated today, booked in group 01.
void requestFile(const QString& root, const QString& name, int records) {
    QByteArray out = (QByteArray("S").leftJustified(15, ' ') + "20260316").leftJustified(80, ' ') + "\r\n";
    for (int i = 0; i < records; ++i)
        out += QByteArray("D").leftJustified(80, 'd') + "\r\n";
    out += QByteArray("E").leftJustified(80, ' ') + "\r\n";
    QFile f(root + QStringLiteral("/send/") + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(out);
    f.close();
    ASSERT_TRUE(
        Database::insertRow(QStringLiteral("M_SRFILE"), {{QStringLiteral("SRType"), QStringLiteral("S")},
                                                         {QStringLiteral("FileName"), name},
                                                         {QStringLiteral("FileType"), name.mid(9, 3)},
                                                         {QStringLiteral("Gcode"), QStringLiteral("01")}}));
}

TEST_F(C101B00Test, SendListUploadDownloadNoticeAndPassword) {
    requestFile(root(), QStringLiteral("26030104.R01"), 3);
    const QString result = sim.dir() + QStringLiteral("/result.txt");
    {
        QFile f(result);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("S").leftJustified(100, ' ') + "\r\n" + QByteArray("D").leftJustified(100, 'd') +
                "\r\n" + QByteArray("E").leftJustified(100, ' ') + "\r\n");
    }
    open({QStringLiteral("--result-file"), result, QStringLiteral("--entry"),
          QStringLiteral("R0004200202603160900000910000003001  0000"), QStringLiteral("--entry"),
          QStringLiteral("S0004R00202603160800000810000005001  0000"), QStringLiteral("--notice-entry"),
          QStringLiteral("20260315103000") + QString(80, QLatin1Char(' ')) + QStringLiteral("n1.txt"),
          QStringLiteral("--notice-text"), QStringLiteral(u"알림")});
    EXPECT_EQ(w->cboGroup->count(), 1) << "the item groups through the filler";
    w->TmrSnd->setInterval(0);
    w->TmrRecv->setInterval(0);
    w->BBtnConn->click();
    ASSERT_TRUE(waitFor([this] { return w->BBtnDisConn->isVisible(); }));

    // 송신: the send list, ticked and sent.
    w->bbtnSend->click();
    EXPECT_EQ(w->layout(), 9);
    ASSERT_EQ(w->SGrdDataLst->rowCount(), 1);
    EXPECT_EQ(w->grid().cell(0, 4), QStringLiteral("26030104.R01"));
    EXPECT_TRUE(w->PnlSendRecv->isVisible());
    EXPECT_TRUE(w->BBtnFileSnd->isVisible());
    EXPECT_FALSE(w->BBtnFileRecv->isVisible());
    msg.expect(MsgResult::Ok);
    w->BBtnFileSnd->click(); // nothing ticked
    EXPECT_EQ(msg.texts().last(), QStringLiteral(u"먼저 송신 파일을 선택하세요!!"));
    w->ToggleMark(0);
    msg.expect(MsgResult::Ok);
    w->BBtnFileSnd->click();
    ASSERT_TRUE(waitFor([this] { return msg.shown().size() == 2; }));
    EXPECT_EQ(msg.texts().last(), QStringLiteral(u"파일송신이 완료되었습니다!!"));
    EXPECT_EQ(w->statusText(), QStringLiteral(u" ▶26030104.R01 송신완료!!"));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("sback/26030104.R01"))));
    EXPECT_FALSE(w->PnlFtp->isVisible());

    // 수신: the date dialog, the list (only "R" rows tick), the download.
    Modal::setRunner([](QDialog* d) {
        auto* dates = qobject_cast<TFrmC101B02*>(d);
        EXPECT_TRUE(dates);
        if (dates) dates->DTPkerSDt->setDate(QDate(2026, 3, 1));
        return int(QDialog::Accepted);
    });
    w->bbtnRecv->click();
    ASSERT_TRUE(waitFor(
        [this] { return sim.messages(QStringLiteral("recv"), QStringLiteral("0620100")).size() == 1; }));
    EXPECT_EQ(
        sim.messages(QStringLiteral("recv"), QStringLiteral("0600100"))[0].value(QStringLiteral("MsgData")),
        QStringLiteral("2026030120260316R"));
    EXPECT_EQ(w->layout(), 10);
    w->BBtnAllClick();
    msg.expect(MsgResult::Ok);
    w->BBtnFileRecv->click();
    ASSERT_TRUE(waitFor([this] { return msg.shown().size() == 3; }));
    EXPECT_EQ(msg.texts().last(), QStringLiteral(u"파일수신이 완료되었습니다!!"));
    EXPECT_EQ(QDir(path(QStringLiteral("recv"))).entryList(QDir::Files),
              QStringList{QStringLiteral("0004A123.201")});

    // 공지사항: the notice list, one notice fetched and shown.
    QString shown;
    Modal::setRunner([&shown](QDialog* d) {
        auto* v = qobject_cast<TFrmC101B04*>(d);
        EXPECT_TRUE(v);
        if (v) shown = v->REdtMemo->toPlainText();
        return int(QDialog::Accepted);
    });
    w->bbtnGongji->click();
    ASSERT_TRUE(waitFor([this] { return w->grid().cell(0, 3) == QLatin1String("n1.txt"); }));
    // The status line's "조회 중" ends with the list.
    ASSERT_TRUE(waitFor([this] { return w->statusText().isEmpty(); }));
    w->ToggleMark(0);
    w->BBtnGongjiFile->click();
    ASSERT_TRUE(waitFor([&shown] { return !shown.isEmpty(); }));
    EXPECT_EQ(shown.trimmed(), QStringLiteral(u"알림"));

    // 암호변경 through its dialog.
    Modal::setRunner([](QDialog* d) {
        auto* p = qobject_cast<TFrmC101B03*>(d);
        EXPECT_TRUE(p);
        if (!p) return int(QDialog::Rejected);
        p->EdtCurrPswd->setText(QStringLiteral("pw1234"));
        p->EdtUpdtPswd->setText(QStringLiteral("abc123"));
        p->EdtConfiPswd->setText(QStringLiteral("abc123"));
        return int(QDialog::Accepted);
    });
    msg.expect(MsgResult::Ok);
    w->BBtnPswd->click();
    ASSERT_TRUE(waitFor([this] { return msg.shown().size() == 4; }));
    EXPECT_EQ(msg.texts().last(), QStringLiteral(u"암호가 변경되었습니다.!!"));
}

// A merge that was not sent is undone when the window closes; the close
// while logged on waits for the log-off first.
TEST_F(C101B00Test, CloseUndoesAnUnsentMerge) {
    auto nh = [this](const char* name) {
        QByteArray out = QByteArray("S").leftJustified(21, ' ') + "20260317";
        out = out.leftJustified(200, ' ') + "\r\n";
        out += QByteArray("D0000001").leftJustified(24, ' ') + "011" + QByteArray(16, '1') +
               QByteArray("0000000010000").leftJustified(158, ' ') + "\r\n";
        out += QByteArray("E").leftJustified(200, ' ') + "\r\n";
        QFile f(path(QStringLiteral("send/") + QString::fromLatin1(name)));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(out);
        f.close();
        EXPECT_TRUE(Database::insertRow(QStringLiteral("M_SRFILE"),
                                        {{QStringLiteral("SRType"), QStringLiteral("S")},
                                         {QStringLiteral("FileName"), QString::fromLatin1(name)},
                                         {QStringLiteral("Gcode"), QStringLiteral("01")}}));
    };
    nh("26030111.201");
    nh("26030211.201");
    open();
    w->BBtnConn->click();
    ASSERT_TRUE(waitFor([this] { return w->BBtnDisConn->isVisible(); }));
    msg.expect(MsgResult::Ok); // the merge list
    w->bbtnSend->click();
    EXPECT_EQ(QDir(path(QStringLiteral("send"))).entryList(QDir::Files),
              QStringList{QStringLiteral("20990111.201")});
    msg.expect(MsgResult::Ok);
    EXPECT_FALSE(w->close());
    ASSERT_TRUE(waitFor([this] { return w->BBtnConn->isVisible(); }));
    EXPECT_TRUE(w->close());
    EXPECT_EQ(QDir(path(QStringLiteral("send"))).entryList(QDir::Files),
              (QStringList{QStringLiteral("26030111.201"), QStringLiteral("26030211.201")}));
}

TEST(C101Grid, CellTexts) {
    QStringList banks = {QStringLiteral("0010 신농협중앙"), QStringLiteral("0012 농협회원")};
    using namespace C101Grid;
    EXPECT_EQ(displayText(FileList, 1, QStringLiteral("0010"), banks), QStringLiteral("신농협중앙"));
    EXPECT_EQ(displayText(FileList, 1, QStringLiteral("0012"), banks), QStringLiteral("농협회원"));
    EXPECT_EQ(displayText(FileList, 1, QStringLiteral("0099"), banks), QStringLiteral("0099"));
    EXPECT_EQ(displayText(FileList, 0, QStringLiteral("S"), banks), QStringLiteral("송신"));
    EXPECT_EQ(displayText(FileList, 2, QStringLiteral("R00"), banks), QStringLiteral("계좌등록"));
    EXPECT_EQ(displayText(FileList, 2, QStringLiteral("900"), banks), QStringLiteral("900"));
    EXPECT_EQ(displayText(FileList, 3, QStringLiteral("20260316"), banks), QStringLiteral("2026-03-16"));
    EXPECT_EQ(displayText(FileList, 4, QStringLiteral("102030"), banks), QStringLiteral("10:20:30"));
    EXPECT_EQ(displayText(SendList, 3, QStringLiteral("1234567"), banks), QStringLiteral("1,234,567"));
    EXPECT_EQ(displayText(NoticeList, 4, QStringLiteral("◎"), banks), QStringLiteral(" ◎"));
    EXPECT_EQ(textColor(FileList, 0, QStringLiteral("S")), QColor(Qt::red));
    EXPECT_EQ(textColor(FileList, 2, QStringLiteral("200")), QColor(Qt::blue));
}

} // namespace
