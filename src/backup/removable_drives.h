#pragma once

// The drives a backup is offered to, removable ones (USB sticks, memory
// cards) first, as far as the system tells them apart: on Windows by the
// drive's type, elsewhere by what the system says about the mounted volume.

#include <QString>

#include <vector>

namespace velmora {

struct Drive
{
    QString root;  // "E:/", "/media/anna/STICK"
    QString name;  // the volume's label, when it has one
    bool removable = false;

    bool operator==(const Drive &) const = default;
};

// Drives that are ready and can be written: on Windows every local and
// network drive but CD and DVD drives, elsewhere the removable ones only
// (the rest of the file system is reached from the home folder). Removable
// ones first, each group in the system's order.
std::vector<Drive> backupDrives();

// Puts removable drives first, keeping the order within each group.
void putRemovableFirst(std::vector<Drive> &drives);

// Whether a volume mounted at `root` from `device` is removable on Linux:
// the kernel marks its disk removable (the flag `removable` of the block
// device, given here, or of the disk it is a partition of), or the desktop
// mounted it where it mounts what is plugged in (/media, /run/media).
bool isRemovableMount(const QString &root, bool kernelSaysRemovable);

} // namespace velmora
