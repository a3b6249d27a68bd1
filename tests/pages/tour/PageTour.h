#pragma once
// Opens pages of the menu the way the main window does and lets a caller look
// at each once its opening exchanges are done: the every-page check, the page
// gallery and the opening benchmark share it.
#include "PageMenu.h"

#include <QStringList>
#include <functional>

class QDialog;
class QWidget;

namespace qrt::test {

struct PageVisit {
    const PageMenuEntry *entry = nullptr;
    QDialog *page = nullptr;  // null when the page never showed
    double openMs = 0;        // from the menu action until the page was settled
    bool settled = false;     // no binder of the page was busy any more
};

// Opens the entry's page (modal, as its menu entry does), waits until it shows
// and none of its binders is busy (at most settleMs), calls `look` and closes
// the page again (as Esc would; if the page refuses, it is ended). Returns
// what was seen; page is null in the record once this returns.
PageVisit VisitPage(const PageMenuEntry &entry, QWidget *owner, const std::function<void(PageVisit &)> &look,
                    int settleMs = 30000);

// Whether a page of the menu belongs to the router operation mode.
bool IsRouterPage(const PageMenuEntry &entry);

} // namespace qrt::test
