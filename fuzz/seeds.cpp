// SPDX-License-Identifier: MIT
// Writes the fuzz targets' seed corpora into a folder: the tests' hostile pictures and small sound
// ones, settings texts, and command lines.
#include <QGuiApplication>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "hostile.h"

namespace {

namespace fs = std::filesystem;

// Seeds stay small: the fuzzer works on inputs no longer than its largest seed.
constexpr qsizetype largestSeed = 128 * 1024;

void write(const fs::path& folder, const std::string& name, const QByteArray& bytes) {
    std::ofstream(folder / name, std::ios::binary).write(bytes.constData(), bytes.size());
}

void writeAll(const fs::path& folder, const std::vector<std::string>& seeds) {
    for (std::size_t i = 0; i < seeds.size(); ++i)
        write(folder, std::to_string(i), QByteArray(seeds[i].data(), static_cast<qsizetype>(seeds[i].size())));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);  // the picture writers are plugins
    const fs::path root = argv[1];
    for (const char* target : {"picture", "numbers", "commandline"}) fs::create_directories(root / target);

    using namespace pelorix::testing;
    int count = 0;
    for (const HostileFile& f : hostileSet(false)) {
        // Hostile names may not be UTF-8; the seeds are numbered instead.
        if (f.bytes.size() <= largestSeed) write(root / "picture", "hostile" + std::to_string(count++), f.bytes);
    }
    const QImage small = patterned(40, 30);
    write(root / "picture", "small.png", encoded(small, "PNG"));
    write(root / "picture", "small.bmp", encoded(small, "BMP"));
    write(root / "picture", "small.jpg", encoded(small, "JPG", 90));
    write(root / "picture", "small-progressive.jpg", encoded(small, "JPG", 90, true));
    write(root / "picture", "small-grey.jpg", encoded(small.convertToFormat(QImage::Format_Grayscale8), "JPG", 90));
    write(root / "picture", "small-palette.png", encoded(small.convertToFormat(QImage::Format_Indexed8), "PNG"));

    writeAll(root / "numbers", {" 1 \r\n", " 100 \r\n", "-3 \r\n", " .5 \r\n", "12", "  7,8", "1E+15", "-1E-05", "25abc",
                                "abc", "1d400", "-.5e-400", "1e99999999999", std::string(70000, '9')});
    using namespace std::string_literals;
    writeAll(root / "commandline", {""s, "--help\0"s, "--version\0"s, "-u\0"s, "/tmp\0"s, "--add\0a.jpg\0b.png\0"s,
                                    "-u\0--add\0a.jpg\0"s, "--root\0--grid\0006x4\0"s, "-root\0"s,
                                    "--window-id\0000x1a00003\0"s, "-window-id\00012345\0"s, "--grid\0005\0"s,
                                    "\0000x2a"s, "--root\0/tmp\0bad\0"s});
    return 0;
}
