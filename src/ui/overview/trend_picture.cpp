#include "ui/overview/trend_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace q::ui {

QPixmap trendPicture(int picture, int size) {
    struct Look {
        double degrees;  // direction of the arrow, 90 = straight up
        QColor colour;
    };
    static const Look looks[] = {
        {90, QColor(0, 150, 0)},    // 1
        {-90, QColor(200, 0, 0)},   // 2
        {45, QColor(80, 180, 0)},   // 3
        {-45, QColor(230, 120, 0)}, // 4
        {0, QColor(200, 170, 0)},   // 5
    };
    const Look& look = looks[picture >= 1 && picture <= 5 ? picture - 1 : 4];
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(size / 2.0, size / 2.0);
    p.rotate(-look.degrees);
    const double r = size * 0.42;
    QPainterPath arrow;
    arrow.moveTo(-r, -r * 0.16);
    arrow.lineTo(r * 0.25, -r * 0.16);
    arrow.lineTo(r * 0.25, -r * 0.5);
    arrow.lineTo(r, 0);
    arrow.lineTo(r * 0.25, r * 0.5);
    arrow.lineTo(r * 0.25, r * 0.16);
    arrow.lineTo(-r, r * 0.16);
    arrow.closeSubpath();
    p.setPen(QPen(look.colour.darker(140), 1.5));
    p.setBrush(look.colour);
    p.drawPath(arrow);
    return pixmap;
}

}  // namespace q::ui
