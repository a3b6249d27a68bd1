#include "MultiSsidRules.h"

#include "AddressValidators.h"

#include <QRegularExpression>

namespace {

const QString kWarning = QStringLiteral("Warning");
const QString kError = QStringLiteral("Error");

bool isHexText(const QString &text)
{
    static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]*$"));
    return hex.match(text).hasMatch();
}

} // namespace

QString MssidListIndexText(int index)
{
    return index <= 1 ? QStringLiteral("Primary SSID") : QStringLiteral("Multi-SSID %1").arg(index - 1);
}

int MssidIndexOfListText(const QString &text)
{
    if (text == QLatin1String("Primary SSID"))
        return 1;
    static const QRegularExpression multi(QStringLiteral("^Multi-SSID ([1-3])$"));
    const QRegularExpressionMatch m = multi.match(text);
    return m.hasMatch() ? m.captured(1).toInt() + 1 : 0;
}

QString MssidEncryptionText(int authentication, bool encryption)
{
    switch (Authentication(authentication)) {
    case Authentication::OpenSystem: return encryption ? QStringLiteral("OpenSystem") : QStringLiteral("None");
    // Shared key always encrypts with WEP; named as the security combo names it.
    case Authentication::SharedKey: return QStringLiteral("Shared Key");
    case Authentication::WpaPsk: return QStringLiteral("WPA-Personal");
    case Authentication::WpaEap: return QStringLiteral("WPA-Enterprise");
    case Authentication::Wpa2Psk: return QStringLiteral("WPA2-Personal");
    case Authentication::Wpa2Eap: return QStringLiteral("WPA2-Enterprise");
    case Authentication::WpaAutoPsk: return QStringLiteral("WPA-Auto-Personal");
    case Authentication::WpaAutoEap: return QStringLiteral("WPA-Auto-Enterprise");
    }
    return QString();
}

bool UsesWepKeys(int authentication, bool encryption)
{
    return authentication == int(Authentication::SharedKey)
        || (authentication == int(Authentication::OpenSystem) && encryption);
}

Check CheckMssidSsid(const QString &ssid)
{
    const QByteArray bytes = ssid.toUtf8();
    const QString field = QStringLiteral("Ed_SSID");
    if (bytes.isEmpty())
        return SaveProblem{QStringLiteral("Please input SSID!"), kWarning, field};
    if (bytes.at(0) == ' ')
        return SaveProblem{QStringLiteral("The first character can't be blank!"), kWarning, field};
    // The device counts octets.
    if (bytes.size() > 32)
        return SaveProblem{QStringLiteral("The Max Length of SSID is 32!"), kWarning, field};
    // The same device rule as the primary SSID on the wireless page.
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return SaveProblem{QStringLiteral("Don't support chinese character !"), kError, field};
    }
    return std::nullopt;
}

Check CheckMssidSsidUnique(int index, const QString &ssid, const QList<MssidRow> &rows)
{
    for (const MssidRow &row : rows) {
        if (row.index == index || !row.enabled || row.ssid != ssid)
            continue;
        const QString text = row.index == 1
            ? QStringLiteral("The 11g SSID %1's SSID is same as Primary SSID").arg(index - 1)
            : QStringLiteral("The 11g SSID %1's SSID is same as SSID %2").arg(index - 1).arg(row.index - 1);
        return SaveProblem{text, kWarning, QStringLiteral("Ed_SSID")};
    }
    return std::nullopt;
}

Check CheckRekeyInterval(const QString &interval)
{
    const QString text = QStringLiteral("Please input a number between 300 and 9999999.");
    const QString field = QStringLiteral("Ed_UpdateInterval");
    if (interval.trimmed().isEmpty())
        return SaveProblem{text, kWarning, field};
    bool ok = false;
    const qlonglong value = interval.trimmed().toLongLong(&ok);
    if (!ok || value < 300 || value > 9999999)
        return SaveProblem{text, kError, field, true};
    return std::nullopt;
}

Check CheckMssidPassphrase(const QString &passphrase, const QString &confirm)
{
    const QString field = QStringLiteral("Ed_Passphrase");
    const qsizetype length = passphrase.toUtf8().size();
    if (length < 8)
        return SaveProblem{QStringLiteral("The ComPassphrase length is between 8 and 63."), kError, field};
    if (length > 63)
        return SaveProblem{QStringLiteral("The max length of Passphrase is 63."), kError, field};
    if (passphrase != confirm) {
        return SaveProblem{QStringLiteral("Please input the confirm new password correctly!"), kWarning,
                           QStringLiteral("Ed_ConfirmPass")};
    }
    return std::nullopt;
}

Check CheckMssidRadiusServer(const QString &server)
{
    if (!IsValidIPAddress(server.trimmed()))
        return SaveProblem{QStringLiteral("The Radius server's IP is illegal."), kError, QStringLiteral("Edt_RadiusServer")};
    return std::nullopt;
}

Check CheckMssidWepKey(KeyType type, bool bits128, const QString &key, const QString &confirm)
{
    const QString field = QStringLiteral("Ed_Key");
    const int length = KeyLength(type, bits128);
    if (key.toUtf8().size() != length) {
        QString text;
        if (type == KeyType::Hex) {
            text = bits128 ? QStringLiteral("The Length of the key must be 26 hexadecimal numbers!")
                           : QStringLiteral("The Length of the key must be 10 hexadecimal numbers!");
        } else {
            text = bits128 ? QStringLiteral("The Length of the keymust be 13 ASCII numbers!")
                           : QStringLiteral("The Length of the key  must be 5 ASCII numbers!");
        }
        return SaveProblem{text, kWarning, field};
    }
    if (type == KeyType::Hex && !isHexText(key))
        return SaveProblem{QStringLiteral("Please input  Hexadecimal digits!"), kWarning, field};
    if (key != confirm) {
        return SaveProblem{QStringLiteral("Please input the confirm new password correctly!"), kWarning,
                           QStringLiteral("Ed_ConfirmKey")};
    }
    return std::nullopt;
}

bool KeyUsedByOtherSsid(int index, int keyIndex, const QList<MssidRow> &rows)
{
    for (const MssidRow &row : rows) {
        if (row.index != index && row.enabled && row.keyIndex == keyIndex
            && UsesWepKeys(row.authentication, row.encryption))
            return true;
    }
    return false;
}

int MssidCipherValue(const QString &cipherText)
{
    if (cipherText == QLatin1String("AES"))
        return 2;
    if (cipherText == QLatin1String("TKIP"))
        return 3;
    return 1;
}
