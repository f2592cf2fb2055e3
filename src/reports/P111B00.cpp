#include "reports/P111B00.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/settings/Registry.h"
#include "platform/sys/Clock.h"
#include "platform/ui/Cp949Validator.h"
#include "platform/ui/FormRegistry.h"
#include "reports/EduCertificate.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>

TFrmP111B00* FrmP111B00 = nullptr;

namespace {

const FormRegistrar registrar(FormEntry{QStringLiteral("P111B00"), QStringLiteral("교육비납입증명서"),
                                        FormEntry::Mode::WorkWindow,
                                        [](QWidget* parent) -> QWidget* { return new TFrmP111B00(parent); }});

QLineEdit* textEdit(QWidget* parent, const char* name, int bytes) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    Cp949Validator::limit(e, bytes);
    return e;
}

} // namespace

TFrmP111B00::TFrmP111B00(QWidget* parent) : TYearEndForm(QStringLiteral("certificate"), parent) {
    FrmP111B00 = this;
    setObjectName(QStringLiteral("TFrmP111B00"));
    precheck = EduCertificate::check;
    bbtnSearch->setText(QStringLiteral("조회"));
    const int year = Clock::today().year();

    auto* row1 = new QHBoxLayout;
    auto* sel = new QGroupBox(QStringLiteral("조회조건"), this);
    auto* sl = new QGridLayout(sel);
    cboYear = new QComboBox(sel);
    cboYear->setObjectName(QStringLiteral("cboYear"));
    for (int y = year - 3; y <= year + 1; ++y)
        cboYear->addItem(QString::number(y));
    cboYear->addItem(QString());
    cboYear->setCurrentIndex(3);
    SHakEdit = new QLineEdit(sel);
    SBanEdit = new QLineEdit(sel);
    SBunEdit = new QLineEdit(sel);
    const QList<std::pair<QLineEdit*, int>> sno{{SHakEdit, 1}, {SBanEdit, 2}, {SBunEdit, SNoLen - 3}};
    const char* names[] = {"SHakEdit", "SBanEdit", "SBunEdit"};
    for (int i = 0; i < 3; ++i) {
        sno[i].first->setObjectName(QString::fromLatin1(names[i]));
        Cp949Validator::limit(sno[i].first, sno[i].second, true);
        sno[i].first->setMaximumWidth(18 + 9 * sno[i].second);
    }
    sl->addWidget(new QLabel(QStringLiteral("년도"), sel), 0, 0);
    sl->addWidget(cboYear, 0, 1);
    auto* snoRow = new QHBoxLayout;
    snoRow->addWidget(SHakEdit);
    snoRow->addWidget(SBanEdit);
    snoRow->addWidget(SBunEdit);
    snoRow->addStretch();
    sl->addWidget(new QLabel(QStringLiteral("학    번"), sel), 1, 0);
    sl->addLayout(snoRow, 1, 1);
    row1->addWidget(sel);

    const auto groupBox = [this](const QString& title, QComboBox* combo, QListWidget** list,
                                 QPushButton** all, const QString& suffix) {
        auto* box = new QGroupBox(title, this);
        auto* bl = new QGridLayout(box);
        *list = itemList(box, QStringLiteral("CLbNCd_item") + suffix);
        *all = new QPushButton(QStringLiteral("All"), box);
        (*all)->setObjectName(QStringLiteral("BBtnCheckAll") + suffix);
        bl->addWidget(new QLabel(QStringLiteral("항목그룹"), box), 0, 0);
        bl->addWidget(combo, 0, 1);
        bl->addWidget(new QLabel(QStringLiteral("대상항목"), box), 1, 0);
        bl->addWidget(*list, 1, 1, 2, 1);
        bl->addWidget(*all, 2, 0);
        return box;
    };
    cboGroup_2 = new QComboBox(this);
    cboGroup_2->setObjectName(QStringLiteral("cboGroup_2"));
    row1->addWidget(groupBox(QStringLiteral("항목그룹 1"), cboGroup, &CLbNCd_item, &BBtnCheckAll, QString()));
    row1->addWidget(groupBox(QStringLiteral("항목그룹 2"), cboGroup_2, &CLbNCd_item_2, &BBtnCheckAll_2,
                             QStringLiteral("_2")));

    auto* quarters = new QGroupBox(QStringLiteral("항목명"), this);
    auto* ql = new QGridLayout(quarters);
    for (int k = 0; k < 4; ++k) {
        const QString n = QString::number(k + 1);
        EdtS_nm[k] = textEdit(quarters, "", 30);
        EdtS_nm[k]->setObjectName(QStringLiteral("EdtS%1_nm").arg(n));
        EdtS_nm[k]->setText(QStringLiteral("납입금"));
        EdtS_nm[k]->setMaximumWidth(110);
        DTP_s[k] = dateEdit(quarters, QStringLiteral("DTP_s%1_s").arg(n));
        DTP_e[k] = dateEdit(quarters, QStringLiteral("DTP_s%1_e").arg(n));
        ql->addWidget(new QLabel(n + QStringLiteral("분기"), quarters), k, 0);
        ql->addWidget(EdtS_nm[k], k, 1);
        ql->addWidget(DTP_s[k], k, 2);
        ql->addWidget(new QLabel(QStringLiteral("~"), quarters), k, 3);
        ql->addWidget(DTP_e[k], k, 4);
    }
    row1->addWidget(quarters);
    row1->addStretch();
    panel->addLayout(row1);

    auto* row2 = new QHBoxLayout;
    auto* earner = new QGroupBox(QStringLiteral("소득자"), this);
    auto* el = new QGridLayout(earner);
    edtPNm = textEdit(earner, "edtPNm", 20);
    edtPAddr = textEdit(earner, "edtPAddr", 80);
    edtCompany = textEdit(earner, "edtCompany", 40);
    edtPJumin = textEdit(earner, "edtPJumin", 20);
    el->addWidget(new QLabel(QStringLiteral("성   명"), earner), 0, 0);
    el->addWidget(edtPNm, 0, 1);
    el->addWidget(new QLabel(QStringLiteral("주민등록번호(납세번호)"), earner), 0, 2);
    el->addWidget(edtPJumin, 0, 3);
    el->addWidget(new QLabel(QStringLiteral("주   소"), earner), 1, 0);
    el->addWidget(edtPAddr, 1, 1);
    el->addWidget(new QLabel(QStringLiteral("근무처"), earner), 1, 2);
    el->addWidget(edtCompany, 1, 3);
    row2->addWidget(earner, 3);
    auto* student = new QGroupBox(QStringLiteral("대상학생"), this);
    auto* stl = new QGridLayout(student);
    edtSchNm = textEdit(student, "edtSchNm", 40);
    edtSchNm->setEnabled(false);
    edtAddr = textEdit(student, "edtAddr", 80);
    edtRelation = textEdit(student, "edtRelation", 20);
    stl->addWidget(new QLabel(QStringLiteral("학교명"), student), 0, 0);
    stl->addWidget(edtSchNm, 0, 1);
    stl->addWidget(new QLabel(QStringLiteral("소득자와의관계"), student), 0, 2);
    stl->addWidget(edtRelation, 0, 3);
    stl->addWidget(new QLabel(QStringLiteral("소재지"), student), 1, 0);
    stl->addWidget(edtAddr, 1, 1, 1, 3);
    row2->addWidget(student, 2);
    panel->addLayout(row2);

    ownToggle(CLbNCd_item, BBtnCheckAll);
    ownToggle(CLbNCd_item_2, BBtnCheckAll_2);
    if (DMData) DMData->FillGroupCombo(cboGroup_2, QStringLiteral("00"));
    cboGroup_2->setCurrentIndex(cboGroup_2->count() > 1 ? 1 : -1);
    connect(cboGroup, &QComboBox::activated, this,
            [this](int) { fillItems(CLbNCd_item, cboGroup->currentText().left(2)); });
    connect(cboGroup_2, &QComboBox::activated, this,
            [this](int) { fillItems(CLbNCd_item_2, cboGroup_2->currentText().left(2)); });
    connect(cboYear, &QComboBox::currentIndexChanged, this, &TFrmP111B00::cboYearChange);
    connect(bbtnSearch, &QPushButton::clicked, this, &TFrmP111B00::searched);
    fillItems(CLbNCd_item, cboGroup->currentText().left(2));
    fillItems(CLbNCd_item_2, cboGroup_2->currentIndex() < 0 ? QString() : cboGroup_2->currentText().left(2));
    cboYearChange();
    setColumns({QStringLiteral("학번"), QStringLiteral("학생명"), QStringLiteral("납부년월일"),
                QStringLiteral("분기"), QStringLiteral("항목명"), QStringLiteral("금액"),
                QStringLiteral("학생주민번호")},
               {70, 80, 80, 70, 100, 90, 90});
    // The amounts may be corrected before printing.
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::AnyKeyPressed);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
}

TFrmP111B00::~TFrmP111B00() {
    if (FrmP111B00 == this) FrmP111B00 = nullptr;
}

void TFrmP111B00::cboYearChange() {
    const QString t = cboYear->currentText();
    if (t.size() != 4) return;
    for (int k = 0; k < 4; ++k) {
        DTP_s[k]->setDate(YearEndTax::quarterStart(t.toInt(), k + 1));
        DTP_e[k]->setDate(YearEndTax::quarterEnd(t.toInt(), k + 1));
    }
}

void TFrmP111B00::fillExtra(ReportSelection& s) const {
    s.hak1 = SHakEdit->text();
    s.ban1 = SBanEdit->text();
    s.bun1 = SBunEdit->text();
    s.hak2 = s.ban2 = s.bun2 = QString();
    s.itemIds = checkedIds(CLbNCd_item).split(QLatin1Char(','), Qt::SkipEmptyParts);
    s.extra.insert(QStringLiteral("year"), cboYear->currentText().trimmed());
    s.extra.insert(QStringLiteral("group2"),
                   cboGroup_2->currentIndex() < 0 ? QString() : cboGroup_2->currentText().left(2));
    s.extra.insert(QStringLiteral("items2"), checkedIds(CLbNCd_item_2));
    for (int k = 0; k < 4; ++k) {
        const QString n = QString::number(k + 1);
        s.extra.insert(QLatin1Char('n') + n, EdtS_nm[k]->text());
        s.extra.insert(QLatin1Char('q') + n + QLatin1Char('s'), dateDigits(DTP_s[k]));
        s.extra.insert(QLatin1Char('q') + n + QLatin1Char('e'), dateDigits(DTP_e[k]));
    }
}

void TFrmP111B00::searched() {
    // The school's name as the registry holds it; the certificate's issuer
    // line is fixed now for the prints that follow.
    if (listing().rows.isEmpty()) return;
    edtSchNm->setText(Registry::readString(QStringLiteral("SchoolInfo"), QStringLiteral("SchNm")));
    issuer_ = ReportSelect::schoolName();
}

QList<QStringList> TFrmP111B00::gridCells() const {
    QList<QStringList> rows;
    for (int r = 0; r < grid->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid->columnCount(); ++c)
            cells << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
        rows << cells;
    }
    return rows;
}

void TFrmP111B00::print() {
    if (!grid->item(0, 0) || grid->item(0, 0)->text().isEmpty()) return;
    CertificateTexts t;
    t.pNm = edtPNm->text();
    t.pJumin = edtPJumin->text();
    t.pAddr = edtPAddr->text();
    t.company = edtCompany->text();
    t.schNm = edtSchNm->text();
    t.addr = edtAddr->text();
    t.relation = edtRelation->text();
    t.issuer = issuer_;
    const ReportDocument doc = EduCertificate::printRows(gridCells(), t);
    edtSchNm->setText(issuer_);
    doc.preview(this);
}
