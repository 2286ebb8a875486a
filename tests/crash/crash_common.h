#pragma once

// What the crash writer writes and the crash checker expects: the folder's
// user list and one record file whose entries are fully determined by their
// position, so any state of the file can be compared byte for byte.

#include "records/health_record.h"
#include "records/item.h"
#include "records/record_file.h"
#include "records/user_list.h"

#include <QByteArray>
#include <QString>

namespace velmora::crash {

// The user whose record file is rewritten again and again.
inline QString recordUser() { return QStringLiteral("crash"); }

// The user list as it stands between two saves: two GBK names and the record user.
inline UserNames baseUserNames()
{
    return {QByteArray("\xD5\xC5\xC8\xFD"), // 张三
            QByteArray("\xC0\xEE\xCB\xC4"), // 李四
            QByteArray("crash")};
}

// The name added to and removed from the list in every round.
inline QByteArray scratchName() { return QByteArray("scratch"); }

inline UserNames extendedUserNames()
{
    UserNames names = baseUserNames();
    names.push_back(scratchName());
    return names;
}

// The bytes of a user list as a save writes them: each name and CR LF.
inline QByteArray userListBytes(const UserNames &names)
{
    QByteArray out;
    for (const QByteArray &name : names)
        out += name + "\r\n";
    return out;
}

// Entry `index` of the record file.
inline HealthRecord crashRecord(int index)
{
    HealthRecord r;
    r[RecordIdField] = Item::fromNumber(20200101000000.0 + index);
    r[SexField] = Item::fromTextBytes(index % 2 ? QByteArray("\xC4\xD0") : QByteArray("\xC5\xAE")); // 男 / 女
    r[AgeField] = Item::fromNumber(30 + index % 50);
    r[HeightField] = Item::fromNumber(150 + index % 40);
    r[WeightField] = Item::fromNumber(50 + (index % 300) / 10.0);
    r[TriglyceridesField] = Item::fromNumber(1.2);
    r[SystolicField] = Item::fromNumber(110 + index % 60);
    r[DiastolicField] = Item::fromNumber(70 + index % 30);
    r[BloodSugarField] = Item::fromNumber(5.1);
    r[SmokingField] = Item::fromNumber(index % 3);
    r[DrinkingField] = Item::fromNumber(0);
    r[CholesterolField] = Item::fromNumber(4.5);
    r[WaistField] = Item::fromNumber(70 + index % 25);
    r[HeredityField] = Item::fromTextBytes(index % 5 ? QByteArray("\xCE\xDE") : QByteArray("\xD3\xD0")); // 无 / 有
    return r;
}

// The exact content of a record file holding entries 0 to count - 1.
inline QByteArray recordFileBytes(int count)
{
    QByteArray out;
    for (int i = 0; i < count; ++i)
        appendRecordLines(out, crashRecord(i));
    return out;
}

// The entries a fresh folder starts with.
constexpr int InitialEntries = 3;

} // namespace velmora::crash
