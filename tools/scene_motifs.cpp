// Self-contained motifs for animated puzzles: a hot-air balloon and a clownfish.
#include "scenery.h"
#include "scenes.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

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

QImage drawGoldfish(QSize size)
{
    const int W = size.width(), H = size.height();
    QImage img(size, QImage::Format_RGB32);
    Rng rng(77);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const double caustic = fbm(x * 0.05, y * 0.08, 3, 9);
            QColor c = colourAt({{0, QColor(60, 200, 230)}, {0.55, QColor(30, 120, 200)}, {1, QColor(20, 60, 140)}},
                                y / double(H));
            putPixel(img, x, y, scaled(c, 0.9 + 0.3 * std::abs(caustic - 0.5) * 2));
        }
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    // Light shafts, sand and pebbles.
    for (int i = 0; i < 5; ++i) {
        const double x = W * (0.1 + 0.2 * i);
        QLinearGradient g(QPointF(x, 0), QPointF(x, H));
        g.setColorAt(0, QColor(255, 255, 255, 60));
        g.setColorAt(1, QColor(255, 255, 255, 0));
        p.setBrush(g);
        p.drawPolygon(QPolygonF{QPointF(x, 0), QPointF(x + 22, 0), QPointF(x - 20, H), QPointF(x - 55, H)});
    }
    QPainterPath sand;
    sand.moveTo(0, H * 0.86);
    sand.cubicTo(W * 0.3, H * 0.8, W * 0.6, H * 0.93, W, H * 0.84);
    sand.lineTo(W, H);
    sand.lineTo(0, H);
    QLinearGradient sandGrad(QPointF(0, H * 0.8), QPointF(0, H));
    sandGrad.setColorAt(0, QColor(245, 220, 160));
    sandGrad.setColorAt(1, QColor(200, 160, 100));
    p.setBrush(sandGrad);
    p.drawPath(sand);
    const QColor pebbles[4] = {QColor(170, 120, 90), QColor(230, 230, 220), QColor(120, 110, 130), QColor(240, 150, 120)};
    for (int i = 0; i < 40; ++i) {
        p.setBrush(pebbles[rng.between(0, 3)]);
        p.drawEllipse(QPointF(rng.range(0, W), H * rng.range(0.9, 1.0)), rng.range(1.5, 4), rng.range(1, 2.5));
    }
    // Weed on the left, anemone on the right.
    for (int i = 0; i < 7; ++i) {
        const double x = W * 0.02 + i * 7;
        QPainterPath blade;
        blade.moveTo(x, H);
        blade.cubicTo(x + 18, H * 0.75, x - 16, H * 0.5, x + 6 + rng.range(-6, 6), H * rng.range(0.15, 0.45));
        p.setPen(QPen(QColor::fromHsv(100 + i * 8, 200, 150 + i * 12), 5, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(blade);
    }
    for (int i = 0; i < 22; ++i) {
        const double a = std::numbers::pi * (0.1 + 0.8 * i / 21.0);
        const QPointF base(W * 0.86, H * 0.97);
        const QPointF tip = base + QPointF(-std::cos(a) * 40, -std::sin(a) * 48);
        p.setPen(QPen(QColor::fromHsv(300 + (i % 3) * 15, 150, 240), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(base, tip);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 220, 250));
        p.drawEllipse(tip, 2.6, 2.6);
    }

    // The clownfish, built in its own coordinates (nose at the origin, facing left).
    p.save();
    p.translate(W * 0.1, H * 0.44);
    p.scale(W / 300.0, H / 250.0);
    const QPen ink(QColor(25, 15, 20), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    const QColor orange(255, 130, 20);
    QPainterPath body;
    body.moveTo(0, 0);
    body.cubicTo(8, -72, 140, -78, 182, -14);
    body.lineTo(182, 14);
    body.cubicTo(140, 78, 8, 72, 0, 0);
    QPainterPath tail;
    tail.moveTo(175, -8);
    tail.cubicTo(200, -40, 230, -62, 246, -50);
    tail.cubicTo(228, -20, 228, 20, 246, 50);
    tail.cubicTo(230, 62, 200, 40, 175, 8);
    QPainterPath dorsal;
    dorsal.moveTo(55, -52);
    dorsal.cubicTo(70, -98, 130, -96, 160, -36);
    QPainterPath belly;
    belly.moveTo(95, 50);
    belly.cubicTo(110, 90, 150, 80, 160, 32);
    p.setPen(ink);
    for (const QPainterPath* fin : {&tail, &dorsal, &belly}) {
        QLinearGradient g(fin->boundingRect().topLeft(), fin->boundingRect().bottomRight());
        g.setColorAt(0, QColor(255, 170, 60));
        g.setColorAt(1, QColor(230, 90, 10));
        p.setBrush(g);
        p.drawPath(*fin);
    }
    QLinearGradient bodyGrad(QPointF(0, -60), QPointF(0, 60));
    bodyGrad.setColorAt(0, QColor(255, 175, 60));
    bodyGrad.setColorAt(0.5, orange);
    bodyGrad.setColorAt(1, QColor(215, 80, 10));
    p.setBrush(bodyGrad);
    p.drawPath(body);
    p.save();
    p.setClipPath(body);
    for (auto [x, w] : {std::pair{46.0, 22.0}, std::pair{105.0, 26.0}, std::pair{166.0, 12.0}}) {
        QPainterPath stripe;
        stripe.moveTo(x - w / 2, -90);
        stripe.cubicTo(x + 12 - w / 2, -30, x + 12 - w / 2, 30, x - w / 2, 90);
        stripe.lineTo(x + w / 2, 90);
        stripe.cubicTo(x + 12 + w / 2, 30, x + 12 + w / 2, -30, x + w / 2, -90);
        stripe.closeSubpath();
        p.setBrush(QColor(252, 252, 255));
        p.setPen(QPen(QColor(25, 15, 20), 2.5));
        p.drawPath(stripe);
    }
    QRadialGradient sheen(QPointF(60, -35), 90);
    sheen.setColorAt(0, QColor(255, 255, 255, 90));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawRect(QRectF(-10, -90, 260, 180));
    p.restore();
    p.setPen(ink);
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);
    QPainterPath pectoral;
    pectoral.moveTo(62, 12);
    pectoral.cubicTo(80, 0, 108, 18, 96, 40);
    pectoral.cubicTo(84, 38, 70, 28, 62, 12);
    p.setBrush(QColor(255, 155, 40));
    p.drawPath(pectoral);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(24, -14), 12, 12);
    p.setBrush(QColor(20, 20, 30));
    p.drawEllipse(QPointF(21, -14), 7, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(18, -17), 2.5, 2.5);
    p.setPen(ink);
    p.drawArc(QRectF(3, 6, 14, 10), 200 * 16, 120 * 16);
    p.restore();

    // Bubbles rising from the fish's mouth.
    p.setBrush(QColor(255, 255, 255, 50));
    p.setPen(QPen(QColor(240, 255, 255, 210), 1.5));
    const double bubbles[5][3] = {{0.08, 0.33, 5}, {0.12, 0.24, 7}, {0.07, 0.15, 9}, {0.14, 0.06, 6}, {0.45, 0.08, 4}};
    for (const auto& b : bubbles)
        p.drawEllipse(QPointF(W * b[0], H * b[1]), b[2], b[2]);
    drawFrame(p, size, QColor(200, 245, 255));
    p.end();
    return img;
}

}  // namespace pics
