// SPDX-License-Identifier: GPL-3.0-or-later
#include "Artwork.h"

#include <QBitmap>
#include <QPainter>
#include <QPainterPath>

namespace vqdbd {

namespace {

const QColor kTransparentKey(0, 255, 0);

// A drum seen from the side with a dial hand on its head, drawn so it reads at small sizes.
void paintDrumDial(QPainter& painter, const QRectF& area)
{
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal w = area.width();
    const qreal h = area.height();
    const QRectF head(area.left() + w * 0.08, area.top() + h * 0.08, w * 0.84, h * 0.36);
    const QRectF body(head.left(), head.center().y(), head.width(), h * 0.5);

    painter.setPen(QPen(QColor(255, 200, 0), std::max<qreal>(1.0, w / 26)));
    painter.setBrush(QColor(200, 30, 30));
    painter.drawRect(body);
    painter.drawEllipse(QRectF(body.left(), body.bottom() - head.height() / 2, body.width(), head.height()));
    painter.setBrush(QColor(40, 40, 40));
    painter.drawEllipse(head);

    painter.setPen(QPen(QColor(255, 255, 0), std::max<qreal>(1.0, w / 20), Qt::SolidLine, Qt::RoundCap));
    const QPointF centre = head.center();
    painter.drawLine(centre, QPointF(centre.x() + head.width() * 0.3, centre.y() - head.height() * 0.2));
    painter.drawLine(centre, QPointF(centre.x() - head.width() * 0.12, centre.y() - head.height() * 0.35));
}

} // namespace

QPixmap iconPicture(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paintDrumDial(painter, QRectF(0, 0, size, size));
    return pixmap;
}

QPixmap makerLogo()
{
    QPixmap logo(52, 40);
    logo.fill(kTransparentKey);
    {
        QPainter painter(&logo);
        paintDrumDial(painter, QRectF(2, 1, 24, 38));
        painter.setPen(QColor(255, 255, 0));
        QFont font;
        font.setPixelSize(13);
        font.setWeight(QFont::Black);
        painter.setFont(font);
        painter.drawText(QRectF(26, 0, 26, 40), Qt::AlignCenter, QStringLiteral("VQ"));
    }
    // Pure green is the transparent colour, so the button's black face shows through.
    logo.setMask(logo.createMaskFromColor(kTransparentKey, Qt::MaskInColor));
    return logo;
}

QIcon windowIcon()
{
    QIcon icon;
    icon.addPixmap(iconPicture(16));
    icon.addPixmap(iconPicture(24));
    return icon;
}

} // namespace vqdbd
