#include "VrRegistry.h"

#include "VrIni.h"

QString VrRegistryFile()
{
    const QString file = qEnvironmentVariable("QRT5150_REGISTRY");
    return file.isEmpty() ? QStringLiteral("/etc/qrt5150/registry.ini") : file;
}

QString VrReadRegistryString(const QString &keyPath, const QString &valueName)
{
    // Key paths are written with or without the leading separator; sections never have it.
    QString section = keyPath;
    while (section.startsWith(u'\\'))
        section.remove(0, 1);
    return VrIni(VrRegistryFile()).ReadString(section, valueName, QString());
}
