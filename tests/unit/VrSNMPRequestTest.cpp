// What a request computes without talking to an agent: expression operands,
// derived values, conditions, row indexes and the end of a column.
#include "VrOptionList.h"
#include "SnmpExceptionCode.h"
#include "VrSNMPError.h"
#include "VrSNMPRequest.h"

#include <gtest/gtest.h>

namespace {

const VrOptionNumDef kModes[] = {{1, "Access Point"}, {2, "WDS with AP"}, {0, nullptr}};

class RequestLogic : public ::testing::Test
{
protected:
    RequestLogic() : modes(kModes)
    {
        const VrSNMPVarDef defs[] = {
            {"1.3.6.1.4.1.99999.1", "number", VrSyntaxInteger, VrFlagRead, nullptr, nullptr, nullptr, nullptr, "5", nullptr},
            {"1.3.6.1.4.1.99999.2", "flag", VrSyntaxTruthValue, VrFlagRead, nullptr, nullptr, nullptr, nullptr, "true", nullptr},
            {"1.3.6.1.4.1.99999.3", "ticks", VrSyntaxTimeTicks, VrFlagRead, nullptr, nullptr, nullptr, nullptr, "0 days, 00:00:01.00", nullptr},
            {"1.3.6.1.4.1.99999.4", "text", VrSyntaxDisplayString, VrFlagRead, nullptr, nullptr, nullptr, nullptr, "a$1b", nullptr},
            {"1.3.6.1.4.1.99999.5", "mode", VrSyntaxInteger, VrFlagRead, &modes, nullptr, nullptr, nullptr, "WDS with AP", nullptr},
            {"1.3.6.1.4.1.99999.6", "empty", VrSyntaxInteger, VrFlagRead, nullptr, nullptr, nullptr, nullptr, "(NULL)", nullptr},
            {}};
        request.VarList = VrSNMPVarList(defs, VrListScalar, 0);
    }

    VrOptionList modes;
    VrSNMPRequest request;
};

} // namespace

TEST_F(RequestLogic, SubstitutionGivesOperandsBySyntax)
{
    EXPECT_EQ(request.SubstituteVariables("$", "$0+$1*$2-$4", false), "5+1*100-2");
    // Texts are quoted, and what a value brings in is not scanned again.
    EXPECT_EQ(request.SubstituteVariables("$", "$3=\"x\"", true), "\"a$1b\"=\"x\"");
    EXPECT_EQ(request.SubstituteVariables("$", "cost $ $0", false), "cost $ 5");
    EXPECT_EQ(SnmpExceptionCode([&] { request.SubstituteVariables("$", "$3", false); }), -513);
    EXPECT_EQ(SnmpExceptionCode([&] { request.SubstituteVariables("$", "$5+1", false); }), -512);
    EXPECT_EQ(SnmpExceptionCode([&] { request.SubstituteVariables("$", "$60", false); }), -513);
}

TEST_F(RequestLogic, DerivedValuesAreWrittenInTheItemsSyntax)
{
    VrSNMPVarItem &number = request.VarList.Item(0);
    number.readExpression = "$0*2+1";
    request.ComputeDerivedValue(0, false);
    EXPECT_EQ(number.value, "11");
    request.ComputeDerivedValue(0, true); // no write expression: unchanged
    EXPECT_EQ(number.value, "11");

    VrSNMPVarItem &flag = request.VarList.Item(1);
    flag.writeExpression = "$0-11";
    request.ComputeDerivedValue(1, true);
    EXPECT_EQ(flag.value, "false");

    VrSNMPVarItem &ticks = request.VarList.Item(2);
    ticks.readExpression = "$2*60";
    request.ComputeDerivedValue(2, false);
    EXPECT_EQ(ticks.value, "0 days, 00:01:00.00");

    // The result goes through the item's option list.
    VrSNMPVarItem &mode = request.VarList.Item(4);
    mode.readExpression = "$4-1";
    request.ComputeDerivedValue(4, false);
    EXPECT_EQ(mode.value, "Access Point");

    VrSNMPVarItem &text = request.VarList.Item(3);
    text.readExpression = "1+1";
    EXPECT_EQ(SnmpExceptionCode([&] { request.ComputeDerivedValue(3, false); }), -513);
}

TEST_F(RequestLogic, ConditionsOverItemValues)
{
    EXPECT_TRUE(request.EvaluateCondition(QString()));
    EXPECT_TRUE(request.EvaluateCondition("$0=5"));
    EXPECT_FALSE(request.EvaluateCondition("$0=6"));
    EXPECT_TRUE(request.EvaluateCondition("$0=5&$4=2"));
    EXPECT_FALSE(request.EvaluateCondition("$3=\"x\""));
}

TEST(VrSNMPRequestIndex, KeysComeFromTheRowIndexAndGoBackIntoIt)
{
    const VrSNMPVarDef defs[] = {
        {"1.3.6.1.4.1.99999.1.1.1", "address", VrSyntaxIpAddress, VrFlagKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        {"1.3.6.1.4.1.99999.1.1.2", "name", VrSyntaxDisplayString, VrFlagKey | VrFlagImplied, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        {"1.3.6.1.4.1.99999.1.1.3", "value", VrSyntaxInteger, VrFlagRead, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        {}};
    VrSNMPRequest request;
    request.VarList = VrSNMPVarList(defs, VrListTable2, 2);
    EXPECT_EQ(request.DecodeIndex(0, "10.0.0.1.97.98"), "97.98");
    EXPECT_EQ(request.DecodeIndex(1, "97.98"), "");
    EXPECT_EQ(request.VarList.Item(0).value, "10.0.0.1");
    EXPECT_EQ(request.VarList.Item(1).value, "ab"); // implied: no length arc
    QString arcs;
    request.EncodeIndex(1, arcs);
    EXPECT_EQ(arcs, "97.98");
    EXPECT_EQ(SnmpExceptionCode([&] { request.DecodeIndex(0, "10.0.0"); }), -514);

    // Without the implied flag the name carries its length.
    request.VarList.Item(1).flags = VrFlagKey;
    request.EncodeIndex(1, arcs);
    EXPECT_EQ(arcs, "2.97.98");
}

TEST(VrSNMPRequestIndex, KeyThroughItsOptionList)
{
    VrOptionList modes(kModes);
    const VrSNMPVarDef defs[] = {
        {"1.3.6.1.4.1.99999.1.1.1", "mode", VrSyntaxInteger, VrFlagKey, &modes, nullptr, nullptr, nullptr, nullptr, nullptr},
        {}};
    VrSNMPRequest request;
    request.VarList = VrSNMPVarList(defs, VrListTable2, 1);
    request.DecodeIndex(0, "2");
    EXPECT_EQ(request.VarList.Item(0).value, "WDS with AP");
    QString arcs;
    request.EncodeIndex(0, arcs);
    EXPECT_EQ(arcs, "2");
}

TEST(VrSNMPRequestWalk, EndOfColumn)
{
    VrSNMPRequest request;
    const QString base = "1.3.6.1.4.1.99999.1.1.1";
    request.VarList.kind = VrListTable2;
    EXPECT_FALSE(request.IsEndOfColumn(base, base + ".4", base + ".5"));
    EXPECT_TRUE(request.IsEndOfColumn(base, base + ".5", base + ".5"));   // no progress
    EXPECT_TRUE(request.IsEndOfColumn(base, base + ".5", "1.3.6.1.4.1.99999.1.1.2.1"));
    EXPECT_TRUE(request.IsEndOfColumn(base, base + ".5", base));
    // Column 10 is not part of column 1, though its text begins the same way.
    EXPECT_TRUE(request.IsEndOfColumn(base, base + ".5", base + "0.1"));
    request.VarList.kind = VrListInstance;
    EXPECT_FALSE(request.IsEndOfColumn(base, base + ".5", "1.3.6.1.9"));
}
