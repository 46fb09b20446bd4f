#include "qt_platform.h"

#include "icon_images.h"
#include "picture_box.h"
#include "version.h"

#include <QAccessible>
#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QStyleFactory>

namespace lumora {
namespace {

// Qt's own event loop rather than GLib's. The billboard wakes five times a second for as long as
// it runs, and GLib's loop costs about a fifth of the program's CPU time on each wake-up; nothing
// here (no GTK dialog, no GObject library) needs GLib's loop. QT_NO_GLIB set by the user wins.
void chooseEventLoop() {
    if (!qEnvironmentVariableIsSet("QT_NO_GLIB")) {
        qputenv("QT_NO_GLIB", "1");
    }
}

} // namespace

QtPlatform::QtPlatform(int& argc, char** argv) {
    chooseEventLoop();
    application_ = std::make_unique<QApplication>(argc, argv);
    configureApplication();
}

QtPlatform::~QtPlatform() = default;

void configureApplication() {
    QApplication::setApplicationName(QStringLiteral("Lumora"));
    QApplication::setApplicationVersion(QStringLiteral(LUMORA_DISPLAY_VERSION));
    QApplication::setOrganizationDomain(QStringLiteral("lumora.example"));
    QApplication::setDesktopFileName(QStringLiteral("lumora"));
    // One style everywhere, so that the design's colours look the same on every desktop.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    // The sizes a title bar, a task bar and a task switcher draw, up to twice their size on
    // high-DPI screens. The larger ones come from the installed icon theme by the desktop file
    // name; on X11 every size given here goes to the server with the window before it maps, and
    // 128 and 256 made start-up a sixth slower.
    QIcon icon;
    for (const int size : {16, 32, 64}) {
        icon.addPixmap(QPixmap::fromImage(iconImage(size)));
    }
    QApplication::setWindowIcon(icon);
    QAccessible::installFactory(&qt::PictureBox::accessibleInterface);
}

} // namespace lumora
