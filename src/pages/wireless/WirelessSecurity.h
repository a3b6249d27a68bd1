#pragma once

#include <QString>
#include <QStringList>

// The device keeps one authentication number (dot11Authentication,
// dot11MssidAuthentication); the pages show it as a class ("WPA-Personal")
// and a WPA mode ("WPA2 Only"). This is the translation between the two,
// and the entries each operation mode offers, shared by the wireless and the
// multi-SSID pages.

// dot11ApMode values.
enum class ApMode { AccessPoint = 1, WdsWithAp = 2, Wds = 3, WirelessClient = 4 };

// dot11Authentication values.
enum class Authentication {
    OpenSystem = 1,
    SharedKey = 2,
    WpaPsk = 3,
    WpaEap = 4,
    Wpa2Psk = 5,
    Wpa2Eap = 6,
    WpaAutoPsk = 7,
    WpaAutoEap = 8,
};

namespace SecurityText {
inline const QString OpenSystem = QStringLiteral("Open System");
inline const QString SharedKey = QStringLiteral("Shared Key");
inline const QString WpaPersonal = QStringLiteral("WPA-Personal");
inline const QString WpaEnterprise = QStringLiteral("WPA-Enterprise");
inline const QString WpaAuto = QStringLiteral("AUTO(WPA or WPA2)");
inline const QString Wpa2Only = QStringLiteral("WPA2 Only");
inline const QString WpaOnly = QStringLiteral("WPA Only");
} // namespace SecurityText

// The mode's display text as the AP-mode option list shows it, and back
// (0 for an unknown text; compared without regard to case).
QString ApModeText(ApMode mode);
int ApModeFromText(const QString &text);

// The visible pair of an authentication number.
struct SecurityPair {
    QString authClass; // empty for a number without a visible class (9, dot1x)
    QString wpaMode;   // empty for the classes without WPA
};
SecurityPair SecurityPairOf(int authentication);
// The number of a visible pair; 0 when the pair has none.
int AuthenticationOf(const QString &authClass, const QString &wpaMode);

// WEP classes keep keys in the WEP key table; the WPA classes use the
// passphrase or the RADIUS server.
bool IsWepClass(const QString &authClass);

// What the "Authentication" and "WPA Mode" combos offer in a mode.
struct SecurityChoices {
    QStringList classes;
    QStringList wpaModes;
    bool wpaModeEnabled = true;
};
// restrictedBand: country "JP" or "GB" on 5 GHz.
SecurityChoices SecurityChoicesFor(ApMode mode, bool multiSsid, bool restrictedBand);

// The entry a combo should select for a text (compared without regard to
// case): its position, else 0.
int EntryIndex(const QStringList &entries, const QString &text);
