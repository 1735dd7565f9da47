// SPDX-License-Identifier: MIT
// The space picture: glowing nebula clouds, stars, a ringed planet with a moon, a galaxy and a comet.
#include "paintkit.h"
#include "scenes.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pics {

namespace {

double smoothstep(double a, double b, double x)
{
    const double t = std::clamp((x - a) / (b - a), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

QColor add(const QColor& base, double r, double g, double b)
{
    return QColor(std::clamp(int(base.red() + r), 0, 255), std::clamp(int(base.green() + g), 0, 255),
                  std::clamp(int(base.blue() + b), 0, 255));
}

// Annulus of the planet's rings, drawn in the ring plane's frame; half = -1 back, +1 front.
void drawRings(QPainter& p, QPointF centre, double radius, double tilt, int half)
{
    p.save();
    p.translate(centre);
    p.rotate(tilt);
    p.setClipRect(QRectF(-radius * 3, half < 0 ? -radius * 3 : 0, radius * 6, radius * 3));
    const QColor bands[5] = {QColor(230, 200, 160, 200), QColor(250, 230, 200, 240), QColor(180, 140, 120, 170),
                             QColor(240, 215, 180, 230), QColor(200, 170, 210, 180)};
    for (int i = 0; i < 5; ++i) {
        const double outer = radius * (2.15 - i * 0.14), inner = outer - radius * 0.11;
        QPainterPath ring;
        ring.addEllipse(QPointF(0, 0), outer, outer * 0.28);
        ring.addEllipse(QPointF(0, 0), inner, inner * 0.28);
        p.setPen(Qt::NoPen);
        p.setBrush(bands[i]);
        p.drawPath(ring);
    }
    p.restore();
}

}  // namespace

QImage drawNebula(QSize size)
{
    const int W = size.width(), H = size.height();
    const double s = H / 768.0;
    QImage img(size, QImage::Format_RGB32);

    // Nebula: domain-warped noise coloured by two further noise fields.
    const QPointF galaxy(W * 0.78, H * 0.22);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const double px = x * 0.0025 / s, py = y * 0.0025 / s;
            const double qx = fbm(px, py, 5, 1), qy = fbm(px + 5.2, py + 1.3, 5, 2);
            const double n = fbm(px + 2.2 * qx, py + 2.2 * qy, 6, 3);
            const double density = smoothstep(0.24, 0.7, n);
            const double filament = std::pow(1 - std::abs(2 * fbm(px * 2 + qx, py * 2 + qy, 5, 4) - 1), 6);
            QColor c = mix(QColor(10, 12, 45), QColor(40, 15, 70), y / double(H));
            const QColor magenta(235, 60, 170), amber(255, 160, 60), teal(50, 200, 230);
            const QColor hue = mix(mix(magenta, teal, smoothstep(0.35, 0.65, qx)), amber, smoothstep(0.5, 0.75, qy));
            c = mix(c, hue, 0.12 + density * 0.78);
            c = add(c, 120 * filament * density, 110 * filament * density, 130 * filament * density);

            // Spiral galaxy seen at a slant.
            const double gu = (x - galaxy.x()) / s, gv = (y - galaxy.y()) / s;
            const double ca = std::cos(-0.5), sa = std::sin(-0.5);
            const double ru = gu * ca - gv * sa, rv = (gu * sa + gv * ca) / 0.45;
            const double r = std::hypot(ru, rv) + 1e-6, theta = std::atan2(rv, ru);
            const double arms = std::pow(0.5 + 0.5 * std::cos(2 * (theta - 2.2 * std::log(r / 8))), 3);
            const double glow = arms * std::exp(-r / 110) * 1.2 + std::exp(-r * r / 500) * 1.6;
            c = add(c, 230 * glow, 220 * glow, 255 * std::min(1.2, glow * 1.1));
            putPixel(img, x, y, c);
        }

    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    Rng rng(99);
    drawStars(p, QRectF(0, 0, W, H), int(1100 * s * s), rng, 2.6 * s);

    // Comet streaking down from the upper left.
    const QPointF head(W * 0.34, H * 0.3), tailEnd(W * 0.05, H * 0.05);
    const QPointF dir = (head - tailEnd) / std::hypot(head.x() - tailEnd.x(), head.y() - tailEnd.y());
    const QPointF side(-dir.y(), dir.x());
    QLinearGradient tail(tailEnd, head);
    tail.setColorAt(0, QColor(120, 220, 255, 0));
    tail.setColorAt(1, QColor(210, 245, 255, 210));
    p.setPen(Qt::NoPen);
    p.setBrush(tail);
    p.drawPolygon(QPolygonF{head + side * 6 * s, tailEnd + side * 40 * s, tailEnd - side * 30 * s, head - side * 6 * s});
    QRadialGradient coma(head, 26 * s);
    coma.setColorAt(0, QColor(255, 255, 255));
    coma.setColorAt(0.3, QColor(200, 240, 255, 220));
    coma.setColorAt(1, QColor(120, 200, 255, 0));
    p.setBrush(coma);
    p.drawEllipse(head, 26 * s, 26 * s);
    p.end();

    // Ringed planet in the lower left, lit from the upper right.
    const QPointF planet(W * 0.24, H * 0.72);
    const double R = H * 0.19;
    const double tilt = -16;
    p.begin(&img);
    p.setRenderHint(QPainter::Antialiasing);
    drawRings(p, planet, R, tilt, -1);
    p.end();
    const double lx = 0.55, ly = -0.45, lz = 0.7;
    for (int y = std::max(0, int(planet.y() - R)); y < std::min(H, int(planet.y() + R + 1)); ++y)
        for (int x = std::max(0, int(planet.x() - R)); x < std::min(W, int(planet.x() + R + 1)); ++x) {
            const double nx = (x - planet.x()) / R, ny = (y - planet.y()) / R;
            const double rr = nx * nx + ny * ny;
            if (rr > 1)
                continue;
            const double nz = std::sqrt(1 - rr);
            const double lat = ny * std::cos(tilt * std::numbers::pi / 180) - nx * std::sin(tilt * std::numbers::pi / 180);
            const double band = lat * 7 + 0.6 * fbm(nx * 3, lat * 9, 4, 12);
            const QColor bands[4] = {QColor(235, 180, 110), QColor(200, 110, 70), QColor(250, 220, 170),
                                     QColor(170, 100, 120)};
            const int bi = int(std::floor(band)) & 3;
            QColor c = mix(bands[bi], bands[(bi + 1) & 3], band - std::floor(band));
            const double light = std::clamp(nx * lx + ny * ly + nz * lz, 0.0, 1.0);
            c = scaled(c, 0.18 + 0.95 * light);
            // soft edge against the sky
            const double edge = smoothstep(1.0, 0.97, std::sqrt(rr));
            putPixel(img, x, y, mix(pixelAt(img, x, y), c, edge));
        }
    p.begin(&img);
    p.setRenderHint(QPainter::Antialiasing);
    drawRings(p, planet, R, tilt, +1);

    // Small cratered moon.
    const QPointF moon(W * 0.5, H * 0.83);
    const double mr = 30 * s;
    QRadialGradient moonShade(moon + QPointF(mr * 0.4, -mr * 0.4), mr * 1.6);
    moonShade.setColorAt(0, QColor(230, 230, 240));
    moonShade.setColorAt(0.6, QColor(140, 145, 170));
    moonShade.setColorAt(1, QColor(40, 40, 70));
    p.setPen(Qt::NoPen);
    p.setBrush(moonShade);
    p.drawEllipse(moon, mr, mr);
    p.setBrush(QColor(90, 90, 120, 120));
    for (int i = 0; i < 6; ++i)
        p.drawEllipse(moon + QPointF(rng.range(-0.6, 0.6) * mr, rng.range(-0.6, 0.6) * mr), mr * rng.range(0.08, 0.2),
                      mr * rng.range(0.08, 0.2));
    p.end();
    return img;
}

}  // namespace pics
