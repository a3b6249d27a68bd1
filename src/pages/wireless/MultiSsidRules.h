#pragma once

#include "WirelessRules.h"

#include <QList>
#include <QString>

// The rules of the multi-SSID page that need no widgets: the texts of its
// list, the checks of "Add" and the warning about WEP keys that several SSIDs
// share.

// One row of the device's multi-SSID table as the page walked it.
struct MssidRow {
    int index = 0; // 1 primary, 2..4 SSID 1..3
    bool enabled = false;
    QString ssid;
    int authentication = 0;
    bool encryption = false;
    int keyIndex = 0;
};

inline constexpr int MssidRowCount = 4;

// "Primary SSID" for the first row, "Multi-SSID 1".. for the others; and
// back to the row index (0 when the text names no row).
QString MssidListIndexText(int index);
int MssidIndexOfListText(const QString &text);

// The "Encryption" column: what an administrator needs to tell the rows apart.
QString MssidEncryptionText(int authentication, bool encryption);

// The row uses the shared WEP keys (open system or shared key with WEP on).
bool UsesWepKeys(int authentication, bool encryption);

Check CheckMssidSsid(const QString &ssid);
// The SSID of row `index` against the other enabled rows.
Check CheckMssidSsidUnique(int index, const QString &ssid, const QList<MssidRow> &rows);
Check CheckRekeyInterval(const QString &interval);
Check CheckMssidPassphrase(const QString &passphrase, const QString &confirm);
Check CheckMssidRadiusServer(const QString &server);
Check CheckMssidWepKey(KeyType type, bool bits128, const QString &key, const QString &confirm);

// Another enabled row that uses the WEP keys with the same key index.
bool KeyUsedByOtherSsid(int index, int keyIndex, const QList<MssidRow> &rows);

// dot11MssidCipherType of the "Cipher Type" entries, and back.
int MssidCipherValue(const QString &cipherText);
