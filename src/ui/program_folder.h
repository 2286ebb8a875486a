#pragma once

#include <QString>

#include <optional>

namespace velmora {

// Where the program keeps its files: its own folder when it may write there,
// otherwise the per-user application data folder. An installed copy (one that
// stands beside its desktop entry under share/) always uses the per-user
// folder. Nothing when no folder can be written.
std::optional<QString> chooseProgramFolder(const QString &executableFolder, const QString &userDataFolder,
                                           QString *error);

bool isWritableFolder(const QString &folder);
bool isInstalledCopy(const QString &executableFolder);

} // namespace velmora
