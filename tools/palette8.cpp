// SPDX-License-Identifier: MIT
// Reduction of true-colour pictures to 256 colours.
#include "palette8.h"

#include <QFile>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace pics {

namespace {

// Weighted squared distance; green counts most, as it does for the eye.
inline double distance2(double r1, double g1, double b1, double r2, double g2, double b2)
{
    const double dr = r1 - r2, dg = g1 - g2, db = b1 - b2;
    return 2 * dr * dr + 4 * dg * dg + 3 * db * db;
}

struct Bin {
    double count = 0;
    double r = 0, g = 0, b = 0;  // sums, turned into means once counting is done
};

struct Box {
    std::vector<int> bins;
    double error = 0;  // count-weighted squared spread of its colours
    int axis = 0;      // channel with the widest spread
};

void measure(Box& box, const std::vector<Bin>& bins)
{
    double n = 0, mean[3] = {0, 0, 0};
    for (int i : box.bins) {
        const Bin& b = bins[i];
        n += b.count;
        mean[0] += b.r * b.count;
        mean[1] += b.g * b.count;
        mean[2] += b.b * b.count;
    }
    double var[3] = {0, 0, 0};
    for (int c = 0; c < 3; ++c)
        mean[c] /= n;
    for (int i : box.bins) {
        const Bin& b = bins[i];
        const double v[3] = {b.r, b.g, b.b};
        for (int c = 0; c < 3; ++c)
            var[c] += b.count * (v[c] - mean[c]) * (v[c] - mean[c]);
    }
    var[0] *= 2;
    var[1] *= 4;
    var[2] *= 3;
    box.error = box.bins.size() > 1 ? var[0] + var[1] + var[2] : 0;
    box.axis = int(std::max_element(var, var + 3) - var);
}

std::vector<std::array<double, 3>> buildPalette(const std::vector<Bin>& bins)
{
    std::vector<Box> boxes(1);
    for (int i = 0; i < int(bins.size()); ++i)
        boxes[0].bins.push_back(i);
    measure(boxes[0], bins);

    while (boxes.size() < 256) {
        auto worst = std::max_element(boxes.begin(), boxes.end(),
                                      [](const Box& a, const Box& b) { return a.error < b.error; });
        if (worst->error <= 0)
            break;
        const int axis = worst->axis;
        auto channel = [&](int i) { return axis == 0 ? bins[i].r : axis == 1 ? bins[i].g : bins[i].b; };
        std::sort(worst->bins.begin(), worst->bins.end(), [&](int a, int b) { return channel(a) < channel(b); });
        double total = 0;
        for (int i : worst->bins)
            total += bins[i].count;
        double running = 0;
        std::size_t cut = 1;
        for (; cut < worst->bins.size() - 1; ++cut) {
            running += bins[worst->bins[cut - 1]].count;
            if (running >= total / 2)
                break;
        }
        Box upper;
        upper.bins.assign(worst->bins.begin() + cut, worst->bins.end());
        worst->bins.resize(cut);
        measure(*worst, bins);
        measure(upper, bins);
        boxes.push_back(std::move(upper));
    }

    std::vector<std::array<double, 3>> palette;
    for (const Box& box : boxes) {
        double n = 0, s[3] = {0, 0, 0};
        for (int i : box.bins) {
            n += bins[i].count;
            s[0] += bins[i].r * bins[i].count;
            s[1] += bins[i].g * bins[i].count;
            s[2] += bins[i].b * bins[i].count;
        }
        palette.push_back({s[0] / n, s[1] / n, s[2] / n});
    }

    // A few rounds of k-means pull each entry towards the colours that actually use it.
    for (int round = 0; round < 5; ++round) {
        std::vector<std::array<double, 4>> sums(palette.size(), {0, 0, 0, 0});
        for (const Bin& b : bins) {
            std::size_t best = 0;
            double bestD = 1e300;
            for (std::size_t k = 0; k < palette.size(); ++k) {
                const double d = distance2(b.r, b.g, b.b, palette[k][0], palette[k][1], palette[k][2]);
                if (d < bestD) {
                    bestD = d;
                    best = k;
                }
            }
            sums[best][0] += b.r * b.count;
            sums[best][1] += b.g * b.count;
            sums[best][2] += b.b * b.count;
            sums[best][3] += b.count;
        }
        for (std::size_t k = 0; k < palette.size(); ++k)
            if (sums[k][3] > 0)
                palette[k] = {sums[k][0] / sums[k][3], sums[k][1] / sums[k][3], sums[k][2] / sums[k][3]};
    }
    return palette;
}

}  // namespace

QImage quantize256(const QImage& picture)
{
    const QImage src = picture.convertToFormat(QImage::Format_RGB32);
    const int w = src.width(), h = src.height();

    std::vector<Bin> histogram(32768);
    for (int y = 0; y < h; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const int r = qRed(row[x]), g = qGreen(row[x]), b = qBlue(row[x]);
            Bin& bin = histogram[(r >> 3) << 10 | (g >> 3) << 5 | (b >> 3)];
            bin.count += 1;
            bin.r += r;
            bin.g += g;
            bin.b += b;
        }
    }
    std::vector<Bin> bins;
    for (Bin b : histogram) {
        if (b.count > 0) {
            b.r /= b.count;
            b.g /= b.count;
            b.b /= b.count;
            bins.push_back(b);
        }
    }
    std::vector<std::array<double, 3>> palette = buildPalette(bins);

    QImage out(w, h, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (const auto& c : palette)
        table.push_back(qRgb(int(std::lround(c[0])), int(std::lround(c[1])), int(std::lround(c[2]))));
    while (table.size() < 256)
        table.push_back(qRgb(0, 0, 0));
    out.setColorTable(table);

    // Nearest-entry lookups are cached per 6-bit colour cell.
    std::vector<std::int16_t> cache(1 << 18, -1);
    auto nearest = [&](double r, double g, double b) {
        const int ri = std::clamp(int(r), 0, 255) >> 2, gi = std::clamp(int(g), 0, 255) >> 2,
                  bi = std::clamp(int(b), 0, 255) >> 2;
        std::int16_t& slot = cache[ri << 12 | gi << 6 | bi];
        if (slot < 0) {
            double bestD = 1e300;
            for (std::size_t k = 0; k < palette.size(); ++k) {
                const double d = distance2(ri * 4 + 2, gi * 4 + 2, bi * 4 + 2, palette[k][0], palette[k][1],
                                           palette[k][2]);
                if (d < bestD) {
                    bestD = d;
                    slot = std::int16_t(k);
                }
            }
        }
        return int(slot);
    };

    // Floyd-Steinberg with serpentine scanning; errors are damped a little to keep flat
    // areas calm.
    const double damping = 0.85;
    std::vector<double> cur((w + 2) * 3, 0.0), next((w + 2) * 3, 0.0);
    for (int y = 0; y < h; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        uchar* dst = out.scanLine(y);
        const bool ltr = (y % 2) == 0;
        std::fill(next.begin(), next.end(), 0.0);
        for (int i = 0; i < w; ++i) {
            const int x = ltr ? i : w - 1 - i;
            const int dir = ltr ? 1 : -1;
            double* e = &cur[(x + 1) * 3];
            const double want[3] = {std::clamp(qRed(row[x]) + e[0], 0.0, 255.0),
                                    std::clamp(qGreen(row[x]) + e[1], 0.0, 255.0),
                                    std::clamp(qBlue(row[x]) + e[2], 0.0, 255.0)};
            const int k = nearest(want[0], want[1], want[2]);
            dst[x] = uchar(k);
            for (int c = 0; c < 3; ++c) {
                const double err = (want[c] - palette[k][c]) * damping;
                cur[(x + 1 + dir) * 3 + c] += err * 7 / 16;
                next[(x + 1 - dir) * 3 + c] += err * 3 / 16;
                next[(x + 1) * 3 + c] += err * 5 / 16;
                next[(x + 1 + dir) * 3 + c] += err * 1 / 16;
            }
        }
        std::swap(cur, next);
    }
    return out;
}

}  // namespace pics
