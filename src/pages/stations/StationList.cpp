#include "StationList.h"

#include <array>

namespace Stations {

namespace {

// Walked values that did not arrive (a column that ended early) read as this.
bool missing(const QString &text)
{
    return text.isEmpty() || text == QLatin1String("(NOTDONE)");
}

QString cell(const QStringList &row, int column)
{
    const QString text = row.value(column);
    return missing(text) ? QString() : text;
}

// The text for a small enumeration value, else the value itself.
template <size_t N>
QString lookup(const std::array<const char *, N> &texts, int first, const QString &value)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok || number < first || number >= first + int(N))
        return value;
    return QString::fromLatin1(texts[size_t(number - first)]);
}

const std::array<const char *, 9> kAuthLabels{"opensystem", "sharedkey", "wpa-psk", "wpa-eap", "wpa2-psk",
                                              "wpa2-eap", "wpa-auto-psk", "wpa-auto-eap", "dot1x"};

} // namespace

QString BandLetter(const QString &value)
{
    return lookup(std::array<const char *, 4>{"A", "B", "G", "N"}, 0, value);
}

QString AuthenticationLabel(const QString &value)
{
    return lookup(kAuthLabels, 1, value);
}

QString StationAuthenticationText(const QString &value)
{
    const QString label = AuthenticationLabel(value);
    if (label == QLatin1String("opensystem"))
        return QStringLiteral("OPEN");
    if (label == QLatin1String("sharedkey"))
        return QStringLiteral("WEP");
    static const QStringList upper{"wpa-psk", "wpa-eap", "wpa2-psk", "wpa2-eap"};
    return upper.contains(label) ? label.toUpper() : label;
}

QString SignalText(const QString &rssi)
{
    bool ok = false;
    const int percent = rssi.trimmed().toInt(&ok);
    if (!ok || percent < 0 || percent > 100)
        return QString();
    return QString::number(percent) + QLatin1Char('%');
}

QString PowerSavingText(const QString &psm)
{
    if (psm == QLatin1String("1"))
        return QStringLiteral("On");
    if (psm == QLatin1String("0"))
        return QStringLiteral("Off");
    return psm;
}

std::vector<StationLine> StationLines(const std::vector<QStringList> &rows)
{
    std::vector<StationLine> lines;
    for (const QStringList &row : rows) {
        const QString mac = cell(row, ClientMac);
        if (mac.isEmpty() || mac == FreeMac)
            continue;
        lines.push_back({cell(row, ClientSsid), mac, BandLetter(cell(row, ClientBand)),
                         StationAuthenticationText(cell(row, ClientAuthentication)),
                         SignalText(cell(row, ClientRssi)), PowerSavingText(cell(row, ClientPsm))});
    }
    return lines;
}

std::vector<WdsLine> WdsLines(const std::vector<QStringList> &rows, bool encryptionEnabled)
{
    std::vector<WdsLine> lines;
    for (const QStringList &row : rows) {
        WdsLine line;
        line.name = cell(row, WdsName);
        line.mac = cell(row, WdsMac);
        if (line.mac == FreeMac)
            line.mac.clear();
        const QString label = AuthenticationLabel(cell(row, WdsAuthentication));
        line.authentication = !encryptionEnabled && label == QLatin1String("opensystem") ? QStringLiteral("None") : label;
        const QString rssi = cell(row, WdsRssi);
        line.signal = rssi == QLatin1String("0") ? QString() : SignalText(rssi);
        const QString status = cell(row, WdsStatus);
        line.status = status == QLatin1String("on")    ? QStringLiteral("On")
                    : status == QLatin1String("off") ? QStringLiteral("Off")
                                                       : status;
        lines.push_back(line);
    }
    return lines;
}

QStringList SurveyFilters()
{
    return {QStringLiteral("All"), QStringLiteral("Valid"), QStringLiteral("Neighborhood"),
            QStringLiteral("Rogue"), QStringLiteral("New")};
}

QString SurveyClassLabel(const QString &value)
{
    return lookup(std::array<const char *, 4>{"new", "valid", "neighborhood", "rogue"}, 1, value);
}

std::vector<SurveyLine> SurveyLines(const std::vector<QStringList> &rows, const QString &filter)
{
    const bool all = filter.compare(QLatin1String("All"), Qt::CaseInsensitive) == 0;
    std::vector<SurveyLine> lines;
    for (const QStringList &row : rows) {
        if (cell(row, SurveyBssid) == FreeMac)
            continue;
        const QString type = SurveyClassLabel(cell(row, SurveyType));
        if (!all && type != filter.toLower())
            continue;
        const QString status = cell(row, SurveyStatus);
        lines.push_back({type, lookup(std::array<const char *, 4>{"B", "G", "N", "A"}, 1, cell(row, SurveyMode)),
                         cell(row, SurveyChannel), cell(row, SurveySsid), cell(row, SurveyBssid),
                         cell(row, SurveyLastSeen),
                         lookup(std::array<const char *, 2>{"down", "up"}, 1, status)});
    }
    return lines;
}

std::optional<int> SurveyIndexOf(const std::vector<QStringList> &rows, const QString &bssid)
{
    for (const QStringList &row : rows) {
        if (bssid.isEmpty() || cell(row, SurveyBssid).compare(bssid, Qt::CaseInsensitive) != 0)
            continue;
        bool ok = false;
        const int index = cell(row, SurveyIndex).toInt(&ok);
        if (ok)
            return index;
    }
    return std::nullopt;
}

QString CounterText(const QString &value)
{
    const QString text = value.trimmed();
    bool ok = false;
    const qulonglong unsignedValue = text.toULongLong(&ok);
    if (ok)
        return QString::number(unsignedValue);
    const qlonglong signedValue = text.toLongLong(&ok);
    if (ok && signedValue < 0 && signedValue >= -(qlonglong(1) << 31))
        return QString::number(quint32(qint32(signedValue)));
    return missing(text) || text == QLatin1String("(NULL)") ? QString() : text;
}

MacRefusal CheckNewAclMac(const QString &mac, const QStringList &listed)
{
    if (mac.size() != 12)
        return MacRefusal::Length;
    if (mac == FreeMac)
        return MacRefusal::Zero;
    if (listed.contains(mac, Qt::CaseInsensitive))
        return MacRefusal::Duplicate;
    return MacRefusal::None;
}

QStringList ListedMacs(const std::vector<QStringList> &rows)
{
    QStringList macs;
    for (const QStringList &row : rows) {
        const QString mac = cell(row, 1);
        if (!mac.isEmpty() && mac != FreeMac)
            macs.append(mac);
    }
    return macs;
}

std::optional<int> FirstFreeRow(const std::vector<QStringList> &rows)
{
    for (size_t i = 0; i < rows.size(); ++i)
        if (cell(rows[i], 1) == FreeMac)
            return int(i);
    return std::nullopt;
}

} // namespace Stations
