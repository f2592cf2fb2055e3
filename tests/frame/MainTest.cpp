#include "frame/Main.h"
#include "basic/F101B00.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/settings/IniFile.h"
#include "platform/settings/Registry.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Modal.h"
#include "shared/MainHooks.h"
#include "support/TestRoot.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QEventLoop>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <optional>

namespace {

const QString kKey = QStringLiteral("SchoolInfo");

class MainWindow : public TestRoot {
protected:
    void SetUp() override {
        TestRoot::SetUp();
        savedHooks_ = mainHooks();
        mainHooks() = MainHooks{};
    }
    void TearDown() override {
        Modal::setRunner({});
        for (const auto& [unit, entry] : savedForms_) {
            if (entry) FormRegistry::add(*entry);
        }
        mainHooks() = savedHooks_;
        TestRoot::TearDown();
    }
    // A stand-in form for a unit, kept only for this test.
    void fakeForm(const QString& unit, FormEntry::Mode mode) {
        const FormEntry* old = FormRegistry::find(unit);
        savedForms_.append({unit, old ? std::optional<FormEntry>(*old) : std::nullopt});
        FormEntry e;
        e.unit = unit;
        e.caption = unit;
        e.mode = mode;
        e.create = [unit, mode](QWidget* parent) -> QWidget* {
            QWidget* w = mode == FormEntry::Mode::Dialog ? new QDialog(parent) : new QWidget(parent);
            w->setObjectName(unit);
            return w;
        };
        FormRegistry::add(e);
    }
    static void setSettings(std::initializer_list<std::pair<const char*, QString>> values) {
        for (const auto& [k, v] : values)
            Registry::writeString(kKey, QString::fromLatin1(k), v);
    }
    static QStringList openWindows(TFrmMain& w) {
        QStringList out;
        for (QMdiSubWindow* s : w.mdiArea()->subWindowList())
            if (s->widget()) out << s->widget()->objectName();
        return out;
    }
    static void settle() {
        QEventLoop loop;
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
        loop.exec();
    }

    MainHooks savedHooks_;
    QList<std::pair<QString, std::optional<FormEntry>>> savedForms_;
};

TEST_F(MainWindow, FirstStartWritesDefaultsAndMakesTheTables) {
    Database::insertRow(QStringLiteral("M_CUST"), {{QStringLiteral("CustNo"), QStringLiteral("0123400001")},
                                                   {QStringLiteral("SNo"), QStringLiteral("30105")}});
    msg.expect(MsgResult::Ok);
    TFrmMain w;
    ASSERT_EQ(msg.shown().size(), 1);
    EXPECT_EQ(msg.shown().at(0).caption, QStringLiteral("입력요망"));
    EXPECT_EQ(msg.shown().at(0).text, QStringLiteral("기본등록/학교등록에 업체코드를 입력하십시요!!"));
    EXPECT_EQ(msg.shown().at(0).icon, MsgIcon::Information);

    EXPECT_EQ(Registry::readString(kKey, QStringLiteral("UxAut")), QStringLiteral("0"));
    EXPECT_EQ(Registry::readString(kKey, QStringLiteral("UxAutS")), QStringLiteral("0"));
    EXPECT_TRUE(Registry::valueExists(kKey, QStringLiteral("UxPwd")));
    EXPECT_EQ(Registry::readString(kKey, QStringLiteral("UxHxls")), root() + QStringLiteral("/hxls/"));
    EXPECT_TRUE(
        Registry::readString(kKey, QStringLiteral("UxBack")).endsWith(QStringLiteral("/zq-data-backup/")));
    EXPECT_EQ(Registry::readString(kKey, QStringLiteral("UxHakB")),
              QStringLiteral("5")); // guessed from 30105
    EXPECT_FALSE(Registry::valueExists(kKey, QStringLiteral("SchCode")));
    EXPECT_EQ(SNoLen, 5);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("지큐스쿨(소마린 Ver3.1.8.9)-[TORVA] [업체코드 : ]"));

    for (const char* t : {"C_Bigo", "SCHOOLINFO", "M_TITLE", "G_GROUP"})
        EXPECT_TRUE(Database::tableExists(QString::fromLatin1(t))) << t;
    EXPECT_EQ(column(QStringLiteral("select v_a00c || '|' || UxAut || '|' || UxHxls from SCHOOLINFO")),
              QStringList{QStringLiteral("UCRUX|0|") + root() + QStringLiteral("/hxls/")});
    EXPECT_EQ(column(QStringLiteral("select MenuName || ':' || JobLog from L_Log_202603")),
              QStringList{QStringLiteral("로그인(기본정보):기본정보테이블생성 성공")});
    EXPECT_EQ(w.minimumSize(), QSize(798, 532));
    EXPECT_FALSE(w.Terminated());
}

TEST_F(MainWindow, PresentSettingsAreKeptAndOddValuesDoNotStopTheStart) {
    setSettings({{"SchCode", QStringLiteral("AB12")},
                 {"SchNm", QStringLiteral(" 한빛'초등학교 ")},
                 {"UxAut", QStringLiteral("abc")},
                 {"UxHakB", QStringLiteral("6")},
                 {"UxBack", QStringLiteral("/mnt/usb/")}});
    TFrmMain w;
    EXPECT_TRUE(msg.shown().isEmpty());
    EXPECT_EQ(Registry::readString(kKey, QStringLiteral("UxAut")), QStringLiteral("abc")); // present: kept
    EXPECT_EQ(Registry::readString(kKey, QStringLiteral("UxAutS")), QStringLiteral("0"));  // missing: written
    EXPECT_EQ(Registry::readString(kKey, QStringLiteral("UxHakB")), QStringLiteral("6"));
    EXPECT_EQ(w.LoginSwitch(), 0);
    EXPECT_EQ(w.BackupFolder(), QStringLiteral("/mnt/usb/"));
    EXPECT_EQ(SNoLen, 6);
    EXPECT_EQ(DMLib->FSchCode, QStringLiteral("AB12"));
    EXPECT_TRUE(w.windowTitle().endsWith(QStringLiteral(" [업체코드 : AB12]")));
    EXPECT_EQ(column(QStringLiteral("select SchCode || '|' || SchNm || '|' || UxBack from SCHOOLINFO")),
              QStringList{QStringLiteral("AB12|한빛'초등학교|/mnt/usb/")});
}

// 학교등록 saved with a new company code: the caption names it at once, not
// after the next start; a refused save leaves it as it was.
TEST_F(MainWindow, CaptionFollowsTheSavedCompanyCode) {
    setSettings({{"SchCode", QStringLiteral("AB12")}, {"SelctSch", QStringLiteral("1")}});
    TFrmMain w;
    const QString base = QStringLiteral("지큐스쿨(소마린 Ver3.1.8.9)-[TORVA]");
    EXPECT_EQ(w.windowTitle(), base + QStringLiteral(" [업체코드 : AB12]"));
    {
        TFrmF101B00 dlg(&w);
        dlg.edtSchCode->setText(QStringLiteral("CD34"));
        msg.expect(MsgResult::Ok);
        dlg.BitBtn1Click();
        EXPECT_EQ(msg.texts().last(), QStringLiteral("저장 되었습니다."));
        EXPECT_EQ(w.windowTitle(), base + QStringLiteral(" [업체코드 : CD34]"));
    }
    {
        TFrmF101B00 dlg(&w);
        dlg.edtSchCode->setText(QStringLiteral("가나다")); // six bytes: refused, the caption stays
        msg.expect(MsgResult::Ok);
        dlg.BitBtn1Click();
        EXPECT_NE(msg.texts().last(), QStringLiteral("저장 되었습니다."));
    }
    EXPECT_EQ(w.windowTitle(), base + QStringLiteral(" [업체코드 : CD34]"));
    EXPECT_EQ(Registry::readString(kKey, QStringLiteral("SchCode")), QStringLiteral("CD34"));
}

TEST_F(MainWindow, UnreadableSettingsStartWithTheGuessedModeAndWriteNothing) {
    Database::insertRow(QStringLiteral("M_CUST"), {{QStringLiteral("CustNo"), QStringLiteral("0123400001")},
                                                   {QStringLiteral("SNo"), QStringLiteral("301005")}});
    // A folder where the settings file should be: it can be neither read nor replaced.
    ASSERT_TRUE(QDir().mkpath(Registry::path()));
    SNoLen = 5;
    msg.expect(MsgResult::Ok); // no company code
    TFrmMain w;
    EXPECT_EQ(SNoLen, 6);
    EXPECT_EQ(w.LoginSwitch(), 0);
    EXPECT_TRUE(QFileInfo(Registry::path()).isDir());
    EXPECT_FALSE(w.Terminated());
    SNoLen = 5;
}

TEST_F(MainWindow, RefusedLogInEndsBeforeTheTableChecks) {
    setSettings({{"SchCode", QStringLiteral("AB12")}, {"UxAut", QStringLiteral("1")}});
    int asked = 0;
    mainHooks().loginAtStart = [&](QWidget*) {
        ++asked;
        return false;
    };
    bool closed = false;
    mainHooks().backupOnClose = [&](QWidget*, bool) { closed = true; };
    int notices = 0;
    mainHooks().showNotices = [&](QWidget*) { ++notices; };
    {
        TFrmMain w;
        EXPECT_EQ(asked, 1);
        EXPECT_TRUE(w.Terminated());
        EXPECT_FALSE(Database::tableExists(QStringLiteral("C_Bigo")));
        w.show();
        settle();
        EXPECT_TRUE(w.close());
    }
    EXPECT_EQ(notices, 0);
    EXPECT_FALSE(closed);
    EXPECT_TRUE(msg.shown().isEmpty());
}

TEST_F(MainWindow, NoticesUnlessDismissedToday) {
    const QString pop = path(QStringLiteral("pop.ini"));
    EXPECT_FALSE(TFrmMain::NoticeDismissedToday(pop));
    IniFile ini(pop);
    ini.setValue(QStringLiteral("PopUp"), QStringLiteral("notice"), QStringLiteral("20260315"));
    ASSERT_TRUE(ini.save());
    EXPECT_FALSE(TFrmMain::NoticeDismissedToday(pop));
    ini.setValue(QStringLiteral("PopUp"), QStringLiteral("notice"), QStringLiteral("20260316"));
    ASSERT_TRUE(ini.save());
    EXPECT_TRUE(TFrmMain::NoticeDismissedToday(pop));
}

TEST_F(MainWindow, MenuTableDispatchAndCloseQuestion) {
    setSettings({{"SchCode", QStringLiteral("AB12")}});
    fakeForm(QStringLiteral("M201B00"), FormEntry::Mode::WorkWindow);
    fakeForm(QStringLiteral("TfrmSumTax_mon"), FormEntry::Mode::WorkWindow); // by class name
    fakeForm(QStringLiteral("P102B00"), FormEntry::Mode::Dialog);
    fakeForm(QStringLiteral("F101B00"), FormEntry::Mode::Dialog);
    fakeForm(QStringLiteral("M401B00"), FormEntry::Mode::Dialog);
    QStringList modals;
    Modal::setRunner([&](QDialog* d) {
        modals << d->objectName();
        return int(QDialog::Accepted);
    });
    int backups = 0;
    mainHooks().menuActions.insert(QStringLiteral("MnuT102B00"), [&](QWidget*) { ++backups; });
    QList<bool> closeAnswers;
    mainHooks().backupOnClose = [&](QWidget*, bool backupFirst) { closeAnswers << backupFirst; };
    int notices = 0;
    mainHooks().showNotices = [&](QWidget*) { ++notices; };

    TFrmMain w;
    QString opened;
    w.openUrl = [&](const QString& url) { opened = url; };
    w.show();
    settle();
    EXPECT_EQ(notices, 1);

    // Every item in its menu, in order, with its Tag and its hint.
    QStringList menuOrder;
    for (QAction* a : w.menuBar()->actions())
        menuOrder << a->menu()->objectName();
    EXPECT_EQ(menuOrder, (QStringList{QStringLiteral("MnuF100B00"), QStringLiteral("MnuM100B00"),
                                      QStringLiteral("MnuC100R00"), QStringLiteral("MnuP100B00"),
                                      QStringLiteral("MnuT100B00"), QStringLiteral("MnuH100B00")}));
    int items = 0;
    QHash<QString, int> positions;
    for (const TMenuDef& d : TFrmMain::MenuTable()) {
        SCOPED_TRACE(d.name.toStdString());
        if (d.kind == TMenuDef::Kind::Menu) {
            ASSERT_NE(w.topMenu(d.name), nullptr);
            EXPECT_EQ(w.topMenu(d.name)->title(), d.caption);
            continue;
        }
        ++items;
        QAction* a = w.menuAction(d.name);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(), d.caption);
        EXPECT_EQ(a->data().toInt(), d.tag);
        const QList<QAction*> siblings = w.topMenu(d.parent)->actions();
        const int at = int(siblings.indexOf(a));
        EXPECT_GT(at, positions.value(d.parent, -1));
        positions[d.parent] = at;
    }
    EXPECT_EQ(items, 53);

    const struct {
        const char* name;
        int tag;
        const char* hint;
        bool ownerDrawn;
    } rows[] = {
        {"MnuF101B00", 111, "사용학교에 대한 세부 정보를 관리합니다.\r(학교명, 주소, 전화, 직인 등)", true},
        {"MnuF105B00", 115, "해당 도움말이 없습니다.", false},
        {"MnuF403B00", 143, "신학기에 이루어지는 배반 작업을 관리합니다.", true},
        {"MnuM102B00", 212, "환불이체관련 자료를 관리합니다.\r(우리은행거래 학교만 사용가능)", true},
        {"MnuP102B00", 414, "수납금에 대한 학부모 고지서를 출력합니다.", true},
        {"MnuT104B00", 514,
         "프로그램운영상의 문제 해결을 위하여 프로그램 운영자에게 \r프로그램자료를 송신하는 기능입니다.",
         true},
        {"MnuT203B00", 523, "학년단위로 학생기초자료를 프로그램에서 삭제 합니다. ", true},
        {"MnuT304B00", 332, "해당 도움말이 없습니다.", true},
        {"MnuC101R00", -1, "해당 도움말이 없습니다.", false},
        {"N14", 437, "해당 도움말이 없습니다.", true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        QAction* a = w.menuAction(QString::fromLatin1(r.name));
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->data().toInt(), r.tag);
        EXPECT_EQ(TFrmMain::GetMenuHint(r.tag), QString::fromUtf8(r.hint));
        bool drawn = false;
        for (const TMenuDef& d : TFrmMain::MenuTable())
            if (d.name == a->objectName()) drawn = d.ownerDrawn;
        EXPECT_EQ(drawn, r.ownerDrawn);
    }
    EXPECT_EQ(w.menuAction(QStringLiteral("MnuClose"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));

    // The hint window of an owner-drawn item, gone after 1.2 s.
    emit w.topMenu(QStringLiteral("MnuF100B00"))->hovered(w.menuAction(QStringLiteral("MnuF102B00")));
    ASSERT_NE(w.hintWindow(), nullptr);
    EXPECT_EQ(w.hintWindow()->text(), QStringLiteral("학년과 학년에 대한 별도명을 등록/관리합니다."));
    emit w.topMenu(QStringLiteral("MnuF100B00"))->hovered(w.menuAction(QStringLiteral("MnuF105B00")));
    EXPECT_EQ(w.hintWindow()->text(), QStringLiteral("학년과 학년에 대한 별도명을 등록/관리합니다."));
    {
        QEventLoop loop;
        QTimer::singleShot(1400, &loop, &QEventLoop::quit);
        loop.exec();
    }
    EXPECT_EQ(w.hintWindow(), nullptr);

    // Tool buttons share their menu items.
    const struct {
        const char* button;
        const char* item;
        const char* caption;
    } tools[] = {{"TBtnStud", "MnuF201B00", "학생명부"},
                 {"TBtnReg", "AcctRegMnu", "계좌등록자료작성"},
                 {"TBtnRecv", "MnuM101B00", "집금이체자료작성"},
                 {"TBtnDist", "MnuM102B00", "배분이체자료작성"},
                 {"TBtnConn", "MnuC101R00", "연결"},
                 {"TBtnSMS", "MnuSMShistory", "문자메세지 내역"},
                 {"TBtnClose", "MnuClose", "종료"}};
    for (const auto& t : tools) {
        SCOPED_TRACE(t.button);
        auto* b = w.toolBar()->findChild<QToolButton*>(QString::fromLatin1(t.button));
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->defaultAction(), w.menuAction(QString::fromLatin1(t.item)));
        EXPECT_EQ(b->text(), QString::fromUtf8(t.caption));
    }

    // Unregistered forms and unset routines stand disabled.
    w.RefreshMenuState();
    EXPECT_TRUE(w.menuAction(QStringLiteral("MnuM201B00"))->isEnabled());
    EXPECT_TRUE(w.menuAction(QStringLiteral("N14"))->isEnabled());
    EXPECT_TRUE(w.menuAction(QStringLiteral("MnuT102B00"))->isEnabled());
    EXPECT_FALSE(w.menuAction(QStringLiteral("MnuT104B00"))->isEnabled());
    EXPECT_TRUE(w.menuAction(QStringLiteral("MnuClose"))->isEnabled());
    EXPECT_TRUE(w.menuAction(QStringLiteral("MnuH101B00"))->isEnabled());
    for (const TMenuDef& d : TFrmMain::MenuTable()) {
        if (d.unit.isEmpty()) continue;
        const bool registered = FormRegistry::find(d.unit) ||
                                FormRegistry::find(QStringLiteral("TFrm") + d.unit) ||
                                FormRegistry::find(QStringLiteral("Tfrm") + d.unit);
        EXPECT_EQ(w.menuAction(d.name)->isEnabled(), registered) << d.name.toStdString();
    }

    // Work windows replace each other; a dialog leaves the work window open.
    w.menuAction(QStringLiteral("MnuM201B00"))->trigger();
    EXPECT_EQ(openWindows(w), QStringList{QStringLiteral("M201B00")});
    EXPECT_TRUE(w.mdiArea()->subWindowList().first()->isMaximized());
    w.menuAction(QStringLiteral("N14"))->trigger();
    settle();
    EXPECT_EQ(openWindows(w), QStringList{QStringLiteral("TfrmSumTax_mon")});
    w.menuAction(QStringLiteral("MnuP102B00"))->trigger();
    EXPECT_EQ(modals, QStringList{QStringLiteral("P102B00")});
    EXPECT_EQ(openWindows(w), QStringList{QStringLiteral("TfrmSumTax_mon")});

    // Work protection: No keeps everything, Yes closes the work windows first.
    msg.expect(MsgResult::No);
    w.menuAction(QStringLiteral("MnuF101B00"))->trigger();
    EXPECT_EQ(modals.size(), 1);
    msg.expect(MsgResult::Yes);
    w.menuAction(QStringLiteral("MnuF101B00"))->trigger();
    settle();
    EXPECT_EQ(modals.last(), QStringLiteral("F101B00"));
    EXPECT_TRUE(openWindows(w).isEmpty());
    ASSERT_EQ(msg.shown().size(), 2);
    EXPECT_EQ(msg.shown().at(0).caption, QStringLiteral("작업보호"));
    EXPECT_EQ(msg.shown().at(0).buttons, MsgButtons::YesNo);
    EXPECT_EQ(
        msg.shown().at(0).text,
        QStringLiteral("이 작업을 진행하려면 현재 열려있는 창을 모두 닫아야 합니다. \r\r파일 송수신중이거나 "
                       "다른작업을 진행중이라면 \"아니오\"를 클릭하세요."));
    msg.clear();

    // The meal-certification item needs its folder.
    Registry::writeString(kKey, QStringLiteral("UxHxls"), QStringLiteral("  "));
    msg.expect(MsgResult::Ok);
    w.menuAction(QStringLiteral("MnuM401B00"))->trigger();
    ASSERT_EQ(msg.shown().size(), 1);
    EXPECT_EQ(msg.shown().at(0).caption, QStringLiteral("급식인증 파일 저장경로 미등록"));
    EXPECT_EQ(msg.shown().at(0).icon, MsgIcon::Error);
    EXPECT_EQ(modals.size(), 2);
    Registry::writeString(kKey, QStringLiteral("UxHxls"), root() + QStringLiteral("/hxls/"));
    w.menuAction(QStringLiteral("MnuM401B00"))->trigger();
    EXPECT_EQ(modals.last(), QStringLiteral("M401B00"));
    msg.clear();

    w.menuAction(QStringLiteral("MnuT102B00"))->trigger();
    EXPECT_EQ(backups, 1);
    w.menuAction(QStringLiteral("MnuT302B00"))->trigger(); // does nothing
    w.menuAction(QStringLiteral("MnuH101B00"))->trigger();
    EXPECT_TRUE(
        opened.endsWith(QStringLiteral("/help/pds/manual_read.php?category=1&seqnum=20&listCnt=1&no=0&"
                                       "listType=1&mode=&returnURL=manual_list&sch_key=")));

    // Closing: Cancel keeps the window (the monthly backup still runs), No closes.
    w.menuAction(QStringLiteral("MnuM201B00"))->trigger();
    msg.expect(MsgResult::Cancel);
    w.menuAction(QStringLiteral("MnuClose"))->trigger();
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(msg.shown().size(), 1);
    EXPECT_EQ(msg.shown().at(0).caption, QStringLiteral("소마린 2002"));
    EXPECT_EQ(msg.shown().at(0).text, QStringLiteral("데이터를 백업한 후 소마린을 종료하시겠습니까?"));
    EXPECT_EQ(msg.shown().at(0).buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(msg.shown().at(0).icon, MsgIcon::Question);
    msg.expect(MsgResult::Yes);
    EXPECT_TRUE(w.close());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(closeAnswers, (QList<bool>{false, true}));
    EXPECT_EQ(notices, 1);
}

TEST_F(MainWindow, ClockAndProgressPanel) {
    setSettings({{"SchCode", QStringLiteral("AB12")}});
    TFrmMain w;
    EXPECT_EQ(w.timeLabel()->text(), QStringLiteral("10:20:30"));
    w.ShowProgress(QStringLiteral("관련DB의 재구성..."), 3);
    EXPECT_TRUE(w.progressPanel()->isVisibleTo(&w));
    w.StepProgress();
    EXPECT_EQ(w.progressBar()->value(), 1);
    w.HideProgress();
    EXPECT_FALSE(w.progressPanel()->isVisibleTo(&w));
    EXPECT_EQ(w.progressBar()->value(), 3);
}

} // namespace

namespace {

TEST_F(MainWindow, ActivationRebuildsOldRoundTables) {
    setSettings({{"SchCode", QStringLiteral("AB12")}});
    for (const char* t : {"H_200_20240301", "H_200_20240401"}) {
        Query c(
            QStringLiteral("create table %1 (YearMon char(6), SeqNo char(2), SNo char(10), ItemCd char(2), "
                           "Amt integer)")
                .arg(QString::fromLatin1(t)));
        ASSERT_TRUE(c.exec());
    }
    Query i(QStringLiteral(
        "insert into H_200_20240401 (YearMon, SeqNo, SNo, ItemCd, Amt) values (?, ?, ?, ?, ?)"));
    i.add(QStringLiteral("202404"))
        .add(QStringLiteral("01"))
        .add(QStringLiteral("10101"))
        .add(QStringLiteral("01"))
        .add(7);
    ASSERT_TRUE(i.exec());
    ASSERT_TRUE(DMData->CreateH200(QStringLiteral("20240501")));
    TFrmMain w;
    EXPECT_EQ(w.CheckRoundTables(), 2);
    EXPECT_FALSE(w.progressPanel()->isVisibleTo(&w));
    EXPECT_EQ(w.progressBar()->maximum(), 3);
    EXPECT_EQ(w.progressLabel()->text(), QStringLiteral("관련DB의 재구성..."));
    EXPECT_EQ(column(QStringLiteral("select Amt || Gcode from H_200_20240401")),
              QStringList{QStringLiteral("701")});
    EXPECT_EQ(column(QStringLiteral("select JobLog from L_Log_202603 where MenuName = '회차DB 재구성'")),
              QStringList{QStringLiteral("[회차DB 재구성]:H_200_20240401")});
    EXPECT_EQ(w.CheckRoundTables(), 0);
}

} // namespace
