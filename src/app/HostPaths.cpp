#include "HostPaths.h"

#include "ModuleInfo.h"
#include "VrRegistry.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString HelpPathKey = QStringLiteral("SOFTWARE\\Varnell\\Modules\\HelpPath");
const QString ExePathKey = QStringLiteral("SOFTWARE\\Varnell\\Netvane5.1\\ExePath");
const QString MibFileKey = QStringLiteral("SOFTWARE\\Varnell\\Netvane5.1\\MibFile");
const QString PathValue = QStringLiteral("Path");
constexpr int HelpFileNameLength = 12;
}

HostPaths ReadHostPaths()
{
    HostPaths paths;
    paths.messageBase = MessageBaseFromHelpPath(
        VrReadRegistryString(HelpPathKey, QString::fromLatin1(ModuleProductRootOid)));
    paths.configDirectory = ConfigDirectoryFrom(VrReadRegistryString(ExePathKey, PathValue),
                                                VrReadRegistryString(MibFileKey, PathValue));
    return paths;
}

QString MessageBaseFromHelpPath(const QString &helpPath)
{
    return LocalDirectory(helpPath.left(qMax<qsizetype>(0, helpPath.size() - HelpFileNameLength)));
}

QString ConfigDirectoryFrom(const QString &exePath, const QString &mibFilePath)
{
    if (!mibFilePath.isEmpty())
        return LocalDirectory(mibFilePath);
    if (exePath.isEmpty())
        return QString();
    return LocalDirectory(LocalDirectory(exePath) + QStringLiteral("../Conf/MBF"));
}

QString ConfigFilePath(const QString &configDirectory, const QString &address)
{
    return configDirectory + address + QStringLiteral(".cfg");
}

QString LocalDirectory(const QString &hostPath)
{
    if (hostPath.isEmpty())
        return hostPath;
    QString path = hostPath;
#ifndef Q_OS_WIN
    path.replace(u'\\', u'/');
#endif
    if (!path.endsWith(u'/') && !path.endsWith(u'\\'))
        path += u'/';
    return path;
}

QString FindEntryIgnoringCase(const QString &directory, const QString &name)
{
    const QString exact = directory + name;
    if (QFileInfo::exists(exact))
        return exact;
    const QDir dir(directory.isEmpty() ? QStringLiteral(".") : directory);
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString &entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return directory + entry;
    return exact;
}
