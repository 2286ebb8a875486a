// The program's own start-up, as in main(), with the program folder given as
// the first argument; it ends once the main window has been painted, or, with
// "--until-backup" as the second argument, once the day's backup that follows
// the first paint has been tried.

#include "probe_common.h"
#include "app/program.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    velmora::prepareApplication();
    velmora::QtMessageBoxes messageBoxes;
    velmora::DataFolder folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QApplication::applicationDirPath());
    velmora::Program program(folder, messageBoxes, velmora::systemClock);
    velmora::Form1 &form1 = program.window();
    if (!form1.load())
        return 1;
    QuitAfterFirstPaint quit;
    if (argc > 2 && qstrcmp(argv[2], "--until-backup") == 0)
        QObject::connect(&program.backups(), &velmora::BackupMenu::dailyBackupTried, [] { quitWithPeakMemory(); });
    else
        form1.installEventFilter(&quit);
    form1.show();
    return QApplication::exec();
}
