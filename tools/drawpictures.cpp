// SPDX-License-Identifier: MIT
// Draws the pictures shipped in assets/ (title pictures and samples); regenerate with `drawpictures assets`.
#include "palette8.h"
#include "pictures/density.h"
#include "pictures/pictures.h"
#include "scenes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImageWriter>

#include <cstdio>

namespace {

// The game writes its built-in pictures with the same encoder, so a shipped BMP and the copy the
// game writes at start-up are the same bytes.
bool saveBmp8(const QImage& picture, const QString& path)
{
    const QByteArray bytes = pelorix::encodeBmp8(pics::quantize256(picture));
    QFile file(path);
    return !bytes.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The samples are drawn at the density imports are prepared at, and say so as prepared pictures do.
bool saveJpeg(const QImage& picture, const QString& path, int quality)
{
    QImageWriter writer(path, "jpg");
    writer.setQuality(quality);
    pelorix::recordDensity(writer, pelorix::preparedDensity);
    return writer.write(picture);
}

bool savePng(const QImage& picture, const QString& path)
{
    QImageWriter writer(path, "png");
    writer.setQuality(0);  // Qt's PNG writer turns quality 0 into the strongest zlib level
    pelorix::recordDensity(writer, pelorix::preparedDensity);
    return writer.write(picture);
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);  // lets the JPEG writer plugin be found
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.mkpath(QStringLiteral("samples"))) {
        std::fprintf(stderr, "cannot create %s/samples\n", argv[1]);
        return 1;
    }
    auto path = [&](const char* name) { return out.filePath(QString::fromLatin1(name)); };
    // The window's board of 754 × 385 units, at four pixels a unit.
    const QSize board = QSize(754, 385) * static_cast<int>(pelorix::preparedDensity);
    const QSize balloon = QSize(267, 236) * static_cast<int>(pelorix::preparedDensity);

    struct Job {
        const char* name;
        bool ok;
    };
    const Job jobs[] = {
        {"title1.bmp", saveBmp8(pics::drawValley({800, 600}, true, true, 7), path("title1.bmp"))},
        {"title2.bmp", saveBmp8(pics::drawBalloonPicture({267, 236}), path("title2.bmp"))},
        // The samples are drawn for the window's board, which the game fills from the picture's
        // top-left corner at the screen's density, so each shows whole there. They are JPEGs, which
        // the game decodes already reduced on an ordinary screen, for little memory.
        {"samples/harbour.regular_picture",
         saveJpeg(pics::drawHarbour(board), path("samples/harbour.regular_picture"), 92)},
        {"samples/rosewindow.regular_picture",
         saveJpeg(pics::drawRoseWindow(board), path("samples/rosewindow.regular_picture"), 92)},
        {"samples/nebula.regular_picture",
         saveJpeg(pics::drawNebula(board), path("samples/nebula.regular_picture"), 90)},
        {"samples/meadow.regular_picture",
         saveJpeg(pics::drawValley(board, false, false, 23), path("samples/meadow.regular_picture"), 90)},
        // An animation picture only names its puzzle; the file shows what the puzzle plays: the
        // built-in balloon over the animated puzzles' default background, white.
        {"samples/balloon.animation_picture",
         savePng(pics::drawBalloonScene(board, balloon, Qt::white), path("samples/balloon.animation_picture"))},
    };
    int failures = 0;
    for (const Job& job : jobs) {
        std::printf("%-40s %s\n", job.name, job.ok ? "written" : "FAILED");
        failures += job.ok ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}
