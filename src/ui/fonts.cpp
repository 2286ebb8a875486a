#include "fonts.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace velmora {

void installFonts()
{
    const QStringList families = QFontDatabase::families();
    const auto firstInstalled = [&](const QStringList &candidates) {
        for (const QString &family : candidates)
            if (families.contains(family))
                return family;
        return QString();
    };
    const QString serif = firstInstalled({QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                                          QStringLiteral("Songti SC"), QStringLiteral("AR PL UMing CN")});
    if (!serif.isEmpty() && serif != QStringLiteral("SimSun"))
        QFont::insertSubstitution(QStringLiteral("宋体"), serif);
    const QString sans = firstInstalled({QStringLiteral("Microsoft YaHei"), QStringLiteral("Noto Sans CJK SC"),
                                         QStringLiteral("PingFang SC"), QStringLiteral("WenQuanYi Micro Hei")});
    if (!sans.isEmpty())
        QApplication::setFont(QFont(sans, 9));
}

} // namespace velmora
