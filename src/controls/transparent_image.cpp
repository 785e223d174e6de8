#include "controls/transparent_image.h"

CTransparentImage::CTransparentImage(QWidget* parent) : QLabel(parent)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void CTransparentImage::SetBitmap(const QImage& image)
{
    const QImage transparent = WithTransparentCorner(image);
    setPixmap(QPixmap::fromImage(transparent));
    setFixedSize(transparent.size());
}

QImage CTransparentImage::WithTransparentCorner(const QImage& image)
{
    if (image.isNull()) return image;
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = out.pixel(0, 0);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (line[x] == key) line[x] = qRgba(0, 0, 0, 0);
    }
    return out;
}
