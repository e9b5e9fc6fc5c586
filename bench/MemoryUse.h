#pragma once
// Resident and peak memory of the running benchmark, for its report.

#include <QByteArray>
#include <QFile>

#include <utility>

// Resident and peak memory of this process in MB (from /proc).
inline std::pair<double, double> memoryMb() {
    QFile f("/proc/self/status");
    double rss = 0, peak = 0;
    if (f.open(QIODevice::ReadOnly))
        for (const QByteArray& line : f.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                rss = line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
            else if (line.startsWith("VmHWM:"))
                peak = line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
        }
    return {rss, peak};
}
