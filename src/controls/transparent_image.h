#pragma once

#include <QLabel>
#include <QPixmap>

// A picture drawn with the colour of its top-left pixel treated as transparent, so only
// the drawn shape shows on the page.
class CTransparentImage : public QLabel {
    Q_OBJECT

public:
    explicit CTransparentImage(QWidget* parent = nullptr);
    void SetBitmap(const QImage& image);

    // The image with every pixel of the top-left pixel's colour made transparent.
    static QImage WithTransparentCorner(const QImage& image);
};
