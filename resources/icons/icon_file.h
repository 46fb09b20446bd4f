#pragma once

// A Windows icon file (.ico) holding several sizes of one picture.

#include <QByteArray>
#include <QImage>

#include <vector>

namespace lumora {

// `images` in the order Windows should see them. Images of 32 pixels or less are stored as
// 8-bit palette bitmaps with a transparency mask (at most 256 colours, and alpha either 0 or
// 255); larger ones as PNG, as Windows Vista and later read them.
QByteArray iconFile(const std::vector<QImage>& images);

} // namespace lumora
