// SNMPv3 users, restarts and their silent window, the state file, the
// factory reset and the faults that tests inject.
#include "ApsimProcess.h"
#include "SnmpTestClient.h"

#include <gtest/gtest.h>
#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>
#include <vector>

using namespace qrt::test;
using Clock = std::chrono::steady_clock;

namespace {

const std::string P = "1.3.6.1.4.1.48213.10.37.37.";
const std::string SysName = "1.3.6.1.2.1.1.5.0", SysUpTime = "1.3.6.1.2.1.1.3.0";
const std::string Ssid = P + "2.1.3.2.1.1.1.1", LanIp = P + "2.2.1.1.1.1.7.1";

std::string tempPath(const char *stem)
{
    return "/tmp/" + std::string(stem) + "-" + std::to_string(getpid()) + "-" +
           std::to_string(Clock::now().time_since_epoch().count());
}

// Net-SNMP's own snmpget, as a separate process: the library keeps USM users
// process-wide, so a wrong password must not meet the right one's keys.
int cliGet(const std::string &address, const std::vector<std::string> &security)
{
    std::string command = "MIBS= snmpget -t 1 -r 0";
    for (const std::string &s : security)
        command += " " + s;
    command += " " + address + " " + SysName + " >/dev/null 2>&1";
    return std::system(command.c_str());
}

bool waitForAnswer(SnmpTestClient &c, std::chrono::milliseconds limit)
{
    const auto deadline = Clock::now() + limit;
    while (Clock::now() < deadline)
        if (c.get(SysUpTime).ok())
            return true;
    return false;
}

} // namespace

TEST(ApsimLifecycle, EachV3UserWorksAndAWrongPasswordFails)
{
    ApsimProcess apsim;
    ASSERT_TRUE(apsim.start({"--user", "ann:MD5:annauth12:DES:annpriv12", "--user", "ben:SHA:benauth12:AES:benpriv12",
                             "--user", "cy:SHA:cyauth123:none:", "--user", "dot:none::none:"}));
    struct Case { const char *name, *auth, *authPass, *priv, *privPass, *level; };
    const Case cases[] = {{"ann", "MD5", "annauth12", "DES", "annpriv12", "authPriv"},
                          {"ben", "SHA", "benauth12", "AES", "benpriv12", "authPriv"},
                          {"cy", "SHA", "cyauth123", "none", "", "authNoPriv"},
                          {"dot", "none", "", "none", "", "noAuthNoPriv"}};
    for (const Case &u : cases) {
        auto c = SnmpTestClient::user(apsim.address(), u.name, u.auth, u.authPass, u.priv, u.privPass);
        ASSERT_EQ(c.setBytes(SysName, std::string("by-") + u.name).status, 0) << u.name;
        EXPECT_EQ(c.get(SysName).bytes, std::string("by-") + u.name);
        if (std::string(u.auth) == "none")
            continue;
        std::vector<std::string> wrong{"-v3", "-u", u.name, "-l", u.level, "-a", u.auth, "-A", "wrongpass9"};
        if (std::string(u.priv) != "none")
            wrong.insert(wrong.end(), {"-x", u.priv, "-X", u.privPass});
        EXPECT_NE(cliGet(apsim.address(), wrong), 0) << u.name;
        wrong[8] = u.authPass;
        EXPECT_EQ(cliGet(apsim.address(), wrong), 0) << u.name;
    }
}

TEST(ApsimLifecycle, RestartKeepsTheAgentSilentAndRestartsUptime)
{
    ApsimProcess apsim;
    ASSERT_TRUE(apsim.start({"--reboot-seconds", "1"}));
    auto c = SnmpTestClient::community(apsim.address(), "granite");
    c.setTimeoutMs(200);
    std::this_thread::sleep_for(std::chrono::milliseconds(1300));
    const long before = c.get(SysUpTime).number;
    ASSERT_GE(before, 100);
    ASSERT_EQ(c.setInt(P + "4.2.1", 1).status, 0); // deviceRestart: answered, then silence
    const auto start = Clock::now();
    EXPECT_EQ(c.get(SysUpTime).status, -1);
    ASSERT_TRUE(waitForAnswer(c, std::chrono::seconds(3)));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(700));
    EXPECT_LT(c.get(SysUpTime).number, before);
}

TEST(ApsimLifecycle, StateFileSurvivesARestartOfTheProcess)
{
    const std::string state = tempPath("apsim-state");
    ApsimProcess apsim;
    ASSERT_TRUE(apsim.start({"--state", state}));
    {
        auto c = SnmpTestClient::community(apsim.address(), "granite");
        ASSERT_EQ(c.setBytes(Ssid, "kept").status, 0);
        ASSERT_EQ(c.setBytes(P + "2.1.3.3.3.2.1.2.1", macBytes("00AA00BB00CC")).status, 0);
    }
    std::string error;
    ASSERT_TRUE(apsim.restart(&error)) << error;
    auto c = SnmpTestClient::community(apsim.address(), "hollow");
    EXPECT_EQ(c.get(Ssid).bytes, "kept");
    EXPECT_EQ(c.get(P + "2.1.3.3.3.3.1.2.1").bytes, macBytes("00AA00BB00CC"));
    std::remove(state.c_str());
}

// The SNMPv3 engine as the state file keeps it: its boots go up at every
// restart, of the device or of the process, and its engine ID stays unless
// --engine-id gives another.
TEST(ApsimLifecycle, EngineBootsCountRestartsAndTheEngineIdIsKept)
{
    const std::string state = tempPath("apsim-engine");
    const auto engine = [&] {
        std::ifstream in(state);
        std::string line, id, boots;
        while (std::getline(in, line)) {
            if (line.rfind("1.3.6.1.6.3.10.2.1.1.0=", 0) == 0)
                id = line.substr(23);
            if (line.rfind("1.3.6.1.6.3.10.2.1.2.0=", 0) == 0)
                boots = line.substr(23);
        }
        return id + " " + boots;
    };
    ApsimProcess apsim;
    ASSERT_TRUE(apsim.start({"--state", state, "--reboot-seconds", "0"}));
    const std::string first = engine();
    ASSERT_EQ(first.substr(first.size() - 2), " 1");
    auto c = SnmpTestClient::community(apsim.address(), "granite");
    ASSERT_EQ(c.setInt(P + "4.2.1", 1).status, 0); // deviceRestart
    ASSERT_TRUE(waitForAnswer(c, std::chrono::seconds(3)));
    EXPECT_EQ(engine(), first.substr(0, first.size() - 1) + "2");
    std::string error;
    ASSERT_TRUE(apsim.restart(&error)) << error;
    EXPECT_EQ(engine(), first.substr(0, first.size() - 1) + "3");
    ASSERT_TRUE(apsim.restart({"--state", state, "--engine-id", "8000bc5505aa"}, &error)) << error;
    EXPECT_EQ(engine(), "8000BC5505AA 4");
    for (const char *bad : {"8000bc55", "8000bc5505a", "8000bc5505zz"})
        EXPECT_FALSE(apsim.start({"--engine-id", bad}, &error)) << bad;
    std::remove(state.c_str());
}

TEST(ApsimLifecycle, AStateFileThatDoesNotParseStopsTheStart)
{
    const std::string state = tempPath("apsim-bad-state");
    std::ofstream(state) << "1.3.6.1.4.1.48213.10.37.37.2.1.3.2.1.1.18.1=not a number\n";
    ApsimProcess apsim;
    std::string error;
    EXPECT_FALSE(apsim.start({"--state", state}, &error));
    EXPECT_NE(error.find("line 1"), std::string::npos) << error;
    std::remove(state.c_str());
}

TEST(ApsimLifecycle, FactoryResetRestoresDefaultsAndTheFactoryAddress)
{
    ApsimProcess apsim;
    ASSERT_TRUE(apsim.start({"--reboot-seconds", "0"}));
    auto c = SnmpTestClient::community(apsim.address(), "granite");
    EXPECT_EQ(c.get(LanIp).bytes, std::string("\x7f\x00\x00\x01", 4)); // the listen address
    EXPECT_EQ(c.get(P + "2.2.1.1.1.1.8.1").bytes, std::string("\xff\x00\x00\x00", 4));
    ASSERT_EQ(c.setBytes(Ssid, "changed").status, 0);
    ASSERT_EQ(c.setInt(P + "4.2.2", 1).status, 0);
    ASSERT_TRUE(waitForAnswer(c, std::chrono::seconds(2)));
    EXPECT_EQ(c.get(Ssid).bytes, "QRT5150");
    EXPECT_EQ(c.get(LanIp).bytes, std::string("\xc0\xa8\x00\x32", 4)); // 192.168.0.50
}

TEST(ApsimLifecycle, InjectedFaults)
{
    const std::string muteFile = tempPath("apsim-mute");
    ApsimProcess apsim;
    ASSERT_TRUE(apsim.start({"--fail", Ssid + "=13", "--delay-ms", "150", "--mute-file", muteFile}));
    auto c = SnmpTestClient::community(apsim.address(), "granite");
    c.setTimeoutMs(1000);
    EXPECT_EQ(c.get(Ssid).status, 13);
    EXPECT_EQ(c.setBytes(Ssid, "x").status, 13);
    const auto start = Clock::now();
    EXPECT_TRUE(c.get(SysName).ok());
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(150));

    c.setTimeoutMs(400);
    std::ofstream(muteFile).close();
    EXPECT_EQ(c.get(SysName).status, -1);
    std::remove(muteFile.c_str());
    EXPECT_TRUE(c.get(SysName).ok());
    kill(apsim.pid(), SIGUSR1);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(c.get(SysName).status, -1);
    kill(apsim.pid(), SIGUSR2);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(c.get(SysName).ok());

    ApsimProcess dropping;
    ASSERT_TRUE(dropping.start({"--drop", "1"}));
    auto d = SnmpTestClient::community(dropping.address(), "hollow");
    d.setTimeoutMs(300);
    EXPECT_EQ(d.get(SysName).status, -1);
}

// A slow link delays every answer alike: requests sent together come back
// together, not one delay after the other.
TEST(ApsimLifecycle, DelayedAnswersToRequestsSentTogetherArriveTogether)
{
    constexpr int Requests = 5;
    constexpr auto Delay = std::chrono::milliseconds(300);
    ApsimProcess apsim;
    ASSERT_TRUE(apsim.start({"--delay-ms", std::to_string(Delay.count())}));
    std::vector<SnmpTestClient> clients;
    for (int i = 0; i < Requests; ++i)
        clients.push_back(SnmpTestClient::community(apsim.address(), "hollow"));
    std::vector<SnmpAnswer> answers(Requests);
    std::vector<std::thread> senders;
    const auto start = Clock::now();
    for (int i = 0; i < Requests; ++i)
        senders.emplace_back([&, i] { answers[size_t(i)] = clients[size_t(i)].get(SysName); });
    for (std::thread &t : senders)
        t.join();
    const auto took = Clock::now() - start;
    for (const SnmpAnswer &a : answers)
        EXPECT_TRUE(a.ok());
    EXPECT_GE(took, Delay);
    EXPECT_LT(took, Delay + std::chrono::milliseconds(250)); // one after the other: 5 x 300 ms
}

TEST(ApsimLifecycle, RestartAfterTheNthAcceptedSetRequest)
{
    ApsimProcess apsim;
    ASSERT_TRUE(apsim.start({"--restart-after-sets", "2", "--reboot-seconds", "1", "-v"}));
    auto c = SnmpTestClient::community(apsim.address(), "granite");
    c.setTimeoutMs(300);
    ASSERT_TRUE(c.setBytes(SysName, "first").ok());
    EXPECT_TRUE(c.get(SysName).ok());                  // reads do not count
    EXPECT_NE(c.setInt(SysName, 5).status, 0);        // nor refused sets
    ASSERT_TRUE(c.setBytes(SysName, "second").ok());  // answered, then the restart
    EXPECT_EQ(c.setBytes(SysName, "third").status, -1);
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    c.setTimeoutMs(1000, 2);
    EXPECT_EQ(c.get(SysName).bytes, "second");
    EXPECT_LT(c.get(SysUpTime).number, 100);
    EXPECT_NE(apsim.log().find("set request 2 accepted"), std::string::npos);
    EXPECT_EQ(apsim.log().find("set request 3"), std::string::npos);
}

TEST(ApsimLifecycle, BadOptionsAreReportedAndHelpListsEveryOption)
{
    ApsimProcess apsim;
    std::string error;
    EXPECT_FALSE(apsim.start({"--stations", "129"}, &error));
    EXPECT_NE(error.find("--stations"), std::string::npos) << error;
    EXPECT_FALSE(apsim.start({"--user", "eve:XYZ:password1:none:"}, &error));
    EXPECT_NE(error.find("AUTH"), std::string::npos) << error;

    FILE *help = popen((ApsimProcess::defaultExecutable() + " --help").c_str(), "r");
    ASSERT_NE(help, nullptr);
    std::string text;
    char buf[512];
    while (size_t n = fread(buf, 1, sizeof buf, help))
        text.append(buf, n);
    EXPECT_EQ(pclose(help), 0);
    for (const char *option : {"--listen", "--read-community", "--write-community", "--user", "--state", "--seed",
                               "--stations", "--reboot-seconds", "--tftp-port", "--delay-ms", "--drop", "--fail",
                               "--engine-id", "-v", "--help"})
        EXPECT_NE(text.find(option), std::string::npos) << option;
}
