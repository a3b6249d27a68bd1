#include "New_req2Edit.h"

#include "VrListViewBinding.h"

#include <QCoreApplication>
#include <QTreeWidget>

New_req2Edit::New_req2Edit(QWidget *ownerForm)
    : VrSNMPRequest2Edits(ownerForm)
{
}

void New_req2Edit::BeforeLoad()
{
    VrSNMPRequest2Edits::BeforeLoad();
    // Every load lists the table afresh, numbered from 1 again.
    m_rowNumber = 1;
}

void New_req2Edit::RowReceived()
{
    if (!ListView()) {
        VrSNMPRequest2Edits::RowReceived();
        return;
    }
    if (Request.VarList.Item(WatchedItem).value == Placeholder)
        return;
    addNumberedRow();
    ++m_rowNumber;
    QCoreApplication::processEvents();
}

void New_req2Edit::addNumberedRow()
{
    // The first column shows the row number in place of its own item.
    const std::vector<int> columns = VrListViewBinding(Request.VarList).ColumnItems();
    auto *row = new QTreeWidgetItem(ListView());
    row->setText(0, QString::number(m_rowNumber));
    for (size_t c = 1; c < columns.size(); ++c)
        row->setText(int(c), Request.VarList.Item(columns[c]).value);
}
