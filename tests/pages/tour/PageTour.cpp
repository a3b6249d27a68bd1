#include "PageTour.h"

#include "VrSNMPRequest2Controls.h"
#include "VrWaitGuard.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <cstring>

namespace qrt::test {

namespace {

bool busy(QDialog *page)
{
    const auto binders = page->findChildren<VrSNMPRequest2Controls *>();
    return std::any_of(binders.begin(), binders.end(), [](VrSNMPRequest2Controls *b) {
        return b->Busy() || b->Request.Pending > 0;
    });
}

} // namespace

PageVisit VisitPage(const PageMenuEntry &entry, QWidget *owner, const std::function<void(PageVisit &)> &look,
                    int settleMs)
{
    PageVisit visit;
    visit.entry = &entry;
    if (!entry.open)
        return visit;
    QElapsedTimer clock;
    QPointer<QDialog> shown;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (shown) {
            // Looked at already, but the page refused to close: end it.
            if (shown->isVisible() && clock.elapsed() > 2000)
                shown->done(QDialog::Rejected);
            return;
        }
        QDialog *page = VrWaitGuard::TopPage();
        if (!page || std::strcmp(page->metaObject()->className(), entry.page) != 0)
            return; // still reading before it shows, or a message on top
        const bool settling = busy(page);
        if (settling && clock.elapsed() < settleMs)
            return;
        visit.page = page;
        visit.settled = !settling;
        visit.openMs = double(clock.nsecsElapsed()) / 1e6;
        look(visit);
        visit.page = nullptr;
        shown = page;
        clock.restart();
        if (page->isVisible()) // `look` may have closed it already
            page->reject();
    });
    poll.start();
    clock.start();
    entry.open(owner);
    return visit;
}

bool IsRouterPage(const PageMenuEntry &entry)
{
    return std::strstr(entry.menu, "Router Settings") || std::strcmp(entry.page, "TFM_InternetConnect") == 0;
}

} // namespace qrt::test
