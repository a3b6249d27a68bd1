#include "VrIni.h"

#include <QFile>

QString VrIni::ReadString(const QString &section, const QString &key, const QString &defaultValue) const
{
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        return defaultValue;

    const QString wantedSection = section.trimmed();
    const QString wantedKey = key.trimmed();
    bool inSection = wantedSection.isEmpty(); // keys before any section line
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed(); // also drops CR LF
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            qsizetype end = line.indexOf(QLatin1Char(']'));
            if (end < 0)
                end = line.size();
            inSection = line.mid(1, end - 1).trimmed().compare(wantedSection, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inSection || equals < 0
            || line.left(equals).trimmed().compare(wantedKey, Qt::CaseInsensitive) != 0)
            continue;
        const QString value = line.mid(equals + 1).trimmed().left(VrMaxIniValueLength).trimmed();
        return value.isEmpty() ? defaultValue : value;
    }
    return defaultValue;
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
