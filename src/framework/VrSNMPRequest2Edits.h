#pragma once

#include "VrControlBindings.h"
#include "VrListViewBinding.h"
#include "VrSNMPRequest2Controls.h"

#include <functional>

// The binder a page uses for a group of objects: a request with its variable
// list, the bindings of the list's items to the page's controls, and
// optionally a list view that shows the rows of a table, the selected row
// being edited in the bound controls.
//
//   // In the page's constructor, after setupUi; the binder dies with the page.
//   m_basic = new VrSNMPRequest2Edits(this);
//   m_basic->Request.VarList = VrSNMPVarList(kBasicVars, VrListInstance, 0);
//   m_basic->Asynchronous = false;
//   m_basic->Request.Timeout = 300;                // hundredths of a second
//   m_basic->BindComboBox(0, ui->CB_Band);         // items from the item's option list
//   m_basic->BindFormat(1, "%s{l32}", {ui->Ed_SSID});
//   m_basic->BindControls(2, 0, VrSyntaxIpAddress, nullptr,
//                         {ui->Ed_IP1, ui->Ed_IP2, ui->Ed_IP3, ui->Ed_IP4});
//   m_basic->SetStatusTarget(m_statusBar);         // a VrStatusBar
//   try {
//       m_basic->Load();                           // and m_basic->Apply() on Save
//   } catch (const VrSNMPException &e) {
//       m_statusBar->panel(0)->setText(e.Message());
//   }
class VrSNMPRequest2Edits : public VrSNMPRequest2Controls, public VrControlBindings
{
    Q_OBJECT

public:
    explicit VrSNMPRequest2Edits(QWidget *ownerForm);

    // Table rows go to the view; selecting a row shows it in the bound
    // controls. With enableOnSelect the controls of a kind-2 table stay
    // disabled after each load until a row is selected.
    void AttachListView(QTreeWidget *view, bool enableOnSelect);
    QTreeWidget *ListView() const { return m_listView.View(); }
    bool EnableOnSelect = false;

    // Called at the end of the matching step when set (a page re-reads
    // dependent lists in AfterApplyHook, for example).
    std::function<void()> BeforeLoadHook;
    std::function<void()> BeforeApplyHook;
    std::function<void()> AfterLoadHook;
    std::function<void()> AfterApplyHook;

protected:
    void BeforeLoad() override;
    void BeforeApply() override;
    void RowReceived() override;
    void GatherValues() override;
    void AfterLoad() override;
    void AfterApply() override;
    // The view's selection changed; row is the selected row, or null.
    virtual void ListViewSelectItem(QTreeWidgetItem *row, bool selected);

private:
    VrListViewBinding m_listView;
};
