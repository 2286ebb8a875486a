#include "fonts.h"

#include <QApplication>
#include <QFont>

namespace velmora {

void installFonts()
{
    // The first installed of each list is used; listing them costs nothing at
    // start-up, unlike enumerating the font database.
    QFont::insertSubstitutions(QStringLiteral("宋体"), {QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                                                       QStringLiteral("Songti SC"), QStringLiteral("AR PL UMing CN")});
    QFont font;
    font.setFamilies({QStringLiteral("Microsoft YaHei"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("PingFang SC"), QStringLiteral("WenQuanYi Micro Hei")});
    font.setPointSize(9);
    QApplication::setFont(font);
}

} // namespace velmora
