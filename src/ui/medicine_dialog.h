#pragma once

#include "diary/diary.h"

#include <QDateTime>
#include <QStringList>

#include <functional>

class QWidget;

namespace velmora {

// The small dialog of one medicine event: the time, the name, the dose, how
// often and a note, as far as the event has them (停用: no dose, 单次: no
// frequency). Tests script what is typed.
class MedicineDialog
{
public:
    // Offers a typed event; true when it was stored and the dialog may close.
    using Store = std::function<bool(const Diary::TypedMedicine &typed)>;

    struct Offer
    {
        Diary::TypedMedicine initial; // its time is now, the latest the dialog offers
        QStringList names;            // what the name box offers, in order
    };

    virtual ~MedicineDialog() = default;
    // Asks until `store` takes an event or the person cancels.
    virtual void ask(const Offer &offer, const Store &store) = 0;
};

// "开始服用", "调整用药", "停用", "单次服用": the dialog's title for the action.
QString medicineDialogTitle(MedicineAction action);

// A modal dialog; Enter in any box presses 确定. An event that is refused
// leaves the dialog open with what was typed, to be corrected. A time changed
// by the person counts from the start of its minute.
class QtMedicineDialog : public MedicineDialog
{
public:
    explicit QtMedicineDialog(QWidget *parent = nullptr) : m_parent(parent) {}
    void ask(const Offer &offer, const Store &store) override;

private:
    QWidget *m_parent;
};

} // namespace velmora
