// SPDX-License-Identifier: MIT
// Shared drawing helpers for the picture generator: random numbers, noise, colour mixing, lettering.
#include "paintkit.h"

#include <QLinearGradient>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace pics {

std::uint32_t Rng::next()
{
    // splitmix64: tiny, fast and good enough for scattering decorations.
    state_ += 0x9E3779B97F4A7C15ULL;
    std::uint64_t z = state_;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return static_cast<std::uint32_t>((z ^ (z >> 31)) >> 32);
}

double Rng::uniform()
{
    return next() / 4294967296.0;
}

int Rng::between(int lo, int hi)
{
    return lo + static_cast<int>(uniform() * (hi - lo + 1));
}

static double latticeValue(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u
                      + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / double(0xFFFFFF);
}

double valueNoise(double x, double y, std::uint32_t seed)
{
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    double tx = x - fx;
    double ty = y - fy;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    const double a = latticeValue(ix, iy, seed);
    const double b = latticeValue(ix + 1, iy, seed);
    const double c = latticeValue(ix, iy + 1, seed);
    const double d = latticeValue(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double fbm(double x, double y, int octaves, std::uint32_t seed)
{
    double sum = 0, amplitude = 1, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * valueNoise(x, y, seed + 101u * i);
        total += amplitude;
        amplitude *= 0.5;
        x = x * 2.03 + 17.1;
        y = y * 2.03 - 9.7;
    }
    return sum / total;
}

QColor mix(const QColor& a, const QColor& b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    // Qt's colour channels are floats; the mix is computed in double and rounded once.
    auto channel = [t](float from, float to) { return static_cast<float>(from + (to - from) * t); };
    return QColor::fromRgbF(channel(a.redF(), b.redF()), channel(a.greenF(), b.greenF()), channel(a.blueF(), b.blueF()),
                            channel(a.alphaF(), b.alphaF()));
}

QColor scaled(const QColor& c, double factor)
{
    if (factor >= 1)
        return mix(c, QColor(255, 255, 255, c.alpha()), factor - 1);
    return QColor::fromRgbF(static_cast<float>(c.redF() * factor), static_cast<float>(c.greenF() * factor),
                            static_cast<float>(c.blueF() * factor), c.alphaF());
}

QColor colourAt(const ColourStops& stops, double t)
{
    if (t <= stops.front().first)
        return stops.front().second;
    for (std::size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].first) {
            const double span = stops[i].first - stops[i - 1].first;
            return mix(stops[i - 1].second, stops[i].second, span > 0 ? (t - stops[i - 1].first) / span : 1);
        }
    }
    return stops.back().second;
}

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

// Centre lines of each letter on a 4 x 6 grid.
static QPainterPath letterSkeleton(QChar ch)
{
    QPainterPath s;
    switch (ch.toUpper().unicode()) {
    case 'P':
    case 'R':
        s.moveTo(0, 6);
        s.lineTo(0, 0);
        s.lineTo(2.3, 0);
        s.cubicTo(4.4, 0, 4.4, 3, 2.3, 3);
        s.lineTo(0, 3);
        if (ch.toUpper() == 'R') {
            s.moveTo(2.0, 3);
            s.lineTo(4, 6);
        }
        break;
    case 'E':
        s.moveTo(4, 0);
        s.lineTo(0, 0);
        s.lineTo(0, 6);
        s.lineTo(4, 6);
        s.moveTo(0, 3);
        s.lineTo(3, 3);
        break;
    case 'L':
        s.moveTo(0, 0);
        s.lineTo(0, 6);
        s.lineTo(4, 6);
        break;
    case 'O':
        s.addEllipse(QRectF(0, 0, 4, 6));
        break;
    case 'I':
        s.moveTo(2, 0);
        s.lineTo(2, 6);
        s.moveTo(0.8, 0);
        s.lineTo(3.2, 0);
        s.moveTo(0.8, 6);
        s.lineTo(3.2, 6);
        break;
    case 'X':
        s.moveTo(0, 0);
        s.lineTo(4, 6);
        s.moveTo(4, 0);
        s.lineTo(0, 6);
        break;
    default:  // unknown letters become a plain box so that a typo is visible
        s.addRect(QRectF(0, 0, 4, 6));
        break;
    }
    return s;
}

static std::vector<QPainterPath> letterOutlines(const QString& text, const QRectF& box, double strokeRatio)
{
    const double gap = 1.7;
    const double stroke = 6 * strokeRatio;
    const int n = static_cast<int>(text.size());
    const double unitsW = n * 4 + (n - 1) * gap + stroke;
    const double unitsH = 6 + stroke;
    const double scale = std::min(box.width() / unitsW, box.height() / unitsH);
    const double left = box.center().x() - unitsW * scale / 2 + stroke * scale / 2;
    const double top = box.center().y() - unitsH * scale / 2 + stroke * scale / 2;

    QPainterPathStroker stroker;
    stroker.setWidth(stroke);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);

    std::vector<QPainterPath> out;
    for (int i = 0; i < n; ++i) {
        QTransform t;
        t.translate(left + i * (4 + gap) * scale, top);
        t.scale(scale, scale);
        out.push_back(t.map(stroker.createStroke(letterSkeleton(text[i])).simplified()));
    }
    return out;
}

QPainterPath strokeLetters(const QString& text, const QRectF& box, double strokeRatio)
{
    QPainterPath all;
    for (const QPainterPath& letter : letterOutlines(text, box, strokeRatio))
        all.addPath(letter);
    return all;
}

void drawTitle(QPainter& p, const QString& text, const QRectF& box, std::uint32_t seed)
{
    const std::vector<QPainterPath> letters = letterOutlines(text, box, 0.24);
    const double h = box.height();
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const int hueStart = static_cast<int>(seed % 360);
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const QPainterPath& path = letters[i];
        const QRectF r = path.boundingRect();
        const QColor base = QColor::fromHsv((hueStart + static_cast<int>(i) * 300 / int(letters.size())) % 360, 215, 250);

        p.setPen(Qt::NoPen);
        p.setBrush(QColor(20, 10, 40, 120));
        p.drawPath(path.translated(h * 0.035, h * 0.05));

        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, mix(base, Qt::white, 0.55));
        g.setColorAt(0.45, base);
        g.setColorAt(1, scaled(base, 0.55));
        p.setBrush(g);
        p.setPen(QPen(QColor(35, 20, 60), h * 0.045, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(path);

        // glossy upper half
        p.save();
        p.setClipPath(path);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 70));
        p.drawEllipse(QRectF(r.left() - r.width() * 0.3, r.top() - r.height() * 0.6, r.width() * 1.6, r.height()));
        p.restore();
    }
    p.restore();
}

void drawStars(QPainter& p, const QRectF& area, int count, Rng& rng, double maxRadius)
{
    static const QColor tints[] = {QColor(255, 255, 255), QColor(200, 220, 255), QColor(255, 240, 200),
                                   QColor(255, 210, 230), QColor(210, 255, 250)};
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF c(area.left() + rng.uniform() * area.width(), area.top() + rng.uniform() * area.height());
        const double u = rng.uniform();
        const double r = 0.4 + maxRadius * u * u * u;
        const QColor tint = tints[rng.between(0, 4)];
        QRadialGradient glow(c, r * 3);
        glow.setColorAt(0, withAlpha(tint, 200));
        glow.setColorAt(1, withAlpha(tint, 0));
        p.setBrush(glow);
        p.drawEllipse(c, r * 3, r * 3);
        p.setBrush(tint);
        p.drawEllipse(c, r, r);
        if (r > maxRadius * 0.6) {  // the brightest stars get sparkle spikes
            p.setPen(QPen(withAlpha(tint, 170), std::max(0.8, r * 0.3)));
            p.drawLine(c - QPointF(r * 5, 0), c + QPointF(r * 5, 0));
            p.drawLine(c - QPointF(0, r * 5), c + QPointF(0, r * 5));
            p.setPen(Qt::NoPen);
        }
    }
    p.restore();
}

void drawCloud(QPainter& p, QPointF centre, double width, const QColor& light, const QColor& shade, Rng& rng)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const int puffs = 5 + rng.between(0, 4);
    std::vector<QRectF> rects;
    for (int i = 0; i < puffs; ++i) {
        const double t = (i + 0.5) / puffs - 0.5;
        const double r = width * (0.16 + 0.14 * (1 - std::abs(t) * 2)) * rng.range(0.8, 1.2);
        const QPointF c(centre.x() + t * width * 0.8, centre.y() - r * 0.35 * rng.range(0.4, 1.3));
        rects.emplace_back(c.x() - r, c.y() - r * 0.75, 2 * r, 1.5 * r);
    }
    p.setBrush(shade);
    p.drawRoundedRect(QRectF(centre.x() - width * 0.45, centre.y() - width * 0.04, width * 0.9, width * 0.12),
                      width * 0.06, width * 0.06);
    for (const QRectF& r : rects)
        p.drawEllipse(r.translated(0, r.height() * 0.12));
    for (const QRectF& r : rects) {
        QRadialGradient g(r.center() - QPointF(0, r.height() * 0.25), r.width() * 0.6);
        g.setColorAt(0, light);
        g.setColorAt(1, mix(light, shade, 0.6));
        p.setBrush(g);
        p.drawEllipse(r.adjusted(r.width() * 0.04, 0, -r.width() * 0.04, -r.height() * 0.1));
    }
    p.restore();
}

void drawBird(QPainter& p, QPointF centre, double span, const QColor& colour)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.moveTo(centre.x() - span / 2, centre.y() - span * 0.15);
    path.quadTo(centre.x() - span / 4, centre.y() - span * 0.3, centre.x(), centre.y());
    path.quadTo(centre.x() + span / 4, centre.y() - span * 0.3, centre.x() + span / 2, centre.y() - span * 0.15);
    p.setPen(QPen(colour, std::max(1.0, span * 0.09), Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.restore();
}

}  // namespace pics
