#include "VrOptionList.h"
#include "VrSNMPVarList.h"

#include <gtest/gtest.h>

namespace {

VrSNMPVarDef def(const char *oid, uint8_t flags, const char *value = nullptr)
{
    return {oid, "obj", VrSyntaxInteger, flags, nullptr, "$1", nullptr, nullptr, value, nullptr};
}

const VrSNMPVarDef end{};
const VrSNMPVarDef nothing[] = {def(nullptr, VrFlagRead)};
const VrSNMPVarDef systemGroup[] = {
    def("1.3.6.1.2.1.1.1", VrFlagRead),
    def("1.3.6.1.2.1.1.5", VrFlagRead | VrFlagWrite, "ap-1"),
    end,
};
// A table keyed by its first column, as the pages declare them.
const VrSNMPVarDef staticTable[] = {
    def("1.3.6.1.4.1.48213.10.37.37.3.3.1.3.3.1.1", VrFlagKey),
    def("1.3.6.1.4.1.48213.10.37.37.3.3.1.3.3.1.2", VrFlagRead | VrFlagWrite),
    def("1.3.6.1.4.1.48213.10.37.37.3.3.1.3.3.1.3", VrFlagRead | VrFlagExcluded),
    def("1.3.6.1.4.1.48213.10.37.37.3.3.1.3.3.1.4", VrFlagRead | VrFlagImplied),
    end,
};

} // namespace

TEST(VrSNMPVarList, BuildsAndAppendsItemsUpToTheNullOid)
{
    EXPECT_EQ(VrSNMPVarList(nothing, VrListScalar, 0).Count(), 0);
    EXPECT_EQ(VrSNMPVarList(nullptr, VrListScalar, 0).Count(), 0);

    VrSNMPVarList list(systemGroup, VrListScalar, 0);
    list.Append(nothing);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Item(1).oid, "1.3.6.1.2.1.1.5");
    EXPECT_EQ(list.Item(1).value, "ap-1");
    EXPECT_EQ(list.Item(1).readExpression, "$1");
    EXPECT_TRUE(list.Item(0).value.isEmpty());

    list.Append(staticTable);
    ASSERT_EQ(list.Count(), 6);
    EXPECT_EQ(list.Item(2).oid, staticTable[0].oid);
    EXPECT_THROW(list.Item(6), std::out_of_range);
}

TEST(VrSNMPVarList, CopiesAndAssignmentsAreIndependentOfTheirSource)
{
    VrSNMPVarList source(systemGroup, VrListInstance, 0);
    source.description = "System";
    source.instanceSuffix = "7";

    VrSNMPVarList copy(source);
    VrSNMPVarList assigned(staticTable, VrListTable2, 1);
    assigned = source;
    for (VrSNMPVarList *list : {&copy, &assigned}) {
        EXPECT_EQ(list->kind, VrListInstance);
        EXPECT_EQ(list->keyCount, 0);
        EXPECT_EQ(list->description, "System");
        EXPECT_EQ(list->instanceSuffix, "7");
        ASSERT_EQ(list->Count(), 2);
        list->Item(1).value = "changed";
        list->Append(systemGroup);
    }
    EXPECT_EQ(source.Item(1).value, "ap-1");
    EXPECT_EQ(source.Count(), 2);

    VrSNMPVarList &alias = assigned;
    assigned = alias;
    ASSERT_EQ(assigned.Count(), 4);
    EXPECT_EQ(assigned.Item(1).value, "changed");
}

TEST(VrSNMPVarList, OwnedOptionListsStayWithTheirOwner)
{
    static const VrOptionNumDef bands[] = {{0, "2.4GHz"}, {1, "5GHz"}, {0, nullptr}};
    VrSNMPVarList source(systemGroup, VrListScalar, 0);
    VrOptionList *options = source.AdoptOptionList(std::make_unique<VrOptionList>(bands));
    source.Item(0).options = options;
    {
        VrSNMPVarList copy(source);
        VrSNMPVarList assigned;
        assigned.AdoptOptionList(std::make_unique<VrOptionList>(bands));
        assigned = source;
        EXPECT_EQ(copy.Item(0).options, options);
        EXPECT_EQ(assigned.Item(0).options, options);
    }
    // Neither the copy nor the assigned list took the source's list with it.
    EXPECT_EQ(source.Item(0).options->ValueToText("1"), "5GHz");
}

TEST(VrSNMPVarList, ReadableWritableAndImpliedFollowTheFlags)
{
    for (uint8_t kind : {VrListTable, VrListTable2}) {
        VrSNMPVarList table(staticTable, kind, 1);
        // The key goes into sets so that the agent can create the row, but is never read.
        EXPECT_TRUE(table.IsWritable(0));
        EXPECT_FALSE(table.IsReadable(0));
        EXPECT_TRUE(table.IsWritable(1));
        EXPECT_FALSE(table.IsReadable(2)) << "excluded";
        EXPECT_FALSE(table.IsWritable(3));
        EXPECT_TRUE(table.IsImplied(3));
        table.Item(0).flags |= VrFlagExcluded;
        table.Item(1).flags |= VrFlagExcluded;
        EXPECT_FALSE(table.IsWritable(0));
        EXPECT_FALSE(table.IsWritable(1));
        EXPECT_FALSE(table.IsReadable(1));
    }
    // Below the key count only tables write an item without the write bit.
    for (uint8_t kind : {VrListScalar, VrListInstance})
        EXPECT_FALSE(VrSNMPVarList(staticTable, kind, 1).IsWritable(0));
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
        {0, false, false},
    };

    VrSNMPVarList list;
    int leading = 0;
    int dataColumns = 0;
    for (const Case &c : cases) {
        const VrSNMPVarDef table[] = {def("1.3.6.1.4.1.48213.10.37.37.1", c.flags), end};
        list.Append(table);
        const int i = list.Count() - 1;
        EXPECT_EQ(list.IsLeading(i), c.leading) << "flags " << int(c.flags);
        EXPECT_EQ(list.IsDataColumn(i), c.dataColumn) << "flags " << int(c.flags);
        leading += c.leading;
        dataColumns += c.dataColumn;
    }
    EXPECT_EQ(list.LeadingCount(), leading);
    EXPECT_EQ(list.DataColumnCount(), dataColumns);
}
