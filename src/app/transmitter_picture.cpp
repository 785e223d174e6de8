#include "app/transmitter_picture.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kSidePx = 150;

QLinearGradient Metal(qreal left, qreal right, const QColor& light, const QColor& dark)
{
    QLinearGradient shade(left, 0, right, 0);
    shade.setColorAt(0.0, dark);
    shade.setColorAt(0.35, light);
    shade.setColorAt(1.0, dark);
    return shade;
}

}  // namespace

QImage TransmitterPicture()
{
    QImage picture(kSidePx, kSidePx, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(60, 60, 70), 1.2));

    // Sensor stem and its neck.
    painter.setBrush(Metal(68, 82, QColor(235, 235, 240), QColor(130, 130, 140)));
    painter.drawRect(QRectF(68, 100, 14, 46));
    painter.setBrush(Metal(62, 88, QColor(225, 225, 230), QColor(120, 120, 130)));
    painter.drawRect(QRectF(62, 88, 26, 14));

    // Cable gland on the right.
    painter.setBrush(QColor(40, 40, 45));
    painter.drawRect(QRectF(118, 54, 22, 16));
    painter.drawRect(QRectF(138, 57, 8, 10));

    // Housing and its screw-on cover.
    painter.setBrush(Metal(20, 130, QColor(120, 160, 215), QColor(35, 70, 130)));
    painter.drawRoundedRect(QRectF(20, 40, 110, 52), 10, 10);
    painter.setBrush(Metal(24, 126, QColor(140, 180, 230), QColor(45, 85, 150)));
    painter.drawRoundedRect(QRectF(24, 14, 102, 32), 8, 8);

    // Name plate.
    painter.setBrush(QColor(245, 245, 235));
    painter.drawRoundedRect(QRectF(36, 52, 78, 26), 3, 3);
    painter.setPen(QPen(QColor(90, 90, 100), 2));
    for (const qreal y : {60.0, 66.0, 72.0})
        painter.drawLine(QPointF(44, y), QPointF(y == 72.0 ? 80 : 106, y));
    return picture;
}
