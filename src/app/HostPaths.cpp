#include "HostPaths.h"

#include "ModuleInfo.h"
#include "VrRegistry.h"

#include "VrTextUtil.h"

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
                                                VrFindRegistryString(MibFileKey, PathValue));
    return paths;
}

QString MessageBaseFromHelpPath(const QString &helpPath)
{
    return LocalDirectory(helpPath.left(qMax<qsizetype>(0, helpPath.size() - HelpFileNameLength)));
}

QString ConfigDirectoryFrom(const QString &exePath, const std::optional<QString> &mibFilePath)
{
    if (mibFilePath)
        return LocalDirectory(*mibFilePath);
    if (exePath.isEmpty())
        return QString();
    return LocalDirectory(LocalDirectory(exePath) + QStringLiteral("../Conf/MBF"));
}

QString ProgramMessageDirectory(const QString &exeDirectory)
{
    const QString base = LocalDirectory(exeDirectory);
    const QString beside = FindEntryIgnoringCase(base, QStringLiteral("errMSg"));
    if (QFileInfo(beside).isDir())
        return beside;
    // An installed program lives in <prefix>/bin with its data in
    // <prefix>/share; relative to the program, so a relocated tree works too.
    const QString installed = LocalDirectory(base + QStringLiteral("../share/qrt5150/errmsg"));
    return QFileInfo(installed).isDir() ? installed : beside;
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
    // ".." is taken off the text, as the host's own system does, so that
    // "bin/../Conf/MBF" is found even when "bin" does not exist.
    path = QDir::cleanPath(path);
    if (!path.endsWith(u'/') && !path.endsWith(u'\\'))
        path += u'/';
    return path;
}

