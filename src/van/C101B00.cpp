#include "van/C101B00.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Browser.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"
#include "van/C101B01.h"
#include "van/C101B02.h"
#include "van/C101B03.h"
#include "van/C101B04.h"
#include "van/SendList.h"
#include "van/VanSettings.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace C101Grid {

const QString& Mark() {
    static const QString m = QStringLiteral(u"◎");
    return m;
}

int markColumn(int layout) {
    switch (layout) {
    case FileList:
        return 9;
    case SendList:
        return 8;
    case NoticeList:
        return 4;
    }
    return -1;
}

QString typeName(const QString& type) {
    static const QHash<QString, QString> names = {
        {QStringLiteral("100"), QStringLiteral(u"거래내역")},
        {QStringLiteral("200"), QStringLiteral(u"집금이체")},
        {QStringLiteral("300"), QStringLiteral(u"배분이체")},
        {QStringLiteral("400"), QStringLiteral(u"계좌등록")},
        {QStringLiteral("500"), QStringLiteral(u"은행등록")},
        {QStringLiteral("700"), QStringLiteral(u"매매정보")},
        {QStringLiteral("800"), QStringLiteral(u"대출상황")},
        {QStringLiteral("801"), QStringLiteral(u"한도승인")},
        {QStringLiteral("802"), QStringLiteral(u"대출실행")},
        {QStringLiteral("R00"), QStringLiteral(u"계좌등록")},
    };
    return names.value(type, type);
}

QString bankName(const QStringList& lbBnk, const QString& code) {
    const QString c = code.left(4);
    if (c.size() == 4)
        for (const QString& e : lbBnk)
            if (e.startsWith(c)) return e.mid(5, 20).trimmed();
    return code;
}

namespace {
QString dashedDate(const QString& s) {
    return s.size() == 8 ? s.left(4) + QLatin1Char('-') + s.mid(4, 2) + QLatin1Char('-') + s.mid(6, 2) : s;
}
QString colonTime(const QString& s) {
    return s.size() == 6 ? s.left(2) + QLatin1Char(':') + s.mid(2, 2) + QLatin1Char(':') + s.mid(4, 2) : s;
}
QString kindText(const QString& s) {
    if (s == QLatin1String("S")) return QStringLiteral(u"송신");
    if (s == QLatin1String("R")) return QStringLiteral(u"수신");
    return s;
}
} // namespace

QString displayText(int layout, int col, const QString& raw, const QStringList& lbBnk) {
    if (col == markColumn(layout)) return QLatin1Char(' ') + raw;
    if (layout == FileList || layout == SendList) {
        if (col == 0) return kindText(raw);
        if (col == 1) return bankName(lbBnk, raw);
        if (col == 2) return typeName(raw);
    }
    if (layout == FileList) {
        if (col == 3) return dashedDate(raw);
        if (col == 4 || col == 5) return colonTime(raw);
    }
    if (layout == SendList && col == 3) {
        bool ok = false;
        const double n = raw.trimmed().toDouble(&ok);
        return ok ? QLocale(QLocale::English).toString(n, 'f', 0) : raw;
    }
    if (layout == NoticeList) {
        if (col == 0) return dashedDate(raw);
        if (col == 1) return colonTime(raw);
    }
    return raw;
}

QColor textColor(int layout, int col, const QString& raw) {
    if (col == markColumn(layout)) return Qt::blue;
    if (layout == FileList || layout == SendList) {
        if (col == 0) return raw == QLatin1String("S") ? Qt::red : Qt::blue;
        if (col == 2) {
            if (raw == QLatin1String("100")) return Qt::red;
            if (raw == QLatin1String("200")) return Qt::blue;
            if (raw == QLatin1String("300")) return Qt::darkGreen;
            if (raw == QLatin1String("400")) return QColor(128, 0, 128);
            if (raw == QLatin1String("500")) return Qt::darkCyan;
        }
    }
    return Qt::black;
}

} // namespace C101Grid

namespace {

const QString kTitle = QStringLiteral(u"통신(ver2.0)");

// The window's list as the file exchanges see it.
class TableGrid : public VanGrid {
public:
    explicit TableGrid(QTableWidget* t) : t_(t) {}
    int columnCount() const override { return t_->columnCount(); }
    int rowCount() const override { return t_->rowCount(); }
    QString cell(int row, int col) const override {
        const QTableWidgetItem* it = t_->item(row, col);
        return it ? it->text() : QString();
    }
    void setCell(int row, int col, const QString& text) override {
        t_->setItem(row, col, new QTableWidgetItem(text));
    }
    void setRowCount(int rows) override { t_->setRowCount(rows); }
    void setCurrentRow(int row) override { t_->setCurrentCell(row, 0); }

private:
    QTableWidget* t_;
};

const char* const kBanks[] = {
    "0001 한국은행", "0002 산업은행", "0003 기업은행", "0004 국민은행",   "0005 외환은행",   "0006 주택은행",
    "0007 수협은행", "0008 수출입",   "0009 장기신용", "0010 신농협중앙", "0011 농협중앙",   "0012 농협회원",
    "0016 축협중앙", "0020 우리은행", "0021 조흥은행", "0022 상업은행",   "0023 제일은행",   "0024 한일은행",
    "0025 하나은행", "0026 신한은행", "0027 한미은행", "0028 동화은행",   "0029 동남은행",   "0030 대동은행",
    "0031 대구은행", "0032 부산은행", "0033 충청은행", "0034 광주은행",   "0035 제주은행",   "0036 경기은행",
    "0037 전북은행", "0038 강원은행", "0039 경남은행", "0040 충북은행",   "0045 새마을금고", "0053 씨티은행",
    "0071 우체국",   "0076 신용보증", "0081 하나은행", "0082 보람은행",   "0083 평화은행",   "0084 우리은행",
};

// Paints the columns the window formats; the first data row being empty
// means an empty list and nothing is painted specially.
class GridDelegate : public QStyledItemDelegate {
public:
    GridDelegate(QTableWidget* grid, QListWidget* banks)
        : QStyledItemDelegate(grid), grid_(grid), banks_(banks) {}

    void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& idx) const override {
        const QTableWidgetItem* first = grid_->item(0, 0);
        if (!first || first->text().isEmpty()) return QStyledItemDelegate::paint(p, opt, idx);
        QStringList bankList;
        for (int i = 0; i < banks_->count(); ++i)
            bankList << banks_->item(i)->text();
        const int layout = grid_->columnCount();
        const QString raw = idx.data().toString();
        const bool current = opt.state & QStyle::State_Selected;
        p->save();
        p->fillRect(opt.rect, current ? opt.palette.highlight() : opt.palette.base());
        p->setPen(current ? opt.palette.highlightedText().color()
                          : C101Grid::textColor(layout, idx.column(), raw));
        p->drawText(opt.rect.adjusted(2, 2, -2, 0), Qt::AlignLeft | Qt::AlignTop,
                    C101Grid::displayText(layout, idx.column(), raw, bankList));
        p->restore();
    }

private:
    QTableWidget* grid_;
    QListWidget* banks_;
};

} // namespace

TFrmC101B00::TFrmC101B00(QWidget* parent) : QWidget(parent) {
    setWindowTitle(kTitle);
    setAttribute(Qt::WA_DeleteOnClose);

    auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    BBtnConn = button(QStringLiteral(u"접      속"), "BBtnConn");
    BBtnDisConn = button(QStringLiteral(u"접속종료"), "BBtnDisConn");
    BBtnAll = button(QStringLiteral(u"전체선택"), "BBtnAll");
    bbtnSend = button(QStringLiteral(u"송      신"), "bbtnSend");
    bbtnRecv = button(QStringLiteral(u"수      신"), "bbtnRecv");
    BBtnPswd = button(QStringLiteral(u"암호변경"), "BBtnPswd");
    bbtnGongji = button(QStringLiteral(u"공지사항"), "bbtnGongji");
    BBtnSendConf = button(QStringLiteral(u"송신확인"), "BBtnSendConf");
    BBtnNong = button(QStringLiteral(u"농협이체조회"), "BBtnNong");
    BBtnNongClose = button(QStringLiteral(u"농협이체닫기"), "BBtnNongClose");
    BBtnExit = button(QStringLiteral(u"닫기"), "BBtnExit");

    SGrdDataLst = new QTableWidget(this);
    SGrdDataLst->setSelectionBehavior(QAbstractItemView::SelectRows);
    SGrdDataLst->setSelectionMode(QAbstractItemView::SingleSelection);
    SGrdDataLst->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGrdDataLst->verticalHeader()->hide();
    SGrdDataLst->verticalHeader()->setDefaultSectionSize(20);

    LbBnk = new QListWidget(this);
    LbBnk->hide();
    for (const char* b : kBanks)
        LbBnk->addItem(QString::fromUtf8(b));
    SGrdDataLst->setItemDelegate(new GridDelegate(SGrdDataLst, LbBnk));

    PnlSendRecv = new QWidget(this);
    BBtnFileSnd = new QPushButton(QStringLiteral(u"파일송신"), PnlSendRecv);
    BBtnFileRecv = new QPushButton(QStringLiteral(u"파일수신"), PnlSendRecv);
    BBtnGongjiFile = new QPushButton(QStringLiteral(u"공지파일수신"), PnlSendRecv);
    auto* side = new QVBoxLayout(PnlSendRecv);
    side->addWidget(BBtnFileSnd);
    side->addWidget(BBtnFileRecv);
    side->addWidget(BBtnGongjiFile);
    side->addStretch();
    PnlSendRecv->hide();

    PnlFtp = new QWidget(this);
    PBarFtp = new QProgressBar(PnlFtp);
    LblFtp = new QLabel(PnlFtp);
    auto* ftp = new QVBoxLayout(PnlFtp);
    ftp->addWidget(LblFtp);
    ftp->addWidget(PBarFtp);
    PnlFtp->hide();

    PnlStatus = new QLabel(this);
    Memo = new QPlainTextEdit(this);
    Memo->setReadOnly(true);
    Memo->setStyleSheet(QStringLiteral("background: black; color: white;"));
    Memo->hide();
    cboGroup = new QComboBox(this);
    cboGroup->hide();
    cboFile = new QComboBox(this);
    cboFile->hide();
    TmrSnd = new QTimer(this);
    TmrSnd->setInterval(1000);
    TmrSnd->setSingleShot(true);
    TmrRecv = new QTimer(this);
    TmrRecv->setInterval(1000);
    TmrRecv->setSingleShot(true);

    auto* top = new QHBoxLayout;
    for (QPushButton* b : {BBtnConn, BBtnDisConn, BBtnAll, bbtnSend, bbtnRecv, BBtnSendConf, bbtnGongji,
                           BBtnPswd, BBtnNong, BBtnNongClose})
        top->addWidget(b);
    top->addStretch();
    top->addWidget(BBtnExit);
    auto* middle = new QHBoxLayout;
    middle->addWidget(SGrdDataLst, 1);
    middle->addWidget(PnlSendRecv);
    auto* v = new QVBoxLayout(this);
    v->addLayout(top);
    v->addLayout(middle, 1);
    v->addWidget(PnlFtp);
    v->addWidget(Memo);
    v->addWidget(PnlStatus);
    BBtnDisConn->hide();
    BBtnNongClose->hide();

    connect(BBtnConn, &QPushButton::clicked, this, &TFrmC101B00::BBtnConnClick);
    connect(BBtnDisConn, &QPushButton::clicked, this, &TFrmC101B00::BBtnDisConnClick);
    connect(BBtnAll, &QPushButton::clicked, this, &TFrmC101B00::BBtnAllClick);
    connect(BBtnNong, &QPushButton::clicked, this, &TFrmC101B00::BBtnNongClick);
    connect(BBtnNongClose, &QPushButton::clicked, this, &TFrmC101B00::BBtnNongCloseClick);
    connect(BBtnExit, &QPushButton::clicked, this, &QWidget::close);
    connect(bbtnSend, &QPushButton::clicked, this, &TFrmC101B00::bbtnSendClick);
    connect(BBtnFileSnd, &QPushButton::clicked, this, &TFrmC101B00::BBtnFileSndClick);
    connect(bbtnRecv, &QPushButton::clicked, this, &TFrmC101B00::bbtnRecvClick);
    connect(BBtnSendConf, &QPushButton::clicked, this, &TFrmC101B00::BBtnSendConfClick);
    connect(BBtnFileRecv, &QPushButton::clicked, this, &TFrmC101B00::BBtnFileRecvClick);
    connect(bbtnGongji, &QPushButton::clicked, this, &TFrmC101B00::bbtnGongjiClick);
    connect(BBtnGongjiFile, &QPushButton::clicked, this, &TFrmC101B00::BBtnGongjiFileClick);
    connect(BBtnPswd, &QPushButton::clicked, this, &TFrmC101B00::BBtnPswdClick);
    connect(TmrSnd, &QTimer::timeout, this, &TFrmC101B00::TmrSndTimer);
    connect(TmrRecv, &QTimer::timeout, this, &TFrmC101B00::TmrRecvTimer);
    connect(SGrdDataLst, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { ToggleMark(row); });
    for (auto key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
        auto* s = new QShortcut(QKeySequence(key), SGrdDataLst, nullptr, nullptr, Qt::WidgetShortcut);
        connect(s, &QShortcut::activated, this, [this] { ToggleMark(SGrdDataLst->currentRow()); });
    }
    auto* f11 =
        new QShortcut(QKeySequence(Qt::Key_F11), this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(f11, &QShortcut::activated, this, &TFrmC101B00::ToggleMemo);

    // Creation.
    ClearGrid();
    SetLayout(C101Grid::FileList);
    fillGroups();
    link_ = std::make_unique<VanLink>();
    session_ = std::make_unique<TVanSession>(this, link_.get());
    link_->setSession(session_.get());
    grid_ = std::make_unique<TableGrid>(SGrdDataLst);
    transfer_ = std::make_unique<TVanTransfer>(*session_, *grid_, *this, sendState_);
    session_->LoadSettings();
    VanSettings::resetRecvCounters(Clock::todayText());
    connect(link_.get(), &VanLink::connectFailed, this,
            [this](const QString& e) { Msg::error(QApplication::applicationName(), e, this); });
    setSessionButtons(false);
}

TFrmC101B00::~TFrmC101B00() {
    // Going away: no box, no session callbacks into a half-destroyed window.
    link_->setSession(nullptr);
    link_->closeSilently();
    // Nothing can confirm an upload any more: merges not sent are undone.
    transfer_->abort();
    SendFolder::UndoPendingMerges(sendState_);
}

void TFrmC101B00::fillGroups() {
    if (DMData) DMData->FillGroupCombo(cboGroup, QStringLiteral("00"));
}

QList<QPushButton*> TFrmC101B00::sessionButtons() const {
    return {bbtnRecv, bbtnSend, BBtnSendConf, bbtnGongji, BBtnGongjiFile, BBtnAll, BBtnFileRecv, BBtnPswd};
}

void TFrmC101B00::setSessionButtons(bool on) {
    for (QPushButton* b : sessionButtons())
        b->setEnabled(on);
}

bool TFrmC101B00::sessionButtonsEnabled() const {
    return BBtnAll->isEnabled();
}

void TFrmC101B00::BBtnConnClick() {
    BBtnConn->setEnabled(false);
    const VanSettings::Server s = VanSettings::readServer();
    quint16 port = 0;
    const bool portOk = VanSettings::parsePort(s.portNo, &port);
    BBtnConn->setEnabled(true);
    // Without a server there is nothing to connect to; say where it is set.
    if (s.address.trimmed().isEmpty() || s.portNo.trimmed().isEmpty()) {
        Msg::error(QStringLiteral(u"접속"),
                   QStringLiteral(u"서버 주소 또는 포트번호가 등록되어 있지 않습니다.\r\n"
                                  u"[통신-통신환경설정]에서 등록하십시오."),
                   this);
        return;
    }
    if (!portOk) {
        Msg::error(QStringLiteral(u"접속"),
                   QStringLiteral(u"포트번호 '%1'이(가) 올바르지 않습니다.\r\n"
                                  u"[통신-통신환경설정]에서 확인하십시오.")
                       .arg(s.portNo),
                   this);
        return;
    }
    if (link_->isConnected() || link_->isConnecting()) return;
    link_->connectTo(s.address, port);
}

void TFrmC101B00::BBtnDisConnClick() {
    session_->LogOff();
    ClearGrid();
    SetLayout(C101Grid::FileList);
    PnlSendRecv->hide();
}

void TFrmC101B00::ClearGrid() {
    SGrdDataLst->clearContents();
    SGrdDataLst->setRowCount(1);
}

void TFrmC101B00::SetLayout(C101Grid::Layout layout) {
    struct Col {
        const char16_t* title;
        int width;
    };
    static const QList<Col> file = {
        {u"구분", 35},     {u"은행명", 70},   {u"화일타입", 60}, {u"송신일자", 70}, {u"송신시작", 60},
        {u"송신종료", 60}, {u"자료건수", 55}, {u"순번", 40},     {u"수신횟수", 55}, {u"선택", 30}};
    static const QList<Col> send = {{u"구분", 35},     {u"은행명", 70},      {u"화일타입", 60},
                                    {u"자료건수", 60}, {u"화일이름", 90},    {u"이체/등록일자", 90},
                                    {u"기관코드", 70}, {u"모계좌번호", 100}, {u"선택", 35}};
    static const QList<Col> notice = {
        {u"등록일자", 70}, {u"등록시간", 70}, {u"제목", 280}, {u"화일명", 90}, {u"선택", 35}};
    const QList<Col>& cols = layout == C101Grid::FileList   ? file
                             : layout == C101Grid::SendList ? send
                                                            : notice;
    SGrdDataLst->setColumnCount(int(cols.size()));
    for (int i = 0; i < cols.size(); ++i) {
        SGrdDataLst->setHorizontalHeaderItem(i, new QTableWidgetItem(QString::fromUtf16(cols[i].title)));
        SGrdDataLst->setColumnWidth(i, cols[i].width);
    }
}

int TFrmC101B00::layout() const {
    return SGrdDataLst->columnCount();
}

void TFrmC101B00::ToggleMark(int row) {
    if (row < 0 || row >= SGrdDataLst->rowCount()) return;
    const int col = C101Grid::markColumn(layout());
    if (col < 0) return;
    auto text = [this, row](int c) {
        const QTableWidgetItem* it = SGrdDataLst->item(row, c);
        return it ? it->text() : QString();
    };
    // Only result files can be fetched from the file list.
    if (layout() == C101Grid::FileList && text(0) != QLatin1String("R")) return;
    SGrdDataLst->setItem(row, col, new QTableWidgetItem(text(col).isEmpty() ? C101Grid::Mark() : QString()));
}

void TFrmC101B00::BBtnAllClick() {
    const int col = C101Grid::markColumn(layout());
    auto text = [this](int r, int c) {
        const QTableWidgetItem* it = SGrdDataLst->item(r, c);
        return it ? it->text() : QString();
    };
    for (int r = 0; r < SGrdDataLst->rowCount(); ++r) {
        if (layout() == C101Grid::NoticeList) {
            if (text(r, 3).isEmpty()) break;
            ToggleMark(r);
        } else if (layout() == C101Grid::SendList) {
            ToggleMark(r);
        } else {
            const bool result = text(r, 0) == QLatin1String("R");
            const bool marked = !text(r, col).isEmpty();
            SGrdDataLst->setItem(r, col,
                                 new QTableWidgetItem(result && !marked ? C101Grid::Mark() : QString()));
        }
    }
}

void TFrmC101B00::BBtnNongClick() {
    Browser::open(QStringLiteral("https://banking.nonghyup.com/link/VanFirm.jsp"), this);
}

void TFrmC101B00::BBtnNongCloseClick() {
    BBtnNong->show();
    BBtnNongClose->hide();
}

void TFrmC101B00::ToggleMemo() {
    Memo->setVisible(!Memo->isVisible());
}

QString TFrmC101B00::statusText() const {
    return PnlStatus->text();
}

void TFrmC101B00::vanStatus(const QString& text, VanColor color) {
    PnlStatus->setText(text.isEmpty() ? QString() : QStringLiteral(u" ▶") + text);
    PnlStatus->setStyleSheet(color == VanColor::Red ? QStringLiteral("color: red;")
                                                    : QStringLiteral("color: blue;"));
}

void TFrmC101B00::vanLog(const QString& line) {
    Memo->appendPlainText(line);
}
void TFrmC101B00::vanClearLog() {
    Memo->clear();
}

bool TFrmC101B00::vanAskLogIn(QString* compCd, QString* password) {
    return AskVanLogIn(this, compCd, password);
}

void TFrmC101B00::vanLoggedOn() {
    BBtnConn->hide();
    BBtnDisConn->show();
    setSessionButtons(true);
}

void TFrmC101B00::vanLoggedOff() {
    BBtnConn->show();
    BBtnDisConn->hide();
    setSessionButtons(false);
}

void TFrmC101B00::vanDisconnected() {
    transfer_->abort();
    vanLoggedOff();
}

void TFrmC101B00::vanHideTransferPanel() {
    PnlFtp->hide();
    // An error response stops the run at this file.
    transfer_->abort();
}

void TFrmC101B00::vanListEntries(const QByteArray& jobCode, const QList<QByteArray>& entries) {
    VanAppendListRows(*grid_, jobCode, entries);
}

void TFrmC101B00::vanListComplete(const QByteArray&) {
    // "...조회 중입니다" would stay on a finished list.
    vanStatus(QString(), VanColor::Blue);
}

VanSessionHost::Exchange TFrmC101B00::vanExchange(const TVanMsg& msg) {
    return transfer_->handle(msg);
}

void TFrmC101B00::xferLabel(const QString& text) {
    LblFtp->setText(text);
}

void TFrmC101B00::xferShowPanel(int maximum) {
    PBarFtp->setRange(0, std::max(0, maximum));
    PBarFtp->setValue(0);
    PnlFtp->show();
}

void TFrmC101B00::xferProgress(int value) {
    // The bar ends two above its maximum (header and trailer).
    PBarFtp->setValue(std::min(value, PBarFtp->maximum()));
}

void TFrmC101B00::xferHidePanel() {
    PnlFtp->hide();
}

void TFrmC101B00::xferStatus(const QString& text, VanColor color) {
    vanStatus(text, color);
}

void TFrmC101B00::xferSchedule(bool upload) {
    (upload ? TmrSnd : TmrRecv)->start();
}

void TFrmC101B00::xferShowNotice(const QString& path) {
    auto dlg = std::make_unique<TFrmC101B04>(this);
    dlg->loadFile(path);
    Modal::exec(dlg.get());
}

namespace {
void showOnly(QWidget* panel, QPushButton* which, const QList<QPushButton*>& all) {
    for (QPushButton* b : all)
        b->setVisible(b == which);
    panel->show();
}
} // namespace

void TFrmC101B00::bbtnSendClick() {
    ClearGrid();
    SetLayout(C101Grid::SendList);
    QStringList groups;
    for (int i = 0; i < cboGroup->count(); ++i)
        groups << cboGroup->itemText(i).left(2);
    const SendListResult res =
        SendFolder::BuildSendList(sendState_, groups, Clock::todayText(), transfer_->busyFile());
    for (const SendListRow& r : res.rows)
        grid_->appendRow(r.cells());
    if (!QDir(DMLib->dir(QStringLiteral("send"))).entryList(QDir::Files).isEmpty()) {
        transfer_->FSendDone = false;
        showOnly(PnlSendRecv, BBtnFileSnd, {BBtnFileSnd, BBtnFileRecv, BBtnGongjiFile});
    } else {
        Msg::info(QStringLiteral(u"송신파일 오류"),
                  QStringLiteral(u"송신폴더에 생성된 이체의뢰 파일이 존재하지 않습니다!!!\r\n"
                                 u"확인하시고 파일 생성 후에 다시 송신하십시오!!!"),
                  this);
    }
}

void TFrmC101B00::BBtnFileSndClick() {
    transfer_->BBtnFileSndClick();
}

void TFrmC101B00::TmrSndTimer() {
    TmrSnd->stop();
    transfer_->TmrSndTimer();
}

bool TFrmC101B00::requestFileList(const QString& label, const QString& listKind) {
    auto dlg = std::make_unique<TFrmC101B02>(this);
    if (Modal::exec(dlg.get()) != QDialog::Accepted) return false;
    LblFtp->setText(label);
    ClearGrid();
    SetLayout(C101Grid::FileList);
    const TVanMsg m = session_->builder.FileListRequest(dlg->firstDate(), dlg->lastDate(), listKind);
    vanLog(QStringLiteral("SEND==>") + m.text());
    session_->SendVanMsg(m);
    return true;
}

void TFrmC101B00::bbtnRecvClick() {
    if (requestFileList(QStringLiteral(u"자료수신중입니다. 잠시만 기다려 주십시요!!"), QStringLiteral("R")))
        showOnly(PnlSendRecv, BBtnFileRecv, {BBtnFileSnd, BBtnFileRecv, BBtnGongjiFile});
}

void TFrmC101B00::BBtnSendConfClick() {
    PnlSendRecv->hide();
    requestFileList(QStringLiteral(u"자료송신 확인 중입니다. 잠시만 기다려 주십시요!!"), QStringLiteral("S"));
}

void TFrmC101B00::BBtnFileRecvClick() {
    transfer_->BBtnFileRecvClick();
}

void TFrmC101B00::bbtnGongjiClick() {
    ClearGrid();
    SetLayout(C101Grid::NoticeList);
    session_->SendVanMsg(session_->builder.NoticeListRequest(QStringLiteral("20020601"), Clock::todayText()));
    showOnly(PnlSendRecv, BBtnGongjiFile, {BBtnFileSnd, BBtnFileRecv, BBtnGongjiFile});
}

void TFrmC101B00::BBtnGongjiFileClick() {
    transfer_->BBtnGongjiFileClick();
}

void TFrmC101B00::TmrRecvTimer() {
    TmrRecv->stop();
    transfer_->TmrRecvTimer();
}

void TFrmC101B00::BBtnPswdClick() {
    PnlSendRecv->hide();
    auto dlg = std::make_unique<TFrmC101B03>(this);
    if (Modal::exec(dlg.get()) != QDialog::Accepted) return;
    transfer_->ChangePassword(dlg->EdtCurrPswd->text(), dlg->EdtUpdtPswd->text(), dlg->EdtConfiPswd->text());
}

void TFrmC101B00::closeEvent(QCloseEvent* e) {
    if (!link_->isConnected()) {
        // Only merges whose merged file was not confirmed are undone; a file
        // the operator has is never put back into send.
        transfer_->abort();
        SendFolder::UndoPendingMerges(sendState_);
        e->accept();
        return;
    }
    // The undo waits for the log-off: an upload's end reply may still come.
    session_->LogOff();
    ClearGrid();
    SetLayout(C101Grid::FileList);
    PnlSendRecv->hide();
    e->ignore();
}

namespace {
const FormRegistrar reg(FormEntry{QStringLiteral("C101B00"), kTitle, FormEntry::Mode::WorkWindow,
                                  [](QWidget* parent) -> QWidget* { return new TFrmC101B00(parent); }});
} // namespace
