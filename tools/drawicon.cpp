// SPDX-License-Identifier: MIT
// Draws the application icon (a sliding puzzle of a sunny landscape with its top-left hole) at
// the hicolor theme's sizes; run `drawicon data/icons` from the source root.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdio>

namespace {

const QString appId = QStringLiteral("io.github.pelorix.Pelorix");
constexpr int grid = 3;
// From this size on fractions of a pixel no longer blur the picture.
constexpr int smallestBlurFree = 48;

// The picture on the pieces, drawn into the square `area` with vector shapes so that every size
// stays sharp: sky, sun, two hills and a lake.
void drawLandscape(QPainter& p, const QRectF& area) {
    const double s = area.width();
    auto at = [&](double x, double y) { return QPointF(area.left() + x * s, area.top() + y * s); };

    QLinearGradient sky(at(0, 0), at(0, 0.62));
    sky.setColorAt(0, QColor(32, 98, 204));
    sky.setColorAt(1, QColor(170, 220, 255));
    p.fillRect(area, sky);

    QRadialGradient glow(at(0.70, 0.26), 0.22 * s);
    glow.setColorAt(0, QColor(255, 244, 160, 230));
    glow.setColorAt(1, QColor(255, 244, 160, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(at(0.70, 0.26), 0.22 * s, 0.22 * s);
    p.setBrush(QColor(255, 214, 64));
    p.drawEllipse(at(0.70, 0.26), 0.11 * s, 0.11 * s);

    QPainterPath far;
    far.moveTo(at(0, 0.62));
    far.cubicTo(at(0.18, 0.34), at(0.36, 0.36), at(0.52, 0.62));
    far.closeSubpath();
    p.setBrush(QColor(96, 128, 196));
    p.drawPath(far);

    QPainterPath near;
    near.moveTo(at(0.22, 0.66));
    near.cubicTo(at(0.48, 0.40), at(0.76, 0.38), at(1.0, 0.56));
    near.lineTo(at(1.0, 0.66));
    near.closeSubpath();
    p.setBrush(QColor(52, 150, 70));
    p.drawPath(near);

    QLinearGradient lake(at(0, 0.62), at(0, 1));
    lake.setColorAt(0, QColor(40, 120, 190));
    lake.setColorAt(1, QColor(16, 60, 130));
    p.setBrush(lake);
    p.drawRect(QRectF(at(0, 0.62), at(1, 1)));
    p.setBrush(QColor(255, 230, 120, 170));  // the sun's path on the water
    for (int i = 0; i < 4; ++i) {
        const double y = 0.68 + i * 0.07, half = 0.10 - i * 0.018;
        p.drawRoundedRect(QRectF(at(0.70 - half, y), at(0.70 + half, y + 0.025)), 0.01 * s, 0.01 * s);
    }
    p.setBrush(QColor(80, 190, 80));
    p.drawRect(QRectF(at(0, 0.90), at(1, 1)));
}

QImage drawIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);

    // The tray: a rounded dark frame around the board, as icons of the desktop usually have.
    const double margin = size < smallestBlurFree ? 1.0 : size / 16.0;
    const QRectF tray(margin, margin, size - 2 * margin, size - 2 * margin);
    const double radius = size / 9.0;
    QLinearGradient wood(tray.topLeft(), tray.bottomRight());
    wood.setColorAt(0, QColor(120, 72, 40));
    wood.setColorAt(1, QColor(70, 38, 20));
    p.setPen(QPen(QColor(40, 20, 10), qMax(1.0, size / 64.0)));
    p.setBrush(wood);
    p.drawRoundedRect(tray, radius, radius);

    double border = size / 14.0;
    const double gap = qMax(1.0, size / 64.0);
    double cell = (tray.width() - 2 * border - (grid - 1) * gap) / grid;
    if (size < smallestBlurFree) {
        // Menu and task-list sizes: whole-pixel cells and gaps keep the grid lines sharp; the
        // pixels left over widen the frame.
        border = std::round(border);
        cell = std::floor((tray.width() - 2 * border - (grid - 1) * gap) / grid);
        border = std::floor((tray.width() - grid * cell - (grid - 1) * gap) / 2);
    }
    const QRectF board = tray.adjusted(border, border, -border, -border);

    // The hole is the top-left cell, as in the game: a dark well.
    const QRectF hole(board.left(), board.top(), cell, cell);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(28, 14, 6));
    p.drawRoundedRect(hole, size / 64.0, size / 64.0);

    for (int r = 0; r < grid; ++r) {
        for (int c = 0; c < grid; ++c) {
            if (r == 0 && c == 0) continue;
            const QRectF piece(board.left() + c * (cell + gap), board.top() + r * (cell + gap), cell, cell);
            p.save();
            p.setClipRect(piece);
            // Each piece shows its own part of one picture spread over the whole board.
            drawLandscape(p, QRectF(board.left(), board.top(), board.width(), board.width()));
            p.restore();
            // A light top-left and a dark bottom-right edge make the pieces stand out as blocks,
            // except on cells so small that the edges would hide the picture.
            if (cell < 8) continue;
            const double edge = qMax(1.0, size / 96.0);
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(QColor(255, 255, 255, 110), edge));
            p.drawLine(piece.topLeft() + QPointF(edge / 2, edge / 2), piece.topRight() + QPointF(-edge / 2, edge / 2));
            p.drawLine(piece.topLeft() + QPointF(edge / 2, edge / 2), piece.bottomLeft() + QPointF(edge / 2, -edge / 2));
            p.setPen(QPen(QColor(0, 0, 0, 110), edge));
            p.drawLine(piece.bottomLeft() + QPointF(edge / 2, -edge / 2), piece.bottomRight() - QPointF(edge / 2, edge / 2));
            p.drawLine(piece.topRight() + QPointF(-edge / 2, edge / 2), piece.bottomRight() - QPointF(edge / 2, edge / 2));
        }
    }
    p.end();
    return icon;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <icons directory>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    int failures = 0;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QString folder = QStringLiteral("%1x%1").arg(size);
        const QString path = out.filePath(folder + QLatin1Char('/') + appId + QStringLiteral(".png"));
        QImageWriter writer(path, "png");
        writer.setQuality(0);  // strongest compression
        const bool ok = out.mkpath(folder) && writer.write(drawIcon(size).convertToFormat(QImage::Format_ARGB32));
        std::printf("%-60s %s\n", qPrintable(path), ok ? "written" : "FAILED");
        failures += ok ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}
