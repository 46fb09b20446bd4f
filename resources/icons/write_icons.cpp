// Writes the icon at every size: write_icons FOLDER [BACKGROUND_FILE]
// makes FOLDER/16/lumora.png, FOLDER/32/lumora.png and so on for the desktop's icon theme, and
// FOLDER/lumora.ico for Windows, the 32-pixel image first. With BACKGROUND_FILE, whose first line
// is the window's colour as #rrggbb, also the web app's icons in FOLDER/web: lumora-192.png,
// lumora-512.png, and lumora-maskable.png, the icon on that colour with the margin a home screen
// may crop to its own shape.

#include "icon_file.h"
#include "icon_images.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QString>

#include <iostream>
#include <vector>

namespace {

bool save(const QImage& image, const QDir& folder, const QString& name) {
    if (!folder.mkpath(QFileInfo(name).path()) || !image.save(folder.filePath(name), "PNG")) {
        std::cerr << "write_icons: cannot write " << folder.filePath(name).toStdString() << '\n';
        return false;
    }
    return true;
}

// A maskable icon's shape may be cropped to a circle of 80% of its width: the icon, 9/16 of the
// width, keeps its corners inside it.
QImage maskable(QColor background) {
    QImage image(512, 512, QImage::Format_ARGB32);
    image.fill(background);
    QPainter painter(&image);
    painter.drawImage(112, 112, lumora::iconImage(288));
    return image;
}

// The colour on the first line of `path`, or an invalid one.
QColor colourIn(const char* path) {
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QColor(QString::fromLatin1(file.readLine().trimmed()));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: write_icons FOLDER [BACKGROUND_FILE]\n";
        return 2;
    }
    const QColor background = argc == 3 ? colourIn(argv[2]) : QColor();
    if (argc == 3 && !background.isValid()) {
        std::cerr << "write_icons: " << argv[2] << " holds no colour as #rrggbb\n";
        return 1;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    std::vector<QImage> forWindows{lumora::iconImage(32)};
    for (const int size : lumora::iconSizes) {
        const QString name = QString::number(size);
        const QImage image = lumora::iconImage(size);
        if (!save(image, folder, name + QStringLiteral("/lumora.png"))) {
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
    if (background.isValid() &&
        !(save(lumora::iconImage(192), folder, QStringLiteral("web/lumora-192.png")) &&
          save(lumora::iconImage(512), folder, QStringLiteral("web/lumora-512.png")) &&
          save(maskable(background), folder, QStringLiteral("web/lumora-maskable.png")))) {
        return 1;
    }
    return 0;
}
