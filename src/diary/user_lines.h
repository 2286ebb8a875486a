#pragma once

// The diary's copy of one of a user's files of dated entries (home blood
// pressure readings, medicines), read again only when the file has changed.

#include "diary/messages.h"
#include "diary/seams.h"
#include "records/data_folder.h"
#include "records/line_file.h"

#include <QFileInfo>

namespace velmora {

template <typename Entry>
class UserLines
{
public:
    // The user's file as it is now, parsed by `read(bytes)`; nothing when it
    // cannot be read (a message has said why). Lines that cannot be read are
    // counted in a message, once for each count.
    template <typename Read>
    const LineFile<Entry> *load(const DataFolder &folder, MessageBoxes &messages, const QString &user, UserFile which,
                                Read read)
    {
        if (user.isEmpty())
            return nullptr;
        QString error;
        bool absent = false;
        const std::optional<QByteArray> content = folder.readUserFile(user, which, &error, &absent);
        if (!content) {
            messages.inform(messages::readFailed(error));
            return nullptr;
        }
        const FileFingerprint fingerprint = absent ? FileFingerprint{} : FileFingerprint::of(*content);
        if (m_user != user) {
            *this = {};
            m_user = user;
        }
        if (!m_loaded || m_fingerprint != fingerprint) {
            m_file = read(*content);
            m_fingerprint = fingerprint;
            m_loaded = true;
        }
        const qsizetype unreadable = qsizetype(m_file.kept.size());
        if (unreadable > 0 && unreadable != m_toldUnreadable)
            messages.inform(messages::unreadableLines(QFileInfo(folder.userFilePath(user, which)).fileName(), unreadable));
        m_toldUnreadable = unreadable;
        return &m_file;
    }

    // What load() last read: the bytes a rewrite must still find.
    const FileFingerprint &fingerprint() const { return m_fingerprint; }

    // The file moved out rather than copied (a phone's import makes files of
    // many readings); the next load reads it again unless keep() is given the
    // file a save has written.
    LineFile<Entry> take()
    {
        m_loaded = false;
        return std::move(m_file);
    }

    // The file as a save has just written it.
    void keep(const QString &user, const FileFingerprint &written, LineFile<Entry> file)
    {
        m_user = user;
        m_fingerprint = written;
        m_file = std::move(file);
        m_loaded = true;
    }

private:
    QString m_user;
    FileFingerprint m_fingerprint;
    bool m_loaded = false;
    LineFile<Entry> m_file;
    qsizetype m_toldUnreadable = 0; // the count of unreadable lines a message has named
};

} // namespace velmora
