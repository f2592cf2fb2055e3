#include "frame/Main.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/settings/IniFile.h"
#include "platform/settings/Registry.h"
#include "platform/sys/Clock.h"
#include "platform/sys/System.h"
#include "platform/ui/Browser.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Korean.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"
#include "shared/MainHooks.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

TFrmMain* FrmMain = nullptr;
QString StartDir;

namespace {

const QString kKey = QStringLiteral("SchoolInfo");
const QString kBaseCaption = QStringLiteral("지큐스쿨(소마린 Ver3.1.8.9)-[TORVA]");
const QString kSupportNotice =
    QStringLiteral("프로그램 사용 중 문의사항은 (주)TORVA 고객지원센터로 연락하십시오.");
// The maker's web server; ZQ_WEB_URL points it elsewhere.
const char* const kWebHost = "http://www.torva.co.kr";

const bool g_tablesHooked = [] {
    mainHooks().checkTables = [] { TFrmMain::CheckTables(FrmMain ? FrmMain->windowTitle() : QString()); };
    return true;
}();

// The MDI client with the background picture stretched over the main
// window's client area less the 40 pixels of the status bar.
class TBaseArea : public QMdiArea {
public:
    using QMdiArea::QMdiArea;
    QPixmap imgBase;

protected:
    void paintEvent(QPaintEvent* e) override {
        QMdiArea::paintEvent(e);
        if (imgBase.isNull()) return;
        QPainter p(viewport());
        const QWidget* top = window();
        p.drawPixmap(QRect(0, 0, top->width(), top->height() - 40), imgBase);
    }
};

using K = TMenuDef::Kind;

TMenuDef top(const char* name, const char16_t* caption, int tag) {
    return {QString::fromLatin1(name),
            QString::fromUtf16(caption),
            tag,
            QString(),
            K::Menu,
            QString(),
            false,
            {},
            false};
}

TMenuDef item(const char* parent, const char* name, const char16_t* caption, int tag, K kind,
              const char* unit = "", bool ownerDrawn = true) {
    return {QString::fromLatin1(name),
            QString::fromUtf16(caption),
            tag,
            QString::fromLatin1(parent),
            kind,
            QString::fromLatin1(unit),
            ownerDrawn,
            {},
            false};
}

TMenuDef protect(const char* parent, const char* name, const char16_t* caption, int tag, const char* unit,
                 const char16_t* question, bool mo) {
    TMenuDef d = item(parent, name, caption, tag, K::ProtectModal, unit);
    d.protectCaption = QString::fromUtf16(question);
    d.protectMo = mo;
    return d;
}

// A unit registers by unit name; the class name is accepted too.
const FormEntry* findForm(const QString& unit) {
    if (unit.isEmpty()) return nullptr;
    for (const QString& n : {unit, QStringLiteral("TFrm") + unit, QStringLiteral("Tfrm") + unit})
        if (const FormEntry* e = FormRegistry::find(n)) return e;
    return nullptr;
}

} // namespace

const QList<TMenuDef>& TFrmMain::MenuTable() {
    static const QList<TMenuDef> t = [] {
        const char* F = "MnuF100B00";
        const char* M = "MnuM100B00";
        const char* C = "MnuC100R00";
        const char* P = "MnuP100B00";
        const char* T = "MnuT100B00";
        const char* H = "MnuH100B00";
        TMenuDef newTerm = item(F, "MnuF403B00", u"신학기반편성", 143, K::NewTerm, "F401Baa");
        newTerm.protectCaption = QStringLiteral("작업보호");
        return QList<TMenuDef>{
            top(F, u"기본등록[&F]", 100),
            protect(F, "MnuF101B00", u"학교등록", 111, "F101B00", u"작업보호", false),
            item(F, "MnuF102B00", u"학년등록", 112, K::Modal, "F102B00"),
            item(F, "MnuF103B00", u"은행등록", 113, K::Modal, "F103B00"),
            item(F, "MnuF104B00", u"항목등록", 114, K::Modal, "F104B00"),
            item(F, "MnuF105B00", u"항목그룹등록", 115, K::Modal, "F105B00", false),
            item(F, "MnuF201B00", u"학생명부", 121, K::Work, "F201B00"),
            item(F, "MnuF301B00", u"면제학생항목등록", 131, K::Work, "F301B00"),
            item(F, "MnuF302B00", u"학생그룹등록", 132, K::Work, "F302B00"),
            item(F, "MnuF401B00", u"개별학년변경", 141, K::Modal, "F401B00"),
            item(F, "MnuF402B00", u"학년,학번 자동변경", 142, K::Work, "F402B00"),
            newTerm,
            item(F, "MnuT401B00", u"로그인 환경설정", -1, K::Modal, "T401B00", false),
            item(F, "MnuF501B00", u"급식인증 환경설정", -1, K::Modal, "T501B00", false),
            item(F, "MnuClose", u"종료", 151, K::Close),
            top(M, u"이체관리[&M]", 200),
            item(M, "AcctRegMnu", u"계좌등록자료작성", -1, K::Work, "CreateRegData", false),
            item(M, "MnuM101B00", u"집금이체자료작성", 211, K::Work, "M101B00"),
            item(M, "MnuM102B00", u"배분이체자료작성", 212, K::Work, "M102B00"),
            item(M, "MnuM201B00", u"송신자료조회", 221, K::Work, "M201B00"),
            item(M, "MnuM202B00", u"수신자료조회", 222, K::Work, "M202B00"),
            item(M, "MnuM301B00", u"학생별이체자료조회", 231, K::Work, "M301B00"),
            item(M, "MnuM302B00", u"학생자료집계", 232, K::Work, "M302B00"),
            item(M, "MnuM401B00", u"급식인증자료 수동전송", -1, K::MealModal, "M401B00", false),
            top(C, u"통신[&C]", 300),
            item(C, "MnuC101R00", u"연결", -1, K::Work, "C101B00", false),
            item(C, "MnuC201R00", u"통신환경설정", 331, K::Modal, "O102B00"),
            top(P, u"출력[&P]", 400),
            item(P, "MnuP101B00", u"수입명세서", 411, K::Work, "P101B00"),
            item(P, "MnuP112B00", u"수입일계표", 412, K::Work, "P112B00"),
            item(P, "MnuP109B00", u"미납명세서", 413, K::Work, "P109B00"),
            item(P, "MnuP102B00", u"수납부", 414, K::Modal, "P102B00"),
            item(P, "MnuP401B00", u"환불내역", 415, K::Work, "P401B00"),
            item(P, "MnuP104B00", u"수입결의서", 421, K::Modal, "P104B00"),
            item(P, "MnuP105B00", u"지급결의서", 422, K::Modal, "P105B00"),
            item(P, "MnuP106B00", u"과오납금반환결의서", 423, K::Modal, "P106B00"),
            item(P, "MnuP107B00", u"징수결의서", 424, K::Modal, "P107B00"),
            item(P, "MnuP103B00", u"영수증", 431, K::Work, "P103B00"),
            item(P, "MnuReceiptSum", u"영수증(Sum)", 436, K::Work, "ReceiptSum"),
            item(P, "MnuP108B00", u"가정통신문", 432, K::Work, "P108B00"),
            item(P, "MnuP110B00", u"납부고지서", 433, K::Work, "P110B00"),
            item(P, "MnuP111B00", u"교육비납입증명서", 434, K::Work, "P111B00"),
            item(P, "MnuSumTax", u"연말정산자료생성(분기별)", 435, K::Work, "SumTax"),
            item(P, "N14", u"연말정산자료생성(월별)", 437, K::Work, "SumTax_mon"),
            top(T, u"도구[&T]", 500),
            item(T, "MnuT101B00", u"인덱스복구", 511, K::Work, "T101B00"),
            item(T, "MnuT102B00", u"자료백업", 512, K::Action),
            protect(T, "MnuT103B00", u"자료복구", 513, "T103B00", u"데이터복구", true),
            item(T, "MnuT104B00", u"자료전송", 514, K::Action),
            item(T, "MnuT201B00", u"학생->텍스트파일", 521, K::Action),
            item(T, "MnuT202B00", u"학생->엑셀파일", 522, K::Action),
            item(T, "MnuT203B00", u"학생일괄삭제", 523, K::Modal, "T203B00"),
            item(T, "MnuT204B00", u"이체자료삭제", 524, K::Work, "T204B00"),
            item(T, "MnuT301B00", u"2005년이전 로그조회", 531, K::Work, "T301B00"),
            item(T, "MnuT304B00", u"월별로그조회", 332, K::Work, "T304B00"),
            item(T, "MnuT302B00", u"테이블변경", 533, K::Nothing),
            item(T, "MnuSMShistory", u"문자메세지 내역", -1, K::Work, "SMSHistory", false),
            top(H, u"도움말[&H]", 900),
            item(H, "MnuH101B00", u"메뉴얼바로가기", 911, K::Manual),
        };
    }();
    return t;
}

QString TFrmMain::GetMenuHint(int tag) {
    const QChar cr(13);
    switch (tag) {
    case 111:
        return QStringLiteral("사용학교에 대한 세부 정보를 관리합니다.") + cr +
               QStringLiteral("(학교명, 주소, 전화, 직인 등)");
    case 112:
        return QStringLiteral("학년과 학년에 대한 별도명을 등록/관리합니다.");
    case 113:
        return QStringLiteral("학교 주거래 은행에 대한 계좌정보를 관리합니다.") + cr +
               QStringLiteral("(계좌번호, 기관코드 등)");
    case 114:
        return QStringLiteral("이체대상 항목(계정과목)을 등록 및 관리합니다.") + cr +
               QStringLiteral("(항목별 이체금액 설정 등)");
    case 121:
        return QStringLiteral("학생들에 대한 기초정보를 관리합니다.") + cr +
               QStringLiteral("(학번, 계좌, 전입/전출, 면제여부 등)");
    case 131:
        return QStringLiteral("학생들에 대한 수납금액 면제에 대한 세부 정보를 관리합니다.") + cr +
               QStringLiteral("(면제항목, 면제금액 등)");
    case 143:
        return QStringLiteral("신학기에 이루어지는 배반 작업을 관리합니다.");
    case 211:
        return QStringLiteral("수납이체관련 자료를 관리합니다.") + cr +
               QStringLiteral("(신규이체자료 생성, 수정 등)");
    case 212:
        return QStringLiteral("환불이체관련 자료를 관리합니다.") + cr +
               QStringLiteral("(우리은행거래 학교만 사용가능)");
    case 221:
        return QStringLiteral("이체의뢰자료 송신에 대한 세부 내역을 확인합니다.");
    case 222:
        return QStringLiteral("이체결과파일 수신에 대한 세부 내역을 확인합니다.");
    case 231:
        return QStringLiteral("학생별 이체결과를 확인합니다.") + cr +
               QStringLiteral("(작성년월별, 처리상태별)");
    case 232:
        return QStringLiteral("특정 이체자료(회차)에 대한 결과를 집계합니다.");
    case 414:
        return QStringLiteral("수납금에 대한 학부모 고지서를 출력합니다.");
    case 415:
        return QStringLiteral("환불에 대한 내역을 조회 및 출력 할 수 있습니다.");
    case 511:
        return QStringLiteral("프로그램 자료를 재 정렬 합니다.");
    case 512:
        return QStringLiteral("유사시를 대비하여 프로그램 자료를 별도 저장 장치에 보관합니다.");
    case 513:
        return QStringLiteral("별도 보관된 백업 파일을 프로그램에 재 설치 합니다.");
    case 514:
        return QStringLiteral("프로그램운영상의 문제 해결을 위하여 프로그램 운영자에게 ") + cr +
               QStringLiteral("프로그램자료를 송신하는 기능입니다.");
    case 521:
        return QStringLiteral("학생명단을 텍스트 파일로 별도 생성 하는 기능입니다.");
    case 522:
        return QStringLiteral("학생명단을 엑셀 파일로 별도 생성 하는 기능입니다.");
    case 523:
        return QStringLiteral("학년단위로 학생기초자료를 프로그램에서 삭제 합니다. ");
    case 524:
        return QStringLiteral("신청년월, 회차별로 이체자료를 프로그램에서 삭제 합니다.");
    default:
        return QStringLiteral("해당 도움말이 없습니다.");
    }
}

QString TFrmMain::ProtectText(bool moVariant) {
    return (moVariant ? QStringLiteral("이 작업을 진행하려면 현재 열려있는 창을 모드 닫아야 합니다. ")
                      : QStringLiteral("이 작업을 진행하려면 현재 열려있는 창을 모두 닫아야 합니다. ")) +
           QStringLiteral("\r\r파일 송수신중이거나 다른작업을 진행중이라면 \"아니오\"를 클릭하세요.");
}

QString TFrmMain::ManualUrl() {
    QString host = qEnvironmentVariable("ZQ_WEB_URL");
    if (host.isEmpty()) host = QString::fromLatin1(kWebHost);
    while (host.endsWith(QLatin1Char('/')))
        host.chop(1);
    return host +
           QStringLiteral("/help/pds/manual_read.php?category=1&seqnum=20&listCnt=1&no=0&listType=1&mode=&"
                          "returnURL=manual_list&sch_key=");
}

// ---- creation

TFrmMain::TFrmMain(QWidget* parent) : QMainWindow(parent) {
    FrmMain = this;
    openUrl = [this](const QString& url) { Browser::open(url, this); };
    auto* area = new TBaseArea(this);
    mdi_ = area;
    mdi_->setObjectName(QStringLiteral("MdiClient"));
    setCentralWidget(mdi_);
    setFont(QFont(QStringLiteral("NanumGothicCoding"), 9));
    setMinimumSize(kMinWidth, kMinHeight);
    resize(1026, 831);
    setWindowTitle(kBaseCaption);
    // The work windows inherit it; without one a maximized child shows the
    // toolkit's logo in the menu bar.
    setWindowIcon(Korean::programIcon());
    BuildMenus();
    BuildToolBar();
    BuildStatusBar();
    BuildProgressPanel();
    mainHooks().schoolSaved = [this] { ShowCompanyCode(); };
    FormCreate();
}

TFrmMain::~TFrmMain() {
    delete hint_;
    if (FrmMain == this) {
        FrmMain = nullptr;
        mainHooks().schoolSaved = nullptr;
    }
}

void TFrmMain::ShowCompanyCode() {
    setWindowTitle(kBaseCaption + QStringLiteral(" [업체코드 : ") + DMLib->FSchCode + QStringLiteral("]"));
}

void TFrmMain::FormCreate() {
    uxAut_ = 0;
    SNoLen = 5;
    startDir_ = QDir::currentPath();
    StartDir = startDir_;
    uxBack_ = QDir::homePath() + QStringLiteral("/zq-data-backup/");

    if (!ReadSettings()) {
        WriteDefaultSettings();
        ReadSettings();
    }

    if (uxAut_ == 1 && mainHooks().loginAtStart && !mainHooks().loginAtStart(this)) {
        terminated_ = true;
        // The program ends as soon as the event loop starts.
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        return;
    }

    const QString picture = DMLib->FDataDir + QStringLiteral("/img_main.bmp");
    if (QFileInfo::exists(picture)) static_cast<TBaseArea*>(mdi_)->imgBase.load(picture);

    if (Registry::keyExists(kKey)) DMLib->FSchCode = Registry::readString(kKey, QStringLiteral("SchCode"));
    if (DMLib->FSchCode.isEmpty())
        Msg::show(QStringLiteral("입력요망"), QStringLiteral("기본등록/학교등록에 업체코드를 입력하십시요!!"),
                  MsgIcon::Information, MsgButtons::Ok, this);
    ShowCompanyCode();

    CheckTables(windowTitle());
    RefreshMenuState();
}

bool TFrmMain::ReadSettings() {
    if (!Registry::keyExists(kKey)) return false;
    // Every value is read: one missing or odd value does not keep the others
    // from taking effect.
    bool ok = true;
    DMLib->FSchCode = Registry::readString(kKey, QStringLiteral("SchCode"));
    DMLib->FPassword = Registry::readString(kKey, QStringLiteral("UxPwd"));
    const auto aut = Registry::readInteger(kKey, QStringLiteral("UxAut"));
    uxAut_ = aut.value_or(0);
    ok = ok && aut.has_value();
    const auto autS = Registry::readInteger(kKey, QStringLiteral("UxAutS"));
    uxAutS_ = autS.value_or(0);
    ok = ok && autS.has_value();
    uxHxls_ = Registry::readString(kKey, QStringLiteral("UxHxls"));
    const QString back = Registry::readString(kKey, QStringLiteral("UxBack"));
    if (!back.trimmed().isEmpty()) uxBack_ = back;
    const auto hakB = Registry::readInteger(kKey, QStringLiteral("UxHakB"));
    // Only 5 and 6 are student-number lengths; anything else is guessed.
    if (hakB && (*hakB == 5 || *hakB == 6)) {
        SNoLen = *hakB;
    } else {
        SNoLen = GuessSNoLen();
        ok = false;
    }
    return ok;
}

void TFrmMain::WriteDefaultSettings() {
    const int guess = GuessSNoLen();
    // In force even when the settings cannot be written; a stored mode read
    // afterwards takes precedence.
    SNoLen = guess;
    Registry::writeDefault(kKey, QStringLiteral("UxPwd"), QString());
    Registry::writeDefault(kKey, QStringLiteral("UxAut"), QStringLiteral("0"));
    Registry::writeDefault(kKey, QStringLiteral("UxAutS"), QStringLiteral("0"));
    Registry::writeDefault(kKey, QStringLiteral("UxHxls"), DMLib->FDataDir + QStringLiteral("/hxls/"));
    Registry::writeDefault(kKey, QStringLiteral("UxBack"),
                           QDir::homePath() + QStringLiteral("/zq-data-backup/"));
    Registry::writeDefault(kKey, QStringLiteral("UxHakB"), QString::number(guess));
}

int TFrmMain::GuessSNoLen() {
    Query q(QStringLiteral("select SNo from M_Cust where SNo IS NOT NULL"));
    if (!q.exec() || !q.next()) return 6;
    return q.str(0).trimmed().size() == 5 ? 5 : 6;
}

// ---- table checks

bool TFrmMain::GroupTableExists() {
    return DMData->GGroupExists();
}
bool TFrmMain::CreateGroupTable() {
    return DMData->CreateGGroup();
}

bool TFrmMain::SchoolInfoExists() {
    Query q(QStringLiteral("select count(*)  from SchoolInfo "));
    return q.exec();
}

bool TFrmMain::CreateSchoolInfo() {
    static const char* texts[] = {"KidAddr", "KidFax", "KidNm", "KidPost", "KidPrsdNm", "KidTel", "SchAddr",
                                  "SchCode", "SchFax", "SchNm", "SchPost", "SchPrsdNm", "SchTel", "SelctSch"};
    const bool ok =
        Database::exec(QStringLiteral("create table SCHOOLINFO( v_a00c char(5), KidAddr char(50), KidFax "
                                      "char(20), KidNm char(30), KidPost char(10), "
                                      "KidPrsdNm char(10), KidTel char(20), SchAddr char(50), SchCode "
                                      "char(10), SchFax char(20), SchNm char(30), "
                                      "SchPost char(10), SchPrsdNm char(10), SchTel char(20), SelctSch "
                                      "char(5), UxAut integer, UxAutS integer, "
                                      "UxBack char(255), UxHxls char(255), UxPwd char(10) ) "));
    QCoreApplication::processEvents();
    if (!ok) {
        DMLib->WriteJobLog(QStringLiteral("로그인(기본정보)"), QStringLiteral("기본정보테이블생성 실패"));
        return false;
    }
    DMLib->WriteJobLog(QStringLiteral("로그인(기본정보)"), QStringLiteral("기본정보테이블생성 성공"));
    const bool key = Registry::keyExists(kKey);
    auto text = [&](const char* name) {
        return key ? Registry::readString(kKey, QString::fromLatin1(name)).trimmed() : QString();
    };
    auto number = [&](const char* name) {
        return key ? Registry::readInteger(kKey, QString::fromLatin1(name)).value_or(0) : 0;
    };
    ColumnValues row{{QStringLiteral("v_a00c"), QStringLiteral("UCRUX")}};
    for (const char* t : texts)
        row.append({QString::fromLatin1(t), text(t)});
    row.append({QStringLiteral("UxAut"), number("UxAut")});
    row.append({QStringLiteral("UxAutS"), number("UxAutS")});
    row.append({QStringLiteral("UxBack"), text("UxBack")});
    row.append({QStringLiteral("UxHxls"), text("UxHxls")});
    row.append({QStringLiteral("UxPwd"), text("UxPwd")});
    Database::insertRow(QStringLiteral("SCHOOLINFO"), row); // a failed insert is ignored
    return true;
}

bool TFrmMain::TitleTableExists() {
    Query q(QStringLiteral("select count(*)   from m_title  "));
    return q.exec();
}

bool TFrmMain::CreateTitleTable(const QString& logMenu) {
    const bool ok = Database::exec(
        QStringLiteral("create table M_TITLE( yearmon char(10), seqno char(2), title char(30))"));
    if (!ok) DMLib->WriteJobLog(logMenu, QStringLiteral("회차설명테이블 생성실패"));
    return ok;
}

void TFrmMain::CheckTables(const QString& logMenu) {
    if (!GroupTableExists()) CreateGroupTable();
    if (!DMData->CBigoExists()) DMData->CreateCBigo();
    if (!SchoolInfoExists()) CreateSchoolInfo();
    if (!TitleTableExists()) CreateTitleTable(logMenu);
}

bool TFrmMain::NoticeDismissedToday(const QString& popIniPath) {
    IniFile ini(popIniPath);
    ini.load();
    const QString v = ini.value(QStringLiteral("PopUp"), QStringLiteral("notice"));
    return !v.trimmed().isEmpty() && v == Clock::todayText();
}

// ---- menus, tool bar, status bar, progress panel

void TFrmMain::BuildMenus() {
    for (const TMenuDef& d : MenuTable()) {
        if (d.kind == K::Menu) {
            QMenu* m = menuBar()->addMenu(d.caption);
            m->setObjectName(d.name);
            menus_.insert(d.name, m);
            connect(m, &QMenu::hovered, this, &TFrmMain::ShowHint);
            connect(m, &QMenu::aboutToShow, this, &TFrmMain::RefreshMenuState);
            continue;
        }
        QMenu* m = menus_.value(d.parent);
        QAction* a = m->addAction(d.caption);
        a->setObjectName(d.name);
        a->setData(d.tag);
        if (d.kind == K::Close) a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
        const QString name = d.name;
        connect(a, &QAction::triggered, this, [this, name] { Dispatch(name); });
        actions_.insert(d.name, a);
    }
}

void TFrmMain::BuildToolBar() {
    toolBar_ = addToolBar(QStringLiteral("ToolBar1"));
    toolBar_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar_->setMovable(false);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const struct {
        const char* button;
        const char* item;
    } buttons[] = {
        {"TBtnStud", "MnuF201B00"}, {"TBtnReg", "AcctRegMnu"},  {"TBtnRecv", "MnuM101B00"},
        {"TBtnDist", "MnuM102B00"}, {"TBtnConn", "MnuC101R00"}, {"TBtnSMS", "MnuSMShistory"},
        {"TBtnClose", "MnuClose"},
    };
    bool first = true;
    for (const auto& b : buttons) {
        if (!first) {
            auto* gap = new QWidget(toolBar_);
            gap->setFixedWidth(8);
            toolBar_->addWidget(gap);
        }
        first = false;
        QAction* a = actions_.value(QString::fromLatin1(b.item));
        toolBar_->addAction(a);
        if (auto* w = qobject_cast<QToolButton*>(toolBar_->widgetForAction(a))) {
            w->setObjectName(QString::fromLatin1(b.button));
            w->setAutoRaise(true);
            w->setFixedSize(111, 20);
        }
    }
}

void TFrmMain::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("PnlStatusBar"));
    bar->setFixedHeight(22);
    bar->setSizeGripEnabled(false);
    PnlStatus_ = new QLabel(kSupportNotice, bar);
    PnlStatus_->setObjectName(QStringLiteral("PnlStatus"));
    Panel3_ = new QLabel(bar);
    Panel3_->setObjectName(QStringLiteral("Panel3"));
    Panel3_->setFixedWidth(77);
    PnlTime_ = new QLabel(bar);
    PnlTime_->setObjectName(QStringLiteral("PnlTime"));
    PnlTime_->setFixedWidth(113);
    PnlTime_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bar->addWidget(PnlStatus_, 1);
    bar->addPermanentWidget(Panel3_);
    bar->addPermanentWidget(PnlTime_);
    TmrTime_ = new QTimer(this);
    TmrTime_->setInterval(1000);
    connect(TmrTime_, &QTimer::timeout, this, &TFrmMain::TmrTimeTimer);
    TmrTime_->start();
    TmrTimeTimer();

    Timer_Hint_ = new QTimer(this);
    Timer_Hint_->setInterval(1200);
    Timer_Hint_->setSingleShot(true);
    connect(Timer_Hint_, &QTimer::timeout, this, &TFrmMain::Timer_HintTimer);
}

void TFrmMain::BuildProgressPanel() {
    pnProgress_ = new QFrame(this);
    pnProgress_->setObjectName(QStringLiteral("pnProgress"));
    pnProgress_->setFrameShape(QFrame::Panel);
    pnProgress_->setFrameShadow(QFrame::Raised);
    pnProgress_->setAutoFillBackground(true);
    auto* v = new QVBoxLayout(pnProgress_);
    txtProgress_ = new QLabel(QStringLiteral("초기화중입니다.."), pnProgress_);
    txtProgress_->setObjectName(QStringLiteral("txtProgress"));
    txtProgress_->setAlignment(Qt::AlignCenter);
    v->addWidget(txtProgress_);
    auto* h = new QHBoxLayout;
    auto* p1 = new QLabel(QStringLiteral("0"), pnProgress_);
    p1->setObjectName(QStringLiteral("txtP1"));
    pbInit_ = new QProgressBar(pnProgress_);
    pbInit_->setObjectName(QStringLiteral("pbInit"));
    pbInit_->setTextVisible(false);
    auto* p2 = new QLabel(QStringLiteral("100"), pnProgress_);
    p2->setObjectName(QStringLiteral("txtP2"));
    h->addWidget(p1);
    h->addWidget(pbInit_, 1);
    h->addWidget(p2);
    v->addLayout(h);
    pnProgress_->resize(420, 80);
    pnProgress_->hide();
}

void TFrmMain::ShowProgress(const QString& text, int maximum) {
    txtProgress_->setText(text);
    pbInit_->setRange(0, qMax(0, maximum));
    pbInit_->setValue(pbInit_->minimum());
    pnProgress_->move((width() - pnProgress_->width()) / 2, (height() - pnProgress_->height()) / 2);
    pnProgress_->show();
    pnProgress_->raise();
    pnProgress_->repaint();
}

void TFrmMain::StepProgress() {
    pbInit_->setValue(qMin(pbInit_->maximum(), pbInit_->value() + 1));
    pnProgress_->repaint();
}

void TFrmMain::HideProgress() {
    pbInit_->setValue(pbInit_->maximum());
    pnProgress_->hide();
}

void TFrmMain::TmrTimeTimer() {
    PnlTime_->setText(Clock::now().time().toString(QStringLiteral("HH:mm:ss")));
}

void TFrmMain::ShowHint(QAction* a) {
    const TMenuDef* def = nullptr;
    for (const TMenuDef& d : MenuTable())
        if (d.name == a->objectName()) def = &d;
    if (!def || !def->ownerDrawn) return;
    // One hint window at a time: a new highlight replaces the old one.
    Timer_Hint_->stop();
    delete hint_;
    QString text = GetMenuHint(def->tag);
    text.replace(QChar(13), QLatin1Char('\n'));
    hint_ = new QLabel(text, nullptr, Qt::ToolTip | Qt::FramelessWindowHint);
    hint_->setObjectName(QStringLiteral("MenuHint"));
    hint_->setStyleSheet(QStringLiteral("QLabel { background: rgb(0,255,255); color: rgb(0,0,128); "
                                        "border: 1px solid palette(window-text); }"));
    const QPoint pos = QCursor::pos();
    int w = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        w = qMax(w, hint_->fontMetrics().horizontalAdvance(line));
    hint_->setGeometry(pos.x() + 36, pos.y(), w + 19, qMax(28, hint_->sizeHint().height()));
    hint_->show();
    Timer_Hint_->start();
}

void TFrmMain::Timer_HintTimer() {
    if (hint_) {
        hint_->deleteLater();
        hint_ = nullptr;
    }
    Timer_Hint_->stop();
}

void TFrmMain::RefreshMenuState() {
    for (const TMenuDef& d : MenuTable()) {
        QAction* a = actions_.value(d.name);
        if (!a) continue;
        bool on = true;
        switch (d.kind) {
        case K::Work:
        case K::Modal:
        case K::ProtectModal:
        case K::MealModal:
            on = findForm(d.unit) != nullptr;
            break;
        case K::Action:
            on = mainHooks().menuActions.contains(d.name);
            break;
        case K::NewTerm:
            on = mainHooks().menuActions.contains(d.name) || findForm(d.unit) != nullptr;
            break;
        default:
            break;
        }
        a->setEnabled(on);
    }
}

// ---- dispatch

void TFrmMain::Dispatch(const QString& name) {
    const TMenuDef* def = nullptr;
    for (const TMenuDef& d : MenuTable())
        if (d.name == name) def = &d;
    if (!def) return;
    const auto& actions = mainHooks().menuActions;
    if (actions.contains(name) && (def->kind == K::Action || def->kind == K::NewTerm)) {
        actions.value(name)(this);
        return;
    }
    switch (def->kind) {
    case K::Work:
        OpenUnit(*def, true);
        break;
    case K::Modal:
        OpenUnit(*def, false);
        break;
    case K::ProtectModal:
    case K::NewTerm:
        if (!findForm(def->unit)) return;
        if (!Msg::askYesNo(def->protectCaption, ProtectText(def->protectMo), this)) return;
        CloseAllChildren();
        OpenUnit(*def, false);
        break;
    case K::MealModal:
        MnuM401B00Click();
        break;
    case K::Manual:
        openUrl(ManualUrl());
        break;
    case K::Close:
        close();
        break;
    case K::Action:
    case K::Nothing:
    case K::Menu:
        break;
    }
}

void TFrmMain::OpenUnit(const TMenuDef& d, bool asWork) {
    const FormEntry* e = findForm(d.unit);
    if (!e || !e->create) return;
    if (asWork) {
        CloseAllChildren();
        QWidget* w = e->create(mdi_);
        if (!w) return;
        w->setAttribute(Qt::WA_DeleteOnClose);
        QMdiSubWindow* sub = qobject_cast<QMdiSubWindow*>(w);
        if (!sub)
            sub = mdi_->addSubWindow(w);
        else
            mdi_->addSubWindow(sub);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->showMaximized();
        return;
    }
    QWidget* w = e->create(this);
    if (!w) return;
    if (auto* dlg = qobject_cast<QDialog*>(w)) {
        Modal::exec(dlg);
        delete dlg;
        return;
    }
    // A form registered as a window although the menu shows it as a dialog.
    w->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* sub = mdi_->addSubWindow(w);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->showMaximized();
}

void TFrmMain::MnuM401B00Click() {
    // A failed read leaves the old values.
    if (const auto s = Registry::readInteger(kKey, QStringLiteral("UxAutS"))) uxAutS_ = *s;
    if (Registry::valueExists(kKey, QStringLiteral("UxHxls")))
        uxHxls_ = Registry::readString(kKey, QStringLiteral("UxHxls"));
    if (uxHxls_.trimmed().isEmpty()) {
        Msg::show(QStringLiteral("급식인증 파일 저장경로 미등록"),
                  QStringLiteral("급식인증 전송파일 저장경로가 등록되어 있지 않습니다. \r확인하십시오."),
                  MsgIcon::Error, MsgButtons::Ok, this);
        return;
    }
    for (const TMenuDef& d : MenuTable())
        if (d.name == QLatin1String("MnuM401B00")) OpenUnit(d, false);
}

void TFrmMain::CloseAllChildren() {
    const QList<QMdiSubWindow*> list = mdi_->subWindowList();
    for (QMdiSubWindow* w : list)
        w->close();
}

// ---- events

void TFrmMain::ShowOnScreen() {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s) {
        show();
        return;
    }
    // The title bar is not known before the window is shown; leave room for it.
    const int kTitleRoom = 40;
    const QRect avail = s->availableGeometry();
    if (width() <= avail.width() && height() + kTitleRoom <= avail.height()) {
        move(avail.center() - rect().center() + QPoint(0, kTitleRoom / 2));
        show();
    } else {
        // Without a window manager maximizing does nothing: the window is put
        // on the available area first, so the status bar stays on the screen.
        setGeometry(avail);
        showMaximized();
    }
}

void TFrmMain::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (painted_ || terminated_) return;
    painted_ = true;
    // The notices come once the window has been drawn.
    QTimer::singleShot(0, this, &TFrmMain::FirstPaint);
}

void TFrmMain::FirstPaint() {
    if (terminated_) return;
    if (NoticeDismissedToday(System::exeFolder() + QStringLiteral("pop.ini"))) return;
    if (mainHooks().showNotices) mainHooks().showNotices(this);
}

void TFrmMain::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && !terminated_) CheckRoundTables();
}

int TFrmMain::CheckRoundTables() {
    // Rebuilding pumps events, which may activate the window again.
    if (checkingRounds_ || !DMData) return 0;
    checkingRounds_ = true;
    const QStringList all = DMData->RoundTablesToCheck();
    int rebuilt = 0;
    if (!all.isEmpty()) {
        ShowProgress(QStringLiteral("관련DB의 재구성..."), int(all.size()));
        for (auto it = all.crbegin(); it != all.crend(); ++it) {
            if (!DMData->RoundTableIsOld(*it)) continue;
            RebuildRoundTable(*it);
            ++rebuilt;
            StepProgress();
        }
        HideProgress();
    }
    checkingRounds_ = false;
    return rebuilt;
}

bool TFrmMain::RebuildRoundTable(const QString& tableName) {
    // Keep the window painted without paying an event round per row.
    int n = 0;
    const RebuildResult r = DMData->RebuildRoundTable(tableName, [&n] {
        if (++n % 256 == 0) QCoreApplication::processEvents();
    });
    return r.ok;
}

void TFrmMain::closeEvent(QCloseEvent* e) {
    if (terminated_) {
        e->accept();
        return;
    }
    const MsgResult r = Msg::show(QStringLiteral("소마린 2002"),
                                  QStringLiteral("데이터를 백업한 후 소마린을 종료하시겠습니까?"),
                                  MsgIcon::Question, MsgButtons::YesNoCancel, this);
    // The monthly backup follows whatever the answer.
    if (mainHooks().backupOnClose) mainHooks().backupOnClose(this, r == MsgResult::Yes);
    if (r == MsgResult::Cancel) {
        e->ignore();
        return;
    }
    e->accept();
}

void TFrmMain::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    if (pnProgress_ && pnProgress_->isVisible())
        pnProgress_->move((width() - pnProgress_->width()) / 2, (height() - pnProgress_->height()) / 2);
}
