#include "ui/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace velmora {

bool installQtTranslation()
{
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    // qtbase holds every text of the modules the program uses; qt_zh_CN.qm
    // would only be a catalogue that loads it.
    const QString name = QStringLiteral("qtbase_zh_CN.qm");
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(name, QStringLiteral(":/translations"))
        && !translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace velmora
