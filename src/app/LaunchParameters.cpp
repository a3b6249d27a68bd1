#include "LaunchParameters.h"

#include "HostPaths.h"
#include "VrIni.h"
#include "VrRawText.h"
#include "VrSNMPError.h"
#include "VrSNMPTarget.h"

#include <QFileInfo>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <algorithm>
#include <limits>
#include <map>
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

// A number that must be one of a few values: anything else is refused with
// the values it takes, rather than silently meaning something else.
int oneOf(const Given &given, std::initializer_list<int> values, const char *meaning)
{
    const int value = toInt(given);
    if (std::find(values.begin(), values.end(), value) != values.end())
        return value;
    throw VrConversionError(QStringLiteral("'%1' is not a value of %2, which takes %3")
                                .arg(given.text, given.source, QLatin1String(meaning)));
}

const char VersionValues[] = "0 SNMPv1, 1 SNMPv2c, 3 SNMPv3";

uint8_t toVersion(const Given &given)
{
    return uint8_t(oneOf(given, {VrSNMPv1, VrSNMPv2c, VrSNMPv3}, VersionValues));
}

// A protocol or level given as n counts from 0 where the target counts from 1.
int fromZeroBased(const Given &given)
{
    return toInt(given, std::numeric_limits<int>::min(), std::numeric_limits<int>::max() - 1) + 1;
}

// The values of the protocol switches and keys (n for protocol n + 1).
const char AuthValues[] =
    "0 none, 1 HMAC-MD5, 2 HMAC-SHA, 3 HMAC-SHA-224, 4 HMAC-SHA-256, 5 HMAC-SHA-384, 6 HMAC-SHA-512";
const char PrivValues[] = "0 none, 1 DES, 3 AES-128, 4 AES-192, 5 AES-256";

// Where the values that count at the end came from: for the protocol check
// and for telling which switch a configuration file value replaces.
struct Origins {
    QString auth = QStringLiteral("the default");
    QString priv = QStringLiteral("the default");
    std::map<QString, QString> bySwitch; // configuration key -> the switch that set its field
};
Origins g_origins;

// A snapshot of what the configuration file can change, by key, to tell
// which of its values replaced a switch's. Secrets are compared, never shown.
std::map<QString, QString> fileFields()
{
    return {{QStringLiteral("AgentPort"), QString::number(g_SNMPDevice.port)},
            {QStringLiteral("Version"), QString::number(g_SNMPSecurity.version)},
            {QStringLiteral("ContextName"), g_SNMPScope.contextName},
            {QStringLiteral("ContextEngineID"), g_SNMPScope.contextEngineId},
            {QStringLiteral("SecurityModel"), QString::number(g_SNMPSecurity.securityModel)},
            {QStringLiteral("SecurityLevel"), QString::number(g_SNMPSecurity.securityLevel)},
            {QStringLiteral("SecurityName"), g_SNMPSecurity.securityName},
            {QStringLiteral("AuthProtocol"), QString::number(g_SNMPSecurity.authProtocol)},
            {QStringLiteral("PrivProtocol"), QString::number(g_SNMPSecurity.privProtocol)},
            {QStringLiteral("AuthPassword"), g_SNMPSecurity.authPassword},
            {QStringLiteral("PrivPassword"), g_SNMPSecurity.privPassword}};
}

bool isNumericKey(const QString &key)
{
    static const QStringList numeric{QStringLiteral("AgentPort"), QStringLiteral("Version"),
                                     QStringLiteral("SecurityModel"), QStringLiteral("SecurityLevel"),
                                     QStringLiteral("AuthProtocol"), QStringLiteral("PrivProtocol")};
    return numeric.contains(key);
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
    const auto before = fileFields();
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
        g_SNMPSecurity.securityLevel = oneOf(level, {1, 2}, "0 (unchanged), 1 authNoPriv, 2 authPriv") + 1;
    g_SNMPSecurity.securityName = read("SecurityName");
    if (const Given auth = given("AuthProtocol"); toInt(auth) != 0) {
        g_SNMPSecurity.authProtocol = fromZeroBased(auth);
        g_origins.auth = auth.source;
    }
    if (const Given priv = given("PrivProtocol"); toInt(priv) != 0) {
        g_SNMPSecurity.privProtocol = fromZeroBased(priv);
        g_origins.priv = priv.source;
    }
    g_SNMPSecurity.authPassword = read("AuthPassword", g_SNMPSecurity.authPassword);
    g_SNMPSecurity.privPassword = read("PrivPassword", g_SNMPSecurity.privPassword);

    // A value of the file that replaces what a switch gave is worth a line in
    // the log: the host may not know that its file wins.
    const auto after = fileFields();
    for (const auto &[key, value] : after) {
        const auto bySwitch = g_origins.bySwitch.find(key);
        if (bySwitch == g_origins.bySwitch.end() || before.at(key) == value)
            continue;
        const QString what = isNumericKey(key)
            ? QStringLiteral("%1=%2 in %3 replaces %4%5").arg(key, value, fileName, bySwitch->second, before.at(key))
            : QStringLiteral("%1 in %2 replaces the value of %3").arg(key, fileName, bySwitch->second);
        qCInfo(lcLaunch).noquote() << what;
        g_origins.bySwitch.erase(bySwitch);
    }
}

struct Switch {
    const char *marker;
    bool v3Only;
    void (*apply)(const Given &value);
    const char *help;
    const char *configKey; // the configuration key of the same field, if any
};

// Tried in this order; the first marker found in an argument wins.
const char LevelValues[] = "1 noAuthNoPriv, 2 authNoPriv, 3 authPriv";

const Switch Switches[] = {
    {"/R", false, [](const Given &v) { g_SNMPSecurity.readCommunity = v.text; }, "read community", nullptr},
    {"/W", false, [](const Given &v) { g_SNMPSecurity.writeCommunity = v.text; }, "write community", nullptr},
    {"/v", false, [](const Given &v) { g_SNMPSecurity.version = toVersion(v); },
     "SNMP version: 0 SNMPv1, 1 SNMPv2c, 3 SNMPv3", "Version"},
    {"/t", true, [](const Given &v) { g_SNMPDevice.port = toPort(v); }, "agent UDP port", "AgentPort"},
    {"/c", true, [](const Given &v) { g_SNMPScope.contextName = v.text; }, "context name", "ContextName"},
    {"/d", true, [](const Given &v) { g_SNMPScope.contextEngineId = engineIdOctets(v.text); },
     "context engine ID", "ContextEngineID"},
    {"/m", true, [](const Given &v) { g_SNMPSecurity.securityModel = toInt(v); }, "security model",
     "SecurityModel"},
    {"/l", true, [](const Given &v) { g_SNMPSecurity.securityLevel = oneOf(v, {1, 2, 3}, LevelValues); },
     "security level: 1 noAuthNoPriv, 2 authNoPriv, 3 authPriv", "SecurityLevel"},
    {"/n", true, [](const Given &v) { g_SNMPSecurity.securityName = v.text; }, "USM user name", "SecurityName"},
    {"/A", true, [](const Given &v) { g_SNMPSecurity.authPassword = v.text; }, "authentication pass phrase",
     "AuthPassword"},
    {"/P", true, [](const Given &v) { g_SNMPSecurity.privPassword = v.text; }, "privacy pass phrase",
     "PrivPassword"},
    {"/a", true,
     [](const Given &v) {
         g_SNMPSecurity.authProtocol = fromZeroBased(v);
         g_origins.auth = v.source;
     },
     "authentication protocol: 0 none, 1 HMAC-MD5, 2 HMAC-SHA, 3 HMAC-SHA-224,\n"
     "                4 HMAC-SHA-256, 5 HMAC-SHA-384, 6 HMAC-SHA-512",
     "AuthProtocol"},
    {"/p", true,
     [](const Given &v) {
         g_SNMPSecurity.privProtocol = fromZeroBased(v);
         g_origins.priv = v.source;
     },
     "privacy protocol: 0 none, 1 DES, 3 AES-128, 4 AES-192, 5 AES-256", "PrivProtocol"},
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
            if (s.configKey)
                g_origins.bySwitch[QString::fromLatin1(s.configKey)] = QString::fromLatin1(s.marker);
            return;
        }
    }
}

// "host:port" or "[v6 address]:port": the port of an address given with one.
std::optional<QString> portIn(const QString &address)
{
    static const QRegularExpression withPort(QStringLiteral("^(?:\\[[^\\]]*\\]|[^:\\[\\]]+):(\\d+)$"));
    const QRegularExpressionMatch match = withPort.match(address);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1);
}

// A protocol this build cannot speak fails every exchange: refused at once,
// with the catalogue's text and where the value came from.
void checkProtocols()
{
    if (g_SNMPSecurity.version != VrSNMPv3)
        return;
    constexpr int UnsupportedAuthProtocol = -312;
    constexpr int UnsupportedPrivProtocol = -313;
    const auto refuse = [](int code, const QString &source, int protocol, const char *values) {
        throw VrConversionError(QStringLiteral("%1\n'%2' from %3; the values are %4")
                                    .arg(VrSNMPMessage(code), QString::number(protocol - 1), source,
                                         QLatin1String(values)));
    };
    if (!VrSNMPAuthProtocolSupported(g_SNMPSecurity.authProtocol))
        refuse(UnsupportedAuthProtocol, g_origins.auth, g_SNMPSecurity.authProtocol, AuthValues);
    if (!VrSNMPPrivProtocolSupported(g_SNMPSecurity.privProtocol))
        refuse(UnsupportedPrivProtocol, g_origins.priv, g_SNMPSecurity.privProtocol, PrivValues);
}

} // namespace

void ApplyLaunchArguments(const QStringList &arguments, const QString &configDirectory)
{
    g_origins = Origins{};
    for (const QString &argument : arguments) {
        if (const auto address = valueAfter(argument, AddressMarker)) {
            if (const auto port = portIn(*address)) {
                const QString host = address->left(address->size() - port->size() - 1);
                throw VrConversionError(
                    QStringLiteral("'%1' for /I holds a port: give /I the address alone (/I%2); the port "
                                   "belongs in the device's .cfg file, %3, as AgentPort=%4")
                        .arg(*address, host, ConfigFilePath(configDirectory, host), *port));
            }
            g_SNMPDevice.address = *address;
            continue;
        }
        // Re-read for every argument: a switch overrides what the file held so far.
        const QString cfg = ConfigFilePath(configDirectory, g_SNMPDevice.address);
        if (QFileInfo(cfg).isFile())
            applyConfigFile(cfg);
        applySwitch(argument);
    }
    checkProtocols();
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
