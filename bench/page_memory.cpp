// Resident memory while every page of the menu is opened and closed again and
// again against the simulated access point: after the first round (when every
// page has built its caches) the module must not keep growing.
//
//   page_memory [--rounds N] [--page CLASS]
//
// A round opens each access-point page, then turns the device to its router
// operation, opens each router page and turns it back. Before each reading
// the allocator gives its free pages back (malloc_trim), so that what is
// measured is memory still held, not memory the allocator keeps at hand.
// Exit status 2 when the growth after the first round passes 1 MB, except
// in a sanitizer build, whose allocator holds freed memory back on purpose:
// there the run is for the leak checker, which reports at exit.
#include "PageTour.h"
#include "ApsimProcess.h"
#include "ProcStatus.h"
#include "SnmpTestClient.h"
#include "VrMessageBox.h"
#include "VrSNMPSession.h"
#include "VrSNMPTarget.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr long GrowthLimitKb = 1024;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool Sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool Sanitized = true;
#else
constexpr bool Sanitized = false;
#endif
#else
constexpr bool Sanitized = false;
#endif


} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int rounds = 50;
    QString only;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--rounds"))
            rounds = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--page"))
            only = args[i + 1];
    }

    QTemporaryDir bootsDir;
    OpenSession(bootsDir.path());
    qrt::test::ApsimProcess device;
    std::string error;
    if (!device.start({}, &error)) {
        std::fprintf(stderr, "page_memory: the simulator did not start: %s\n", error.c_str());
        return 1;
    }
    g_SNMPDevice.address = QStringLiteral("127.0.0.1");
    g_SNMPDevice.port = uint16_t(device.port());
    g_SNMPSecurity.version = VrSNMPv2c;
    auto admin = qrt::test::SnmpTestClient::community(device.address(), "granite");

    VrMessageBoxRecorder boxes; // messages are answered, not shown
    QWidget owner;
    int pages = 0;
    bool allShown = true;
    const auto visit = [&](bool routerPages, int round) {
        for (const PageMenuEntry &entry : PageMenu()) {
            if (!entry.open || qrt::test::IsRouterPage(entry) != routerPages
                || (!only.isEmpty() && only != QLatin1String(entry.page)))
                continue;
            const qrt::test::PageVisit seen = qrt::test::VisitPage(entry, &owner, [](qrt::test::PageVisit &) {});
            boxes.clear();
            allShown = allShown && seen.openMs > 0;
            pages += round == 1;
        }
    };

    long afterFirst = 0;
    long anonAfterFirst = 0;
    for (int round = 1; round <= rounds; ++round) {
        visit(false, round);
        if (!admin.setInt(qrt::test::ApModeOid, qrt::test::RouterMode).ok())
            std::fprintf(stderr, "page_memory: the device did not take the router operation\n");
        visit(true, round);
        admin.setInt(qrt::test::ApModeOid, qrt::test::AccessPointMode);
        if (round == 1) {
            afterFirst = bench::ResidentKilobytes();
            anonAfterFirst = bench::StatusKilobytes("RssAnon");
            std::printf("BENCH page_memory_pages %d count\n", pages);
            std::printf("BENCH page_memory_rss_after_round_1 %ld kB\n", afterFirst);
            std::fflush(stdout);
        }
    }
    const long last = bench::ResidentKilobytes();
    const long growth = last - afterFirst;
    std::printf("BENCH page_memory_rss_after_round_%d %ld kB\n", rounds, last);
    std::printf("BENCH page_memory_growth_after_round_1 %ld kB ratio=%.3f vs %ld kB\n", growth,
                double(growth) / GrowthLimitKb, GrowthLimitKb);
    // The heap's part of it; the rest is pages of code and data of the
    // libraries that later openings touched for the first time.
    std::printf("BENCH page_memory_anonymous_growth_after_round_1 %ld kB\n",
                bench::StatusKilobytes("RssAnon") - anonAfterFirst);
    // Per page, alone: the growth over further openings after one, largest
    // first. The readings around single openings in the rounds above mix in
    // what the page before freed; this does not.
    constexpr int PageRepeats = 20;
    std::multimap<long, std::string, std::greater<>> byGrowth;
    for (const bool routerPages : {false, true}) {
        admin.setInt(qrt::test::ApModeOid, routerPages ? qrt::test::RouterMode : qrt::test::AccessPointMode);
        for (const PageMenuEntry &entry : PageMenu()) {
            if (!entry.open || qrt::test::IsRouterPage(entry) != routerPages
                || (!only.isEmpty() && only != QLatin1String(entry.page)))
                continue;
            const auto open = [&] {
                qrt::test::VisitPage(entry, &owner, [](qrt::test::PageVisit &) {});
                boxes.clear();
            };
            open();
            const long before = bench::ResidentKilobytes();
            for (int i = 0; i < PageRepeats; ++i)
                open();
            byGrowth.emplace(bench::ResidentKilobytes() - before, entry.page);
        }
    }
    admin.setInt(qrt::test::ApModeOid, qrt::test::AccessPointMode);
    int shown = 0;
    for (const auto &[kb, page] : byGrowth) {
        if (kb <= 0 || ++shown > 5)
            break;
        std::printf("BENCH page_memory_growth_%s %ld kB over %d openings\n", page.c_str(), kb, PageRepeats);
    }
    if (!allShown)
        std::fprintf(stderr, "page_memory: a page never showed\n");
    device.stop();
    if (Sanitized)
        std::printf("# sanitizer build: resident memory includes freed memory held back; the growth is not judged\n");
    return (growth > GrowthLimitKb && !Sanitized) || !allShown ? 2 : 0;
}
