// SPDX-License-Identifier: MIT
// Reusable scenery pieces drawn with QPainter: balloons, trees, houses and boats.
#include "scenery.h"

#include <QLinearGradient>
#include <QPolygonF>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pics {

namespace {

// Half-width of the balloon envelope at height y: a sphere on top narrowing to the mouth.
struct Envelope {
    double cx, top, radius, centreY, mouthY, mouthHalf;
    double halfWidth(double y) const
    {
        if (y <= centreY) {
            const double d = centreY - y;
            return std::sqrt(std::max(0.0, radius * radius - d * d));
        }
        const double t = std::clamp((y - centreY) / (mouthY - centreY), 0.0, 1.0);
        return mouthHalf + (radius - mouthHalf) * std::pow(std::cos(t * std::numbers::pi / 2), 0.9);
    }
    QPolygonF strip(double s0, double s1) const  // between two "longitudes" given as sines
    {
        QPolygonF poly;
        const int steps = 48;
        for (int i = 0; i <= steps; ++i) {
            const double y = top + (mouthY - top) * i / steps;
            poly << QPointF(cx + halfWidth(y) * s0, y);
        }
        for (int i = steps; i >= 0; --i) {
            const double y = top + (mouthY - top) * i / steps;
            poly << QPointF(cx + halfWidth(y) * s1, y);
        }
        return poly;
    }
};

}  // namespace

void drawBalloon(QPainter& p, const QRectF& box, const std::vector<QColor>& stripes, const QColor& band)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    Envelope env;
    env.radius = std::min(box.width() / 2, box.height() * 0.37);
    env.cx = box.center().x();
    env.top = box.top();
    env.centreY = env.top + env.radius;
    env.mouthY = env.centreY + env.radius * 1.05;
    env.mouthHalf = env.radius * 0.24;
    const double R = env.radius;
    const QColor ink(40, 25, 45);

    const QPolygonF outline = env.strip(-1, 1);
    QPainterPath shape;
    shape.addPolygon(outline);
    shape.closeSubpath();

    // Basket, ropes and burner flame under the envelope.
    const double basketTop = box.bottom() - box.height() * 0.11;
    const QRectF basket(env.cx - R * 0.22, basketTop, R * 0.44, box.bottom() - basketTop);
    p.setPen(QPen(QColor(90, 60, 40), std::max(1.0, R * 0.025)));
    for (double s : {-1.0, -0.35, 0.35, 1.0})
        p.drawLine(QPointF(env.cx + env.mouthHalf * s * 0.9, env.mouthY),
                   QPointF(env.cx + basket.width() / 2 * s * 0.9, basketTop));
    QRadialGradient flame(QPointF(env.cx, env.mouthY + R * 0.12), R * 0.16);
    flame.setColorAt(0, QColor(255, 250, 200));
    flame.setColorAt(0.5, QColor(255, 180, 40));
    flame.setColorAt(1, QColor(255, 80, 20, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(flame);
    p.drawEllipse(QPointF(env.cx, env.mouthY + R * 0.1), R * 0.1, R * 0.17);
    QLinearGradient wicker(basket.topLeft(), basket.topRight());
    wicker.setColorAt(0, QColor(150, 95, 45));
    wicker.setColorAt(0.4, QColor(205, 150, 80));
    wicker.setColorAt(1, QColor(120, 75, 35));
    p.setBrush(wicker);
    p.setPen(QPen(ink, std::max(1.0, R * 0.025)));
    p.drawRoundedRect(basket, R * 0.04, R * 0.04);
    p.setPen(QPen(QColor(110, 70, 35), std::max(0.7, R * 0.012)));
    for (int i = 1; i < 4; ++i) {
        const double y = basket.top() + basket.height() * i / 4;
        p.drawLine(QPointF(basket.left() + 1, y), QPointF(basket.right() - 1, y));
    }
    for (int i = 1; i < 6; ++i) {
        const double x = basket.left() + basket.width() * i / 6;
        p.drawLine(QPointF(x, basket.top() + 1), QPointF(x, basket.bottom() - 1));
    }
    p.setBrush(QColor(100, 60, 30));
    p.drawRoundedRect(QRectF(basket.left() - R * 0.02, basketTop - R * 0.03, basket.width() + R * 0.04, R * 0.07),
                      R * 0.03, R * 0.03);

    // Gores: vertical stripes following the curve of the envelope.
    const int gores = 10;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < gores; ++i) {
        const double a0 = -std::numbers::pi / 2 + std::numbers::pi * i / gores;
        const double a1 = -std::numbers::pi / 2 + std::numbers::pi * (i + 1) / gores;
        p.setBrush(stripes[i % stripes.size()]);
        p.drawPolygon(env.strip(std::sin(a0), std::sin(a1)));
    }

    p.save();
    p.setClipPath(shape);
    // Decorative band with zigzag around the widest part.
    const double bandY = env.centreY + R * 0.12;
    const double bandH = R * 0.2;
    auto sag = [&](double x) { return R * 0.14 * std::sqrt(std::max(0.0, 1 - std::pow((x - env.cx) / R, 2))); };
    QPainterPath bandPath;
    QPainterPath zig;
    const int n = 64;
    for (int i = 0; i <= n; ++i) {
        const double x = env.cx - R + 2 * R * i / n;
        const QPointF pt(x, bandY - bandH / 2 + sag(x));
        i == 0 ? bandPath.moveTo(pt) : bandPath.lineTo(pt);
    }
    for (int i = n; i >= 0; --i) {
        const double x = env.cx - R + 2 * R * i / n;
        bandPath.lineTo(x, bandY + bandH / 2 + sag(x));
    }
    p.setBrush(band);
    p.drawPath(bandPath);
    const int teeth = 14;
    for (int i = 0; i <= teeth; ++i) {
        const double x0 = env.cx - R + 2 * R * i / teeth;
        const double x1 = x0 + R / teeth;
        const double x2 = x0 + 2 * R / teeth;
        if (i == 0)
            zig.moveTo(x0, bandY + bandH * 0.3 + sag(x0));
        zig.lineTo(x1, bandY - bandH * 0.3 + sag(x1));
        zig.lineTo(x2, bandY + bandH * 0.3 + sag(x2));
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(stripes[0], bandH * 0.22, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(zig);

    // Light from the upper left, shadow on the lower right.
    QRadialGradient light(QPointF(env.cx - R * 0.45, env.top + R * 0.55), R * 1.9);
    light.setColorAt(0, QColor(255, 255, 255, 110));
    light.setColorAt(0.3, QColor(255, 255, 255, 0));
    light.setColorAt(0.65, QColor(0, 0, 0, 0));
    light.setColorAt(1, QColor(20, 0, 40, 120));
    p.setPen(Qt::NoPen);
    p.setBrush(light);
    p.drawRect(box.adjusted(-R, -R, R, R));
    p.setPen(QPen(withAlpha(ink, 110), std::max(0.7, R * 0.015)));
    for (int i = 1; i < gores; ++i) {
        const double s = std::sin(-std::numbers::pi / 2 + std::numbers::pi * i / gores);
        QPolygonF seam;
        for (int k = 0; k <= 48; ++k) {
            const double y = env.top + (env.mouthY - env.top) * k / 48;
            seam << QPointF(env.cx + env.halfWidth(y) * s, y);
        }
        p.drawPolyline(seam);
    }
    p.restore();

    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(ink, std::max(1.0, R * 0.035), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(shape);
    p.setBrush(scaled(stripes[1 % stripes.size()], 0.6));
    p.drawRoundedRect(QRectF(env.cx - env.mouthHalf * 1.05, env.mouthY - R * 0.05, env.mouthHalf * 2.1, R * 0.08),
                      R * 0.02, R * 0.02);
    p.restore();
}

void drawPine(QPainter& p, QPointF base, double height, const QColor& colour)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(95, 60, 35));
    p.drawRect(QRectF(base.x() - height * 0.04, base.y() - height * 0.18, height * 0.08, height * 0.18));
    for (int tier = 0; tier < 3; ++tier) {
        const double bottom = base.y() - height * (0.12 + tier * 0.25);
        const double top = bottom - height * 0.45;
        const double half = height * (0.24 - tier * 0.05);
        QPolygonF dark{QPointF(base.x(), top), QPointF(base.x() + half, bottom), QPointF(base.x() - half, bottom)};
        p.setBrush(scaled(colour, 0.75 + tier * 0.08));
        p.drawPolygon(dark);
        QPolygonF lit{QPointF(base.x(), top), QPointF(base.x(), bottom), QPointF(base.x() - half, bottom)};
        p.setBrush(scaled(colour, 1.0 + tier * 0.08));
        p.drawPolygon(lit);
    }
    p.restore();
}

void drawRoundTree(QPainter& p, QPointF base, double height, const QColor& colour, Rng& rng)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 70, 40));
    QPolygonF trunk{QPointF(base.x() - height * 0.06, base.y()), QPointF(base.x() + height * 0.06, base.y()),
                    QPointF(base.x() + height * 0.03, base.y() - height * 0.5),
                    QPointF(base.x() - height * 0.03, base.y() - height * 0.5)};
    p.drawPolygon(trunk);
    const QPointF crown(base.x(), base.y() - height * 0.62);
    const double r = height * 0.3;
    for (int i = 0; i < 7; ++i) {
        const double a = rng.range(0, 2 * std::numbers::pi);
        const double d = i == 0 ? 0 : rng.range(0.35, 0.6) * r;
        const QPointF c = crown + QPointF(std::cos(a) * d, std::sin(a) * d * 0.8);
        const double rr = r * rng.range(0.55, 0.8);
        QRadialGradient g(c - QPointF(rr * 0.35, rr * 0.4), rr * 1.2);
        g.setColorAt(0, scaled(colour, 1.35));
        g.setColorAt(0.6, colour);
        g.setColorAt(1, scaled(colour, 0.6));
        p.setBrush(g);
        p.drawEllipse(c, rr, rr);
    }
    p.restore();
}

void drawHouse(QPainter& p, QPointF base, double width, const QColor& wall, const QColor& roof, bool lit, Rng& rng)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double wallH = width * rng.range(0.6, 0.8);
    const QRectF body(base.x() - width / 2, base.y() - wallH, width, wallH);
    const QPen outline(scaled(wall, 0.35), std::max(0.8, width * 0.03));
    p.setPen(outline);
    QLinearGradient g(body.topLeft(), body.topRight());
    g.setColorAt(0, scaled(wall, 1.15));
    g.setColorAt(1, scaled(wall, 0.8));
    p.setBrush(g);
    p.drawRect(body);
    // chimney, then roof over it
    p.setBrush(QColor(150, 80, 60));
    p.drawRect(QRectF(body.right() - width * 0.3, body.top() - width * 0.45, width * 0.12, width * 0.3));
    const double roofH = width * rng.range(0.4, 0.55);
    QPolygonF roofPoly{QPointF(body.left() - width * 0.1, body.top()), QPointF(base.x(), body.top() - roofH),
                       QPointF(body.right() + width * 0.1, body.top())};
    p.setPen(QPen(scaled(roof, 0.45), std::max(0.8, width * 0.03)));
    p.setBrush(roof);
    p.drawPolygon(roofPoly);
    p.setPen(QPen(scaled(roof, 0.7), std::max(0.5, width * 0.015)));
    for (int i = 1; i < 4; ++i) {
        const double t = i / 4.0;
        p.drawLine(QPointF(base.x() - (width * 0.6) * t, body.top() - roofH * (1 - t)),
                   QPointF(base.x() + (width * 0.6) * t, body.top() - roofH * (1 - t)));
    }
    // door and windows
    p.setPen(outline);
    p.setBrush(QColor(120, 70, 40));
    p.drawRect(QRectF(base.x() - width * 0.09, base.y() - wallH * 0.5, width * 0.18, wallH * 0.5));
    const QColor glass = lit ? QColor(255, 220, 110) : QColor(140, 200, 240);
    p.setBrush(glass);
    for (double side : {-1.0, 1.0}) {
        const QRectF win(base.x() + side * width * 0.28 - width * 0.1, base.y() - wallH * 0.72, width * 0.2,
                         wallH * 0.3);
        p.drawRect(win);
        p.drawLine(QPointF(win.center().x(), win.top()), QPointF(win.center().x(), win.bottom()));
    }
    p.restore();
}

void drawSailboat(QPainter& p, QPointF waterline, double size, const QColor& hull, const QColor& sail,
                  const QColor& sail2)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double x = waterline.x(), y = waterline.y();
    const QPen ink(QColor(40, 30, 40), std::max(0.8, size * 0.03));
    p.setPen(ink);
    p.setBrush(hull);
    QPolygonF body{QPointF(x - size * 0.5, y - size * 0.18), QPointF(x + size * 0.55, y - size * 0.18),
                   QPointF(x + size * 0.38, y + size * 0.05), QPointF(x - size * 0.36, y + size * 0.05)};
    p.drawPolygon(body);
    p.setPen(QPen(QColor(90, 60, 40), std::max(1.0, size * 0.04)));
    p.drawLine(QPointF(x, y - size * 0.18), QPointF(x, y - size * 1.25));
    p.setPen(ink);
    p.setBrush(sail);
    p.drawPolygon(QPolygonF{QPointF(x + size * 0.04, y - size * 1.2), QPointF(x + size * 0.5, y - size * 0.28),
                            QPointF(x + size * 0.04, y - size * 0.28)});
    p.setBrush(sail2);
    p.drawPolygon(QPolygonF{QPointF(x - size * 0.04, y - size * 1.0), QPointF(x - size * 0.04, y - size * 0.3),
                            QPointF(x - size * 0.42, y - size * 0.3)});
    p.setBrush(QColor(230, 40, 50));
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF{QPointF(x, y - size * 1.25), QPointF(x + size * 0.2, y - size * 1.19),
                            QPointF(x, y - size * 1.13)});
    p.restore();
}

}  // namespace pics
