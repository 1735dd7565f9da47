// SPDX-License-Identifier: MIT
// The moving picture of animated puzzles, a hot-air balloon, alone and over a plain background.
#include "scenery.h"
#include "scenes.h"

#include <QRadialGradient>


namespace pics {

namespace {

// Dark frame with a light inner rim so the picture reads clearly over any background.
void drawFrame(QPainter& p, const QSize& size, const QColor& rim)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(35, 25, 50), 3));
    p.drawRect(QRectF(1.5, 1.5, size.width() - 3, size.height() - 3));
    p.setPen(QPen(rim, 1));
    p.drawRect(QRectF(3.5, 3.5, size.width() - 7, size.height() - 7));
    p.restore();
}

}  // namespace

QImage drawBalloonPicture(QSize size)
{
    const int W = size.width(), H = size.height();
    QImage img(size, QImage::Format_RGB32);
    Rng rng(41);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const double t = y / double(H) + 0.08 * (fbm(x * 0.02, y * 0.06, 3, 5) - 0.5);
            const double wisp = std::max(0.0, fbm(x * 0.012, y * 0.07, 4, 6) - 0.5) * 3;
            const QColor c =
                colourAt({{0, QColor(70, 150, 235)}, {0.6, QColor(150, 205, 250)}, {1, QColor(255, 215, 170)}}, t);
            putPixel(img, x, y, mix(mix(c, QColor(255, 200, 220), 0.3 * x / W), Qt::white, wisp * 0.5));
        }
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient sun(QPointF(W * 0.86, H * 0.16), H * 0.22);
    sun.setColorAt(0, QColor(255, 250, 210));
    sun.setColorAt(0.3, QColor(255, 235, 120));
    sun.setColorAt(0.32, QColor(255, 235, 120, 150));
    sun.setColorAt(1, QColor(255, 235, 120, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sun);
    p.drawEllipse(QPointF(W * 0.86, H * 0.16), H * 0.22, H * 0.22);
    drawCloud(p, QPointF(W * 0.17, H * 0.78), W * 0.34, QColor(255, 255, 255), QColor(190, 200, 235), rng);
    drawCloud(p, QPointF(W * 0.86, H * 0.62), W * 0.28, QColor(255, 250, 245), QColor(230, 185, 200), rng);
    drawCloud(p, QPointF(W * 0.12, H * 0.2), W * 0.2, QColor(255, 255, 255), QColor(180, 200, 240), rng);
    drawBalloon(p, QRectF(W * 0.82 - 18, H * 0.33, 36, 48),
                {QColor(60, 190, 90), QColor(255, 250, 240), QColor(40, 120, 220)}, QColor(250, 200, 40));
    drawBird(p, QPointF(W * 0.08, H * 0.45), 12, QColor(50, 40, 80));
    drawBird(p, QPointF(W * 0.16, H * 0.5), 9, QColor(50, 40, 80));
    drawBalloon(p, QRectF(W * 0.46 - 90, 9, 180, H - 17),
                {QColor(235, 45, 60), QColor(255, 200, 30), QColor(40, 170, 90), QColor(40, 110, 225),
                 QColor(150, 60, 200)},
                QColor(255, 245, 220));
    drawFrame(p, size, QColor(255, 255, 255));
    p.end();
    return img;
}

QImage drawBalloonScene(QSize size, QSize balloon, const QColor& background)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(background);
    QPainter p(&img);
    p.drawImage(QPoint((size.width() - balloon.width()) / 2, (size.height() - balloon.height()) / 2),
                drawBalloonPicture(balloon));
    p.end();
    return img;
}

}  // namespace pics
