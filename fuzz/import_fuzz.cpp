// SPDX-License-Identifier: MIT
// Fuzz target: any bytes as a photo to import: either a stored picture of exactly the board's size, or a refusal that stores nothing.
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

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
    // An added picture is the only file and reads back at exactly the board's size.
    if (stored != 1) std::abort();
    QImageReader back(pelorix::qt::toQPath(into / result.name.toStdString()));
    if (back.size() != area) std::abort();
    return 0;
}
