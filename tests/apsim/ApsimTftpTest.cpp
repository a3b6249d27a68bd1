// The device's TFTP client against tftpd-hpa on a loopback port: transfers
// in both directions arrive byte for byte, and the transfer commands act.
#include "ApsimProcess.h"
#include "SnmpTestClient.h"
#include "TftpClient.h"

#include <gtest/gtest.h>
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <thread>

using namespace qrt::test;
namespace fs = std::filesystem;

namespace {

const std::string P = "1.3.6.1.4.1.48213.10.37.37.";
const std::string TftpServer = P + "4.3.2.1", TftpFile = P + "4.3.2.2", TftpCommand = P + "4.3.2.3",
                  Upgrade = P + "4.3.2.4", Firmware = P + "5.1.1.0", Ssid = P + "2.1.3.2.1.1.1.1";

// tftpd-hpa serving a private folder on a free loopback port.
class Tftpd
{
public:
    Tftpd()
    {
        char dir[] = "/tmp/qrt-tftpd-XXXXXX";
        m_dir = mkdtemp(dir);
        chmod(m_dir.c_str(), 0777);
        m_port = freeUdpPort();
        m_pid = fork();
        if (m_pid == 0) {
            const std::string address = "127.0.0.1:" + std::to_string(m_port);
            std::vector<std::string> args{"/usr/sbin/in.tftpd", "--foreground", "--listen", "--address", address,
                                          "--create", "--secure"};
            if (getuid() == 0) // as root it would change to nobody
                args.insert(args.end(), {"--user", getpwuid(0)->pw_name});
            args.push_back(m_dir);
            std::vector<char *> argv;
            for (std::string &a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            freopen("/dev/null", "w", stderr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
    }
    ~Tftpd()
    {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
        fs::remove_all(m_dir);
    }
    bool running() const { return waitpid(m_pid, nullptr, WNOHANG) == 0; }
    int port() const { return m_port; }
    std::string path(const std::string &file) const { return m_dir + "/" + file; }
    void write(const std::string &file, const std::string &data) const
    {
        std::ofstream(path(file), std::ios::binary) << data;
        chmod(path(file).c_str(), 0666);
    }
    std::string read(const std::string &file) const
    {
        std::ifstream in(path(file), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

private:
    std::string m_dir;
    int m_port = 0;
    pid_t m_pid = -1;
};

std::string randomBytes(size_t n, unsigned seed)
{
    std::mt19937 rng(seed);
    std::string s(n, '\0');
    for (char &c : s)
        c = static_cast<char>(rng());
    return s;
}

class ApsimTftp : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!tftpd.running())
            GTEST_SKIP() << "in.tftpd (tftpd-hpa) does not run here";
    }
    Tftpd tftpd;
};

} // namespace

TEST_F(ApsimTftp, ClientTransfersAreByteIdenticalBothWays)
{
    apsim::TftpClient client("127.0.0.1", tftpd.port(), 500);
    for (const size_t size : {size_t{0}, size_t{1}, size_t{511}, size_t{512}, size_t{513}, size_t{1024}, size_t{70001}}) {
        const std::string data = randomBytes(size, static_cast<unsigned>(size));
        const std::string name = "file-" + std::to_string(size) + ".bin";
        tftpd.write(name, data);
        std::string fetched, error;
        ASSERT_TRUE(client.get(name, fetched, error)) << error;
        EXPECT_EQ(fetched, data) << size;

        const std::string upload = "up-" + name, sent = randomBytes(size, static_cast<unsigned>(size) + 1);
        ASSERT_TRUE(client.put(upload, sent, error)) << error;
        EXPECT_EQ(tftpd.read(upload), sent) << size;
    }
}

TEST_F(ApsimTftp, ClientReportsServerErrorsAndSilence)
{
    std::string data, error;
    EXPECT_FALSE(apsim::TftpClient("127.0.0.1", tftpd.port(), 500).get("missing.bin", data, error));
    EXPECT_NE(error.find("TFTP server error"), std::string::npos) << error;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(apsim::TftpClient("127.0.0.1", freeUdpPort(), 50).get("x", data, error));
    EXPECT_NE(error.find("does not answer"), std::string::npos) << error;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

// A server that loses the first copy of every packet it receives: the client
// must send each one again after its time-out.
TEST(ApsimTftpClient, RetransmitsWhatTheServerLost)
{
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a), 0);
    ASSERT_EQ(getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len), 0);
    int received = 0;
    std::thread server([&] {
        const std::string replies[] = {std::string("\0\4\0\0", 4), std::string("\0\4\0\1", 4)}; // ACK 0, ACK 1
        for (const std::string &reply : replies) {
            char buf[600];
            sockaddr_in from{};
            socklen_t fromLen = sizeof from;
            for (int copy = 0; copy < 2; ++copy) { // the first copy is "lost"
                if (recvfrom(fd, buf, sizeof buf, 0, reinterpret_cast<sockaddr *>(&from), &fromLen) > 0)
                    ++received;
            }
            sendto(fd, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr *>(&from), fromLen);
        }
    });
    std::string error;
    EXPECT_TRUE(apsim::TftpClient("127.0.0.1", ntohs(a.sin_port), 100).put("f", "tiny", error)) << error;
    server.join();
    close(fd);
    EXPECT_EQ(received, 4); // request and data block, each sent twice
}

TEST_F(ApsimTftp, ConfigurationBackupRestoresOnAnotherDevice)
{
    ApsimProcess first, second;
    const std::vector<std::string> args{"--tftp-port", std::to_string(tftpd.port()), "--reboot-seconds", "0"};
    ASSERT_TRUE(first.start(args));
    ASSERT_TRUE(second.start(args));
    auto a = SnmpTestClient::community(first.address(), "granite");
    ASSERT_EQ(a.setBytes(Ssid, "backed up").status, 0);
    ASSERT_EQ(a.setIp(TftpServer, "127.0.0.1").status, 0);
    ASSERT_EQ(a.setBytes(TftpFile, "ap.dcf").status, 0);
    ASSERT_EQ(a.setInt(TftpCommand, 3).status, 0);
    EXPECT_NE(tftpd.read("ap.dcf").find(Ssid + "=backed up\n"), std::string::npos);

    auto b = SnmpTestClient::community(second.address(), "granite");
    ASSERT_EQ(b.setIp(TftpServer, "127.0.0.1").status, 0);
    ASSERT_EQ(b.setBytes(TftpFile, "ap.dcf").status, 0);
    ASSERT_EQ(b.setInt(Upgrade, 3).status, 0);
    EXPECT_EQ(b.get(Ssid).bytes, "backed up");

    tftpd.write("broken.dcf", "this is not a configuration\n");
    ASSERT_EQ(b.setBytes(TftpFile, "broken.dcf").status, 0);
    EXPECT_EQ(b.setInt(Upgrade, 3).status, SNMP_ERR_INCONSISTENTVALUE);
    ASSERT_EQ(b.setBytes(TftpFile, "absent.dcf").status, 0);
    EXPECT_EQ(b.setInt(TftpCommand, 2).status, SNMP_ERR_GENERR);
}

TEST_F(ApsimTftp, FirmwareUpdateChangesTheVersionAndRefusesAnOverdueImage)
{
    ApsimProcess apsim;
    ASSERT_TRUE(apsim.start({"--tftp-port", std::to_string(tftpd.port()), "--reboot-seconds", "0"}));
    auto c = SnmpTestClient::community(apsim.address(), "granite");
    tftpd.write("new.bin", "QRT5150-FW 1.3.0\n" + randomBytes(3000, 7));
    tftpd.write("old.bin", "QRT5150-FW 1.1.9\n" + randomBytes(600, 8));
    ASSERT_EQ(c.setIp(TftpServer, "127.0.0.1").status, 0);
    ASSERT_EQ(c.setBytes(TftpFile, "new.bin").status, 0);
    ASSERT_EQ(c.setInt(TftpCommand, 2).status, 0);
    ASSERT_EQ(c.setInt(Upgrade, 1).status, 0);
    EXPECT_EQ(c.get(Firmware).bytes, "1.3.0"); // still answering: the page's restart command follows
    EXPECT_EQ(c.setInt(P + "4.2.1", 1).status, 0);

    ASSERT_EQ(c.setBytes(TftpFile, "old.bin").status, 0);
    ASSERT_EQ(c.setInt(TftpCommand, 2).status, 0);
    EXPECT_EQ(c.setInt(Upgrade, 1).status, 19); // overdue firmware
    EXPECT_EQ(c.get(Firmware).bytes, "1.3.0");

    // Without a restart command the new firmware restarts the device itself.
    tftpd.write("newer.bin", "QRT5150-FW 1.4.0\n");
    ASSERT_EQ(c.setBytes(TftpFile, "newer.bin").status, 0);
    ASSERT_EQ(c.setInt(TftpCommand, 2).status, 0);
    ASSERT_EQ(c.setInt(Upgrade, 1).status, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    EXPECT_LT(c.get("1.3.6.1.2.1.1.3.0").number, 150);

    tftpd.write("ap.pem", "-----BEGIN CERTIFICATE-----\n");
    ASSERT_EQ(c.setBytes(TftpFile, "ap.pem").status, 0);
    ASSERT_EQ(c.setInt(TftpCommand, 2).status, 0);
    EXPECT_EQ(c.setInt(Upgrade, 7).status, 0);
    EXPECT_EQ(c.setInt(Upgrade, 8).status, 0);
}

TEST_F(ApsimTftp, LogUploadWritesLogFileLinesAndClearEmptiesTheLog)
{
    ApsimProcess apsim;
    ASSERT_TRUE(apsim.start({"--tftp-port", std::to_string(tftpd.port())}));
    auto c = SnmpTestClient::community(apsim.address(), "granite");
    ASSERT_EQ(c.setInt(P + "4.2.3", 1).status, 0); // deviceSettingApply, logged
    ASSERT_EQ(c.setIp(P + "5.4.4", "127.0.0.1").status, 0);
    ASSERT_EQ(c.setInt(P + "5.4.6", 1).status, 0);
    const std::string log = tftpd.read("LogFile.RD");
    EXPECT_NE(log.find("Settings applied"), std::string::npos) << log;
    std::istringstream lines(log);
    std::string line;
    int wellFormed = 0, other = 0;
    static const std::regex form(R"(^[^|]+\|\[[A-Z]+\].+$)");
    while (std::getline(lines, line)) {
        ASSERT_TRUE(!line.empty() && line.back() == '\r') << line; // CR LF
        line.pop_back();
        ++(std::regex_match(line, form) ? wellFormed : other);
    }
    EXPECT_GE(wellFormed, 2);
    EXPECT_GE(other, 1); // as on a device: kernel lines, a missing bracket

    ASSERT_EQ(c.setInt(P + "5.4.10", 1).status, 0); // systemLogClearLocalLog
    ASSERT_EQ(c.setInt(P + "5.4.6", 1).status, 0);
    EXPECT_EQ(tftpd.read("LogFile.RD"), "");
}
