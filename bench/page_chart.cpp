// Memory and processor time of a statistics page with its live traffic chart
// against the simulated access point, over ten minutes of readings (one every
// 2 s) taken under a compressed time scale:
//
//   page_chart [--scale F]        (default 0.025: a reading every 50 ms)
//
// Resident memory is read after the first few readings and after ten minutes
// of them (the window is full then), and again after ten more (it must stay
// flat). Processor time is this process's, taken over the readings and given
// as a share of one core at the real pace of one reading per 2 s. The peer is
// the same reads of the same counters, through the same engine and at the same
// pace, without the page or its chart. Exit status 2 when the growth over the
// ten minutes reaches 2 MB or the chart page uses 2 % of a core or more.
#include "ApsimProcess.h"
#include "ProcStatus.h"
#include "Exchange.h"
#include "LiveChart.h"
#include "StationTables.h"
#include "TFM_StatWLAN.h"
#include "VrMessageBox.h"
#include "VrSNMPRequest2Edits.h"
#include "VrSNMPSession.h"
#include "VrSNMPTarget.h"
#include "VrTimeScale.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace {

constexpr long GrowthLimitKb = 2048;
constexpr double CpuLimitPercent = 2.0;
constexpr int Readings = int(LiveChart::kWindowMs / LiveChart::kPeriodMs); // ten minutes

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Runs the event loop until the condition holds, looking every 50 ms (a loop
// that spun instead would be what the processor time measures).
bool waitFor(const std::function<bool()> &condition, int ms)
{
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer look;
    look.setInterval(50);
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (condition() || clock.elapsed() >= ms)
            loop.quit();
    });
    look.start();
    if (!condition())
        loop.exec();
    return condition();
}

// Processor time over a run of readings, measured in the compressed time, as
// a share of one core at the real pace of one reading per 2 s. What the
// process spends idle (its event loop, this program's own look every 50 ms)
// goes on at the same rate per real second at either pace: it is measured
// apart and added once; the rest is per reading.
struct Run {
    double cpu = 0, wall = 0;
    int readings = 0;
};
double percentOfCore(const Run &run, double idlePerSecond)
{
    const double perReading = std::max(0.0, run.cpu - idlePerSecond * run.wall) / run.readings;
    return 100.0 * perReading / (LiveChart::kPeriodMs / 1000.0);
}
template <class Readings>
Run measure(Readings count, int readings, int timeoutMs)
{
    QElapsedTimer wall;
    wall.start();
    const double cpu = cpuSeconds();
    const int first = count();
    waitFor([&] { return count() >= first + readings; }, timeoutMs);
    return {cpuSeconds() - cpu, double(wall.elapsed()) / 1000.0, count() - first};
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    double scale = 0.025;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i + 1 < args.size(); i += 2)
        if (args[i] == QLatin1String("--scale"))
            scale = args[i + 1].toDouble();
    VrSetTimeScale(scale);

    QTemporaryDir bootsDir;
    OpenSession(bootsDir.path());
    qrt::test::ApsimProcess device;
    std::string error;
    if (!device.start({}, &error)) {
        std::fprintf(stderr, "page_chart: the simulator did not start: %s\n", error.c_str());
        return 1;
    }
    g_SNMPDevice.address = QStringLiteral("127.0.0.1");
    g_SNMPDevice.port = uint16_t(device.port());
    g_SNMPSecurity.version = VrSNMPv2c;
    VrMessageBoxRecorder boxes;
    const int timeoutMs = Readings * VrScaledMs(LiveChart::kPeriodMs) * 4 + 10000;
    // Idle: nothing to read, the event loop only.
    const Run idle = measure([] { return 0; }, 1, 3000);
    const double idlePerSecond = idle.cpu / idle.wall;

    // The peer: the same reads at the same pace, nothing drawn.
    QWidget owner;
    auto *reader = Stations::MakeBinder<VrSNMPRequest2Edits>(&owner, kWlanCounterVars, VrListInstance, 200,
                                                            QStringLiteral("peer"), true);
    int reads = 0;
    reader->OnLoadDone = [&reads](VrSNMPRequest2Controls *, const VrSNMPError &) { ++reads; };
    QTimer pace;
    pace.setInterval(VrScaledMs(LiveChart::kPeriodMs));
    QObject::connect(&pace, &QTimer::timeout, [reader] {
        if (!reader->Busy())
            Stations::RunLoad(reader);
    });
    pace.start();
    waitFor([&] { return reads >= 5; }, timeoutMs);
    const double peerPercent = percentOfCore(measure([&] { return reads; }, Readings, timeoutMs), idlePerSecond);
    pace.stop();

    auto page = std::make_unique<TFM_StatWLAN>();
    page->show();
    auto *chart = page->findChild<LiveChart *>();
    waitFor([&] { return chart->Samples() >= 5; }, timeoutMs);
    const long before = bench::ResidentKilobytes();
    const double chartPercent =
        percentOfCore(measure([chart] { return chart->Samples(); }, Readings, timeoutMs), idlePerSecond);
    const long afterTen = bench::ResidentKilobytes();
    waitFor([&] { return chart->Samples() >= 5 + 2 * Readings; }, timeoutMs);
    const long afterTwenty = bench::ResidentKilobytes();
    const int gaps = int(std::count_if(static_cast<TrafficChart *>(chart)->Series().samples().begin(),
                                       static_cast<TrafficChart *>(chart)->Series().samples().end(),
                                       [](const Stations::CounterSample &s) { return s.counters.empty(); }));

    std::printf("# page_chart: Stats > WLAN, a reading every %d ms standing for 2 s\n",
                VrScaledMs(LiveChart::kPeriodMs));
    std::printf("BENCH page_chart_readings %d count (gaps in the window: %d)\n", chart->Samples(), gaps);
    std::printf("BENCH page_chart_rss_growth_10_minutes %ld kB ratio=%.3f vs %ld kB (the limit)\n",
                afterTen - before, double(afterTen - before) / GrowthLimitKb, GrowthLimitKb);
    std::printf("BENCH page_chart_rss_growth_next_10_minutes %ld kB\n", afterTwenty - afterTen);
    std::printf("BENCH page_chart_idle_cpu %.3f %%core (the process with nothing to read)\n", 100 * idlePerSecond);
    std::printf("BENCH page_chart_cpu_readings %.3f %%core ratio=%.2f vs the same reads without the page (%.3f %%core)\n",
                chartPercent, peerPercent > 0 ? chartPercent / peerPercent : 0.0, peerPercent);
    const double total = chartPercent + 100 * idlePerSecond;
    std::printf("BENCH page_chart_cpu %.3f %%core ratio=%.3f vs %.1f %%core (the limit; readings and idle)\n", total,
                total / CpuLimitPercent, CpuLimitPercent);
    page.reset();
    return afterTen - before >= GrowthLimitKb || total >= CpuLimitPercent ? 2 : 0;
}
