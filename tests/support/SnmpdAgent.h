#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>

// A private Net-SNMP snmpd on a free loopback port, with its own
// configuration: v1/v2c read and write communities, three v3 users, a
// writable system group and a deterministic table under kTableRoot.
class SnmpdAgent
{
public:
    static constexpr const char *kReadCommunity = "hollow";
    static constexpr const char *kWriteCommunity = "granite";
    // Sees only kTableRoot, so a walk past the table ends with noSuchName
    // (SNMPv1) or endOfMibView.
    static constexpr const char *kTableOnlyCommunity = "tableonly";

    static constexpr const char *kNoAuthUser = "plainuser";
    static constexpr const char *kMd5DesUser = "md5desuser";
    static constexpr const char *kMd5Password = "md5password";
    static constexpr const char *kDesPassword = "despassword";
    static constexpr const char *kShaAesUser = "shaaesuser";
    static constexpr const char *kShaPassword = "shapassword";
    static constexpr const char *kAesPassword = "aespassword";

    // One user per authentication protocol and privacy protocol ("none": an
    // authNoPriv user), named after them (UsmUser), each with the pass
    // phrases UsmAuthPassword and UsmPrivPassword; the protocol names are
    // Net-SNMP's ("SHA-256", "AES" for AES-128, "AES-256").
    static constexpr const char *kUsmAuths[] = {"MD5", "SHA", "SHA-224", "SHA-256", "SHA-384", "SHA-512"};
    static constexpr const char *kUsmPrivs[] = {"none", "AES", "AES-256"};
    static QByteArray UsmUser(const char *auth, const char *priv) { return QByteArray("u-") + auth + "-" + priv; }
    static QByteArray UsmAuthPassword(const char *auth) { return QByteArray("auth-") + auth + "-phrase"; }
    static QByteArray UsmPrivPassword(const char *priv) { return QByteArray("priv-") + priv + "-phrase"; }

    // Table: kTableRows rows indexed 1..kTableRows; column 1 INTEGER
    // (row * 10), column 2 OCTET STRING ("row<n>"), both writable.
    static constexpr const char *kTableRoot = "1.3.6.1.4.1.99999.1";
    static constexpr const char *kColumn1 = "1.3.6.1.4.1.99999.1.1.1";
    static constexpr const char *kColumn2 = "1.3.6.1.4.1.99999.1.1.2";
    static constexpr int kTableRows = 120;
    // A read-only table of kWideRows rows: column 1 INTEGER (the row), column
    // 2 an OCTET STRING of kWideTextBytes bytes, column 3 INTEGER on every
    // seventh row only. The agent keeps its answers within 1472 bytes.
    static constexpr const char *kWideRoot = "1.3.6.1.4.1.99999.3";
    static constexpr int kWideRows = 300;
    static constexpr int kWideTextBytes = 120;
    // Writable scalars of other types: .1 Gauge32 (7), .2 Counter32 (8),
    // .3 OBJECT IDENTIFIER (1.3.6.1.4.1.99999.9), all with instance ".0".
    static constexpr const char *kScalarRoot = "1.3.6.1.4.1.99999.2";

    SnmpdAgent() = default;
    ~SnmpdAgent();
    SnmpdAgent(const SnmpdAgent &) = delete;
    SnmpdAgent &operator=(const SnmpdAgent &) = delete;

    // Starts the agent (optionally pinned to one CPU) and waits until it
    // serves requests; false with a reason when it could not.
    bool Start(QString *why = nullptr, int cpu = -1);
    void Stop();

    QString Address() const { return QStringLiteral("127.0.0.1"); }
    uint16_t Port() const { return m_port; }
    qint64 Pid() const { return m_process.processId(); }

private:
    bool writeConfig(QString *why);

    QTemporaryDir m_dir;
    QProcess m_process;
    uint16_t m_port = 0;
};

// The QCoreApplication that asynchronous requests need for their event loop.
void EnsureCoreApplication();
// A UDP socket on 127.0.0.1 that takes datagrams and never answers.
class SilentUdpPeer
{
public:
    SilentUdpPeer();
    ~SilentUdpPeer();
    SilentUdpPeer(const SilentUdpPeer &) = delete;
    SilentUdpPeer &operator=(const SilentUdpPeer &) = delete;

    uint16_t Port() const { return m_port; }
    // Datagrams received since the last call.
    int Drain();

private:
    uint16_t m_port = 0;
    int m_fd = -1; // after m_port: its initialiser sets the port
};
