#pragma once

#include "SnmpdAgent.h"
#include "VrSNMPRequest.h"
#include "VrSNMPSession.h"
#include "VrSNMPTarget.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// One snmpd per suite; every request of a test goes to it unless the test
// says otherwise, and records what its OnError handler receives.
class SnmpdSuite : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        EnsureCoreApplication();
        static QTemporaryDir bootsDir;
        OpenSession(bootsDir.path());
        s_agent = new SnmpdAgent;
        QString why;
        if (!s_agent->Start(&why)) {
            delete s_agent;
            s_agent = nullptr;
            ADD_FAILURE() << "snmpd did not start: " << why.toStdString();
        }
    }
    static void TearDownTestSuite()
    {
        delete s_agent;
        s_agent = nullptr;
    }
    void SetUp() override
    {
        if (!s_agent)
            GTEST_SKIP() << "no agent";
    }

    // Points a request at the suite's agent with its communities.
    static void PointAtAgent(VrSNMPRequest &r, uint8_t version = VrSNMPv2c, int timeout = 50)
    {
        r.Address = s_agent->Address();
        r.Port = s_agent->Port();
        r.Version = version;
        r.ReadCommunity = QString::fromLatin1(SnmpdAgent::kReadCommunity);
        r.WriteCommunity = QString::fromLatin1(SnmpdAgent::kWriteCommunity);
        r.Timeout = timeout;
        r.Retries = 1;
    }

    std::unique_ptr<VrSNMPRequest> request(uint8_t version = VrSNMPv2c)
    {
        auto r = std::make_unique<VrSNMPRequest>();
        PointAtAgent(*r, version);
        r->OnError = [this](VrSNMPError &e) { errors.push_back(e); };
        return r;
    }

    // Reads one object as the syntax; the value, or the error text.
    QString readOne(const char *oid, int syntax, uint8_t kind = VrListInstance)
    {
        const VrSNMPVarDef defs[] = {
            {oid, "object", syntax, VrFlagRead, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
            {}};
        auto r = request();
        r->VarList = VrSNMPVarList(defs, kind, 0);
        bool ok = true;
        r->Get(ok, true);
        return ok ? r->VarList.Item(0).value : QStringLiteral("error %1").arg(errors.back().Code);
    }

    static inline SnmpdAgent *s_agent = nullptr;
    std::vector<VrSNMPError> errors;
};

