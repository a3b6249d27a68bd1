#include "ApsimProcess.h"
#include "SnmpEventProcessor.h"
#include "SnmpTestSupport.h"

#include <QElapsedTimer>
#include <QTimer>

namespace {

class SnmpAsyncV3 : public SnmpdSuite
{
protected:
    std::unique_ptr<VrSNMPRequest> v3(const char *user, int level, int auth, const char *authPass,
                                      int priv, const char *privPass)
    {
        auto r = request(VrSNMPv3);
        r->SecurityName = QString::fromLatin1(user);
        r->SecurityLevel = level;
        r->AuthProtocol = auth;
        r->AuthPassword = QString::fromLatin1(authPass);
        r->PrivProtocol = priv;
        r->PrivPassword = QString::fromLatin1(privPass);
        r->VarList = VrSNMPVarList(kName, VrListScalar, 0);
        return r;
    }

    static constexpr VrSNMPVarDef kName[] = {
        {"1.3.6.1.2.1.1.5", "sysName", VrSyntaxDisplayString, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        {}};
};

} // namespace

TEST_F(SnmpAsyncV3, UsmUsersOfEverySecurityLevelAndProtocol)
{
    bool ok = true;
    auto plain = v3(SnmpdAgent::kNoAuthUser, VrNoAuthNoPriv, VrAuthNone, "", VrPrivNone, "");
    plain->Get(ok, true);
    EXPECT_TRUE(ok);
    const QString name = plain->VarList.Item(0).value;
    EXPECT_FALSE(name.isEmpty());

    auto md5des = v3(SnmpdAgent::kMd5DesUser, VrAuthPriv, VrAuthMD5, SnmpdAgent::kMd5Password,
                     VrPrivDES, SnmpdAgent::kDesPassword);
    md5des->Get(ok, true);
    EXPECT_TRUE(ok);
    EXPECT_EQ(md5des->VarList.Item(0).value, name);

    auto md5only = v3(SnmpdAgent::kMd5DesUser, VrAuthNoPriv, VrAuthMD5, SnmpdAgent::kMd5Password,
                      VrPrivNone, "");
    md5only->Get(ok, true);
    EXPECT_TRUE(ok);

    // SHA with AES-128 (privacy protocol 4): a write and its read-back.
    auto shaaes = v3(SnmpdAgent::kShaAesUser, VrAuthPriv, VrAuthSHA, SnmpdAgent::kShaPassword,
                     VrPrivAES128, SnmpdAgent::kAesPassword);
    shaaes->VarList.Item(0).value = "named-over-v3";
    shaaes->Set(ok, true, QString(), nullptr);
    EXPECT_TRUE(ok);
    EXPECT_EQ(shaaes->VarList.Item(0).value, "named-over-v3");
    plain->Get(ok, true);
    EXPECT_EQ(plain->VarList.Item(0).value, "named-over-v3");
    EXPECT_TRUE(ok);
    EXPECT_TRUE(errors.empty());
}

TEST_F(SnmpAsyncV3, WrongCredentialsGiveUsmCodesAndAChangedPasswordCountsAtOnce)
{
    auto r = v3(SnmpdAgent::kShaAesUser, VrAuthPriv, VrAuthSHA, SnmpdAgent::kShaPassword,
                VrPrivAES128, SnmpdAgent::kAesPassword);
    bool ok = true;
    r->Get(ok, true);
    ASSERT_TRUE(ok);

    r->AuthPassword = "not-the-password";
    r->Get(ok, true);
    EXPECT_FALSE(ok);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Code, -308);
    EXPECT_EQ(errors[0].Message, "(SNMPv3USM) Authentication failure!");

    // The same failure through the asynchronous path.
    Completions seen;
    r->GetAsync(&Completions::Record, &seen, true);
    EXPECT_TRUE(WaitFor([&] { return seen.calls > 0; }, 3000));
    EXPECT_EQ(seen.last.Code, -308);
    EXPECT_TRUE(seen.last.Finished);
    EXPECT_EQ(seen.last.AgentAddress, "127.0.0.1");
    EXPECT_EQ(seen.last.AgentPort, s_agent->Port());

    r->AuthPassword = QString::fromLatin1(SnmpdAgent::kShaPassword);
    ok = true;
    r->Get(ok, true);
    EXPECT_TRUE(ok);

    // snmpd drops what it cannot decrypt: no report comes back, only silence.
    r->PrivPassword = "not-the-privacy-password";
    r->Timeout = 20;
    r->Get(ok, true);
    EXPECT_FALSE(ok);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[1].Code, -405);

    auto stranger = v3("nobody", VrAuthNoPriv, VrAuthMD5, "whatever1", VrPrivNone, "");
    ok = true;
    stranger->Get(ok, true);
    EXPECT_FALSE(ok);
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[2].Code, -304);
    EXPECT_EQ(errors[2].Message, "(SNMPv3USM) Unknown SecurityName!");
}

TEST_F(SnmpAsyncV3, SilentAgentTimesOutOnceWithTheFinishedFlag)
{
    SilentUdpPeer silent;
    auto r = request();
    r->Port = silent.Port();
    r->Timeout = 20;
    r->Retries = 1;
    r->VarList = VrSNMPVarList(kName, VrListScalar, 0);
    Completions seen;
    r->GetAsync(&Completions::Record, &seen, true);
    EXPECT_EQ(r->Pending, 1);
    EXPECT_TRUE(WaitFor([&] { return seen.calls > 0; }, 3000));
    QTest::qWait(300);
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.last.Code, -405);
    EXPECT_EQ(seen.last.Message, "(SNMPClass) SNMP request timed out!");
    EXPECT_TRUE(seen.last.Finished);
    EXPECT_EQ(seen.last.Sequence, 0u);
    EXPECT_EQ(seen.last.AgentPort, silent.Port());
    EXPECT_EQ(r->Pending, 0);
    EXPECT_EQ(silent.Drain(), 2); // the request and its one retry
    EXPECT_TRUE(errors.empty());

    // A v3 session's engine-ID discovery is bounded by the request's time-out.
    auto s = request(VrSNMPv3);
    s->Port = silent.Port();
    s->Timeout = 20;
    s->Retries = 0;
    s->SecurityName = "anyone";
    s->VarList = VrSNMPVarList(kName, VrListScalar, 0);
    QElapsedTimer clock;
    clock.start();
    bool ok = true;
    s->Get(ok, true);
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_FALSE(ok);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Code, -405);

    // A send that fails at once (port 0) is reported, and nothing stays pending.
    auto f = request();
    f->Port = 0;
    f->VarList = VrSNMPVarList(kName, VrListScalar, 0);
    f->GetAsync(&Completions::Record, &seen, true);
    EXPECT_EQ(f->Pending, 0);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[1].Code, -422);
    EXPECT_EQ(errors[1].Sequence, 1u);
}

// A device replaced at the agent's address (another engine ID) refuses what
// is sent for the old engine ID with a report Net-SNMP drops. The exchange
// out to it, waited for or asynchronous, goes out again for the new engine
// ID about a second later instead of waiting for its time-out.
TEST_F(SnmpAsyncV3, ExchangeWithAReplacedDeviceGoesOutAgainForItsEngineId)
{
    qrt::test::ApsimProcess device;
    const auto options = [](const char *engineId) {
        return std::vector<std::string>{"--user", "ops:SHA-256:opsauth12:AES-256:opspriv12", "--engine-id",
                                        engineId};
    };
    std::string why;
    ASSERT_TRUE(device.start(options("8000BC550501"), &why)) << why;
    const struct {
        bool sync;
        const char *engineId;
    } cases[] = {{true, "8000BC550502"}, {false, "8000BC550503"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.sync ? "Get" : "GetAsync");
        auto r = v3("ops", VrAuthPriv, VrAuthSHA256, "opsauth12", VrPrivAES256, "opspriv12");
        r->Port = uint16_t(device.port());
        r->Timeout = 500;
        r->Retries = 0;
        bool ok = true;
        r->Get(ok, true);
        ASSERT_TRUE(ok);
        ASSERT_TRUE(device.restart(options(c.engineId), &why)) << why;
        r->VarList.Item(0).value.clear();
        QElapsedTimer clock;
        clock.start();
        if (c.sync) {
            r->Get(ok, true);
            EXPECT_TRUE(ok);
        } else {
            Completions seen;
            r->GetAsync(&Completions::Record, &seen, true);
            ASSERT_TRUE(WaitFor([&] { return seen.calls > 0; }, 6000));
            EXPECT_EQ(seen.last.Code, 0) << seen.last.Message.toStdString();
        }
        EXPECT_LT(clock.elapsed(), 2500);
        EXPECT_FALSE(r->VarList.Item(0).value.isEmpty());
        EXPECT_EQ(r->Pending, 0);
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(SnmpAsyncV3, NothingWaitsOnTheSocketInTheGuiThread)
{
    // Engine-ID discovery of a silent agent runs in the background: the send
    // returns at once and the completion reports the time-out.
    SilentUdpPeer silent;
    auto r = request(VrSNMPv3);
    r->Port = silent.Port();
    r->Timeout = 30;
    r->Retries = 1;
    r->SecurityName = "anyone";
    r->SecurityLevel = VrAuthPriv;
    r->AuthProtocol = VrAuthSHA;
    r->AuthPassword = "authpass1";
    r->PrivProtocol = VrPrivAES128;
    r->PrivPassword = "privpass1";
    r->VarList = VrSNMPVarList(kName, VrListScalar, 0);
    Completions seen;
    QElapsedTimer clock;
    clock.start();
    r->GetAsync(&Completions::Record, &seen, true);
    EXPECT_LT(clock.elapsed(), 100);
    EXPECT_EQ(r->Pending, 1);
    EXPECT_TRUE(WaitFor([&] { return seen.calls > 0; }, 3000));
    EXPECT_EQ(seen.last.Code, -405);
    EXPECT_TRUE(seen.last.Finished);
    EXPECT_EQ(r->Pending, 0);

    // A synchronous exchange waits in an event loop: timers keep firing.
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);
    bool ok = true;
    r->Get(ok, true);
    EXPECT_FALSE(ok);
    EXPECT_GE(ticks, 10); // 0.6 s of discovery
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Code, -405);

    // Against an answering agent, discovery and the exchange both succeed,
    // with the event loop running meanwhile.
    auto user = v3(SnmpdAgent::kShaAesUser, VrAuthPriv, VrAuthSHA, SnmpdAgent::kShaPassword,
                   VrPrivAES128, SnmpdAgent::kAesPassword);
    user->Get(ok = true, true);
    EXPECT_TRUE(ok);
    EXPECT_FALSE(user->VarList.Item(0).value.isEmpty());
    Completions answered;
    user->GetAsync(&Completions::Record, &answered, true);
    EXPECT_TRUE(WaitFor([&] { return answered.calls > 0; }, 3000));
    EXPECT_EQ(answered.last.Code, 0);
}

// A completion may wait for another exchange longer than its own request's
// time-out: Net-SNMP is done with the answered request by then, so it is
// neither timed out nor called back a second time.
TEST_F(SnmpAsyncV3, ACompletionMayWaitForAnotherExchange)
{
    SilentUdpPeer silent;
    auto answered = request();
    answered->Timeout = 10;
    answered->Retries = 2;
    answered->VarList = VrSNMPVarList(kName, VrListScalar, 0);
    auto unanswered = request();
    unanswered->Port = silent.Port();
    unanswered->Timeout = 50;
    unanswered->Retries = 0;
    unanswered->VarList = VrSNMPVarList(kName, VrListScalar, 0);
    struct Context {
        VrSNMPRequest *next;
        int calls = 0;
        bool ok = true;
    } context{unanswered.get()};
    answered->GetAsync(
        [](void *data, VrSNMPError &, VrSNMPVarList &) {
            auto *c = static_cast<Context *>(data);
            ++c->calls;
            c->next->Get(c->ok, true);
        },
        &context, true);
    EXPECT_TRUE(WaitFor([&] { return context.calls > 0; }, 3000));
    QTest::qWait(800);
    EXPECT_EQ(context.calls, 1);
    EXPECT_FALSE(context.ok);
    EXPECT_EQ(answered->Pending, 0);
}

// A request that goes away (its page closed) ends its exchanges at once:
// nothing of it is sent afterwards, no retransmission and no completion.
TEST_F(SnmpAsyncV3, DestructionEndsOutstandingExchangesAtOnce)
{
    Completions seen;
    QElapsedTimer clock;
    SilentUdpPeer silent;
    {
        auto r = request();
        r->Port = silent.Port();
        r->Timeout = 20;
        r->Retries = 5;
        r->VarList = VrSNMPVarList(kName, VrListScalar, 0);
        r->GetAsync(&Completions::Record, &seen, true);
        r->GetAsync(&Completions::Record, &seen, true);
        int sent = 0;
        EXPECT_TRUE(WaitFor([&] { return (sent += silent.Drain()) > 0; }, 1000));
        clock.start();
    }
    EXPECT_LT(clock.elapsed(), 100);
    QTest::qWait(600); // three retransmissions' time
    EXPECT_EQ(silent.Drain(), 0);
    EXPECT_EQ(seen.calls, 0);

    // Cancelled, the exchange ends at once and its completion hears so; the
    // request stays usable and talks on a fresh session.
    auto r = request();
    r->VarList = VrSNMPVarList(kName, VrListScalar, 0);
    r->Port = silent.Port();
    r->Timeout = 20;
    r->Retries = 5;
    r->GetAsync(&Completions::Record, &seen, true);
    r->Cancel();
    silent.Drain();
    QTest::qWait(300);
    EXPECT_EQ(silent.Drain(), 0);
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.last.Code, VrErrCancelled);
    EXPECT_EQ(r->Pending, 0);
    r->Port = s_agent->Port();
    bool ok = true;
    r->Get(ok, true);
    EXPECT_TRUE(ok);
}

// A synchronous wait the user leaves ends at once as cancelled, never as a
// success or a time-out, and its exchange is not retransmitted.
TEST_F(SnmpAsyncV3, CancelledWaitEndsAtOnceAndSendsNothingMore)
{
    SilentUdpPeer silent;
    auto r = request();
    r->Port = silent.Port();
    r->Timeout = 100;
    r->Retries = 3;
    r->VarList = VrSNMPVarList(kName, VrListScalar, 0);
    QElapsedTimer clock;
    QTimer::singleShot(200, [] { SnmpEventProcessor::Global().CancelWaits(); });
    clock.start();
    bool ok = true;
    r->Get(ok, true);
    EXPECT_LT(clock.elapsed(), 400);
    EXPECT_FALSE(ok);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Code, VrErrCancelled);
    EXPECT_EQ(silent.Drain(), 1);
    QTest::qWait(1200);
    EXPECT_EQ(silent.Drain(), 0);
}

TEST_F(SnmpAsyncV3, AsynchronousWriteCarriesTheAgentsErrorAndIndex)
{
    const VrSNMPVarDef defs[] = {
        {"1.3.6.1.2.1.1.6", "sysLocation", VrSyntaxDisplayString, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, "anywhere", nullptr},
        {"1.3.6.1.2.1.1.1", "sysDescr", VrSyntaxDisplayString, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, "read-only", nullptr},
        {}};
    auto r = request();
    r->VarList = VrSNMPVarList(defs, VrListScalar, 0);
    Completions seen;
    r->SetAsync(&Completions::Record, &seen, true, QString(), nullptr);
    EXPECT_TRUE(WaitFor([&] { return seen.calls > 0; }, 3000));
    EXPECT_EQ(seen.last.Code, -117);
    EXPECT_EQ(seen.last.Message, "(SNMP) Cannot create/set variable, Not Writable!");
    EXPECT_EQ(seen.last.ErrorIndex, 2);
    EXPECT_TRUE(seen.last.Finished);
    EXPECT_EQ(seen.rows.back(), (QStringList{"anywhere", "read-only"})); // nothing decoded
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(r->ErrorCount, 0u);
}
