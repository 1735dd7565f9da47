// SPDX-License-Identifier: MIT
// The harbour picture: tall coloured quay houses, a lighthouse and boats mirrored in the water.
#include "scenery.h"
#include "scenes.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace pics {

namespace {

void drawTownhouse(QPainter& p, const QRectF& body, const QColor& wall, const QColor& trim, int style, Rng& rng)
{
    const QPen ink(QColor(50, 35, 40), 1.5);
    p.setPen(ink);
    QLinearGradient g(body.topLeft(), body.topRight());
    g.setColorAt(0, scaled(wall, 1.12));
    g.setColorAt(1, scaled(wall, 0.82));
    p.setBrush(g);
    p.drawRect(body);
    const double w = body.width();
    p.setBrush(trim);
    if (style == 0) {  // pointed gable
        p.drawPolygon(QPolygonF{QPointF(body.left() - 3, body.top()), QPointF(body.center().x(), body.top() - w * 0.55),
                                QPointF(body.right() + 3, body.top())});
        p.setBrush(QColor(255, 240, 200));
        p.drawEllipse(QPointF(body.center().x(), body.top() - w * 0.2), w * 0.08, w * 0.08);
    } else if (style == 1) {  // stepped gable
        QPolygonF steps;
        const int n = 3;
        steps << QPointF(body.left(), body.top());
        for (int i = 0; i < n; ++i) {
            const double x0 = body.left() + w * i / (2.0 * n + 1), x1 = body.left() + w * (i + 1) / (2.0 * n + 1);
            steps << QPointF(x0, body.top() - w * 0.16 * (i + 1)) << QPointF(x1, body.top() - w * 0.16 * (i + 1));
        }
        for (int i = n; i >= 1; --i) {
            const double x0 = body.right() - w * (i + 1) / (2.0 * n + 1), x1 = body.right() - w * i / (2.0 * n + 1);
            steps << QPointF(x0, body.top() - w * 0.16 * (i + 1)) << QPointF(x1, body.top() - w * 0.16 * i);
        }
        steps << QPointF(body.right(), body.top());
        p.setBrush(wall);
        p.drawPolygon(steps);
    } else {  // flat roof with a cornice
        p.drawRect(QRectF(body.left() - 3, body.top() - 7, w + 6, 7));
    }
    // Window grid with shutters; the ground floor has a door and a shop window.
    const int cols = w > 60 ? 3 : 2;
    const double cell = w / cols;
    const int rows = std::max(2, int((body.height() - 40) / 34));
    const QColor glass[3] = {QColor(120, 190, 230), QColor(255, 220, 120), QColor(90, 140, 190)};
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const QRectF win(body.left() + c * cell + cell * 0.3, body.top() + 10 + r * 34, cell * 0.4, 20);
            p.setPen(QPen(QColor(250, 250, 245), 1.5));
            p.setBrush(glass[rng.between(0, 2)]);
            p.drawRect(win);
            p.drawLine(QPointF(win.center().x(), win.top()), QPointF(win.center().x(), win.bottom()));
            p.setPen(Qt::NoPen);
            p.setBrush(trim);
            p.drawRect(QRectF(win.left() - cell * 0.13, win.top(), cell * 0.11, win.height()));
            p.drawRect(QRectF(win.right() + cell * 0.02, win.top(), cell * 0.11, win.height()));
        }
    }
    p.setPen(ink);
    p.setBrush(scaled(trim, 0.8));
    p.drawRect(QRectF(body.left() + w * 0.12, body.bottom() - 22, w * 0.22, 22));
    p.setBrush(QColor(255, 225, 150));
    p.drawRect(QRectF(body.left() + w * 0.45, body.bottom() - 18, w * 0.45, 13));
    // striped awning over the shop window
    for (int i = 0; i < 5; ++i) {
        p.setBrush(i % 2 ? QColor(250, 250, 250) : trim);
        p.drawRect(QRectF(body.left() + w * 0.43 + i * w * 0.1, body.bottom() - 25, w * 0.1, 6));
    }
}

void drawLighthouse(QPainter& p, QPointF base, double height)
{
    const double wb = height * 0.18, wt = height * 0.11;
    const QPen ink(QColor(40, 30, 40), 1.5);
    p.setPen(ink);
    p.setBrush(QColor(120, 110, 110));
    p.drawRoundedRect(QRectF(base.x() - wb * 1.2, base.y() - 10, wb * 2.4, 22), 6, 6);
    const int bands = 6;
    const double towerH = height * 0.78;
    for (int i = 0; i < bands; ++i) {
        const double y0 = base.y() - towerH * i / bands, y1 = base.y() - towerH * (i + 1) / bands;
        const double h0 = wb - (wb - wt) * i / bands, h1 = wb - (wb - wt) * (i + 1) / bands;
        p.setBrush(i % 2 ? QColor(250, 248, 240) : QColor(220, 40, 45));
        p.drawPolygon(QPolygonF{QPointF(base.x() - h0, y0), QPointF(base.x() + h0, y0), QPointF(base.x() + h1, y1),
                                QPointF(base.x() - h1, y1)});
    }
    const double top = base.y() - towerH;
    p.setBrush(QColor(60, 60, 70));
    p.drawRect(QRectF(base.x() - wt * 1.4, top - 5, wt * 2.8, 5));
    QRadialGradient lamp(QPointF(base.x(), top - 14), 40);
    lamp.setColorAt(0, QColor(255, 250, 200, 230));
    lamp.setColorAt(1, QColor(255, 240, 150, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(lamp);
    p.drawEllipse(QPointF(base.x(), top - 14), 40, 40);
    p.setPen(ink);
    p.setBrush(QColor(255, 235, 120));
    p.drawRect(QRectF(base.x() - wt, top - 22, wt * 2, 17));
    p.setBrush(QColor(200, 40, 45));
    p.drawPolygon(QPolygonF{QPointF(base.x() - wt * 1.3, top - 22), QPointF(base.x(), top - 22 - wt * 1.3),
                            QPointF(base.x() + wt * 1.3, top - 22)});
}

// Boat with its upside-down, faded reflection under the water line.
void drawMooredBoat(QPainter& p, QPointF waterline, double size, const QColor& hull, const QColor& sail,
                    const QColor& sail2)
{
    p.save();
    p.translate(0, 2 * waterline.y());
    p.scale(1, -1);
    p.setOpacity(0.35);
    drawSailboat(p, waterline, size, hull, sail, sail2);
    p.restore();
    drawSailboat(p, waterline, size, hull, sail, sail2);
}

}  // namespace

QImage drawHarbour(QSize size)
{
    const int W = size.width(), H = size.height();
    QImage img(size, QImage::Format_RGB32);
    Rng rng(1234);
    const double quay = H * 0.63, water = H * 0.69;
    const ColourStops sky{{0, QColor(70, 140, 225)}, {0.55, QColor(150, 200, 240)}, {1, QColor(255, 205, 175)}};
    for (int y = 0; y < int(water); ++y)
        for (int x = 0; x < W; ++x) {
            // morning glow towards the lighthouse and thin high wisps across the blue
            const QColor base = colourAt(sky, y / (H * 0.45) + 0.1 * (fbm(x * 0.006, y * 0.03, 3, 4) - 0.5));
            const QColor warm = mix(base, QColor(255, 190, 160), 0.35 * x / W * (1 - y / water));
            const double wisp = std::max(0.0, fbm(x * 0.004, y * 0.035, 5, 6) - 0.5) * 3;
            putPixel(img, x, y, mix(warm, QColor(255, 250, 250), wisp * 0.55));
        }

    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 6; ++i)
        drawCloud(p, QPointF(W * (0.08 + 0.17 * i), H * rng.range(0.07, 0.2)), W * rng.range(0.14, 0.22),
                  QColor(255, 252, 250), QColor(200, 185, 215), rng);

    // Green hill behind the town, dotted with little houses and trees.
    auto ridge = [&](double x) { return H * (0.2 + 0.08 * fbm(x * 0.008, 2, 4, 8)) + 0.05 * H * std::sin(x * 0.006); };
    QPainterPath hill;
    hill.moveTo(0, quay);
    for (int x = 0; x <= W; x += 4)
        hill.lineTo(x, ridge(x));
    hill.lineTo(W, quay);
    hill.closeSubpath();
    QLinearGradient hillGrad(QPointF(0, H * 0.3), QPointF(0, quay));
    hillGrad.setColorAt(0, QColor(120, 180, 90));
    hillGrad.setColorAt(1, QColor(60, 120, 70));
    p.setPen(Qt::NoPen);
    p.setBrush(hillGrad);
    p.drawPath(hill);
    p.save();  // patchwork of fields on the slope
    p.setClipPath(hill);
    const QColor fields[4] = {QColor(150, 200, 90), QColor(210, 210, 100), QColor(90, 150, 70), QColor(170, 190, 60)};
    for (int i = 0; i < 40; ++i) {
        p.setBrush(withAlpha(fields[rng.between(0, 3)], 200));
        p.save();
        p.translate(rng.range(0, W), H * rng.range(0.22, 0.45));
        p.rotate(rng.range(-20, 20));
        p.drawRect(QRectF(-30, -8, rng.range(40, 80), rng.range(12, 22)));
        p.restore();
    }
    p.restore();
    const QColor tiny[5] = {QColor(250, 240, 220), QColor(250, 200, 120), QColor(240, 150, 140), QColor(200, 220, 250),
                            QColor(255, 250, 180)};
    for (int i = 0; i < 40; ++i) {
        const double x = rng.range(0, W);
        const double y = ridge(x) + rng.range(10, 45);
        if (rng.chance(0.5)) {
            drawRoundTree(p, QPointF(x, y + 8), rng.range(12, 20), QColor(70, 140, 60), rng);
        } else {
            p.setPen(QPen(QColor(60, 50, 50), 0.8));
            p.setBrush(tiny[rng.between(0, 4)]);
            p.drawRect(QRectF(x, y, 12, 8));
            p.setBrush(QColor(190, 70, 50));
            p.drawPolygon(QPolygonF{QPointF(x - 2, y), QPointF(x + 6, y - 6), QPointF(x + 14, y)});
        }
    }

    // Quay houses.
    const QColor walls[] = {QColor(240, 90, 70),  QColor(250, 200, 60),  QColor(70, 160, 210), QColor(245, 150, 60),
                            QColor(120, 190, 120), QColor(230, 120, 170), QColor(250, 235, 200), QColor(150, 120, 200),
                            QColor(60, 170, 160)};
    const QColor trims[] = {QColor(40, 70, 140), QColor(200, 60, 50), QColor(250, 250, 250), QColor(60, 120, 60),
                            QColor(120, 60, 40)};
    double x = -6;
    for (int i = 0; x < W * 0.76; ++i) {
        const double w = rng.range(48, 74);
        const double h = H * rng.range(0.2, 0.3);
        drawTownhouse(p, QRectF(x, quay - h, w, h), walls[i % 9], trims[(i * 2 + 1) % 5], rng.between(0, 2), rng);
        x += w;
    }
    drawLighthouse(p, QPointF(W * 0.88, quay - 4), H * 0.42);

    // Bunting between the houses and the lighthouse.
    QPainterPath line;
    line.moveTo(W * 0.05, H * 0.3);
    line.quadTo(W * 0.45, H * 0.44, W * 0.86, H * 0.25);
    p.setPen(QPen(QColor(60, 50, 60), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(line);
    const QColor flags[5] = {QColor(230, 50, 60), QColor(255, 210, 40), QColor(40, 160, 80), QColor(50, 110, 220),
                             QColor(250, 250, 250)};
    for (int i = 1; i < 30; ++i) {
        const QPointF a = line.pointAtPercent(i / 30.0), b = line.pointAtPercent((i + 0.6) / 30.0);
        p.setBrush(flags[i % 5]);
        p.drawPolygon(QPolygonF{a, b, (a + b) / 2 + QPointF(0, 11)});
    }
    for (int i = 0; i < 6; ++i)
        drawBird(p, QPointF(W * rng.range(0.1, 0.9), H * rng.range(0.04, 0.22)), rng.range(10, 18), QColor(60, 60, 80));

    // Stone quay wall with bollards.
    for (int yy = int(quay); yy < int(water); ++yy)
        for (int xx = 0; xx < W; ++xx) {
            const int row = (yy - int(quay)) / 8;
            const bool joint = (yy - int(quay)) % 8 == 0 || (xx + row * 11) % 26 == 0;
            const double n = fbm(xx * 0.1, yy * 0.1, 2, 3);
            putPixel(img, xx, yy, joint ? QColor(90, 80, 80) : scaled(QColor(185, 165, 145), 0.8 + 0.35 * n));
        }
    p.setPen(QPen(QColor(40, 40, 50), 1));
    p.setBrush(QColor(70, 70, 80));
    for (int i = 0; i < 8; ++i)
        p.drawRoundedRect(QRectF(W * (0.05 + 0.12 * i), quay - 9, 8, 11), 3, 3);
    p.end();

    // Water: rippled, tinted reflection of the quay.
    const QImage above = img.copy();
    for (int y = int(water); y < H; ++y) {
        const double d = y - water;
        for (int xx = 0; xx < W; ++xx) {
            const double wave = std::sin(y * 0.8 + 5 * fbm(xx * 0.03, y * 0.12, 2, 21));
            const int sx = std::clamp(int(xx + wave * (1.5 + d * 0.04)), 0, W - 1);
            const int sy = std::clamp(int(water - d - 1), 0, H - 1);
            QColor c = mix(pixelAt(above, sx, sy), QColor(20, 90, 130), 0.3 + 0.3 * d / (H - water));
            const double ripple = fbm(xx * 0.015, y * 0.4, 2, 22);
            putPixel(img, xx, y, scaled(c, 0.85 + 0.5 * std::max(0.0, ripple - 0.58) * 2.5));
        }
    }
    p.begin(&img);
    p.setRenderHint(QPainter::Antialiasing);
    drawMooredBoat(p, QPointF(W * 0.16, H * 0.8), 70, QColor(40, 100, 190), QColor(250, 245, 235), QColor(250, 120, 60));
    drawMooredBoat(p, QPointF(W * 0.47, H * 0.87), 90, QColor(220, 60, 50), QColor(255, 230, 90), QColor(250, 250, 250));
    drawMooredBoat(p, QPointF(W * 0.78, H * 0.93), 60, QColor(250, 200, 40), QColor(120, 200, 240), QColor(250, 100, 150));
    drawMooredBoat(p, QPointF(W * 0.93, H * 0.78), 40, QColor(40, 150, 90), QColor(250, 250, 250), QColor(240, 60, 60));
    p.end();
    return img;
}

}  // namespace pics
