// SPDX-License-Identifier: MIT
// Orientation, cover scaling and the centre cut of pictures, as plain geometry on QImage.
#include "pictures/picturefit.h"

#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <cmath>

namespace pelorix {

namespace {
constexpr int allOrientationBits =
    QImageIOHandler::TransformationMirror | QImageIOHandler::TransformationFlip | QImageIOHandler::TransformationRotate90;

// The scale that makes `picture` just cover `area`.
double coverScale(QSize picture, QSize area) {
    return std::max(static_cast<double>(area.width()) / picture.width(),
                    static_cast<double>(area.height()) / picture.height());
}

// A length scaled up to whole pixels; the tolerance keeps an exact product from rounding up.
int scaledUp(int length, double scale) { return static_cast<int>(std::ceil(length * scale - 1e-6)); }
}  // namespace

Orientation checkedOrientation(int reported) {
    if (reported < 0 || reported > allOrientationBits) return QImageIOHandler::TransformationNone;
    return Orientation(reported);
}

bool turnsQuarter(Orientation orientation) { return orientation.testFlag(QImageIOHandler::TransformationRotate90); }

QSize uprightSize(QSize stored, Orientation orientation) {
    return turnsQuarter(orientation) ? stored.transposed() : stored;
}

QRect storedRect(QRect upright, QSize stored, Orientation orientation) {
    // Undoes the steps of turning upright, last first, on two opposite corners.
    auto back = [&](QPoint p) {
        // The quarter turn clockwise took stored (x, y) to (height - 1 - y, x).
        if (turnsQuarter(orientation)) p = QPoint(p.y(), stored.height() - 1 - p.x());
        if (orientation.testFlag(QImageIOHandler::TransformationMirror)) p.setX(stored.width() - 1 - p.x());
        if (orientation.testFlag(QImageIOHandler::TransformationFlip)) p.setY(stored.height() - 1 - p.y());
        return p;
    };
    const QPoint a = back(upright.topLeft()), b = back(upright.bottomRight());
    return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                 QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

QImage turnedUpright(const QImage& picture, Orientation orientation) {
    if (orientation == QImageIOHandler::TransformationNone || picture.isNull()) return picture;
    QImage turned = picture.mirrored(orientation.testFlag(QImageIOHandler::TransformationMirror),
                                     orientation.testFlag(QImageIOHandler::TransformationFlip));
    // A quarter turn is an exact pixel shuffle in Qt: nothing is resampled.
    if (turnsQuarter(orientation) && !turned.isNull()) turned = turned.transformed(QTransform().rotate(90));
    return turned;
}

QSize coverSize(QSize picture, QSize area) {
    if (picture.isEmpty() || area.isEmpty()) return {};
    const double scale = coverScale(picture, area);
    return QSize(std::max(area.width(), scaledUp(picture.width(), scale)),
                 std::max(area.height(), scaledUp(picture.height(), scale)));
}

QImage coverAndCut(const QImage& picture, QSize area) {
    if (picture.isNull() || area.isEmpty()) return {};
    const QSize size = picture.size();
    const double scale = coverScale(size, area);
    if (scale < 1) {
        // Shrinking, with averaging (a plain resampling would alias a large reduction); the
        // result is smaller than the picture, whatever its shape.
        const QImage scaled = picture.scaled(coverSize(size, area), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        return scaled.isNull() ? QImage() : coverAndCut(scaled, area);
    }
    if (size.width() >= area.width() && size.height() >= area.height()) {
        // Covering at its own size: only the cut.
        return picture.copy(QRect(QPoint((size.width() - area.width()) / 2, (size.height() - area.height()) / 2), area));
    }

    // Growing: drawn straight into the area with smooth interpolation, so no pixel outside it is
    // ever made, however long and thin the picture.
    const double left = (size.width() - area.width() / scale) / 2, top = (size.height() - area.height() / scale) / 2;
    QImage out(area, picture.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (out.isNull()) return {};
    out.fill(Qt::transparent);
    QPainter painter(&out);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(scale, scale);
    painter.translate(-left, -top);
    painter.drawImage(QPointF(0, 0), picture);
    painter.end();
    return out;
}

}  // namespace pelorix
