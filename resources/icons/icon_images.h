#pragma once

// The program's icon, a 32 x 32 pixel-art hamburger, at every size a desktop asks for. Larger
// sizes repeat each pixel as a whole block, so they stay as crisp as the original; 16 x 16 is a
// reduction that keeps the layers of the burger.

#include <QImage>

#include <array>

namespace lumora {

inline constexpr std::array iconSizes{16, 32, 64, 128, 256};

// `size` is one of iconSizes.
QImage iconImage(int size);

} // namespace lumora
