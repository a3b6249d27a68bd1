#include "WirelessRules.h"

#include <QRegularExpression>

namespace {

const QString kWarning = QStringLiteral("Warning");
const QString kError = QStringLiteral("Error");

bool isJapan(const QString &country)
{
    return country.trimmed().compare(QLatin1String("JP"), Qt::CaseInsensitive) == 0;
}

QStringList tokens(const QString &text)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return text.trimmed().split(blanks, Qt::SkipEmptyParts);
}

QString ordinal(int keyNumber)
{
    static const char *const names[] = {"1st", "2nd", "3rd", "4th"};
    return QString::fromLatin1(names[qBound(1, keyNumber, 4) - 1]);
}

bool isHexText(const QString &text)
{
    static const QRegularExpression hex(QStringLiteral("^[0-9A-Fa-f]*$"));
    return hex.match(text).hasMatch();
}

// A whole decimal number within [low, high].
bool inRange(const QString &text, qlonglong low, qlonglong high)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    return ok && value >= low && value <= high;
}

} // namespace

bool IsRestrictedBand(const QString &country, bool band5)
{
    const QString code = country.trimmed().toUpper();
    return band5 && (code == QLatin1String("JP") || code == QLatin1String("GB"));
}

QList<ApMode> ApModesInForce(const QString &country, bool band5)
{
    if (IsRestrictedBand(country, band5))
        return {ApMode::AccessPoint, ApMode::WirelessClient};
    return {ApMode::AccessPoint, ApMode::WdsWithAp, ApMode::Wds, ApMode::WirelessClient};
}

QStringList ApModeEntries(const QString &country, bool band5, int applicationIndex)
{
    // The application is a Japanese regulatory profile; elsewhere it is
    // neither shown nor written, so it must not narrow the modes either.
    const bool outdoor5 = band5 && applicationIndex == 1 && isJapan(country);
    QStringList entries;
    for (ApMode mode : ApModesInForce(country, band5)) {
        if (outdoor5 && mode != ApMode::AccessPoint && mode != ApMode::WirelessClient)
            continue;
        entries << ApModeText(mode);
    }
    return entries;
}

QStringList CipherEntries(ApMode mode)
{
    switch (mode) {
    case ApMode::WdsWithAp: return {QStringLiteral("Auto"), QStringLiteral("AES")};
    case ApMode::Wds: return {QStringLiteral("AES")};
    default: return {QStringLiteral("Auto"), QStringLiteral("AES"), QStringLiteral("TKIP")};
    }
}

QStringList ApplicationEntries(bool band5)
{
    if (band5)
        return {QStringLiteral("Concurrent 11a/n on W52/W53/W56 for indoor"),
                QStringLiteral("Concurrent 11a/n on W56 for outdoor")};
    return {QStringLiteral("Concurrent 11b/g/n on 2.4GHz for outdoor")};
}

ChannelList ChannelListFor(bool band5, const QString &modeText, const QString &country,
                           int applicationIndex)
{
    if (!band5)
        return ChannelList::Band24;
    if (isJapan(country) && applicationIndex == 1)
        return ChannelList::Band5Outdoor;
    if (modeText.contains(QLatin1String("WDS"), Qt::CaseInsensitive))
        return ChannelList::Band5Wds;
    return ChannelList::Band5;
}

QString DefaultChannels(ChannelList list)
{
    switch (list) {
    case ChannelList::Band24: return QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12 13");
    case ChannelList::Band5Wds: return QStringLiteral("36 40 44 48");
    case ChannelList::Band5:
        return QStringLiteral("36 40 44 48 52 56 60 64 100 104 108 112 116 120 124 128 132 136 140");
    case ChannelList::Band5Outdoor:
        return QStringLiteral("100 104 108 112 116 120 124 128 132 136 140");
    }
    return QString();
}

QStringList ChannelEntries(const QString &listRead, ChannelList list)
{
    const QStringList read = tokens(listRead);
    return read.isEmpty() ? tokens(DefaultChannels(list)) : read;
}

bool ChannelWidthLocked(const ChannelWidthInputs &in)
{
    if (in.country.trimmed().compare(QLatin1String("KR"), Qt::CaseInsensitive) == 0)
        return true;
    // 3: "Mixed 802.11g and 802.11b", 7: "802.11a Only"
    if (in.wifiMode == (in.band5 ? 7 : 3))
        return true;
    static const QStringList edgeChannels{"165", "140", "12", "13", "14"};
    if (edgeChannels.contains(in.channel.trimmed()))
        return true;
    const bool wep = in.authClass.contains(QLatin1String("Open"))
                  || in.authClass.contains(QLatin1String("Share"));
    return wep && in.encryption;
}

bool Is128BitKey(KeyType type, const QString &key)
{
    return key.size() == KeyLength(type, true);
}

int KeyLength(KeyType type, bool bits128)
{
    if (type == KeyType::Hex)
        return bits128 ? 26 : 10;
    return bits128 ? 13 : 5;
}

bool IsMaskedKey(const QString &key)
{
    return !key.isEmpty() && key.count(QLatin1Char('*')) == key.size();
}

Check CheckSsid(const QString &ssid)
{
    const QByteArray bytes = ssid.toUtf8();
    auto problem = [](const char *text, const QString &title) {
        return SaveProblem{QString::fromLatin1(text), title, QStringLiteral("Ed_SSID"), true};
    };
    // The device counts octets, so a non-ASCII character takes more than one.
    if (bytes.size() >= 33)
        return problem("The Max Length of SSID is 32.!", kWarning);
    if (bytes.isEmpty())
        return problem("Please Input SSID.", kWarning);
    if (bytes.at(0) == ' ')
        return problem("The first character can't be blank.", kError);
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return problem("Don't support chinese character !", kError);
    }
    return std::nullopt;
}

Check CheckWepKey(int keyNumber, KeyType type, bool bits128, const QString &key,
                  const QString &confirm)
{
    const QString keyField = QStringLiteral("Ed_Key%1").arg(keyNumber);
    if (key != confirm) {
        return SaveProblem{QStringLiteral("Please input the confirm new password correctly!"),
                           kWarning, QStringLiteral("Ed_ConfirmKey")};
    }
    const int length = KeyLength(type, bits128);
    if (key.size() != length) {
        QString text;
        if (type == KeyType::Hex)
            text = QStringLiteral("The Length of the %1 key must be %2 hexadecimal numbers!");
        else if (keyNumber == 4)
            text = bits128 ? QStringLiteral("The Length of the %1 key in must be %2 ASCII numbers!!")
                           : QStringLiteral("The Length of the %1 key in must be %2 ASCII numbers!");
        else
            text = QStringLiteral("The Length of the %1 key must be %2 ASCII numbers!");
        return SaveProblem{text.arg(ordinal(keyNumber)).arg(length), kWarning, keyField};
    }
    if (type == KeyType::Hex && !isHexText(key))
        return SaveProblem{QStringLiteral("Please input  Hexadecimal digits!"), kWarning, keyField};
    return std::nullopt;
}

Check CheckGroupKeyInterval(const QString &interval)
{
    if (!inRange(interval, 300, 9999999)) {
        return SaveProblem{QStringLiteral("Please input a number between 300 and 9999999."), kError,
                           QStringLiteral("Ed_UpdateInterval"), true};
    }
    return std::nullopt;
}

Check CheckPassphrase(const QString &passphrase, const QString &confirm)
{
    const QString field = QStringLiteral("Ed_Passphrase");
    if (passphrase.size() < 8)
        return SaveProblem{QStringLiteral("The Passphrase length is between 8 and 63."), kError, field};
    if (passphrase.size() > 63)
        return SaveProblem{QStringLiteral("The max length of Passphrase is 63."), kError, field};
    if (passphrase != confirm) {
        return SaveProblem{QStringLiteral("Please input the confirm new password correctly!"),
                           kWarning, QStringLiteral("Ed_ConfirmPass")};
    }
    return std::nullopt;
}

Check CheckRadiusPortAndSecret(const QString &port, const QString &secret)
{
    if (!inRange(port, 1, 65535)) {
        return SaveProblem{QStringLiteral("Please input a number between 1 and 65535."), kError,
                           QStringLiteral("Edt_RadiusPort")};
    }
    const QString field = QStringLiteral("Edt_RadiusSecret");
    if (secret.isEmpty()) {
        return SaveProblem{QStringLiteral("The shared secret of radius server cannot be empty."),
                           kError, field};
    }
    if (secret.size() > 64) {
        return SaveProblem{QStringLiteral("The max length of secret of radius server is 64."),
                           kError, field};
    }
    return std::nullopt;
}

bool IsFilledMac(const QString &mac)
{
    const QString text = mac.trimmed();
    return !text.isEmpty() && text != QLatin1String("000000000000");
}

Check CheckWdsPeers(const QStringList &peers)
{
    auto field = [](int i) { return QStringLiteral("Ed_ReMAddra%1").arg(i); };
    for (int later = 1; later < peers.size(); ++later) {
        if (!IsFilledMac(peers[later]))
            continue;
        for (int earlier = 0; earlier < later; ++earlier) {
            if (IsFilledMac(peers[earlier])
                && peers[earlier].trimmed().toUpper() == peers[later].trimmed().toUpper())
                return SaveProblem{QStringLiteral("Exist same MAC address."), kWarning, field(later)};
        }
    }
    for (int i = 0; i < peers.size(); ++i) {
        if (IsFilledMac(peers[i]) && (peers[i].trimmed().size() != 12 || !isHexText(peers[i].trimmed())))
            return SaveProblem{QStringLiteral("The length is 12 MAC address."), kError, field(i)};
    }
    if (!peers.isEmpty() && !IsFilledMac(peers[0])) {
        for (int i = 1; i < peers.size(); ++i) {
            if (IsFilledMac(peers[i])) {
                return SaveProblem{QStringLiteral("Please input MAC address in first blank space!"),
                                   kWarning, field(0)};
            }
        }
    }
    return std::nullopt;
}

std::vector<WriteGroup> PreludeWrites(const QString &country, ApMode mode, bool multiSsid)
{
    std::vector<WriteGroup> writes;
    if (isJapan(country))
        writes.push_back(WriteGroup::Application);
    if (multiSsid && mode != ApMode::AccessPoint && mode != ApMode::WdsWithAp)
        writes.push_back(WriteGroup::MultiSsidOff);
    writes.push_back(WriteGroup::Band);
    return writes;
}

std::vector<WriteGroup> SecurityWrites(ApMode mode, const QString &authClass, bool encryption)
{
    std::vector<WriteGroup> writes;
    if (authClass == SecurityText::SharedKey || (authClass == SecurityText::OpenSystem && encryption))
        writes.push_back(WriteGroup::WepKey);
    writes.push_back(WriteGroup::ApMode);
    writes.push_back(WriteGroup::Basic);
    if (authClass == SecurityText::WpaEnterprise)
        writes.push_back(WriteGroup::Radius);
    if (authClass == SecurityText::WpaPersonal || authClass == SecurityText::WpaEnterprise)
        writes.push_back(WriteGroup::Passphrase);
    writes.push_back(WriteGroup::Security);
    if (mode == ApMode::Wds || mode == ApMode::WdsWithAp)
        writes.push_back(WriteGroup::WdsPeers);
    if (mode == ApMode::WirelessClient)
        writes.push_back(WriteGroup::MacClone);
    return writes;
}

BasicWrite BasicWritesFor(ApMode mode)
{
    switch (mode) {
    case ApMode::AccessPoint: return {true, true};
    case ApMode::WdsWithAp:
    case ApMode::Wds: return {true, false};
    case ApMode::WirelessClient: return {false, false};
    }
    return {};
}
