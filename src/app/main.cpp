#include "app/program.h"
#include "diary/messages.h"
#include "records/program_folder.h"

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    velmora::prepareApplication();

    velmora::QtMessageBoxes messageBoxes;
    QString error;
    const auto folder = velmora::chooseProgramFolder(
        QApplication::applicationDirPath(), QStandardPaths::writableLocation(QStandardPaths::AppDataLocation), &error);
    if (!folder) {
        messageBoxes.inform(velmora::messages::noDataFolder(error));
        return 1;
    }

    velmora::DataFolder dataFolder(*folder);
    velmora::Program program(dataFolder, messageBoxes, velmora::systemClock);
    velmora::Form1 &form1 = program.window();
    if (!form1.load())
        return 1;
    QObject::connect(&form1, &velmora::Form1::exitRequested, &app, &QApplication::quit);
    form1.show();
    return QApplication::exec();
}
