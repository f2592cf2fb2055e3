#include "van/T501B00.h"

#include "platform/ui/FileDialog.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Modal.h"
#include "platform/ui/Msg.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QTableWidget* grid(QWidget* parent, const QStringList& titles, const QList<int>& widths) {
    auto* g = new QTableWidget(0, int(titles.size()), parent);
    g->setHorizontalHeaderLabels(titles);
    for (int i = 0; i < widths.size(); ++i)
        g->setColumnWidth(i, widths.at(i));
    g->verticalHeader()->hide();
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return g;
}

QTableWidgetItem* cell(const QString& text, bool editable = false) {
    auto* i = new QTableWidgetItem(text);
    if (!editable) i->setFlags(i->flags() & ~Qt::ItemIsEditable);
    return i;
}

// The kind column keeps one upper-case letter of what was typed.
class KindDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override {
        auto* e = qobject_cast<QLineEdit*>(editor);
        model->setData(index, MealItems::kindLetter(e ? e->text().trimmed() : QString()));
    }
};

} // namespace

// ---- settings dialog

TFrmT501B00::TFrmT501B00(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("급식인증시스템 전송 환경설정"));
    auto* sw = new QGroupBox(QStringLiteral("급식인증 시스템 자료 전송 여부"), this);
    rdUSE = new QRadioButton(QStringLiteral("집금이체 파일풀기 후"), sw);
    rdNON = new QRadioButton(QStringLiteral("전송하지 않음"), sw);
    rdNON->setChecked(true);
    auto* swl = new QHBoxLayout(sw);
    swl->addWidget(rdUSE);
    swl->addWidget(rdNON);

    auto* items = new QGroupBox(QStringLiteral("급식인증 전송항목 설정"), this);
    vGrid = grid(items, {QStringLiteral("항목코드"), QStringLiteral("항목명"), QStringLiteral("구분자")}, {75, 155, 62});
    cmdConfig = new QPushButton(QStringLiteral("설정"), items);
    auto* il = new QVBoxLayout(items);
    il->addWidget(vGrid);
    il->addWidget(cmdConfig, 0, Qt::AlignRight);

    auto* folder = new QGroupBox(QStringLiteral("급식인증 자료 저장폴더"), this);
    slePath = new QLineEdit(folder);
    slePath->setReadOnly(true);
    slePathBrowse = new QToolButton(folder);
    slePathBrowse->setText(QStringLiteral("..."));
    auto* fl = new QHBoxLayout(folder);
    fl->addWidget(slePath);
    fl->addWidget(slePathBrowse);

    cmdSave = new QPushButton(QStringLiteral("저장"), this);
    cmdClose = new QPushButton(QStringLiteral("닫기"), this);
    auto* bl = new QHBoxLayout;
    bl->addStretch();
    bl->addWidget(cmdSave);
    bl->addWidget(cmdClose);
    auto* v = new QVBoxLayout(this);
    v->addWidget(sw);
    v->addWidget(items);
    v->addWidget(folder);
    v->addLayout(bl);
    resize(360, 420);

    connect(cmdConfig, &QPushButton::clicked, this, &TFrmT501B00::cmdConfigClick);
    connect(cmdSave, &QPushButton::clicked, this, &TFrmT501B00::cmdSaveClick);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(slePathBrowse, &QToolButton::clicked, this, &TFrmT501B00::slePathBrowseClick);

    const MealItems::Settings s = MealItems::read();
    (s.use ? rdUSE : rdNON)->setChecked(true);
    slePath->setText(s.folder);
    QString error;
    if (!MealItems::ensureTable(&error)) Msg::error(QStringLiteral("오류"), error, this);
    cmdLoadDItemClick();
}

void TFrmT501B00::cmdLoadDItemClick() {
    const QList<MealItems::Item> items = MealItems::chosen();
    vGrid->setRowCount(int(items.size()));
    for (int r = 0; r < items.size(); ++r) {
        vGrid->setItem(r, 0, cell(items.at(r).code));
        vGrid->setItem(r, 1, cell(items.at(r).name));
        vGrid->setItem(r, 2, cell(items.at(r).kind));
    }
}

void TFrmT501B00::cmdConfigClick() {
    TFrmT501B01 dlg(this);
    if (Modal::exec(&dlg) == 1) cmdLoadDItemClick();
}

void TFrmT501B00::slePathBrowseClick() {
    FileDialogSpec spec;
    spec.mode = FileDialogSpec::Mode::Folder;
    spec.title = QStringLiteral("급식인증 자료 저장폴더");
    spec.folder = slePath->text();
    const std::optional<QString> dir = FileDialog::pick(spec, this);
    // An empty choice keeps the folder shown.
    if (dir && !dir->trimmed().isEmpty()) slePath->setText(dir->endsWith(QLatin1Char('/')) ? *dir : *dir + QLatin1Char('/'));
}

void TFrmT501B00::cmdSaveClick() {
    if (Msg::show(QStringLiteral("급식인증시스템 전송 환경설정"), QStringLiteral("저장 하시겠습니까?"), MsgIcon::None,
                  MsgButtons::YesNo, this) != MsgResult::Yes)
        return;
    if (!MealItems::write({rdUSE->isChecked(), slePath->text()})) {
        Msg::error(QStringLiteral("오류"), QStringLiteral("설정을 저장하지 못했습니다."), this);
        return;
    }
    Msg::show(windowTitle(), QStringLiteral("저장되었습니다."), MsgIcon::None, MsgButtons::Ok, this);
    accept();
}

// ---- item dialog

TFrmT501B01::TFrmT501B01(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("급식인증 송신항목 설정"));
    auto* box = new QGroupBox(QStringLiteral("전송항목 설정"), this);
    vGrid = grid(box, {QStringLiteral("항목코드"), QStringLiteral("항목명")}, {53, 98});
    wGrid = grid(box, {QStringLiteral("항목코드"), QStringLiteral("항목명"), QStringLiteral("구분")}, {53, 98, 37});
    wGrid->setEditTriggers(QAbstractItemView::AllEditTriggers);
    wGrid->setItemDelegateForColumn(2, new KindDelegate(wGrid));
    sbRightOne = new QPushButton(QStringLiteral(">"), box);
    sbRightAll = new QPushButton(QStringLiteral(">>"), box);
    sbLeftOne = new QPushButton(QStringLiteral("<"), box);
    sbLeftAll = new QPushButton(QStringLiteral("<<"), box);
    auto* moves = new QVBoxLayout;
    moves->addStretch();
    for (QPushButton* b : {sbRightOne, sbRightAll, sbLeftOne, sbLeftAll})
        moves->addWidget(b);
    moves->addStretch();
    auto* bl = new QHBoxLayout(box);
    bl->addWidget(vGrid);
    bl->addLayout(moves);
    bl->addWidget(wGrid);
    cmdSave = new QPushButton(QStringLiteral("저장"), this);
    cmdClose = new QPushButton(QStringLiteral("취소"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSave);
    buttons->addWidget(cmdClose);
    auto* v = new QVBoxLayout(this);
    v->addWidget(box);
    v->addLayout(buttons);
    resize(520, 360);

    connect(sbRightOne, &QPushButton::clicked, this, [this] { sbRightOneClick(11); });
    connect(sbRightAll, &QPushButton::clicked, this, [this] { sbRightOneClick(12); });
    connect(sbLeftOne, &QPushButton::clicked, this, [this] { sbRightOneClick(21); });
    connect(sbLeftAll, &QPushButton::clicked, this, [this] { sbRightOneClick(22); });
    connect(cmdSave, &QPushButton::clicked, this, &TFrmT501B01::cmdSaveClick);
    connect(cmdClose, &QPushButton::clicked, this, [this] { done(2); });

    setRows(wGrid, MealItems::chosen(), true);
    cmdLeftItemLoadClick();
}

void TFrmT501B01::setRows(QTableWidget* g, const QList<MealItems::Item>& items, bool withKind) {
    g->setRowCount(int(items.size()));
    for (int r = 0; r < items.size(); ++r) {
        g->setItem(r, 0, cell(items.at(r).code));
        g->setItem(r, 1, cell(items.at(r).name));
        if (withKind) g->setItem(r, 2, cell(items.at(r).kind, true));
    }
}

QList<MealItems::Item> TFrmT501B01::rightItems() const {
    QList<MealItems::Item> out;
    for (int r = 0; r < wGrid->rowCount(); ++r) {
        const auto text = [this, r](int c) { return wGrid->item(r, c) ? wGrid->item(r, c)->text() : QString(); };
        out << MealItems::Item{text(0), text(1), text(2)};
    }
    return out;
}

void TFrmT501B01::cmdLeftItemLoadClick() { setRows(vGrid, MealItems::available(rightItems()), false); }

void TFrmT501B01::sbRightOneClick(int tag) {
    const auto moveOne = [this](int row) {
        if (row < 0 || row >= vGrid->rowCount()) return;
        const QString code = vGrid->item(row, 0)->text().trimmed();
        const QString name = vGrid->item(row, 1)->text().trimmed();
        if (code.isEmpty() || name.isEmpty()) return;
        const int r = wGrid->rowCount();
        wGrid->insertRow(r);
        wGrid->setItem(r, 0, cell(code));
        wGrid->setItem(r, 1, cell(name));
        wGrid->setItem(r, 2, cell(QString(), true));
    };
    switch (tag) {
    case 11:
        moveOne(vGrid->currentRow());
        break;
    case 12:
        for (int r = 0; r < vGrid->rowCount(); ++r)
            moveOne(r);
        break;
    case 21:
        if (wGrid->currentRow() >= 0) wGrid->removeRow(wGrid->currentRow());
        break;
    case 22:
        wGrid->setRowCount(0);
        break;
    default:
        return;
    }
    cmdLeftItemLoadClick();
}

void TFrmT501B01::cmdSaveClick() {
    if (Msg::show(QStringLiteral("급식인증 송신항목 설정"), QStringLiteral("저장 하시겠습니까?"), MsgIcon::None,
                  MsgButtons::YesNo, this) != MsgResult::Yes)
        return;
    QString error;
    if (!MealItems::save(rightItems(), &error)) {
        Msg::error(QStringLiteral("오류"), QStringLiteral("송신항목을 저장하지 못했습니다.\r") + error, this);
        return;
    }
    done(1);
}

namespace {
const FormRegistrar reg(FormEntry{QStringLiteral("T501B00"), QStringLiteral("급식인증 환경설정"),
                                  FormEntry::Mode::Dialog,
                                  [](QWidget* parent) -> QWidget* { return new TFrmT501B00(parent); }});
} // namespace
