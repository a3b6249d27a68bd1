#include "SingleInstance.h"

#include <QDir>
#include <QStandardPaths>
#include <QUrl>

SingleInstance::SingleInstance(const QString &caption)
    : m_lock(lockFilePath(caption))
{
    // The module runs for hours: only a dead owner makes the lock stale, never its age.
    m_lock.setStaleLockTime(0);
}

bool SingleInstance::acquire()
{
    return m_lock.tryLock(0);
}

QString SingleInstance::lockFilePath(const QString &caption)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    // The caption holds an address typed by the host: keep only file-name-safe bytes.
    const QString name = QString::fromLatin1(QUrl::toPercentEncoding(caption));
    return QDir(dir).filePath(name + QStringLiteral(".lock"));
}
