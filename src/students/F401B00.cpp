#include "students/F401B00.h"

#include "data/DMModule.h"
#include "platform/ui/Cp949Validator.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Msg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const FormRegistrar g_reg(FormEntry{QStringLiteral("F401B00"), QStringLiteral("개별학년변경"),
                                    FormEntry::Mode::Dialog,
                                    [](QWidget* parent) -> QWidget* { return new TFrmF401B00(parent); }});

const QString kNavCaption = QStringLiteral("개발학년반변경");

QString digits(const QLineEdit* e) {
    QString t = e->inputMask().isEmpty() ? e->text() : e->displayText();
    t.remove(QLatin1Char('-'));
    return t.trimmed();
}

} // namespace

TFrmF401B00::TFrmF401B00(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmF401B00"));
    setWindowTitle(QStringLiteral("개별학년변경"));
    const QString mask = SNoLen == 5 ? QStringLiteral("9-99-99; ") : QStringLiteral("9-99-999; ");
    edtSchLvl = new QLineEdit(this);
    edtSchLvl->setMaxLength(2);
    medtSrcStudtNo = new QLineEdit(this);
    medtSrcStudtNo->setInputMask(mask);
    medtSrcStudtNo->setReadOnly(true);
    medtDesStudtNo = new QLineEdit(this);
    medtDesStudtNo->setInputMask(mask);
    edtStudtNm = new QLineEdit(this);
    Cp949Validator::limit(edtStudtNm, 20);
    BbtnFirst = new QPushButton(QStringLiteral("처음"), this);
    BbtnPrev = new QPushButton(QStringLiteral("이전"), this);
    BbtnNext = new QPushButton(QStringLiteral("다음"), this);
    BbtnLast = new QPushButton(QStringLiteral("마지막"), this);
    bbtnSave = new QPushButton(QStringLiteral("변경"), this);
    bbtnExlSave = new QPushButton(QStringLiteral("불러오기"), this);
    bbtnDone = new QPushButton(QStringLiteral("닫기"), this);

    auto* g = new QGridLayout;
    g->addWidget(new QLabel(QStringLiteral("작업대상학년"), this), 0, 0);
    auto* lvl = new QHBoxLayout;
    lvl->addWidget(edtSchLvl);
    lvl->addWidget(new QLabel(QStringLiteral("학년"), this));
    lvl->addStretch();
    g->addLayout(lvl, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("현재학번"), this), 1, 0);
    g->addWidget(medtSrcStudtNo, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("변경학번"), this), 2, 0);
    g->addWidget(medtDesStudtNo, 2, 1);
    g->addWidget(new QLabel(QStringLiteral("성명"), this), 3, 0);
    g->addWidget(edtStudtNm, 3, 1);
    auto* nav = new QHBoxLayout;
    for (QPushButton* b : {BbtnFirst, BbtnPrev, BbtnNext, BbtnLast}) nav->addWidget(b);
    auto* act = new QHBoxLayout;
    for (QPushButton* b : {bbtnSave, bbtnExlSave, bbtnDone}) act->addWidget(b);
    auto* main = new QVBoxLayout(this);
    main->addLayout(g);
    main->addLayout(nav);
    main->addLayout(act);

    connect(edtSchLvl, &QLineEdit::editingFinished, this, &TFrmF401B00::edtSchLvlExit);
    for (QLineEdit* e : {medtSrcStudtNo, medtDesStudtNo})
        connect(e, &QLineEdit::editingFinished, this, [e] {
            const QString n = NormSNo(SNoLen, digits(e));
            if (!n.isEmpty()) e->setText(n);
        });
    connect(BbtnFirst, &QPushButton::clicked, this, &TFrmF401B00::BbtnFirstClick);
    connect(BbtnPrev, &QPushButton::clicked, this, &TFrmF401B00::BbtnPrevClick);
    connect(BbtnNext, &QPushButton::clicked, this, &TFrmF401B00::BbtnNextClick);
    connect(BbtnLast, &QPushButton::clicked, this, &TFrmF401B00::BbtnLastClick);
    connect(bbtnSave, &QPushButton::clicked, this, &TFrmF401B00::bbtnSaveClick);
    connect(bbtnExlSave, &QPushButton::clicked, this, &TFrmF401B00::bbtnExlSaveClick);
    connect(bbtnDone, &QPushButton::clicked, this, &QDialog::reject);
    for (QWidget* w : findChildren<QLineEdit*>()) w->installEventFilter(this);
}

bool TFrmF401B00::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int k = static_cast<QKeyEvent*>(event)->key();
        if (k == Qt::Key_Return || k == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString TFrmF401B00::newNumber() const { return digits(medtDesStudtNo); }

void TFrmF401B00::edtSchLvlExit() {
    if (edtSchLvl->text().trimmed().isEmpty()) return;
    students_ = SnoChange::gradeStudents(edtSchLvl->text());
    open_ = true;
    pos_ = 0;
    showStudent();
}

void TFrmF401B00::showStudent() {
    const bool has = pos_ >= 0 && pos_ < students_.size();
    medtSrcStudtNo->setText(has ? students_.at(pos_).sNo : QString());
    edtStudtNm->setText(has ? students_.at(pos_).nm : QString());
    medtDesStudtNo->clear();
}

void TFrmF401B00::BbtnFirstClick() {
    if (pos_ <= 0) Msg::info(kNavCaption, QStringLiteral("처음학생입니다"), this);
    pos_ = 0;
    showStudent();
}

void TFrmF401B00::BbtnPrevClick() {
    if (pos_ <= 0) Msg::info(kNavCaption, QStringLiteral("처음학생입니다"), this);
    pos_ = qMax(0, pos_ - 1);
    showStudent();
}

void TFrmF401B00::BbtnNextClick() {
    if (pos_ >= students_.size() - 1) Msg::info(kNavCaption, QStringLiteral("마지막학생입니다"), this);
    pos_ = qMin(int(students_.size()) - 1, pos_ + 1);
    showStudent();
}

void TFrmF401B00::BbtnLastClick() {
    if (pos_ >= students_.size() - 1) Msg::info(kNavCaption, QStringLiteral("마지막학생입니다"), this);
    pos_ = int(students_.size()) - 1;
    showStudent();
}

void TFrmF401B00::bbtnSaveClick() {
    if (!open_) return;
    const QString sNo = newNumber();
    if (sNo.isEmpty()) {
        Msg::error(QStringLiteral("학번입력오류"), QStringLiteral("학번을 입력하세요!"), this);
        medtDesStudtNo->setFocus();
        return;
    }
    if (pos_ >= 0 && pos_ < students_.size()) {
        QString error;
        switch (SnoChange::change(students_.at(pos_).custNo, sNo, edtStudtNm->text().trimmed(), &error)) {
        case SnoChange::Outcome::Taken:
            Msg::error(QStringLiteral("학년반변경"), QStringLiteral("존재하는 학번입니다"), this);
            return;
        case SnoChange::Outcome::Changed:
            break;
        case SnoChange::Outcome::Refused:
            Msg::error(QStringLiteral("입력오류"), error, this);
            return;
        default:
            Msg::error(QStringLiteral("저장오류"), QStringLiteral("저장이 안되었습니다!\r") + error, this);
            return;
        }
    }
    BbtnNextClick();
    medtDesStudtNo->setFocus();
}

void TFrmF401B00::bbtnExlSaveClick() { SnoChange::importWithDialogs(this); }
