#include "students/F201B00.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/db/Database.h"
#include "platform/sys/ReleaseLater.h"
#include "platform/ui/Cp949Validator.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"
#include "platform/ui/RowMove.h"
#include "shared/F201B03.h"
#include "students/F201B01.h"
#include "students/F201B04.h"
#include "students/PerDcInfo.h"
#include "students/PurgeActions.h"
#include "students/RosterPrint.h"
#include "students/StudentSheets.h"
#include "students/SMSEdit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

TFrmF201B00* FrmF201B00 = nullptr;

namespace {

const FormRegistrar registrar(FormEntry{QStringLiteral("F201B00"), QStringLiteral("학생명부"),
                                        FormEntry::Mode::WorkWindow,
                                        [](QWidget* parent) -> QWidget* { return new TFrmF201B00(parent); }});

const int kShown = 8;

// Text of a masked edit without its separators; blanks stand where nothing
// was typed, so positions keep their meaning.
QString unmasked(const QLineEdit* e) {
    QString t = e->inputMask().isEmpty() ? e->text() : e->displayText();
    t.remove(QLatin1Char('-'));
    return t;
}

// Dates are kept as their digits.
QString dateDigits(const QLineEdit* e) {
    return unmasked(e).trimmed();
}

// Cells 6 and 7 show the account registration; transferred-out students
// are blue; the current row takes the highlight.
class RosterDelegate : public QStyledItemDelegate {
public:
    RosterDelegate(QTableView* view, RosterGridModel* model)
        : QStyledItemDelegate(view), view_(view), model_(model) {}

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const bool current = index.row() == view_->currentIndex().row();
        const QPalette& pal = option.palette;
        p->save();
        p->fillRect(option.rect, current ? pal.highlight() : pal.base());
        const StudentRow* s = model_->student(index.row());
        QColor colour = current ? pal.color(QPalette::HighlightedText)
                        : (s && RosterList::cell(*s, 5) == QStringLiteral("전출")) ? QColor(Qt::blue)
                                                                                   : QColor(Qt::black);
        QString text = index.data().toString();
        if (s && (index.column() == 6 || index.column() == 7)) {
            const RosterList::RegState st = RosterList::regState(*s, index.column());
            text = st.text;
            if (st.colour == RosterList::RegColour::Blue) colour = Qt::blue;
            if (st.colour == RosterList::RegColour::Red) colour = Qt::red;
        }
        p->setClipRect(option.rect);
        p->setPen(colour);
        p->drawText(option.rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, text);
        p->restore();
    }

private:
    QTableView* view_;
    RosterGridModel* model_;
};

QButtonGroup* radioGroup(QWidget* owner, QGridLayout* into, int row, int col, const QString& title,
                         const QStringList& items) {
    auto* box = new QGroupBox(title, owner);
    auto* lay = new QHBoxLayout(box);
    // One line of radios needs little room; the roster must fit a 768-line screen.
    lay->setContentsMargins(6, 2, 6, 2);
    auto* group = new QButtonGroup(owner);
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items.at(i), box);
        group->addButton(b, i);
        lay->addWidget(b);
    }
    group->button(0)->setChecked(true);
    into->addWidget(box, row, col, 1, 2);
    return group;
}

QLineEdit* lineEdit(QWidget* owner, const char* name, int maxBytes, bool digits = false) {
    auto* e = new QLineEdit(owner);
    e->setObjectName(QString::fromLatin1(name));
    if (maxBytes > 0) Cp949Validator::limit(e, maxBytes, digits);
    return e;
}

QLineEdit* maskedEdit(QWidget* owner, const char* name, const QString& mask) {
    auto* e = new QLineEdit(owner);
    e->setObjectName(QString::fromLatin1(name));
    e->setInputMask(mask);
    return e;
}

} // namespace

// ---- grid model

void RosterGridModel::setRows(QList<StudentRow> rows) {
    beginResetModel();
    rows_.swap(rows);
    endResetModel();
    releaseLater(std::move(rows));
}

const StudentRow* RosterGridModel::student(int row) const {
    return row >= 0 && row < rows_.size() ? &rows_.at(row) : nullptr;
}

int RosterGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(1, int(rows_.size()));
}

int RosterGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : RosterList::kCells;
}

QVariant RosterGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole) return {};
    const StudentRow* s = student(index.row());
    return s ? RosterList::cell(*s, index.column()) : QString();
}

QVariant RosterGridModel::headerData(int section, Qt::Orientation o, int role) const {
    static const QStringList heads{QStringLiteral("학번"),       QStringLiteral("성명"),
                                   QStringLiteral("성별"),       QStringLiteral("은행"),
                                   QStringLiteral("계좌번호"),   QStringLiteral("구분"),
                                   QStringLiteral("계좌등록 1"), QStringLiteral("계좌등록 2")};
    if (o == Qt::Horizontal && role == Qt::DisplayRole) return heads.value(section);
    return {};
}

// ---- window

TFrmF201B00::TFrmF201B00(QWidget* parent) : QWidget(parent) {
    FrmF201B00 = this;
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("FrmF201B00"));
    setWindowTitle(QStringLiteral("학생명부"));
    auto* top = new QHBoxLayout(this);

    grid = new RosterGridModel(this);
    SGrdMCust = new QTableView(this);
    SGrdMCust->setObjectName(QStringLiteral("SGrdMCust"));
    SGrdMCust->setModel(grid);
    SGrdMCust->setItemDelegate(new RosterDelegate(SGrdMCust, grid));
    SGrdMCust->setSelectionBehavior(QAbstractItemView::SelectRows);
    SGrdMCust->setSelectionMode(QAbstractItemView::SingleSelection);
    SGrdMCust->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGrdMCust->verticalHeader()->hide();
    SGrdMCust->verticalHeader()->setDefaultSectionSize(17);
    const int widths[kShown] = {50, 80, 31, 70, 100, 31, 70, 70};
    for (int c = 0; c < RosterList::kCells; ++c) {
        if (c < kShown)
            SGrdMCust->setColumnWidth(c, widths[c]);
        else
            SGrdMCust->setColumnHidden(c, true);
    }
    // All eight columns show beside the boxes.
    int gridWidth = 2 * SGrdMCust->frameWidth() + SGrdMCust->verticalScrollBar()->sizeHint().width() + 2;
    for (int w : widths)
        gridWidth += w;
    SGrdMCust->setMinimumWidth(gridWidth);
    auto* left = new QVBoxLayout;
    left->addWidget(SGrdMCust, 1);
    top->addLayout(left, 1);

    // purge box: every transferred-out student, whatever the search says
    auto* purge = new QGroupBox(QStringLiteral("전출생 일괄삭제/복구"), this);
    auto* pg = new QHBoxLayout(purge);
    auto* notes = new QVBoxLayout;
    for (const QString& t : {QStringLiteral("본 기능은 검색 조건과 상관없이 프로그램에 존재하는"),
                             QStringLiteral("전학년 전출생을 대상으로 삭제 또는 복원이 이루어 집니다.")}) {
        auto* l = new QLabel(t, purge);
        l->setWordWrap(true);
        l->setStyleSheet(QStringLiteral("color: gray"));
        notes->addWidget(l);
    }
    pg->addLayout(notes, 1);
    cmdOutDel = new QPushButton(QStringLiteral("일괄삭제"), purge);
    cmdDCancel = new QPushButton(QStringLiteral("삭제자료복구"), purge);
    pg->addWidget(cmdOutDel);
    pg->addWidget(cmdDCancel);
    left->addWidget(purge);
    pnProgress = new QWidget(this);
    pnProgress->setStyleSheet(QStringLiteral("background: lightgray"));
    auto* pp = new QGridLayout(pnProgress);
    txtProgress = new QLabel(pnProgress);
    txtProgress->setAlignment(Qt::AlignCenter);
    pbInit = new QProgressBar(pnProgress);
    pbInit->setTextVisible(false);
    pp->addWidget(txtProgress, 0, 0, 1, 3);
    pp->addWidget(new QLabel(QStringLiteral("0"), pnProgress), 1, 0);
    pp->addWidget(pbInit, 1, 1);
    pp->addWidget(new QLabel(QStringLiteral("100"), pnProgress), 1, 2);
    pnProgress->hide();
    left->addWidget(pnProgress);

    // The boxes scroll as one should the window be smaller than they need.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("ScrRight"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* side = new QWidget(scroll);
    auto* right = new QVBoxLayout(side);
    right->setContentsMargins(0, 0, 0, 0);
    scroll->setWidget(side);
    top->addWidget(scroll);

    // search box
    auto* search = new QGroupBox(QStringLiteral("검 색"), side);
    auto* sg = new QGridLayout(search);
    const int numLen = SNoLen - 3;
    SHakFromEdit = lineEdit(search, "SHakFromEdit", 1);
    SBanFromEdit = lineEdit(search, "SBanFromEdit", 2);
    SBunFromEdit = lineEdit(search, "SBunFromEdit", numLen);
    SHakToEdit = lineEdit(search, "SHakToEdit", 1);
    SBanToEdit = lineEdit(search, "SBanToEdit", 2);
    SBunToEdit = lineEdit(search, "SBunToEdit", numLen);
    for (QLineEdit* e : {SHakFromEdit, SBanFromEdit, SBunFromEdit, SHakToEdit, SBanToEdit, SBunToEdit}) {
        e->setMaxLength(
            e == SHakFromEdit || e == SHakToEdit ? 1 : (e == SBanFromEdit || e == SBanToEdit ? 2 : numLen));
        e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QString(e->maxLength() + 2, QLatin1Char('0'))) +
                           12);
    }
    auto* bounds = new QHBoxLayout;
    bounds->addWidget(new QLabel(QStringLiteral("학번"), search));
    for (QLineEdit* e : {SHakFromEdit, SBanFromEdit, SBunFromEdit})
        bounds->addWidget(e);
    bounds->addWidget(new QLabel(QStringLiteral("~"), search));
    for (QLineEdit* e : {SHakToEdit, SBanToEdit, SBunToEdit})
        bounds->addWidget(e);
    bounds->addStretch();
    sg->addLayout(bounds, 0, 0, 1, 4);
    CBSBank = new QComboBox(search);
    CBSBank->setObjectName(QStringLiteral("CBSBank"));
    CBSBank->setEditable(true);
    CBSBank->setInsertPolicy(QComboBox::NoInsert);
    edtacctno2 = lineEdit(search, "edtacctno2", 15, true);
    sg->addWidget(new QLabel(QStringLiteral("은행"), search), 1, 0);
    sg->addWidget(CBSBank, 1, 1);
    sg->addWidget(new QLabel(QStringLiteral("계좌번호"), search), 1, 2);
    sg->addWidget(edtacctno2, 1, 3);
    RGrpUse = radioGroup(search, sg, 2, 0, QStringLiteral("재학구분"),
                         {QStringLiteral("전체"), QStringLiteral("재학생"), QStringLiteral("전출생")});
    RGrpSex = radioGroup(search, sg, 2, 2, QStringLiteral("학생구분"),
                         {QStringLiteral("전체"), QStringLiteral("남자"), QStringLiteral("여자")});
    RGpRegYn = radioGroup(search, sg, 3, 0, QStringLiteral("계좌등록여부"),
                          {QStringLiteral("전체"), QStringLiteral("미등록"), QStringLiteral("미등록(단위)")});
    RGpSMSYn = radioGroup(search, sg, 3, 2, QStringLiteral("SMS수신여부"),
                          {QStringLiteral("전체"), QStringLiteral("수신"), QStringLiteral("거부")});
    auto* people = new QGroupBox(QStringLiteral("인원"), search);
    auto* pl = new QHBoxLayout(people);
    pl->setContentsMargins(6, 2, 6, 2);
    LblTot = new QLabel(people);
    LblUseY = new QLabel(people);
    LblUseN = new QLabel(people);
    for (QLabel* l : {LblTot, LblUseY, LblUseN})
        pl->addWidget(l);
    sg->addWidget(people, 4, 0, 1, 4);
    auto* sbtns = new QHBoxLayout;
    BBtnInquiry = new QPushButton(QStringLiteral("조회"), search);
    BBtnSearch = new QPushButton(QStringLiteral("찾기"), search);
    BBtnPreview = new QPushButton(QStringLiteral("인쇄"), search);
    BtnSMS = new QPushButton(QStringLiteral("문자메세지"), search);
    BBtnSMSALL = new QPushButton(QStringLiteral("전체수신"), search);
    for (QPushButton* b : {BBtnInquiry, BBtnSearch, BBtnPreview, BtnSMS, BBtnSMSALL})
        sbtns->addWidget(b);
    sg->addLayout(sbtns, 5, 0, 1, 4);
    right->addWidget(search);

    // entry box
    auto* box = new QGroupBox(QStringLiteral("입 력"), side);
    auto* eg = new QGridLayout(box);
    EdtCustNo = lineEdit(box, "EdtCustNo", 0);
    EdtCustNo->setReadOnly(true);
    QFont bold = EdtCustNo->font();
    bold.setBold(true);
    EdtCustNo->setFont(bold);
    CbMNo = new QComboBox(box);
    CbMNo1 = new QComboBox(box);
    CbMNo1->hide();
    MEdtSNo =
        maskedEdit(box, "MEdtSNo", SNoLen == 5 ? QStringLiteral("00-00; ") : QStringLiteral("00-000; "));
    EdtNm = lineEdit(box, "EdtNm", 8);
    CbSex = new QComboBox(box);
    CbSex->addItems({QStringLiteral("1.남자"), QStringLiteral("2.여자")});
    CBBank = new QComboBox(box);
    CBBank->setEditable(true);
    CBBank->setInsertPolicy(QComboBox::NoInsert);
    EdtAcctNo = lineEdit(box, "EdtAcctNo", 15, true);
    EdtOwr = lineEdit(box, "EdtOwr", 30);
    MEdtJu_No = lineEdit(box, "MEdtJu_No", 13);
    MEdtJu_No_stud = lineEdit(box, "MEdtJu_No_stud", 13);
    MedtInDate = maskedEdit(box, "MedtInDate", QStringLiteral("0000-00-00; "));
    MedtOutDate = maskedEdit(box, "MedtOutDate", QStringLiteral("0000-00-00; "));
    EdtMtelNo = lineEdit(box, "EdtMtelNo", 20);
    CBsmsYN = new QComboBox(box);
    CBsmsYN->addItems({QStringLiteral("1.수신"), QStringLiteral("2.거부")});
    ChkUse = new QCheckBox(QStringLiteral("재학생 체크"), box);
    ChkUse->setEnabled(false);
    eBigo = lineEdit(box, "eBigo", 80);
    eBitoTmp = lineEdit(box, "eBitoTmp", 0);
    eBitoTmp->hide();
    const struct {
        const char16_t* label;
        QWidget* w;
    } fields[] = {
        {u"납부자번호", EdtCustNo},
        {u"학번", CbMNo},
        {u"", MEdtSNo},
        {u"성명", EdtNm},
        {u"성별", CbSex},
        {u"은행", CBBank},
        {u"계좌번호", EdtAcctNo},
        {u"예금주", EdtOwr},
        {u"예금주 주민등록번호", MEdtJu_No},
        {u"학생 주민번호", MEdtJu_No_stud},
        {u"전입일", MedtInDate},
        {u"전출일", MedtOutDate},
        {u"휴대폰번호", EdtMtelNo},
        {u"SMS수신여부", CBsmsYN},
        {u"", ChkUse},
        {u"비  고 ", eBigo},
    };
    // Two columns of fields, read down the left one first (the Tab order).
    const int perColumn = int(std::size(fields) + 1) / 2;
    int i = 0;
    for (const auto& f : fields) {
        const int col = i < perColumn ? 0 : 2;
        const int r = i % perColumn;
        eg->addWidget(new QLabel(QString::fromUtf16(f.label), box), r, col);
        eg->addWidget(f.w, r, col + 1);
        ++i;
    }
    eg->setColumnStretch(1, 1);
    eg->setColumnStretch(3, 1);
    const int row = perColumn;
    auto* ebtns = new QHBoxLayout;
    BBtnAdd = new QPushButton(QStringLiteral("신규"), box);
    BBtnUpdt = new QPushButton(QStringLiteral("저장"), box);
    BBtnDel = new QPushButton(QStringLiteral("삭제"), box);
    bbtnFileRead = new QPushButton(QStringLiteral("불러오기"), box);
    SBtnExempReg = new QPushButton(QStringLiteral("면제항목등록"), box);
    BBtnClose = new QPushButton(QStringLiteral("닫기"), box);
    // Exemptions belong to a student: on once one is shown.
    SBtnExempReg->setEnabled(false);
    for (QPushButton* b : {BBtnAdd, BBtnUpdt, BBtnDel, bbtnFileRead, SBtnExempReg, BBtnClose})
        ebtns->addWidget(b);
    eg->addLayout(ebtns, row, 0, 1, 4);
    right->addWidget(box);

    auto* batch = new QGroupBox(QStringLiteral("학생명부 일괄변경"), this);
    auto* bl = new QHBoxLayout(batch);
    bbtnTTmod_dn = new QPushButton(QStringLiteral("원본내려받기"), batch);
    bbtnTTmod_up = new QPushButton(QStringLiteral("일괄변경"), batch);
    bl->addWidget(bbtnTTmod_dn);
    bl->addWidget(bbtnTTmod_up);
    right->addWidget(batch);
    right->addStretch();
    scroll->setMinimumWidth(side->sizeHint().width() + scroll->verticalScrollBar()->sizeHint().width());
    scroll->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    SGrdMCust->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

    connect(BBtnInquiry, &QPushButton::clicked, this, &TFrmF201B00::BBtnInquiryClick);
    connect(BBtnSearch, &QPushButton::clicked, this, &TFrmF201B00::BBtnSearchClick);
    connect(BBtnPreview, &QPushButton::clicked, this, &TFrmF201B00::BBtnPreviewClick);
    connect(BBtnSMSALL, &QPushButton::clicked, this, &TFrmF201B00::BBtnSMSALLClick);
    connect(BtnSMS, &QPushButton::clicked, this, &TFrmF201B00::BtnSMSClick);
    connect(BBtnAdd, &QPushButton::clicked, this, &TFrmF201B00::BBtnAddClick);
    connect(BBtnUpdt, &QPushButton::clicked, this, &TFrmF201B00::BBtnUpdtClick);
    connect(BBtnDel, &QPushButton::clicked, this, &TFrmF201B00::BBtnDelClick);
    connect(BBtnClose, &QPushButton::clicked, this, &TFrmF201B00::BBtnCloseClick);
    connect(SBtnExempReg, &QPushButton::clicked, this, &TFrmF201B00::SBtnExempRegClick);
    connect(bbtnFileRead, &QPushButton::clicked, this, &TFrmF201B00::bbtnFileReadClick);
    connect(bbtnTTmod_dn, &QPushButton::clicked, this, &TFrmF201B00::bbtnTTmod_dnClick);
    connect(bbtnTTmod_up, &QPushButton::clicked, this, &TFrmF201B00::bbtnTTmod_upClick);
    connect(RGrpUse, &QButtonGroup::idClicked, this, [this](int) { RGrpUseClick(); });
    connect(cmdOutDel, &QPushButton::clicked, this, &TFrmF201B00::cmdOutDelClick);
    connect(cmdDCancel, &QPushButton::clicked, this, &TFrmF201B00::cmdDCancelClick);
    connect(SGrdMCust, &QTableView::clicked, this, [this](const QModelIndex&) { SGrdMCustClick(); });
    RowMove::follow(SGrdMCust, [this](int) { SGrdMCustClick(); });
    connect(CBBank, &QComboBox::editTextChanged, this, [this](const QString&) { CBBankChange(); });
    connect(CBSBank, &QComboBox::editTextChanged, this, [this](const QString&) { CBSBankChange(); });
    connect(EdtCustNo, &QLineEdit::textChanged, this, [this](const QString&) { EdtCustNoChange(); });
    connect(MEdtSNo, &QLineEdit::editingFinished, this, &TFrmF201B00::MEdtSNoExit);
    connect(CbMNo, &QComboBox::currentIndexChanged, this, [this](int i) { CbMNo1->setCurrentIndex(i); });
    const QList<QLineEdit*> bound{SHakFromEdit, SBanFromEdit, SBunFromEdit,
                                  SHakToEdit,   SBanToEdit,   SBunToEdit};
    for (int i = 0; i + 1 < bound.size(); ++i) {
        QLineEdit* next = bound.at(i + 1);
        QLineEdit* self = bound.at(i);
        connect(self, &QLineEdit::textEdited, this, [self, next](const QString& t) {
            if (t.size() >= self->maxLength()) next->setFocus();
        });
    }

    // Enter moves on and the form sees keys first.
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);

    FormCreate();
}

TFrmF201B00::~TFrmF201B00() {
    if (FrmF201B00 == this) FrmF201B00 = nullptr;
}

void TFrmF201B00::FormCreate() {
    // A failed creation shows later as nothing to restore.
    PurgeStore::ensureArchive();
    CBSBank->clear();
    CBSBank->addItems({QStringLiteral("00.모든은행"), QStringLiteral("99.은행없음")});
    CBBank->clear();
    CBBank->addItem(QStringLiteral("99.은행없음"));
    CbMNo->clear();
    CbMNo1->clear();
    if (DMData) {
        DMData->FillBankCombo(CBSBank, QStringLiteral("00"));
        DMData->FillBankCombo(CBBank, QString());
        DMData->FillGradeCodeCombo(CbMNo1);
        DMData->FillGradeNameCombo(CbMNo);
    }
    CBSBank->setCurrentIndex(0);
    CBBank->setCurrentIndex(0);
    CbSex->setCurrentIndex(0);
    CBsmsYN->setCurrentIndex(0);
    FSmsAllOn = true;
    BBtnSMSALL->setText(QStringLiteral("전체수신"));
    pListStudents();
    pEnablePurge();
}

// ---- grid access

int TFrmF201B00::gridRowCount() const {
    return grid->rowCount() + 1;
}

QString TFrmF201B00::gridCell(int col, int row) const {
    return grid->data(grid->index(row - 1, col), Qt::DisplayRole).toString();
}

int TFrmF201B00::gridRow() const {
    return SGrdMCust->currentIndex().isValid() ? SGrdMCust->currentIndex().row() + 1 : 1;
}

void TFrmF201B00::setGridRow(int row) {
    const QModelIndex i = grid->index(std::clamp(row, 1, grid->rowCount()) - 1, 0);
    SGrdMCust->setCurrentIndex(i);
    SGrdMCust->scrollTo(i);
}

// ---- listing

void TFrmF201B00::pListStudents() {
    RosterFilter f;
    f.sNoFrom = FSNoFrom;
    f.sNoTo = FSNoTo;
    f.acctNo = edtacctno2->text();
    f.bankText = CBSBank->currentText();
    f.use = RGrpUse->checkedId();
    f.sex = RGrpSex->checkedId();
    f.regYn = RGpRegYn->checkedId();
    f.sms = RGpSMSYn->checkedId();
    RosterListing l = RosterList::pListStudents(f);
    FSNoFrom = l.sNoFrom;
    FSNoTo = l.sNoTo;
    FListFilter = f;
    grid->setRows(std::move(l.rows));
    SGrdMCust->setCurrentIndex(grid->index(0, 0));
    LblTot->setText(RosterList::countText(QStringLiteral("총인원수: "), l.enrolled + l.transferred));
    LblUseY->setText(RosterList::countText(QStringLiteral("재학생수: "), l.enrolled));
    LblUseN->setText(RosterList::countText(QStringLiteral("전출생수: "), l.transferred));
    pClearEdits();
}

void TFrmF201B00::BBtnInquiryClick() {
    if (!IsValidSNoInput(SHakFromEdit->text(), SBanFromEdit->text(), SBunFromEdit->text()) ||
        !IsValidSNoInput(SHakToEdit->text(), SBanToEdit->text(), SBunToEdit->text())) {
        Msg::error(QStringLiteral("학번입력 오류"), QStringLiteral("학번 입력 정보가 올바르지 않습니다."),
                   this);
        return;
    }
    FSNoFrom = MakeSNo(SHakFromEdit->text(), SBanFromEdit->text(), SBunFromEdit->text());
    FSNoTo = MakeSNo(SHakToEdit->text(), SBanToEdit->text(), SBunToEdit->text());
    if (!IsValidSNoRange(FSNoFrom, FSNoTo)) {
        Msg::error(QStringLiteral("학번범위 설정 오류"), QStringLiteral("학번범위 설정이 올바르지 않습니다."),
                   this);
        return;
    }
    pListStudents();
}

void TFrmF201B00::RGrpUseClick() {
    pListStudents();
    pEnablePurge();
}

void TFrmF201B00::pEnablePurge() {
    const bool out = RGrpUse->checkedId() == 2;
    cmdOutDel->setEnabled(out);
    cmdDCancel->setEnabled(out);
}

PurgeStore::Progress TFrmF201B00::progressFor(const QString& caption) {
    return [this, caption](int done, int total) {
        if (done == 1) {
            txtProgress->setText(caption + QStringLiteral("중입니다."));
            pbInit->setRange(0, total);
            pnProgress->show();
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
        pbInit->setValue(done);
        if (done % 256 == 0) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
}

// The panel is hidden and the list searched again before the closing box,
// so the box stands over the list it speaks of.
void TFrmF201B00::purgeFinished(const PurgeResult& r) {
    pnProgress->hide();
    if (r.outcome == PurgeResult::Outcome::Done) BBtnInquiryClick();
}

void TFrmF201B00::cmdOutDelClick() {
    PurgeActions::outDel(windowTitle(), this, progressFor(cmdOutDel->text()),
                         [this](const PurgeResult& r) { purgeFinished(r); });
    pnProgress->hide();
}

void TFrmF201B00::cmdDCancelClick() {
    PurgeActions::dCancel(windowTitle(), this, progressFor(cmdDCancel->text()),
                          [this](const PurgeResult& r) { purgeFinished(r); });
    pnProgress->hide();
}

void TFrmF201B00::SGrdMCustClick() {
    const StudentRow* s = grid->student(gridRow() - 1);
    FClicked = s ? *s : StudentRow{};
    const StudentRow& c = FClicked;
    SBtnExempReg->setEnabled(true);
    EdtCustNo->setText(c.custNo);
    QStringList codes;
    for (int i = 0; i < CbMNo1->count(); ++i)
        codes << CbMNo1->itemText(i);
    const int g = TDMData::PrefixIndex(codes, c.sCd);
    if (!c.sCd.isEmpty() && g >= 0) {
        CbMNo1->setCurrentIndex(g);
        CbMNo->setCurrentIndex(g);
    }
    MEdtSNo->setText(c.sNo.mid(1, 6));
    EdtNm->setText(c.nm);
    const bool student = s != nullptr;
    const auto select = [student](QComboBox* box, const QString& prefix) {
        // A student's empty value, or one the box does not offer, shows as
        // an empty box: keeping the previous student's choice would have a
        // save store it for this one.
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        const int at = prefix.isEmpty() ? -1 : TDMData::PrefixIndex(items, prefix);
        if (at >= 0 || student) box->setCurrentIndex(at);
    };
    select(CbSex, c.sex);
    inBankChange_ = true;
    select(CBBank, c.bankCd);
    inBankChange_ = false;
    EdtAcctNo->setText(c.acctNo);
    EdtOwr->setText(c.owr);
    MedtInDate->setText(c.inDate);
    MedtOutDate->setText(c.outDate);
    MEdtJu_No->setText(c.juNo);
    ChkUse->setChecked(c.useTy == QLatin1String("1"));
    EdtMtelNo->setText(c.mTelNo);
    MEdtJu_No_stud->setText(c.juNoStud);
    select(CBsmsYN, c.smsYN);
    const QString bigo = StudentStore::remark(c.custNo);
    eBigo->setText(bigo);
    eBitoTmp->setText(bigo);
}

// The print shows the rows of the last listing: its own conditions run
// again, so it never prints students the grid did not show.
void TFrmF201B00::BBtnPreviewClick() {
    TFrmF201B03 dlg(this);
    if (Modal::exec(&dlg) != 1) return;
    const bool whole = dlg.rdobtn1->isChecked();
    if (gridCell(0, 1).isEmpty()) return;
    const RosterListing l = RosterList::pListStudents(FListFilter);
    const auto report = RosterPrint::make(l.rows, whole, {LblTot->text(), LblUseY->text(), LblUseN->text()});
    report->PreviewModal(this);
}

void TFrmF201B00::BBtnSearchClick() {
    TFrmF201B01 dlg(this);
    Modal::exec(&dlg);
}

void TFrmF201B00::BtnSMSClick() {
    const QString none = QStringLiteral("문자메세지 발송대상이 없습니다.!!");
    QList<StudentRow> rows;
    for (int i = 0; i < grid->students(); ++i)
        rows << *grid->student(i);
    if (rows.isEmpty()) {
        Msg::show(QCoreApplication::applicationName(), none, MsgIcon::None, MsgButtons::Ok, this);
        return;
    }
    TFrmSMSEdit dlg(this);
    dlg.SGridSMS = RosterList::smsRecipients(rows);
    if (dlg.SGridSMS.isEmpty()) {
        Msg::show(QCoreApplication::applicationName(), none, MsgIcon::None, MsgButtons::Ok, this);
        return;
    }
    Modal::exec(&dlg);
}

void TFrmF201B00::BBtnSMSALLClick() {
    if (!Msg::askYesNo(QStringLiteral("SMS수신여부 일괄변경"),
                       QStringLiteral("SMS수신여부를 \"") + BBtnSMSALL->text() +
                           QStringLiteral("\" 으로 일괄변경하시겠습니까?"),
                       this, MsgIcon::Warning, true))
        return;
    QString value;
    if (FSmsAllOn) {
        value = QStringLiteral("1");
        BBtnSMSALL->setText(QStringLiteral("전체거부"));
        FSmsAllOn = false;
    } else {
        value = QStringLiteral("2");
        BBtnSMSALL->setText(QStringLiteral("전체수신"));
        FSmsAllOn = true;
    }
    // Consent goes only to students with a mobile number to send to; a
    // refusal reaches everyone.
    Query q(QStringLiteral("UPDATE M_CUST SET smsYN = ? WHERE ? = '2' OR trim(ifnull(MTelNo, '')) <> ''"));
    q.add(value).add(value);
    if (!q.exec())
        Msg::error(QStringLiteral("오류"), QStringLiteral("SMS수신여부를 바꾸지 못했습니다.\r") + q.error(),
                   this);
    pListStudents();
}

// ---- entry

void TFrmF201B00::pClearEdits() {
    for (QLineEdit* e : {EdtCustNo, MEdtSNo, EdtNm, EdtAcctNo, EdtOwr, MedtInDate, MedtOutDate, MEdtJu_No,
                         eBigo, eBitoTmp, EdtMtelNo, MEdtJu_No_stud})
        e->clear();
    ChkUse->setChecked(true);
    CbSex->setCurrentIndex(0);
    inBankChange_ = true;
    CBBank->setCurrentIndex(0);
    inBankChange_ = false;
    CBsmsYN->setCurrentIndex(0);
    FClicked = StudentRow{};
}

void TFrmF201B00::BBtnAddClick() {
    const QString bigo = eBigo->text(), loaded = eBitoTmp->text();
    pClearEdits();
    eBigo->setText(bigo);
    eBitoTmp->setText(loaded);
    CbMNo->setFocus();
}

QString TFrmF201B00::classNoText() const {
    return unmasked(MEdtSNo).trimmed();
}

StudentEntry TFrmF201B00::entry() const {
    StudentEntry e;
    e.custNo = EdtCustNo->text();
    e.gradeCode = CbMNo1->itemText(CbMNo->currentIndex());
    e.classNo = classNoText();
    e.name = EdtNm->text();
    e.sexText = CbSex->currentText();
    e.bankText = CBBank->currentText();
    e.acctNo = EdtAcctNo->text();
    e.owr = EdtOwr->text();
    e.juNo = MEdtJu_No->text();
    e.juNoStud = MEdtJu_No_stud->text();
    e.inDate = dateDigits(MedtInDate);
    e.outDate = dateDigits(MedtOutDate);
    e.mTelNo = EdtMtelNo->text();
    e.smsText = CBsmsYN->currentText();
    e.bigo = eBigo->text();
    e.bigoLoaded = eBitoTmp->text();
    return e;
}

void TFrmF201B00::BBtnUpdtClick() {
    MEdtSNoExit();
    StudentStoreHooks hooks;
    hooks.pickRounds = [this]() -> std::optional<QStringList> {
        TFrmF201B04 picker(this);
        if (Modal::exec(&picker) != 1) return std::nullopt;
        return picker.chosen();
    };
    const StoreResult r = StudentStore::save(entry(), FClicked, hooks);
    showBoxes(r);
    if (r.reload) pListStudents();
    focusField(r.focus);
}

void TFrmF201B00::BBtnDelClick() {
    const StoreResult r = StudentStore::remove(EdtCustNo->text(), FClicked.sNo, FClicked.nm);
    showBoxes(r);
    if (r.reload) pListStudents();
}

void TFrmF201B00::BBtnCloseClick() {
    close();
}

// ---- workbooks

namespace {

FileDialogSpec sheetDialog(FileDialogSpec::Mode mode, const QString& title) {
    FileDialogSpec spec;
    spec.mode = mode;
    spec.title = title;
    spec.folder = DMLib ? DMLib->FDataDir : QString();
    if (mode == FileDialogSpec::Mode::Open) {
        spec.filter = QStringLiteral("엑셀화일|*.xlsx;*.xls|모든화일|*.*");
    } else {
        spec.filter = QStringLiteral("엑셀화일|*.xlsx|모든화일|*.*");
        spec.defaultSuffix = QStringLiteral("xlsx");
    }
    return spec;
}

} // namespace

void TFrmF201B00::bbtnFileReadClick() {
    const std::optional<QString> path = FileDialog::pick(
        sheetDialog(FileDialogSpec::Mode::Open, QStringLiteral("엑셀파일에서 학생자료 불러오기")), this);
    if (!path) return;
    const SheetRun run = StudentSheets::importStudents(*path);
    if (run.ran) pListStudents();
    for (const StoreBox& b : run.boxes)
        Msg::show(b.caption, b.text, b.icon, MsgButtons::Ok, this);
}

void TFrmF201B00::bbtnTTmod_dnClick() {
    FileDialogSpec spec = sheetDialog(FileDialogSpec::Mode::Save, QStringLiteral("엑셀화일로 생성"));
    spec.fileName = QStringLiteral("학생명부_일괄변경원본.xlsx");
    const std::optional<QString> path = FileDialog::pick(spec, this);
    if (!path) return;
    for (const StoreBox& b : StudentSheets::writeBatchWorkbook(*path).boxes)
        Msg::show(b.caption, b.text, b.icon, MsgButtons::Ok, this);
}

void TFrmF201B00::bbtnTTmod_upClick() {
    const std::optional<QString> path = FileDialog::pick(
        sheetDialog(FileDialogSpec::Mode::Open, QStringLiteral("학생명부 일괄변경자료 불러오기")), this);
    if (!path) return;
    const SheetRun run = StudentSheets::batchChange(*path);
    if (run.ran) pListStudents();
    for (const StoreBox& b : run.boxes)
        Msg::show(b.caption, b.text, b.icon, MsgButtons::Ok, this);
}

void TFrmF201B00::showBoxes(const StoreResult& r) {
    for (const StoreBox& b : r.boxes)
        Msg::show(b.caption, b.text, b.icon, MsgButtons::Ok, this);
}

void TFrmF201B00::focusField(StudentField f) {
    QWidget* w = nullptr;
    switch (f) {
    case StudentField::None:
        return;
    case StudentField::CbMNo:
        w = CbMNo;
        break;
    case StudentField::MEdtSNo:
        w = MEdtSNo;
        break;
    case StudentField::EdtNm:
        w = EdtNm;
        break;
    case StudentField::CbSex:
        w = CbSex;
        break;
    case StudentField::CBsmsYN:
        w = CBsmsYN;
        break;
    case StudentField::CBBank:
        w = CBBank;
        break;
    case StudentField::EdtAcctNo:
        w = EdtAcctNo;
        break;
    case StudentField::EdtMtelNo:
        w = EdtMtelNo;
        break;
    case StudentField::MEdtJu_No:
        w = MEdtJu_No;
        break;
    case StudentField::MedtInDate:
        w = MedtInDate;
        break;
    case StudentField::MedtOutDate:
        w = MedtOutDate;
        break;
    }
    w->setFocus();
}

void TFrmF201B00::CBBankChange() {
    if (inBankChange_) return;
    const QString t = CBBank->currentText();
    int at = -1;
    if (t.isEmpty())
        at = 0;
    else if (t.size() == 2) {
        QStringList items;
        for (int i = 0; i < CBBank->count(); ++i)
            items << CBBank->itemText(i);
        at = TDMData::PrefixIndex(items, t);
    }
    if (at < 0) return;
    inBankChange_ = true;
    CBBank->setCurrentIndex(at);
    CBBank->setEditText(CBBank->itemText(at));
    inBankChange_ = false;
}

void TFrmF201B00::CBBankExit() {
    const QString t = CBBank->currentText();
    int at = -1;
    if (t.size() == 2) {
        QStringList items;
        for (int i = 0; i < CBBank->count(); ++i)
            items << CBBank->itemText(i);
        at = std::max(0, TDMData::PrefixIndex(items, t));
    } else if (t.size() < 2) {
        at = 0;
    }
    if (at >= 0) {
        inBankChange_ = true;
        CBBank->setCurrentIndex(at);
        CBBank->setEditText(CBBank->itemText(at));
        inBankChange_ = false;
    }
    // No bank, no account.
    if (CBBank->currentText().startsWith(QLatin1String("99"))) EdtAcctNo->clear();
}

void TFrmF201B00::CBSBankChange() {
    const QString t = CBSBank->currentText();
    if (t.size() != 2) return;
    QStringList items;
    for (int i = 0; i < CBSBank->count(); ++i)
        items << CBSBank->itemText(i);
    const int at = TDMData::PrefixIndex(items, t);
    if (at >= 0) {
        const QSignalBlocker b(CBSBank);
        CBSBank->setCurrentIndex(at);
        CBSBank->setEditText(CBSBank->itemText(at));
    }
}

void TFrmF201B00::MEdtSNoExit() {
    // Positions as typed: the class in the first two, blanks where empty.
    QString raw = MEdtSNo->displayText();
    raw.remove(QLatin1Char('-'));
    if (raw.trimmed().isEmpty()) return;
    MEdtSNo->setText(RosterList::normClassNo(raw, SNoLen));
}

void TFrmF201B00::EdtCustNoChange() {
    SBtnExempReg->setEnabled(!EdtCustNo->text().trimmed().isEmpty());
}

void TFrmF201B00::SBtnExempRegClick() {
    // Without a student there is nothing to show.
    if (EdtCustNo->text().trimmed().isEmpty()) return;
    SelCustNo = EdtCustNo->text();
    TFrmPerDcInfo dlg(this);
    dlg.CustNoView->setText(EdtCustNo->text());
    dlg.SNoView->setText(gridCell(0, gridRow()));
    dlg.NameView->setText(gridCell(1, gridRow()));
    Modal::exec(&dlg);
}

bool TFrmF201B00::boundEditKey(QLineEdit* edit, int key) {
    QLineEdit* prev = nullptr;
    if (edit == SBanFromEdit)
        prev = SHakFromEdit;
    else if (edit == SBunFromEdit)
        prev = SBanFromEdit;
    else if (edit == SHakToEdit)
        prev = SBunFromEdit;
    else if (edit == SBanToEdit)
        prev = SHakToEdit;
    else if (edit == SBunToEdit)
        prev = SBanToEdit;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        BBtnInquiry->setFocus();
        BBtnInquiryClick();
        return true;
    }
    if (key == Qt::Key_Backspace && edit->text().isEmpty() && prev) {
        prev->setFocus();
        return true;
    }
    return false;
}

bool TFrmF201B00::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && watched == CBBank) CBBankExit();
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    for (QLineEdit* e : {SHakFromEdit, SBanFromEdit, SBunFromEdit, SHakToEdit, SBanToEdit, SBunToEdit})
        if (watched == e) return boundEditKey(e, key);
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return QWidget::eventFilter(watched, event);
    if (watched == SGrdMCust || watched == SGrdMCust->viewport()) {
        SGrdMCustClick();
        ChkUse->setFocus();
        return true;
    }
    focusNextChild();
    return true;
}
