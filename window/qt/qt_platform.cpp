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
    // Every size, so that a high-DPI title bar or task bar picks a sharp one.
    QIcon icon;
    for (const int size : iconSizes) {
        icon.addPixmap(QPixmap::fromImage(iconImage(size)));
    }
    QApplication::setWindowIcon(icon);
    QAccessible::installFactory(&PictureBox::accessibleInterface);
}

} // namespace lumora
