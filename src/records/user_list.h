#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QStringView>

#include <vector>

namespace velmora {

// The user list's file in the program folder.
inline constexpr QStringView UserListFileName = u"yonghu.dat";

// The names of a user list, each as the GBK bytes read from the file, in file
// order. Fields are read as items are: blanks before a field are skipped, a
// quoted field runs to the next double quote, any other field runs to the next
// comma or the line end and loses its trailing blanks; an empty line gives an
// empty name. The list has no size limit.
using UserNames = std::vector<QByteArray>;

UserNames readUserNames(QByteArrayView content);

// Each name as its bytes followed by CR LF.
bool writeUserNames(QIODevice &device, const UserNames &names);

} // namespace velmora
