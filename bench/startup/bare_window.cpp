// The yardstick for start-up: a bare Qt window of the main window's size
// showing one line of Chinese text (so it too loads a CJK font).

#include "probe_common.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(876, 599);
    auto *line = new QLabel(QStringLiteral("心脑血管健康日记"), &window);
    line->move(20, 20);
    QuitAfterFirstPaint quit;
    window.installEventFilter(&quit);
    window.show();
    return QApplication::exec();
}
