// Reads any bytes as a backup, as a restore does before anything changes:
// nothing crashes, a refusal says why, and whatever the check lets through is
// safe to write: a name a user's file could have (never a path), content
// whose size and SHA-256 are the manifest's, a count the program's reader
// finds. The same bytes read as a manifest come back from its own text.

#include "backup/backup_check.h"
#include "fuzz_support.h"

#include <QBuffer>

using namespace velmora;
using namespace velmora::fuzz;

namespace {

void checkManifestText(QByteArrayView text)
{
    QString why;
    const std::optional<Manifest> manifest = readManifest(text, &why);
    FUZZ_CHECK(manifest || !why.isEmpty(), "a manifest refused without a reason");
    if (manifest) {
        const std::optional<Manifest> again = readManifest(manifestText(*manifest), &why);
        FUZZ_CHECK(again && *again == *manifest, "a manifest differs once written again: " + why.toUtf8());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    checkManifestText(bytesOf(data, size));
    QBuffer device;
    device.setData(bytesOf(data, size).toByteArray());
    device.open(QIODevice::ReadOnly);
    const BackupCheck check = checkBackup(device);
    if (!check.refusal.isEmpty()) {
        FUZZ_CHECK(check.files.empty() && check.damaged.empty(), "a refused backup offers files");
        return 0;
    }
    FUZZ_CHECK(check.find(QStringLiteral("yonghu.dat")), "a backup offered without its user list");
    for (const CheckedFile &file : check.files) {
        const QByteArray name = file.file.name.toUtf8();
        FUZZ_CHECK(diaryFileNamed(file.file.name) == file.file, "an offered file no user could have: " + name);
        FUZZ_CHECK(!name.contains('/') && !name.contains('\\') && !name.contains(':'), "a path offered: " + name);
        const ManifestEntry *entry = check.manifest.find(file.file.name);
        FUZZ_CHECK(entry, "an offered file the manifest lacks: " + name);
        FUZZ_CHECK(entry->size == file.content.size() && entry->sha256 == sha256Hex(file.content),
                   "an offered file unlike the manifest: " + name);
        FUZZ_CHECK(entry->count == countEntries(file.file.kind, file.content), "an offered file miscounted: " + name);
        FUZZ_CHECK(file.file.isUserList() || check.users().contains(file.file.user), "a file of nobody offered: " + name);
    }
    return 0;
}
