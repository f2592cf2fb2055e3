#include "platform/ui/Korean.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPainter>
#include <QPixmap>
#include <QTranslator>

namespace Korean {

bool useKorean(QApplication& app) {
    const QLocale korean(QLocale::Korean, QLocale::SouthKorea);
    QLocale::setDefault(korean);
    auto* qt = new QTranslator(&app);
    if (!qt->load(korean, QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete qt;
        return false;
    }
    QApplication::installTranslator(qt);
    return true;
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        QPixmap p(size, size);
        p.fill(Qt::transparent);
        QPainter g(&p);
        g.setRenderHint(QPainter::Antialiasing);
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(0x1f, 0x4e, 0x8c));
        g.drawRoundedRect(QRectF(0, 0, size, size), size / 6.0, size / 6.0);
        QFont f = g.font();
        f.setBold(true);
        f.setPixelSize(size * 11 / 20);
        g.setFont(f);
        g.setPen(Qt::white);
        g.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("ZQ"));
        g.end();
        icon.addPixmap(p);
    }
    return icon;
}

} // namespace Korean
