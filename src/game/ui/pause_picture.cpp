#include "game/ui/pause_picture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace tl {

QPixmap DrawPausePicture()
{
    QPixmap pm(kPausePictureWidth, kPausePictureHeight);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);

    const QRectF outer(2, 2, kPausePictureWidth - 6, kPausePictureHeight - 7);
    // Shadow, then the raised blue face of the button.
    QPainterPath shadow;
    shadow.addRoundedRect(outer.translated(2, 3), 18, 18);
    p.fillPath(shadow, QColor(0, 0, 0, 70));

    QLinearGradient face(outer.topLeft(), outer.bottomLeft());
    face.setColorAt(0.0, QColor(110, 170, 255));
    face.setColorAt(0.5, QColor(40, 100, 230));
    face.setColorAt(1.0, QColor(20, 60, 170));
    QPainterPath body;
    body.addRoundedRect(outer, 18, 18);
    p.fillPath(body, face);
    p.setPen(QPen(QColor(10, 30, 110), 2));
    p.drawPath(body);

    // A soft highlight on the upper half.
    QPainterPath gloss;
    gloss.addRoundedRect(outer.adjusted(8, 5, -8, -outer.height() / 2), 12, 12);
    p.fillPath(gloss, QColor(255, 255, 255, 55));

    p.setPen(Qt::white);
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(17);
    small.setBold(true);
    p.setFont(small);
    p.drawText(QRectF(outer.left(), outer.top() + 10, outer.width(), 30), Qt::AlignCenter,
               QStringLiteral("Click Here to"));
    QFont big(small);
    big.setPixelSize(28);
    p.setFont(big);
    p.drawText(QRectF(outer.left(), outer.top() + 42, outer.width(), 44), Qt::AlignCenter,
               QStringLiteral("CONTINUE"));
    return pm;
}

} // namespace tl
