#pragma once

#include <QPointer>
#include <vector>

#include <QTreeWidget>
class VrSNMPVarList;

// The look of every report-style list: grid lines between the cells, and the
// selected row drawn in the highlight colours, with or without the focus.
void VrReportListLook(QTreeWidget *view);

// Shows the rows of a table list in a report-style tree widget: one column
// per item, the leading group first (hidden columns), then the data columns,
// each captioned with its item's name; and copies a row back into the items.
class VrListViewBinding
{
public:
    explicit VrListViewBinding(VrSNMPVarList &list);

    // Makes the view read-only with whole-row selection that stays visible
    // without the focus, and grid lines.
    void Attach(QTreeWidget *view);
    QTreeWidget *View() const { return m_view; }

    // Builds the columns unless the view already has enough of them.
    void EnsureColumns();
    void ClearRows();
    // A row from the items' current values.
    QTreeWidgetItem *AddRow();
    // The cells of a row into the items' values; false without a row.
    bool CopyRowToItems(const QTreeWidgetItem *row);
    // The selected row, or null.
    QTreeWidgetItem *SelectedRow() const;

    // Item positions in column order.
    std::vector<int> ColumnItems() const;

private:
    VrSNMPVarList &m_list;
    QPointer<QTreeWidget> m_view;
};
