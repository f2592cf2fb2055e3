#include "transfers/common/WorkWindow.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/sys/Clock.h"
#include "platform/ui/ComboRows.h"
#include "transfers/common/KeyEdit.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSignalBlocker>

namespace {

// The bank combo takes at most two typed characters; its entries are longer.
class BankValidator : public QValidator {
public:
    explicit BankValidator(QComboBox* c) : QValidator(c), combo_(c) {}
    State validate(QString& s, int&) const override {
        if (s.size() <= 2) return Acceptable;
        return combo_->findText(s) >= 0 ? Acceptable : Invalid;
    }

private:
    QComboBox* combo_;
};

} // namespace

TWorkWindow::TWorkWindow(QWidget* parent) : QWidget(parent) {}

// ---- building pieces

void TWorkWindow::makeRoundLine() {
    cboGroup = new QComboBox(this);
    CbBank = new QComboBox(this);
    CbBank->setEditable(true);
    CbBank->setInsertPolicy(QComboBox::NoInsert);
    CbBank->setCompleter(nullptr);
    CbBank->lineEdit()->setValidator(new BankValidator(CbBank));
    ComboRows::asDropDown(CbBank);
    MEdtYearMon = new TKeyEdit(this);
    MEdtYearMon->setInputMask(QStringLiteral("9999-99; "));
    SBtnYearMonSelect = new QPushButton(QStringLiteral("선택"), this);
    MEdtSeqNo = new TKeyEdit(this);
    MEdtSeqNo->setInputMask(QStringLiteral("99; "));
}

QList<TWorkWindow::Panel> TWorkWindow::sharedPanels() {
    return {
        {u"총건수", &PnlTotCnt},     {u"총금액", &PnlTotAmt},         {u"처리건수", &PnlProcCnt},
        {u"처리금액", &PnlProcAmt},  {u"미처리건수", &PnlNonProcCnt}, {u"미처리금액", &PnlNonProcAmt},
        {u"면제건수", &PnlExempCnt}, {u"면제금액", &PnlExempAmt},
    };
}

QList<QLabel*> TWorkWindow::addPanels(QGridLayout* grid, const QList<Panel>& panels) {
    QList<QLabel*> captions;
    for (int i = 0; i < panels.size(); ++i) {
        *panels[i].panel = panel();
        auto* l = new QLabel(QString::fromUtf16(panels[i].label), this);
        grid->addWidget(l, i % 2, (i / 2) * 2);
        grid->addWidget(*panels[i].panel, i % 2, (i / 2) * 2 + 1);
        captions << l;
    }
    return captions;
}

QLabel* TWorkWindow::panel() {
    auto* l = new QLabel(QStringLiteral("0 "), this);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(90);
    return l;
}

QPushButton* TWorkWindow::addButton(QHBoxLayout* row, const QString& text) {
    auto* b = new QPushButton(text, this);
    b->setMinimumWidth(b->fontMetrics().horizontalAdvance(text) + 12);
    b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    row->addWidget(b);
    return b;
}

QButtonGroup* TWorkWindow::radios(QWidget* parent, QLayout* lay, const QStringList& texts) {
    auto* g = new QButtonGroup(this);
    for (int i = 0; i < texts.size(); ++i) {
        auto* r = new QRadioButton(texts[i], parent);
        g->addButton(r, i);
        lay->addWidget(r);
    }
    g->button(0)->setChecked(true);
    return g;
}

void TWorkWindow::wireRoundLine() {
    // Combo changes made by the program itself run under a signal blocker:
    // only the user's choice is a change.
    connect(cboGroup, &QComboBox::currentIndexChanged, this, [this] { cboGroupChange(); });
    connect(CbBank, &QComboBox::currentIndexChanged, this, [this] { CbBankChange(); });
    connect(CbBank->lineEdit(), &QLineEdit::textEdited, this, [this] { CbBankChange(); });
    CbBank->installEventFilter(this);
    MEdtYearMon->onExit = [this] { MEdtYearMonExit(); };
    MEdtSeqNo->onExit = [this] { MEdtSeqNoExit(); };
    connect(BBtnClose, &QPushButton::clicked, this, &TWorkWindow::BBtnCloseClick);
}

void TWorkWindow::enterMovesOn(std::initializer_list<TKeyEdit*> edits) {
    for (TKeyEdit* e : edits)
        e->onKey = [this](QKeyEvent* k, const QString&) {
            if (!isEnterKey(k)) return false;
            focusNextChild();
            return true;
        };
}

void TWorkWindow::filterEnter(const QWidget* grid) {
    for (QWidget* w : findChildren<QWidget*>())
        if (!dynamic_cast<TKeyEdit*>(w) && w != grid && w->focusPolicy() != Qt::NoFocus)
            w->installEventFilter(this);
}

void TWorkWindow::addResetShortcut() {
    auto* reset = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F11), this);
    reset->setContext(Qt::WidgetWithChildrenShortcut);
    connect(reset, &QShortcut::activated, this, [this] { FormKeyDown(Qt::Key_F11, Qt::ControlModifier); });
}

bool TWorkWindow::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress && isEnterKey(static_cast<QKeyEvent*>(e))) {
        focusNextChild();
        return true;
    }
    if (o == CbBank && e->type() == QEvent::FocusOut) {
        const auto r = static_cast<QFocusEvent*>(e)->reason();
        if (r != Qt::ActiveWindowFocusReason && r != Qt::PopupFocusReason) CbBankExit();
    }
    return QWidget::eventFilter(o, e);
}

void TWorkWindow::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_F11) {
        FormKeyDown(e->key(), e->modifiers());
        return;
    }
    QWidget::keyPressEvent(e);
}

// ---- values

QString TWorkWindow::groupCode() const {
    return cboGroup->currentText().left(2);
}
QString TWorkWindow::bankCode() const {
    return CbBank->currentText().left(2);
}
QString TWorkWindow::yearMon() const {
    return TDMLib::DigitsOnly(MEdtYearMon->text());
}
QString TWorkWindow::seqNo() const {
    return TDMLib::DigitsOnly(MEdtSeqNo->text());
}

// ---- routines

void TWorkWindow::showNewestRound(const QStringList& tables) {
    if (tables.isEmpty()) {
        MEdtYearMon->setText(Clock::yearMonthText());
        MEdtSeqNo->setText(QStringLiteral("01"));
    } else {
        MEdtYearMon->setText(tables.last().mid(6, 6));
        MEdtSeqNo->setText(tables.last().mid(12, 2));
    }
}

void TWorkWindow::fillGroupCombo() {
    const QSignalBlocker b(cboGroup);
    DMData->FillGroupCombo(cboGroup, QStringLiteral("00"));
    cboGroup->setCurrentIndex(cboGroup->count() > 0 ? 0 : -1);
}

void TWorkWindow::loadBankCombo(const QStringList& entries) {
    const QSignalBlocker b(CbBank);
    CbBank->clear();
    CbBank->addItems(entries);
    CbBank->setCurrentIndex(0);
    updateFileButtons();
}

void TWorkWindow::takeRound(const QString& yearMon, const QString& seqNo) {
    MEdtYearMon->setText(yearMon);
    MEdtSeqNo->setText(seqNo);
    MEdtSeqNo->setFocus();
}

void TWorkWindow::sayNoRound() {
    Msg::error(QStringLiteral("이체년월/회차오류"),
               QStringLiteral("존재하지 않은 이체년월/회차입니다! 확인하시기 바랍니다."), this);
}

MsgResult TWorkWindow::askDeleteRow(const QString& sno, const QString& nm, const QString& item,
                                    bool defaultNo) {
    return Msg::show(QStringLiteral("학생삭제"),
                     QStringLiteral("학번 = ") + sno + QStringLiteral("\r성명 = ") + nm +
                         QStringLiteral("\r항목 = ") + item + QStringLiteral("\r을  삭제하시겠습니까?"),
                     MsgIcon::Question, MsgButtons::YesNo, this, defaultNo);
}

void TWorkWindow::plainBox(const QString& text) {
    Msg::show(QCoreApplication::applicationName(), text);
}

// ---- handlers

void TWorkWindow::CbBankChange() {
    const QString t = CbBank->currentText();
    if (t.size() == 2) {
        for (int i = 0; i < CbBank->count(); ++i)
            if (CbBank->itemText(i).startsWith(t)) {
                const QSignalBlocker b(CbBank);
                CbBank->setCurrentIndex(i);
                CbBank->setEditText(CbBank->itemText(i));
                break;
            }
    }
    updateFileButtons();
}

bool TWorkWindow::settleBank() {
    const QString t = CbBank->currentText();
    int at = -1;
    if (t.size() < 2) {
        at = 0;
    } else if (t.size() == 2) {
        at = 0;
        for (int i = 0; i < CbBank->count(); ++i)
            if (CbBank->itemText(i).startsWith(t)) {
                at = i;
                break;
            }
    }
    if (at < 0) return false;
    const QSignalBlocker b(CbBank);
    CbBank->setCurrentIndex(at);
    CbBank->setEditText(CbBank->itemText(at));
    return true;
}

void TWorkWindow::CbBankExit() {
    settleBank();
}

void TWorkWindow::MEdtYearMonExit() {
    if (yearMon().size() < 6) MEdtYearMon->setText(Clock::yearMonthText());
}

void TWorkWindow::MEdtSeqNoExit() {
    const QString s = seqNo();
    if (s.isEmpty())
        MEdtSeqNo->setText(QStringLiteral("01"));
    else if (s.size() == 1)
        MEdtSeqNo->setText(QStringLiteral("%1").arg(s.toInt(), 2, 10, QLatin1Char('0')));
}

void TWorkWindow::FormKeyDown(int key, Qt::KeyboardModifiers shift) {
    if (key != Qt::Key_F11 ||
        (shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) != Qt::ControlModifier)
        return;
    if (Msg::show(QStringLiteral("설정"),
                  QStringLiteral("지금 설정된 이체자료중에 이체처리된 부분을  미처리로 하시겠습니까?"),
                  MsgIcon::Warning, MsgButtons::YesNo, this, true) != MsgResult::Yes)
        return;
    const QString date = TDMLib::DigitsOnly(MEdtSetlDt->text());
    if (date.isEmpty()) {
        Msg::error(QStringLiteral("이체일자 입력요망"), QStringLiteral("이체일자를 입력하세요!!"), this);
        return;
    }
    if (!resetTransferDate(date)) {
        Msg::error(QStringLiteral("미처리오류"), QStringLiteral("미처리 중에 오류가 발생하였습니다.!!"),
                   this);
        return;
    }
    relist();
}

void TWorkWindow::BBtnCloseClick() {
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}
