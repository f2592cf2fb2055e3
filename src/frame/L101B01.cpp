#include "frame/L101B01.h"

#include "platform/settings/Registry.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"
#include "shared/MainHooks.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

const bool g_hooked = [] {
    mainHooks().loginAtStart = [](QWidget* parent) {
        TFrmL101B01 dlg(parent);
        return Modal::exec(&dlg) == QDialog::Accepted;
    };
    return true;
}();

class UpperValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        input = input.toUpper();
        return Acceptable;
    }
};

} // namespace

TFrmL101B01::TFrmL101B01(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("로그인"));
    Label1 = new QLabel(QStringLiteral("업체코드 또는 비밀번호 입력시\n대소문자 구분과 숫자를 확인해주세요"),
                        this);
    EdtCompCd = new QLineEdit(this);
    EdtCompCd->setMaxLength(4);
    EdtCompCd->setValidator(new UpperValidator(EdtCompCd));
    EdtCompCd->setEnabled(false);
    EdtPswd = new QLineEdit(this);
    EdtPswd->setMaxLength(6);
    EdtPswd->setEchoMode(QLineEdit::Password);
    BBtnConfi = new QPushButton(QStringLiteral("확인"), this);
    BBtnCncl = new QPushButton(QStringLiteral("취소"), this);
    BBtnConfi->setAutoDefault(false);
    BBtnCncl->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("업체코드"), EdtCompCd);
    form->addRow(QStringLiteral("비밀번호"), EdtPswd);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BBtnConfi);
    buttons->addWidget(BBtnCncl);
    auto* main = new QVBoxLayout(this);
    main->addWidget(Label1);
    main->addLayout(form);
    main->addLayout(buttons);

    EdtCompCd->installEventFilter(this);
    EdtPswd->installEventFilter(this);
    connect(BBtnConfi, &QPushButton::clicked, this, [this] { BBtnConfiClick(); });
    connect(BBtnCncl, &QPushButton::clicked, this, [this] { BBtnCnclClick(); });
    FormCreate();
}

void TFrmL101B01::FormCreate() {
    const QString key = QStringLiteral("SchoolInfo");
    if (!Registry::keyExists(key)) Registry::writeString(key, QStringLiteral("SchCode"), QString());
    EdtCompCd->setText(Registry::readString(key, QStringLiteral("SchCode")).toUpper());
    storedPassword_ = Registry::readString(key, QStringLiteral("UxPwd"));
    EdtPswd->setFocus();
}

TFrmL101B01::Check TFrmL101B01::check(const QString& code, const QString& typed, const QString& stored) {
    if (code.trimmed().isEmpty()) return Check::NoCode;
    if (typed.trimmed().isEmpty()) return Check::NoPassword;
    // An empty stored password never matches: with log-in switched on and
    // no password only 취소 leaves.
    if (typed != stored) return Check::Wrong;
    return Check::Ok;
}

void TFrmL101B01::BBtnConfiClick() {
    switch (check(EdtCompCd->text(), EdtPswd->text(), storedPassword_)) {
    case Check::NoCode:
        Msg::error(QStringLiteral("입력요망"), QStringLiteral("업체코드를 입력하지 않았습니다!!"), this);
        EdtCompCd->setFocus();
        return;
    case Check::NoPassword:
        Msg::error(QStringLiteral("입력요망"), QStringLiteral("비밀번호를 입력하지 않았습니다!!"), this);
        EdtPswd->setFocus();
        return;
    case Check::Wrong:
        Msg::error(QStringLiteral("오류"), QStringLiteral("사용자가 유효하지 않거나 비밀번호가 틀림니다."),
                   this);
        EdtPswd->clear();
        EdtPswd->setFocus();
        return;
    case Check::Ok:
        accept();
        return;
    }
}

void TFrmL101B01::BBtnCnclClick() {
    reject();
}

bool TFrmL101B01::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        const int k = static_cast<QKeyEvent*>(e)->key();
        if (k == Qt::Key_Return || k == Qt::Key_Enter) {
            if (o == EdtCompCd && !EdtCompCd->text().trimmed().isEmpty())
                EdtPswd->setFocus();
            else if (o == EdtPswd)
                BBtnConfiClick();
            return true;
        }
    }
    return QDialog::eventFilter(o, e);
}
