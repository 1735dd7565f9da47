// SPDX-License-Identifier: MIT
// Reusable scenery pieces drawn with QPainter: balloons, trees, houses and boats.
#pragma once

#include "paintkit.h"

#include <vector>

namespace pics {

// Hot-air balloon filling the given box (envelope, ropes and basket).
void drawBalloon(QPainter& p, const QRectF& box, const std::vector<QColor>& stripes, const QColor& band);
void drawPine(QPainter& p, QPointF base, double height, const QColor& colour);
void drawRoundTree(QPainter& p, QPointF base, double height, const QColor& colour, Rng& rng);
void drawHouse(QPainter& p, QPointF base, double width, const QColor& wall, const QColor& roof, bool lit,
               Rng& rng);
// Sailing boat whose hull sits on the water line through the given point.
void drawSailboat(QPainter& p, QPointF waterline, double size, const QColor& hull, const QColor& sail,
                  const QColor& sail2);

}  // namespace pics
