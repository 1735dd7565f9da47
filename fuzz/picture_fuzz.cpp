// SPDX-License-Identifier: MIT
// Fuzz target: any bytes as a picture file, loaded for a small window and turned into the canvas's format.
#include <QCoreApplication>
#include <QLoggingCategory>
#include <cstdint>
#include <cstdlib>

#include "pictures/canvas.h"
#include "pictures/pictures.h"

namespace {
// Small, so a picture that loads decodes little and each input runs fast.
const QSize shown(256, 160);
}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The picture plugins are found through the application object.
    static QCoreApplication app(*argc, *argv);
    // Damaged files make the decoders warn on every input.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.gui.imageio*=false"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto picture = pelorix::loadPictureData(bytes, shown);
    if (!picture) return 0;
    // What loads is never empty and never larger than can be shown.
    if (picture->isNull() || picture->width() > shown.width() || picture->height() > shown.height()) std::abort();
    const QImage converted = pelorix::toCanvasFormat(*picture);
    if (converted.size() != picture->size()) std::abort();
    return 0;
}
