#include "icon_images.h"

#include <QColor>

#include <algorithm>
#include <map>

namespace lumora {
namespace {
#include "../lumora.xpm"

// Each 2 x 2 block becomes the colour most of its pixels have. A block is transparent only when
// three or four of its pixels are, so the outline keeps its mass; between two colours of two
// pixels each the darker wins, which keeps the shading under the bun and in the patty.
QImage halved(const QImage& image) {
    QImage out(image.size() / 2, QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            std::map<QRgb, int> counts;
            int transparent = 0;
            for (const QPoint d : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)}) {
                const QRgb pixel = image.pixel(2 * x + d.x(), 2 * y + d.y());
                if (qAlpha(pixel) == 0) {
                    ++transparent;
                } else {
                    ++counts[pixel];
                }
            }
            if (transparent >= 3) {
                out.setPixel(x, y, qRgba(0, 0, 0, 0));
                continue;
            }
            const auto chosen =
                std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                    return a.second != b.second ? a.second < b.second
                                                : qGray(a.first) > qGray(b.first);
                });
            out.setPixel(x, y, chosen->first);
        }
    }
    return out;
}

} // namespace

QImage iconImage(int size) {
    const QImage original = QImage(lumora_xpm).convertToFormat(QImage::Format_ARGB32);
    if (size < original.width()) {
        return halved(original);
    }
    return original.scaled(size, size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

} // namespace lumora
