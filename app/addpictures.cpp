// SPDX-License-Identifier: MIT
// `pelorix --add FILE...`: imports each file and reports it on one line.
#include "app/addpictures.h"

#include <algorithm>

#include "platform/design.h"
#include "pictures/pictureimport.h"
#include "files/qtpaths.h"

namespace pelorix::app {

int addPictures(const std::vector<std::filesystem::path>& files, const std::filesystem::path& folder, QTextStream& out,
                QTextStream& err) {
    int status = 0;
    const QString where = pelorix::qt::toQPath(folder);
    for (const std::filesystem::path& path : files) {
        const QString file = pelorix::qt::toQPath(path);
        // Prepared for the board of the window as it opens.
        const ImportResult result = importPicture(path, folder, QSize(launchClientWidth, launchClientHeight));
        switch (result.outcome) {
            case ImportResult::Outcome::Added:
                out << QStringLiteral("%1: added as %2/%3\n").arg(file, where, result.name);
                break;
            case ImportResult::Outcome::AlreadyThere:
                out << result.message << '\n';
                break;
            default:
                err << "pelorix: " << result.message << '\n';
                status = 1;
                break;
        }
    }
    out.flush();
    err.flush();
    return status;
}

std::vector<std::filesystem::path> rawFileArguments(const QStringList& given, int argc, char** argv) {
    std::vector<std::filesystem::path> files;
    std::vector<bool> used(static_cast<std::size_t>(std::max(argc, 0)), false);
    std::error_code ec;
    for (const QString& name : given) {
        std::filesystem::path raw = pelorix::qt::fromQPath(name);
        // The first unused argument that decodes to this name is where it came from, in order.
        for (int i = 1; i < argc; ++i)
            if (!used[static_cast<std::size_t>(i)] && QString::fromLocal8Bit(argv[i]) == name) {
                used[static_cast<std::size_t>(i)] = true;
                raw = std::filesystem::path(argv[i]);
                break;
            }
        const std::filesystem::path absolute = std::filesystem::absolute(raw, ec);
        files.push_back(ec ? raw : absolute);
    }
    return files;
}

}  // namespace pelorix::app
