// SPDX-License-Identifier: MIT
// The density marker of prepared pictures, and the mapping of window units onto device pixels.
#include "pictures/density.h"

#include <QImageReader>
#include <QImageWriter>
#include <QRegularExpression>
#include <cmath>

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

QImage scaledBy(const QImage& picture, double factor) {
    if (factor == 1 || picture.isNull()) return picture;
    const QSize size(std::max(1, static_cast<int>(std::lround(picture.width() * factor))),
                     std::max(1, static_cast<int>(std::lround(picture.height() * factor))));
    const bool repeat = factor > 1 && factor == std::floor(factor);
    return picture.scaled(size, Qt::IgnoreAspectRatio, repeat ? Qt::FastTransformation : Qt::SmoothTransformation);
}

}  // namespace pelorix
