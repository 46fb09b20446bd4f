#include "icon_file.h"

#include <QBuffer>
#include <QtEndian>

#include <algorithm>
#include <stdexcept>

namespace lumora {
namespace {

void put16(QByteArray& out, int value) {
    const quint16 little = qToLittleEndian(static_cast<quint16>(value));
    out.append(reinterpret_cast<const char*>(&little), 2);
}

void put32(QByteArray& out, int value) {
    const quint32 little = qToLittleEndian(static_cast<quint32>(value));
    out.append(reinterpret_cast<const char*>(&little), 4);
}

// An 8-bit palette bitmap as an icon stores it: header (twice the height, for the mask), 256
// palette entries, the colour indices and then the 1-bit transparency mask, rows bottom-up,
// each padded to 4 bytes.
QByteArray paletteBitmap(const QImage& image) {
    std::vector<QRgb> palette;
    const int width = image.width();
    const int height = image.height();
    std::vector<int> indices(static_cast<std::size_t>(width * height), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) == 0) {
                continue;
            }
            auto found = std::find(palette.begin(), palette.end(), pixel);
            if (found == palette.end()) {
                if (palette.size() == 256) {
                    throw std::runtime_error("the icon has more than 256 colours");
                }
                found = palette.insert(palette.end(), pixel);
            }
            indices[static_cast<std::size_t>(y * width + x)] =
                static_cast<int>(found - palette.begin());
        }
    }
    palette.resize(256, qRgb(0, 0, 0));

    const int maskStride = (width + 31) / 32 * 4;
    QByteArray out;
    put32(out, 40); // BITMAPINFOHEADER
    put32(out, width);
    put32(out, 2 * height);
    put16(out, 1);
    put16(out, 8);
    put32(out, 0);
    put32(out, width * height + maskStride * height);
    put32(out, 0);
    put32(out, 0);
    put32(out, 256);
    put32(out, 0);
    for (const QRgb colour : palette) {
        out.append(static_cast<char>(qBlue(colour)));
        out.append(static_cast<char>(qGreen(colour)));
        out.append(static_cast<char>(qRed(colour)));
        out.append('\0');
    }
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            out.append(static_cast<char>(indices[static_cast<std::size_t>(y * width + x)]));
        }
    }
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(maskStride, '\0');
        for (int x = 0; x < width; ++x) {
            if (qAlpha(image.pixel(x, y)) == 0) {
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        out.append(row);
    }
    return out;
}

QByteArray png(const QImage& image) {
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return out;
}

} // namespace

QByteArray iconFile(const std::vector<QImage>& images) {
    std::vector<QByteArray> entries;
    for (const QImage& image : images) {
        entries.push_back(image.width() <= 32 ? paletteBitmap(image) : png(image));
    }
    QByteArray out;
    put16(out, 0);
    put16(out, 1); // an icon, not a cursor
    put16(out, static_cast<int>(images.size()));
    int offset = 6 + 16 * static_cast<int>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const QImage& image = images[i];
        out.append(static_cast<char>(image.width() < 256 ? image.width() : 0));
        out.append(static_cast<char>(image.height() < 256 ? image.height() : 0));
        out.append('\0'); // palette size: 0 means 256 or none
        out.append('\0');
        put16(out, 1);
        put16(out, image.width() <= 32 ? 8 : 32);
        put32(out, static_cast<int>(entries[i].size()));
        put32(out, offset);
        offset += static_cast<int>(entries[i].size());
    }
    for (const QByteArray& entry : entries) {
        out.append(entry);
    }
    return out;
}

} // namespace lumora
