#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

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

} // namespace velmora
