#include "transfers/distribution/M102B08.h"

#include "data/DMMain.h"
#include "data/DMModule.h"
#include "platform/ui/FormRegistry.h"
#include "transfers/distribution/DistribResult.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace {

// The work window opens it by its unit name and hands over its round through
// the properties of the dialog or of itself.
const FormRegistrar registrar(FormEntry{QStringLiteral("M102B08"), QStringLiteral("파일풀기"),
                                        FormEntry::Mode::Dialog,
                                        [](QWidget* parent) -> QWidget* { return new TFrmM102B08(parent); }});

} // namespace

TFrmM102B08::TFrmM102B08(QWidget* parent) : TResultFileDialog(QString(), QString(), parent) {
    build();
    if (parent) {
        bankText_ = parent->property("bankText").toString();
        groupText_ = parent->property("groupText").toString();
        MEdtYearMon->setText(parent->property("yearMon").toString());
        MEdtSeqNo->setText(parent->property("seqNo").toString());
    }
    LoadFileList();
}

TFrmM102B08::TFrmM102B08(const QString& bankText, const QString& groupText, const QString& yearMon,
                         const QString& seqNo, QWidget* parent)
    : TResultFileDialog(bankText, groupText, parent) {
    build();
    MEdtYearMon->setText(yearMon);
    MEdtSeqNo->setText(seqNo);
    LoadFileList();
}

void TFrmM102B08::build() {
    // The round is the work window's and is not changed here.
    QHBoxLayout* mv = buildRoundLine();
    MEdtSeqNo->setMaximumWidth(40);
    SBtnYearMonSelect = new QPushButton(QStringLiteral("선택"), PnlMv);
    mv->addWidget(SBtnYearMonSelect);
    mv->addStretch();
    PnlMv->setEnabled(false);
    buildFileList();
    resize(460, 320);
}

void TFrmM102B08::setBankText(const QString& v) {
    bankText_ = v;
    LoadFileList();
}
void TFrmM102B08::setGroupText(const QString& v) {
    groupText_ = v;
}
void TFrmM102B08::setYearMon(const QString& v) {
    MEdtYearMon->setText(v);
}
void TFrmM102B08::setSeqNo(const QString& v) {
    MEdtSeqNo->setText(v);
}

void TFrmM102B08::LoadFileList() {
    showFiles(bankText_.isEmpty()
                  ? QList<ResultFileInfo>{}
                  : DistribResult::filesForBank(DMLib->dir(QStringLiteral("recv")), bankText_.left(2)),
              [](const ResultFileInfo& f) { return DMData->GetBankName(f.bankCd); });
}

ResultApplyOutcome TFrmM102B08::applyFile(const ResultApplyRequest& req) {
    return DistribResult::apply(req);
}
