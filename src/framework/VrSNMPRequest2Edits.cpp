#include "VrSNMPRequest2Edits.h"

#include <QCoreApplication>
#include <QTreeWidget>

VrSNMPRequest2Edits::VrSNMPRequest2Edits(QWidget *ownerForm)
    : VrSNMPRequest2Controls(ownerForm), VrControlBindings(Request.VarList, ownerForm),
      m_listView(Request.VarList)
{
}

void VrSNMPRequest2Edits::AttachListView(QTreeWidget *view, bool enableOnSelect)
{
    if (QTreeWidget *old = m_listView.View())
        disconnect(old, nullptr, this, nullptr);
    EnableOnSelect = enableOnSelect;
    m_listView.Attach(view);
    connect(view, &QTreeWidget::itemSelectionChanged, this, [this] {
        QTreeWidgetItem *row = m_listView.SelectedRow();
        ListViewSelectItem(row, row != nullptr);
    });
    m_listView.EnsureColumns();
}

void VrSNMPRequest2Edits::BeforeLoad()
{
    m_listView.EnsureColumns();
    m_listView.ClearRows();
    if (BeforeLoadHook)
        BeforeLoadHook();
}

void VrSNMPRequest2Edits::BeforeApply()
{
    if (BeforeApplyHook)
        BeforeApplyHook();
}

void VrSNMPRequest2Edits::RowReceived()
{
    if (m_listView.View()) {
        m_listView.AddRow();
        // A long walk repaints, and the page stays usable; Busy tells it a
        // load is under way.
        QCoreApplication::processEvents();
    } else {
        ShowValues(-1);
    }
}

void VrSNMPRequest2Edits::GatherValues()
{
    for (int i = 0; i < Request.VarList.Count(); ++i)
        Request.VarList.Item(i).value.clear();
    m_listView.CopyRowToItems(m_listView.SelectedRow());
    CollectValues(-1);
}

void VrSNMPRequest2Edits::AfterLoad()
{
    if (m_listView.View() && EnableOnSelect && Request.VarList.kind == VrListTable)
        EnableControls(false);
    if (AfterLoadHook)
        AfterLoadHook();
}

void VrSNMPRequest2Edits::AfterApply()
{
    if (AfterApplyHook)
        AfterApplyHook();
}

void VrSNMPRequest2Edits::ListViewSelectItem(QTreeWidgetItem *row, bool selected)
{
    if (!selected)
        return;
    if (EnableOnSelect)
        EnableControls(true);
    m_listView.CopyRowToItems(row);
    // Called from the view's signal: a conversion error is reported, not thrown
    // through the event loop.
    try {
        ShowValues(-1);
    } catch (...) {
        ReportCurrentException();
    }
}
