// SPDX-License-Identifier: MIT
// Reduction of true-colour pictures to 256 colours.
#pragma once

#include <QImage>
#include <QString>

namespace pics {

// Builds a 256-colour palette for the picture (median cut refined by k-means) and maps
// every pixel onto it with Floyd-Steinberg error diffusion. The result is Format_Indexed8
// with exactly 256 colour-table entries.
QImage quantize256(const QImage& picture);

}  // namespace pics
