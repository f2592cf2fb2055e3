#include "basic/T203B00.h"

#include "basic/ToolActions.h"
#include "platform/ui/FormRegistry.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const FormRegistrar g_reg(FormEntry{QStringLiteral("T203B00"), QStringLiteral("학생일괄삭제"),
                                    FormEntry::Mode::Dialog,
                                    [](QWidget* parent) -> QWidget* { return new TFrmT203B00(parent); }});

} // namespace

TFrmT203B00::TFrmT203B00(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmT203B00"));
    setWindowTitle(QStringLiteral("학생일괄삭제"));
    EdtStudtNo = new QLineEdit(QStringLiteral("6"), this);
    EdtStudtNo->setObjectName(QStringLiteral("EdtStudtNo"));
    EdtStudtNo->setMaxLength(2);
    EdtStudtNo->setFixedWidth(40);
    bbtnRun = new QPushButton(QStringLiteral("실행"), this);
    bbtnDone = new QPushButton(QStringLiteral("닫기"), this);
    auto* grade = new QHBoxLayout;
    grade->addWidget(new QLabel(QStringLiteral("대상학년"), this));
    grade->addWidget(EdtStudtNo);
    grade->addWidget(new QLabel(QStringLiteral("학년"), this));
    grade->addStretch();
    auto* steps = new QVBoxLayout;
    const char16_t* names[3] = {u"면제등록학생삭제", u"그룹등록학생삭제", u"학생기본정보삭제"};
    for (int i = 0; i < 3; ++i) {
        Steps[i] = new QLabel(QString::fromUtf16(names[i]), this);
        steps->addWidget(Steps[i]);
    }
    GaugeMain = new QProgressBar(this);
    GaugeMain->setRange(0, 3);
    GaugeMain->setValue(0);
    GaugeSub = new QProgressBar(this);
    GaugeSub->setRange(0, 1);
    GaugeSub->setValue(0);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bbtnRun);
    buttons->addWidget(bbtnDone);
    auto* main = new QVBoxLayout(this);
    main->addLayout(grade);
    main->addLayout(steps);
    main->addWidget(GaugeMain);
    main->addWidget(GaugeSub);
    main->addLayout(buttons);
    resize(320, 240);

    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setInterval(100);
    connect(bbtnRun, &QPushButton::clicked, this, &TFrmT203B00::bbtnRunClick);
    connect(bbtnDone, &QPushButton::clicked, this, &QDialog::reject);
    connect(Timer1, &QTimer::timeout, this, &TFrmT203B00::Timer1Timer);
}

void TFrmT203B00::bbtnRunClick() {
    const std::optional<QStringList> custNos = ToolActions::askGrade(EdtStudtNo->text(), this);
    if (!custNos) return;
    GaugeSub->setRange(0, qMax(1, int(custNos->size())));
    GaugeSub->setValue(0);
    GaugeMain->setValue(0);
    bbtnRun->setEnabled(false);
    Timer1->start();
}

void TFrmT203B00::stepState(int step, bool done) {
    QFont f = Steps[step - 1]->font();
    f.setBold(true);
    Steps[step - 1]->setFont(f);
    if (done) Steps[step - 1]->setStyleSheet(QStringLiteral("color: blue"));
}

void TFrmT203B00::Timer1Timer() {
    Timer1->stop();
    int current = 0;
    const BulkDelete::GradeResult r =
        ToolActions::runGrade(EdtStudtNo->text(), this, [this, &current](int step, int done, int total) {
            if (step != current) {
                if (current > 0) {
                    stepState(current, true);
                    GaugeMain->setValue(current);
                }
                current = step;
                stepState(step, false);
                GaugeSub->setValue(0);
            }
            GaugeSub->setValue(step == 3 ? GaugeSub->maximum() : qMin(done, total));
            if (done == total || done % 64 == 0)
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    if (r.ok && current > 0) {
        stepState(current, true);
        GaugeMain->setValue(3);
    }
    bbtnRun->setEnabled(true);
}
