#include "SnmpTestSupport.h"

#include "ApsimProcess.h"

#include <string>

// Walks on SNMPv2c and v3 fetch their rows with GETBULK; every step must give
// exactly what the one-row walk of SNMPv1 (one get-next per row) gives.

namespace {

class BulkWalk : public SnmpdSuite
{
protected:
    // Walks to the end, synchronously or from the completion. Each row is
    // written as the values and instance OIDs of every item; the last line
    // says how the walk ended (the error code) and what the items held then.
    QStringList walk(VrSNMPRequest &r, bool async)
    {
        QStringList seen;
        const auto row = [&r] {
            QStringList items;
            for (int i = 0; i < r.VarList.Count(); ++i)
                items << r.VarList.Item(i).value + QLatin1Char('@') + r.VarList.Item(i).instance;
            return items.join(QLatin1Char(' '));
        };
        if (!async) {
            bool ok = true;
            for (bool first = true; r.Get(ok, first) == 1; first = false)
                seen << row();
            seen << QStringLiteral("end code=%1 %2").arg(ok ? 0 : errors.back().Code).arg(row());
            return seen;
        }
        struct Walk {
            VrSNMPRequest &r;
            QStringList &seen;
            std::function<QString()> row;
            bool done = false;
            static void Step(void *data, VrSNMPError &error, VrSNMPVarList &)
            {
                auto *w = static_cast<Walk *>(data);
                if (error.Code != 0 || error.Finished) {
                    w->seen << QStringLiteral("end code=%1 %2").arg(error.Code).arg(w->row());
                    w->done = true;
                    return;
                }
                w->seen << w->row();
                w->r.GetAsync(&Walk::Step, w, false);
            }
        } w{r, seen, row};
        r.GetAsync(&Walk::Step, &w, true);
        EXPECT_TRUE(WaitFor([&] { return w.done; }, 20000));
        EXPECT_EQ(r.Pending, 0);
        return seen;
    }

    static void asVersion(VrSNMPRequest &r, uint8_t version)
    {
        r.Version = version;
        r.Timeout = 200;
        if (version != VrSNMPv3)
            return;
        r.SecurityName = QString::fromLatin1(SnmpdAgent::kShaAesUser);
        r.SecurityLevel = VrAuthPriv;
        r.AuthProtocol = VrAuthSHA;
        r.AuthPassword = QString::fromLatin1(SnmpdAgent::kShaPassword);
        r.PrivProtocol = VrPrivAES128;
        r.PrivPassword = QString::fromLatin1(SnmpdAgent::kAesPassword);
    }

    // The agent's count of SNMP messages received (snmpInPkts).
    int packetsIn()
    {
        bool ok = true;
        const VrSNMPVarDef defs[] = {
            {"1.3.6.1.2.1.11.1.0", "snmpInPkts", VrSyntaxCounter32, VrFlagRead, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
            {}};
        auto r = request();
        r->VarList = VrSNMPVarList(defs, VrListInstance, 0);
        r->Get(ok, true);
        return ok ? r->VarList.Item(0).value.toInt() : -1;
    }
};

VrSNMPVarDef column(const char *oid, int syntax, uint8_t flags = VrFlagRead)
{
    return {oid, "column", syntax, flags, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
}

const VrSNMPVarDef kTestTable[] = {
    column("1.3.6.1.4.1.99999.1.1.1", VrSyntaxInteger, VrFlagKey),
    column("1.3.6.1.4.1.99999.1.1.1", VrSyntaxInteger),
    column("1.3.6.1.4.1.99999.1.1.2", VrSyntaxDisplayString),
    {}};
// Wide rows (the agent cuts GETBULK answers short at 1472 bytes) and a
// sparse third column: its get-next runs ahead of the other columns' rows.
const VrSNMPVarDef kWideTable[] = {
    column("1.3.6.1.4.1.99999.3.1.1", VrSyntaxInteger, VrFlagKey),
    column("1.3.6.1.4.1.99999.3.1.2", VrSyntaxDisplayString),
    column("1.3.6.1.4.1.99999.3.1.1", VrSyntaxInteger),
    column("1.3.6.1.4.1.99999.3.1.3", VrSyntaxInteger),
    {}};

// The simulator's QoS rule table: 64 rows, key, state, name, priority, address.
#define QOS "1.3.6.1.4.1.48213.10.37.37.3.3.6.2.5.1"
const VrSNMPVarDef kQosRules[] = {
    column(QOS ".1", VrSyntaxInteger, VrFlagKey),
    column(QOS ".2", VrSyntaxInteger),
    column(QOS ".3", VrSyntaxDisplayString),
    column(QOS ".4", VrSyntaxInteger),
    column(QOS ".7", VrSyntaxIpAddress),
    {}};

} // namespace

TEST_F(BulkWalk, RowsAreThoseOfTheOneRowWalk)
{
    struct Case {
        const char *name;
        const VrSNMPVarDef *table;
        const char *community;
        int rows;
    };
    const Case cases[] = {
        // Ends mid-answer where the next objects begin.
        {"test table", kTestTable, SnmpdAgent::kReadCommunity, SnmpdAgent::kTableRows},
        {"wide sparse table", kWideTable, SnmpdAgent::kReadCommunity, SnmpdAgent::kWideRows},
        // Ends mid-answer at the end of the view (endOfMibView; noSuchName in SNMPv1).
        {"end of view", kTestTable, SnmpdAgent::kTableOnlyCommunity, SnmpdAgent::kTableRows},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto one = request(VrSNMPv1);
        one->ReadCommunity = QString::fromLatin1(c.community);
        one->VarList = VrSNMPVarList(c.table, VrListTable2, 1);
        const QStringList expected = walk(*one, false);
        ASSERT_EQ(expected.size(), c.rows + 1) << expected.join('\n').toStdString();
        for (const uint8_t version : {VrSNMPv2c, VrSNMPv3}) {
            if (version == VrSNMPv3 && c.community != SnmpdAgent::kReadCommunity)
                continue;
            for (const bool async : {false, true}) {
                SCOPED_TRACE(testing::Message() << "version " << int(version) << (async ? " async" : " sync"));
                auto bulk = request();
                bulk->ReadCommunity = QString::fromLatin1(c.community);
                asVersion(*bulk, version);
                bulk->VarList = VrSNMPVarList(c.table, VrListTable2, 1);
                const int before = packetsIn();
                QStringList seen = walk(*bulk, async);
                if (c.community == SnmpdAgent::kTableOnlyCommunity) {
                    // SNMPv1 ends on noSuchName with the last row in place;
                    // here the columns end (the first ran into the second,
                    // whose successor is endOfMibView), with no row index.
                    EXPECT_EQ(seen.takeLast().toStdString(), "end code=0 120@1.3.6.1.4.1.99999.1.1.1.120 "
                                                             "(NOTDONE)@1.3.6.1.4.1.99999.1.1.1. "
                                                             "(NOTDONE)@1.3.6.1.4.1.99999.1.1.2.");
                    EXPECT_EQ(seen.join('\n').toStdString(), expected.mid(0, c.rows).join('\n').toStdString());
                } else {
                    EXPECT_EQ(seen.join('\n').toStdString(), expected.join('\n').toStdString());
                }
                // A handful of answers, not one per row.
                EXPECT_LT(packetsIn() - before, c.rows / 4);
            }
        }
    }
    EXPECT_TRUE(errors.empty());
}

// The simulator answering tooBig for one row: the walk shrinks its GETBULK
// until it reaches that row alone, so the rows before it arrive and the walk
// ends on tooBig where the one-row walk does. Over a slow link the columns go
// on side by side after the first answer; the rows are the same.
TEST_F(BulkWalk, SimulatorRowsAndTooBigAsInTheOneRowWalk)
{
    for (const auto &[tooBig, slow] : {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
        qrt::test::ApsimProcess device;
        std::vector<std::string> args;
        if (tooBig)
            args = {"--fail", QOS ".3.40=1"};
        if (slow)
            args.insert(args.end(), {"--delay-ms", "15"});
        std::string why;
        ASSERT_TRUE(device.start(args, &why)) << why;
        const auto pointed = [&](uint8_t version) {
            auto r = request(version);
            r->Port = uint16_t(device.port());
            r->Timeout = 200;
            r->VarList = VrSNMPVarList(kQosRules, VrListTable2, 1);
            return r;
        };
        auto one = pointed(VrSNMPv1);
        const QStringList expected = walk(*one, true);
        ASSERT_EQ(expected.size(), tooBig ? 40 : 65);
        EXPECT_TRUE(expected.last().startsWith(tooBig ? "end code=-101 " : "end code=0 "))
            << expected.last().toStdString();
        for (const bool async : {false, true}) {
            SCOPED_TRACE(testing::Message() << (tooBig ? "tooBig " : "") << (slow ? "slow " : "")
                                            << (async ? "async" : "sync"));
            auto bulk = pointed(VrSNMPv2c);
            EXPECT_EQ(walk(*bulk, async).join('\n').toStdString(), expected.join('\n').toStdString());
        }
    }
}

namespace {
const VrSNMPVarDef kContact[] = {
    {"1.3.6.1.2.1.1.4", "sysContact", VrSyntaxDisplayString, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {}};
const VrSNMPVarDef kLocation[] = {
    {"1.3.6.1.2.1.1.6", "sysLocation", VrSyntaxDisplayString, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {}};
} // namespace

// Reads sent ahead together are taken by the reads that follow, in their
// order, with what those would have read and without asking the agent again;
// a synchronous walk and an asynchronous one both start from them.
TEST_F(BulkWalk, ReadsSentAheadAreTakenWithoutAskingAgain)
{
    for (const uint8_t version : {VrSNMPv1, VrSNMPv2c, VrSNMPv3}) {
        SCOPED_TRACE(testing::Message() << "version " << int(version));
        const auto group = [&](const VrSNMPVarDef *defs, uint8_t kind) {
            auto r = request();
            asVersion(*r, version);
            r->VarList = VrSNMPVarList(defs, kind, kind == VrListScalar ? 0 : 1);
            return r;
        };
        const auto readAll = [&](bool ahead) {
            auto contact = group(kContact, VrListScalar);
            auto rows = group(kTestTable, VrListTable2);
            auto wide = group(kWideTable, VrListTable2);
            if (ahead)
                for (VrSNMPRequest *r : {contact.get(), rows.get(), wide.get()})
                    r->ReadAhead();
            bool ok = true;
            contact->Get(ok, true);
            QStringList seen{contact->VarList.Item(0).value};
            seen << walk(*rows, false) << walk(*wide, true);
            return seen;
        };
        readAll(false); // an SNMPv3 agent's engine ID is learnt once
        int before = packetsIn();
        const QStringList plain = readAll(false);
        const int plainPackets = packetsIn() - before;
        before = packetsIn();
        EXPECT_EQ(readAll(true).join('\n').toStdString(), plain.join('\n').toStdString());
        EXPECT_EQ(packetsIn() - before, plainPackets);
    }
    EXPECT_TRUE(errors.empty());
}

// What was read ahead is not taken once it may be out of date or is not what
// is asked: after a write, or when the list now names other objects. A read
// that failed ahead fails where it is taken, as it would have there.
TEST_F(BulkWalk, ReadsSentAheadAreAskedAgainAfterAWriteOrAnotherList)
{
    bool ok = true;
    auto r = request();
    r->VarList = VrSNMPVarList(kContact, VrListScalar, 0);
    r->ReadAhead();
    r->VarList.Item(0).value = QStringLiteral("written after the read");
    r->Set(ok, false, QString(), nullptr);
    r->VarList.Item(0).value.clear();
    r->Get(ok, true);
    EXPECT_EQ(r->VarList.Item(0).value, "written after the read");

    auto location = request();
    location->VarList = VrSNMPVarList(kLocation, VrListScalar, 0);
    location->Get(ok, true);
    r->ReadAhead();
    r->VarList = VrSNMPVarList(kLocation, VrListScalar, 0);
    r->Get(ok, true);
    EXPECT_EQ(r->VarList.Item(0).value, location->VarList.Item(0).value);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(errors.empty());

    // Nobody answers on this port: the read taken reports the time-out.
    auto silent = request();
    silent->Port = 9; // discard
    silent->Timeout = 20;
    silent->Retries = 0;
    silent->VarList = VrSNMPVarList(kContact, VrListScalar, 0);
    silent->ReadAhead();
    silent->Get(ok, true);
    EXPECT_FALSE(ok);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Code, VrSNMPErrorFromStatus(VrStatusTimeout).Code);
    // One dropped while out ends unheard.
    silent->ReadAhead();
    silent->DropReadAhead();
    WaitFor([] { return false; }, 100);
    EXPECT_EQ(silent->Pending, 0);
    EXPECT_EQ(errors.size(), 1u);
}
