#include "process_entry.h"
#include "qt_platform.h"
#include "qt_toolkit.h"

int main(int argc, char** argv) {
    lumora::QtPlatform platform(argc, argv);
    lumora::qt::QtToolkit ui;
    return lumora::runLumora(ui);
}
