// Saves a picture of the running window: lumora_snapshot FILE.png MILLISECONDS
// The window runs as it does for a user, with its timers, until the picture is taken.

#include "lumora.h"
#include "process_entry.h"
#include "qt_platform.h"
#include "qt_toolkit.h"

#include <QPixmap>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <iostream>

int main(int argc, char** argv) {
    lumora::QtPlatform platform(argc, argv);
    bool valid = argc == 3;
    const int delay = valid ? QString::fromLocal8Bit(argv[2]).toInt(&valid) : 0;
    if (!valid || delay < 0) {
        std::cerr << "usage: lumora_snapshot FILE.png MILLISECONDS\n";
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);

    lumora::qt::QtToolkit ui;
    bool saved = false;
    QTimer::singleShot(delay, ui.window(), [&] {
        saved = ui.window()->grab().save(path, "PNG");
        ui.window()->close();
    });
    const int status = lumora::runLumora(ui);
    if (!saved) {
        std::cerr << "lumora_snapshot: could not write " << argv[1] << '\n';
        return 1;
    }
    return status;
}
