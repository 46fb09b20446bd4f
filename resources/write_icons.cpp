// Writes the icon at every size for the desktop's icon theme: write_icons FOLDER
// makes FOLDER/16/lumora.png, FOLDER/32/lumora.png and so on.

#include "icon_images.h"

#include <QDir>
#include <QString>

#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: write_icons FOLDER\n";
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (const int size : lumora::iconSizes) {
        const QString name = QString::number(size);
        if (!folder.mkpath(name) ||
            !lumora::iconImage(size).save(folder.filePath(name + QStringLiteral("/lumora.png")),
                                          "PNG")) {
            std::cerr << "write_icons: cannot write the " << size << " pixel icon in " << argv[1]
                      << '\n';
            return 1;
        }
    }
    return 0;
}
