// The restore's changes made all together or not at all (restore_plan.h).

#include "backup/restore_plan.h"

#include "records/file_errors.h"

namespace velmora {

namespace {

struct Step
{
    const FileChange *change;
    QString staged; // the new content under a temporary name
    QString aside;  // the old file under a temporary name
    bool placed = false;
};

// Takes back every step: new files go, old files return.
void putBack(const DataFolder &folder, std::vector<Step> &steps)
{
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        if (step->placed)
            removeFile(step->change->path);
        else if (!step->staged.isEmpty())
            removeFile(step->staged);
        if (!step->aside.isEmpty())
            folder.moveFile(step->aside, step->change->path);
    }
}

// Puts the new file in the old one's place, the old one aside.
FileResult swap(const DataFolder &folder, Step &step)
{
    const QString &path = step.change->path;
    QString error;
    bool absent = false;
    const std::optional<QByteArray> now = folder.currentContent(path, &error, &absent);
    if (!now)
        return FileResult::failure(error);
    if ((absent ? FileFingerprint{} : FileFingerprint::of(*now)) != step.change->found) {
        FileResult changed = FileResult::failure(QStringLiteral("文件在读取之后被改动过：%1").arg(path));
        changed.changedOutside = true;
        return changed;
    }
    if (!absent) {
        const QString aside = freeTemporaryNameBeside(path);
        if (!folder.moveFile(path, aside))
            return FileResult::failure(writeFailureReason(QFileDevice::RenameError, path));
        step.aside = aside;
    }
    if (!step.staged.isEmpty()) {
        if (!folder.moveFile(step.staged, path))
            return FileResult::failure(writeFailureReason(QFileDevice::RenameError, path));
        step.placed = true;
    }
    return {};
}

} // namespace

FileResult applyRestore(const DataFolder &folder, const std::vector<FileChange> &changes)
{
    std::vector<Step> steps;
    steps.reserve(changes.size());
    for (const FileChange &change : changes) {
        Step step{&change, {}, {}};
        if (change.content) {
            step.staged = freeTemporaryNameBeside(change.path);
            const FileResult saved =
                folder.save(step.staged, [&](QIODevice &device) { return writeAll(device, *change.content); });
            if (!saved) {
                putBack(folder, steps);
                return saved;
            }
        }
        steps.push_back(step);
    }
    for (Step &step : steps) {
        if (const FileResult swapped = swap(folder, step); !swapped) {
            putBack(folder, steps);
            return swapped;
        }
    }
    for (const Step &step : steps)
        if (!step.aside.isEmpty())
            removeFile(step.aside); // should this fail, the next start removes it
    return {};
}

} // namespace velmora
