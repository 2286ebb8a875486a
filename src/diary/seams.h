#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace velmora {

// Message boxes: an OK box, or a Yes/No question. The window shows real ones;
// tests script the answers.
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    virtual void inform(const QString &text) = 0;
    virtual bool ask(const QString &question) = 0; // true for Yes
};

// The local date and time, to the second.
using Clock = std::function<QDateTime()>;
inline QDateTime systemClock() { return QDateTime::currentDateTime(); }

// How a restore is to go, asked after its summary: the whole diary replaced
// by the backup, or only the chosen users brought back. Tests script it.
struct RestoreRequest
{
    bool wholeDiary = false;
    QStringList users;

    bool operator==(const RestoreRequest &) const = default;
};

class RestoreChoice
{
public:
    virtual ~RestoreChoice() = default;
    // The summary, the backup's users, and whether the whole diary may be
    // replaced (a backup with damaged files only offers users); nothing when
    // the person cancels.
    virtual std::optional<RestoreRequest> choose(const QString &summary, const QStringList &users,
                                                 bool wholeDiaryOffered) = 0;
};

} // namespace velmora
