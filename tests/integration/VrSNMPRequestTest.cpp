#include "SnmpTestSupport.h"

#include <QElapsedTimer>
#include <QRegularExpression>

namespace {

class SnmpRequest : public SnmpdSuite
{
};

const VrSNMPVarDef kSystem[] = {
    {"1.3.6.1.2.1.1.4", "sysContact", VrSyntaxDisplayString, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.2.1.1.5", "sysName", VrSyntaxDisplayString, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.2.1.1.6", "sysLocation", VrSyntaxDisplayString, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {}};

// The agent's test table: the row index as key, then both columns.
const VrSNMPVarDef kTable[] = {
    {"1.3.6.1.4.1.99999.1.1.1", "rowIndex", VrSyntaxInteger, VrFlagKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.99999.1.1.1", "number", VrSyntaxInteger, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.99999.1.1.2", "label", VrSyntaxDisplayString, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {}};

void expectRow(const VrSNMPVarList &list, int row)
{
    EXPECT_EQ(list.Item(0).value, QString::number(row));
    EXPECT_EQ(list.Item(1).value, QString::number(row * 10));
    EXPECT_EQ(list.Item(2).value, QStringLiteral("row%1").arg(row));
    EXPECT_EQ(list.Item(2).instance, QStringLiteral("1.3.6.1.4.1.99999.1.1.2.%1").arg(row));
}

} // namespace

TEST_F(SnmpRequest, ScalarsGetTheirZeroInstanceAndInstancesGoOutAsWritten)
{
    const QString name = readOne("1.3.6.1.2.1.1.5", VrSyntaxDisplayString, VrListScalar);
    EXPECT_FALSE(name.startsWith("error")) << name.toStdString();
    // The same object given with its instance is sent as written ...
    EXPECT_EQ(readOne("1.3.6.1.2.1.1.5.0", VrSyntaxDisplayString, VrListInstance), name);
    EXPECT_EQ(readOne("1.3.6.1.4.1.99999.1.1.1.3", VrSyntaxInteger), "30");
    // ... so a scalar list with an instance OID asks for "....0.0", which v1 lacks.
    auto r = request(VrSNMPv1);
    const VrSNMPVarDef defs[] = {
        {"1.3.6.1.2.1.1.5.0", "sysName", VrSyntaxDisplayString, VrFlagRead, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        {}};
    r->VarList = VrSNMPVarList(defs, VrListScalar, 0);
    bool ok = true;
    EXPECT_EQ(r->Get(ok, true), 0);
    EXPECT_FALSE(ok);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Code, -102);
    EXPECT_EQ(errors[0].Message, "(SNMP) Variable does not exist!");
    EXPECT_EQ(errors[0].Sequence, 1u);
    EXPECT_EQ(r->ErrorCount, 1u);

    // An instance list read with get-next takes the following instance.
    auto next = request();
    const VrSNMPVarDef column[] = {
        {"1.3.6.1.4.1.99999.1.1.1.3", "number", VrSyntaxInteger, VrFlagRead, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        {}};
    next->VarList = VrSNMPVarList(column, VrListInstance, 0);
    next->UseGetNext = true;
    ok = true;
    EXPECT_EQ(next->Get(ok, true), 0);
    EXPECT_TRUE(ok);
    EXPECT_EQ(next->VarList.Item(0).value, "40");
    EXPECT_EQ(next->VarList.Item(0).instance, "1.3.6.1.4.1.99999.1.1.1.4");
}

TEST_F(SnmpRequest, WalkEndsWhenEveryColumnIsLeft)
{
    auto r = request();
    r->VarList = VrSNMPVarList(kTable, VrListTable2, 1);
    bool ok = true;
    int rows = 0;
    for (bool first = true; r->Get(ok, first); first = false) {
        ++rows;
        expectRow(r->VarList, rows);
    }
    EXPECT_TRUE(ok);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(rows, SnmpdAgent::kTableRows);
    EXPECT_EQ(r->VarList.Item(1).value, "(NOTDONE)");
    EXPECT_EQ(r->VarList.Item(2).value, "(NOTDONE)");
    // A walk cannot be continued on a list of single values.
    auto scalar = request();
    scalar->VarList = VrSNMPVarList(kSystem, VrListScalar, 0);
    try {
        scalar->Get(ok, false);
        ADD_FAILURE() << "no exception";
    } catch (const VrSNMPException &e) {
        EXPECT_EQ(e.Code(), -510);
    }
}

TEST_F(SnmpRequest, WalkEndsQuietlyOnNoSuchNameAtTheEndOfTheView)
{
    auto r = request(VrSNMPv1);
    r->ReadCommunity = QString::fromLatin1(SnmpdAgent::kTableOnlyCommunity);
    r->VarList = VrSNMPVarList(kTable, VrListTable2, 1);
    bool ok = true;
    int rows = 0;
    for (bool first = true; r->Get(ok, first); first = false)
        ++rows;
    EXPECT_EQ(rows, SnmpdAgent::kTableRows);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(r->ErrorCount, 0u);
    expectRow(r->VarList, SnmpdAgent::kTableRows);
}

TEST_F(SnmpRequest, AsynchronousWalkStepsFromItsCompletion)
{
    struct Walk {
        VrSNMPRequest *request;
        int rows = 0;
        bool done = false;
        int code = 0;
        static void Step(void *data, VrSNMPError &error, VrSNMPVarList &list)
        {
            auto *walk = static_cast<Walk *>(data);
            if (error.Code != 0 || error.Finished) {
                walk->code = error.Code;
                walk->done = true;
                return;
            }
            expectRow(list, ++walk->rows);
            walk->request->GetAsync(&Walk::Step, walk, false);
        }
    };
    auto r = request();
    r->VarList = VrSNMPVarList(kTable, VrListTable2, 1);
    Walk walk{r.get()};
    QElapsedTimer clock;
    clock.start();
    r->GetAsync(&Walk::Step, &walk, true);
    EXPECT_EQ(r->Pending, 1);
    EXPECT_TRUE(WaitFor([&] { return walk.done; }, 5000));
    // Each step follows its answer at once: no timer tick per row (a 20 ms
    // tick alone would make this walk last 2.4 s).
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(walk.code, 0);
    EXPECT_EQ(walk.rows, SnmpdAgent::kTableRows);
    EXPECT_EQ(r->Pending, 0);
}

TEST_F(SnmpRequest, ItemSelectionWritesOnlyTheListedItemsAndLeavesTheListAsItWas)
{
    auto before = request();
    before->VarList = VrSNMPVarList(kSystem, VrListScalar, 0);
    bool ok = true;
    before->Get(ok, true);
    ASSERT_TRUE(ok);
    const QString name = before->VarList.Item(1).value;

    auto r = request();
    r->VarList = VrSNMPVarList(kSystem, VrListScalar, 0);
    for (int i = 0; i < 3; ++i)
        r->VarList.Item(i).value = QStringLiteral("kept%1").arg(i);
    const QStringList source{QStringLiteral("contact-new"), QStringLiteral("location-new")};
    r->Set(ok, false, QStringLiteral("0,2"), &source);
    EXPECT_TRUE(ok);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(r->VarList.Item(i).value, QStringLiteral("kept%1").arg(i));
        EXPECT_EQ(r->VarList.Item(i).flags, VrFlagRead | VrFlagWrite);
    }
    auto after = request();
    after->VarList = VrSNMPVarList(kSystem, VrListScalar, 0);
    after->Get(ok, true);
    EXPECT_EQ(after->VarList.Item(0).value, "contact-new");
    EXPECT_EQ(after->VarList.Item(1).value, name);
    EXPECT_EQ(after->VarList.Item(2).value, "location-new");

    // Without a selection every writable item goes out with its own value.
    r->Set(ok, false, QString(), nullptr);
    after->Get(ok, true);
    EXPECT_TRUE(ok);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(after->VarList.Item(i).value, QStringLiteral("kept%1").arg(i));
    EXPECT_TRUE(errors.empty());
}

TEST_F(SnmpRequest, TableWritesAddressTheRowOfTheKeys)
{
    auto r = request();
    r->VarList = VrSNMPVarList(kTable, VrListTable2, 1);
    r->VarList.Item(0).value = "12";
    r->VarList.Item(1).value = "555";
    r->VarList.Item(2).value = "twelve";
    bool ok = true;
    r->Set(ok, false, QString(), nullptr);
    EXPECT_TRUE(ok);
    EXPECT_EQ(readOne("1.3.6.1.4.1.99999.1.1.1.12", VrSyntaxInteger), "555");
    EXPECT_EQ(readOne("1.3.6.1.4.1.99999.1.1.2.12", VrSyntaxDisplayString), "twelve");
    EXPECT_EQ(readOne("1.3.6.1.4.1.99999.1.1.1.13", VrSyntaxInteger), "130");

    // A row the agent lacks: noSuchName ends walks quietly, never writes.
    auto v1 = request(VrSNMPv1);
    v1->VarList = VrSNMPVarList(kTable, VrListTable2, 1);
    v1->VarList.Item(0).value = "500";
    v1->VarList.Item(1).value = "1";
    v1->VarList.Item(2).value = "x";
    v1->Set(ok, false, QString(), nullptr);
    EXPECT_FALSE(ok);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Code, -102);
}

TEST_F(SnmpRequest, EveryTypeTheAgentServesRoundTrips)
{
    // Written and read back, each as the syntax the item declares.
    const VrSNMPVarDef writable[] = {
        {"1.3.6.1.4.1.99999.1.1.1.5", "integer", VrSyntaxInteger, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        {"1.3.6.1.4.1.99999.1.1.1.11", "truth", VrSyntaxTruthValue, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        {"1.3.6.1.4.1.99999.2.1.0", "gauge", VrSyntaxGauge32, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        {"1.3.6.1.4.1.99999.2.2.0", "counter", VrSyntaxCounter32, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        {"1.3.6.1.4.1.99999.2.3.0", "oid", VrSyntaxOid, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        {"1.3.6.1.2.1.1.6.0", "text", VrSyntaxDisplayString, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        {"1.3.6.1.4.1.99999.1.1.2.6", "hex", VrSyntaxOctetHex, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        {"1.3.6.1.4.1.99999.1.1.2.7", "mac", VrSyntaxMacAddress, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        {"1.3.6.1.4.1.99999.1.1.2.8", "dateAndTime", VrSyntaxDateAndTime, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        {"1.3.6.1.4.1.99999.1.1.2.9", "real", VrSyntaxReal, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        {"1.3.6.1.4.1.99999.1.1.2.10", "dayNumber", VrSyntaxDateTime8, VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        {}};
    const QStringList values{"-77", "true", "4000000000", "12345", "1.3.6.1.4.1.99999.42", "Room 5",
                             "00FF7F", "0011223344AA", "2024-2-29,23:59:60.9,-5:30", "-0.125",
                             "2024/02/29 11:59:59 pm"};
    auto w = request();
    w->VarList = VrSNMPVarList(writable, VrListInstance, 0);
    for (int i = 0; i < values.size(); ++i)
        w->VarList.Item(i).value = values[i];
    bool ok = true;
    w->Set(ok, false, QString(), nullptr);
    ASSERT_TRUE(ok) << (errors.empty() ? 0 : errors.back().Code);

    auto r = request();
    r->VarList = VrSNMPVarList(writable, VrListInstance, 0);
    r->Get(ok, true);
    ASSERT_TRUE(ok);
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(r->VarList.Item(i).value, values[i]) << r->VarList.Item(i).name.toStdString();

    // Read-only types of the agent.
    EXPECT_EQ(readOne("1.3.6.1.2.1.4.20.1.1.127.0.0.1", VrSyntaxIpAddress), "127.0.0.1");
    const QString upTime = readOne("1.3.6.1.2.1.1.3.0", VrSyntaxTimeTicks);
    EXPECT_TRUE(QRegularExpression(R"(^\d+ days, \d\d:\d\d:\d\d\.\d\d$)").match(upTime).hasMatch())
        << upTime.toStdString();
    bool isNumber = false;
    readOne("1.3.6.1.2.1.31.1.1.1.6.1", VrSyntaxCounter64).toULongLong(&isNumber);
    EXPECT_TRUE(isNumber);
    EXPECT_TRUE(readOne("1.3.6.1.2.1.1.2.0", VrSyntaxOid).startsWith("1.3.6.1.4.1.8072."));
    EXPECT_EQ(readOne("1.3.6.1.2.1.1.1.0", VrSyntaxNull), "(NULL)");
    // v2c answers a missing object with an exception value: no such object.
    EXPECT_EQ(readOne("1.3.6.1.2.1.1.99.0", VrSyntaxInteger), "error -102");
}

TEST_F(SnmpRequest, AnswersThatDoNotFitTheListAreReportedAndLeaveItemsAlone)
{
    // A value of another type than its item declares.
    const VrSNMPVarDef mistyped[] = {
        {"1.3.6.1.2.1.1.5", "sysName", VrSyntaxInteger, VrFlagRead, nullptr, nullptr, nullptr, nullptr, "kept", nullptr},
        {"1.3.6.1.2.1.1.6", "sysLocation", VrSyntaxDisplayString, VrFlagRead, nullptr, nullptr, nullptr, nullptr, "kept too", nullptr},
        {}};
    auto r = request();
    r->VarList = VrSNMPVarList(mistyped, VrListScalar, 0);
    bool ok = true;
    EXPECT_EQ(r->Get(ok, true), 0);
    EXPECT_FALSE(ok);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Code, -511);
    EXPECT_EQ(r->VarList.Item(0).value, "kept");
    EXPECT_EQ(r->VarList.Item(1).value, "kept too");

    // A set answers with the written varbinds only, fewer than the readable
    // items a read-back expects.
    auto w = request();
    w->VarList = VrSNMPVarList(kSystem, VrListScalar, 0);
    for (int i = 0; i < 3; ++i)
        w->VarList.Item(i).value = QStringLiteral("before%1").arg(i);
    const QStringList source{QStringLiteral("contact-readback")};
    ok = true;
    w->Set(ok, true, QStringLiteral("0"), &source);
    EXPECT_FALSE(ok);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[1].Code, -411);
    EXPECT_EQ(errors[1].Message, "(SNMPClass) Invalid Pdu!");
    EXPECT_EQ(w->VarList.Item(0).value, "contact-readback");
    EXPECT_EQ(w->VarList.Item(1).value, "before1");
    EXPECT_EQ(w->VarList.Item(2).value, "before2");
}

TEST_F(SnmpRequest, BuildErrorsRaiseAndBadListKindsAreReported)
{
    auto r = request();
    r->Address = "no-such-host.invalid";
    r->VarList = VrSNMPVarList(kSystem, VrListScalar, 0);
    Completions seen;
    bool ok = true;
    for (int attempt = 0; attempt < 3; ++attempt) {
        try {
            if (attempt == 0)
                r->Get(ok, true);
            else if (attempt == 1)
                r->GetAsync(&Completions::Record, &seen, true);
            else
                r->Set(ok, false, QString(), nullptr);
            ADD_FAILURE() << "no exception";
        } catch (const VrSNMPException &e) {
            EXPECT_EQ(e.Code(), -509);
            EXPECT_EQ(e.Message(), "(VrSNMP++) Invalid IP Address or DNS name!");
        }
    }
    QTest::qWait(50);
    EXPECT_EQ(r->Pending, 0);
    EXPECT_EQ(seen.calls, 0);
    EXPECT_EQ(r->ErrorCount, 0u);

    // A list kind no exchange knows: reported on reads, raised on writes.
    auto k = request();
    k->VarList = VrSNMPVarList(kSystem, 9, 0);
    ok = true;
    EXPECT_EQ(k->Get(ok, true), 0);
    EXPECT_FALSE(ok);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Code, -515);
    EXPECT_THROW(k->Set(ok, false, QString(), nullptr), VrSNMPException);
}

TEST_F(SnmpRequest, RequestsStartFromTheGlobalRecords)
{
    VrSNMPResetTargetDefaults();
    const VrSNMPRequest defaults;
    EXPECT_EQ(defaults.Address, "127.0.0.1");
    EXPECT_EQ(defaults.Port, 161);
    EXPECT_EQ(defaults.Version, VrSNMPv1);
    EXPECT_EQ(defaults.ReadCommunity, "hollow");
    EXPECT_EQ(defaults.Timeout, 100u);
    EXPECT_EQ(defaults.Retries, 1);
    g_SNMPDevice.address = "10.9.8.7";
    const VrSNMPRequest launched;
    VrSNMPResetTargetDefaults();
    EXPECT_EQ(launched.Address, "10.9.8.7");
}
