#include "students/F402B00.h"

#include "data/DMBank.h"
#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Msg.h"
#include "platform/ui/TextViewer.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString kCaption = QStringLiteral("학년,학번 자동변경");

QLineEdit* edit(QWidget* parent, int maxLength, int chars) {
    auto* e = new QLineEdit(parent);
    e->setMaxLength(maxLength);
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QLatin1Char('0')) * chars + 16);
    return e;
}

} // namespace

TFrmF402B00::TFrmF402B00(QWidget* parent) : QWidget(parent) {
    setWindowTitle(kCaption);
    threeDigits_ = SNoLen != 5;
    const int numLen = threeDigits_ ? 3 : 2;

    auto* top = new QHBoxLayout;
    EdtStudt = edit(this, 1, 2);
    BbtnView = new QPushButton(QStringLiteral("조회"), this);
    BbtnFilePartition = new QPushButton(QStringLiteral("파일나누기"), this);
    BbtnFileCollect = new QPushButton(QStringLiteral("파일합치기"), this);
    CbClass = new QComboBox(this);
    CbClass->addItems({QStringLiteral("2 자리"), QStringLiteral("3 자리")});
    CbClass->setCurrentIndex(threeDigits_ ? 1 : 0);
    CbClass->setEnabled(false);
    top->addWidget(new QLabel(QStringLiteral("학년"), this));
    top->addWidget(EdtStudt);
    top->addWidget(BbtnView);
    top->addWidget(BbtnFilePartition);
    top->addWidget(BbtnFileCollect);
    top->addStretch();
    top->addWidget(new QLabel(QStringLiteral("번호자리수"), this));
    top->addWidget(CbClass);

    tabs = new QTabWidget(this);
    auto* single = new QWidget(tabs);
    CBBank = new QComboBox(single);
    CBBank->addItem(QStringLiteral("99.은행없음"));
    if (DMData) DMData->FillBankCombo(CBBank, QString());
    CBBank->setCurrentIndex(0);
    EdtStudt1 = edit(single, 1, 2);
    EdtStudt2 = edit(single, 2, 3);
    EdtStudt3 = edit(single, numLen, numLen + 1);
    arrow = new QLabel(QStringLiteral("->"), single);
    MEdtUpdtStudtNo = new QLineEdit(single);
    MEdtUpdtStudtNo->setInputMask(threeDigits_ ? QStringLiteral("9-99-999;_") : QStringLiteral("9-99-99;_"));
    MEdtUpdtStudtNo->setFixedWidth(
        MEdtUpdtStudtNo->fontMetrics().horizontalAdvance(QStringLiteral("0-00-000")) + 24);
    EdtSex = edit(single, 1, 2);
    EdtSex->setEnabled(threeDigits_);
    EdtNm = new QLineEdit(single);
    EdtNm->setMaxLength(20);
    MedtAcctNo = new QLineEdit(single);
    MedtAcctNo->setMaxLength(15);
    EdtAcctNm = new QLineEdit(single);
    EdtAcctNm->setMaxLength(20);
    RbtnUpdt = new QRadioButton(QStringLiteral("학년변경"), single);
    RbtnAppd = new QRadioButton(QStringLiteral("학년추가"), single);
    RbtnUpdt->setChecked(true);
    BbtnAutoNum = new QPushButton(QStringLiteral("자동번호부여"), single);
    BbtnAutoCls = new QPushButton(QStringLiteral("자동학년부여"), single);
    BbtnOK = new QPushButton(QStringLiteral("저장"), single);
    BbtnCncl = new QPushButton(QStringLiteral("취소"), single);
    BbtnDone = new QPushButton(QStringLiteral("닫기"), single);

    auto* form = new QGridLayout;
    int r = 0;
    form->addWidget(new QLabel(QStringLiteral("은행"), single), r, 0);
    form->addWidget(CBBank, r++, 1, 1, 4);
    form->addWidget(new QLabel(QStringLiteral("학번"), single), r, 0);
    auto* numbers = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(EdtStudt1), static_cast<QWidget*>(EdtStudt2),
                       static_cast<QWidget*>(EdtStudt3), static_cast<QWidget*>(arrow),
                       static_cast<QWidget*>(MEdtUpdtStudtNo)})
        numbers->addWidget(w);
    numbers->addStretch();
    form->addLayout(numbers, r++, 1, 1, 4);
    form->addWidget(new QLabel(QStringLiteral("성별"), single), r, 0);
    auto* sex = new QHBoxLayout;
    sex->addWidget(EdtSex);
    sex->addWidget(new QLabel(QStringLiteral("1.남자  2.여자"), single));
    sex->addStretch();
    form->addLayout(sex, r++, 1, 1, 4);
    form->addWidget(new QLabel(QStringLiteral("성명"), single), r, 0);
    form->addWidget(EdtNm, r++, 1, 1, 4);
    form->addWidget(new QLabel(QStringLiteral("계좌번호"), single), r, 0);
    form->addWidget(MedtAcctNo, r++, 1, 1, 4);
    form->addWidget(new QLabel(QStringLiteral("예금주"), single), r, 0);
    form->addWidget(EdtAcctNm, r++, 1, 1, 4);
    auto* modes = new QHBoxLayout;
    modes->addWidget(RbtnUpdt);
    modes->addWidget(RbtnAppd);
    modes->addStretch();
    form->addLayout(modes, r++, 1, 1, 4);
    auto* buttons = new QGridLayout;
    const QList<QPushButton*> bs{BbtnAutoNum, BbtnAutoCls, BbtnOK, BbtnCncl, BbtnDone};
    for (int i = 0; i < bs.size(); ++i)
        buttons->addWidget(bs.at(i), i / 2, i % 2);
    form->addLayout(buttons, r++, 0, 1, 5);
    form->setRowStretch(r, 1);

    // One title for each of the grade file's fields, in their order.
    const QStringList titles{
        QStringLiteral("고객번호"),   QStringLiteral("학년"),        QStringLiteral("학번"),
        QStringLiteral("성명"),       QStringLiteral("성별"),        QStringLiteral("은행"),
        QStringLiteral("계좌번호"),   QStringLiteral("예금주"),      QStringLiteral("사용"),
        QStringLiteral("전입일"),     QStringLiteral("전출일"),      QStringLiteral("예금주주민번호"),
        QStringLiteral("계좌등록1"),  QStringLiteral("계좌등록2"),   QStringLiteral("계좌등록일"),
        QStringLiteral("휴대폰번호"), QStringLiteral("SMS수신여부"), QStringLiteral("학생주민번호")};
    Q_ASSERT(titles.size() == GradeFiles::kFields.size());
    auto grid = [&](QWidget* parent) {
        auto* g = new QTableWidget(0, int(GradeFiles::kFields.size()), parent);
        g->setHorizontalHeaderLabels(titles);
        g->verticalHeader()->setDefaultSectionSize(g->fontMetrics().height() + 6);
        return g;
    };
    DBGrid2 = grid(single);
    DBGrid2->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid2->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid2->setSelectionMode(QAbstractItemView::SingleSelection);
    auto* singleLayout = new QHBoxLayout(single);
    singleLayout->addLayout(form);
    singleLayout->addWidget(DBGrid2, 1);
    tabs->addTab(single, QStringLiteral("개별입력"));

    auto* list = new QWidget(tabs);
    DBGrid1 = grid(list);
    auto* listLayout = new QVBoxLayout(list);
    listLayout->addWidget(DBGrid1);
    tabs->addTab(list, QStringLiteral("조회"));

    auto* v = new QVBoxLayout(this);
    v->addLayout(top);
    v->addWidget(tabs, 1);

    connect(BbtnView, &QPushButton::clicked, this, &TFrmF402B00::BbtnViewClick);
    connect(BbtnFilePartition, &QPushButton::clicked, this, &TFrmF402B00::BbtnFilePartitionClick);
    connect(BbtnFileCollect, &QPushButton::clicked, this, &TFrmF402B00::BbtnFileCollectClick);
    connect(BbtnAutoNum, &QPushButton::clicked, this, &TFrmF402B00::BbtnAutoNumClick);
    connect(BbtnAutoCls, &QPushButton::clicked, this, &TFrmF402B00::BbtnAutoClsClick);
    connect(BbtnOK, &QPushButton::clicked, this, &TFrmF402B00::BbtnOKClick);
    connect(BbtnCncl, &QPushButton::clicked, this, &TFrmF402B00::BbtnCnclClick);
    connect(BbtnDone, &QPushButton::clicked, this, &QWidget::close);
    connect(DBGrid2, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { DBGrid2DblClick(row); });
    connect(DBGrid1, &QTableWidget::cellChanged, this, &TFrmF402B00::cellEdited);
    connect(RbtnUpdt, &QRadioButton::toggled, this, &TFrmF402B00::modeChanged);
    for (QWidget* w :
         {static_cast<QWidget*>(EdtStudt), static_cast<QWidget*>(CBBank), static_cast<QWidget*>(EdtStudt1),
          static_cast<QWidget*>(EdtStudt2), static_cast<QWidget*>(EdtStudt3),
          static_cast<QWidget*>(MEdtUpdtStudtNo), static_cast<QWidget*>(EdtSex), static_cast<QWidget*>(EdtNm),
          static_cast<QWidget*>(MedtAcctNo), static_cast<QWidget*>(EdtAcctNm)})
        w->installEventFilter(this);
    modeChanged();
}

void TFrmF402B00::modeChanged() {
    const bool change = RbtnUpdt->isChecked();
    arrow->setVisible(change);
    MEdtUpdtStudtNo->setVisible(change);
}

QString TFrmF402B00::pad(const QString& t, int len) const {
    const QString s = t.trimmed();
    bool number = false;
    const int n = s.toInt(&number);
    return number ? QStringLiteral("%1").arg(n, len, 10, QLatin1Char('0')) : s;
}

QString TFrmF402B00::typedSNo() const {
    return EdtStudt1->text().trimmed() + EdtStudt2->text().trimmed() + EdtStudt3->text().trimmed();
}

bool TFrmF402B00::eventFilter(QObject* o, QEvent* e) {
    if (e->type() != QEvent::KeyPress) return QWidget::eventFilter(o, e);
    const int k = static_cast<QKeyEvent*>(e)->key();
    if (k != Qt::Key_Return && k != Qt::Key_Enter) return QWidget::eventFilter(o, e);
    const int numLen = threeDigits_ ? 3 : 2;
    if (o == EdtStudt) {
        if (EdtStudt->text().trimmed().isEmpty())
            Msg::error(QStringLiteral("학년입력오류"), QStringLiteral("학년을 입력하세요!"), this);
        else
            BbtnViewClick();
    } else if (o == CBBank) {
        EdtStudt1->setFocus();
    } else if (o == EdtStudt1) {
        EdtStudt2->setFocus();
    } else if (o == EdtStudt2) {
        EdtStudt2->setText(pad(EdtStudt2->text(), 2));
        EdtStudt3->setFocus();
    } else if (o == EdtStudt3) {
        if (EdtStudt3->text().trimmed().isEmpty()) {
            MEdtUpdtStudtNo->setFocus();
        } else {
            EdtStudt3->setText(pad(EdtStudt3->text(), numLen));
            showStudent();
            (RbtnUpdt->isChecked() ? static_cast<QWidget*>(MEdtUpdtStudtNo) : EdtNm)->setFocus();
        }
    } else if (o == MEdtUpdtStudtNo) {
        (EdtSex->isEnabled() ? EdtSex : EdtNm)->setFocus();
    } else if (o == EdtSex) {
        EdtNm->setFocus();
    } else if (o == EdtNm) {
        MedtAcctNo->setFocus();
    } else if (o == MedtAcctNo) {
        const QString acct = MedtAcctNo->text().trimmed();
        if (acct.isEmpty() || (DMBankLib && DMBankLib->CheckAcctNo(CBBank->currentText().left(2), acct)))
            EdtAcctNm->setFocus();
        else
            MedtAcctNo->clear();
    } else if (o == EdtAcctNm) {
        BbtnOK->setFocus();
    } else {
        return QWidget::eventFilter(o, e);
    }
    return true;
}

void TFrmF402B00::fillGrid(QTableWidget* g, bool editable) {
    filling_ = true;
    g->setRowCount(int(rows_.size()));
    for (int r = 0; r < rows_.size(); ++r)
        for (int c = 0; c < GradeFiles::kFields.size(); ++c) {
            auto* it = new QTableWidgetItem(rows_.at(r).at(c));
            // The payer number is the row's key: never edited in place.
            if (!editable || c == GradeFiles::CustNo) it->setFlags(it->flags() & ~Qt::ItemIsEditable);
            g->setItem(r, c, it);
        }
    filling_ = false;
}

void TFrmF402B00::reload() {
    QString error;
    rows_ = grade_ ? GradeFiles::rows(grade_, &error) : QList<GradeFiles::Row>();
    if (!error.isEmpty()) {
        Msg::error(kCaption, error, this);
        grade_ = 0;
    }
    fillGrid(DBGrid2, false);
    fillGrid(DBGrid1, true);
}

void TFrmF402B00::BbtnViewClick() {
    bool digit = false;
    const int g = EdtStudt->text().trimmed().toInt(&digit);
    if (!digit || g < 1 || g > GradeFiles::kGrades) {
        Msg::error(QStringLiteral("학년입력오류"), QStringLiteral("학년을 입력하세요!"), this);
        return;
    }
    if (!GradeFiles::exists(g)) {
        Msg::error(kCaption, QStringLiteral("Studt%1.db 파일이 없습니다. 파일나누기를 먼저 하십시오.").arg(g),
                   this);
        return;
    }
    grade_ = g;
    current_.clear();
    reload();
}

void TFrmF402B00::BbtnFilePartitionClick() {
    QString error;
    if (!GradeFiles::split(&error)) {
        Msg::error(QStringLiteral("학년별화일나누기"), error, this);
        return;
    }
    Msg::info(QStringLiteral("학년별화일나누기"), QStringLiteral("파일 나누기가 완료되었습니다!"), this);
    if (grade_) reload();
}

void TFrmF402B00::BbtnFileCollectClick() {
    const QString caption = QStringLiteral("학년별파일합치기");
    const GradeFiles::MergePlan p = GradeFiles::plan();
    if (!p.error.isEmpty()) {
        Msg::error(caption, p.error, this);
        return;
    }
    const auto refuseShared = [&](const QStringList& duplicates) {
        Msg::error(caption, GradeFiles::sharedNumbersText(duplicates), this);
        TextViewer::showText(caption, duplicates.join(QLatin1Char('\n')), this);
    };
    if (!p.duplicates.isEmpty()) {
        refuseShared(p.duplicates);
        return;
    }
    const QString question =
        QStringLiteral(
            "학년별 파일을 학생명부에 합치시겠습니까?\r수정 %1명, 추가 %2명, 합칠 수 없는 자료 %3건\r"
            "합치기 전에 자료백업을 합니다.")
            .arg(p.updates.size())
            .arg(p.additions.size())
            .arg(p.refused.size());
    if (!Msg::askYesNo(caption, question, this, MsgIcon::Question, true)) return;
    const GradeFiles::BackedMerge r = GradeFiles::backupAndMerge(p);
    if (r.backupFailed) {
        Msg::error(QStringLiteral("백업실패"),
                   QStringLiteral("자료백업을 하지 못하여 파일을 합치지 않았습니다.\r") + r.error, this);
        return;
    }
    if (!r.duplicates.isEmpty()) {
        refuseShared(r.duplicates);
        return;
    }
    if (!r.ok) {
        Msg::error(caption,
                   QStringLiteral("파일 합치기 중 오류가 발생하여 학생명부를 바꾸지 않았습니다.\r") + r.error,
                   this);
        return;
    }
    grade_ = 0;
    current_.clear();
    reload();
    Msg::info(caption, QStringLiteral("파일 합치기가 완료되었습니다!!"), this);
    if (!r.report.isEmpty()) TextViewer::showText(caption, r.report.join(QLatin1Char('\n')), this);
}

void TFrmF402B00::BbtnAutoNumClick() {
    if (!grade_) return;
    QString error;
    if (!GradeFiles::autoNumber(grade_, threeDigits_, &error)) {
        Msg::error(kCaption, error, this);
        return;
    }
    Msg::info(QStringLiteral("변환완료"), QStringLiteral("자동번호부여가 완료되었습니다!!"), this);
    reload();
}

void TFrmF402B00::BbtnAutoClsClick() {
    if (!grade_) return;
    const bool up = Msg::askYesNo(QStringLiteral("학년변경"),
                                  QStringLiteral("학년을 올리시겠습니까?(Y) 또는 내리시겠습니까(N)?"), this);
    QString error;
    if (!GradeFiles::moveGrade(grade_, up, &error)) {
        Msg::error(kCaption, error, this);
        return;
    }
    Msg::info(QStringLiteral("변환완료"), QStringLiteral("자동 학년 변경이 완료되었습니다!!"), this);
    reload();
}

void TFrmF402B00::showStudent() {
    if (!grade_) return;
    const std::optional<GradeFiles::Row> r = GradeFiles::findBySNo(grade_, typedSNo());
    if (!r) {
        current_.clear();
        EdtNm->clear();
        MedtAcctNo->clear();
        EdtAcctNm->clear();
        return;
    }
    current_ = r->at(GradeFiles::CustNo);
    EdtSex->setText(r->at(GradeFiles::Sex));
    EdtNm->setText(r->at(GradeFiles::Nm));
    MedtAcctNo->setText(r->at(GradeFiles::AcctNo));
    EdtAcctNm->setText(r->at(GradeFiles::Owr));
    const QString bank = r->at(GradeFiles::BankCd);
    for (int i = 0; i < CBBank->count(); ++i)
        if (CBBank->itemText(i).startsWith(bank + QLatin1Char('.'))) CBBank->setCurrentIndex(i);
}

void TFrmF402B00::DBGrid2DblClick(int row) {
    if (row < 0 || row >= rows_.size()) return;
    const GradeFiles::Row& r = rows_.at(row);
    const QString bank = r.at(GradeFiles::BankCd);
    for (int i = 0; i < CBBank->count(); ++i)
        if (CBBank->itemText(i).startsWith(bank + QLatin1Char('.'))) CBBank->setCurrentIndex(i);
    const QString sNo = r.at(GradeFiles::SNo);
    EdtStudt1->setText(sNo.left(1));
    EdtStudt2->setText(sNo.mid(1, 2));
    EdtStudt3->setText(sNo.mid(3, EdtStudt3->maxLength()));
    EdtSex->setText(r.at(GradeFiles::Sex));
    MEdtUpdtStudtNo->clear();
    showStudent();
    // The row chosen is the one a change saves, even when its number is shared.
    current_ = r.at(GradeFiles::CustNo);
}

void TFrmF402B00::BbtnCnclClick() {
    showStudent();
}

void TFrmF402B00::BbtnOKClick() {
    if (!grade_) return;
    GradeFiles::Entry e{EdtSex->text().trimmed(), EdtNm->text().trimmed(), CBBank->currentText().left(2),
                        MedtAcctNo->text().trimmed(), EdtAcctNm->text().trimmed()};
    QString error;
    bool ok = true;
    if (RbtnUpdt->isChecked()) {
        if (current_.isEmpty()) return; // no student found: nothing to change
        QString newSNo = MEdtUpdtStudtNo->text();
        newSNo.remove(QLatin1Char('-')).remove(QLatin1Char('_')).remove(QLatin1Char(' '));
        if (newSNo.size() != (threeDigits_ ? 6 : 5)) {
            Msg::error(QStringLiteral("저장오류"), QStringLiteral("바꿀 학번을 모두 입력하세요."), this);
            MEdtUpdtStudtNo->setFocus();
            return;
        }
        ok = GradeFiles::change(grade_, current_, newSNo, e, &error);
    } else {
        ok = GradeFiles::add(grade_, typedSNo(), e, nullptr, &error);
    }
    if (!ok) {
        Msg::error(QStringLiteral("저장오류"), QStringLiteral("저장이 안되었습니다!\r") + error, this);
        return;
    }
    reload();
    if (!EdtStudt3->text().trimmed().isEmpty()) {
        const int len = threeDigits_ ? 3 : 2;
        EdtStudt3->setText(
            QStringLiteral("%1").arg(EdtStudt3->text().trimmed().toInt() + 1, len, 10, QLatin1Char('0')));
        MEdtUpdtStudtNo->clear();
        showStudent();
    }
    EdtStudt3->setFocus();
}

void TFrmF402B00::cellEdited(int row, int col) {
    if (filling_ || row >= rows_.size()) return;
    QString error;
    const QString value = DBGrid1->item(row, col)->text();
    if (!GradeFiles::setCell(grade_, rows_.at(row).at(GradeFiles::CustNo), col, value, &error)) {
        Msg::error(QStringLiteral("저장오류"), QStringLiteral("저장이 안되었습니다!\r") + error, this);
        filling_ = true;
        DBGrid1->item(row, col)->setText(rows_.at(row).at(col));
        filling_ = false;
        return;
    }
    rows_[row][col] = value.trimmed();
    fillGrid(DBGrid2, false);
}

namespace {
const FormRegistrar registrar(FormEntry{QStringLiteral("F402B00"), kCaption, FormEntry::Mode::WorkWindow,
                                        [](QWidget* parent) -> QWidget* { return new TFrmF402B00(parent); }});
} // namespace
