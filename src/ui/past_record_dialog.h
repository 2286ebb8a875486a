#pragma once

#include "diary/entry.h"

#include <QDateTime>

#include <functional>

class QWidget;

namespace velmora {

// The dialog of a measurement taken earlier: a date and time and the thirteen
// values. Tests script what is typed.
class PastRecordDialog
{
public:
    // Offers a typed measurement; true when it was stored and the dialog may close.
    using Store = std::function<bool(const QDateTime &when, const EntryTexts &texts)>;

    virtual ~PastRecordDialog() = default;
    // Asks for measurements until `store` takes one or the person cancels.
    // `now` is the latest time the dialog offers.
    virtual void ask(const QDateTime &now, const Store &store) = 0;
};

// A modal dialog with the window's key filters on the values. A measurement
// that is refused leaves the dialog open with what was typed, to be corrected.
class QtPastRecordDialog : public PastRecordDialog
{
public:
    explicit QtPastRecordDialog(QWidget *parent = nullptr) : m_parent(parent) {}
    void ask(const QDateTime &now, const Store &store) override;

private:
    QWidget *m_parent;
};

} // namespace velmora
