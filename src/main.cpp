// Dornel's Tilloran: starts the game window. A stock that cannot be loaded ends the program
// with a non-zero exit code before the window is ever shown.
#include "game/ui/main_window.h"
#include "platform/qt/qt_platform.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("Dornel's Tilloran");
    tl::QtPlatform platform;
    tl::Platform services = platform.platform();
    tl::Main window(services);
    platform.setDialogParent(&window);
    if (!window.Form_Load())
        return 1;
    return app.exec();
}
