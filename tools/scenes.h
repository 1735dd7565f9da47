// SPDX-License-Identifier: MIT
// The pictures the generator draws, each returned as a true-colour image.
#pragma once

#include <QImage>
#include <QSize>

#include <cstdint>

namespace pics {

// Valley with sun, layered mountains, a lake with reflections, balloons, trees and houses.
// The evening version carries the product title across its sky.
QImage drawValley(QSize size, bool evening, bool withTitle, std::uint32_t seed);
// A striped hot-air balloon filling its frame, for the bouncing picture.
QImage drawBalloonPicture(QSize size);
// Colourful quay houses, boats and a lighthouse mirrored in the water.
QImage drawHarbour(QSize size);
// A round stained-glass window made of leaded glass cells.
QImage drawRoseWindow(QSize size);
// Deep-space scene with nebula clouds, stars, a ringed planet and a spiral galaxy.
QImage drawNebula(QSize size);
// What an animated puzzle shows: the balloon picture of size `balloon` in the middle of a plain
// `background`.
QImage drawBalloonScene(QSize size, QSize balloon, const QColor& background);

}  // namespace pics
