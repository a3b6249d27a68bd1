#include "FleetFile.h"

#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QRegularExpression>
#include <QStringList>
#include <stdexcept>

namespace {

[[noreturn]] void refuse(const QString &fileName, int line, const QString &why)
{
    throw std::runtime_error(QStringLiteral("%1:%2: %3").arg(fileName).arg(line).arg(why).toStdString());
}

} // namespace

QList<FleetDevice> ParseFleet(const QString &text, const QString &fileName)
{
    QList<FleetDevice> devices;
    FleetDevice defaults;
    const QStringList lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int number = int(i + 1);
        QString line = lines.at(i);
        if (const qsizetype hash = line.indexOf(u'#'); hash >= 0)
            line.truncate(hash);
        const QStringList fields = line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        if (fields.isEmpty())
            continue;
        FleetDevice device = defaults;
        device.line = number;
        const bool isDefaults = fields.first() == u'*';
        if (!isDefaults) {
            QString address = fields.first();
            if (const qsizetype colon = address.lastIndexOf(u':'); colon > 0) {
                bool ok = false;
                device.port = address.mid(colon + 1).toInt(&ok);
                if (!ok || device.port < 1 || device.port > 65535)
                    refuse(fileName, number, QStringLiteral("bad port in %1").arg(address));
                address.truncate(colon);
            }
            device.address = address;
        }
        for (qsizetype f = 1; f < fields.size(); ++f) {
            const QString &field = fields.at(f);
            const qsizetype eq = field.indexOf(u'=');
            const QString key = field.left(eq), value = field.mid(eq + 1);
            if (eq > 0 && key == QLatin1String("read"))
                device.readCommunity = value;
            else if (eq > 0 && key == QLatin1String("write"))
                device.writeCommunity = value;
            else if (eq > 0 && key == QLatin1String("cfg") && !isDefaults)
                device.cfgFile = QFileInfo(value).isAbsolute() || fileName.isEmpty()
                                     ? value
                                     : QFileInfo(fileName).dir().filePath(value);
            else
                // Not echoed: a misplaced word may be a community.
                refuse(fileName, number, QStringLiteral("field %1 is not read=, write= or cfg=").arg(f + 1));
        }
        if (isDefaults) {
            defaults.readCommunity = device.readCommunity;
            defaults.writeCommunity = device.writeCommunity;
        } else {
            devices.append(device);
        }
    }
    return devices;
}

QList<FleetDevice> ReadFleetFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(QStringLiteral("%1: cannot read: %2").arg(fileName, file.errorString()).toStdString());
    return ParseFleet(QString::fromUtf8(file.readAll()), fileName);
}
