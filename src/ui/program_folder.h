#pragma once

#include <QString>

#include <optional>

namespace velmora {

// Where the program keeps its files: its own folder when it may write there,
// otherwise (an installed copy) the per-user application data folder.
// Nothing when neither can be written.
std::optional<QString> chooseProgramFolder(const QString &executableFolder, const QString &userDataFolder,
                                           QString *error);

bool isWritableFolder(const QString &folder);

} // namespace velmora
