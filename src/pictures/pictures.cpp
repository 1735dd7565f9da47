// SPDX-License-Identifier: MIT
// Loading picture files at a cost bounded by the screen, refusing what is damaged or too costly.
#include "pictures/pictures.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <limits>

#include "files/safefiles.h"
#include "pictures/decoderinput.h"
#include "pictures/density.h"
#include "pictures/jpegframe.h"
#include "pictures/picturedamage.h"
#include "pictures/picturefit.h"

namespace pelorix {

namespace {

// Qt scales through pictures of 64-bit pixels: what each pixel of a scaled picture costs on its way.
constexpr long long scalingBytesPerPixel = 8;
// A read quality this high asks Qt's JPEG reader for careful decoding and smooth scaling, which
// the exact cover needs (the quality an import stores at is `preparedJpegQuality`, another matter).
constexpr int smoothReadQuality = 90;

// Bytes a pixel takes in the format a reader reports. The report comes from the decoder's header
// read, and one that failed may hand back any number at all, so it is checked as a plain number
// before it is used as a format.
long long bytesPerPixel(int format) {
    if (format <= QImage::Format_Invalid || format >= QImage::NImageFormats) return 8;  // unknown: assume the widest
    return std::max(1, QImage::toPixelFormat(static_cast<QImage::Format>(format)).bitsPerPixel() / 8);
}

long long pixelCount(QSize size) { return static_cast<long long>(size.width()) * size.height(); }

// What a decode may cost: the screen's budget, or for a picture no larger than the largest photo,
// what such a photo costs if that is more. So every photo loads on any screen and in any import,
// and a larger picture must fit what the screen can use.
struct DecodeBudget {
    long long screen;
    long long of(QSize stored) const {
        const bool photo = stored.isValid() && static_cast<long long>(stored.width()) * stored.height() <= largestPhotoPixels;
        return photo ? std::max(screen, largestPhotoBudget) : screen;
    }
};

// A JPEG's markers, read before the decoder reads them, so what it would fail on, what it would
// allocate and how many passes it would make are known first. Empty, with `fault` set, when the
// decoder would fail on the header or the file ends before its end marker (damaged), or when the
// decode would cost past `budget` or pass over the picture more often than a whole file needs
// (too costly): some of what it allocates is for the whole picture, however little of it is kept.
// `cost` gives the bytes for the frame; the orientation is not known yet.
template <typename Cost>
std::optional<JpegFrame> affordableJpeg(QIODevice& device, const DecodeBudget& budget, Cost cost, PictureFault& fault) {
    std::optional<JpegFrame> jpeg = readJpegFrame(device);
    if (!jpeg) fault = PictureFault::damaged;
    else if (jpeg->scans > countedScans || cost(*jpeg) > budget.of(QSize(jpeg->width, jpeg->height)))
        fault = PictureFault::tooCostly;
    else if (!jpeg->ended) fault = PictureFault::damaged;
    else return jpeg;
    return std::nullopt;
}

// What opening a picture learnt of it, each value checked.
struct OpenedPicture {
    std::optional<JpegFrame> jpeg;  // a JPEG's frame header; none for other formats
    QSize size;                     // as stored; invalid when the format tells no size before decoding
    Orientation orientation = QImageIOHandler::TransformationNone;
};

// Makes `reader` read the header of the picture in `device` and checks what it tells, for a
// decode of at most `budget` bytes; `jpegCost` prices a JPEG before its decoder reads anything.
// Empty, with `fault` set, when the picture is to be refused. The reader never turns pictures itself, so that what a
// clipped or scaled read decodes is in the stored picture's frame.
template <typename Cost>
std::optional<OpenedPicture> openPicture(QImageReader& reader, QIODevice& device, const DecodeBudget& budget, Cost jpegCost,
                                         PictureFault& fault) {
    OpenedPicture opened;
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    fault = PictureFault::notPicture;
    if (!reader.canRead()) return std::nullopt;
    fault = PictureFault::damaged;
    if (reader.format() == "jpeg" && !(opened.jpeg = affordableJpeg(device, budget, jpegCost, fault))) return std::nullopt;
    if (!wholeByStructure(device, reader.format())) return std::nullopt;
    opened.size = reader.size();
    const QSize size = opened.size;
    // The decoder's header read failed after all: nothing it reports can be trusted.
    if (opened.jpeg && size != QSize(opened.jpeg->width, opened.jpeg->height)) return std::nullopt;
    if (size.isValid() && size.isEmpty()) return std::nullopt;
    fault = PictureFault::tooCostly;
    if (size.isValid() && static_cast<long long>(size.width()) * size.height() > maxPicturePixels) return std::nullopt;
    fault = PictureFault::none;
    opened.orientation = checkedOrientation(static_cast<int>(reader.transformation()));
    reader.setAllocationLimit(static_cast<int>((budget.of(size) + (1 << 20) - 1) >> 20));
    return opened;
}

// The decoder's picture, or a null one, with `fault` set, when it could not decode the data
// whole (damaged) or may have been stopped by the reader's allocation limit (too costly).
// `pricedExactly`: what the decoder allocates was priced before decoding (a JPEG, from its
// markers), so a failure is damage. Otherwise the picture was priced in the format its reader
// reports, but a decoder may hold it in a wider one (TIFF's reads grey pictures as 32-bit colour),
// which the limit then stops: so a decode that fails for a picture that could pass the limit in
// the widest format a decoder gives (four 16-bit channels) is taken as too costly.
QImage decodeWhole(QImageReader& reader, PictureFault& fault, bool pricedExactly) {
    const QSize told = reader.size();  // before the read: a failed one may forget it
    const DecoderReports reports;
    QImage picture = reader.read();
    if (!picture.isNull() && reports.damage == 0) return picture;
    constexpr long long widestPixelBytes = 8;
    const long long limit = static_cast<long long>(reader.allocationLimit()) << 20;
    fault = picture.isNull() && !pricedExactly && limit > 0 && told.isValid() &&
                    widestPixelBytes * pixelCount(told) > limit
                ? PictureFault::tooCostly
                : PictureFault::damaged;
    return {};
}

// The JPEG decoder's own scale (1, 2, 4 or 8) for a read scaled to `request`: the largest whole
// reduction that still gives at least the size asked for, as Qt's reader picks it.
int jpegScale(QSize stored, QSize request) {
    if (request.isEmpty() || request.width() >= stored.width()) return 1;
    const int ratio = std::min(stored.width() / request.width(), stored.height() / request.height());
    return ratio >= 8 ? 8 : ratio >= 4 ? 4 : ratio >= 2 ? 2 : 1;
}

// `size` times `factor`, each side rounded to the nearest whole pixel and at least 1.
QSize scaledSize(QSize size, double factor) {
    return QSize(std::max(1, static_cast<int>(std::lround(size.width() * factor))),
                 std::max(1, static_cast<int>(std::lround(size.height() * factor))));
}

// How a picture of `density` pixels per unit becomes one of `ratio` device pixels per unit, shown
// through a window of `shown` units: which part of the stored pixels can ever be seen, and by how
// much it is scaled.
struct DensityPlan {
    DensityPlan(QSize shown, double density, double ratio)
        : factor(ratio / density),
          shownStored(static_cast<int>(std::ceil(shown.width() * density)),
                      static_cast<int>(std::ceil(shown.height() * density))),
          shownDevice(static_cast<int>(std::ceil(shown.width() * ratio)),
                      static_cast<int>(std::ceil(shown.height() * ratio))) {}
    double factor;       // device pixels per stored pixel
    QSize shownStored;   // the window's most, in the picture's own pixels
    QSize shownDevice;   // the same in device pixels
};

// `reader`'s JPEG decoded as `decodeWhole` does, but read carefully, so that its decoder reports
// every code it cannot read, and with the stray bytes of its header left out, which it would
// report too although they harm nothing: so a report means the picture is damaged.
QImage decodeJpeg(QImageReader& reader, QIODevice& device, const JpegFrame& frame, PictureFault& fault) {
    const QByteArray header = frame.strayBytes > 0 ? jpegHeaderWithoutStrays(device, frame) : QByteArray();
    SplicedDevice careful(device, header, header.isEmpty() ? 0 : frame.headerEnd, carefulJpegRead);
    QImageReader decoder(&careful, QByteArray("jpeg"));
    decoder.setAutoTransform(false);
    decoder.setAllocationLimit(reader.allocationLimit());
    decoder.setQuality(reader.quality());
    if (!reader.clipRect().isNull()) decoder.setClipRect(reader.clipRect());
    if (reader.scaledSize().isValid()) decoder.setScaledSize(reader.scaledSize());
    return decodeWhole(decoder, fault, true);
}

// The top-left part of the picture in `device` that a window of `shown` units can show, upright,
// at `ratio` device pixels per unit, at the cost the loader's contract states; empty, with `fault`
// set, when it is refused.
std::optional<QImage> readPicture(QIODevice& device, QSize shown, double ratio, PictureFault& fault) {
    // A window not yet shown has no size; the picture still loads, as small as can be.
    shown = shown.expandedTo(QSize(1, 1));
    const DecodeBudget budget{pictureDecodeBudget(DensityPlan(shown, 1, ratio).shownDevice)};
    QImageReader reader(&device);
    // What is kept of a JPEG is its shown part, upright or on its side, whichever costs more: read
    // already scaled down when the whole picture is shown at a lower density, else read at its own
    // density and then scaled.
    auto jpegCost = [&](const JpegFrame& frame) {
        const DensityPlan plan(shown, frame.density, ratio);
        const QSize stored(frame.width, frame.height);
        long long most = 0;
        for (const QSize limit : {plan.shownStored, plan.shownStored.transposed()}) {
            const QSize kept = stored.boundedTo(limit);
            long long cost = 0;
            if (plan.factor < 1 && kept == stored) {
                const QSize request = scaledSize(stored, plan.factor);
                const int scale = jpegScale(stored, request);
                const QSize out((frame.width + scale - 1) / scale, (frame.height + scale - 1) / scale);
                cost = jpegDecodeBytes(frame, out, scale) + (out != request ? 4 * pixelCount(request) : 0);
            } else {
                cost = jpegDecodeBytes(frame, kept) +
                       (plan.factor != 1 ? scalingBytesPerPixel * pixelCount(scaledSize(kept, plan.factor)) : 0);
            }
            most = std::max(most, cost);
        }
        return most;
    };
    const std::optional<OpenedPicture> opened = openPicture(reader, device, budget, jpegCost, fault);
    if (!opened) return std::nullopt;
    const auto& [jpeg, size, orientation] = *opened;
    const bool turned = orientation != QImageIOHandler::TransformationNone;
    const DensityPlan plan(shown, jpeg ? jpeg->density : recordedDensity(reader), ratio);

    // The part shown is the top-left of the upright picture; a clipped read decodes the part of
    // the stored picture that becomes it.
    const QRect kept =
        size.isValid() ? QRect(QPoint(0, 0), uprightSize(size, orientation).boundedTo(plan.shownStored)) : QRect();
    const bool clips = size.isValid() && kept.size() != uprightSize(size, orientation) &&
                       reader.supportsOption(QImageIOHandler::ClipRect);
    if (clips) reader.setClipRect(storedRect(kept, size, orientation));
    // A JPEG shown whole at a lower density is decoded already reduced, for little cost and without
    // ever holding the full picture; only by the decoder's own exact reductions (½, ¼, ⅛), the rest
    // being left to `scaledBy` below, which keeps every unit's edge where it belongs.
    const int decoderScale = jpeg && size.isValid() && !clips && plan.factor < 1
                                 ? jpegScale(size, scaledSize(size, plan.factor))
                                 : 1;
    const bool readsScaled = decoderScale > 1;
    if (readsScaled)
        reader.setScaledSize(QSize((size.width() + decoderScale - 1) / decoderScale,
                                   (size.height() + decoderScale - 1) / decoderScale));
    std::optional<SplicedDevice> fewerRows;
    std::optional<QImageReader> rowReader;
    QImageReader* decoder = &reader;
    // A JPEG's cost is counted above; other formats cost their pixels, in the format reported.
    if (!jpeg && size.isValid()) {
        const long long pixelBytes = bytesPerPixel(static_cast<int>(reader.imageFormat()));
        const QSize decoded = clips ? kept.size() : size;
        long long decodeBytes = pixelBytes * pixelCount(decoded);
        // Only the top rows of an untouched picture are its top rows once shown.
        if (!clips && !turned && kept.height() < size.height() && reader.format() == "png") {
            if (QByteArray header = pngHeaderWithRows(device, kept.height()); !header.isEmpty()) {
                // The decoder then keeps only the top rows, and stops there.
                fewerRows.emplace(device, std::move(header), pngHeaderBytes, std::numeric_limits<qint64>::max());
                rowReader.emplace(&*fewerRows, QByteArray("png"));
                rowReader->setAutoTransform(false);
                rowReader->setAllocationLimit(reader.allocationLimit());
                decoder = &*rowReader;
                decodeBytes = pixelBytes * size.width() * kept.height();
            }
        }
        // Turning makes a second picture of the same size.
        if (turned) decodeBytes *= 2;
        // So does a change of density, at the window's.
        if (plan.factor != 1) decodeBytes += scalingBytesPerPixel * pixelCount(scaledSize(kept.size(), plan.factor));
        // What still does not fit is refused before any decoding.
        if (decodeBytes > budget.of(size)) {
            fault = PictureFault::tooCostly;
            return std::nullopt;
        }
    }

    QImage picture = jpeg ? decodeJpeg(reader, device, *jpeg, fault) : decodeWhole(*decoder, fault, false);
    if (picture.isNull()) return std::nullopt;
    if (pixelCount(picture.size()) > maxPicturePixels) {
        fault = PictureFault::tooCostly;
        return std::nullopt;
    }
    picture = turnedUpright(picture, orientation);
    // Formats read whole are cut to what can be shown, so only that part stays in memory; then the
    // picture takes the window's density, once, so that drawing never scales.
    if (picture.width() > plan.shownStored.width() || picture.height() > plan.shownStored.height())
        picture = picture.copy(QRect(QPoint(0, 0), picture.size().boundedTo(plan.shownStored)));
    picture = scaledBy(picture, plan.factor * decoderScale);
    if (picture.isNull()) {
        fault = PictureFault::tooCostly;  // no memory for it
        return std::nullopt;
    }
    return picture;
}

// The density, from 1 to `finest` pixels per unit, at which a picture of `upright` size covers
// `area` units without being enlarged, in hundredths (never more than the picture has).
double coverDensity(QSize upright, QSize area, double finest) {
    if (upright.isEmpty() || area.isEmpty()) return 1;
    const double fits = std::min(static_cast<double>(upright.width()) / area.width(),
                                 static_cast<double>(upright.height()) / area.height());
    return std::clamp(std::floor(fits * 100) / 100, 1.0, std::max(1.0, finest));
}

// The picture in `device` upright, scaled to cover `area` units at the finest density up to
// `finest` that it has the pixels for (`density` tells which), and cut to it around its centre,
// decoded within the budget of the larger of that and `budgetArea`; empty, with `fault` set, when
// it is refused.
std::optional<QImage> readCovering(QIODevice& device, QSize area, QSize budgetArea, double finest, double& density,
                                   PictureFault& fault) {
    density = 1;
    if (area.isEmpty() || pixelCount(scaledSize(area, std::max(1.0, finest))) > maxPicturePixels) {
        fault = PictureFault::tooCostly;
        return std::nullopt;
    }
    const DecodeBudget budget{pictureDecodeBudget(budgetArea.expandedTo(scaledSize(area, std::max(1.0, finest))))};
    QImageReader reader(&device);
    auto jpegCost = [&](const JpegFrame& frame) { return coveringJpegBytes(frame, area, finest); };
    const std::optional<OpenedPicture> opened = openPicture(reader, device, budget, jpegCost, fault);
    if (!opened) return std::nullopt;
    const auto& [jpeg, size, orientation] = *opened;
    if (size.isValid()) {
        density = coverDensity(uprightSize(size, orientation), area, finest);
        area = scaledSize(area, density);
    }
    const long long areaBytes = 4 * pixelCount(area);

    // Larger pictures are read already scaled to the cover size, which a JPEG decoder does for the
    // most part while decoding; smaller ones are read whole and scaled up afterwards.
    QSize request;
    if (size.isValid()) {
        request = coverSize(uprightSize(size, orientation), area);
        if (turnsQuarter(orientation)) request.transpose();
        if (request.width() < size.width()) {
            reader.setScaledSize(request);
            reader.setQuality(smoothReadQuality);
        } else {
            request = size;
        }
    }
    if (!jpeg && size.isValid()) {
        // Other formats decode whole, then scale, turn and cut: each a picture of its own.
        const long long pixelBytes = bytesPerPixel(static_cast<int>(reader.imageFormat()));
        const long long decodeBytes = pixelBytes * size.width() * size.height() +
                                      scalingBytesPerPixel * request.width() * request.height() + areaBytes;
        if (decodeBytes > budget.of(size)) {
            fault = PictureFault::tooCostly;
            return std::nullopt;
        }
    }

    QImage picture = jpeg ? decodeJpeg(reader, device, *jpeg, fault) : decodeWhole(reader, fault, false);
    if (picture.isNull()) return std::nullopt;
    fault = PictureFault::tooCostly;
    if (static_cast<long long>(picture.width()) * picture.height() > maxPicturePixels) return std::nullopt;
    // Whatever size the decoder handed back, the cover and cut below bring it to the area.
    picture = turnedUpright(picture, orientation);
    picture = coverAndCut(picture, area);
    if (picture.isNull() || picture.size() != area) return std::nullopt;  // no memory for it
    fault = PictureFault::none;
    return picture;
}

}  // namespace

long long coveringJpegBytes(const JpegFrame& frame, QSize area, double finest) {
    // The decoder's output at its own scale, then Qt's exact scaling of it, then the cut; the
    // orientation is not known yet, so the dearer of its two possible shapes (as stored, or turned
    // a quarter) is priced.
    const QSize stored(frame.width, frame.height);
    long long most = 0;
    for (const QSize upright : {stored, stored.transposed()}) {
        const QSize fine = scaledSize(area, coverDensity(upright, area, finest));
        QSize request = coverSize(upright, fine);
        if (upright != stored) request.transpose();
        const int scale = jpegScale(stored, request);
        const QSize out((frame.width + scale - 1) / scale, (frame.height + scale - 1) / scale);
        most = std::max(most, jpegDecodeBytes(frame, out, scale) + scalingBytesPerPixel * pixelCount(request) +
                                  4 * pixelCount(fine));
    }
    return most;
}

QSize largestScreenArea() {
    QSize area;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return area;
    for (const QScreen* screen : QGuiApplication::screens()) area = area.expandedTo(screen->availableGeometry().size());
    return area;
}

long long pictureDecodeBudget(QSize shown) {
    // Room for six screens' worth of the widest (64-bit) pixels, and never less than 32 MiB.
    const long long area = static_cast<long long>(std::max(shown.width(), 1)) * std::max(shown.height(), 1);
    return std::max(48 * area, 32LL << 20);
}

namespace {
// Runs `read` on the file at `path`, opened by its raw name bytes (not through a QString),
// non-blocking so a pipe cannot stall the game, and read only if it is a regular file.
template <typename Read>
std::optional<QImage> readFile(const std::filesystem::path& path, Read read, PictureFault* fault) {
    PictureFault why = PictureFault::unreadable;
    std::optional<QImage> picture;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    QFile file;
    // The file takes the descriptor over once it has opened, and closes it with itself.
    if (fd.valid() && ::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode) &&
        file.open(fd.get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        static_cast<void>(fd.release());
        picture = read(file, why);
    }
    if (fault) *fault = picture ? PictureFault::none : why;
    return picture;
}

// Runs `read` on a picture held in memory.
template <typename Read>
std::optional<QImage> readData(const QByteArray& data, Read read, PictureFault* fault) {
    PictureFault why = PictureFault::unreadable;
    std::optional<QImage> picture;
    QBuffer buffer;
    buffer.setData(data);
    if (buffer.open(QIODevice::ReadOnly)) picture = read(buffer, why);
    if (fault) *fault = picture ? PictureFault::none : why;
    return picture;
}
}  // namespace

std::optional<QImage> loadPictureFile(const std::filesystem::path& path, QSize shown, PictureFault* fault, double ratio) {
    return readFile(
        path, [&](QIODevice& device, PictureFault& why) { return readPicture(device, shown, ratio, why); }, fault);
}

std::optional<QImage> loadPictureData(const QByteArray& data, QSize shown, PictureFault* fault, double ratio) {
    return readData(
        data, [&](QIODevice& device, PictureFault& why) { return readPicture(device, shown, ratio, why); }, fault);
}

std::optional<QImage> loadCoveringFile(const std::filesystem::path& path, QSize area, QSize budgetArea,
                                       PictureFault* fault) {
    double density = 1;
    return readFile(
        path, [&](QIODevice& device, PictureFault& why) { return readCovering(device, area, budgetArea, 1, density, why); },
        fault);
}

std::optional<QImage> loadCoveringData(const QByteArray& data, QSize area, QSize budgetArea, PictureFault* fault) {
    double density = 1;
    return readData(
        data, [&](QIODevice& device, PictureFault& why) { return readCovering(device, area, budgetArea, 1, density, why); },
        fault);
}

std::optional<QImage> loadFineCoveringData(const QByteArray& data, QSize area, QSize budgetArea, double finest,
                                           double& density, PictureFault* fault) {
    return readData(
        data,
        [&](QIODevice& device, PictureFault& why) { return readCovering(device, area, budgetArea, finest, density, why); },
        fault);
}

}  // namespace pelorix
