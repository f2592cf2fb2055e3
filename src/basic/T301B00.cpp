#include "basic/T301B00.h"

#include "basic/T304B00.h"
#include "basic/ToolActions.h"
#include "platform/ui/Cp949Validator.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Modal.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const FormRegistrar g_reg(FormEntry{QStringLiteral("T301B00"), QStringLiteral("이전로그조회(2005년이전)"),
                                    FormEntry::Mode::WorkWindow,
                                    [](QWidget* parent) -> QWidget* { return new TFrmT301B00(parent); }});

QLineEdit* dateEdit(QWidget* owner, const char* name) {
    auto* e = new QLineEdit(owner);
    e->setObjectName(QString::fromLatin1(name));
    e->setInputMask(QStringLiteral("0000-00-00; "));
    e->setFixedWidth(90);
    return e;
}

QString unmasked(const QLineEdit* e) {
    QString t = e->displayText();
    t.remove(QLatin1Char('-'));
    return t.trimmed();
}

} // namespace

TFrmT301B00::TFrmT301B00(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("FrmT301B00"));
    setWindowTitle(QStringLiteral("이전로그조회(2005년이전)"));
    MedtFromDate = dateEdit(this, "MedtFromDate");
    MedtToDate = dateEdit(this, "MedtToDate");
    EdtText = new QLineEdit(this);
    EdtText->setObjectName(QStringLiteral("EdtText"));
    Cp949Validator::limit(EdtText, 8);
    BBtnSearch = new QPushButton(QStringLiteral("조회"), this);
    BBtnClose = new QPushButton(QStringLiteral("닫기"), this);
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("조회일자"), this));
    bar->addWidget(MedtFromDate);
    bar->addWidget(new QLabel(QStringLiteral("~"), this));
    bar->addWidget(MedtToDate);
    bar->addWidget(new QLabel(QStringLiteral("문자찾기"), this));
    bar->addWidget(EdtText);
    bar->addStretch();
    bar->addWidget(BBtnSearch);
    bar->addWidget(BBtnClose);
    SGrdLog = new QTableWidget(this);
    SGrdLog->setObjectName(QStringLiteral("SGrdLog"));
    SGrdLog->setColumnCount(4);
    SGrdLog->setHorizontalHeaderLabels(
        {QStringLiteral("작업일"), QStringLiteral("작업시간"), QStringLiteral("메뉴명"), QStringLiteral("변경내용")});
    const int widths[4] = {60, 60, 100, 580};
    for (int c = 0; c < 4; ++c) SGrdLog->setColumnWidth(c, widths[c]);
    SGrdLog->verticalHeader()->hide();
    SGrdLog->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGrdLog->setRowCount(1);
    auto* main = new QVBoxLayout(this);
    main->addLayout(bar);
    main->addWidget(SGrdLog, 1);

    connect(BBtnSearch, &QPushButton::clicked, this, &TFrmT301B00::BBtnSearchClick);
    connect(BBtnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(SGrdLog, &QTableWidget::cellDoubleClicked, this, &TFrmT301B00::SGrdLogDblClick);
    for (QLineEdit* e : {MedtFromDate, MedtToDate, EdtText}) e->installEventFilter(this);
}

bool TFrmT301B00::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int k = static_cast<QKeyEvent*>(event)->key();
        if (k == Qt::Key_Return || k == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QString TFrmT301B00::fromDate() const { return unmasked(MedtFromDate); }
QString TFrmT301B00::toDate() const { return unmasked(MedtToDate); }

void TFrmT301B00::BBtnSearchClick() {
    if (const auto rows = ToolActions::searchOld(fromDate(), toDate(), EdtText->text(), this))
        FillLogGrid(SGrdLog, *rows, false, false);
}

void TFrmT301B00::SGrdLogDblClick(int row, int col) {
    const QTableWidgetItem* it = SGrdLog->item(row, col);
    if (col != 3 || !it || it->text().isEmpty()) return;
    TFrmT301B01 dlg(it->text(), this);
    Modal::exec(&dlg);
}

TFrmT301B01::TFrmT301B01(const QString& text, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("로그"));
    Memo1 = new QPlainTextEdit(text, this);
    Memo1->setReadOnly(true);
    auto* main = new QVBoxLayout(this);
    main->addWidget(Memo1);
    resize(480, 240);
}
