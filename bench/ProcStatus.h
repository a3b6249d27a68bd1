#pragma once
// This process's memory as the kernel counts it, for the memory benchmarks.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <malloc.h>

namespace bench {

// A field of /proc/self/status in kB ("VmRSS", "RssAnon"), -1 when it cannot
// be read; trimmed: after the allocator has given its free pages back.
inline long StatusKilobytes(const char *field, bool trimmed = true)
{
    if (trimmed)
        malloc_trim(0);
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    // Read whole: a /proc file reports a size of 0, so atEnd() holds from the start.
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLong();
    return -1;
}

inline long ResidentKilobytes(bool trimmed = true)
{
    return StatusKilobytes("VmRSS", trimmed);
}

} // namespace bench
