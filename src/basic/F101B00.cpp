#include "basic/F101B00.h"

#include "shared/MainHooks.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Msg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const FormRegistrar g_reg(FormEntry{QStringLiteral("F101B00"), QStringLiteral("학교등록"),
                                    FormEntry::Mode::Dialog,
                                    [](QWidget* parent) -> QWidget* { return new TFrmF101B00(parent); }});

} // namespace

TFrmF101B00::TFrmF101B00(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("학교등록"));
    auto edit = [this](int maxLen = 0) {
        auto* e = new QLineEdit(this);
        if (maxLen) e->setMaxLength(maxLen);
        return e;
    };
    edtSchCode = edit(4);
    edtSchPass = edit(6);
    edtSchPass->setEchoMode(QLineEdit::Password);
    edtSchNm = edit();
    edtSchPrsdNm = edit();
    edtSchTel = edit();
    edtSchFax = edit();
    edtSchPost = edit();
    edtSchAddr = edit();
    edtKidNm = edit();
    edtKidPrsdNm = edit();
    edtKidTel = edit();
    edtKidFax = edit();
    edtKidPost = edit();
    edtKidAddr = edit();
    RdoBtn1 = new QRadioButton(QStringLiteral("초등학교"), this);
    RdoBtn2 = new QRadioButton(QStringLiteral("중,고등학교"), this);
    RdoBtn1->setChecked(true);
    chkHakBun5 = new QCheckBox(QStringLiteral("5자리학번 사용"), this);
    chkHakBun6 = new QCheckBox(QStringLiteral("6자리학번 사용"), this);
    auto* modes = new QButtonGroup(this);
    modes->addButton(chkHakBun5);
    modes->addButton(chkHakBun6);
    modes->setExclusive(true);
    BitBtn1 = new QPushButton(QStringLiteral("저장"), this);
    BitBtn2 = new QPushButton(QStringLiteral("닫기"), this);
    btnSeal = new QPushButton(QStringLiteral("직인등록"), this);

    auto* top = new QFormLayout;
    top->addRow(QStringLiteral("업체코드"), edtSchCode);
    top->addRow(QStringLiteral("비밀번호"), edtSchPass);
    auto* kind = new QHBoxLayout;
    kind->addWidget(RdoBtn1);
    kind->addWidget(RdoBtn2);
    kind->addSpacing(20);
    kind->addWidget(chkHakBun5);
    kind->addWidget(chkHakBun6);
    top->addRow(kind);

    auto group = [this](const QString& title, const QList<std::pair<QString, QLineEdit*>>& rows) {
        auto* g = new QGroupBox(title, this);
        auto* f = new QFormLayout(g);
        for (const auto& r : rows)
            f->addRow(r.first, r.second);
        return g;
    };
    auto* sch = group(QStringLiteral("학교"), {{QStringLiteral("학교명"), edtSchNm},
                                               {QStringLiteral("학교장명"), edtSchPrsdNm},
                                               {QStringLiteral("대표전화"), edtSchTel},
                                               {QStringLiteral("팩스번호"), edtSchFax},
                                               {QStringLiteral("우편번호"), edtSchPost},
                                               {QStringLiteral("주소"), edtSchAddr}});
    auto* kid = group(QStringLiteral("유치원"), {{QStringLiteral("유치원명"), edtKidNm},
                                                 {QStringLiteral("유치원장명"), edtKidPrsdNm},
                                                 {QStringLiteral("대표전화"), edtKidTel},
                                                 {QStringLiteral("팩스번호"), edtKidFax},
                                                 {QStringLiteral("우편번호"), edtKidPost},
                                                 {QStringLiteral("주소"), edtKidAddr}});
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnSeal);
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* main = new QVBoxLayout(this);
    main->addLayout(top);
    auto* groups = new QHBoxLayout;
    groups->addWidget(sch);
    groups->addWidget(kid);
    main->addLayout(groups);
    main->addLayout(buttons);

    BitBtn1->setAutoDefault(false);
    BitBtn2->setAutoDefault(false);
    btnSeal->setAutoDefault(false);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnSeal, &QPushButton::clicked, this, [this] { btnSealClick(); });

    FormCreate();
}

QList<QLineEdit*> TFrmF101B00::edits() const {
    return {edtSchCode, edtSchPass, edtSchNm,     edtSchPrsdNm, edtSchTel, edtSchFax,  edtSchPost,
            edtSchAddr, edtKidNm,   edtKidPrsdNm, edtKidTel,    edtKidFax, edtKidPost, edtKidAddr};
}

SchoolValues TFrmF101B00::current() const {
    SchoolValues v;
    const auto e = edits();
    for (int i = 0; i < e.size(); ++i)
        v.texts[i] = e.at(i)->text();
    v.SelctSch = RdoBtn1->isChecked()   ? QStringLiteral("1")
                 : RdoBtn2->isChecked() ? QStringLiteral("2")
                                        : QString();
    v.UxHakB = chkHakBun6->isChecked() ? 6 : chkHakBun5->isChecked() ? 5 : 0;
    return v;
}

void TFrmF101B00::FormCreate() {
    const SchoolRegistration::Loaded l = SchoolRegistration::load();
    rowExists_ = l.rowExists;
    if (!l.keyExisted) {
        snapshot_ = SchoolValues();
        (l.values.UxHakB == 6 ? chkHakBun6 : chkHakBun5)->setChecked(true);
        return;
    }
    if (l.values.SelctSch == QLatin1String("1"))
        RdoBtn1->setChecked(true);
    else if (l.values.SelctSch == QLatin1String("2"))
        RdoBtn2->setChecked(true);
    if (l.values.UxHakB == 5)
        chkHakBun5->setChecked(true);
    else if (l.values.UxHakB == 6)
        chkHakBun6->setChecked(true);
    const auto e = edits();
    for (int i = 0; i < e.size(); ++i)
        e.at(i)->setText(l.values.texts.at(i));
    snapshot_ = l.values;
}

void TFrmF101B00::BitBtn1Click() {
    const SchoolValues now = current();
    QString message;
    const QString bad = SchoolRegistration::validate(now, &message);
    if (!bad.isEmpty()) {
        Msg::error(QStringLiteral("입력요망"), message, this);
        const auto& f = SchoolRegistration::fields();
        for (int i = 0; i < f.size(); ++i)
            if (f.at(i).name == bad) edits().at(i)->setFocus();
        return;
    }
    QString error;
    if (!SchoolRegistration::save(snapshot_, now, rowExists_, &error)) {
        Msg::error(QStringLiteral("오류"), QStringLiteral("학교 정보를 저장하지 못했습니다.\r%1").arg(error),
                   this);
        return;
    }
    if (mainHooks().schoolSaved) mainHooks().schoolSaved();
    Msg::info(QStringLiteral("저장"), QStringLiteral("저장 되었습니다."), this);
    accept();
}

void TFrmF101B00::btnSealClick() {
    FileDialogSpec spec;
    spec.filter = QStringLiteral("Bitmaps(*.bmp)|*.bmp");
    const std::optional<QString> file = FileDialog::pick(spec, this);
    if (!file || file->isEmpty()) return;
    if (SchoolRegistration::registerSeal(*file))
        Msg::info(QStringLiteral("등록작업 완료"), QStringLiteral("학교직인이 등록되었습니다!"), this);
    else
        Msg::error(QStringLiteral("등록작업 오류"),
                   QStringLiteral("학교직인 등록작업중 오류가 발생했습니다!"), this);
}

void TFrmF101B00::keyPressEvent(QKeyEvent* e) {
    // Enter moves on to the next control.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(e);
}
