#pragma once

#include <QString>

namespace velmora {

// Why a name cannot be a user of the program: each user's records live in a
// file named after the user in the program folder, so the name must be safe
// as a file name on every system the program runs on, and must survive the
// user list's line format.
enum class UserNameProblem {
    None,
    Empty,             // nothing but blanks
    OuterBlanks,       // blanks before or after the name would be lost
    PathCharacter,     // / \ : * ? " < > | or a comma
    ControlCharacter,
    DotName,           // "." or "..", or a name ending in a dot
    ReservedName,      // CON, NUL, COM1 ... (device names on Windows)
    NotGbk,            // a character the files' code page cannot hold
    TooLong,           // more than 100 bytes in GBK
    UserListName,      // its record file would be the user list itself
};

UserNameProblem checkUserName(const QString &name);

inline bool isSafeUserName(const QString &name) { return checkUserName(name) == UserNameProblem::None; }

} // namespace velmora
