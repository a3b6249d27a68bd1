#pragma once

#include "ApsimProcess.h"
#include "VrMessageBox.h"
#include "VrSNMPSession.h"
#include "VrSNMPTarget.h"

#include <gtest/gtest.h>

// A page test against the simulated access point: the agent runs on a free
// loopback port and the global target points at it with SNMPv2c, as start-up
// would have left it. Message boxes are recorded, never shown.
class AgentFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string why;
        ASSERT_TRUE(m_agent.start({}, &why)) << why;
        OpenSession(QString());
        VrSNMPResetTargetDefaults();
        g_SNMPDevice.port = uint16_t(m_agent.port());
        g_SNMPSecurity.version = VrSNMPv2c;
    }

    qrt::test::ApsimProcess m_agent;
    VrMessageBoxRecorder m_boxes;
};
