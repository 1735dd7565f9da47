// SPDX-License-Identifier: MIT
// Loading the hostile picture set, the earlier loaders beside the present one, and importing a large photo: time and peak memory.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>
#include <QTemporaryDir>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "hostile.h"
#include "pictures/canvas.h"
#include "pictures/pictureimport.h"
#include "pictures/pictures.h"

namespace pelorix::testing {
namespace {

const QSize screen(1280, 800);
// The present loader's and the import's target: no file costs more than this over the memory in use before.
constexpr long maxPeakMb = 150;

// The first loader: the whole picture decoded, up to 64 megapixels and 257 MB.
std::optional<QImage> loadWhole(const std::filesystem::path& path) {
    QImageReader reader(QString::fromStdString(path.native()));
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    if (!reader.canRead()) return std::nullopt;
    const QSize size = reader.size();
    if (size.isValid() && static_cast<long long>(size.width()) * size.height() > maxPicturePixels) return std::nullopt;
    reader.setAllocationLimit(static_cast<int>(maxPicturePixels * 4 / (1024 * 1024)) + 1);
    QImage picture = reader.read();
    if (picture.isNull()) return std::nullopt;
    return picture;
}

long statusKb(const char* field) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::string(field).size() + 1));
    return 0;
}
// Lowers the peak resident size to the present one, so the next peak is one file's.
void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

// The bounded loader before JPEG headers were read ahead of the decoder: a JPEG was read clipped to
// the screen, and only the clip was counted against the budget, however much the decoder needed
// for the whole picture. The other formats are read now as they were then.
std::optional<QImage> loadClipped(const std::filesystem::path& path) {
    QImageReader reader(QString::fromStdString(path.native()));
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);
    if (!reader.canRead()) return std::nullopt;
    if (reader.format() != "jpeg") return loadPictureFile(path, screen);
    const QSize size = reader.size();
    if (!size.isValid() || static_cast<long long>(size.width()) * size.height() > maxPicturePixels) return std::nullopt;
    const long long budget = pictureDecodeBudget(screen);
    reader.setAllocationLimit(static_cast<int>((budget + (1 << 20) - 1) >> 20));
    const QRect kept(QPoint(0, 0), size.boundedTo(screen));
    if (kept.size() != size) reader.setClipRect(kept);
    // Colour JPEGs decode to 4 bytes a pixel.
    if (4LL * kept.width() * kept.height() > budget) return std::nullopt;
    QImage picture = reader.read();
    if (picture.isNull()) return std::nullopt;
    return picture;
}

enum class Loader { whole, clipped, now };

// One file, loaded as the window loads it: decoded, then turned into the canvas's format.
void BM_LoadPicture(benchmark::State& state, const std::filesystem::path& path, Loader loader) {
    long peakMb = 0;
    bool loaded = false;
    for (auto _ : state) {
        malloc_trim(0);
        resetPeak();
        const long base = statusKb("VmRSS:");
        auto picture = loader == Loader::now       ? loadPictureFile(path, screen)
                       : loader == Loader::clipped ? loadClipped(path)
                                                   : loadWhole(path);
        loaded = picture.has_value();
        if (picture) benchmark::DoNotOptimize(toCanvasFormat(*picture));
        peakMb = std::max(peakMb, (statusKb("VmHWM:") - base) / 1024);
    }
    state.counters["peak_MB_over_base"] = static_cast<double>(peakMb);
    state.counters["loaded"] = loaded ? 1 : 0;
    if (loader == Loader::now && peakMb > maxPeakMb) state.SkipWithError("peak memory past the target");
}

// A 40-megapixel photo imported for the 754 × 385 board, as `pelorix --add` does it.
void BM_ImportPhoto(benchmark::State& state, const std::filesystem::path& photo) {
    long peakMb = 0;
    bool added = false;
    for (auto _ : state) {
        QTemporaryDir into;
        malloc_trim(0);
        resetPeak();
        const long base = statusKb("VmRSS:");
        const ImportResult r = importPicture(QString::fromStdString(photo.native()), into.path().toStdString());
        added = r.outcome == ImportResult::Outcome::Added;
        peakMb = std::max(peakMb, (statusKb("VmHWM:") - base) / 1024);
    }
    state.counters["peak_MB_over_base"] = static_cast<double>(peakMb);
    state.counters["added"] = added ? 1 : 0;
    if (!added) state.SkipWithError("the photo was not added");
    if (peakMb > maxPeakMb) state.SkipWithError("peak memory past the target");
}

// Writes a photo-like JPEG of width × height (smooth shading with fine grain) to `path`.
void writePhoto(const std::filesystem::path& path, int width, int height) {
    QImage photo(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const int grain = static_cast<int>((x * 7919u + y * 104729u) % 23);
            row[x] = qRgb((x * 200 / width + grain) % 256, (y * 180 / height + grain) % 256, (x + y) % 64 + 100);
        }
    }
    photo.save(QString::fromStdString(path.native()), "JPG", 90);
}

}  // namespace
}  // namespace pelorix::testing

int main(int argc, char** argv) {
    // Large blocks always come from and go back to the system, so that each load's peak shows in
    // the resident size instead of hiding in memory an earlier load left behind.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    mallopt(M_TRIM_THRESHOLD, 256 * 1024);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // `--write-hostile DIR` only writes the hostile set, for the whole-process measures.
    if (argc == 3 && std::string(argv[1]) == "--write-hostile") {
        for (const auto& f : pelorix::testing::hostileSet(true))
            std::ofstream(std::filesystem::path(argv[2]) / f.name, std::ios::binary).write(f.bytes.constData(), f.bytes.size());
        return 0;
    }
    QTemporaryDir dir;
    const std::filesystem::path folder = dir.path().toStdString();
    for (const auto& f : pelorix::testing::hostileSet(true)) {
        const std::filesystem::path path = folder / f.name;
        std::ofstream(path, std::ios::binary).write(f.bytes.constData(), f.bytes.size());
        const std::string size = std::to_string(f.bytes.size() / 1024) + "KB";
        using pelorix::testing::Loader;
        for (const auto& [loader, label] : {std::pair(Loader::whole, "whole/"), std::pair(Loader::clipped, "clipped/"),
                                            std::pair(Loader::now, "now/")}) {
            const std::string name = "BM_LoadPicture/" + std::string(label) + f.name + "/" + size;
            benchmark::RegisterBenchmark(name.c_str(), pelorix::testing::BM_LoadPicture, path, loader)
                ->Unit(benchmark::kMillisecond)
                ->Iterations(2);
        }
    }
    const std::filesystem::path photo = folder / "photo 40 MP.jpg";
    pelorix::testing::writePhoto(photo, 7744, 5168);
    const std::string photoName =
        "BM_ImportPhoto/7744x5168/" + std::to_string(std::filesystem::file_size(photo) / 1024) + "KB/754x385";
    benchmark::RegisterBenchmark(photoName.c_str(), pelorix::testing::BM_ImportPhoto, photo)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(2);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    // QTemporaryDir cannot remove a name that is not UTF-8, which the hostile set has.
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}
