#pragma once

#include <memory>

class QApplication;

namespace lumora {

// The Qt application the window lives in: one per process, created before any widget.
class QtPlatform {
public:
    // Qt's own options (-platform, -style, ...) are taken from the command line; the program
    // itself reads nothing from it.
    QtPlatform(int& argc, char** argv);
    ~QtPlatform();
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

private:
    std::unique_ptr<QApplication> application_;
};

// Names, version, icon and style of the program, for an application object made elsewhere
// (tests make their own).
void configureApplication();

} // namespace lumora
