#pragma once

#include "WirelessSecurity.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The rules of the wireless settings page that do not need its widgets:
// which modes, applications and channels a band and country allow, when the
// channel width is locked, key lengths, the checks of Save and the order of
// its writes.

// Countries whose 5 GHz band allows only "Access Point" and "Wireless Client".
bool IsRestrictedBand(const QString &country, bool band5);

// The AP modes the device accepts in a band and country.
QList<ApMode> ApModesInForce(const QString &country, bool band5);
// The mode list the Application choice allows, kept to the modes in force.
QStringList ApModeEntries(const QString &country, bool band5, int applicationIndex);

// The "Cipher Type" entries of the WPA classes.
QStringList CipherEntries(ApMode mode);

QStringList ApplicationEntries(bool band5);

enum class ChannelList { Band24, Band5, Band5Wds, Band5Outdoor };
ChannelList ChannelListFor(bool band5, const QString &modeText, const QString &country,
                           int applicationIndex);
// The list used when the device reports it empty.
QString DefaultChannels(ChannelList list);
// One entry per blank-separated token of the list read, or of the default.
QStringList ChannelEntries(const QString &listRead, ChannelList list);

// The channel width is fixed at 20 MHz for legacy radio modes, the edge
// channels, WEP, and country "KR".
struct ChannelWidthInputs {
    bool band5 = false;
    int wifiMode = 0; // dot11WifiMode as read
    QString channel;
    QString authClass;
    bool encryption = false;
    QString country;
};
bool ChannelWidthLocked(const ChannelWidthInputs &in);

enum class KeyType { Ascii = 1, Hex = 2 };
// A key read is shown as 128 bits when its length is that of a 128-bit key.
bool Is128BitKey(KeyType type, const QString &key);
int KeyLength(KeyType type, bool bits128);
// The device reports keys masked, one "*" per character.
bool IsMaskedKey(const QString &key);

// A refused input: the message box and the control to focus.
struct SaveProblem {
    QString text;
    QString title;
    QString field;      // objectName of the control to focus
    bool clear = false; // the field is emptied before it is focused
};
using Check = std::optional<SaveProblem>;

Check CheckSsid(const QString &ssid);
// keyNumber 1..4: the key index the check concerns.
Check CheckWepKey(int keyNumber, KeyType type, bool bits128, const QString &key,
                  const QString &confirm);
Check CheckGroupKeyInterval(const QString &interval);
Check CheckPassphrase(const QString &passphrase, const QString &confirm);
// The server address is checked by the caller with the common address check.
Check CheckRadiusPortAndSecret(const QString &port, const QString &secret);
// The eight "Remote AP MAC Address" fields, in order.
Check CheckWdsPeers(const QStringList &peers);
// A peer field that names a peer (neither empty nor the free-slot value).
bool IsFilledMac(const QString &mac);

// The groups Save writes, in the order it writes them.
enum class WriteGroup {
    Application,
    MultiSsidOff,
    Band,
    WepKey, // the key of the selected key index
    ApMode,
    Basic,
    Radius,
    Passphrase,
    Security,
    WdsPeers,
    MacClone,
};
// What is written before the mode and security checks run.
std::vector<WriteGroup> PreludeWrites(const QString &country, ApMode mode, bool multiSsid);
// What is written after them, by mode and class.
std::vector<WriteGroup> SecurityWrites(ApMode mode, const QString &authClass, bool encryption);

// Objects of the basic group that a mode writes.
struct BasicWrite {
    bool ssidBroadcast = true;
    bool autoChannelScan = true;
};
BasicWrite BasicWritesFor(ApMode mode);
