#pragma once

#include <QLockFile>
#include <QString>

// One module per device: a lock file named after the window caption, in the
// user's runtime directory. The lock lives as long as this object; a lock left
// behind by a module that died does not block the next one.
class SingleInstance
{
public:
    explicit SingleInstance(const QString &caption);

    // True when this process now holds the lock.
    bool acquire();
    static QString lockFilePath(const QString &caption);

private:
    QLockFile m_lock;
};
