// SPDX-License-Identifier: MIT
// The user's Pelorix folder: its place by the desktop's conventions, creation and sample seeding.
#include "app/userfolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <vector>

#include "pictures/pictureimport.h"
#include "files/qtpaths.h"

namespace pelorix::app {

namespace {

using qt::fromQPath;
using qt::toQPath;

bool isFolder(const std::filesystem::path& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::is_directory(path, ec);
}

}  // namespace

std::filesystem::path pelorixFolderPath() {
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && isFolder(fromQPath(pictures))) return fromQPath(pictures) / "Pelorix";
    // The generic data folder does not depend on the application name being set yet.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return fromQPath(data) / "pelorix" / "Pelorix";
}

std::filesystem::path samplesFolder() {
    // The program's folder is known only once a QCoreApplication exists.
    if (!QCoreApplication::instance()) return {};
    const std::filesystem::path program = fromQPath(QCoreApplication::applicationDirPath());
    // Installed: <prefix>/bin/pelorix (or games/pelorix) and <prefix>/share/pelorix/samples. In
    // the build tree the build copies the samples to share/pelorix/samples beside the program.
    for (const auto& candidate : {program / ".." / "share" / "pelorix" / "samples", program / "share" / "pelorix" / "samples"})
        if (isFolder(candidate)) return candidate.lexically_normal();
    return {};
}

bool holdsPictures(const std::filesystem::path& folder) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const QString name = QString::fromStdString(it->path().filename().string());
        if (name.endsWith(QLatin1String(".regular_picture"), Qt::CaseInsensitive) ||
            name.endsWith(QLatin1String(".animation_picture"), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

SeedResult preparePelorixFolder(const std::filesystem::path& folder, const std::filesystem::path& samples) {
    SeedResult result;
    std::error_code ec;
    if (!isFolder(folder)) {
        result.created = std::filesystem::create_directories(folder, ec);
        if (!isFolder(folder)) {
            result.message = QStringLiteral("cannot create the folder %1").arg(toQPath(folder));
            return result;
        }
    }
    result.ok = true;
    // Only a folder made now is seeded: later starts add nothing, so a sample the user deleted
    // stays deleted.
    if (!result.created || samples.empty()) return result;

    std::vector<std::filesystem::path> files;
    for (std::filesystem::directory_iterator it(samples, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_regular_file(ec)) files.push_back(it->path());
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
        const std::string name = file.filename().string();
        if (nameTakenIgnoringCase(folder, name)) continue;
        QFile in(toQPath(file));
        if (!in.open(QIODevice::ReadOnly) || in.size() > maxImportBytes) continue;
        // createNewFile refuses a name taken meanwhile, so a user's file is never replaced.
        if (createNewFile(folder, name, in.readAll())) result.copied << QString::fromStdString(name);
    }
    return result;
}

}  // namespace pelorix::app
