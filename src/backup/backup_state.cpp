#include "backup/backup_state.h"

#include "records/gbk.h"
#include "records/line_file.h"

namespace velmora {

namespace {

const QString SecondFolder = QStringLiteral("第二个备份文件夹");
const QString LastMade = QStringLiteral("最近一次自动备份");
const QString FailingSince = QStringLiteral("自动备份失败始于");
const QString Failure = QStringLiteral("失败原因");
const QString Told = QStringLiteral("已经提醒");
const QString DayFormat = QStringLiteral("yyyy-MM-dd");

} // namespace

BackupState readBackupState(QByteArrayView content)
{
    BackupState state;
    forEachLine(content, QByteArrayView(), [&](QByteArrayView line) {
        const QString text = decodeGbk(line);
        const qsizetype equals = text.indexOf(u'=');
        if (equals < 0)
            return;
        const QString key = text.left(equals).trimmed();
        const QString value = text.mid(equals + 1).trimmed();
        if (key == SecondFolder)
            state.secondFolder = value;
        else if (key == LastMade)
            state.lastMade = QDate::fromString(value, DayFormat);
        else if (key == FailingSince)
            state.failingSince = QDate::fromString(value, DayFormat);
        else if (key == Failure)
            state.failure = value;
        else if (key == Told)
            state.toldFailing = value == QStringLiteral("是");
    });
    return state;
}

std::optional<QByteArray> backupStateContent(const BackupState &state)
{
    const std::optional<QByteArray> folder = encodeGbk(state.secondFolder);
    if (!folder)
        return std::nullopt;
    QByteArray out;
    const auto line = [&](const QString &key, const QByteArray &value) {
        out += gbk(key) + '=' + value + "\r\n";
    };
    if (!state.secondFolder.isEmpty())
        line(SecondFolder, *folder);
    if (state.lastMade.isValid())
        line(LastMade, state.lastMade.toString(DayFormat).toLatin1());
    if (state.failingSince.isValid()) {
        line(FailingSince, state.failingSince.toString(DayFormat).toLatin1());
        line(Failure, encodeGbkLossy(QString(state.failure).replace(u'\n', u' ').replace(u'\r', u' ')));
        line(Told, gbk(state.toldFailing ? QStringLiteral("是") : QStringLiteral("否")));
    }
    return out;
}

} // namespace velmora
