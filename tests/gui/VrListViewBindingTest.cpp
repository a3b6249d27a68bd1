#include "QtPrinters.h"
#include "VrListViewBinding.h"
#include "VrSNMPVarList.h"

#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {
#define COL(oid, name, flags) {oid, name, VrSyntaxDisplayString, flags, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}
// A write-only command column leads (hidden); keys and readable columns follow.
const VrSNMPVarDef kClients[] = {
    COL("1.3.6.1.4.1.48213.10.37.37.2.1.3.4.2.1.1", "dot11ClinetIndex", VrFlagKey),
    COL("1.3.6.1.4.1.48213.10.37.37.2.1.3.4.2.1.2", "dot11ClientMac", VrFlagRead),
    COL("1.3.6.1.4.1.48213.10.37.37.2.1.3.4.2.1.9", "dot11ClientDelete", VrFlagWrite),
    COL("1.3.6.1.4.1.48213.10.37.37.2.1.3.4.2.1.3", "dot11ClientBand", VrFlagRead | VrFlagWrite),
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr}};
} // namespace

TEST(VrListViewBinding, LeadingColumnsAreHiddenAndRowsCopyBackInColumnOrder)
{
    VrSNMPVarList list(kClients, VrListTable2, 1);
    VrListViewBinding binding(list);
    QTreeWidget view;
    binding.Attach(&view);
    binding.EnsureColumns();
    ASSERT_EQ(view.columnCount(), 4);
    EXPECT_EQ(binding.ColumnItems(), (std::vector<int>{2, 0, 1, 3}));
    EXPECT_EQ(view.headerItem()->text(0), "dot11ClientDelete");
    EXPECT_TRUE(view.isColumnHidden(0));
    EXPECT_FALSE(view.isColumnHidden(1));
    EXPECT_EQ(view.headerItem()->text(3), "dot11ClientBand");

    const char *values[] = {"3", "00A0C9123456", "0", "5GHz"};
    for (int i = 0; i < 4; ++i)
        list.Item(i).value = values[i];
    QTreeWidgetItem *row = binding.AddRow();
    EXPECT_EQ(row->text(0), "0");
    EXPECT_EQ(row->text(1), "3");
    EXPECT_EQ(binding.SelectedRow(), nullptr);
    EXPECT_FALSE(binding.CopyRowToItems(binding.SelectedRow()));

    row->setText(3, "2.4GHz");
    view.setCurrentItem(row);
    ASSERT_TRUE(binding.CopyRowToItems(binding.SelectedRow()));
    EXPECT_EQ(list.Item(3).value, "2.4GHz");
    EXPECT_EQ(list.Item(0).value, "3");

    // Rows go, columns stay; a view that already has its columns keeps them.
    binding.ClearRows();
    EXPECT_EQ(view.topLevelItemCount(), 0);
    view.setHeaderLabels({"a", "b", "c", "d", "e"});
    binding.EnsureColumns();
    EXPECT_EQ(view.headerItem()->text(0), "a");
}
