#pragma once

// 记录血压…: a small dialog for home blood pressure readings, taken in pairs a
// minute apart, so it stays open for the next one after each is stored.
// Tests script what is typed.

#include "diary/diary.h"
#include "diary/seams.h"

#include <functional>

class QWidget;

namespace velmora {

class Form1;

class BpReadingDialog
{
public:
    // Offers a typed reading; true when it was stored.
    using Store = std::function<bool(const Diary::TypedReading &typed)>;

    virtual ~BpReadingDialog() = default;
    // Asks for readings until the person closes the dialog. The time offered,
    // and the latest one allowed, is the clock's minute when the dialog opens
    // and after each reading stored.
    virtual void ask(const Clock &clock, const Store &store) = 0;
};

// A modal dialog with whole-number filters on the values. A reading that is
// refused leaves what was typed, to be corrected; one that is stored empties
// the boxes and says what was stored.
class QtBpReadingDialog : public BpReadingDialog
{
public:
    explicit QtBpReadingDialog(QWidget *parent = nullptr) : m_parent(parent) {}
    void ask(const Clock &clock, const Store &store) override;

private:
    QWidget *m_parent;
};

// "已存储 07:30 138/88 mmHg，脉搏 72": what the dialog says of a stored
// reading (the date too when it was not taken today).
QString storedReadingText(const Diary::TypedReading &typed, const QDate &today);

// 记录血压… of the window: readings from the dialog stored for the current
// user, each a change of the diary that undo takes back.
void recordBloodPressure(Form1 &window, BpReadingDialog &dialog);

} // namespace velmora
