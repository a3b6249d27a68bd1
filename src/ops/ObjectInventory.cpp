#include "ObjectInventory.h"

#include <QHash>
#include <QHostAddress>
#include <QRegularExpression>
#include <QStringList>

extern const char *const qrtInventoryData;

namespace {

enum Column { Name, WireOid, WrittenOid, Kind, TableEntry, Syntax, Access, Values };

int syntaxOf(const QString &text, const QString &values)
{
    static const QHash<QString, int> map{
        {QStringLiteral("DisplayString"), VrSyntaxDisplayString},
        {QStringLiteral("OCTET STRING"), VrSyntaxDisplayString},
        {QStringLiteral("INTEGER"), VrSyntaxInteger},
        {QStringLiteral("IpAddress"), VrSyntaxIpAddress},
        {QStringLiteral("MAC"), VrSyntaxMacAddress},
        {QStringLiteral("OBJECT IDENTIFIER"), VrSyntaxOid},
        {QStringLiteral("TimeTicks"), VrSyntaxTimeTicks},
    };
    // Unstated: an enumeration is a number, anything else is read as text.
    return map.value(text, values.contains(u'=') ? VrSyntaxInteger : VrSyntaxDisplayString);
}

QHash<QString, InventoryObject> load()
{
    QHash<QString, InventoryObject> objects;
    const QStringList lines = QString::fromUtf8(qrtInventoryData).split(u'\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList f = lines.at(i).split(u'\t');
        if (f.size() <= Values || f.at(Kind) == QLatin1String("column3") || f.at(Name).startsWith(u'('))
            continue;
        InventoryObject o{f.at(Name), f.at(WireOid), syntaxOf(f.at(Syntax), f.at(Values)),
                          f.at(Access) != QLatin1String("read-only"), f.at(Values)};
        // A name listed twice: the scalar form is the one the device answers for.
        if (!objects.contains(o.name) || f.at(Kind) == QLatin1String("scalar0"))
            objects.insert(o.name, o);
    }
    return objects;
}

// "0=Disable,1=Enable" as number -> label; empty when not an enumeration.
QList<std::pair<QString, QString>> enumeration(const QString &values)
{
    static const QRegularExpression item(QStringLiteral("^(-?\\d+)=(.+)$"));
    QList<std::pair<QString, QString>> out;
    for (const QString &part : values.split(u',')) {
        const auto m = item.match(part.trimmed());
        if (!m.hasMatch())
            return {};
        out.append({m.captured(1), m.captured(2)});
    }
    return out;
}

} // namespace

std::optional<InventoryObject> FindInventoryObject(const QString &name)
{
    static const QHash<QString, InventoryObject> objects = load();
    const auto it = objects.constFind(name);
    if (it == objects.cend())
        return std::nullopt;
    return *it;
}

QString CheckInventoryValue(const InventoryObject &object, const QString &value, QString *wire)
{
    *wire = value;
    if (!object.writable)
        return QStringLiteral("%1 is read-only.").arg(object.name);
    if (const auto options = enumeration(object.values); !options.isEmpty()) {
        QStringList listed;
        for (const auto &[number, label] : options) {
            if (value == number || value.compare(label, Qt::CaseInsensitive) == 0) {
                *wire = number;
                return {};
            }
            listed << number + u'=' + label;
        }
        return QStringLiteral("%1 takes one of %2.").arg(object.name, listed.join(QStringLiteral(", ")));
    }
    static const QRegularExpression range(QStringLiteral("(?:^|\\s)(\\d+)\\.\\.(\\d+)(\\s+characters)?"));
    static const QRegularExpression atMost(QStringLiteral("at most (\\d+) characters"));
    const auto r = range.match(object.values);
    if (object.syntax == VrSyntaxInteger) {
        bool ok = false;
        const qlonglong n = value.toLongLong(&ok);
        if (r.hasMatch() && r.captured(3).isEmpty()) {
            if (!ok || n < r.captured(1).toLongLong() || n > r.captured(2).toLongLong())
                return QStringLiteral("Please input a number between %1 and %2.").arg(r.captured(1), r.captured(2));
        } else if (!ok) {
            return QStringLiteral("%1 takes a whole number.").arg(object.name);
        }
        return {};
    }
    if (object.syntax == VrSyntaxIpAddress) {
        QHostAddress a;
        if (!a.setAddress(value) || a.protocol() != QAbstractSocket::IPv4Protocol || value.count(u'.') != 3)
            return QStringLiteral("Invalid IP address: %1").arg(value);
        return {};
    }
    if (object.syntax == VrSyntaxMacAddress) {
        static const QRegularExpression mac(QStringLiteral("^[0-9A-Fa-f]{12}$"));
        QString digits = value;
        digits.remove(u':').remove(u'-');
        if (!mac.match(digits).hasMatch())
            return QStringLiteral("%1 takes 12 hex digits.").arg(object.name);
        *wire = digits;
        return {};
    }
    if (r.hasMatch() && !r.captured(3).isEmpty()
        && (value.size() < r.captured(1).toInt() || value.size() > r.captured(2).toInt()))
        return QStringLiteral("%1 takes %2 to %3 characters.").arg(object.name, r.captured(1), r.captured(2));
    if (const auto m = atMost.match(object.values); m.hasMatch() && value.size() > m.captured(1).toInt())
        return QStringLiteral("%1 takes at most %2 characters.").arg(object.name, m.captured(1));
    return {};
}

QString DescribeInventoryValue(const InventoryObject &object, const QString &value)
{
    for (const auto &[number, label] : enumeration(object.values))
        if (number == value)
            return QStringLiteral("%1 (%2)").arg(value, label);
    return value;
}
