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
// the page again (as Esc would, unless `look` closed it; if the page refuses,
// it is ended). Returns
// what was seen; page is null in the record once this returns.
PageVisit VisitPage(const PageMenuEntry &entry, QWidget *owner, const std::function<void(PageVisit &)> &look,
                    int settleMs = 30000);

// Whether a page of the menu belongs to the router operation mode.
bool IsRouterPage(const PageMenuEntry &entry);

// The operation mode (dot11ApMode) of the device in its router operation,
// and the object's OID.
constexpr long RouterMode = 5;
constexpr long AccessPointMode = 1;
inline constexpr const char *ApModeOid = "1.3.6.1.4.1.48213.10.37.37.2.1.3.2.1.1.18.1";

} // namespace qrt::test
