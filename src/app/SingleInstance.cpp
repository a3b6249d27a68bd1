#include "SingleInstance.h"

#include "VrRawText.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QSysInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcInstance, "qrt.app.instance", QtInfoMsg)

namespace {

// Well below the 255 bytes most file systems allow in a name.
constexpr qsizetype LongestName = 160;

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

SingleInstance::SingleInstance(const QString &caption)
    : m_path(lockFilePath(caption))
{
}

SingleInstance::~SingleInstance()
{
    if (m_fd < 0)
        return;
    // Removed while still locked: whoever opens the old file afterwards sees
    // that it is no longer the one at the path and tries again.
    ::unlink(QFile::encodeName(m_path).constData());
    ::close(m_fd);
}

SingleInstance::Result SingleInstance::acquire()
{
    if (m_fd >= 0)
        return Acquired;
    const QByteArray path = QFile::encodeName(m_path);
    // A module that removes its file between our open and our lock leaves us
    // a file nobody else can find; a few tries settle that race.
    for (int attempt = 0; attempt < 5; ++attempt) {
        // O_NOFOLLOW: in a shared temporary folder the name could be a link
        // planted by someone else.
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) {
            m_error = QStringLiteral("Cannot open the lock file %1: %2").arg(m_path, systemError(errno));
            return Failed;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(fd);
            if (error == EWOULDBLOCK)
                return HeldElsewhere;
            m_error = QStringLiteral("Cannot lock the file %1: %2").arg(m_path, systemError(error));
            return Failed;
        }
        struct stat opened {}, named {};
        if (::fstat(fd, &opened) != 0 || ::stat(path.constData(), &named) != 0
            || opened.st_dev != named.st_dev || opened.st_ino != named.st_ino) {
            ::close(fd);
            continue;
        }
        // Who holds it, for a person looking at the folder; the lock itself
        // is the flock, whatever the file says.
        const QByteArray owner = QByteArray::number(QCoreApplication::applicationPid()) + '\n'
            + QSysInfo::machineHostName().toUtf8() + '\n';
        if (::ftruncate(fd, 0) != 0 || ::write(fd, owner.constData(), size_t(owner.size())) != owner.size())
            qCDebug(lcInstance) << "cannot note the owner in" << m_path; // the lock holds all the same
        m_fd = fd;
        return Acquired;
    }
    m_error = QStringLiteral("Cannot lock the file %1: it keeps being replaced").arg(m_path);
    return Failed;
}

QString SingleInstance::lockFilePath(const QString &caption)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    // The caption holds an address typed by the host: keep only file-name-safe
    // bytes. A name too long for the file system keeps its start and gets a
    // digest of the whole caption, so each caption still has a lock of its own.
    const QByteArray bytes = VrBytesFromText(caption);
    QByteArray name = bytes.toPercentEncoding();
    if (name.size() > LongestName) {
        const QByteArray digest = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
        name = name.left(LongestName - digest.size() - 1);
        // Never cut a %XX escape in two.
        if (const qsizetype percent = name.lastIndexOf('%'); percent >= name.size() - 2 && percent >= 0)
            name.truncate(percent);
        name += '-' + digest;
    }
    return QDir(dir).filePath(QString::fromLatin1(name) + QStringLiteral(".lock"));
}
