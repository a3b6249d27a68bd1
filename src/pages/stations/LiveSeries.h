#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <deque>
#include <map>
#include <optional>
#include <vector>

// What the live charts of the statistics and station pages keep: readings
// taken every few seconds over a sliding window, without any widget, so that
// the arithmetic can be checked by itself.
namespace Stations {

// How far a counter moved between two readings. A 32-bit counter that went
// past 2^32 and started again from 0 moved by what it counted on both sides
// of the wrap; a counter that went down otherwise (cleared, device restarted)
// has no delta. A wrap is taken only when both readings fit 32 bits and the
// wrapped distance is below 2^30: no device counts that much in a few seconds,
// while a clear from high up leaves a far larger one.
std::optional<quint64> CounterDelta(quint64 before, quint64 after);

// One reading of a group of counters, with the rates since the reading before.
struct CounterSample {
    qint64 steadyMs = 0;            // monotonic clock: the rates' time base
    qint64 wallMs = 0;              // the time of day it was taken (ms since the epoch)
    std::vector<quint64> counters;  // empty: the reading failed, a gap in the lines
    std::vector<double> rates;      // per second; empty where a segment starts
};

// Readings of one group of counters over the last keepMs. A reading after a
// gap, a break or a counter that went down (see CounterDelta) starts a new
// segment: it carries no rates, so nothing is drawn from the previous one.
class RateSeries
{
public:
    RateSeries(int counterCount, qint64 keepMs);

    void add(qint64 steadyMs, qint64 wallMs, const std::vector<quint64> &counters);
    void addGap(qint64 steadyMs, qint64 wallMs);
    // The next reading starts a new segment (the user cleared the counters or
    // paused the sampling).
    void breakSegment() { m_base.reset(); }

    const std::deque<CounterSample> &samples() const { return m_samples; }
    int counterCount() const { return m_counterCount; }
    qint64 keepMs() const { return m_keepMs; }

    // The readings as comma-separated text: a header of "time", the counter
    // names and the names with "/s", then one line per reading, empty fields
    // where there is no value.
    QString csv(const QStringList &counterNames) const;

private:
    void push(CounterSample sample);

    int m_counterCount;
    qint64 m_keepMs;
    std::deque<CounterSample> m_samples;
    std::optional<CounterSample> m_base; // the reading rates are taken from
};

// The signal of each station seen by one collection of the station table.
struct SignalSample {
    qint64 wallMs = 0;
    std::map<QString, int> percent; // by MAC
    bool segmentStart = false;      // a gap or a pause came before it
};

// Signals of the stations over the last keepMs. A station missing from a
// collection ends its line; if it comes back, a new line starts.
class SignalHistory
{
public:
    explicit SignalHistory(qint64 keepMs) : m_keepMs(keepMs) {}

    void add(qint64 wallMs, std::map<QString, int> percent);
    // A collection that failed, or a pause: every line ends here.
    void breakSegment() { m_break = true; }

    const std::deque<SignalSample> &samples() const { return m_samples; }
    // Every station in the window, in MAC order.
    QStringList stations() const;
    // The unbroken runs of one station's signal as (time, percent) pairs.
    std::vector<std::vector<std::pair<qint64, int>>> lines(const QString &mac) const;
    // "time" and one column per station; empty where the station was absent.
    QString csv() const;

private:
    qint64 m_keepMs;
    bool m_break = false;
    std::deque<SignalSample> m_samples;
};

// A time of day as the exported files give it: local, with milliseconds.
QString CsvTime(qint64 wallMs);

} // namespace Stations
