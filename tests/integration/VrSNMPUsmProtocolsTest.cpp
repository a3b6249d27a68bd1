// Every authentication protocol with AES-128 and AES-256, against Net-SNMP's
// snmpd and against the simulated access point, both configured with the
// same users.
#include "ApsimProcess.h"
#include "SnmpTestSupport.h"

#include <map>

namespace {

class SnmpUsmProtocols : public SnmpdSuite
{
protected:
    static constexpr VrSNMPVarDef kName[] = {
        {"1.3.6.1.2.1.1.5", "sysName", VrSyntaxDisplayString, VrFlagRead, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        {}};
};

const std::map<std::string, int> AuthNumbers{{"MD5", VrAuthMD5},       {"SHA", VrAuthSHA},
                                             {"SHA-224", VrAuthSHA224}, {"SHA-256", VrAuthSHA256},
                                             {"SHA-384", VrAuthSHA384}, {"SHA-512", VrAuthSHA512}};
const std::map<std::string, int> PrivNumbers{{"none", VrPrivNone}, {"AES", VrPrivAES128}, {"AES-256", VrPrivAES256}};

} // namespace

TEST_F(SnmpUsmProtocols, EveryAuthProtocolWithAes128AndAes256AndAWrongPassPhrase)
{
    std::vector<std::string> users;
    for (const char *auth : SnmpdAgent::kUsmAuths)
        for (const char *priv : SnmpdAgent::kUsmPrivs)
            users.insert(users.end(), {"--user", (SnmpdAgent::UsmUser(auth, priv) + ":" + auth + ":"
                                                  + SnmpdAgent::UsmAuthPassword(auth) + ":" + priv + ":"
                                                  + SnmpdAgent::UsmPrivPassword(priv)).toStdString()});
    qrt::test::ApsimProcess simulator;
    std::string why;
    ASSERT_TRUE(simulator.start(users, &why)) << why;

    const std::pair<const char *, uint16_t> agents[] = {{"snmpd", s_agent->Port()},
                                                        {"simulator", uint16_t(simulator.port())}};
    size_t failures = 0;
    for (const auto &[agent, port] : agents) {
        for (const char *auth : SnmpdAgent::kUsmAuths) {
            for (const char *priv : SnmpdAgent::kUsmPrivs) {
                auto r = request(VrSNMPv3);
                r->Port = port;
                r->SecurityName = QString::fromLatin1(SnmpdAgent::UsmUser(auth, priv));
                r->SecurityLevel = qstrcmp(priv, "none") == 0 ? VrAuthNoPriv : VrAuthPriv;
                r->AuthProtocol = AuthNumbers.at(auth);
                r->AuthPassword = QString::fromLatin1(SnmpdAgent::UsmAuthPassword(auth));
                r->PrivProtocol = PrivNumbers.at(priv);
                r->PrivPassword = QString::fromLatin1(SnmpdAgent::UsmPrivPassword(priv));
                r->VarList = VrSNMPVarList(kName, VrListScalar, 0);
                bool ok = true;
                r->Get(ok, true);
                EXPECT_TRUE(ok) << agent << " " << auth << " " << priv;
                EXPECT_FALSE(r->VarList.Item(0).value.isEmpty()) << agent << " " << auth << " " << priv;
                if (qstrcmp(priv, "none") != 0)
                    continue;
                r->AuthPassword = QStringLiteral("not-the-pass-phrase");
                r->Get(ok, true);
                EXPECT_FALSE(ok) << agent << " " << auth;
                ASSERT_EQ(errors.size(), ++failures) << agent << " " << auth;
                EXPECT_EQ(errors.back().Message, "(SNMPv3USM) Authentication failure!") << agent << " " << auth;
            }
        }
    }
}
