#include "transfers/collection/DelFile.h"

#include "shared/ButtonRow.h"
#include "transfers/collection/WaitingFiles.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TfrmDelFile::TfrmDelFile(const QString& yearMon, const QString& seqNo, QWidget* parent)
    : QDialog(parent), yearMon_(yearMon), seqNo_(seqNo) {
    setWindowTitle(QStringLiteral("파일삭제확인"));
    lbFile = new QListWidget(this);
    btDel = new QPushButton(QStringLiteral("파일삭제"), this);
    btCancel = new QPushButton(QStringLiteral("취   소"), this);
    connect(btDel, &QPushButton::clicked, this, &TfrmDelFile::btDelClick);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* top = new QVBoxLayout(this);
    top->addWidget(new QLabel(QStringLiteral("다음 파일들을 삭제합니다."), this));
    top->addWidget(lbFile);
    top->addWidget(new QLabel(QStringLiteral("한번 삭제된 파일들은             ."), this));
    top->addWidget(new QLabel(QStringLiteral("복구가 불가능하니 주의하여주세요!"), this));
    top->addLayout(ButtonRow::rightAligned({btDel, btCancel}));
}

void TfrmDelFile::btDelClick() {
    QStringList names;
    for (int i = 0; i < lbFile->count(); ++i)
        names << lbFile->item(i)->text();
    if (WaitingFiles::confirmAndRemove(names, yearMon_, seqNo_, this))
        accept();
    else
        reject();
}
