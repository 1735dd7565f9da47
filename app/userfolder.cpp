// Where the user's Pelorix folder lies.
#include "app/userfolder.h"

#include <QFile>
#include <QStandardPaths>

namespace pelorix::app {

std::filesystem::path pelorixFolderPath() {
    QString base = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (base.isEmpty()) base = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return std::filesystem::path(QFile::encodeName(base).toStdString()) / "Pelorix";
}

}  // namespace pelorix::app
