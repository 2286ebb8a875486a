#pragma once

// Shared by the two start-up probes: end the process as soon as a window has
// been painted for the first time, printing the process's peak memory.

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QTimer>

#include <cstdio>

// Peak resident memory in KiB (Linux; 0 where /proc is not there).
inline long peakMemoryKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

// Prints the peak memory and ends the event loop.
inline void quitWithPeakMemory()
{
    std::printf("peak_kib %ld\n", peakMemoryKiB());
    std::fflush(stdout);
    QCoreApplication::quit();
}

class QuitAfterFirstPaint : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            // After this paint has finished.
            QTimer::singleShot(0, [] { quitWithPeakMemory(); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_done = false;
};
