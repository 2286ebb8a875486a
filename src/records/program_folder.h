#pragma once

#include <QString>

#include <optional>

namespace velmora {

// Where the program keeps its files: its own folder when it may write there,
// otherwise the per-user application data folder. An installed copy (one that
// stands beside its desktop entry under share/, or beside the marker file the
// Windows installer puts there) and a copy run from the build
// tree (the build writes a marker file beside it) always use the per-user
// folder: cleaning the build or updating the installation must not take the
// diary with it. Nothing when no folder can be written.
std::optional<QString> chooseProgramFolder(const QString &executableFolder, const QString &userDataFolder,
                                           QString *error);

bool isWritableFolder(const QString &folder);
bool isInstalledCopy(const QString &executableFolder);
bool isBuildTreeCopy(const QString &executableFolder);

// The marker file the build writes beside the program it builds.
inline constexpr char BuildTreeMarker[] = "velmora.build-tree";
// The marker file the Windows installer writes beside the program it installs.
inline constexpr char InstalledMarker[] = "velmora.installed";

} // namespace velmora
