// qrt5150-cli against twenty simulated access points, each on a loopback
// address of its own so that the one TFTP server can tell them apart. One of
// them goes silent and one cannot reach the server: both are reported with
// the catalogue's texts while the others go on.
#include "ApsimProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using qrt::test::ApsimProcess;
using qrt::test::freeUdpPort;

namespace {

constexpr int kDevices = 20;
constexpr int kMuted = 18;   // answers nothing while its mute file exists
constexpr int kNoServer = 19; // its transfers go to a port nobody serves
const char *const kSystemName = "1.3.6.1.2.1.1.5.0";
const char *const kFirmwareVersion = "1.3.6.1.4.1.48213.10.37.37.5.1.1.0";

struct CliRun {
    int exit = -1;
    QString out, err;
};

class CliFleet : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        folder = new QTemporaryDir;
        tftpPort = freeUdpPort();
        const int nowhere = freeUdpPort();
        for (int i = 0; i < kDevices; ++i) {
            auto sim = std::make_unique<ApsimProcess>();
            sim->setHost("127.0.0." + std::to_string(10 + i));
            std::vector<std::string> args{"--reboot-seconds", "1", "--tftp-timeout-ms", "100", "--tftp-port",
                                          std::to_string(i == kNoServer ? nowhere : tftpPort)};
            if (i == kMuted)
                args.insert(args.end(), {"--mute-file", mutePath().toStdString()});
            std::string error;
            ASSERT_TRUE(sim->start(args, &error)) << error;
            sims.push_back(std::move(sim));
        }
        for (int i = 0; i < kDevices; ++i)
            ASSERT_TRUE(snmpSet(i, kSystemName, nameOf(i)));
    }
    static void TearDownTestSuite()
    {
        sims.clear();
        delete folder;
    }

    static QString mutePath() { return folder->filePath(QStringLiteral("mute")); }
    static QString nameOf(int i) { return QStringLiteral("sim%1").arg(i); }
    static QString host(int i) { return QString::fromStdString(sims[size_t(i)]->host()); }
    static QString target(int i) { return QString::fromStdString(sims[size_t(i)]->address()); }

    static QString snmpGet(int i, const char *oid)
    {
        QProcess p;
        p.start(QStringLiteral("snmpget"), {"-v1", "-c", "hollow", "-Oqv", target(i), oid});
        p.waitForFinished();
        return QString::fromUtf8(p.readAllStandardOutput()).trimmed().remove(u'"');
    }
    static bool snmpSet(int i, const char *oid, const QString &text)
    {
        QProcess p;
        p.start(QStringLiteral("snmpset"), {"-v1", "-c", "granite", target(i), oid, "s", text});
        return p.waitForFinished() && p.exitCode() == 0;
    }

    static QString writeFile(const QString &name, const QByteArray &text)
    {
        const QString path = folder->filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(text);
        return path;
    }
    // A devices file of the simulators listed; communities in the file only.
    static QString devicesFile(const std::vector<int> &which)
    {
        QByteArray lines = "# the bench\n* read=hollow write=granite\n";
        for (int i : which)
            lines += (target(i) + u'\n').toUtf8();
        return writeFile(QStringLiteral("devices-%1.txt").arg(which.size()), lines);
    }
    // A simulator of a test's own, on a loopback address of its own.
    static std::unique_ptr<ApsimProcess> extraSimulator(const char *host, std::vector<std::string> args)
    {
        auto sim = std::make_unique<ApsimProcess>();
        sim->setHost(host);
        args.insert(args.end(), {"--tftp-timeout-ms", "100", "--tftp-port", std::to_string(tftpPort)});
        std::string error;
        EXPECT_TRUE(sim->start(args, &error)) << error;
        return sim;
    }
    static std::vector<int> range(int from, int to)
    {
        std::vector<int> out;
        for (int i = from; i < to; ++i)
            out.push_back(i);
        return out;
    }

    static CliRun cli(const QStringList &args, const QString &loggingRules = QString())
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QRT5150_TFTP_PORT"), QString::number(tftpPort));
        if (!loggingRules.isEmpty())
            env.insert(QStringLiteral("QT_LOGGING_RULES"), loggingRules);
        env.insert(QStringLiteral("HOME"), folder->path());
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(QRT_CLI_EXECUTABLE), args);
        p.waitForFinished(180000);
        return CliRun{p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                   QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
    }
    // The --json lines by address.
    static QMap<QString, QJsonObject> outcomes(const CliRun &run)
    {
        QMap<QString, QJsonObject> out;
        for (const QString &line : run.out.split(u'\n', Qt::SkipEmptyParts)) {
            const QJsonObject o = QJsonDocument::fromJson(line.toUtf8()).object();
            out.insert(o.value(QStringLiteral("address")).toString(), o);
        }
        return out;
    }

    static inline QTemporaryDir *folder = nullptr;
    static inline int tftpPort = 0;
    static inline std::vector<std::unique_ptr<ApsimProcess>> sims;
};

TEST_F(CliFleet, BackupOfTwentyWritesEachDevicesOwnFileAndReportsTheTwoThatFailed)
{
    const QString out = folder->filePath(QStringLiteral("backups"));
    QDir().mkpath(out);
    QFile(mutePath()).open(QIODevice::WriteOnly);
    const CliRun run = cli({"--devices", devicesFile(range(0, kDevices)), "--jobs", "8", "--timeout", "1", "--json",
                         "backup", "--out", out});
    QFile::remove(mutePath());
    EXPECT_EQ(run.exit, 1) << qPrintable(run.err);

    const auto results = outcomes(run);
    ASSERT_EQ(results.size(), kDevices) << qPrintable(run.out);
    EXPECT_EQ(results[target(kMuted)]["text"].toString(), "(SNMPClass) SNMP request timed out!");
    EXPECT_EQ(results[target(kNoServer)]["text"].toString(), "(VrTFTP) Timeout!");
    QByteArray reference;
    for (int i = 0; i < kDevices; ++i) {
        const QJsonObject r = results[target(i)];
        const QString file = QDir(out).filePath(host(i) + QStringLiteral(".dcf"));
        if (i == kMuted || i == kNoServer) {
            EXPECT_EQ(r["outcome"].toString(), "failed");
            EXPECT_FALSE(QFile::exists(file) && QFileInfo(file).size() > 0) << qPrintable(file);
            continue;
        }
        EXPECT_EQ(r["outcome"].toString(), "ok") << qPrintable(target(i)) << qPrintable(r["text"].toString());
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(file);
        QByteArray data = f.readAll();
        EXPECT_EQ(r["bytes"].toInteger(), data.size());
        // Its own name and address, and otherwise what every device holds.
        EXPECT_TRUE(data.contains("1.3.6.1.2.1.1.5=" + nameOf(i).toUtf8() + '\n')) << qPrintable(file);
        data.replace(nameOf(i).toUtf8() + '\n', "NAME\n").replace(host(i).toUtf8() + '\n', "HOST\n");
        if (reference.isEmpty())
            reference = data;
        EXPECT_EQ(data, reference) << qPrintable(file);
    }
}

TEST_F(CliFleet, RestoreBringsChangedSettingsBack)
{
    const std::vector<int> which = range(0, 6);
    const QString out = folder->filePath(QStringLiteral("saved"));
    QDir().mkpath(out);
    ASSERT_EQ(cli({"--devices", devicesFile(which), "--jobs", "6", "backup", "--out", out}).exit, 0);
    for (int i : which)
        ASSERT_TRUE(snmpSet(i, kSystemName, QStringLiteral("changed")));

    const CliRun run = cli({"--devices", devicesFile(which), "--jobs", "6", "restore", out});
    EXPECT_EQ(run.exit, 0) << qPrintable(run.out) << qPrintable(run.err);
    for (int i : which)
        EXPECT_EQ(snmpGet(i, kSystemName), nameOf(i));
}

TEST_F(CliFleet, SetChecksValuesAsThePagesDo)
{
    const QString device = QStringLiteral("/I") + target(0);
    struct Case {
        const char *assignment;
        const char *message; // nullptr: written
        const char *oid;
        const char *readBack;
    } cases[] = {
        {"dot11BeaconInterval=600", "Please input a number between 25 and 500.",
         "1.3.6.1.4.1.48213.10.37.37.2.1.3.2.1.1.10.1", "100"},
        {"dot11Dtim=0", "Please input a number between 1 and 15.", "1.3.6.1.4.1.48213.10.37.37.2.1.3.2.1.1.11.1", "1"},
        {"dot11Dtim=3", nullptr, "1.3.6.1.4.1.48213.10.37.37.2.1.3.2.1.1.11.1", "3"},
        {"dot11Wmm=Disable", nullptr, "1.3.6.1.4.1.48213.10.37.37.2.1.3.2.1.1.17.1", "0"},
    };
    for (const Case &c : cases) {
        const CliRun run = cli({device, "/Wgranite", "set", c.assignment});
        if (c.message) {
            EXPECT_EQ(run.exit, 2) << c.assignment;
            EXPECT_TRUE(run.err.contains(QLatin1String(c.message))) << qPrintable(run.err);
        } else {
            EXPECT_EQ(run.exit, 0) << c.assignment << qPrintable(run.out) << qPrintable(run.err);
        }
        QProcess p;
        p.start(QStringLiteral("snmpget"), {"-v1", "-c", "hollow", "-Oqv", target(0), c.oid});
        p.waitForFinished();
        EXPECT_EQ(QString::fromUtf8(p.readAllStandardOutput()).trimmed(), c.readBack) << c.assignment;
    }
}

TEST_F(CliFleet, FirmwareOnFiveInstallsTheNewVersion)
{
    const QString image = folder->filePath(QStringLiteral("qrt5150-1.4.0.bin"));
    QFile f(image);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("QRT5150-FW 1.4.0\n" + QByteArray(3000, 'x'));
    f.close();
    const std::vector<int> which = range(10, 15);
    const CliRun run = cli({"--devices", devicesFile(which), "--jobs", "5", "firmware", image});
    EXPECT_EQ(run.exit, 0) << qPrintable(run.out) << qPrintable(run.err);
    for (int i : which)
        EXPECT_EQ(snmpGet(i, kFirmwareVersion), "1.4.0") << qPrintable(target(i));
}

// The device restarts right after it took the server's address, so the first
// try times out at the next step; the retry, once it is back, succeeds.
TEST_F(CliFleet, RetryTurnsADeviceThatFailedOnceIntoOk)
{
    const auto sim = extraSimulator("127.0.0.40", {"--reboot-seconds", "4", "--restart-after-sets", "1"});
    const QString out = folder->filePath(QStringLiteral("retried"));
    QDir().mkpath(out);
    const QString devices =
        writeFile(QStringLiteral("retry.txt"), "* read=hollow write=granite\n" + QByteArray(sim->address().c_str()) + '\n');
    const CliRun run = cli({"--devices", devices, "--timeout", "1", "--retry", "1", "--json", "backup", "--out", out},
                           QStringLiteral("qrt.cli.fleet.info=true"));
    EXPECT_EQ(run.exit, 0) << qPrintable(run.out) << qPrintable(run.err);
    EXPECT_TRUE(run.err.contains(QLatin1String("retrying 1 devices"))) << qPrintable(run.err);
    const QJsonObject r = outcomes(run).value(QString::fromStdString(sim->address()));
    EXPECT_EQ(r["outcome"].toString(), "ok") << qPrintable(run.out);
    EXPECT_EQ(r["bytes"].toInteger(), QFileInfo(QDir(out).filePath("127.0.0.40.dcf")).size());
    EXPECT_GT(r["bytes"].toInteger(), 0);
}

// An SNMPv3 device named by its line's cfg= file: the file's credentials are
// the ones used (a wrong pass phrase fails), never a command line's.
TEST_F(CliFleet, SnmpV3DeviceTakesItsCredentialsFromItsCfgFile)
{
    const auto sim = extraSimulator("127.0.0.41", {"--user", "ops:SHA:opsauth12:AES:opspriv12"});
    const QString out = folder->filePath(QStringLiteral("v3"));
    QDir().mkpath(out);
    struct Case {
        const char *authPassword;
        const char *outcome;
        const char *text;
    } cases[] = {{"opsauth12", "ok", "(VrSNMP++) Ok!"}, {"notthepass", "failed", "(SNMPv3USM) Authentication failure!"}};
    for (const Case &c : cases) {
        const QString cfg = writeFile(QStringLiteral("v3.cfg"),
                                      "[Program Information]\nAgentPort=" + QByteArray::number(sim->port())
                                          + "\nVersion=3\nSecurityModel=3\nSecurityLevel=2\nSecurityName=ops\n"
                                            "AuthProtocol=2\nPrivProtocol=3\nAuthPassword="
                                          + c.authPassword + "\nPrivPassword=opspriv12\n");
        const QString devices = writeFile(QStringLiteral("v3.txt"), "127.0.0.41 cfg=" + cfg.toUtf8() + '\n');
        const CliRun run = cli({"--devices", devices, "--timeout", "1", "--json", "backup", "--out", out});
        const QJsonObject r = outcomes(run).value(QString::fromStdString(sim->address()));
        EXPECT_EQ(r["outcome"].toString(), c.outcome) << qPrintable(run.out) << qPrintable(run.err);
        EXPECT_EQ(r["text"].toString().toStdString(), c.text);
    }
    EXPECT_GT(QFileInfo(QDir(out).filePath("127.0.0.41.dcf")).size(), 0);
}

} // namespace
