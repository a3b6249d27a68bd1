#include "MaintenanceRules.h"

#include <QFileInfo>

std::optional<SplitFilePath> SplitLocalPath(const QString &path)
{
    const qsizetype cut = qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    if (cut < 0)
        return std::nullopt;
    // "/name" lies in the root folder, which is a folder all the same.
    QString folder = cut == 0 ? path.left(1) : path.left(cut);
    return SplitFilePath{folder, path.mid(cut + 1)};
}

bool LooksLikeFirmware(const QString &path)
{
    return path.contains(QLatin1String(".tfp")) || path.contains(QLatin1String(".bin"));
}

bool LooksLikeCertificate(const QString &path)
{
    return path.contains(QLatin1String(".der")) || path.contains(QLatin1String(".pem"));
}

bool LooksLikeConfiguration(const QString &path)
{
    return path.toUpper().contains(QLatin1String(".DCF"));
}

QString BackupFileName(const QString &name)
{
    return LooksLikeConfiguration(name) ? name : name + QLatin1String(".dcf");
}

QString UnreadableFileReason(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("%1 does not exist.").arg(path);
    if (info.isDir())
        return QStringLiteral("%1 is a folder.").arg(path);
    if (!info.isReadable())
        return QStringLiteral("%1 cannot be read.").arg(path);
    if (info.size() == 0)
        return QStringLiteral("%1 is empty.").arg(path);
    return {};
}

LogLine ParseLogLine(const QString &line)
{
    LogLine out;
    QString rest = line;
    const qsizetype bar = rest.indexOf(u'|');
    if (bar >= 0) {
        out.time = rest.left(bar).trimmed();
        rest = rest.mid(bar + 1);
    }
    const qsizetype open = rest.indexOf(u'[');
    if (open >= 0)
        rest = rest.mid(open + 1);
    const qsizetype close = rest.indexOf(u']');
    if (close >= 0) {
        out.type = rest.left(close);
        rest = rest.mid(close + 1);
    }
    out.message = rest;
    return out;
}

QString DeviceFolderName(const QString &device)
{
    QString out;
    for (QChar c : device)
        out += c.isLetterOrNumber() || c == u'.' || c == u'-' ? c : u'_';
    if (out.isEmpty() || out.startsWith(u'.'))
        out.prepend(u'_');
    return out;
}
