// The yardstick for start-up: a bare Qt window of the main window's size.

#include "probe_common.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(876, 599);
    QuitAfterFirstPaint quit;
    window.installEventFilter(&quit);
    window.show();
    return QApplication::exec();
}
