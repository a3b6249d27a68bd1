#include "HostPaths.h"
#include "LaunchParameters.h"
#include "VrRawText.h"
#include "VrSNMPTarget.h"

#include "../unit/TempFile.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <iterator>

namespace {

// A device configuration file with every integer key present, as hosts write it.
QByteArray cfg(const char *version, const char *level, const char *extra = "")
{
    return QByteArray("[Program Information]\n") + "AgentPort=1161\nVersion=" + version
        + "\nContextName=ctx\nContextEngineID=engine\nSecurityModel=3\nSecurityLevel=" + level
        + "\nSecurityName=fileuser\nAuthProtocol=1\nPrivProtocol=1\nAuthPassword=authpass1\n"
          "PrivPassword=privpass1\n"
        + extra;
}

class LaunchParameters : public testing::Test
{
protected:
    void SetUp() override { VrSNMPResetTargetDefaults(); }

    QString dir() const { return LocalDirectory(m_dir.path(QString())); }
    void writeCfg(const char *address, const QByteArray &text)
    {
        m_dir.write(QString::fromLatin1(address) + QStringLiteral(".cfg"), text);
    }
    void apply(const QStringList &arguments) { ApplyLaunchArguments(arguments, dir()); }

    ScratchDir m_dir;
};

} // namespace

TEST_F(LaunchParameters, CommunitiesWithoutConfigFileGiveSnmpV1OnPort161)
{
    apply({QStringLiteral("/I10.0.0.2"), QStringLiteral("/Rreader"), QStringLiteral("/Wwriter")});
    EXPECT_EQ(g_SNMPDevice.address, QStringLiteral("10.0.0.2"));
    EXPECT_EQ(g_SNMPDevice.port, 161);
    EXPECT_EQ(g_SNMPSecurity.version, VrSNMPv1);
    EXPECT_EQ(g_SNMPSecurity.readCommunity, QStringLiteral("reader"));
    EXPECT_EQ(g_SNMPSecurity.writeCommunity, QStringLiteral("writer"));
}

TEST_F(LaunchParameters, MarkerIsFoundAnywhereAndItsValueRunsToTheEndOfTheArgument)
{
    // Table order decides, not position: /R wins over /W, and keeps the rest.
    apply({QStringLiteral("x/I10.0.0.7"), QStringLiteral("/Wzz/Rab/c")});
    EXPECT_EQ(g_SNMPDevice.address, QStringLiteral("10.0.0.7"));
    EXPECT_EQ(g_SNMPSecurity.readCommunity, QStringLiteral("ab/c"));
    EXPECT_EQ(g_SNMPSecurity.writeCommunity, QStringLiteral("granite"));
}

TEST_F(LaunchParameters, Version3SwitchesAreIgnoredUntilTheVersionIs3)
{
    apply({QStringLiteral("/I10.0.0.2"), QStringLiteral("/t1161"), QStringLiteral("/nbob"),
           QStringLiteral("/v3"), QStringLiteral("/t2161"), QStringLiteral("/nalice")});
    EXPECT_EQ(g_SNMPSecurity.version, VrSNMPv3);
    EXPECT_EQ(g_SNMPDevice.port, 2161);
    EXPECT_EQ(g_SNMPSecurity.securityName, QStringLiteral("alice"));
}

TEST_F(LaunchParameters, MarkersAreCaseSensitiveAndProtocolsCountFromZero)
{
    apply({QStringLiteral("/I10.0.0.2"), QStringLiteral("/v3"), QStringLiteral("/Asecret1"),
           QStringLiteral("/a2"), QStringLiteral("/Psecret2"), QStringLiteral("/p3"),
           QStringLiteral("/l3"), QStringLiteral("/cctx"), QStringLiteral("/dengine"), QStringLiteral("/m3")});
    EXPECT_EQ(g_SNMPSecurity.authPassword, QStringLiteral("secret1"));
    EXPECT_EQ(g_SNMPSecurity.authProtocol, VrAuthSHA);
    EXPECT_EQ(g_SNMPSecurity.privPassword, QStringLiteral("secret2"));
    EXPECT_EQ(g_SNMPSecurity.privProtocol, VrPrivAES128);
    EXPECT_EQ(g_SNMPSecurity.securityLevel, VrAuthPriv); // stored as given
    EXPECT_EQ(g_SNMPScope.contextName, QStringLiteral("ctx"));
    EXPECT_EQ(g_SNMPScope.contextEngineId, QStringLiteral("engine"));
    EXPECT_EQ(g_SNMPSecurity.securityModel, 3);
}

TEST_F(LaunchParameters, ConfigFileMakesVersion3AndSwitchesOverrideIt)
{
    writeCfg("10.0.0.2", cfg("3", "2"));
    apply({QStringLiteral("/I10.0.0.2"), QStringLiteral("/ntester")});
    EXPECT_EQ(g_SNMPSecurity.version, VrSNMPv3);
    EXPECT_EQ(g_SNMPSecurity.securityLevel, VrAuthPriv);
    EXPECT_EQ(g_SNMPSecurity.securityName, QStringLiteral("tester"));
    EXPECT_EQ(g_SNMPDevice.port, 1161);
    EXPECT_EQ(g_SNMPSecurity.authProtocol, VrAuthMD5);
    EXPECT_EQ(g_SNMPSecurity.privProtocol, VrPrivDES);
    EXPECT_EQ(g_SNMPSecurity.authPassword, QStringLiteral("authpass1"));
    EXPECT_EQ(g_SNMPScope.contextEngineId, QStringLiteral("engine"));

    VrSNMPResetTargetDefaults();
    apply({QStringLiteral("/I10.0.0.2"), QStringLiteral("/l2")});
    EXPECT_EQ(g_SNMPSecurity.securityLevel, VrAuthNoPriv);
}

TEST_F(LaunchParameters, FileIsReadAgainForEveryArgumentSoLaterArgumentsSeeItsValues)
{
    writeCfg("10.0.0.2", cfg("3", "2"));
    // The user name set by /n is replaced by the file's when the next argument re-reads it.
    apply({QStringLiteral("/I10.0.0.2"), QStringLiteral("/ntester"), QStringLiteral("/Rreader")});
    EXPECT_EQ(g_SNMPSecurity.securityName, QStringLiteral("fileuser"));
    EXPECT_EQ(g_SNMPSecurity.readCommunity, QStringLiteral("reader"));
}

TEST_F(LaunchParameters, Version3BeforeTheAddressIsReplacedByTheFileOfTheLaterAddress)
{
    writeCfg("10.0.0.2", cfg("1", "0"));
    apply({QStringLiteral("/v3"), QStringLiteral("/I10.0.0.2")});
    EXPECT_EQ(g_SNMPSecurity.version, VrSNMPv3);

    apply({QStringLiteral("/Rreader")});
    EXPECT_EQ(g_SNMPSecurity.version, VrSNMPv2c);
    EXPECT_EQ(g_SNMPDevice.port, 1161);
}

TEST_F(LaunchParameters, ArgumentsBeforeTheAddressReadTheDefaultAgentsFile)
{
    writeCfg("127.0.0.1", cfg("3", "0"));
    apply({QStringLiteral("/nearly"), QStringLiteral("/I10.0.0.9")});
    EXPECT_EQ(g_SNMPSecurity.version, VrSNMPv3);
    EXPECT_EQ(g_SNMPSecurity.securityName, QStringLiteral("early"));
    EXPECT_EQ(g_SNMPDevice.address, QStringLiteral("10.0.0.9"));
}

TEST_F(LaunchParameters, ZeroKeepsLevelAndProtocolsAndMissingTextsFollowTheirRules)
{
    g_SNMPScope.contextName = QStringLiteral("keep-ctx");
    g_SNMPSecurity.authPassword = QStringLiteral("keep-auth");
    g_SNMPSecurity.privPassword = QStringLiteral("keep-priv");
    g_SNMPSecurity.securityLevel = VrAuthNoPriv;
    g_SNMPSecurity.authProtocol = VrAuthSHA;
    g_SNMPSecurity.securityName = QStringLiteral("gone");
    g_SNMPScope.contextEngineId = QStringLiteral("gone");
    writeCfg("10.0.0.2", "[Program Information]\nAgentPort=162\nVersion=1\nSecurityModel=1\n"
                         "SecurityLevel=0\nAuthProtocol=0\nPrivProtocol= 0 \n");
    apply({QStringLiteral("/I10.0.0.2"), QStringLiteral("/Rr")});
    EXPECT_EQ(g_SNMPScope.contextName, QStringLiteral("keep-ctx"));
    EXPECT_EQ(g_SNMPSecurity.authPassword, QStringLiteral("keep-auth"));
    EXPECT_EQ(g_SNMPSecurity.privPassword, QStringLiteral("keep-priv"));
    EXPECT_EQ(g_SNMPSecurity.securityLevel, VrAuthNoPriv);
    EXPECT_EQ(g_SNMPSecurity.authProtocol, VrAuthSHA);
    EXPECT_EQ(g_SNMPSecurity.privProtocol, VrPrivNone);
    EXPECT_TRUE(g_SNMPSecurity.securityName.isEmpty());
    EXPECT_TRUE(g_SNMPScope.contextEngineId.isEmpty());
    EXPECT_EQ(g_SNMPDevice.port, 162);
}

TEST_F(LaunchParameters, BadNumbersInTheFileStopAtTheFirstOne)
{
    // SecurityModel is empty: the keys after it are not applied.
    writeCfg("10.0.0.2", "[Program Information]\nAgentPort=1161\nVersion=3\nSecurityName=never\n");
    EXPECT_THROW(apply({QStringLiteral("/I10.0.0.2"), QStringLiteral("/Rr")}), VrConversionError);
    EXPECT_EQ(g_SNMPDevice.port, 1161);
    EXPECT_EQ(g_SNMPSecurity.version, VrSNMPv3);
    EXPECT_TRUE(g_SNMPSecurity.securityName.isEmpty());
    EXPECT_EQ(g_SNMPSecurity.readCommunity, QStringLiteral("hollow"));
}

TEST_F(LaunchParameters, BadOrOutOfRangeNumbersInSwitchesAreRefused)
{
    const char *bad[] = {"/vthree", "/v", "/v 3", "/v259"};
    for (const char *argument : bad) {
        VrSNMPResetTargetDefaults();
        EXPECT_THROW(apply({QStringLiteral("/I10.0.0.2"), QString::fromLatin1(argument)}), VrConversionError)
            << argument;
        EXPECT_EQ(g_SNMPSecurity.version, VrSNMPv1) << argument;
    }
    // A port that does not fit 16 bits would silently become another port.
    EXPECT_THROW(apply({QStringLiteral("/v3"), QStringLiteral("/t70000")}), VrConversionError);
    EXPECT_EQ(g_SNMPDevice.port, 161);
    try {
        apply({QStringLiteral("/ax")});
        FAIL() << "no error";
    } catch (const VrConversionError &error) {
        EXPECT_EQ(error.Message(), QStringLiteral("'x' is not a valid integer value for /a"));
    }
}

TEST_F(LaunchParameters, ArgumentWithoutMarkerChangesNothingButTheFileReading)
{
    apply({QStringLiteral("/I10.0.0.2"), QStringLiteral("plain"), QStringLiteral("/X1")});
    EXPECT_EQ(g_SNMPDevice.address, QStringLiteral("10.0.0.2"));
    EXPECT_EQ(g_SNMPSecurity.readCommunity, QStringLiteral("hollow"));

    writeCfg("10.0.0.2", cfg("3", "1"));
    apply({QStringLiteral("plain")});
    EXPECT_EQ(g_SNMPSecurity.securityLevel, VrAuthNoPriv);
}

TEST_F(LaunchParameters, BytesThatAreNotUtf8ReachTheTargetUnchanged)
{
    const char *argv[] = {"qrt5150", "/I10.0.0.2", "/R\xE9", "/Wwr\xFF\xFEte", "/v3",
                          "/nus\xE9r", "/Apass\xE9phrase", "/P\xC3\xA9t\xE9", "/d\x80\x01\xE9", "/cctx\xE9"};
    apply(LaunchArguments(int(std::size(argv)), argv));
    EXPECT_EQ(VrBytesFromText(g_SNMPSecurity.readCommunity), QByteArray("\xE9"));
    EXPECT_EQ(VrBytesFromText(g_SNMPSecurity.writeCommunity), QByteArray("wr\xFF\xFEte"));
    EXPECT_EQ(VrBytesFromText(g_SNMPSecurity.securityName), QByteArray("us\xE9r"));
    EXPECT_EQ(VrBytesFromText(g_SNMPSecurity.authPassword), QByteArray("pass\xE9phrase"));
    EXPECT_EQ(VrBytesFromText(g_SNMPSecurity.privPassword), QByteArray("\xC3\xA9t\xE9"));
    EXPECT_EQ(VrBytesFromText(g_SNMPScope.contextName), QByteArray("ctx\xE9"));
    // The engine ID is kept as its octets, one character each.
    EXPECT_EQ(g_SNMPScope.contextEngineId.toLatin1(), QByteArray("\x80\x01\xE9"));
    // Plain and UTF-8 values read as the text they are.
    const char *plain[] = {"qrt5150", "/I10.0.0.3", "/Rcaf\xC3\xA9"};
    apply(LaunchArguments(int(std::size(plain)), plain));
    EXPECT_EQ(g_SNMPDevice.address, QStringLiteral("10.0.0.3"));
    EXPECT_EQ(g_SNMPSecurity.readCommunity, QString::fromUtf8("caf\xC3\xA9"));
}

TEST_F(LaunchParameters, ConfigFileValuesKeepTheirBytes)
{
    writeCfg("10.0.0.2", cfg("3", "2", "").replace("authpass1", "auth\xE9pass").replace("fileuser", "\xFFuser"));
    apply({QStringLiteral("/I10.0.0.2"), QStringLiteral("x")});
    EXPECT_EQ(VrBytesFromText(g_SNMPSecurity.authPassword), QByteArray("auth\xE9pass"));
    EXPECT_EQ(VrBytesFromText(g_SNMPSecurity.securityName), QByteArray("\xFFuser"));
}

TEST_F(LaunchParameters, ConversionErrorsNameTheKeyAndTheFileOrTheSwitch)
{
    const QString file = dir() + QStringLiteral("10.0.0.2.cfg");
    struct Case {
        QByteArray cfg;
        const char *argument;
        QString message;
    };
    const Case cases[] = {
        {"[Program Information]\nAgentPort=161 ; required\n", "x",
         QStringLiteral("'161 ; required' is not a valid integer value for AgentPort in %1"
                        " (comments belong on lines of their own)").arg(file)},
        {"[Program Information]\nAgentPort=161\nVersion=3\n", "x",
         QStringLiteral("'' is not a valid integer value for SecurityModel in %1").arg(file)},
        {"[Program Information]\nAgentPort=99999\n", "x",
         QStringLiteral("'99999' is out of range (0 to 65535) for AgentPort in %1").arg(file)},
        {"", "/v3x", QStringLiteral("'3x' is not a valid integer value for /v")},
    };
    for (const Case &c : cases) {
        VrSNMPResetTargetDefaults();
        QFile::remove(file);
        if (!c.cfg.isEmpty())
            writeCfg("10.0.0.2", c.cfg);
        try {
            apply({QStringLiteral("/I10.0.0.2"), QString::fromLatin1(c.argument)});
            ADD_FAILURE() << "no error for " << c.cfg.constData() << c.argument;
        } catch (const VrConversionError &error) {
            EXPECT_EQ(error.Message(), c.message);
        }
    }
}

TEST_F(LaunchParameters, TheReadmeExampleFileIsAccepted)
{
    QFile readme(QStringLiteral(QRT_SOURCE_DIR "/src/app/README.md"));
    ASSERT_TRUE(readme.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(readme.readAll());
    const QRegularExpressionMatch example =
        QRegularExpression(QStringLiteral("```ini\n(\\[Program Information\\]\n.*?)```"),
                           QRegularExpression::DotMatchesEverythingOption)
            .match(text);
    ASSERT_TRUE(example.hasMatch());
    writeCfg("192.168.0.50", example.captured(1).toUtf8());
    EXPECT_NO_THROW(apply({QStringLiteral("/I192.168.0.50"), QStringLiteral("x")}));
    EXPECT_EQ(g_SNMPDevice.port, 161);
    EXPECT_EQ(g_SNMPSecurity.version, VrSNMPv3);
    EXPECT_EQ(g_SNMPSecurity.securityLevel, VrAuthPriv);
    EXPECT_EQ(g_SNMPSecurity.securityName, QStringLiteral("admin"));
    EXPECT_EQ(g_SNMPSecurity.authProtocol, VrAuthSHA);
    EXPECT_EQ(g_SNMPSecurity.privPassword, QStringLiteral("privpass1"));
}

namespace {

// The start-up log lines of a run (the category is on at info level).
struct LaunchLog {
    LaunchLog() { s_lines.clear(); s_previous = qInstallMessageHandler(&LaunchLog::record); }
    ~LaunchLog() { qInstallMessageHandler(s_previous); }
    static void record(QtMsgType, const QMessageLogContext &context, const QString &text)
    {
        if (QLatin1String(context.category) == QLatin1String("qrt.app.launch"))
            s_lines << text;
    }
    static inline QStringList s_lines;
    static inline QtMessageHandler s_previous = nullptr;
};

} // namespace

TEST_F(LaunchParameters, ValuesThatAreNotDefinedAreRefusedWithTheValuesTaken)
{
    const QString file = dir() + QStringLiteral("10.0.0.2.cfg");
    struct Case {
        QByteArray cfg;
        QStringList arguments;
        QString message; // the start of it
    };
    const QByteArray badAuth = cfg("3", "0").replace("AuthProtocol=1", "AuthProtocol=9");
    const Case cases[] = {
        {"", {"/v2"}, "'2' is not a value of /v, which takes 0 SNMPv1, 1 SNMPv2c, 3 SNMPv3"},
        {"", {"/v9"}, "'9' is not a value of /v, which takes 0 SNMPv1, 1 SNMPv2c, 3 SNMPv3"},
        {"", {"/v3", "/l9"}, "'9' is not a value of /l, which takes 1 noAuthNoPriv, 2 authNoPriv, 3 authPriv"},
        {"", {"/v3", "/l0"}, "'0' is not a value of /l, which takes"},
        {cfg("2", "0"), {"x"}, "'2' is not a value of Version in " + file + ", which takes 0 SNMPv1"},
        {cfg("3", "3"), {"x"}, "'3' is not a value of SecurityLevel in " + file
                                   + ", which takes 0 (unchanged), 1 authNoPriv, 2 authPriv"},
        {"", {"/v3", "/a7"}, "(SNMPv3USM) Unsupported AuthProtocol!\n'7' from /a; the values are 0 none, 1 HMAC-MD5"},
        {"", {"/v3", "/p2"}, "(SNMPv3USM) Unsupported PrivProtocol!\n'2' from /p; the values are 0 none, 1 DES, "
                                 "3 AES-128, 4 AES-192, 5 AES-256"},
        {badAuth, {"x"}, "(SNMPv3USM) Unsupported AuthProtocol!\n'9' from AuthProtocol in " + file},
        {"", {"/I127.0.0.1:16100"}, "'127.0.0.1:16100' for /I holds a port: give /I the address alone (/I127.0.0.1); "
                                    "the port belongs in the device's .cfg file, " + dir()
                                        + "127.0.0.1.cfg, as AgentPort=16100"},
        {"", {"/I[::1]:161"}, "'[::1]:161' for /I holds a port"},
    };
    for (const Case &c : cases) {
        VrSNMPResetTargetDefaults();
        QFile::remove(file);
        if (!c.cfg.isEmpty())
            writeCfg("10.0.0.2", c.cfg);
        try {
            apply(QStringList{QStringLiteral("/I10.0.0.2")} + c.arguments);
            ADD_FAILURE() << "no error for " << c.arguments.join(u' ').toStdString();
        } catch (const VrConversionError &error) {
            EXPECT_TRUE(error.Message().startsWith(c.message)) << error.Message().toStdString();
        }
    }
    // Without SNMPv3 the protocols do not count; plain IPv6 addresses have no port.
    VrSNMPResetTargetDefaults();
    writeCfg("10.0.0.2", cfg("1", "0").replace("AuthProtocol=1", "AuthProtocol=9"));
    EXPECT_NO_THROW(apply({QStringLiteral("/I10.0.0.2"), QStringLiteral("x")}));
    for (const char *address : {"/I::1", "/Ife80::1", "/Ihost.example"})
        EXPECT_NO_THROW(apply({QString::fromLatin1(address)})) << address;
}

TEST_F(LaunchParameters, NewProtocolValuesExtendTheNumbering)
{
    const std::pair<const char *, int> auths[] = {{"/a3", VrAuthSHA224}, {"/a4", VrAuthSHA256},
                                                  {"/a5", VrAuthSHA384}, {"/a6", VrAuthSHA512}};
    for (const auto &[argument, protocol] : auths) {
        apply({QStringLiteral("/I10.0.0.2"), QStringLiteral("/v3"), QString::fromLatin1(argument)});
        EXPECT_EQ(g_SNMPSecurity.authProtocol, protocol) << argument;
    }
    apply({QStringLiteral("/v3"), QStringLiteral("/p4")});
    EXPECT_EQ(g_SNMPSecurity.privProtocol, VrPrivAES192);
    writeCfg("10.0.0.2", cfg("3", "2").replace("AuthProtocol=1", "AuthProtocol=4").replace("PrivProtocol=1",
                                                                                            "PrivProtocol=5"));
    apply({QStringLiteral("/I10.0.0.2"), QStringLiteral("x")});
    EXPECT_EQ(g_SNMPSecurity.authProtocol, VrAuthSHA256);
    EXPECT_EQ(g_SNMPSecurity.privProtocol, VrPrivAES256);
}

TEST_F(LaunchParameters, FileValuesThatReplaceASwitchAreLoggedWithoutSecrets)
{
    const QString file = dir() + QStringLiteral("10.0.0.2.cfg");
    writeCfg("10.0.0.2", cfg("3", "2"));
    struct Case {
        QStringList arguments;
        QString line; // "" when nothing is to be logged
    };
    const Case cases[] = {
        {{"/v1", "x"}, "Version=3 in " + file + " replaces /v1"},
        {{"/v3", "/t2000", "x"}, "AgentPort=1161 in " + file + " replaces /t2000"},
        {{"/v3", "/Asecret-switch", "x"}, "AuthPassword in " + file + " replaces the value of /A"},
        {{"/v3", "/nfileuser", "x"}, ""}, // the same value
        {{"/v3", "/Rreader", "x"}, ""},   // no key of the file
    };
    for (const Case &c : cases) {
        VrSNMPResetTargetDefaults();
        LaunchLog log;
        apply(QStringList{QStringLiteral("/I10.0.0.2")} + c.arguments);
        const QStringList replaced = LaunchLog::s_lines.filter(QStringLiteral("replaces"));
        EXPECT_EQ(replaced, c.line.isEmpty() ? QStringList{} : QStringList{c.line}) << c.arguments.join(u' ').toStdString();
        EXPECT_FALSE(LaunchLog::s_lines.join(u'\n').contains(QStringLiteral("secret")));
        EXPECT_FALSE(LaunchLog::s_lines.join(u'\n').contains(QStringLiteral("authpass1")));
    }
}
