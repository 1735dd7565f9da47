// SPDX-License-Identifier: MIT
// Adding pictures to a working folder: prepared for the board, under a name of their own, as new files only.
#include "pictures/pictureimport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>

#include <cstdint>
#include <optional>

#include "pictures/density.h"
#include "pictures/pictures.h"
#include "files/qtpaths.h"
#include "files/safefiles.h"
#include "files/workdir.h"

namespace pelorix {

namespace {

const QString pictureSuffix = QStringLiteral(".regular_picture");
constexpr int longestStemBytes = 200;  // room for the suffix and a number within 255 bytes
constexpr int mostNumberedTries = 9999;

// True when some pixel of `picture` is not fully opaque.
bool usesTransparency(const QImage& picture) {
    if (!picture.hasAlphaChannel()) return false;
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    if (argb.isNull()) return true;  // cannot look: keep what alpha there may be
    for (int y = 0; y < argb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(row[x]) != 255) return true;
    }
    return false;
}

// The file of a prepared picture of `density` pixels per unit, which it records: a JPEG of
// `preparedJpegQuality`, or a PNG for a picture with transparency, which a JPEG cannot hold. Empty
// when encoding fails.
QByteArray encodePrepared(const QImage& picture, double density) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) return {};
    const bool png = usesTransparency(picture);
    QImageWriter writer(&buffer, png ? QByteArray("png") : QByteArray("jpeg"));
    if (!png) writer.setQuality(preparedJpegQuality);
    recordDensity(writer, density);
    if (!writer.write(png ? picture : picture.convertToFormat(QImage::Format_RGB32))) return {};
    return bytes;
}

}  // namespace

bool nameTakenIgnoringCase(const std::filesystem::path& folder, const std::string& name) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (sameNameIgnoringCase(it->path().filename().string(), name)) return true;
    return false;
}

QString importName(const QString& sourceFileName) {
    QString stem = sourceFileName;
    while (stem.startsWith(QLatin1Char('.'))) stem.remove(0, 1);
    const qsizetype dot = stem.lastIndexOf(QLatin1Char('.'));
    if (dot > 0) stem.truncate(dot);
    for (QChar& c : stem)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f) c = QLatin1Char('_');
    while (QFile::encodeName(stem).size() > longestStemBytes) {
        stem.chop(1);
        if (!stem.isEmpty() && stem.back().isHighSurrogate()) stem.chop(1);  // never split a character
    }
    if (stem.trimmed().isEmpty()) stem = QStringLiteral("picture");
    return stem + pictureSuffix;
}

QString numberedName(const QString& name, int n) {
    const QString stem = name.endsWith(pictureSuffix) ? name.left(name.size() - pictureSuffix.size()) : name;
    return stem + QLatin1Char(' ') + QString::number(n) + pictureSuffix;
}

QSize importBudgetArea() {
    const QSize largest = largestScreenArea();
    return largest.isEmpty() ? commonScreenArea : largest;
}

ImportResult importPicture(const QString& source, const std::filesystem::path& folder, QSize area, QSize shownArea,
                           const FileCalls& calls) {
    return importPicture(qt::fromQPath(source), folder, area, shownArea, calls);
}

ImportResult importPicture(const std::filesystem::path& source, const std::filesystem::path& folder, QSize area,
                           QSize shownArea, const FileCalls& calls) {
    ImportResult result;
    const QString shown = qt::toQPath(source.filename());
    auto refuse = [&](ImportResult::Outcome outcome, const QString& why) {
        result.outcome = outcome;
        result.message = QStringLiteral("%1: %2; nothing added").arg(shown, why);
        return result;
    };
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(source, ec);
    if (!std::filesystem::exists(status)) return refuse(ImportResult::Outcome::Unreadable, QStringLiteral("no such file"));
    if (!std::filesystem::is_regular_file(status))
        return refuse(ImportResult::Outcome::Unreadable, QStringLiteral("not a file"));
    const auto listed = std::filesystem::file_size(source, ec);
    if (!ec && listed > static_cast<std::uintmax_t>(maxImportBytes))
        return refuse(ImportResult::Outcome::Unreadable, QStringLiteral("file too large"));

    // Opened by the name's own bytes, and only as the regular file it was seen to be.
    FileDescriptor fd(::open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    QFile file;
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        !file.open(fd.get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return refuse(ImportResult::Outcome::Unreadable, QStringLiteral("cannot be read"));
    static_cast<void>(fd.release());  // the file closes it now
    // One read serves both the check and the copy, so the copy is exactly what was checked. It
    // asks for what the file holds and one byte more (a buffer of the asked size is reserved
    // first): a file that grew, shrank or changed its size since it was looked at is refused.
    const qint64 size = file.size();
    if (size < 0 || size > maxImportBytes) return refuse(ImportResult::Outcome::Unreadable, QStringLiteral("file too large"));
    const QByteArray bytes = file.read(size + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() != size)
        return refuse(ImportResult::Outcome::Unreadable, QStringLiteral("cannot be read"));
    // The picture the board shows: upright, covering the area, cut around its centre, decoded
    // once. What it may cost is bounded by what a window of this machine could show.
    if (shownArea.isEmpty()) shownArea = importBudgetArea();
    PictureFault fault = PictureFault::none;
    double density = 1;
    const std::optional<QImage> prepared = loadFineCoveringData(bytes, area, shownArea, preparedDensity, density, &fault);
    if (!prepared) {
        const QString why = fault == PictureFault::damaged     ? QStringLiteral("damaged")
                            : fault == PictureFault::tooCostly ? QStringLiteral("too large to prepare")
                                                               : QStringLiteral("not a picture");
        return refuse(ImportResult::Outcome::NotPicture, why);
    }

    std::error_code one, two;
    const std::filesystem::path canonicalFolder = std::filesystem::canonical(folder, one);
    const std::filesystem::path sourceFolder = std::filesystem::canonical(source, two).parent_path();
    if (!one && !two && sourceFolder == canonicalFolder && shown.endsWith(pictureSuffix, Qt::CaseInsensitive)) {
        result.outcome = ImportResult::Outcome::AlreadyThere;
        result.name = shown;
        result.message = QStringLiteral("%1: already in the folder").arg(shown);
        return result;
    }

    const QByteArray picture = encodePrepared(*prepared, density);
    if (picture.isEmpty()) return refuse(ImportResult::Outcome::WriteFailed, QStringLiteral("cannot be prepared"));

    const QString first = importName(shown);
    for (int n = 1; n <= mostNumberedTries; ++n) {
        const QString name = n == 1 ? first : numberedName(first, n);
        const std::string encoded = QFile::encodeName(name).toStdString();
        if (nameTakenIgnoringCase(folder, encoded)) continue;
        if (createNewFile(folder, encoded, picture, calls)) {
            result.outcome = ImportResult::Outcome::Added;
            result.name = name;
            result.message = QStringLiteral("%1: added as %2").arg(shown, name);
            return result;
        }
        // Someone took the name meanwhile: try the next number; otherwise the folder refuses.
        if (!nameTakenIgnoringCase(folder, encoded)) break;
    }
    return refuse(ImportResult::Outcome::WriteFailed, QStringLiteral("cannot write into the folder"));
}

}  // namespace pelorix
