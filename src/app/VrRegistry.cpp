#include "VrRegistry.h"

#include "VrIni.h"

QString VrRegistryFile()
{
    const QString file = qEnvironmentVariable("QRT5150_REGISTRY");
    return file.isEmpty() ? QStringLiteral("/etc/qrt5150/registry.ini") : file;
}

std::optional<QString> VrFindRegistryString(const QString &keyPath, const QString &valueName)
{
    // Key paths are written with or without the leading separator, in the
    // file as by callers: "\SOFTWARE\..." and "SOFTWARE\..." name one key.
    const auto bare = [](const QString &path) {
        qsizetype start = 0;
        while (start < path.size() && path.at(start) == u'\\')
            ++start;
        return path.mid(start);
    };
    const QString wanted = bare(keyPath.trimmed());
    return VrIni(VrRegistryFile()).Find(
        [&](const QString &section) { return bare(section).compare(wanted, Qt::CaseInsensitive) == 0; },
        valueName);
}

QString VrReadRegistryString(const QString &keyPath, const QString &valueName)
{
    return VrFindRegistryString(keyPath, valueName).value_or(QString());
}
