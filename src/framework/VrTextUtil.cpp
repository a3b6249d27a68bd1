#include "VrTextUtil.h"

#include <QFile>

std::optional<QStringList> ReadLines(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;

    QStringList lines;
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.size() > VrMaxLineLength)
            line.truncate(VrMaxLineLength);
        if (line.trimmed().isEmpty())
            continue;
        lines.append(QString::fromUtf8(line));
    }
    return lines;
}
