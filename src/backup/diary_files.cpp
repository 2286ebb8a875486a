#include "backup/diary_files.h"

#include "medicines/medicine_file.h"
#include "readings/bp_file.h"
#include "records/cvd_answers.h"
#include "records/gbk.h"
#include "records/record_file.h"
#include "records/user_name.h"

#include <array>

namespace velmora {

namespace {

qsizetype countAnswers(QByteArrayView content)
{
    const CvdAnswers answers = readCvdAnswers(content);
    return qsizetype(answers.smokes.has_value()) + qsizetype(answers.diabetes.has_value())
           + qsizetype(answers.hadHeartAttackOrStroke.has_value());
}

struct Reader
{
    std::optional<UserFile> kind;
    const char16_t *unit;
    qsizetype (*count)(QByteArrayView content);
};

// Every kind of file of the diary with its reader: a new kind adds a row.
const std::array<Reader, 5> Readers = {{
    {std::nullopt, u"位用户", [](QByteArrayView c) { return qsizetype(readUserNames(c).size()); }},
    {UserFile::Records, u"条记录", [](QByteArrayView c) { return qsizetype(countRecords(c)); }},
    {UserFile::CvdAnswers, u"项回答", countAnswers},
    {UserFile::BloodPressure, u"次血压读数", [](QByteArrayView c) { return qsizetype(readBpFile(c).entries.size()); }},
    {UserFile::Medicines, u"条用药记录", [](QByteArrayView c) { return qsizetype(readMedicineFile(c).entries.size()); }},
}};

const Reader &readerOf(const std::optional<UserFile> &kind)
{
    for (const Reader &reader : Readers)
        if (reader.kind == kind)
            return reader;
    return Readers[0];
}

} // namespace

std::optional<DiaryFile> diaryFileNamed(const QString &name)
{
    if (name == UserListFileName)
        return DiaryFile{name, QString(), std::nullopt};
    for (const UserFile kind : AllUserFiles) {
        const QString suffix = userFileSuffix(kind);
        if (!name.endsWith(suffix))
            continue;
        const QString user = name.chopped(suffix.size());
        if (isSafeUserName(user))
            return DiaryFile{name, user, kind};
    }
    return std::nullopt;
}

QStringList fileUsers(const UserNames &names)
{
    QStringList users;
    for (const QByteArray &bytes : names) {
        const QString user = decodeGbk(bytes);
        if (isSafeUserName(user) && !users.contains(user))
            users << user;
    }
    return users;
}

std::vector<DiaryFile> diaryFiles(const DataFolder &folder, const UserNames &names)
{
    std::vector<DiaryFile> files{{UserListFileName.toString(), QString(), std::nullopt}};
    for (const QString &user : fileUsers(names)) {
        for (const UserFile kind : AllUserFiles) {
            if (fileExists(folder.userFilePath(user, kind)))
                files.push_back({user + userFileSuffix(kind), user, kind});
        }
    }
    return files;
}

qsizetype countEntries(const std::optional<UserFile> &kind, QByteArrayView content)
{
    return readerOf(kind).count(content);
}

QString entryUnit(const std::optional<UserFile> &kind)
{
    return QString::fromUtf16(readerOf(kind).unit);
}

} // namespace velmora
