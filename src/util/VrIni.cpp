#include "VrIni.h"

#include "VrRawText.h"

#include <QFile>

std::optional<QString> VrIni::Find(const SectionMatch &sectionMatches, const QString &key) const
{
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;

    const QString wantedKey = key.trimmed();
    bool inSection = sectionMatches(QString()); // keys before any section line
    while (!file.atEnd()) {
        const QString line = VrTextFromBytes(file.readLine()).trimmed(); // also drops CR LF
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            qsizetype end = line.indexOf(QLatin1Char(']'));
            if (end < 0)
                end = line.size();
            inSection = sectionMatches(line.mid(1, end - 1).trimmed());
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inSection || equals < 0
            || line.left(equals).trimmed().compare(wantedKey, Qt::CaseInsensitive) != 0)
            continue;
        return line.mid(equals + 1).trimmed().left(VrMaxIniValueLength).trimmed();
    }
    return std::nullopt;
}

std::optional<QString> VrIni::Find(const QString &section, const QString &key) const
{
    const QString wanted = section.trimmed();
    return Find([&wanted](const QString &name) { return name.compare(wanted, Qt::CaseInsensitive) == 0; },
                key);
}

QString VrIni::ReadString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const std::optional<QString> value = Find(section, key);
    return value && !value->isEmpty() ? *value : defaultValue;
}

QString VrIni::JoinPath(const QString &directory, const QString &fileName)
{
    if (directory.isEmpty())
        return fileName;
    const QChar last = directory.back();
    if (last == QLatin1Char('\\') || last == QLatin1Char('/'))
        return directory + fileName;
    // Keep a Windows-style directory Windows-style; anything else (a bare
    // name included) gets the separator this platform opens.
    const bool backslashes = directory.contains(QLatin1Char('\\')) && !directory.contains(QLatin1Char('/'));
    return directory + (backslashes ? QLatin1Char('\\') : QLatin1Char('/')) + fileName;
}
