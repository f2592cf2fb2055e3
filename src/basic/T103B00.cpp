#include "basic/T103B00.h"

#include "basic/DataBackup.h"
#include "data/DMModule.h"
#include "platform/settings/Registry.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/Msg.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// The time column shows hhmmss as hh:mm:ss.
class TimeDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& value, const QLocale&) const override {
        const QString t = value.toString();
        if (t.isEmpty()) return t;
        return t.mid(0, 2) + QLatin1Char(':') + t.mid(2, 2) + QLatin1Char(':') + t.mid(4, 2);
    }
};

const FormRegistrar g_reg(FormEntry{QStringLiteral("T103B00"), QStringLiteral("데이터복구"),
                                    FormEntry::Mode::Dialog,
                                    [](QWidget* parent) -> QWidget* { return new TFrmT103B00(parent); }});

} // namespace

bool RestoreWithQuestions(const QString& archive, const QString& label, QWidget* parent) {
    if (Msg::show(QStringLiteral("복구확인"), QStringLiteral("데이터를 복구하시겠습니까?"), MsgIcon::Question,
                  MsgButtons::YesNo, parent) != MsgResult::Yes)
        return false;
    const DataBackup::RestoreCheck pre = DataBackup::checkArchive(archive);
    if (pre.error == DataBackup::RestoreError::NotFound || pre.error == DataBackup::RestoreError::Empty) {
        Msg::error(QStringLiteral("오류"), QStringLiteral("복구할 파일이 없습니다."), parent);
        return false;
    }
    const QString failed = QStringLiteral("데이터가 복구되지 않았습니다.");
    if (!pre.ok()) {
        Msg::error(QStringLiteral("복구실패"), failed + QLatin1Char('\r') + DataBackup::restoreErrorText(pre),
                   parent);
        return false;
    }
    if (Msg::show(QStringLiteral("확인"),
                  QStringLiteral("데이터를 복구하면 기존에 존재하던 데이터가 삭제될 수 있습니다.\r\n데이터를 "
                                 "복구하시겠습니까?"),
                  MsgIcon::Question, MsgButtons::YesNo, parent, true) != MsgResult::Yes)
        return false;
    DataBackup::SetAside aside;
    const DataBackup::RestoreCheck r = DataBackup::restoreArchive(
        archive, QStringLiteral("[자료복구] ") + label + QStringLiteral(".zip 복구"), &aside);
    if (!r.ok()) {
        Msg::error(QStringLiteral("복구실패"), failed + QLatin1Char('\r') + DataBackup::restoreErrorText(r),
                   parent);
        return false;
    }
    // Request files written after the backup are not the restored data's:
    // say where they went, so none is sent by mistake, and which of those
    // set aside before came back to be sent.
    Msg::info(QStringLiteral("복구완료"),
              QStringLiteral("데이터가 성공적으로 복구되었습니다.") + DataBackup::setAsideText(aside),
              parent);
    return true;
}

TFrmT103B00::TFrmT103B00(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("데이터복구"));
    SGrdBackup = new QTableWidget(this);
    SGrdBackup->setColumnCount(2);
    SGrdBackup->setRowCount(1);
    SGrdBackup->setHorizontalHeaderLabels({QStringLiteral("백업 일자"), QStringLiteral("백업 시간")});
    SGrdBackup->verticalHeader()->hide();
    SGrdBackup->setColumnWidth(0, 80);
    SGrdBackup->setColumnWidth(1, 80);
    SGrdBackup->setSelectionBehavior(QAbstractItemView::SelectRows);
    SGrdBackup->setSelectionMode(QAbstractItemView::SingleSelection);
    SGrdBackup->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGrdBackup->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SGrdBackup->setItemDelegateForColumn(1, new TimeDelegate(SGrdBackup));

    BbtnRecovery = new QPushButton(QStringLiteral("데이터복구"), this);
    BbtnDel = new QPushButton(QStringLiteral("데이터삭제"), this);
    bbtnDone = new QPushButton(QStringLiteral("닫      기"), this);
    BbtnRecovery->setEnabled(false);
    BbtnDel->setEnabled(false);

    auto* side = new QVBoxLayout;
    side->addWidget(BbtnRecovery);
    side->addWidget(BbtnDel);
    side->addStretch();
    side->addWidget(bbtnDone);
    auto* main = new QHBoxLayout(this);
    main->addWidget(SGrdBackup, 1);
    main->addLayout(side);
    resize(300, 320);

    connect(SGrdBackup, &QTableWidget::cellClicked, this, [this] { SGrdBackupClick(); });
    connect(SGrdBackup, &QTableWidget::currentCellChanged, this, [this] { SGrdBackupClick(); });
    connect(SGrdBackup, &QTableWidget::cellDoubleClicked, this, [this] { SGrdBackupDblClick(); });
    connect(BbtnRecovery, &QPushButton::clicked, this, [this] { BbtnRecoveryClick(); });
    connect(BbtnDel, &QPushButton::clicked, this, [this] { BbtnDelClick(); });
    connect(bbtnDone, &QPushButton::clicked, this, &QDialog::reject);

    FillList();
}

void TFrmT103B00::FillList() {
    SGrdBackup->clearContents();
    const QString code = Registry::readString(QStringLiteral("SchoolInfo"), QStringLiteral("SchCode"));
    const QList<DataBackup::BackupRow> rows = DataBackup::listBackups(code);
    SGrdBackup->setRowCount(
        qMax(1, int(DataBackup::zipFiles(DMLib->dir(QStringLiteral("databack"))).size())));
    for (int i = 0; i < rows.size(); ++i) {
        SGrdBackup->setItem(i, 0, new QTableWidgetItem(rows.at(i).date));
        SGrdBackup->setItem(i, 1, new QTableWidgetItem(rows.at(i).time));
    }
    SGrdBackupClick();
}

bool TFrmT103B00::currentRowHasText() const {
    const int r = SGrdBackup->currentRow();
    if (r < 0) return false;
    const QTableWidgetItem* it = SGrdBackup->item(r, 0);
    return it && !it->text().trimmed().isEmpty();
}

QString TFrmT103B00::currentArchiveName() const {
    const int r = SGrdBackup->currentRow();
    const QTableWidgetItem* d = SGrdBackup->item(r, 0);
    const QTableWidgetItem* t = SGrdBackup->item(r, 1);
    return DMLib->FSchCode + (d ? d->text() : QString()) + QLatin1Char(' ') + (t ? t->text() : QString()) +
           QStringLiteral(".zip");
}

void TFrmT103B00::SGrdBackupClick() {
    const bool has = currentRowHasText();
    BbtnRecovery->setEnabled(has);
    BbtnDel->setEnabled(has);
}

void TFrmT103B00::SGrdBackupDblClick() {
    if (currentRowHasText()) BbtnRecoveryClick();
}

void TFrmT103B00::BbtnRecoveryClick() {
    if (!currentRowHasText()) return;
    const QString name = currentArchiveName();
    const bool done =
        RestoreWithQuestions(DMLib->dir(QStringLiteral("databack")) + name, name.chopped(4), this);
    FillList();
    if (done) accept();
}

void TFrmT103B00::BbtnDelClick() {
    if (!currentRowHasText()) return;
    if (Msg::show(QStringLiteral("삭제확인"), QStringLiteral("데이터를 삭제하시겠습니까?"), MsgIcon::Question,
                  MsgButtons::YesNo, this, true) != MsgResult::Yes)
        return;
    const QString name = currentArchiveName();
    const QString file = DMLib->dir(QStringLiteral("databack")) + name;
    if (!QFile::exists(file)) {
        Msg::info(QStringLiteral("삭제실패"), QStringLiteral("삭제할 파일이 존재하지 않습니다"), this);
    } else if (!QFile::remove(file)) {
        Msg::error(QStringLiteral("삭제실패"), QStringLiteral("백업 파일을 삭제하지 못했습니다."), this);
    } else {
        Msg::info(QStringLiteral("삭제성공"), QStringLiteral("삭제하였습니다."), this);
        DMLib->WriteJobLog(QStringLiteral("자료복구"),
                           QStringLiteral("[자료삭제] ") + name + QStringLiteral(" 백업데이터 삭제"));
    }
    FillList();
}
