#include "VrOptionList.h"
#include "VrSNMPVarList.h"

#include <gtest/gtest.h>

namespace {

const VrSNMPVarDef systemGroup[] = {
    {"1.3.6.1.2.1.1.1", "sysDescr", VrSyntaxDisplayString, VrFlagRead, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.2.1.1.5", "sysName", VrSyntaxDisplayString, VrFlagRead | VrFlagWrite, nullptr,
     "$1", "$2", "note", "ap-1", "1.3.6.1.2.1.1.5.0"},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

const VrSNMPVarDef nothing[] = {
    {nullptr, "ignored", VrSyntaxInteger, VrFlagRead, nullptr, nullptr, nullptr, nullptr,
     nullptr, nullptr},
};

// A table keyed by its first column, as the pages declare them.
const VrSNMPVarDef staticTable[] = {
    {"1.3.6.1.4.1.48213.10.37.37.3.3.1.3.3.1.1", "staticIndex", VrSyntaxInteger, VrFlagKey,
     nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.48213.10.37.37.3.3.1.3.3.1.2", "staticMac", VrSyntaxMacAddress,
     VrFlagRead | VrFlagWrite, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.48213.10.37.37.3.3.1.3.3.1.3", "staticIp", VrSyntaxIpAddress,
     VrFlagRead | VrFlagExcluded, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.4.1.48213.10.37.37.3.3.1.3.3.1.4", "staticName", VrSyntaxDisplayString,
     VrFlagRead | VrFlagImplied, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

VrSNMPVarDef withFlags(uint8_t flags)
{
    return {"1.3.6.1.4.1.48213.10.37.37.1", "x", VrSyntaxInteger, flags, nullptr, nullptr,
            nullptr, nullptr, nullptr, nullptr};
}

VrSNMPVarList tableList(uint8_t kind)
{
    return VrSNMPVarList(staticTable, kind, 1);
}

} // namespace

TEST(VrSNMPVarList, BuildsOneItemPerEntryUpToTheNullOid)
{
    const VrSNMPVarList list(systemGroup, VrListScalar, 0);
    ASSERT_EQ(list.Count(), 2);

    const VrSNMPVarItem &first = list.Item(0);
    EXPECT_EQ(first.oid, "1.3.6.1.2.1.1.1");
    EXPECT_EQ(first.name, "sysDescr");
    EXPECT_TRUE(first.value.isEmpty());
    EXPECT_TRUE(first.instance.isEmpty());
    EXPECT_TRUE(first.readExpression.isEmpty());

    const VrSNMPVarItem &second = list.Item(1);
    EXPECT_EQ(second.syntax, VrSyntaxDisplayString);
    EXPECT_EQ(second.flags, VrFlagRead | VrFlagWrite);
    EXPECT_EQ(second.readExpression, "$1");
    EXPECT_EQ(second.writeExpression, "$2");
    EXPECT_EQ(second.extra, "note");
    EXPECT_EQ(second.value, "ap-1");
    EXPECT_EQ(second.instance, "1.3.6.1.2.1.1.5.0");
    EXPECT_THROW(list.Item(2), std::out_of_range);
}

TEST(VrSNMPVarList, TableStartingWithNullOidIsEmptyAndAppendsNothing)
{
    EXPECT_EQ(VrSNMPVarList(nothing, VrListScalar, 0).Count(), 0);
    EXPECT_EQ(VrSNMPVarList(nullptr, VrListScalar, 0).Count(), 0);

    VrSNMPVarList list(systemGroup, VrListScalar, 0);
    list.Append(nothing);
    list.Append(nullptr);
    EXPECT_EQ(list.Count(), 2);

    list.Append(staticTable);
    ASSERT_EQ(list.Count(), 6);
    EXPECT_EQ(list.Item(1).name, "sysName");
    EXPECT_EQ(list.Item(2).name, "staticIndex");
}

TEST(VrSNMPVarList, CopyIsIndependentOfItsSource)
{
    VrSNMPVarList source(systemGroup, VrListInstance, 0);
    source.description = "System";
    source.instanceSuffix = "7";

    VrSNMPVarList copy(source);
    EXPECT_EQ(copy.kind, VrListInstance);
    EXPECT_EQ(copy.description, "System");
    EXPECT_EQ(copy.instanceSuffix, "7");
    ASSERT_EQ(copy.Count(), 2);

    copy.Item(1).value = "changed";
    copy.Item(1).instance = "1.3.6.1.2.1.1.5.7";
    copy.Append(systemGroup);
    EXPECT_EQ(source.Item(1).value, "ap-1");
    EXPECT_EQ(source.Item(1).instance, "1.3.6.1.2.1.1.5.0");
    EXPECT_EQ(source.Count(), 2);

    source.Item(0).value = "from source";
    EXPECT_TRUE(copy.Item(0).value.isEmpty());
}

TEST(VrSNMPVarList, AssignmentReplacesEverythingAndSurvivesSelfAssignment)
{
    VrSNMPVarList target(staticTable, VrListTable2, 1);
    VrSNMPVarList source(systemGroup, VrListScalar, 0);
    source.description = "System";

    target = source;
    EXPECT_EQ(target.kind, VrListScalar);
    EXPECT_EQ(target.keyCount, 0);
    EXPECT_EQ(target.description, "System");
    ASSERT_EQ(target.Count(), 2);
    EXPECT_EQ(target.Item(0).name, "sysDescr");

    target.Item(0).value = "mine";
    EXPECT_TRUE(source.Item(0).value.isEmpty());

    VrSNMPVarList &alias = target;
    target = alias;
    ASSERT_EQ(target.Count(), 2);
    EXPECT_EQ(target.Item(0).value, "mine");
}

TEST(VrSNMPVarList, OwnedOptionListsStayWithTheirOwner)
{
    static const VrOptionNumDef bands[] = {{0, "2.4GHz"}, {1, "5GHz"}, {0, nullptr}};
    VrSNMPVarList source(systemGroup, VrListScalar, 0);
    VrOptionList *options = source.AdoptOptionList(std::make_unique<VrOptionList>(bands));
    source.Item(0).options = options;

    {
        VrSNMPVarList copy(source);
        EXPECT_EQ(copy.Item(0).options, options);
        VrSNMPVarList assigned;
        assigned.AdoptOptionList(std::make_unique<VrOptionList>(bands));
        assigned = source;
        EXPECT_EQ(assigned.Item(0).options, options);
    }
    // Neither the copy nor the assigned list took the source's list with it.
    EXPECT_EQ(source.Item(0).options->ValueToText("1"), "5GHz");
}

TEST(VrSNMPVarList, ReadableWritableAndImpliedFollowTheFlags)
{
    const VrSNMPVarList scalars(systemGroup, VrListScalar, 0);
    EXPECT_TRUE(scalars.IsReadable(0));
    EXPECT_FALSE(scalars.IsWritable(0));
    EXPECT_TRUE(scalars.IsWritable(1));
    EXPECT_FALSE(scalars.IsImplied(1));

    for (uint8_t kind : {VrListTable, VrListTable2}) {
        const VrSNMPVarList table = tableList(kind);
        EXPECT_TRUE(table.IsTable());
        // The key is written so that the agent can create the row, but never read.
        EXPECT_TRUE(table.IsWritable(0));
        EXPECT_FALSE(table.IsReadable(0));
        EXPECT_TRUE(table.IsWritable(1));
        EXPECT_FALSE(table.IsReadable(2)) << "excluded";
        EXPECT_FALSE(table.IsWritable(3));
        EXPECT_TRUE(table.IsImplied(3));
    }

    // Below the key count only tables write an item without the write bit.
    for (uint8_t kind : {VrListScalar, VrListInstance})
        EXPECT_FALSE(tableList(kind).IsWritable(0));

    VrSNMPVarList excluded = tableList(VrListTable2);
    excluded.Item(0).flags |= VrFlagExcluded;
    excluded.Item(1).flags |= VrFlagExcluded;
    EXPECT_FALSE(excluded.IsWritable(0));
    EXPECT_FALSE(excluded.IsWritable(1));
    EXPECT_FALSE(excluded.IsReadable(1));
}

TEST(VrSNMPVarList, LeadingAndDataColumnGroups)
{
    struct Case {
        uint8_t flags;
        bool leading;
        bool dataColumn;
    };
    const Case cases[] = {
        {VrFlagWrite, true, false},
        {VrFlagWrite | VrFlagImplied, false, false},
        {VrFlagRead | VrFlagWrite, false, true},
        {VrFlagRead | VrFlagExcluded, true, false},
        {VrFlagRead | VrFlagLeading, true, false},
        {VrFlagKey, false, true},
        {VrFlagData, false, true},
        {VrFlagKey | VrFlagWrite, false, true},
        {0, false, false},
    };

    VrSNMPVarList list;
    for (const Case &c : cases) {
        const VrSNMPVarDef table[] = {withFlags(c.flags), {}};
        list.Append(table);
    }
    ASSERT_EQ(list.Count(), int(std::size(cases)));

    int leading = 0;
    int dataColumns = 0;
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.IsLeading(i), cases[i].leading) << "flags " << int(cases[i].flags);
        EXPECT_EQ(list.IsDataColumn(i), cases[i].dataColumn) << "flags " << int(cases[i].flags);
        leading += cases[i].leading;
        dataColumns += cases[i].dataColumn;
    }
    EXPECT_EQ(list.LeadingCount(), leading);
    EXPECT_EQ(list.DataColumnCount(), dataColumns);
}
