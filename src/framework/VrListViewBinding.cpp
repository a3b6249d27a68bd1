#include "VrListViewBinding.h"

#include "VrSNMPVarList.h"

#include <QHeaderView>
#include <QTreeWidget>

void VrReportListLook(QTreeWidget *view)
{
    // The selected row stays marked while the user works in the bound controls.
    QPalette palette = view->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    view->setPalette(palette);
    // An item rule with borders takes the drawing of the item over from the
    // style, selection included: without a rule of its own the selected row
    // is drawn in the highlighted-text colour on no background, i.e. blank.
    view->setStyleSheet(QStringLiteral(
        "QTreeView::item { border-right: 1px solid palette(mid); border-bottom: 1px solid palette(mid); }"
        "QTreeView::item:selected { background: palette(highlight); color: palette(highlighted-text); }"));
}

VrListViewBinding::VrListViewBinding(VrSNMPVarList &list) : m_list(list) {}

void VrListViewBinding::Attach(QTreeWidget *view)
{
    m_view = view;
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    VrReportListLook(view);
}

std::vector<int> VrListViewBinding::ColumnItems() const
{
    std::vector<int> columns;
    for (int i = 0; i < m_list.Count(); ++i)
        if (m_list.IsLeading(i))
            columns.push_back(i);
    for (int i = 0; i < m_list.Count(); ++i)
        if (m_list.IsDataColumn(i))
            columns.push_back(i);
    return columns;
}

void VrListViewBinding::EnsureColumns()
{
    if (!m_view)
        return;
    const std::vector<int> items = ColumnItems();
    if (m_view->columnCount() >= int(items.size()))
        return;
    m_view->clear();
    QStringList captions;
    for (int i : items)
        captions.append(m_list.Item(i).name);
    m_view->setColumnCount(int(items.size()));
    m_view->setHeaderLabels(captions);
    const int leading = m_list.LeadingCount();
    QHeaderView *header = m_view->header();
    for (int c = 0; c < int(items.size()); ++c) {
        m_view->setColumnHidden(c, c < leading);
        if (c >= leading)
            header->resizeSection(c, header->sectionSizeHint(c));
    }
}

void VrListViewBinding::ClearRows()
{
    if (m_view)
        m_view->clear();
}

QTreeWidgetItem *VrListViewBinding::AddRow()
{
    if (!m_view)
        return nullptr;
    auto *row = new QTreeWidgetItem(m_view);
    const std::vector<int> items = ColumnItems();
    for (int c = 0; c < int(items.size()); ++c)
        row->setText(c, m_list.Item(items[size_t(c)]).value);
    return row;
}

bool VrListViewBinding::CopyRowToItems(const QTreeWidgetItem *row)
{
    if (!row)
        return false;
    const std::vector<int> items = ColumnItems();
    for (int c = 0; c < int(items.size()); ++c)
        m_list.Item(items[size_t(c)]).value = row->text(c);
    return true;
}

QTreeWidgetItem *VrListViewBinding::SelectedRow() const
{
    if (!m_view)
        return nullptr;
    const QList<QTreeWidgetItem *> selected = m_view->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}
