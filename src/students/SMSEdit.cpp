#include "students/SMSEdit.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/settings/Registry.h"
#include "platform/sys/Clock.h"
#include "platform/text/Cp949.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"
#include "students/SmsSession.h"
#include "van/C101B01.h"
#include "van/VanSettings.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
void plainBox(const QString& text, QWidget* parent) {
    Msg::show(QCoreApplication::applicationName(), text, MsgIcon::None, MsgButtons::Ok, parent);
}
} // namespace

QString SmsSendFile() {
    return DMLib->dir(QStringLiteral("send")) + SmsFile::kFileName;
}

TFrmSMSEdit::TFrmSMSEdit(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("문자메세지"));
    auto* lay = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    cboMsgType = new QComboBox(this);
    BtnSaveMsg = new QPushButton(QStringLiteral("메세지 저장"), this);
    BtnVlist = new QPushButton(QStringLiteral("변수일람"), this);
    top->addWidget(new QLabel(QStringLiteral("메세지 서식"), this));
    top->addWidget(cboMsgType, 1);
    top->addWidget(BtnSaveMsg);
    top->addWidget(BtnVlist);
    lay->addLayout(top);
    MemoMsg = new QPlainTextEdit(this);
    lay->addWidget(MemoMsg, 1);
    auto* mid = new QHBoxLayout;
    BtnMsgSample = new QPushButton(QStringLiteral("편집적용"), this);
    BtnNext = new QPushButton(QStringLiteral("다른학생 보기 ▼"), this);
    LbDifCnt = new QLabel(this);
    mid->addWidget(BtnMsgSample);
    mid->addWidget(BtnNext);
    mid->addWidget(LbDifCnt);
    mid->addStretch();
    lay->addLayout(mid);
    MemoMsgResult = new QPlainTextEdit(this);
    MemoMsgResult->setReadOnly(true);
    lay->addWidget(MemoMsgResult, 1);
    auto* bottom = new QHBoxLayout;
    LbByte = new QLabel(this);
    LbByte->setAutoFillBackground(true);
    LbSumMsg = new QLabel(this);
    BtnSMSSend = new QPushButton(QStringLiteral("문자메세지전송"), this);
    BtnClose = new QPushButton(QStringLiteral("닫기"), this);
    bottom->addWidget(LbByte);
    bottom->addWidget(LbSumMsg, 1);
    bottom->addWidget(BtnSMSSend);
    bottom->addWidget(BtnClose);
    lay->addLayout(bottom);
    PnlFtp = new QWidget(this);
    auto* pl = new QVBoxLayout(PnlFtp);
    pl->addWidget(new QLabel(QStringLiteral("SMS전송중입니다. 잠시만 기다려 주십시요!!!"), PnlFtp));
    PBarFtp = new QProgressBar(PnlFtp);
    pl->addWidget(PBarFtp);
    lay->addWidget(PnlFtp);
    PnlFtp->hide();
    for (QPushButton* b : {BtnSaveMsg, BtnVlist, BtnMsgSample, BtnNext, BtnSMSSend, BtnClose})
        b->setAutoDefault(false);

    connect(cboMsgType, &QComboBox::currentIndexChanged, this, [this](int) { cboMsgTypeChange(); });
    connect(BtnSaveMsg, &QPushButton::clicked, this, &TFrmSMSEdit::BtnSaveMsgClick);
    connect(BtnVlist, &QPushButton::clicked, this, &TFrmSMSEdit::BtnVlistClick);
    connect(BtnMsgSample, &QPushButton::clicked, this, &TFrmSMSEdit::BtnMsgSampleClick);
    connect(BtnNext, &QPushButton::clicked, this, &TFrmSMSEdit::BtnNextClick);
    connect(BtnSMSSend, &QPushButton::clicked, this, &TFrmSMSEdit::BtnSMSSendClick);
    connect(BtnClose, &QPushButton::clicked, this, &TFrmSMSEdit::reject);

    // Creation.
    SmsFile::makeDefaultForm();
    days_ = SmsFile::days(Clock::today());
    k_ = 0;
    pLoadFormList(SmsFile::kDefaultForm);
    resize(560, 480);
}

TFrmSMSEdit::~TFrmSMSEdit() = default;

QString TFrmSMSEdit::formText() const {
    QString t = MemoMsg->toPlainText();
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t;
}

void TFrmSMSEdit::pLoadFormList(const QString& name) {
    const QSignalBlocker b(cboMsgType);
    cboMsgType->clear();
    cboMsgType->addItems(SmsFile::formNames());
    const int i = cboMsgType->findText(name);
    cboMsgType->setCurrentIndex(i >= 0 ? i : 0);
    pLoadForm(cboMsgType->currentText());
}

void TFrmSMSEdit::pLoadForm(const QString& name) {
    if (name.isEmpty()) return;
    bool ok = false;
    QString t = SmsFile::loadForm(name, &ok);
    if (!ok) {
        Msg::error(QStringLiteral("오류"), QStringLiteral("서식 파일을 읽을 수 없습니다.\r\n") + name, this);
        return;
    }
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    MemoMsg->setPlainText(t);
}

void TFrmSMSEdit::cboMsgTypeChange() {
    pLoadForm(cboMsgType->currentText());
}

void TFrmSMSEdit::FormActivate() {
    LbDifCnt->setText(QStringLiteral("[%1/%2]").arg(k_).arg(SGridSMS.size()));
    LbSumMsg->setText(QStringLiteral("총 %1명 학생대상으로 전송합니다.").arg(SGridSMS.size()));
    schoolName_ = SGridSMS.isEmpty() || !DMData ? QString() : DMData->GetSchoolName(SGridSMS.first().scd);
}

void TFrmSMSEdit::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    FormActivate();
}

QString TFrmSMSEdit::sApplyForm(int k, const QString& form) {
    LbDifCnt->setText(QStringLiteral("[%1/%2]").arg(k).arg(SGridSMS.size()));
    if (k < 1 || k > SGridSMS.size()) return {};
    SmsFile::Recipient& r = SGridSMS[k - 1];
    r.msg = SmsFile::applyForm(form, r, schoolName_, days_);
    return r.msg;
}

void TFrmSMSEdit::preview() {
    const QString text = sApplyForm(k_, formText());
    MemoMsgResult->setPlainText(text);
    const int bytes = Cp949::byteLength(text);
    LbByte->setText(QStringLiteral("%1 Byte").arg(bytes));
    QPalette p = LbByte->palette();
    p.setColor(QPalette::Window,
               bytes >= SmsFile::kWarnBytes ? QColor(Qt::red) : palette().color(QPalette::Button));
    LbByte->setPalette(p);
}

void TFrmSMSEdit::BtnMsgSampleClick() {
    k_ = 1;
    preview();
}

void TFrmSMSEdit::BtnNextClick() {
    ++k_;
    if (k_ > SGridSMS.size()) k_ = 1;
    preview();
}

void TFrmSMSEdit::BtnVlistClick() {
    plainBox(SmsFile::kMarkers, this);
}

void TFrmSMSEdit::BtnSaveMsgClick() {
    FileDialogSpec spec;
    spec.mode = FileDialogSpec::Mode::Save;
    spec.filter = QStringLiteral("텍스트문서(*.txt)|*.txt");
    spec.defaultSuffix = QStringLiteral("txt");
    spec.folder = SmsFile::formDir();
    spec.fileName = cboMsgType->currentText() + QStringLiteral(".txt");
    spec.confirmOverwrite = true;
    const std::optional<QString> chosen = FileDialog::pick(spec, this);
    if (!chosen) return;
    QString name = QFileInfo(*chosen).fileName();
    if (name.endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive)) name.chop(4);
    if (name == SmsFile::kDefaultForm) {
        plainBox(QStringLiteral("[납부고지서식]은 변경할수없습니다!!"), this);
        return;
    }
    if (!SmsFile::saveForm(name, formText())) {
        Msg::error(QStringLiteral("오류"), QStringLiteral("서식 파일을 저장할 수 없습니다.\r\n") + name,
                   this);
        return;
    }
    pLoadFormList(name);
}

bool TFrmSMSEdit::bMakeSmsFile() {
    const QString path = SmsSendFile();
    QFile::remove(path);
    const QString callback =
        SmsFile::digitsOnly(DMData ? DMData->GetSchoolTel(SGridSMS.first().scd) : QString()).trimmed();
    if (callback.isEmpty()) {
        plainBox(QStringLiteral("학교대표전화번호가 입력되있지않습니다~!!"), this);
        return false;
    }
    QString error;
    if (!SmsFile::write(path, SGridSMS, callback, &error)) {
        Msg::error(QStringLiteral("오류"), error, this);
        return false;
    }
    return true;
}

void TFrmSMSEdit::BtnSMSSendClick() {
    if (session_ && session_->running()) return;
    if (SGridSMS.isEmpty()) {
        plainBox(QStringLiteral("발송대상이 없습니다."), this);
        return;
    }
    FormActivate();
    const QString form = formText();
    for (int k = 1; k <= SGridSMS.size(); ++k)
        sApplyForm(k, form);
    if (!bMakeSmsFile()) {
        plainBox(QStringLiteral("메세지 발송실패(MakeDataFile)~!!"), this);
        return;
    }
    pConnectVan();
}

void TFrmSMSEdit::pConnectVan() {
    SmsSession::Request r;
    if (!SmsSession::readSettings(&r, this)) return;
    r.file = SmsSendFile();
    r.recipients = int(SGridSMS.size());
    r.formText = formText();
    if (!session_) {
        session_ = new SmsSession(this);
        session_->onProgress = [this](int sent, int total) {
            PBarFtp->setRange(0, std::max(1, total));
            PBarFtp->setValue(sent);
        };
        connect(session_, &SmsSession::finished, this, [this](bool ok) {
            PnlFtp->hide();
            BtnSMSSend->setEnabled(true);
            if (ok) accept();
        });
    }
    PnlFtp->show();
    BtnSMSSend->setEnabled(false);
    if (!session_->start(r)) {
        PnlFtp->hide();
        BtnSMSSend->setEnabled(true);
    }
}

namespace {
// The collection window lies below this subsystem and opens the composer
// through the hand-over.
const SmsComposerRegistrar g_composer([](const QList<SmsRecipient>& recipients, QWidget* parent) {
    TFrmSMSEdit dlg(parent);
    dlg.SGridSMS = recipients;
    if (dlg.SGridSMS.isEmpty()) return false;
    Modal::exec(&dlg);
    return true;
});
} // namespace
