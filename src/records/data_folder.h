#pragma once

#include "records/cvd_answers.h"
#include "records/record_file.h"
#include "records/text_file.h"
#include "records/user_list.h"

#include <QString>

#include <array>
#include <optional>

namespace velmora {

// The files each user has beside the user list, named after the user: the
// records ("<name>.dat"), the answers of the ten-year risk (".cvd"), the home
// blood pressure readings (".bp") and the medicines (".med"). Only the record
// file ends in ".dat"; every other ending has a dot among its last six
// characters, so none of them is ever taken for a temporary save.
enum class UserFile { Records, CvdAnswers, BloodPressure, Medicines };
inline constexpr std::array<UserFile, 4> AllUserFiles = {UserFile::Records, UserFile::CvdAnswers,
                                                         UserFile::BloodPressure, UserFile::Medicines};
QString userFileSuffix(UserFile file); // ".dat", ".cvd", ".bp", ".med"

// What a rewrite replaced: the bytes the file held, or nothing when there was no file.
using FormerContent = std::optional<QByteArray>;

// The program folder with the user list and one record file per user. Every
// file the program writes goes through save() and every file it reads through
// read(), which tests replace to inject failures.
//
// A record file is reached only through a user name that is safe as a file
// name (see user_name.h): the operations below refuse any other, so no name
// can lead outside the folder or onto the user list.
class DataFolder
{
public:
    explicit DataFolder(QString folder);
    virtual ~DataFolder() = default;

    const QString &folder() const { return m_folder; }
    QString userListPath() const;
    QString RecordFilePath(const QString &user) const;
    QString userFilePath(const QString &user, UserFile file) const;
    // False for a name that is not safe as a file name.
    bool RecordFileExists(const QString &user) const;

    // Creates an empty user list when there is none.
    FileResult ensureUserList() const;
    // Removes what saves cut short by a crash left beside their files; no
    // other file is touched.
    int removeLeftoverSaves() const;
    std::optional<UserNames> loadUserNames(QString *error) const;
    // Rewrites the list with the name added last.
    FileResult appendUserName(const QByteArray &name) const;
    // Rewrites the list without any copy of the name; other names keep their bytes.
    FileResult removeUserName(const QByteArray &name) const;

    // Creates an empty record file unless one exists already (its records are kept).
    FileResult createRecordFileIfMissing(const QString &user) const;
    // Lists a new user with a record file, or changes nothing: an existing
    // file keeps its records, and a file made here goes again when the list
    // cannot be rewritten.
    FileResult addUser(const QString &user) const;
    // Unlists the user and removes every file of the user, or changes
    // nothing: a file that cannot be removed leaves the list and the other
    // files as they were.
    FileResult deleteUser(const QString &user) const;

    // The user's answers for the ten-year risk (cvd_answers.h), in
    // "<name>.cvd": never a record file or the user list (those end in
    // ".dat"), never a temporary save (a dot among its last six characters).
    QString cvdAnswersPath(const QString &user) const;
    // No file: nothing answered. Nothing when the file cannot be read.
    std::optional<CvdAnswers> loadCvdAnswers(const QString &user, QString *error) const;
    FileResult saveCvdAnswers(const QString &user, const CvdAnswers &answers) const;

    ReadResult readRecordFile(const QString &user, RecordTable &table, const EntryHook &hook = {}) const;
    // Rewrites the record file, but only while it still holds the bytes it held
    // when it was read (`readAs`); otherwise nothing is written and the result
    // says changedOutside. `replaced`, when given, receives the bytes the file
    // held before a rewrite that worked (what an undo puts back).
    FileResult RewriteRecordFile(const QString &user, const FileFingerprint &readAs, const RecordTable &table,
                                 int count, RewriteMode mode, const HealthRecord *appended = nullptr,
                                 QByteArray *replaced = nullptr) const;
    // Puts earlier bytes back into the record file, on the same condition.
    FileResult restoreRecordFile(const QString &user, const FileFingerprint &readAs, const QByteArray &content) const;

    // One of the user's files other than the records, whole. A file that is
    // not there reads as empty content with `absent` set; its fingerprint is
    // FileFingerprint{} (what a rewrite then expects).
    std::optional<QByteArray> readUserFile(const QString &user, UserFile file, QString *error,
                                           bool *absent = nullptr) const;
    // Rewrites one of the user's files, but only while it still holds the
    // bytes it held when read (or, read as absent, while there is still no
    // file); `replaced` receives what the rewrite replaced.
    FileResult rewriteUserFile(const QString &user, UserFile file, const FileFingerprint &readAs,
                               const ContentWriter &write, FormerContent *replaced = nullptr) const;
    // Puts earlier content back into one of the user's files, on the same
    // condition; nothing as the content removes the file.
    FileResult restoreUserFile(const QString &user, UserFile file, const FileFingerprint &readAs,
                               const FormerContent &content) const;

    // Atomic rewrite of one file of the folder.
    virtual FileResult save(const QString &path, const ContentWriter &write) const;
    // The whole content of one file of the folder, or nothing when it cannot be read.
    virtual std::optional<QByteArray> read(const QString &path, QString *error) const;
    // Gives a file of the folder another name (never over an existing file).
    virtual bool moveFile(const QString &from, const QString &to) const;

    // The content of a file of the folder now, read as readUserFile() reads
    // it (with `absent`, a file that is not there reads as empty content).
    std::optional<QByteArray> currentContent(const QString &path, QString *error, bool *absent) const;

private:
    FileResult refuseUnsafe(const QString &user) const;

    QString m_folder;
};

} // namespace velmora
