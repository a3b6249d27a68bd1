// Every page of the menu, opened against the simulated access point as an
// administrator would open it: it shows, its opening exchanges end, nothing
// but the messages it is meant to show on opening comes up, it fits a
// 1366 x 768 screen, and it closes. New pages are covered as they register.
#include "AgentFixture.h"
#include "PageTour.h"
#include "SnmpTestClient.h"

#include <QDialog>
#include <cstdio>
#include <QWidget>
#include <map>

namespace {

// Messages a page shows on opening against a factory-new device, by design.
const std::multimap<std::string, QString> ExpectedOnOpening = {};

class EveryPage : public AgentFixture
{
};

TEST_F(EveryPage, OpensSettlesFitsTheScreenAndCloses)
{
    QWidget owner;
    int visited = 0;
    const auto visitAll = [&](bool routerPages) {
        for (const PageMenuEntry &entry : PageMenu()) {
            if (!entry.open || qrt::test::IsRouterPage(entry) != routerPages)
                continue;
            SCOPED_TRACE(entry.page);
            m_boxes.clear();
            QSize size;
            const qrt::test::PageVisit visit =
                qrt::test::VisitPage(entry, &owner, [&](qrt::test::PageVisit &v) { size = v.page->size(); });
            EXPECT_GT(visit.openMs, 0) << "the page never showed";
            EXPECT_TRUE(visit.settled) << "a request was still running";
            EXPECT_LE(size.width(), 1366);
            EXPECT_LE(size.height(), 740);
            const auto [first, last] = ExpectedOnOpening.equal_range(entry.page);
            for (const VrMessageBoxRecorder::Call &box : m_boxes.calls()) {
                const bool expected =
                    std::any_of(first, last, [&](const auto &e) { return e.second == box.text; });
                EXPECT_TRUE(expected) << "unexpected message: " << qPrintable(box.text);
            }
            std::printf("%-22s settled after %7.1f ms, %4d x %-4d\n", entry.page, visit.openMs, size.width(),
                        size.height());
            ++visited;
        }
    };
    // The access point's pages, then the router's in the router operation.
    auto device = qrt::test::SnmpTestClient::community(m_agent.address(), "granite");
    visitAll(false);
    ASSERT_TRUE(device.setInt(qrt::test::ApModeOid, qrt::test::RouterMode).ok());
    visitAll(true);
    EXPECT_GE(visited, 4);
}

} // namespace
