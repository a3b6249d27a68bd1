#include "DevInfoText.h"

QString SecondaryMacAddress(const QString &mac, int increment, bool *overflow)
{
    *overflow = false;
    bool ok = false;
    const int firstByte = mac.left(2).toInt(&ok, 16);
    if (mac.size() < 2 || !ok || mac.at(0) == u'+' || mac.at(0) == u'-')
        return QString();
    const int sum = firstByte + increment;
    if (sum > 0xFF) {
        *overflow = true;
        return QStringLiteral("000000000000");
    }
    return QStringLiteral("%1").arg(sum, 2, 16, QLatin1Char('0')).toUpper() + mac.mid(2, 16);
}

namespace {

QString keySize(int keyEntryMethod, const QString &key)
{
    const qsizetype length = key.size();
    if (keyEntryMethod == 0)
        return length == 5 ? QStringLiteral("64bits") : length == 13 ? QStringLiteral("128bits") : QString();
    if (keyEntryMethod == 1)
        return length == 10 ? QStringLiteral("64bits") : length == 26 ? QStringLiteral("128bits") : QString();
    return QString();
}

struct CipherAuthentication {
    const char *authentication;
    const char *label;
};

const CipherAuthentication CipherAuthentications[] = {
    {"wpa-psk", "WPA-Personal"},          {"wpa-eap", "WPA-Enterprise"},
    {"wpa2-psk", "WPA2-Personal"},        {"wpa2-eap", "WPA2-Enterprise"},
    {"wpa-auto-psk", "WPA2-Auto-Personal"}, {"wpa-auto-eap", "WPA2-Auto-Enterprise"},
};

} // namespace

QString SecurityLevelText(const QString &authentication, const QString &encryption, const QString &cipher,
                          int keyEntryMethod, const QString &key)
{
    if (authentication == u"opensystem") {
        if (encryption == u"Disable")
            return QStringLiteral("None");
        if (encryption == u"Enable")
            return QStringLiteral("Open / ") + keySize(keyEntryMethod, key);
        return QString();
    }
    if (authentication == u"sharedkey")
        return QStringLiteral("Shared Key / ") + keySize(keyEntryMethod, key);
    for (const CipherAuthentication &entry : CipherAuthentications)
        if (authentication == QLatin1String(entry.authentication))
            return QLatin1String(entry.label) + QStringLiteral(" / ") + cipher.toUpper();
    return QString();
}
