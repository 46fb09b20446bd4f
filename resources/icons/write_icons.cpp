// Writes the icon at every size: write_icons FOLDER
// makes FOLDER/16/lumora.png, FOLDER/32/lumora.png and so on for the desktop's icon theme, and
// FOLDER/lumora.ico for Windows, the 32-pixel image first.

#include "icon_file.h"
#include "icon_images.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <iostream>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: write_icons FOLDER\n";
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    std::vector<QImage> forWindows{lumora::iconImage(32)};
    for (const int size : lumora::iconSizes) {
        const QString name = QString::number(size);
        const QImage image = lumora::iconImage(size);
        if (!folder.mkpath(name) ||
            !image.save(folder.filePath(name + QStringLiteral("/lumora.png")), "PNG")) {
            std::cerr << "write_icons: cannot write the " << size << " pixel icon in " << argv[1]
                      << '\n';
            return 1;
        }
        if (size != 32) {
            forWindows.push_back(image);
        }
    }
    QFile ico(folder.filePath(QStringLiteral("lumora.ico")));
    if (!ico.open(QIODevice::WriteOnly) || ico.write(lumora::iconFile(forWindows)) < 0) {
        std::cerr << "write_icons: cannot write " << argv[1] << "/lumora.ico\n";
        return 1;
    }
    return 0;
}
