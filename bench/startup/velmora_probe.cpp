// The program's own start-up, as in main(), with the program folder given as
// the first argument; it ends once the main window has been painted.

#include "fonts.h"
#include "form1.h"
#include "probe_common.h"
#include "seams.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    velmora::installFonts();
    velmora::QtMessageBoxes messageBoxes;
    velmora::DataFolder folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QApplication::applicationDirPath());
    velmora::Form1 form1(folder, messageBoxes, velmora::systemClock);
    if (!form1.load())
        return 1;
    QuitAfterFirstPaint quit;
    form1.installEventFilter(&quit);
    form1.show();
    return QApplication::exec();
}
