#include "LiveChart.h"

#include "Exchange.h"
#include "StationList.h"
#include "TableRows.h"
#include "VrMessageBox.h"
#include "VrSNMPError.h"
#include "VrSNMPRequest2Edits.h"
#include "VrTimeScale.h"

#include <QBoxLayout>
#include <QDateTime>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>
#include <QtCharts/QLegendMarker>
#include <QtCharts/QLineSeries>
#include <QtCharts/QValueAxis>

using namespace Stations;

namespace {

// The samplers ask once and do not retry: a reading that does not come in
// time is a gap in the lines, and the next one is due soon anyway.
constexpr unsigned kSampleTimeout = 200; // hundredths of a second

template <class Binder>
Binder *sampler(QWidget *chart, QWidget *statusPanel, const VrSNMPVarDef *table, int kind, const QString &what)
{
    auto *binder = MakeBinder<Binder>(chart, table, kind, kSampleTimeout, what, true);
    binder->SetStatusTarget(statusPanel);
    // Under a strong time scale, still time enough for a busy machine.
    binder->Request.Timeout = std::max(10u, binder->Request.Timeout);
    binder->Request.Retries = 0;
    return binder;
}

void fitFromZero(QValueAxis *axis, double largest)
{
    axis->setRange(0, largest > 0 ? largest * 1.1 : 1.0);
    axis->applyNiceNumbers();
}

} // namespace

// ---- LiveChart --------------------------------------------------------------

LiveChart::LiveChart(QWidget *page, const QString &title, const QString &fileStem)
    : QWidget(page), m_fileStem(fileStem), m_windowMs(VrScaledMs(int(kWindowMs)))
{
    m_clock.start();
    m_chart = new QChart;
    m_chart->setTitle(title);
    m_chart->setMargins(QMargins(2, 2, 2, 2));
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    QFont small = m_chart->legend()->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    m_chart->legend()->setFont(small);
    m_time = new QValueAxis;
    m_time->setTitleText(QStringLiteral("minutes"));
    m_time->setRange(-double(kWindowMs) / 60000, 0);
    m_time->setTickCount(6);
    m_time->setLabelFormat(QStringLiteral("%.0f"));
    m_chart->addAxis(m_time, Qt::AlignBottom);

    m_view = new QChartView(m_chart, this);
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setMinimumSize(520, 300);
    m_pause = new QPushButton(QStringLiteral("Pause"), this);
    m_pause->setObjectName(QStringLiteral("Btn_ChartPause"));
    auto *exportButton = new QPushButton(QStringLiteral("Export CSV"), this);
    exportButton->setObjectName(QStringLiteral("Btn_ExportCSV"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("Lb_ChartStatus"));
    // Takes the room beside the buttons and no more: a long text is cut, the
    // whole of it is in the tool tip.
    m_status->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_status, 1);
    buttons->addWidget(m_pause);
    buttons->addWidget(exportButton);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_view);
    column->addLayout(buttons);
    connect(m_pause, &QPushButton::clicked, this, &LiveChart::togglePause);
    connect(exportButton, &QPushButton::clicked, this, &LiveChart::exportCsv);

    m_timer.setInterval(VrScaledMs(kPeriodMs));
    connect(&m_timer, &QTimer::timeout, this, &LiveChart::tick);
}

void LiveChart::PlaceBeside(const QList<QWidget *> &fields)
{
    auto *page = qobject_cast<QBoxLayout *>(parentWidget()->layout());
    const int at = page->indexOf(fields.first());
    auto *column = new QVBoxLayout;
    for (QWidget *field : fields) {
        page->removeWidget(field);
        column->addWidget(field);
    }
    column->addStretch();
    auto *row = new QHBoxLayout;
    row->addLayout(column);
    row->addWidget(this);
    page->insertLayout(at, row);
}

void LiveChart::PlaceUnder(QWidget *above)
{
    auto *page = qobject_cast<QBoxLayout *>(parentWidget()->layout());
    page->insertWidget(page->indexOf(above) + 1, this);
}

// Sampling runs only while the page is on the screen.
void LiveChart::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_paused && !m_timer.isActive()) {
        m_timer.start();
        tick();
    }
}

void LiveChart::hideEvent(QHideEvent *event)
{
    m_timer.stop();
    QWidget::hideEvent(event);
}

void LiveChart::tick()
{
    if (SampleOut())
        return; // the reading before is still under way
    if (!StartSample()) {
        SkipToNewSegment();
        SampleDone();
    }
}

void LiveChart::SampleDone()
{
    ++m_samples;
    Redraw();
    emit Sampled();
}

void LiveChart::ReadingMissed(const QString &why)
{
    const QString text = QStringLiteral("Reading missed at %1: %2")
                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss")), why);
    m_status->setText(text);
    m_status->setToolTip(text);
}

qint64 LiveChart::WallNow()
{
    return QDateTime::currentMSecsSinceEpoch();
}

qint64 LiveChart::SteadyNow() const
{
    return m_clock.elapsed();
}

void LiveChart::togglePause()
{
    m_paused = !m_paused;
    m_pause->setText(m_paused ? QStringLiteral("Resume") : QStringLiteral("Pause"));
    if (m_paused) {
        m_timer.stop();
        SkipToNewSegment(); // no rate across the pause
    } else {
        m_timer.start();
        tick();
    }
}

void LiveChart::exportCsv()
{
    const QString suggested = m_fileStem + QLatin1Char('-')
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral(".csv");
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export CSV"), suggested,
                                                      QStringLiteral("CSV files (*.csv);;All files (*)"));
    if (path.isEmpty())
        return;
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(CsvText().toUtf8()) >= 0 && file.commit())
        return;
    qCWarning(lcStations) << "CSV not written:" << path << file.errorString();
    VrMessageBox(this, QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()),
                 QStringLiteral("Export CSV"));
}

void LiveChart::ShowRuns(std::vector<QLineSeries *> &pool, const QString &name, const QColor &color,
                         const std::vector<QList<QPointF>> &runs, QAbstractAxis *y)
{
    while (pool.size() < std::max<size_t>(1, runs.size())) {
        auto *series = new QLineSeries;
        series->setName(name);
        series->setPen(QPen(color, 1.5));
        m_chart->addSeries(series);
        series->attachAxis(m_time);
        series->attachAxis(y);
        // One legend entry per curve, however many pieces it is drawn in.
        if (!pool.empty())
            for (QLegendMarker *marker : m_chart->legend()->markers(series))
                marker->setVisible(false);
        pool.push_back(series);
    }
    for (size_t i = 0; i < pool.size(); ++i)
        pool[i]->replace(i < runs.size() ? runs[i] : QList<QPointF>());
}

double LiveChart::MinutesBefore(qint64 wallMs, qint64 newestWallMs) const
{
    return double(wallMs - newestWallMs) / double(m_windowMs) * double(kWindowMs) / 60000.0;
}

// ---- TrafficChart -----------------------------------------------------------

TrafficChart::TrafficChart(QWidget *page, const VrSNMPVarDef *counters, const QString &fileStem,
                           std::vector<TrafficLine> lines)
    : LiveChart(page, QStringLiteral("Traffic over the last 10 minutes"), fileStem), m_series(0, WindowMs()), m_lines(std::move(lines))
{
    setObjectName(QStringLiteral("TrafficChart"));
    m_reader = sampler<VrSNMPRequest2Edits>(this, StatusPanel(), counters, VrListInstance, QStringLiteral("Traffic chart"));
    m_reader->OnLoadDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { answered(r); };
    for (int i = 0; i < m_reader->Request.VarList.Count(); ++i)
        m_names << m_reader->Request.VarList.Item(i).name;
    m_series = RateSeries(int(m_names.size()), WindowMs());

    m_packets = new QValueAxis;
    m_packets->setTitleText(QStringLiteral("packets/s"));
    m_packets->setLabelFormat(QStringLiteral("%.0f"));
    m_bytes = new QValueAxis;
    m_bytes->setTitleText(QStringLiteral("kB/s"));
    m_bytes->setLabelFormat(QStringLiteral("%.0f"));
    m_chart->addAxis(m_packets, Qt::AlignLeft);
    m_chart->addAxis(m_bytes, Qt::AlignRight);
    static const QColor colors[] = {QColor(0x1f, 0x77, 0xb4), QColor(0x2c, 0xa0, 0x2c), QColor(0xd6, 0x27, 0x28),
                                    QColor(0x9e, 0xc9, 0xe8), QColor(0x98, 0xdf, 0x8a)};
    m_pools.resize(m_lines.size());
    for (size_t l = 0; l < m_lines.size(); ++l)
        ShowRuns(m_pools[l], m_lines[l].name, colors[l % std::size(colors)], {},
                 m_lines[l].bytes ? m_bytes : m_packets);
    Redraw();
}

std::optional<double> TrafficChart::LineRate(const CounterSample &sample, int line) const
{
    if (sample.rates.empty())
        return std::nullopt;
    double sum = 0;
    for (int counter : m_lines[size_t(line)].counters)
        sum += sample.rates[size_t(counter)];
    return sum;
}

bool TrafficChart::StartSample()
{
    m_sentMs = SteadyNow();
    const Outcome sent = RunLoad(m_reader);
    if (!sent.ok)
        ReadingMissed(sent.error);
    return sent.ok;
}

bool TrafficChart::SampleOut() const
{
    return m_reader->Busy();
}

// The device read its counters while the request was out: the middle of
// the round trip is the best guess of when.
void TrafficChart::answered(const VrSNMPError &result)
{
    const qint64 now = SteadyNow();
    const qint64 at = (m_sentMs + now) / 2;
    const qint64 wall = WallNow() - (now - at);
    std::vector<quint64> values;
    for (int i = 0; result.Code == 0 && i < m_reader->Request.VarList.Count(); ++i) {
        bool ok = false;
        values.push_back(CounterText(m_reader->Request.VarList.Item(i).value).toULongLong(&ok));
        if (!ok)
            values.clear();
        if (!ok)
            break;
    }
    if (values.empty()) {
        qCDebug(lcStations) << "traffic reading missed:" << result.Code;
        ReadingMissed(result.Code != 0 ? result.Message : QStringLiteral("a counter that is no number"));
        m_series.addGap(at, wall);
    }
    else
        m_series.add(at, wall, values);
    SampleDone();
}

void TrafficChart::Redraw()
{
    double packets = 0, bytes = 0;
    const qint64 newest = m_series.samples().empty() ? 0 : m_series.samples().back().wallMs;
    for (size_t l = 0; l < m_lines.size(); ++l) {
        std::vector<QList<QPointF>> runs(1);
        for (const CounterSample &sample : m_series.samples()) {
            const std::optional<double> rate = LineRate(sample, int(l));
            if (!rate) {
                if (!runs.back().isEmpty())
                    runs.emplace_back();
                continue;
            }
            // Bytes in thousands, so that the axis labels stay short.
            const double shown = m_lines[l].bytes ? *rate / 1000 : *rate;
            runs.back().append(QPointF(MinutesBefore(sample.wallMs, newest), shown));
            double &largest = m_lines[l].bytes ? bytes : packets;
            largest = std::max(largest, shown);
        }
        ShowRuns(m_pools[l], m_lines[l].name, m_pools[l].front()->pen().color(), runs,
                 m_lines[l].bytes ? m_bytes : m_packets);
    }
    fitFromZero(m_packets, packets);
    fitFromZero(m_bytes, bytes);
}

QString TrafficChart::CsvText() const
{
    return m_series.csv(m_names);
}

// ---- SignalChart ------------------------------------------------------------

SignalChart::SignalChart(QWidget *page, const VrSNMPVarDef *trigger, const VrSNMPVarDef *table,
                         StationColumns columns, const QString &fileStem, std::function<bool()> pageBusy)
    : LiveChart(page, QStringLiteral("Signal over the last 10 minutes"), fileStem), m_columns(columns), m_pageBusy(std::move(pageBusy)),
      m_history(WindowMs())
{
    setObjectName(QStringLiteral("SignalChart"));
    m_trigger = sampler<VrSNMPRequest2Edits>(this, StatusPanel(), trigger, VrListInstance, QStringLiteral("Signal chart"));
    m_trigger->OnApplyDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { triggered(r); };
    m_walk = sampler<TableRows>(this, StatusPanel(), table, VrListTable2, QStringLiteral("Signal chart"));
    m_walk->OnLoadDone = [this](VrSNMPRequest2Controls *, const VrSNMPError &r) { walked(r); };
    m_percent = new QValueAxis;
    m_percent->setTitleText(QStringLiteral("signal %"));
    m_percent->setRange(0, 100);
    m_percent->setLabelFormat(QStringLiteral("%.0f"));
    m_chart->addAxis(m_percent, Qt::AlignLeft);
    m_chart->legend()->setAlignment(Qt::AlignRight); // a MAC address per line
}

void SignalChart::AddRows(const std::vector<QStringList> &rows)
{
    std::map<QString, int> percent;
    for (const QStringList &row : rows) {
        const QString mac = row.value(m_columns.mac);
        bool ok = false;
        const int signal = row.value(m_columns.rssi).toInt(&ok);
        if (mac.size() != 12 || mac == FreeMac || !ok || signal < 0 || signal > 100
            || (signal == 0 && m_columns.zeroIsNone))
            continue;
        percent[mac] = signal;
    }
    m_history.add(WallNow(), std::move(percent));
    SampleDone();
}

void SignalChart::ShowOnly(const QString &mac)
{
    m_only = mac;
    Redraw();
}

// While the page collects the table itself, its walk is the reading.
bool SignalChart::StartSample()
{
    if (m_pageBusy())
        return true;
    m_trigger->Request.VarList.Item(0).value = QStringLiteral("get");
    const Outcome sent = RunApply(m_trigger, false);
    if (!sent.ok)
        ReadingMissed(sent.error);
    return sent.ok;
}

bool SignalChart::SampleOut() const
{
    return m_trigger->Busy() || m_walk->Busy();
}

void SignalChart::triggered(const VrSNMPError &result)
{
    if (result.Code != 0) {
        ReadingMissed(result.Message);
    } else {
        const Outcome sent = RunLoad(m_walk);
        if (sent.ok)
            return;
        ReadingMissed(sent.error);
    }
    m_history.breakSegment();
    SampleDone();
}

// A walk that broke off is no reading: the lines end.
void SignalChart::walked(const VrSNMPError &result)
{
    if (result.Code == 0) {
        AddRows(m_walk->Rows());
        return;
    }
    qCDebug(lcStations) << "signal reading missed:" << result.Code;
    ReadingMissed(result.Message);
    m_history.breakSegment();
    SampleDone();
}

void SignalChart::Redraw()
{
    static const QColor colors[] = {QColor(0x1f, 0x77, 0xb4), QColor(0xff, 0x7f, 0x0e), QColor(0x2c, 0xa0, 0x2c),
                                    QColor(0xd6, 0x27, 0x28), QColor(0x94, 0x67, 0xbd), QColor(0x8c, 0x56, 0x4b),
                                    QColor(0xe3, 0x77, 0xc2), QColor(0x7f, 0x7f, 0x7f)};
    const QStringList stations = m_history.stations();
    const qint64 newest = m_history.samples().empty() ? 0 : m_history.samples().back().wallMs;
    for (const QString &mac : stations) {
        std::vector<QList<QPointF>> runs;
        for (const auto &line : m_history.lines(mac)) {
            runs.emplace_back();
            for (const auto &[wallMs, percent] : line)
                runs.back().append(QPointF(MinutesBefore(wallMs, newest), percent));
        }
        // A station keeps the colour it was given when it first appeared.
        const QColor color = colors[m_pools.size() % std::size(colors)];
        std::vector<QLineSeries *> &pool = m_pools[mac];
        ShowRuns(pool, mac, pool.empty() ? color : pool.front()->pen().color(), runs, m_percent);
    }
    for (auto &[mac, pool] : m_pools) {
        if (!stations.contains(mac))
            ShowRuns(pool, mac, pool.front()->pen().color(), {}, m_percent);
        for (size_t i = 0; i < pool.size(); ++i) {
            pool[i]->setVisible(m_only.isEmpty() || m_only == mac);
            for (QLegendMarker *marker : m_chart->legend()->markers(pool[i]))
                marker->setVisible(i == 0);
        }
    }
}
