#include "records/user_name.h"

#include "records/gbk.h"
#include "records/user_list.h"

#include <QStringList>

namespace velmora {

namespace {

constexpr int MaximumGbkBytes = 100;

bool isReservedDeviceName(const QString &name)
{
    static const QStringList reserved = {
        QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"), QStringLiteral("NUL"),
        QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3"), QStringLiteral("COM4"),
        QStringLiteral("COM5"), QStringLiteral("COM6"), QStringLiteral("COM7"), QStringLiteral("COM8"),
        QStringLiteral("COM9"), QStringLiteral("LPT1"), QStringLiteral("LPT2"), QStringLiteral("LPT3"),
        QStringLiteral("LPT4"), QStringLiteral("LPT5"), QStringLiteral("LPT6"), QStringLiteral("LPT7"),
        QStringLiteral("LPT8"), QStringLiteral("LPT9"),
    };
    const QString base = name.section(u'.', 0, 0).trimmed();
    return reserved.contains(base, Qt::CaseInsensitive);
}

} // namespace

UserNameProblem checkUserName(const QString &name)
{
    if (name.trimmed().isEmpty())
        return UserNameProblem::Empty;
    if (name.trimmed() != name)
        return UserNameProblem::OuterBlanks;
    for (QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c.category() == QChar::Other_Control)
            return UserNameProblem::ControlCharacter;
        if (QStringView(u"/\\:*?\"<>|,").contains(c))
            return UserNameProblem::PathCharacter;
    }
    if (name.endsWith(u'.'))
        return UserNameProblem::DotName;
    if (isReservedDeviceName(name))
        return UserNameProblem::ReservedName;
    // File names on Windows and macOS ignore case: "YongHu.dat" is the list too.
    if (QString(name + QStringLiteral(".dat")).compare(UserListFileName, Qt::CaseInsensitive) == 0)
        return UserNameProblem::UserListName;
    const auto bytes = encodeGbk(name);
    if (!bytes)
        return UserNameProblem::NotGbk;
    if (bytes->size() > MaximumGbkBytes)
        return UserNameProblem::TooLong;
    return UserNameProblem::None;
}

} // namespace velmora
