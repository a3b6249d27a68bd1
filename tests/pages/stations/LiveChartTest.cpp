// The live charts of the statistics and station pages against the simulated
// access point, sampling under a compressed time scale; the counters are read
// beside the page by a separate SNMP client.
#include "LiveChart.h"
#include "SimulatedPageFixture.h"
#include "TClientInformation.h"
#include "TFM_StatWLAN.h"
#include "TFM_Static.h"
#include "VrStatusBar.h"
#include "VrTimeScale.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QFileDialog>
#include <QTreeWidget>
#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <csignal>
#include <set>

using namespace Stations;

namespace {

const std::string P = "1.3.6.1.4.1.48213.10.37.37.";
const std::string kWlanSentPackets = P + "5.2.2.1.1.1.3.1";
const std::string kWlanSentBytes = P + "5.2.2.1.1.1.4.1";

class LiveChartPage : public SimulatedPageFixture<QDialog>
{
protected:
    void SetUp() override { VrSetTimeScale(0.1); } // a reading every 200 ms
    void TearDown() override
    {
        page.reset();
        VrSetTimeScale(1.0);
    }
    template <class Page, class Chart = TrafficChart> Chart *open()
    {
        page = std::make_unique<Page>();
        page->show();
        return page->template findChild<Chart *>();
    }
    bool samples(LiveChart *chart, int n)
    {
        const int until = chart->Samples() + n;
        return QTest::qWaitFor([&] { return chart->Samples() >= until; }, 20000);
    }
    // The points of a curve, over all the pieces it is drawn in.
    static std::vector<QList<QPointF>> runs(LiveChart *chart, const QString &name)
    {
        std::vector<QList<QPointF>> pieces;
        for (QAbstractSeries *s : chart->Chart()->series())
            if (s->name() == name && !static_cast<QLineSeries *>(s)->points().isEmpty())
                pieces.push_back(static_cast<QLineSeries *>(s)->points());
        return pieces;
    }
    quint64 counter(const std::string &oid) { return quint32(client->get(oid).number); }
    // Export CSV, the file dialog answered with path.
    QStringList exportCsv(const QString &path)
    {
        QTimer::singleShot(0, [path] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            dialog->selectFile(path);
            static_cast<QDialog *>(dialog)->accept(); // what the Save button does
        });
        click("Btn_ExportCSV");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }
};

TEST_F(LiveChartPage, RatesMatchASeparateClientAndTheExportedFile)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    auto *chart = open<TFM_StatWLAN>();
    ASSERT_NE(chart, nullptr);
    // Right after each reading of the page, the same counters read by another client.
    std::vector<std::pair<qint64, quint64>> beside;
    QElapsedTimer clock;
    clock.start();
    const auto watch = QObject::connect(chart, &LiveChart::Sampled,
                                        [&] { beside.emplace_back(clock.elapsed(), counter(kWlanSentBytes)); });
    const bool sampled = samples(chart, 10);
    QObject::disconnect(watch);
    ASSERT_TRUE(sampled);
    const auto &kept = chart->Series().samples();
    ASSERT_GE(kept.size(), 10u);
    const size_t first = kept.size() - beside.size();
    for (size_t i = 0; i + 1 < beside.size(); ++i) {
        // Within one reading: between the page's reading and its next.
        EXPECT_LE(kept[first + i].counters[1], beside[i].second) << i;
        EXPECT_LE(beside[i].second, kept[first + i + 1].counters[1]) << i;
        if (i == 0)
            continue;
        // Each rate as the other client sees it over the same interval; the
        // times of the two readers differ by the event loop's delays.
        const double theirs = double(beside[i].second - beside[i - 1].second) * 1000.0 / double(beside[i].first - beside[i - 1].first);
        EXPECT_NEAR(kept[first + i].rates[1], theirs, theirs * 0.5) << i;
    }
    // Over the whole run the delays do not add up.
    const auto &a = kept[first], &b = kept[first + beside.size() - 1];
    const double ours = double(b.counters[1] - a.counters[1]) * 1000.0 / double(b.steadyMs - a.steadyMs);
    const double theirs = double(beside.back().second - beside.front().second) * 1000.0
                        / double(beside.back().first - beside.front().first);
    EXPECT_NEAR(ours, theirs, theirs * 0.05);
    // The chart draws what the series holds, and the file holds the same.
    const auto pieces = runs(chart, "Sent bytes");
    ASSERT_EQ(pieces.size(), 1u);
    const QList<QPointF> &points = pieces.front();
    QTemporaryDir dir;
    const QStringList lines = exportCsv(dir.filePath("wlan.csv"));
    ASSERT_EQ(lines.size(), int(kept.size()) + 1);
    EXPECT_EQ(lines[0].split(',').size(), 1 + 11 + 11);
    EXPECT_EQ(lines[0].split(',')[2], "dot11TransmittedBytesCount");
    EXPECT_EQ(lines[0].split(',')[13], "dot11TransmittedBytesCount/s");
    ASSERT_EQ(points.size(), int(kept.size()) - 1); // the first reading has no rate
    for (int i = 1; i < int(kept.size()); ++i) {
        const QStringList fields = lines[i + 1].split(',');
        EXPECT_EQ(fields[2].toULongLong(), kept[size_t(i)].counters[1]);
        EXPECT_NEAR(fields[13].toDouble(), points[i - 1].y() * 1000, 0.001); // drawn in kB/s
        EXPECT_LE(points[i - 1].x(), 0.0);
        if (i > 1) {
            EXPECT_GT(points[i - 1].x(), points[i - 2].x());
        }
    }
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(LiveChartPage, ACounterWrapGivesTheTrueRate)
{
    ASSERT_NO_FATAL_FAILURE(startDevice({"--wrap-after", "1"}));
    auto *chart = open<TFM_StatWLAN>();
    const auto wrapped = [chart] {
        const auto &s = chart->Series().samples();
        return std::find_if(s.begin() + 1, s.end(), [&](const CounterSample &c) {
            const auto &before = *(&c - 1);
            return !c.counters.empty() && !before.counters.empty() && c.counters[1] < before.counters[1];
        });
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return wrapped() != chart->Series().samples().end(); }, 20000));
    ASSERT_TRUE(samples(chart, 1));
    const auto at = wrapped();
    ASSERT_FALSE(at->rates.empty()) << "a wrap is no new segment";
    // The simulator's rate stays within 0.35 .. 1.65 of its base of 70000 bytes/s.
    EXPECT_GT(at->rates[1], 70000 * 0.3);
    EXPECT_LT(at->rates[1], 70000 * 1.7);
}

TEST_F(LiveChartPage, ClearStartsANewSegmentWithoutNegativeRates)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    auto *chart = open<TFM_StatWLAN>();
    ASSERT_TRUE(samples(chart, 3));
    click("Btn_Clear");
    ASSERT_TRUE(QTest::qWaitFor([&] { return find<VrStatusBar>("StatusBar1")->simpleText() == "Clear OK!"; }, 20000));
    ASSERT_TRUE(samples(chart, 4));
    int starts = 0;
    for (const CounterSample &s : chart->Series().samples()) {
        starts += s.rates.empty();
        for (double rate : s.rates)
            EXPECT_TRUE(rate >= 0 && rate < 1e6) << rate;
    }
    EXPECT_EQ(starts, 2);
    EXPECT_EQ(runs(chart, "Sent packets").size(), 2u);
}

TEST_F(LiveChartPage, PauseAndClosingStopTheReads)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    const std::string read = "get " + P + "5.2.1.1.1.1.1.1 -> 0";
    auto *chart = open<TFM_Static>();
    ASSERT_TRUE(samples(chart, 3));
    click("Btn_ChartPause");
    QTest::qWait(VrScaledMs(2 * LiveChart::kPeriodMs));
    const int paused = logCount(read);
    QTest::qWait(VrScaledMs(4 * LiveChart::kPeriodMs));
    EXPECT_EQ(logCount(read), paused);
    click("Btn_ChartPause"); // resumed: no rate across the pause
    ASSERT_TRUE(samples(chart, 3));
    EXPECT_EQ(runs(chart, "Sent packets").size(), 2u);
    page->reject();
    page.reset();
    QTest::qWait(VrScaledMs(LiveChart::kPeriodMs));
    const int closed = logCount(read);
    QTest::qWait(VrScaledMs(5 * LiveChart::kPeriodMs));
    EXPECT_EQ(logCount(read), closed);
}

TEST_F(LiveChartPage, AMissedReadingLeavesAGapAndSaysSo)
{
    ASSERT_NO_FATAL_FAILURE(startDevice());
    auto *chart = open<TFM_Static>();
    ASSERT_TRUE(samples(chart, 2));
    ::kill(device.pid(), SIGUSR1); // the device stops answering
    auto *note = find<QLabel>("Lb_ChartStatus");
    EXPECT_TRUE(QTest::qWaitFor([note] { return note->text().contains("timed out"); }, 10000))
        << note->text().toStdString();
    ::kill(device.pid(), SIGUSR2);
    ASSERT_TRUE(samples(chart, 3));
    const auto &kept = chart->Series().samples();
    // One reading missed, or two when the next went out before the device spoke again.
    EXPECT_GE(std::count_if(kept.begin(), kept.end(), [](const CounterSample &s) { return s.counters.empty(); }), 1);
    EXPECT_EQ(runs(chart, "Received bytes").size(), 2u);
    EXPECT_TRUE(note->text().startsWith("Reading missed at ")) << "the gap stays explained";
    EXPECT_EQ(find<VrStatusBar>("StatusBar1")->simpleText(), "Ethernet Info Get OK!");
}

TEST_F(LiveChartPage, SignalLinesFollowEachStationAndTheSelectedOne)
{
    ASSERT_NO_FATAL_FAILURE(startDevice({"--stations", "3", "--traffic-rate", "40"}));
    auto *chart = open<TClientInformation, SignalChart>();
    ASSERT_TRUE(samples(chart, 6));
    const QStringList macs = chart->History().stations();
    ASSERT_EQ(macs.size(), 3);
    for (const QString &mac : macs) {
        const auto pieces = runs(chart, mac);
        ASSERT_EQ(pieces.size(), 1u) << mac.toStdString();
        std::set<double> values;
        for (const QPointF &p : pieces.front())
            values.insert(p.y());
        EXPECT_GT(values.size(), 1u) << "the signal moves";
        EXPECT_GE(*values.begin(), 1);
        EXPECT_LE(*values.rbegin(), 100);
    }
    auto *view = find<QTreeWidget>("User_ListView");
    ASSERT_TRUE(QTest::qWaitFor([view] { return view->topLevelItemCount() == 3; }, 10000));
    view->setCurrentItem(view->topLevelItem(1));
    for (QAbstractSeries *s : chart->Chart()->series())
        EXPECT_EQ(s->isVisible(), s->name() == view->topLevelItem(1)->text(2)) << s->name().toStdString();
}

} // namespace
