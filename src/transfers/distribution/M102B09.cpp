#include "transfers/distribution/M102B09.h"

#include "data/DMModule.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Msg.h"
#include "shared/ButtonRow.h"
#include "transfers/common/KeyEdit.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFormLayout>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace DistribFind {

int column(int criterion) {
    return criterion == ByName ? 1 : criterion == ByAcct ? 3 : 0;
}

int find(const QStringList& cells, const QString& text, int* lastFound) {
    for (int row = std::max(*lastFound, 0) + 1; row <= cells.size(); ++row) {
        *lastFound = row;
        if (cells.at(row - 1) == text) return row;
    }
    return 0;
}

} // namespace DistribFind

TFrmM102B09::TFrmM102B09(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("찾기"));
    CbSelect = new QComboBox(this);
    CbSelect->addItems({QStringLiteral("1.학번"), QStringLiteral("2.성명"), QStringLiteral("3.계좌번호")});
    EdtSearchNm = new TKeyEdit(this);
    EdtSearchNm->onKey = [this](QKeyEvent* e, const QString&) {
        if (!isEnterKey(e)) return false;
        BBtnSearchClick();
        return true;
    };
    EdtSearchNm->onExit = [this] { EdtSearchNmExit(); };
    BBtnSearch = new QPushButton(QStringLiteral("찾기"), this);
    BBtnClose = new QPushButton(QStringLiteral("닫기"), this);
    BBtnSearch->setAutoDefault(false);
    BBtnClose->setAutoDefault(false);
    connect(BBtnSearch, &QPushButton::clicked, this, &TFrmM102B09::BBtnSearchClick);
    connect(BBtnClose, &QPushButton::clicked, this, &TFrmM102B09::BBtnCloseClick);
    connect(CbSelect, &QComboBox::activated, this, &TFrmM102B09::CbSelectChange);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("선택"), CbSelect);
    form->addRow(QStringLiteral("찾기명"), EdtSearchNm);
    auto* top = new QVBoxLayout(this);
    top->addLayout(form);
    top->addLayout(ButtonRow::rightAligned({BBtnSearch, BBtnClose}));
    FormCreate();
}

// Student numbers are typed as digits only; the other criteria take any text.
namespace {
void studentNumberMask(TKeyEdit* e, bool on) {
    if (on) {
        e->setMaxLength(6);
        e->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), e));
    } else {
        e->setMaxLength(32767);
        e->setValidator(nullptr);
    }
}
} // namespace

void TFrmM102B09::FormCreate() {
    studentNumberMask(EdtSearchNm, true);
    CbSelect->setCurrentIndex(DistribFind::BySNo);
    selectRow(1);
    LastFoundRow = 0;
}

void TFrmM102B09::CbSelectChange() {
    selectRow(1);
    studentNumberMask(EdtSearchNm, CbSelect->currentIndex() == DistribFind::BySNo);
}

void TFrmM102B09::EdtSearchNmExit() {
    if (CbSelect->currentIndex() == DistribFind::BySNo)
        EdtSearchNm->setText(NormSNo(SNoLen, EdtSearchNm->text()));
}

void TFrmM102B09::BBtnSearchClick() {
    if (CbSelect->currentIndex() == DistribFind::BySNo) EdtSearchNmExit();
    const QStringList c = cells(DistribFind::column(CbSelect->currentIndex()));
    const int row = DistribFind::find(c, EdtSearchNm->text(), &LastFoundRow);
    if (row > 0) {
        selectRow(row);
        return;
    }
    if (Msg::show(QStringLiteral("찾기"), QStringLiteral("자료의 끝입니다!\r처음부터 다시 검색하시겠습니까?"),
                  MsgIcon::Information, MsgButtons::OkCancel, this) == MsgResult::Ok)
        LastFoundRow = 0;
}

void TFrmM102B09::BBtnCloseClick() {
    reject();
}

QStringList TFrmM102B09::cells(int column) const {
    if (cellsOf) return cellsOf(column);
    QStringList out;
    const auto* view =
        parent() ? parent()->findChild<QAbstractItemView*>(QStringLiteral("SGrdPay")) : nullptr;
    if (!view || !view->model()) return out;
    const QAbstractItemModel* m = view->model();
    for (int r = 0; r < m->rowCount(); ++r)
        out << m->index(r, column).data().toString();
    return out;
}

void TFrmM102B09::selectRow(int row) const {
    if (select) return select(row);
    auto* view = parent() ? parent()->findChild<QAbstractItemView*>(QStringLiteral("SGrdPay")) : nullptr;
    if (!view || !view->model() || row < 1 || row > view->model()->rowCount()) return;
    const QModelIndex cur = view->currentIndex();
    view->setCurrentIndex(view->model()->index(row - 1, cur.isValid() ? cur.column() : 0));
}

namespace {
const FormRegistrar registrar(FormEntry{QStringLiteral("M102B09"), QStringLiteral("찾기"),
                                        FormEntry::Mode::Dialog,
                                        [](QWidget* parent) -> QWidget* { return new TFrmM102B09(parent); }});
} // namespace
