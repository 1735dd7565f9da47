// SPDX-License-Identifier: MIT
// Shared drawing helpers for the picture generator: random numbers, noise, colour mixing, lettering.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

namespace pics {

// Small deterministic generator so that every run draws exactly the same pictures.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    std::uint32_t next();
    double uniform();  // in [0, 1)
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    int between(int lo, int hi);  // inclusive
    bool chance(double p) { return uniform() < p; }

private:
    std::uint64_t state_;
};

// Smooth value noise in [0, 1].
double valueNoise(double x, double y, std::uint32_t seed);
// Fractal sum of value noise, normalised to [0, 1].
double fbm(double x, double y, int octaves, std::uint32_t seed);

using ColourStops = std::vector<std::pair<double, QColor>>;

QColor mix(const QColor& a, const QColor& b, double t);
QColor scaled(const QColor& c, double factor);  // brighten (>1) or darken (<1)
QColor colourAt(const ColourStops& stops, double t);
QColor withAlpha(QColor c, int alpha);

// Writes an opaque colour into a 32-bit image row without going through QPainter.
inline void putPixel(QImage& img, int x, int y, const QColor& c)
{
    reinterpret_cast<QRgb*>(img.scanLine(y))[x] = qRgb(c.red(), c.green(), c.blue());
}
inline QColor pixelAt(const QImage& img, int x, int y)
{
    return QColor(reinterpret_cast<const QRgb*>(img.constScanLine(y))[x]);
}

// Outline of the word drawn with rounded strokes; independent of installed fonts.
QPainterPath strokeLetters(const QString& text, const QRectF& box, double strokeRatio);
// Big cheerful title: each letter has its own hue, a light rim, a dark outline and a shadow.
void drawTitle(QPainter& p, const QString& text, const QRectF& box, std::uint32_t seed);

void drawStars(QPainter& p, const QRectF& area, int count, Rng& rng, double maxRadius);
void drawCloud(QPainter& p, QPointF centre, double width, const QColor& light,
               const QColor& shade, Rng& rng);
void drawBird(QPainter& p, QPointF centre, double span, const QColor& colour);

}  // namespace pics
