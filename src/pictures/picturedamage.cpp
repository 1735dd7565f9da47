// SPDX-License-Identifier: MIT
// Damaged picture files: BMP rows and GIF blocks walked to the end, and the JPEG decoder's reports counted.
#include "pictures/picturedamage.h"

#include <QIODevice>
#include <QLoggingCategory>
#include <QString>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <mutex>

namespace pelorix {

namespace {

constexpr char jpegCategory[] = "qt.gui.imageio.jpeg";
// The blocks of a GIF file after its screen: an extension, an image, and the trailer that ends it.
constexpr int gifExtension = 0x21, gifImage = 0x2C, gifTrailer = 0x3B;

std::uint32_t little(const QByteArray& b, int at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
    return v;
}

// An uncompressed BMP (or one with bit fields) must hold every row its header counts.
bool wholeBmp(QIODevice& device) {
    const QByteArray head = device.peek(34);
    if (head.size() < 26 || !head.startsWith("BM")) return true;
    const std::uint32_t offset = little(head, 10, 4), info = little(head, 14, 4);
    long long width = 0, height = 0, bits = 0, compression = 0;
    if (info == 12) {  // the OS/2 header: 16-bit sizes, never compressed
        width = little(head, 18, 2);
        height = little(head, 20, 2);
        bits = little(head, 24, 2);
    } else if (info >= 40) {
        if (head.size() < 34) return false;
        width = static_cast<std::int32_t>(little(head, 18, 4));
        height = static_cast<std::int32_t>(little(head, 22, 4));
        bits = little(head, 28, 2);
        compression = little(head, 30, 4);
    } else {
        return true;
    }
    if (compression != 0 && compression != 3) return true;  // run-length data has no fixed size
    if (width < 1 || bits < 1 || bits > 64) return true;     // the decoder refuses such a header itself
    if (height < 0) height = -height;                          // rows stored top-down
    // Below 2^31 pixels of at most 64 bits, a row's bytes fit; their product with the rows may not.
    const long long stride = (width * bits + 31) / 32 * 4;
    const long long data = device.size() - static_cast<long long>(offset);
    return data >= 0 && data / stride >= height;
}

// A GIF's blocks, walked to its trailer: a header, the screen's colour table, then extensions and
// images, each a run of sub-blocks ending with an empty one.
bool wholeGif(QIODevice& device) {
    auto byte = [&]() -> int {
        char c = 0;
        return device.getChar(&c) ? static_cast<unsigned char>(c) : -1;
    };
    auto skip = [&](qint64 n) { return device.pos() + n <= device.size() && device.seek(device.pos() + n); };
    auto subBlocks = [&] {
        for (int n = byte(); n != 0; n = byte())
            if (n < 0 || !skip(n)) return false;
        return true;
    };
    const QByteArray head = device.read(13);
    if (head.size() < 13) return false;
    const int packed = static_cast<unsigned char>(head[10]);
    if ((packed & 0x80) && !skip(3LL << ((packed & 7) + 1))) return false;
    for (;;) {
        const int kind = byte();
        if (kind == gifTrailer) return true;
        if (kind == gifExtension) {
            if (byte() < 0 || !subBlocks()) return false;
        } else if (kind == gifImage) {
            const QByteArray image = device.read(9);
            if (image.size() < 9) return false;
            const int local = static_cast<unsigned char>(image[8]);
            if ((local & 0x80) && !skip(3LL << ((local & 7) + 1))) return false;
            if (byte() < 0 || !subBlocks()) return false;  // the code size, then the coded data
        } else {
            return false;
        }
    }
}

thread_local DecoderReports* active = nullptr;
QtMessageHandler previousHandler = nullptr;
QLoggingCategory::CategoryFilter previousFilter = nullptr;
// Whether the logging rules in force would print the decoder's warnings.
std::atomic<bool> rulesPrintJpegWarnings{true};

bool isJpegCategory(const char* name) { return name && std::strcmp(name, jpegCategory) == 0; }

void countReports(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && isJpegCategory(context.category)) {
        if (active) {
            ++active->damage;
            return;
        }
        if (!rulesPrintJpegWarnings.load(std::memory_order_relaxed)) return;
    }
    if (previousHandler) previousHandler(type, context, message);
}

// The rules decide first and what they decide is kept for printing; then the decoder's warnings
// are produced all the same, so that the count never depends on them.
void keepReports(QLoggingCategory* category) {
    if (previousFilter) previousFilter(category);
    if (!isJpegCategory(category->categoryName())) return;
    rulesPrintJpegWarnings.store(category->isWarningEnabled(), std::memory_order_relaxed);
    category->setEnabled(QtWarningMsg, true);
}

}  // namespace

bool wholeByStructure(QIODevice& device, const QByteArray& format) {
    const qint64 was = device.pos();
    if (!device.seek(0)) return false;
    const bool whole = format == "bmp" ? wholeBmp(device) : format == "gif" ? wholeGif(device) : true;
    return device.seek(was) && whole;
}

DecoderReports::DecoderReports() : outer_(active) {
    static std::once_flag installed;
    std::call_once(installed, [] {
        previousHandler = qInstallMessageHandler(countReports);
        previousFilter = QLoggingCategory::installFilter(keepReports);
    });
    active = this;
}

DecoderReports::~DecoderReports() { active = outer_; }

}  // namespace pelorix
