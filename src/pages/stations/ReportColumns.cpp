#include "ReportColumns.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <algorithm>

void Stations::ShowWholeColumns(QTreeWidget *view)
{
    QHeaderView *header = view->header();
    // The item view's own measure of the widest value, check box included.
    const QAbstractItemView *items = view;
    for (int c = 0; c < view->columnCount(); ++c) {
        if (view->isColumnHidden(c))
            continue;
        const int needed = std::max(header->sectionSizeHint(c), items->sizeHintForColumn(c));
        if (view->columnWidth(c) < needed)
            view->setColumnWidth(c, needed);
    }
}
