#include "WirelessSecurity.h"

#include <array>

namespace {

struct AuthRow {
    Authentication value;
    QString authClass;
    QString wpaMode;
};

const std::array<AuthRow, 8> &authRows()
{
    using namespace SecurityText;
    static const std::array<AuthRow, 8> rows{{
        {Authentication::OpenSystem, OpenSystem, QString()},
        {Authentication::SharedKey, SharedKey, QString()},
        {Authentication::WpaPsk, WpaPersonal, WpaOnly},
        {Authentication::WpaEap, WpaEnterprise, WpaOnly},
        {Authentication::Wpa2Psk, WpaPersonal, Wpa2Only},
        {Authentication::Wpa2Eap, WpaEnterprise, Wpa2Only},
        {Authentication::WpaAutoPsk, WpaPersonal, WpaAuto},
        {Authentication::WpaAutoEap, WpaEnterprise, WpaAuto},
    }};
    return rows;
}

} // namespace

QString ApModeText(ApMode mode)
{
    switch (mode) {
    case ApMode::AccessPoint: return QStringLiteral("Access Point");
    case ApMode::WdsWithAp: return QStringLiteral("WDS with AP");
    case ApMode::Wds: return QStringLiteral("WDS");
    case ApMode::WirelessClient: return QStringLiteral("Wireless Client");
    }
    return QString();
}

int ApModeFromText(const QString &text)
{
    for (ApMode mode : {ApMode::AccessPoint, ApMode::WdsWithAp, ApMode::Wds, ApMode::WirelessClient}) {
        if (ApModeText(mode).compare(text.trimmed(), Qt::CaseInsensitive) == 0)
            return int(mode);
    }
    return 0;
}

SecurityPair SecurityPairOf(int authentication)
{
    for (const AuthRow &row : authRows()) {
        if (int(row.value) == authentication)
            return {row.authClass, row.wpaMode};
    }
    return {};
}

int AuthenticationOf(const QString &authClass, const QString &wpaMode)
{
    for (const AuthRow &row : authRows()) {
        if (row.authClass != authClass)
            continue;
        // Open System and Shared Key ignore whatever the WPA combo shows.
        if (row.wpaMode.isEmpty() || row.wpaMode == wpaMode)
            return int(row.value);
    }
    return 0;
}

bool IsWepClass(const QString &authClass)
{
    return authClass == SecurityText::OpenSystem || authClass == SecurityText::SharedKey;
}

SecurityChoices SecurityChoicesFor(ApMode mode, bool multiSsid, bool restrictedBand)
{
    using namespace SecurityText;
    const QStringList allWpa{WpaAuto, Wpa2Only, WpaOnly};
    switch (mode) {
    case ApMode::AccessPoint:
        if (multiSsid)
            return {{OpenSystem, WpaPersonal, WpaEnterprise}, allWpa, true};
        return {{OpenSystem, SharedKey, WpaPersonal, WpaEnterprise}, allWpa, true};
    case ApMode::WdsWithAp:
        if (restrictedBand)
            return {{OpenSystem, WpaPersonal}, allWpa, true};
        if (multiSsid)
            return {{OpenSystem, WpaPersonal}, {WpaAuto, Wpa2Only}, true};
        return {{OpenSystem, SharedKey, WpaPersonal}, {WpaAuto, Wpa2Only}, true};
    case ApMode::Wds:
        if (multiSsid)
            return {{OpenSystem, WpaPersonal}, {Wpa2Only}, false};
        return {{OpenSystem, SharedKey, WpaPersonal}, {Wpa2Only}, false};
    case ApMode::WirelessClient:
        return {{OpenSystem, WpaPersonal}, allWpa, true};
    }
    return {};
}

int EntryIndex(const QStringList &entries, const QString &text)
{
    for (int i = 0; i < entries.size(); ++i) {
        if (entries[i].compare(text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return 0;
}
