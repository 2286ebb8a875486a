#include "ui/fonts.h"

#include <QApplication>
#include <QFont>

namespace velmora {

void installFonts()
{
    // The first installed of each list is used; listing them costs nothing at
    // start-up, unlike enumerating the font database.
    QFont::insertSubstitutions(QStringLiteral("宋体"), {QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
                                                       QStringLiteral("Songti SC"), QStringLiteral("AR PL UMing CN")});
    // The whole window is in 宋体 9 pt, as the program's window design has it on
    // Chinese systems: one CJK face for every text, which keeps start-up lean.
    QFont font;
    font.setFamily(QStringLiteral("宋体"));
    font.setPointSize(9);
    QApplication::setFont(font);
}

} // namespace velmora
