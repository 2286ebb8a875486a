#pragma once

// What the window benchmarks share: a shown main window over a temporary
// program folder whose user "Ann" has a record file of a given size, with
// every question answered Yes.

#include "diary/seams.h"
#include "records/data_folder.h"
#include "records/record_file.h"
#include "ui/form1.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <memory>

namespace velmora::bench {

class AlwaysYes : public MessageBoxes
{
public:
    void inform(const QString &) override {}
    bool ask(const QString &) override { return true; }
};

// Entries a second apart from 2010, or a day apart from 1990 when dated.
inline QByteArray recordFile(int entries, bool daily = false)
{
    QByteArray out;
    const QDateTime firstDay(QDate(1990, 1, 1), QTime(8, 30));
    for (int i = 0; i < entries; ++i) {
        HealthRecord r;
        r[RecordIdField] = Item::fromText(daily ? firstDay.addDays(i).toString(QStringLiteral("yyyyMMddHHmmss"))
                                                : QString::number(20100101000000LL + i));
        r[SexField] = Item::fromText(i % 2 ? QStringLiteral("男") : QStringLiteral("女"));
        const double values[] = {40.0 + i % 30, 165, 60.0 + i % 25, 1.5, 120.0 + i % 40, 80, 5.5, 10, 5, 5.0, 80.0 + i % 15};
        for (int f = AgeField; f <= WaistField; ++f)
            r[Field(f)] = Item::fromNumber(values[f - AgeField]);
        r[HeredityField] = Item::fromText(i % 3 ? QStringLiteral("无") : QStringLiteral("有"));
        appendRecordLines(out, r);
    }
    return out;
}

// A shown main window whose confirmed user "Ann" has `entries` records.
struct BenchWindow
{
    QTemporaryDir dir;
    DataFolder folder{dir.path()};
    AlwaysYes messages;
    QByteArray records;
    std::unique_ptr<Form1> form;

    explicit BenchWindow(int entries, bool daily = false) : records(recordFile(entries, daily))
    {
        QFile list(folder.userListPath());
        list.open(QIODevice::WriteOnly);
        list.write("Ann\r\n");
        list.close();
        restoreRecords();
        form = std::make_unique<Form1>(folder, messages, [] { return QDateTime(QDate(2026, 1, 1), QTime(8, 0)); });
        form->load();
        form->show();
        auto *users = form->findChild<QComboBox *>(QStringLiteral("Combo2"));
        users->setEditText(QStringLiteral("Ann"));
        button("Command11")->click();
    }

    void restoreRecords()
    {
        QFile file(folder.RecordFilePath(QStringLiteral("Ann")));
        file.open(QIODevice::WriteOnly);
        file.write(records);
    }

    QPushButton *button(const char *name) const
    {
        return form->findChild<QPushButton *>(QString::fromLatin1(name));
    }

    void fillEntry() const
    {
        const char *values[] = {"45", "172.5", "70", "1.6", "130", "85", "5.8", "10", "5", "5.2", "88"};
        for (int n = 2; n <= 12; ++n)
            form->findChild<QLineEdit *>(QStringLiteral("Text%1").arg(n))->setText(QString::fromLatin1(values[n - 2]));
        form->findChild<QComboBox *>(QStringLiteral("Combo1"))->setEditText(QStringLiteral("男"));
        form->findChild<QComboBox *>(QStringLiteral("Combo12"))->setEditText(QStringLiteral("无"));
    }
};

// The benchmarks' main(): offscreen unless a platform is named.
inline int runOffscreen(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace velmora::bench
