#include "PerformanceRules.h"

namespace {

const QString kError = QStringLiteral("Error");

// A whole decimal number within [low, high]; trailing text is refused.
bool inRange(const QString &text, qlonglong low, qlonglong high)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    return ok && value >= low && value <= high;
}

SaveProblem rangeProblem(const char *text, const char *field)
{
    return SaveProblem{QString::fromLatin1(text), kError, QString::fromLatin1(field), true};
}

} // namespace

bool IsNMode(const QString &wifiModeText)
{
    return wifiModeText.contains(QLatin1String("802.11n"));
}

QStringList DataRateEntries(bool band5, bool nMode)
{
    QStringList entries{nMode ? QStringLiteral("Best(up to 300)") : QStringLiteral("Best(up to 54)")};
    entries << QStringList{"54", "48", "36", "24", "18", "12", "9", "6"};
    if (!band5)
        entries << QStringList{"11", "5.5", "2", "1"};
    return entries;
}

int DataRateIndex(const QStringList &entries, const QString &rateRead)
{
    const QString rate = rateRead.trimmed();
    if (rate == QLatin1String("Auto") || rate.startsWith(QLatin1String("Best(")))
        return 0;
    bool ok = false;
    const double value = rate.toDouble(&ok);
    if (!ok)
        return 0;
    return std::max(0, int(entries.indexOf(QString::number(value))));
}

bool NOnlyExcluded(const QString &authentication, const QString &encryption, const QString &cipher)
{
    const bool wep = (authentication == QLatin1String("opensystem") || authentication == QLatin1String("sharedkey"))
                  && encryption == QLatin1String("Enable");
    const bool tkip = authentication.contains(QLatin1String("wpa")) && cipher == QLatin1String("tkip");
    return wep || tkip;
}

Check CheckPerformance(const PerformanceInput &in)
{
    if (!in.client) {
        if (!inRange(in.beacon, 25, 500))
            return rangeProblem("Please input a number between 25 and 500.", "Ed_BeInta");
        if (!inRange(in.dtim, 1, 15))
            return rangeProblem("Please input a number between 1 and 15.", "Ed_DTIMa");
        if (in.userLimit.trimmed() != QLatin1String("0") && !inRange(in.userLimit, 0, 64))
            return rangeProblem("The range of 'User Limit' is from 0 to 64", "Ed_ULimit");
    }
    if (in.band5 ? !inRange(in.ackTimeout, 50, 200) : !inRange(in.ackTimeout, 64, 200)) {
        return rangeProblem(in.band5 ? "The Ack TimeOut value range is 50~200." : "The Ack TimeOut value range is 64~200.",
                            "Ed_AckTimeOut");
    }
    return std::nullopt;
}

PerformanceWrites PerformanceWritesFor(ApMode mode, bool connectionLimitOn)
{
    PerformanceWrites w;
    switch (mode) {
    case ApMode::AccessPoint:
        w.userLimit = connectionLimitOn;
        break;
    case ApMode::WdsWithAp:
    case ApMode::Wds:
        w.connectionLimit = w.userLimit = false;
        break;
    case ApMode::WirelessClient:
        w = PerformanceWrites{false, false, false, false, false, false, false};
        break;
    }
    return w;
}

PerformanceEnabling PerformanceEnablingFor(ApMode mode)
{
    switch (mode) {
    case ApMode::AccessPoint: return {true, true, true};
    case ApMode::WdsWithAp: return {false, true, true};
    case ApMode::Wds: return {false, false, true};
    case ApMode::WirelessClient: return {false, false, false};
    }
    return {};
}
