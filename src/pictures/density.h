// SPDX-License-Identifier: MIT
// How fine a picture is: the pixels per window unit that pictures prepared here record, and the
// window's units mapped onto device pixels.
#pragma once

#include <QImage>
#include <QString>

class QImageReader;
class QImageWriter;

namespace pelorix {

// The text key of the marker a prepared picture carries: a JPEG comment or a PNG text chunk
// reading "Pelorix-Density: 4". Its value is how many of the picture's pixels make one window unit.
inline constexpr char densityKey[] = "Pelorix-Density";
// Pixels per unit that an import prepares where its original has them.
inline constexpr double preparedDensity = 4;
// The finest density a marker is believed up to; a larger value is not one this program writes.
inline constexpr double finestDensity = 8;

// The density `reader`'s picture records in its marker, from 1 to `finestDensity`; 1 for a
// picture without the marker, or whose marker is not a plain decimal number in that range. No
// other tag (a camera's dots per inch, say) is believed. The reader reads the header if it has
// not yet.
double recordedDensity(QImageReader& reader);
// Makes `writer` record `density` in the picture it writes.
void recordDensity(QImageWriter& writer, double density);
// The marker's value text for `density`: at most two decimals, no trailing zeros ("4", "2.65").
QString densityText(double density);
// The value a marker text stands for, or 0 when it is not a density this program would write.
double parseDensity(const QString& text);

// A window unit's edge in device pixels at `ratio` device pixels per unit: the edges of
// neighbouring units map to the same device pixel, so boxes drawn side by side never leave a gap
// or overlap, and at ratio 1 every unit is its own pixel.
int deviceEdge(int units, double ratio);
// The smallest rectangle of window units covering the device pixels `device`.
QRect unitsCovering(const QRect& device, double ratio);

// `picture` scaled by `factor`, its size rounded up so that every old pixel is covered whole: an
// integer enlargement repeats each pixel; any other factor makes each new pixel the average of
// the area it covers, so a box of one colour keeps its colour inside and only pixels across an
// edge are mixed. Returns the picture itself for a factor of 1; null when memory runs out.
QImage scaledBy(const QImage& picture, double factor);

}  // namespace pelorix
