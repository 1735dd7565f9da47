// SPDX-License-Identifier: MIT
// Small helpers for the app tests: pictures and plain files made in temporary folders.
#pragma once

#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QString>
#include <filesystem>
#include <set>
#include <string>

namespace pelorix::testing {

// The bytes of a small PNG picture; `shade` makes pictures that differ.
inline QByteArray pngBytes(int shade = 0, int width = 24, int height = 16) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(qRgb(shade % 256, 120, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

// The size of the picture in a file, by its header; invalid when it is no picture.
inline QSize pictureSize(const std::filesystem::path& p) { return QImageReader(QFile::decodeName(QByteArray::fromStdString(p.string()))).size(); }

inline QString qpath(const std::filesystem::path& p) { return QFile::decodeName(QByteArray::fromStdString(p.string())); }

inline void writeBytes(const std::filesystem::path& p, const QByteArray& bytes) {
    QFile file(qpath(p));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

inline QByteArray readBytes(const std::filesystem::path& p) {
    QFile file(qpath(p));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Names in a folder, symbolic links included.
inline std::set<std::string> namesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

}  // namespace pelorix::testing
