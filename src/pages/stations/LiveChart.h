#pragma once

#include "LiveSeries.h"

#include <QColor>
#include <QElapsedTimer>
#include <QList>
#include <QPointF>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

class QChart;
class QChartView;
class QLabel;
class QLineSeries;
class QPushButton;
class QAbstractAxis;
class QValueAxis;
class TableRows;
class VrSNMPRequest2Edits;
struct VrSNMPError;
struct VrSNMPVarDef;

// A chart beside a status page that samples the device every two seconds
// while the page is shown, through requests of its own that the page owns
// (asynchronous, so nothing waits; they end with the page), keeps the last
// ten minutes, and offers Pause/Resume and "Export CSV". Both periods follow
// the time scale, so tests and benchmarks can run minutes in seconds.
class LiveChart : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kPeriodMs = 2000;
    static constexpr qint64 kWindowMs = 10 * 60 * 1000;

    bool Paused() const { return m_paused; }
    int Samples() const { return m_samples; } // readings taken (or failed) so far
    QChart *Chart() const { return m_chart; }

    // Places the chart to the right of the given widgets, which stay in
    // their order at the top left of the page's vertical layout.
    void PlaceBeside(const QList<QWidget *> &fields);
    // Places the chart under the given widget of the page's layout.
    void PlaceUnder(QWidget *above);

signals:
    void Sampled();

protected:
    LiveChart(QWidget *page, const QString &title, const QString &fileStem);

    // Starts one reading; false when none could be sent (a gap then).
    virtual bool StartSample() = 0;
    virtual bool SampleOut() const = 0;
    virtual void SkipToNewSegment() = 0;
    virtual void Redraw() = 0;
    virtual QString CsvText() const = 0;

    // Derived charts call these when a reading ends; a missed one is told
    // in the chart's status panel (which its requests report to as well),
    // and stays told after later readings came in: the gap stays too.
    void SampleDone();
    void ReadingMissed(const QString &why);
    QLabel *StatusPanel() const { return m_status; }
    static qint64 WallNow();
    qint64 SteadyNow() const;
    qint64 WindowMs() const { return m_windowMs; }
    // The lines of one plotted curve, as many series as it has segments.
    void ShowRuns(std::vector<QLineSeries *> &pool, const QString &name, const QColor &color,
                  const std::vector<QList<QPointF>> &runs, QAbstractAxis *y);
    // Where a reading stands on the time axis: minutes before the newest
    // reading, in the program's minutes (the window is always ten of them).
    double MinutesBefore(qint64 wallMs, qint64 newestWallMs) const;

    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

    QChart *m_chart = nullptr;
    QValueAxis *m_time = nullptr;

private:
    void tick();
    void togglePause();
    void exportCsv();

    QChartView *m_view = nullptr;
    QPushButton *m_pause = nullptr;
    QLabel *m_status = nullptr;
    QTimer m_timer;
    QString m_fileStem;
    qint64 m_windowMs;
    QElapsedTimer m_clock;
    bool m_paused = false;
    int m_samples = 0;
};

// A curve of the traffic chart: the summed rates of some counters of the group.
struct TrafficLine {
    QString name;
    std::vector<int> counters;
    bool bytes = false; // on the bytes/s axis (right), else packets/s (left)
};

// Rates of a group of traffic counters (Stats > WLAN, Stats > Ethernet).
class TrafficChart : public LiveChart
{
    Q_OBJECT

public:
    TrafficChart(QWidget *page, const VrSNMPVarDef *counters, const QString &fileStem,
                 std::vector<TrafficLine> lines);

    const Stations::RateSeries &Series() const { return m_series; }
    // The user cleared the device's counters: the rates start anew.
    void CountersCleared() { m_series.breakSegment(); }
    // The rate of a plotted curve at one reading; nothing where the reading has none.
    std::optional<double> LineRate(const Stations::CounterSample &sample, int line) const;

protected:
    bool StartSample() override;
    bool SampleOut() const override;
    void SkipToNewSegment() override { m_series.breakSegment(); }
    void Redraw() override;
    QString CsvText() const override;

private:
    void answered(const VrSNMPError &result);

    VrSNMPRequest2Edits *m_reader = nullptr;
    Stations::RateSeries m_series;
    QStringList m_names;
    std::vector<TrafficLine> m_lines;
    std::vector<std::vector<QLineSeries *>> m_pools;
    QValueAxis *m_packets = nullptr;
    QValueAxis *m_bytes = nullptr;
    qint64 m_sentMs = 0;
};

// Which columns of a station table hold the MAC and the signal.
struct StationColumns {
    int mac;
    int rssi;
    bool zeroIsNone; // a signal of 0 means the device has none for the station
};

// The signal of each station of a table over time (Client Information, WDS
// Information). Sampled by the page's own exchange: write the trigger, walk
// the table; the page's own walks are readings too.
class SignalChart : public LiveChart
{
    Q_OBJECT

public:
    SignalChart(QWidget *page, const VrSNMPVarDef *trigger, const VrSNMPVarDef *table, StationColumns columns,
                const QString &fileStem, std::function<bool()> pageBusy);

    const Stations::SignalHistory &History() const { return m_history; }
    // One walk of the table: every used row's signal.
    void AddRows(const std::vector<QStringList> &rows);
    // Only this station's line (empty: every station's).
    void ShowOnly(const QString &mac);

protected:
    bool StartSample() override;
    bool SampleOut() const override;
    void SkipToNewSegment() override { m_history.breakSegment(); }
    void Redraw() override;
    QString CsvText() const override { return m_history.csv(); }

private:
    void triggered(const VrSNMPError &result);
    void walked(const VrSNMPError &result);

    VrSNMPRequest2Edits *m_trigger = nullptr;
    TableRows *m_walk = nullptr;
    StationColumns m_columns;
    std::function<bool()> m_pageBusy;
    Stations::SignalHistory m_history;
    QString m_only;
    std::map<QString, std::vector<QLineSeries *>> m_pools;
    QValueAxis *m_percent = nullptr;
};
