#include "ApsimProcess.h"
#include "LaunchParameters.h"
#include "VrSNMPRequest.h"
#include "VrSNMPSession.h"
#include "VrSNMPTarget.h"

#include "../unit/TempFile.h"

#include <gtest/gtest.h>
#include <iterator>

namespace {

const VrSNMPVarDef SysName[] = {
    {"1.3.6.1.2.1.1.5", "sysName", VrSyntaxDisplayString, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {}};

// One exchange with the global target as start-up left it; true when the
// agent answered it without error.
bool exchange(bool write, int timeout = 100)
{
    VrSNMPRequest request;
    request.Timeout = unsigned(timeout);
    request.Retries = 0;
    request.VarList = VrSNMPVarList(SysName, VrListScalar, 0);
    bool ok = true;
    if (write) {
        request.VarList.Item(0).value = QStringLiteral("bytes-through");
        request.Set(ok, false, QString(), nullptr);
    } else {
        request.Get(ok, true);
    }
    return ok;
}

class LaunchBytes : public testing::Test
{
protected:
    void start(const std::vector<std::string> &agentOptions, std::vector<const char *> arguments)
    {
        std::string why;
        ASSERT_TRUE(m_agent.start(agentOptions, &why)) << why;
        OpenSession(QString());
        VrSNMPResetTargetDefaults();
        arguments.insert(arguments.begin(), {"qrt5150", "/I127.0.0.1"});
        ApplyLaunchArguments(LaunchArguments(int(arguments.size()), arguments.data()),
                             m_noConfig.path(QString()) + u'/');
        g_SNMPDevice.port = uint16_t(m_agent.port());
    }

    qrt::test::ApsimProcess m_agent;
    ScratchDir m_noConfig;
};

} // namespace

TEST_F(LaunchBytes, CommunitiesThatAreNotUtf8ReachTheAgentByteForByte)
{
    start({"--read-community", "r\xE9" "ad", "--write-community", "wr\xFF" "te"},
          {"/Rr\xE9" "ad", "/Wwr\xFF" "te", "/v1"});
    EXPECT_TRUE(exchange(false));
    EXPECT_TRUE(exchange(true));

    // What the arguments used to become on the way (U+FFFD, sent as EF BF BD)
    // is a community the agent does not know, so it stays silent.
    g_SNMPSecurity.readCommunity = QString::fromUtf8("r\xE9" "ad");
    EXPECT_FALSE(exchange(false, 30));
}

TEST_F(LaunchBytes, UserNameAndPassPhrasesThatAreNotUtf8Authenticate)
{
    start({"--user", "us\xE9r:SHA:auth\xE9pass:AES:priv\xE9pass"},
          {"/v3", "/nus\xE9r", "/Aauth\xE9pass", "/Ppriv\xE9pass", "/a2", "/p3", "/l3"});
    EXPECT_TRUE(exchange(false));
    EXPECT_TRUE(exchange(true));

    g_SNMPSecurity.authPassword = QString::fromUtf8("auth\xE9pass");
    g_SNMPSecurity.privPassword = QString::fromUtf8("priv\xE9pass");
    EXPECT_FALSE(exchange(false, 30));
}
