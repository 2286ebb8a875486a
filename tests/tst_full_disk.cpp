// Saves on a disk that fills up: the system's write and fsync are replaced in
// this program, so that every write into the test's folder fails the way a
// full disk makes it fail (ENOSPC), or the sync does (EIO, as on network
// shares and on a USB stick pulled out) - also for writes the toolkit keeps
// in its buffer until the end; and its open, so that files cannot be made
// there, as on a read-only disk (EROFS).

#include "backup/backup_archive.h"
#include "records/file_errors.h"
#include "records/text_file.h"
#include "test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <climits>
#include <cstring>

namespace {

enum class Failing { Nothing, Writes, Syncs, Opens };
Failing g_failing = Failing::Nothing;
char g_folder[PATH_MAX];

bool inFullFolder(int fd)
{
    if (g_failing == Failing::Nothing)
        return false;
    char link[64];
    char target[PATH_MAX];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, target, sizeof target - 1);
    if (length <= 0)
        return false;
    target[length] = '\0';
    return std::strncmp(target, g_folder, std::strlen(g_folder)) == 0;
}

} // namespace

extern "C" ssize_t write(int fd, const void *data, size_t size)
{
    static const auto real = reinterpret_cast<ssize_t (*)(int, const void *, size_t)>(dlsym(RTLD_NEXT, "write"));
    if (g_failing == Failing::Writes && inFullFolder(fd)) {
        errno = ENOSPC;
        return -1;
    }
    return real(fd, data, size);
}

extern "C" int open64(const char *path, int flags, ...)
{
    static const auto real = reinterpret_cast<int (*)(const char *, int, ...)>(dlsym(RTLD_NEXT, "open64"));
    mode_t mode = 0;
    if (flags & O_CREAT) {
        va_list arguments;
        va_start(arguments, flags);
        mode = va_arg(arguments, mode_t);
        va_end(arguments);
    }
    if (g_failing == Failing::Opens && (flags & (O_WRONLY | O_RDWR)) && std::strncmp(path, g_folder, std::strlen(g_folder)) == 0) {
        errno = EROFS;
        return -1;
    }
    return real(path, flags, mode);
}

extern "C" int fsync(int fd)
{
    static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    if (g_failing == Failing::Syncs && inFullFolder(fd)) {
        errno = EIO;
        return -1;
    }
    return real(fd);
}

using namespace velmora;

namespace {

void failIn(const QString &folder, Failing failing)
{
    qstrncpy(g_folder, QFile::encodeName(folder).constData(), sizeof g_folder);
    g_failing = failing;
}

} // namespace

class FullDiskTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { g_failing = Failing::Nothing; }

    void failedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<int>("failing");
        QTest::addColumn<int>("newSize");
        QTest::addColumn<QString>("reason");
        const QString diskFull = reasons::diskFull();
        // Under the toolkit's buffer of 16 KiB the writes fail only when flushed.
        QTest::newRow("full, small file") << int(Failing::Writes) << 455 << diskFull;
        QTest::newRow("full, large file") << int(Failing::Writes) << 100000 << diskFull;
        QTest::newRow("sync fails, small file") << int(Failing::Syncs) << 455 << QStringLiteral("写入文件时出错");
    }

    void failedSaveKeepsTheOldFile()
    {
        QFETCH(int, failing);
        QFETCH(int, newSize);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = QDir(dir.path()).filePath(QStringLiteral("Ann.dat"));
        const QByteArray old(300, 'o');
        QVERIFY(test::writeBytes(path, old));
        failIn(dir.path(), Failing(failing));
        const FileResult saved =
            saveFile(path, [&](QIODevice &device) { return writeAll(device, QByteArray(newSize, 'n')); });
        g_failing = Failing::Nothing;
        QVERIFY(!saved.ok);
        QVERIFY2(saved.error.startsWith(reason), qPrintable(saved.error));
        QCOMPARE(test::readBytes(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Ann.dat")});
    }

    // A backup onto a full disk, a stick pulled out during the write, a
    // read-only disk: no file that looks like a backup is left, and the
    // reason is given.
    void aFailedBackupLeavesNoBackup_data()
    {
        QTest::addColumn<int>("failing");
        QTest::addColumn<QString>("reason");
        QTest::newRow("full disk") << int(Failing::Writes) << reasons::diskFull();
        QTest::newRow("stick pulled out") << int(Failing::Syncs) << QStringLiteral("写入文件时出错");
        QTest::newRow("read-only disk") << int(Failing::Opens) << QStringLiteral("没有权限打开文件");
    }

    void aFailedBackupLeavesNoBackup()
    {
        QFETCH(int, failing);
        QFETCH(QString, reason);
        QTemporaryDir diary;
        QVERIFY(test::writeBytes(QDir(diary.path()).filePath(QStringLiteral("yonghu.dat")), test::g(u"张三\r\n")));
        QVERIFY(test::writeBytes(QDir(diary.path()).filePath(QStringLiteral("张三.dat")), QByteArray(3000, 'x')));
        const std::optional<Backup> backup = makeBackup(DataFolder(diary.path()), QDateTime(QDate(2026, 12, 8), QTime(9, 30)), nullptr);
        QVERIFY(backup);
        QTemporaryDir stick;
        failIn(stick.path(), Failing(failing));
        const FileResult written = writeBackup(QDir(stick.path()).filePath(QStringLiteral("Velmora备份-张三-2026年12月08日.zip")), *backup);
        g_failing = Failing::Nothing;
        QVERIFY(!written.ok);
        QVERIFY2(written.error.startsWith(reason), qPrintable(written.error));
        QCOMPARE(QDir(stick.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
};

QTEST_GUILESS_MAIN(FullDiskTest)
#include "tst_full_disk.moc"
