#include "LaunchParameters.h"

#include "HostPaths.h"
#include "VrIni.h"
#include "VrRawText.h"
#include "VrSNMPTarget.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <limits>
#include <optional>

Q_LOGGING_CATEGORY(lcLaunch, "qrt.app.launch", QtInfoMsg)

namespace {

const QString ConfigSection = QStringLiteral("Program Information");

// The value of a switch or of a configuration key, with where it came from
// ("/t", or "AgentPort in /conf/10.0.0.2.cfg") for the error message.
struct Given {
    QString text;
    QString source;
};

int toInt(const Given &given, int low = std::numeric_limits<int>::min(),
          int high = std::numeric_limits<int>::max())
{
    const QString &text = given.text;
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    QString problem;
    if (!ok || text.trimmed() != text)
        problem = QStringLiteral("'%1' is not a valid integer value").arg(text);
    else if (value < low || value > high)
        problem = QStringLiteral("'%1' is out of range (%2 to %3)").arg(text).arg(low).arg(high);
    if (problem.isEmpty())
        return value;
    problem += QStringLiteral(" for ") + given.source;
    // The usual way a value goes wrong in a hand-edited file.
    if (text.contains(u';') || text.contains(u'#'))
        problem += QStringLiteral(" (comments belong on lines of their own)");
    throw VrConversionError(problem);
}

uint16_t toPort(const Given &given)
{
    return uint16_t(toInt(given, 0, std::numeric_limits<uint16_t>::max()));
}

uint8_t toVersion(const Given &given)
{
    return uint8_t(toInt(given, 0, std::numeric_limits<uint8_t>::max()));
}

// A protocol or level given as n counts from 0 where the target counts from 1.
int fromZeroBased(const Given &given)
{
    return toInt(given, std::numeric_limits<int>::min(), std::numeric_limits<int>::max() - 1) + 1;
}

// An engine ID is kept as its octets, one character each; the text given
// stands for the bytes the host passed.
QString engineIdOctets(const QString &text)
{
    return QString::fromLatin1(VrBytesFromText(text));
}

// The device's configuration file, read in the order its keys are listed so
// that a bad number stops at the same place every time.
void applyConfigFile(const QString &fileName)
{
    qCDebug(lcLaunch) << "reading device configuration" << fileName;
    const VrIni ini(fileName);
    const auto read = [&](const char *key, const QString &fallback = QString()) {
        return ini.ReadString(ConfigSection, QString::fromLatin1(key), fallback);
    };
    const auto given = [&](const char *key) {
        return Given{read(key), QStringLiteral("%1 in %2").arg(QLatin1String(key), fileName)};
    };

    g_SNMPDevice.port = toPort(given("AgentPort"));
    g_SNMPSecurity.version = toVersion(given("Version"));
    g_SNMPScope.contextName = read("ContextName", g_SNMPScope.contextName);
    g_SNMPScope.contextEngineId = engineIdOctets(read("ContextEngineID"));
    g_SNMPSecurity.securityModel = toInt(given("SecurityModel"));
    // For the three zero-based keys, 0 keeps what is there.
    if (const Given level = given("SecurityLevel"); toInt(level) != 0)
        g_SNMPSecurity.securityLevel = fromZeroBased(level);
    g_SNMPSecurity.securityName = read("SecurityName");
    if (const Given auth = given("AuthProtocol"); toInt(auth) != 0)
        g_SNMPSecurity.authProtocol = fromZeroBased(auth);
    if (const Given priv = given("PrivProtocol"); toInt(priv) != 0)
        g_SNMPSecurity.privProtocol = fromZeroBased(priv);
    g_SNMPSecurity.authPassword = read("AuthPassword", g_SNMPSecurity.authPassword);
    g_SNMPSecurity.privPassword = read("PrivPassword", g_SNMPSecurity.privPassword);
}

struct Switch {
    const char *marker;
    bool v3Only;
    void (*apply)(const Given &value);
    const char *help;
};

// Tried in this order; the first marker found in an argument wins.
const Switch Switches[] = {
    {"/R", false, [](const Given &v) { g_SNMPSecurity.readCommunity = v.text; }, "read community"},
    {"/W", false, [](const Given &v) { g_SNMPSecurity.writeCommunity = v.text; }, "write community"},
    {"/v", false, [](const Given &v) { g_SNMPSecurity.version = toVersion(v); },
     "SNMP version: 0 SNMPv1, 1 SNMPv2c, 3 SNMPv3"},
    {"/t", true, [](const Given &v) { g_SNMPDevice.port = toPort(v); }, "agent UDP port"},
    {"/c", true, [](const Given &v) { g_SNMPScope.contextName = v.text; }, "context name"},
    {"/d", true, [](const Given &v) { g_SNMPScope.contextEngineId = engineIdOctets(v.text); },
     "context engine ID"},
    {"/m", true, [](const Given &v) { g_SNMPSecurity.securityModel = toInt(v); }, "security model"},
    {"/l", true, [](const Given &v) { g_SNMPSecurity.securityLevel = toInt(v); },
     "security level: 1 noAuthNoPriv, 2 authNoPriv, 3 authPriv"},
    {"/n", true, [](const Given &v) { g_SNMPSecurity.securityName = v.text; }, "USM user name"},
    {"/A", true, [](const Given &v) { g_SNMPSecurity.authPassword = v.text; }, "authentication pass phrase"},
    {"/P", true, [](const Given &v) { g_SNMPSecurity.privPassword = v.text; }, "privacy pass phrase"},
    {"/a", true, [](const Given &v) { g_SNMPSecurity.authProtocol = fromZeroBased(v); },
     "authentication protocol: 0 none, 1 HMAC-MD5, 2 HMAC-SHA"},
    {"/p", true, [](const Given &v) { g_SNMPSecurity.privProtocol = fromZeroBased(v); },
     "privacy protocol: 0 none, 1 DES, 3 AES-128"},
};

const QString AddressMarker = QStringLiteral("/I");

// Everything after the first occurrence of the marker, or nothing when absent.
std::optional<QString> valueAfter(const QString &argument, const QString &marker)
{
    const qsizetype at = argument.indexOf(marker, 0, Qt::CaseSensitive);
    if (at < 0)
        return std::nullopt;
    return argument.mid(at + marker.size());
}

void applySwitch(const QString &argument)
{
    for (const Switch &s : Switches) {
        if (s.v3Only && g_SNMPSecurity.version != VrSNMPv3)
            continue;
        if (const auto value = valueAfter(argument, QString::fromLatin1(s.marker))) {
            qCDebug(lcLaunch) << "switch" << s.marker;
            s.apply(Given{*value, QString::fromLatin1(s.marker)});
            return;
        }
    }
}

} // namespace

void ApplyLaunchArguments(const QStringList &arguments, const QString &configDirectory)
{
    for (const QString &argument : arguments) {
        if (const auto address = valueAfter(argument, AddressMarker)) {
            g_SNMPDevice.address = *address;
            continue;
        }
        // Re-read for every argument: a switch overrides what the file held so far.
        const QString cfg = ConfigFilePath(configDirectory, g_SNMPDevice.address);
        if (QFileInfo(cfg).isFile())
            applyConfigFile(cfg);
        applySwitch(argument);
    }
}

void ApplyConfigFile(const QString &fileName)
{
    applyConfigFile(fileName);
}

QStringList LaunchArguments(int argc, const char *const *argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << VrTextFromBytes(argv[i]);
    return arguments;
}

QString LaunchSwitchesHelp()
{
    QString text = QStringLiteral("  /I<address>   agent IP address or host name\n");
    for (const Switch &s : Switches)
        text += QStringLiteral("  %1<value>     %2%3\n")
                    .arg(QString::fromLatin1(s.marker), QString::fromLatin1(s.help),
                         s.v3Only ? QStringLiteral(" (SNMPv3 only)") : QString());
    return text;
}
