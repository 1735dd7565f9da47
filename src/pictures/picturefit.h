// SPDX-License-Identifier: MIT
// Fitting a picture to an area: turning it upright by its orientation tag, covering the area, cutting the centre.
#pragma once

#include <QImage>
#include <QImageIOHandler>
#include <QRect>
#include <QSize>

namespace pelorix {

using Orientation = QImageIOHandler::Transformations;

// The orientation a reader reports, checked as a plain number: the eight orientations a photo's
// tag can give are the values 0-7; anything else reads as none, so the picture shows as stored.
Orientation checkedOrientation(int reported);

// True when a picture stored as `stored` is turned a quarter to become upright, so that its width
// and height swap.
bool turnsQuarter(Orientation orientation);

// The size of a picture stored as `stored` once turned upright.
QSize uprightSize(QSize stored, Orientation orientation);

// The rectangle of a picture stored as `stored` that becomes `upright` (a rectangle of the upright
// picture) when the picture is turned upright; what a clipped read must decode.
QRect storedRect(QRect upright, QSize stored, Orientation orientation);

// `picture` (as stored) turned upright: mirrored left to right, then top to bottom, as the
// orientation says, then turned a quarter clockwise. Null when memory runs out.
QImage turnedUpright(const QImage& picture, Orientation orientation);

// The size `picture` takes when scaled, keeping its proportions, just to cover `area`: equal to
// the area in one direction, at least as large in the other (rounded up). Empty for empty input.
QSize coverSize(QSize picture, QSize area);

// `picture` scaled keeping its proportions just to cover `area` (smaller pictures are scaled up),
// then cut to exactly `area` around its centre. A picture scaled up is drawn only where it falls
// in the area, so the memory goes with the area, however long and thin the picture. Null for a
// null picture, an empty area or when memory runs out.
QImage coverAndCut(const QImage& picture, QSize area);

}  // namespace pelorix
