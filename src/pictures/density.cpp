// SPDX-License-Identifier: MIT
// The density marker of prepared pictures, and the mapping of window units onto device pixels.
#include "pictures/density.h"

#include <QImageReader>
#include <QImageWriter>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <vector>

namespace pelorix {

double parseDensity(const QString& text) {
    // Plain digits only: no sign, exponent, blank or locale's comma, so that nothing but what
    // `densityText` writes is read as a density.
    static const QRegularExpression plain(QStringLiteral("^[0-9]{1,2}(\\.[0-9]{1,2})?$"));
    if (!plain.match(text).hasMatch()) return 0;
    const double value = text.toDouble();
    return value >= 1 && value <= finestDensity ? value : 0;
}

double recordedDensity(QImageReader& reader) {
    const double density = parseDensity(reader.text(QString::fromLatin1(densityKey)));
    return density > 0 ? density : 1;
}

QString densityText(double density) {
    QString text = QString::number(std::floor(density * 100 + 0.5) / 100, 'f', 2);
    while (text.endsWith(QLatin1Char('0'))) text.chop(1);
    if (text.endsWith(QLatin1Char('.'))) text.chop(1);
    return text;
}

void recordDensity(QImageWriter& writer, double density) {
    writer.setText(QString::fromLatin1(densityKey), densityText(density));
}

int deviceEdge(int units, double ratio) { return static_cast<int>(std::lround(units * ratio)); }

QRect unitsCovering(const QRect& device, double ratio) {
    if (device.isEmpty()) return {};
    const int left = static_cast<int>(std::floor(device.left() / ratio));
    const int top = static_cast<int>(std::floor(device.top() / ratio));
    const int right = static_cast<int>(std::ceil((device.right() + 1) / ratio));
    const int bottom = static_cast<int>(std::ceil((device.bottom() + 1) / ratio));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

namespace {

// Which source pixels one output pixel covers along one axis, and how much of each.
struct Span {
    int first = 0;
    std::vector<float> weights;  // summing to 1
};

// The spans of `out` output pixels over `in` source pixels, each output pixel covering 1 / `factor`
// source pixels (the last one what is left).
std::vector<Span> spans(int in, int out, double factor) {
    std::vector<Span> all(static_cast<std::size_t>(out));
    for (int i = 0; i < out; ++i) {
        const double from = std::min<double>(in - 1, i / factor), to = std::min<double>(in, (i + 1) / factor);
        Span& span = all[static_cast<std::size_t>(i)];
        span.first = static_cast<int>(from);
        for (int k = span.first; k < to; ++k)
            span.weights.push_back(
                static_cast<float>((std::min<double>(k + 1, to) - std::max<double>(k, from)) / (to - from)));
    }
    return all;
}

int channel(float value) { return std::clamp(static_cast<int>(value + 0.5f), 0, 255); }

// `picture` in a format of 32-bit pixels the resampling below can mix.
QImage mixable(const QImage& picture) {
    return picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

// `picture` scaled by `factor` to `size`, each new pixel the average of exactly the area of the old
// ones it covers: a box of one colour stays that colour wherever a new pixel lies wholly inside it,
// so an enlargement stays sharp, with only the pixels across an old edge mixed, and a reduction
// neither aliases nor shifts.
QImage areaScaled(const QImage& picture, QSize size, double factor) {
    const QImage source = mixable(picture);
    QImage out(size, source.format());
    if (source.isNull() || out.isNull()) return {};
    const std::vector<Span> columns = spans(source.width(), size.width(), factor),
                            rows = spans(source.height(), size.height(), factor);
    std::vector<float> sum(static_cast<std::size_t>(size.width()) * 4);
    for (int y = 0; y < size.height(); ++y) {
        std::fill(sum.begin(), sum.end(), 0.0f);
        const Span& row = rows[static_cast<std::size_t>(y)];
        for (std::size_t r = 0; r < row.weights.size(); ++r) {
            const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(row.first + static_cast<int>(r)));
            for (int x = 0; x < size.width(); ++x) {
                const Span& column = columns[static_cast<std::size_t>(x)];
                float* to = &sum[static_cast<std::size_t>(x) * 4];
                for (std::size_t c = 0; c < column.weights.size(); ++c) {
                    const QRgb p = in[column.first + static_cast<int>(c)];
                    const float w = row.weights[r] * column.weights[c];
                    to[0] += w * static_cast<float>(qAlpha(p));
                    to[1] += w * static_cast<float>(qRed(p));
                    to[2] += w * static_cast<float>(qGreen(p));
                    to[3] += w * static_cast<float>(qBlue(p));
                }
            }
        }
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const float* v = &sum[static_cast<std::size_t>(x) * 4];
            line[x] = qRgba(channel(v[1]), channel(v[2]), channel(v[3]), channel(v[0]));
        }
    }
    return out;
}

}  // namespace

QImage scaledBy(const QImage& picture, double factor) {
    if (factor == 1 || picture.isNull() || !(factor > 0)) return picture;
    // Every unit covered whole: the last pixel may cover part of one.
    const QSize size(std::max(1, static_cast<int>(std::ceil(picture.width() * factor - 1e-6))),
                     std::max(1, static_cast<int>(std::ceil(picture.height() * factor - 1e-6))));
    if (factor > 1 && factor == std::floor(factor))
        return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return areaScaled(picture, size, factor);
}

}  // namespace pelorix
