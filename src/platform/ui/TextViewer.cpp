#include "platform/ui/TextViewer.h"

#include "platform/text/Cp949.h"
#include "platform/ui/Modal.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QVBoxLayout>

namespace {

// The lists shown here are Korean, their columns padded by CP949 widths. A
// coding font that holds Hangul at twice a digit's width keeps the columns,
// and its lines are as high as the font. A fixed font without Hangul leaves
// the syllables to a fallback font whose lines are laid out lower than the
// viewer's font, so the syllables' bottoms run into the next line.
QFont listFont() {
    QFont f = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QStringList families = QFontDatabase::families(QFontDatabase::Korean);
    for (const QString& coding : {QStringLiteral("NanumGothicCoding"), QStringLiteral("D2Coding")})
        if (families.contains(coding)) {
            f.setFamilies({coding});
            return f;
        }
    for (const QString& family : families)
        if (QFontDatabase::isFixedPitch(family)) {
            f.setFamilies({family});
            return f;
        }
    return f;
}

} // namespace

TextViewer::TextViewer(const QString& title, const QString& text, QWidget* parent) : QDialog(parent) {
    setWindowTitle(title);
    edit_ = new QPlainTextEdit(text, this);
    edit_->setReadOnly(true);
    edit_->setLineWrapMode(QPlainTextEdit::NoWrap);
    edit_->setFont(listFont());
    auto* close = new QPushButton(QStringLiteral("닫기"), this);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(edit_, 1);
    lay->addWidget(close, 0, Qt::AlignRight);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    resize(760, 480);
}

QString TextViewer::text() const { return edit_->toPlainText(); }

bool TextViewer::showFile(const QString& path, QWidget* parent) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = f.readAll();
    // Lists written by this program are CP949; anything else is tried as UTF-8.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) text = Cp949::decode(bytes);
    showText(QFileInfo(path).fileName(), text, parent);
    return true;
}

void TextViewer::showText(const QString& title, const QString& text, QWidget* parent) {
    TextViewer v(title, text, parent);
    Modal::exec(&v);
}
