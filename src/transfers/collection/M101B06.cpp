#include "transfers/collection/M101B06.h"

#include "data/DMModule.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Msg.h"
#include "shared/ButtonRow.h"
#include "transfers/common/KeyEdit.h"

#include <QButtonGroup>
#include <QDate>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

TFrmM101B06::TFrmM101B06(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("이체여부변경"));
    rdoReplyty0 = new QRadioButton(QStringLiteral("미처리"), this);
    rdoReplyty2 = new QRadioButton(QStringLiteral("현금수납"), this);
    rdoReplyty3 = new QRadioButton(QStringLiteral("환불처리"), this);
    rdoReplyty1 = new QRadioButton(QStringLiteral("이체처리"), this);
    auto* group = new QButtonGroup(this);
    group->addButton(rdoReplyty0, 0);
    group->addButton(rdoReplyty2, 2);
    group->addButton(rdoReplyty3, 3);
    group->addButton(rdoReplyty1, 1);
    Panel3 = new QWidget(this);
    Label1 = new QLabel(Panel3);
    Panel2 = new QLabel(Panel3);
    MedtShftDate = new TKeyEdit(Panel3);
    MedtShftDate->setInputMask(QStringLiteral("0000-00-00;_"));
    MedtShftDate->setText(Clock::today().toString(QStringLiteral("yyyy-MM-dd")));
    MedtShftDate->onKey = [this](QKeyEvent* e, const QString&) {
        if (!isEnterKey(e)) return false;
        bbtnOKClick();
        return true;
    };
    txtAmt = new QLabel(Panel3);
    ReAmt = new TKeyEdit(Panel3);
    // Ten digits with their commas: a larger row's amount must fit whole.
    ReAmt->setMaxLength(13);
    ReAmt->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9,]*")), ReAmt));
    bbtnOK = new QPushButton(QStringLiteral("확인"), this);
    bbtnCncl = new QPushButton(QStringLiteral("취소"), this);
    connect(bbtnOK, &QPushButton::clicked, this, &TFrmM101B06::bbtnOKClick);
    connect(bbtnCncl, &QPushButton::clicked, this, &QDialog::reject);
    connect(group, &QButtonGroup::buttonToggled, this, [this](QAbstractButton* b, bool on) {
        if (on) choose(static_cast<QRadioButton*>(b));
    });

    auto* radios = new QHBoxLayout;
    for (QRadioButton* r : {rdoReplyty0, rdoReplyty2, rdoReplyty3, rdoReplyty1})
        radios->addWidget(r);
    auto* form = new QFormLayout(Panel3);
    form->addRow(Label1);
    form->addRow(Panel2, MedtShftDate);
    form->addRow(txtAmt, ReAmt);
    Panel3->hide();
    auto* top = new QVBoxLayout(this);
    top->addLayout(radios);
    top->addWidget(Panel3);
    top->addLayout(ButtonRow::rightAligned({bbtnOK, bbtnCncl}));
}

void TFrmM101B06::choose(QRadioButton* r) {
    struct Texts {
        QRadioButton* r;
        const char16_t *question, *date, *amount;
    };
    const Texts texts[] = {
        {rdoReplyty1, u"이체처리 하시겠습니까?", u"이체일자", u"이체금액"},
        {rdoReplyty2, u"현금수납 하시겠습니까?", u"수납일자", u"수납금액"},
        {rdoReplyty3, u"환불처리 하시겠습니까?", u"환불일자", u"환불금액"},
    };
    Panel3->setVisible(r != rdoReplyty0);
    for (const Texts& t : texts)
        if (t.r == r) {
            Label1->setText(QString::fromUtf16(t.question));
            Panel2->setText(QString::fromUtf16(t.date));
            txtAmt->setText(QString::fromUtf16(t.amount));
        }
    adjustSize();
}

void TFrmM101B06::pSetReplyTy(const QString& replyTy, const QString& amt) {
    ReAmt->setText(amt);
    const auto offer = [this](std::initializer_list<QRadioButton*> on, QRadioButton* preset) {
        for (QRadioButton* r : {rdoReplyty0, rdoReplyty2, rdoReplyty3, rdoReplyty1})
            r->setEnabled(std::find(on.begin(), on.end(), r) != on.end());
        rdoReplyty1->setVisible(replyTyShowsTransfer_);
        preset->setChecked(true);
        choose(preset);
    };
    replyTyShowsTransfer_ = replyTy == QLatin1String("3");
    if (replyTy == QLatin1String("0")) {
        offer({rdoReplyty2}, rdoReplyty2);
        // Cash takes the row's whole amount.
        ReAmt->setEnabled(false);
    } else if (replyTy == QLatin1String("1")) {
        offer({rdoReplyty3}, rdoReplyty3);
    } else if (replyTy == QLatin1String("2")) {
        offer({rdoReplyty0, rdoReplyty3}, rdoReplyty3);
    } else if (replyTy == QLatin1String("3")) {
        offer({rdoReplyty2, rdoReplyty1}, rdoReplyty2);
    }
}

void TFrmM101B06::bbtnOKClick() {
    SelReplyTy = 4;
    if (rdoReplyty0->isChecked()) {
        SelReplyTy = 0;
        accept();
        return;
    }
    struct Check {
        QRadioButton* r;
        int sel;
        const char16_t *text, *caption;
    };
    const Check checks[] = {
        {rdoReplyty1, 1, u"이체금액은 반드시 입력하셔야 합니다.", u"이체금액 확인"},
        {rdoReplyty2, 2, u"현금수납 금액은 반드시 입력하셔야 합니다.", u"현금수납 금액 확인"},
        {rdoReplyty3, 3, u"환불금액은 반드시 입력하셔야 합니다.", u"환불금액 확인"},
    };
    for (const Check& c : checks) {
        if (!c.r->isChecked()) continue;
        const QString a = ReAmt->text().trimmed();
        if (a.isEmpty() || a == QLatin1String("0")) {
            Msg::error(QString::fromUtf16(c.caption), QString::fromUtf16(c.text), this);
            return;
        }
        // Whole won only: a typo is never saved as a refund of 0.
        if (!RowEdit::parseAmount(a)) {
            Msg::error(QString::fromUtf16(c.caption), QStringLiteral("금액은 숫자로만 입력하세요!"), this);
            ReAmt->setFocus();
            return;
        }
        // The date goes into the row as it stands: only a real date passes.
        if (!QDate::fromString(MedtShftDate->text(), QStringLiteral("yyyy-MM-dd")).isValid()) {
            Msg::error(QStringLiteral("일자입력오류"),
                       QStringLiteral("일자가 올바르지 않습니다. yyyy-mm-dd 형식으로 입력하세요!!"), this);
            MedtShftDate->setFocus();
            return;
        }
        SelReplyTy = c.sel;
        accept();
        return;
    }
}

RowEdit::StatusChange TFrmM101B06::values() const {
    RowEdit::StatusChange c;
    c.selReplyTy = SelReplyTy;
    const QString d = MedtShftDate->text();
    c.date = d.mid(0, 4) + d.mid(5, 2) + d.mid(8, 2);
    c.amount = ReAmt->text().trimmed();
    return c;
}
