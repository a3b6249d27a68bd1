#pragma once

class QTreeWidget;

namespace Stations {

// Widens each shown column of a report list to its caption and its longest
// value, so nothing is cut to "..."; a column keeps its given width when that
// is enough. Called once the list is filled.
void ShowWholeColumns(QTreeWidget *view);

} // namespace Stations
