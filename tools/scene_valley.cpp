// SPDX-License-Identifier: MIT
// The valley picture: sky, sun, layered mountains, a mirroring lake and a flowery meadow.
#include "scenery.h"
#include "scenes.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pics {

namespace {

struct Mood {
    ColourStops sky;
    QColor sunCore, sunGlow, cloudLight, cloudShade;
    QColor mountains[3];
    QColor snow, water, meadowNear, meadowFar;
    QPointF sun;  // as fractions of the picture size
};

Mood eveningMood()
{
    return {{{0.0, QColor(40, 28, 96)},
             {0.3, QColor(112, 60, 160)},
             {0.58, QColor(222, 84, 128)},
             {0.82, QColor(250, 150, 80)},
             {1.0, QColor(255, 222, 140)}},
            QColor(255, 250, 215), QColor(255, 190, 90), QColor(255, 205, 175), QColor(175, 95, 150),
            {QColor(160, 115, 190), QColor(115, 80, 165), QColor(50, 115, 95)},
            QColor(255, 225, 235), QColor(70, 50, 130), QColor(60, 120, 50), QColor(165, 180, 70),
            QPointF(0.66, 0.44)};
}

Mood dayMood()
{
    return {{{0.0, QColor(25, 85, 195)}, {0.5, QColor(80, 160, 235)}, {1.0, QColor(215, 240, 255)}},
            QColor(255, 255, 235), QColor(255, 240, 150), QColor(255, 255, 255), QColor(150, 175, 210),
            {QColor(125, 145, 200), QColor(80, 120, 160), QColor(60, 140, 70)},
            QColor(250, 252, 255), QColor(40, 100, 160), QColor(45, 130, 50), QColor(150, 200, 80),
            QPointF(0.8, 0.16)};
}

double ridged(double v)
{
    return 1 - std::abs(2 * v - 1);
}

}  // namespace

QImage drawValley(QSize size, bool evening, bool withTitle, std::uint32_t seed)
{
    const int W = size.width(), H = size.height();
    const double s = H / 600.0;  // detail scale relative to an 800 x 600 picture
    const Mood mood = evening ? eveningMood() : dayMood();
    Rng rng(seed);
    QImage img(size, QImage::Format_RGB32);
    const double horizon = H * 0.63;
    const QPointF sun(W * mood.sun.x(), H * mood.sun.y());

    // Sky with soft horizontal streaks.
    for (int y = 0; y < int(horizon) + 2; ++y) {
        for (int x = 0; x < W; ++x) {
            const double t = y / horizon + 0.12 * (fbm(x * 0.005 / s, y * 0.03 / s, 4, seed) - 0.5);
            const double streak = 0.9 + 0.2 * fbm(x * 0.002 / s, y * 0.045 / s, 3, seed + 7);
            // thin high wisps and a warmer tint towards the sun keep every patch of sky distinct
            const double wisp = std::max(0.0, fbm(x * 0.003 / s, y * 0.03 / s, 5, seed + 8) - 0.52) * 3;
            const double dx = (x - sun.x()) / W;
            QColor c = mix(colourAt(mood.sky, t), mood.sunGlow, 0.3 * std::exp(-dx * dx * 5) * y / horizon);
            putPixel(img, x, y, mix(scaled(c, streak), mood.cloudLight, wisp * 0.6));
        }
    }

    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    // Sun rays, glow and disc.
    const int rays = 22;
    for (int i = 0; i < rays; ++i) {
        const double a0 = 2 * std::numbers::pi * i / rays, a1 = a0 + std::numbers::pi / rays * 0.8;
        const double far = W * 1.5;
        QPolygonF wedge{sun, sun + QPointF(std::cos(a0) * far, std::sin(a0) * far),
                        sun + QPointF(std::cos(a1) * far, std::sin(a1) * far)};
        QRadialGradient g(sun, W * 0.7);
        g.setColorAt(0, withAlpha(mood.sunGlow, 70));
        g.setColorAt(1, withAlpha(mood.sunGlow, 0));
        p.setBrush(g);
        p.drawPolygon(wedge);
    }
    QRadialGradient glow(sun, H * 0.3);
    glow.setColorAt(0, withAlpha(mood.sunGlow, 230));
    glow.setColorAt(1, withAlpha(mood.sunGlow, 0));
    p.setBrush(glow);
    p.drawEllipse(sun, H * 0.3, H * 0.3);
    p.setBrush(mood.sunCore);
    p.drawEllipse(sun, H * 0.065, H * 0.065);

    if (evening)  // first stars in the darkest part of the sky
        drawStars(p, QRectF(0, 0, W, H * 0.22), int(W * 0.15), rng, 1.6 * s);
    for (int i = 0; i < 11; ++i) {
        const QPointF c(W * (0.04 + 0.92 * ((i * 0.381966 + 0.13) - std::floor(i * 0.381966 + 0.13))),
                        H * rng.range(0.08, 0.46));
        drawCloud(p, c, W * rng.range(0.1, 0.2), mood.cloudLight, mood.cloudShade, rng);
    }
    p.end();

    // Three mountain ranges, far to near, shaded by slope with streaks running down hill.
    const double baseHeight[3] = {0.07, 0.04, 0.02};
    const double peakHeight[3] = {0.13, 0.08, 0.06};
    const double frequency[3] = {0.006, 0.01, 0.02};
    std::vector<double> top[3];
    for (int k = 0; k < 3; ++k) {
        top[k].resize(W);
        for (int x = 0; x < W; ++x) {
            const double n = fbm(x * frequency[k] / s, 3.7 * k, 5, seed + 31 * k);
            double h = baseHeight[k] + peakHeight[k] * (k == 0 ? ridged(n) * 1.4 : n);
            if (k == 2)  // the nearest hills rise towards both edges and frame the lake
                h += 0.16 * std::pow(std::abs(x / double(W) - 0.5) * 2, 2.2);
            top[k][x] = horizon - H * h;
        }
    }
    for (int k = 0; k < 3; ++k) {
        const double haze = (2 - k) * 0.18;
        for (int x = 0; x < W; ++x) {
            for (int y = std::max(0, int(top[k][x])); y < int(horizon) + 2; ++y) {
                const double depth = y - top[k][x];
                // Faces follow the crest line down the slope, bent by noise into gullies; ridged
                // noise adds creased rock.
                const double wander = 30 * s * (fbm(x * 0.01 / s, y * 0.01 / s, 3, seed + 60 + k) - 0.5);
                const int sx = std::clamp(int(x - depth * 0.6 + wander), 2, W - 3);
                const double slope = (top[k][sx + 2] - top[k][sx - 2]) / (4 * s);
                const double rx = x * 0.012 / s, ry = y * 0.02 / s;
                const double rock = (ridged(fbm(rx + 0.05, ry, 4, seed + 90 + k)) -
                                     ridged(fbm(rx - 0.05, ry, 4, seed + 90 + k))) * 1.5;
                double light = 1.0 + std::clamp(slope, -0.35, 0.35) + rock;
                light = std::clamp(light, 0.6, 1.35);
                QColor c = scaled(mood.mountains[k], light);
                if (k == 0 && depth < H * 0.06 * fbm(x * 0.05 / s, 1.0, 3, seed + 5) &&
                    top[k][x] < horizon - H * 0.16)
                    c = scaled(mood.snow, std::min(1.0, light));
                if (k == 2)  // forest texture on the near hills
                    c = scaled(c, 0.75 + 0.5 * fbm(x * 0.15 / s, y * 0.15 / s, 2, seed + 77));
                c = mix(c, colourAt(mood.sky, 0.92), haze * (1 - std::min(1.0, depth / (H * 0.15))));
                putPixel(img, x, y, c);
            }
        }
    }

    p.begin(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Small pines along the far shore and balloons in the sky; both are mirrored by the lake.
    for (int i = 0; i < W / (6 * s); ++i) {
        const double x = rng.range(0, W);
        drawPine(p, QPointF(x, horizon + 1), H * rng.range(0.025, 0.05), scaled(mood.mountains[2], 0.8));
    }
    const std::vector<QColor> palettes[4] = {
        {QColor(230, 50, 60), QColor(250, 200, 40), QColor(40, 120, 220)},
        {QColor(60, 190, 90), QColor(250, 250, 240), QColor(230, 110, 30)},
        {QColor(150, 60, 200), QColor(250, 150, 200), QColor(50, 200, 210)},
        {QColor(250, 120, 30), QColor(240, 60, 120), QColor(255, 230, 80)}};
    const double bx[4] = {0.13, 0.87, 0.42, 0.57}, by[4] = {0.27, 0.24, 0.33, 0.24},
                 bh[4] = {0.15, 0.12, 0.08, 0.06};
    for (int i = 0; i < 4; ++i) {
        const double bhpx = H * bh[i];
        const QRectF box(W * bx[i] - bhpx * 0.4, H * by[i] - (withTitle ? 0 : H * 0.1), bhpx * 0.8, bhpx);
        drawBalloon(p, box, palettes[i], palettes[(i + 1) % 4][1]);
    }
    for (int i = 0; i < 7; ++i)
        drawBird(p, QPointF(W * rng.range(0.25, 0.75), H * rng.range(0.3, 0.45)), H * rng.range(0.015, 0.03),
                 QColor(50, 30, 60));
    p.end();

    // Lake: rippled reflection of everything above the water line.
    std::vector<double> shore(W);
    for (int x = 0; x < W; ++x)
        shore[x] = H * (0.8 + 0.035 * std::sin(x * 6.0 / W + seed) + 0.04 * (fbm(x * 0.01 / s, 9, 3, seed + 3) - 0.5));
    const QImage above = img.copy();
    for (int y = int(horizon); y < H; ++y) {
        const double d = y - horizon;
        for (int x = 0; x < W; ++x) {
            if (y >= shore[x])
                continue;
            const double wave = std::sin(y * 0.9 / s + 6 * fbm(x * 0.02 / s, y * 0.1 / s, 2, seed + 11));
            const int sx = std::clamp(int(x + wave * (1 + d * 0.05)), 0, W - 1);
            const int sy = std::clamp(int(horizon - d * 1.1 - 1), 0, H - 1);
            QColor c = mix(pixelAt(above, sx, sy), mood.water, 0.25 + 0.35 * d / (H * 0.2));
            const double ripple = fbm(x * 0.01 / s, y * 0.35 / s, 2, seed + 13);
            c = scaled(c, 0.85 + 0.35 * std::max(0.0, ripple - 0.55) * 2.5);
            if (std::abs(x - sun.x()) < H * (0.04 + d * 0.004) && ripple > 0.55)
                c = mix(c, mood.sunCore, 0.6);
            putPixel(img, x, y, c);
        }
    }

    // Meadow with grass texture and drifts of flowers.
    const QColor flowerTints[3] = {QColor(180, 110, 210), QColor(250, 215, 60), QColor(240, 110, 120)};
    for (int x = 0; x < W; ++x) {
        for (int y = int(shore[x]); y < H; ++y) {
            const double t = (y - shore[x]) / (H - shore[x] + 1);
            QColor c = mix(mood.meadowFar, mood.meadowNear, std::sqrt(t));
            c = scaled(c, 0.8 + 0.4 * fbm(x * 0.08 / s, y * 0.3 / s, 3, seed + 17));
            const double patch = fbm(x * 0.006 / s, y * 0.02 / s, 3, seed + 19);
            if (patch > 0.56)
                c = mix(c, flowerTints[int(fbm(x * 0.003 / s, y * 0.01 / s, 2, seed + 23) * 6) % 3],
                        std::min(0.7, (patch - 0.56) * 5));
            putPixel(img, x, y, c);
        }
    }
    p.begin(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(240, 230, 190), H * 0.006));
    for (int x = 0; x < W; x += 2)  // sandy rim of the shore
        p.drawPoint(QPointF(x, shore[x]));

    drawSailboat(p, QPointF(W * 0.32, horizon + H * 0.1), H * 0.08, QColor(200, 60, 50), QColor(250, 245, 230),
                 QColor(250, 200, 60));
    drawSailboat(p, QPointF(W * 0.55, horizon + H * 0.06), H * 0.05, QColor(40, 90, 170), QColor(250, 120, 160),
                 QColor(250, 250, 250));

    p.setPen(Qt::NoPen);
    const QColor petals[6] = {QColor(255, 80, 90),   QColor(255, 220, 60),  QColor(250, 250, 255),
                              QColor(200, 100, 230), QColor(255, 150, 40), QColor(90, 160, 255)};
    for (int i = 0; i < W * H / 900; ++i) {
        const double x = rng.range(0, W);
        const double y = shore[std::clamp(int(x), 0, W - 1)] + rng.range(0.01, 1) * (H - shore[std::clamp(int(x), 0, W - 1)]);
        const double r = s * (1.2 + 3.5 * (y / H - 0.75) * 4 * rng.range(0.5, 1));
        p.setBrush(petals[rng.between(0, 5)]);
        p.drawEllipse(QPointF(x, y), r, r);
        p.setBrush(QColor(255, 240, 150));
        p.drawEllipse(QPointF(x, y), r * 0.35, r * 0.35);
    }

    const QColor walls[4] = {QColor(250, 235, 200), QColor(250, 190, 170), QColor(200, 225, 250),
                             QColor(255, 240, 150)};
    const QColor roofs[4] = {QColor(200, 50, 45), QColor(60, 90, 170), QColor(220, 110, 40), QColor(120, 60, 130)};
    const double hx[4] = {0.17, 0.27, 0.7, 0.8}, hy[4] = {0.87, 0.9, 0.92, 0.87}, hw[4] = {0.09, 0.07, 0.1, 0.07};
    for (int i = 0; i < 4; ++i)
        drawHouse(p, QPointF(W * hx[i], H * hy[i]), H * hw[i], walls[i], roofs[i], evening, rng);
    drawRoundTree(p, QPointF(W * 0.05, H * 0.99), H * 0.24, QColor(70, 150, 60), rng);
    drawRoundTree(p, QPointF(W * 0.93, H * 0.97), H * 0.2, QColor(150, 170, 50), rng);
    drawPine(p, QPointF(W * 0.38, H * 0.93), H * 0.15, QColor(40, 120, 70));
    drawPine(p, QPointF(W * 0.6, H * 0.96), H * 0.13, QColor(50, 130, 60));
    drawRoundTree(p, QPointF(W * 0.5, H * 1.0), H * 0.12, QColor(210, 120, 50), rng);

    if (withTitle)
        drawTitle(p, QStringLiteral("PELORIX"), QRectF(W * 0.07, H * 0.025, W * 0.86, H * 0.2), seed);
    p.end();
    return img;
}

}  // namespace pics
