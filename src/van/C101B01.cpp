#include "van/C101B01.h"

#include "data/DMModule.h"
#include "platform/settings/Registry.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {
// Codes and passwords are plain ASCII on the operator's side.
QValidator* asciiValidator(QObject* parent) {
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[\\x21-\\x7e]*")), parent);
}
} // namespace

TFrmC101B01::TFrmC101B01(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral(u"로그인"));
    Label1 = new QLabel(QStringLiteral(u"업체코드 또는 비밀번호 입력시\n대소문자 구분과 숫자를 확인해주세요"),
                        this);
    PnlCompCd = new QLabel(QStringLiteral(u"업체코드"), this);
    EdtCompCd = new QLineEdit(this);
    EdtCompCd->setObjectName(QStringLiteral("EdtCompCd"));
    EdtCompCd->setMaxLength(4);
    EdtCompCd->setValidator(asciiValidator(EdtCompCd));
    PnlPswd = new QLabel(QStringLiteral(u"비밀번호"), this);
    EdtPswd = new QLineEdit(this);
    EdtPswd->setObjectName(QStringLiteral("EdtPswd"));
    EdtPswd->setMaxLength(6);
    EdtPswd->setEchoMode(QLineEdit::Password);
    EdtPswd->setValidator(asciiValidator(EdtPswd));
    BBtnConfi = new QPushButton(QStringLiteral(u"확인"), this);
    BBtnCncl = new QPushButton(QStringLiteral(u"취소"), this);
    // Enter is handled by the edits themselves.
    BBtnConfi->setAutoDefault(false);
    BBtnCncl->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(PnlCompCd, 0, 0);
    grid->addWidget(EdtCompCd, 0, 1);
    grid->addWidget(PnlPswd, 1, 0);
    grid->addWidget(EdtPswd, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BBtnConfi);
    buttons->addWidget(BBtnCncl);
    auto* v = new QVBoxLayout(this);
    v->addWidget(Label1);
    v->addLayout(grid);
    v->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(EdtCompCd, &QLineEdit::textEdited, this, [this](const QString& t) {
        const int pos = EdtCompCd->cursorPosition();
        EdtCompCd->setText(t.toUpper());
        EdtCompCd->setCursorPosition(pos);
    });
    connect(EdtCompCd, &QLineEdit::returnPressed, EdtPswd, [this] { EdtPswd->setFocus(); });
    connect(EdtPswd, &QLineEdit::returnPressed, this, &TFrmC101B01::BBtnConfiClick);
    connect(BBtnConfi, &QPushButton::clicked, this, &TFrmC101B01::BBtnConfiClick);
    connect(BBtnCncl, &QPushButton::clicked, this, &QDialog::reject);

    QString code = DMLib ? DMLib->FSchCode : QString();
    if (code.isEmpty()) code = Registry::readString(QStringLiteral("SchoolInfo"), QStringLiteral("SchCode"));
    EdtCompCd->setText(code.toUpper());
}

void TFrmC101B01::BBtnConfiClick() {
    if (EdtCompCd->text().trimmed().isEmpty()) {
        Msg::error(QStringLiteral(u"입력요망"), QStringLiteral(u"업체코드를 입력하지 않았습니다!!"), this);
        EdtCompCd->setFocus();
        return;
    }
    accept();
}

QString TFrmC101B01::compCd() const {
    return EdtCompCd->text().trimmed();
}
QString TFrmC101B01::password() const {
    return EdtPswd->text().trimmed();
}

bool AskVanLogIn(QWidget* parent, QString* compCd, QString* password) {
    TFrmC101B01 dlg(parent);
    if (Modal::exec(&dlg) != QDialog::Accepted) return false;
    *compCd = dlg.compCd();
    *password = dlg.password();
    return true;
}
