// SPDX-License-Identifier: MIT
// Fuzz target: any bytes as a photo to import: either a stored picture of exactly the board's size at
// the density it records, or a refusal that stores nothing.
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "pictures/density.h"
#include "pictures/pictureimport.h"
#include "files/qtpaths.h"

namespace {
// Small, so a picture that is prepared costs little and each input runs fast.
const QSize area(96, 64);
QTemporaryDir* work = nullptr;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The picture plugins are found through the application object.
    static QCoreApplication app(*argc, *argv);
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
    static QTemporaryDir dir;
    if (!dir.isValid()) std::abort();
    work = &dir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace fs = std::filesystem;
    const fs::path root(work->path().toStdString());
    const fs::path into = root / "into";
    fs::remove_all(into);
    fs::create_directories(into);
    const QString photo = QString::fromStdString((root / "photo.jpg").string());
    QFile out(photo);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    out.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    out.close();

    const pelorix::ImportResult result = pelorix::importPicture(photo, into, area);
    std::size_t stored = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(into)) ++stored;
    if (result.outcome != pelorix::ImportResult::Outcome::Added) {
        if (stored != 0) std::abort();  // a refusal leaves nothing behind, not even a temporary
        return 0;
    }
    // An added picture is the only file and reads back at exactly the board's size times the
    // density it records, from 1 to the density imports prepare at.
    if (stored != 1) std::abort();
    QImageReader back(pelorix::qt::toQPath(into / result.name.toStdString()));
    const double density = pelorix::recordedDensity(back);
    if (density < 1 || density > pelorix::preparedDensity) std::abort();
    const QSize expected(static_cast<int>(std::lround(area.width() * density)),
                         static_cast<int>(std::lround(area.height() * density)));
    if (back.size() != expected) std::abort();
    return 0;
}
