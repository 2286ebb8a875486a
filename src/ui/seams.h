#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

class QWidget;

namespace velmora {

// Message boxes: an OK box, or a Yes/No question. Tests script the answers.
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    virtual void inform(const QString &text) = 0;
    virtual bool ask(const QString &question) = 0; // true for Yes
};

// Modal boxes titled "Velmora", without an icon.
class QtMessageBoxes : public MessageBoxes
{
public:
    explicit QtMessageBoxes(QWidget *parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget *parent) { m_parent = parent; }
    void inform(const QString &text) override;
    bool ask(const QString &question) override;

private:
    QWidget *m_parent;
};

// The local date and time, to the second.
using Clock = std::function<QDateTime()>;
inline QDateTime systemClock() { return QDateTime::currentDateTime(); }

} // namespace velmora
