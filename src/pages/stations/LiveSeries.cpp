#include "LiveSeries.h"

#include <QDateTime>
#include <set>

namespace Stations {

namespace {
constexpr quint64 kWrap = quint64(1) << 32;
constexpr quint64 kLargestStep = quint64(1) << 30;

QString field(double rate)
{
    return QString::number(rate, 'f', 3);
}
} // namespace

std::optional<quint64> CounterDelta(quint64 before, quint64 after)
{
    if (after >= before)
        return after - before;
    if (before >= kWrap || after >= kWrap)
        return std::nullopt;
    const quint64 wrapped = kWrap - before + after;
    return wrapped < kLargestStep ? std::optional<quint64>(wrapped) : std::nullopt;
}

QString CsvTime(qint64 wallMs)
{
    return QDateTime::fromMSecsSinceEpoch(wallMs).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

RateSeries::RateSeries(int counterCount, qint64 keepMs) : m_counterCount(counterCount), m_keepMs(keepMs) {}

void RateSeries::add(qint64 steadyMs, qint64 wallMs, const std::vector<quint64> &counters)
{
    CounterSample sample{steadyMs, wallMs, counters, {}};
    if (int(counters.size()) != m_counterCount) {
        addGap(steadyMs, wallMs); // a reading that does not fit the group is no reading
        return;
    }
    if (m_base && steadyMs > m_base->steadyMs) {
        const double seconds = double(steadyMs - m_base->steadyMs) / 1000.0;
        std::vector<double> rates;
        for (int i = 0; i < m_counterCount; ++i) {
            const auto delta = CounterDelta(m_base->counters[size_t(i)], counters[size_t(i)]);
            if (!delta) {
                // A clear or a restart resets every counter of the group together.
                rates.clear();
                break;
            }
            rates.push_back(double(*delta) / seconds);
        }
        sample.rates = std::move(rates);
    }
    m_base = sample;
    push(std::move(sample));
}

void RateSeries::addGap(qint64 steadyMs, qint64 wallMs)
{
    m_base.reset();
    push(CounterSample{steadyMs, wallMs, {}, {}});
}

void RateSeries::push(CounterSample sample)
{
    m_samples.push_back(std::move(sample));
    while (m_samples.front().steadyMs < m_samples.back().steadyMs - m_keepMs)
        m_samples.pop_front();
}

QString RateSeries::csv(const QStringList &counterNames) const
{
    QStringList header{QStringLiteral("time")};
    for (int i = 0; i < m_counterCount; ++i)
        header << counterNames.value(i);
    for (int i = 0; i < m_counterCount; ++i)
        header << counterNames.value(i) + QStringLiteral("/s");
    QString text = header.join(QLatin1Char(',')) + QLatin1Char('\n');
    for (const CounterSample &s : m_samples) {
        QStringList line{CsvTime(s.wallMs)};
        for (int i = 0; i < m_counterCount; ++i)
            line << (s.counters.empty() ? QString() : QString::number(s.counters[size_t(i)]));
        for (int i = 0; i < m_counterCount; ++i)
            line << (s.rates.empty() ? QString() : field(s.rates[size_t(i)]));
        text += line.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return text;
}

void SignalHistory::add(qint64 wallMs, std::map<QString, int> percent)
{
    m_samples.push_back(SignalSample{wallMs, std::move(percent), m_break});
    m_break = false;
    while (m_samples.front().wallMs < wallMs - m_keepMs)
        m_samples.pop_front();
}

QStringList SignalHistory::stations() const
{
    std::set<QString> all;
    for (const SignalSample &s : m_samples)
        for (const auto &entry : s.percent)
            all.insert(entry.first);
    return QStringList(all.begin(), all.end());
}

std::vector<std::vector<std::pair<qint64, int>>> SignalHistory::lines(const QString &mac) const
{
    std::vector<std::vector<std::pair<qint64, int>>> runs;
    bool running = false;
    for (const SignalSample &s : m_samples) {
        const auto found = s.percent.find(mac);
        if (found == s.percent.end()) {
            running = false;
            continue;
        }
        if (!running || s.segmentStart)
            runs.emplace_back();
        runs.back().emplace_back(s.wallMs, found->second);
        running = true;
    }
    return runs;
}

QString SignalHistory::csv() const
{
    const QStringList macs = stations();
    QString text = (QStringList{QStringLiteral("time")} + macs).join(QLatin1Char(',')) + QLatin1Char('\n');
    for (const SignalSample &s : m_samples) {
        QStringList line{CsvTime(s.wallMs)};
        for (const QString &mac : macs) {
            const auto found = s.percent.find(mac);
            line << (found == s.percent.end() ? QString() : QString::number(found->second));
        }
        text += line.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return text;
}

} // namespace Stations
