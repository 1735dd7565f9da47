// SPDX-License-Identifier: MIT
// The rose-window picture: a round stained-glass design cut into leaded glass cells.
#include "paintkit.h"
#include "scenes.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace pics {

namespace {

constexpr double kPi = std::numbers::pi;

struct Glass {
    int region;  // pieces of different regions are always separated by lead
    QColor colour;
};

// Angular sector index and the position inside it (0..1) for n sectors.
std::pair<int, double> sector(double angle, int n)
{
    const double t = (angle + kPi) / (2 * kPi) * n;
    const int i = std::clamp(int(std::floor(t)), 0, n - 1);
    return {i, t - std::floor(t)};
}

// Flower with n petals around a centre; radii are in units of the flower's size.
Glass flower(double r, double a, int n, int base, const QColor& petalA, const QColor& petalB, const QColor& leaf,
             const QColor& heart)
{
    if (r < 0.2) {
        const auto [i, f] = sector(a, 8);
        return {base + i % 2, i % 2 ? heart : scaled(heart, 0.8)};
    }
    const auto [i, f] = sector(a, n);
    const double edge = 0.2 + 0.8 * std::pow(std::sin(f * kPi), 0.6);
    if (r < edge) {
        const QColor c = i % 2 ? petalA : petalB;
        return r < 0.2 + 0.4 * edge ? Glass{base + 10 + i, scaled(c, 1.3)} : Glass{base + 40 + i, c};
    }
    return {base + 80 + i, i % 2 ? leaf : scaled(leaf, 0.75)};
}

Glass design(double x, double y, double W, double H)
{
    const double R = H * 0.48;
    const double u = (x - W / 2) / R, v = (y - H / 2) / R;
    const double r = std::hypot(u, v), a = std::atan2(v, u);
    if (r < 0.58)
        return flower(r / 0.58, a, 12, 0, QColor(205, 30, 55), QColor(45, 80, 210), QColor(40, 150, 80),
                      QColor(255, 205, 50));
    if (r < 0.64) {
        const auto [i, f] = sector(a, 24);
        return {200 + i, i % 2 ? QColor(250, 190, 40) : QColor(230, 130, 30)};
    }
    if (r < 0.9) {
        const auto [i, f] = sector(a, 24);
        const double ma = -kPi + (i + 0.5) * 2 * kPi / 24;
        if (std::hypot(u - 0.77 * std::cos(ma), v - 0.77 * std::sin(ma)) < 0.075)
            return {300 + i, i % 2 ? QColor(255, 220, 70) : QColor(230, 50, 60)};
        static const QColor ring[3] = {QColor(130, 55, 180), QColor(30, 150, 165), QColor(240, 120, 35)};
        return {400 + i, ring[i % 3]};
    }
    if (r < 0.97) {
        const auto [i, f] = sector(a, 48);
        return {500 + i, i % 2 ? QColor(35, 45, 130) : QColor(240, 235, 210)};
    }
    // Corner rosettes and side medallions on a night-blue ground.
    const double cs[4][2] = {{0, 0}, {W, 0}, {0, H}, {W, H}};
    for (int k = 0; k < 4; ++k) {
        const double cu = (x - cs[k][0]) / R, cv = (y - cs[k][1]) / R;
        const double cr = std::hypot(cu, cv);
        if (cr < 0.58)
            return flower(cr / 0.58, std::atan2(cv, cu), 10, 1000 + 200 * k, QColor(250, 140, 30),
                          QColor(250, 220, 60), QColor(60, 160, 120), QColor(220, 40, 70));
    }
    for (int k = 0; k < 2; ++k) {
        const double mu = (x - (k ? W - W * 0.07 : W * 0.07)) / R, mv = (y - H / 2) / R;
        const double mr = std::hypot(mu, mv);
        if (mr < 0.18)
            return mr < 0.08 ? Glass{2000 + k, QColor(255, 210, 60)} : Glass{2010 + k, QColor(200, 30, 70)};
    }
    return {3000, QColor(25, 40, 110)};
}

}  // namespace

QImage drawRoseWindow(QSize size)
{
    const int W = size.width(), H = size.height();
    const double g = 20;  // average glass cell size
    const int gw = int(W / g) + 2, gh = int(H / g) + 2;
    Rng rng(555);
    std::vector<QPointF> sites(gw * gh);
    std::vector<double> tint(gw * gh), shade(gw * gh);
    for (int j = 0; j < gh; ++j)
        for (int i = 0; i < gw; ++i) {
            sites[j * gw + i] = QPointF((i + 0.5 + rng.range(-0.4, 0.4)) * g, (j + 0.5 + rng.range(-0.4, 0.4)) * g);
            tint[j * gw + i] = rng.uniform();
            shade[j * gw + i] = rng.range(0.82, 1.15);
        }

    std::vector<int> region(W * H);
    std::vector<QColor> colour(W * H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const Glass gl = design(x + 0.5, y + 0.5, W, H);
            region[y * W + x] = gl.region;
            colour[y * W + x] = gl.colour;
        }

    QImage img(size, QImage::Format_RGB32);
    const QColor lead(38, 32, 40);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const int ci = int(x / g), cj = int(y / g);
            double d1 = 1e9, d2 = 1e9;
            int best = 0;
            for (int j = std::max(0, cj - 1); j <= std::min(gh - 1, cj + 1); ++j)
                for (int i = std::max(0, ci - 1); i <= std::min(gw - 1, ci + 1); ++i) {
                    const QPointF s = sites[j * gw + i];
                    const double d = std::hypot(s.x() - x, s.y() - y);
                    if (d < d1) {
                        d2 = d1;
                        d1 = d;
                        best = j * gw + i;
                    } else if (d < d2) {
                        d2 = d;
                    }
                }
            bool border = d2 - d1 < 1.7;
            const int id = region[y * W + x];
            for (int dy = -1; dy <= 1 && !border; ++dy)
                for (int dx = -1; dx <= 1 && !border; ++dx) {
                    const int nx = std::clamp(x + dx, 0, W - 1), ny = std::clamp(y + dy, 0, H - 1);
                    border = region[ny * W + nx] != id;
                }
            if (border) {
                putPixel(img, x, y, lead);
                continue;
            }
            QColor c = colour[y * W + x];
            if (id == 3000 && tint[best] > 0.9)  // a few golden stars in the night-blue ground
                c = QColor(250, 215, 90);
            const double hueShift = (tint[best] - 0.5) * 16;
            c = QColor::fromHsvF(static_cast<float>(std::fmod(std::max(0.0f, c.hsvHueF()) + hueShift / 360 + 1, 1.0)), c.hsvSaturationF(),
                                 c.valueF());
            const double glow = 1.1 - 0.3 * std::pow(std::min(1.0, d1 / g), 2);
            const double grain = 0.94 + 0.12 * fbm(x * 0.15, y * 0.15, 2, 7);
            putPixel(img, x, y, scaled(c, shade[best] * glow * grain));
        }
    return img;
}

}  // namespace pics
