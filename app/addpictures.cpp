// SPDX-License-Identifier: MIT
// `pelorix --add FILE...`: imports each file and reports it on one line.
#include "app/addpictures.h"


#include "platform/design.h"
#include "pictures/pictureimport.h"
#include "files/qtpaths.h"

namespace pelorix::app {

int addPictures(const QStringList& files, const std::filesystem::path& folder, QTextStream& out, QTextStream& err) {
    int status = 0;
    const QString where = pelorix::qt::toQPath(folder);
    for (const QString& file : files) {
        // Prepared for the board of the window as it opens.
        const ImportResult result = importPicture(file, folder, QSize(launchClientWidth, launchClientHeight));
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

}  // namespace pelorix::app
