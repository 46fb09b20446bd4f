// Writes the program's icon as a PNG for the desktop's icon theme: icon_to_png FILE.png

#include <QImage>

namespace {
#include "lumora.xpm"
} // namespace

int main(int argc, char** argv) {
    return argc == 2 && QImage(lumora_xpm).save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
