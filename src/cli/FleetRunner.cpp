#include "FleetRunner.h"

#include "VrTFTPServer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <cstdio>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcFleet, "qrt.cli.fleet")

namespace {

bool transfers(DeviceCommand c)
{
    return c == DeviceCommand::Backup || c == DeviceCommand::Restore || c == DeviceCommand::Firmware
           || c == DeviceCommand::Certificate || c == DeviceCommand::Key;
}

void print(FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

FleetRunner::FleetRunner(const CliOptions &options, QList<FleetEntry> entries)
    : m_options(options), m_entries(std::move(entries)), m_terminal(isatty(STDERR_FILENO) == 1)
{
}

FleetRunner::~FleetRunner()
{
    // Before the server they may still hold grants on; the server's last
    // reports find no one to tell.
    qDeleteAll(findChildren<DeviceJob *>(Qt::FindDirectChildrenOnly));
    m_running.clear();
    m_byPeer.clear();
    if (m_server)
        m_server->SetOnMessage({});
    m_server.reset();
}

int FleetRunner::Run()
{
    if (transfers(m_options.command)) {
        m_server = std::make_unique<VrTFTPServer>();
        const auto [timeout, retries] = DeviceJob::TransferTimeout(m_options.command);
        m_server->SetTimeout(timeout, retries);
        // Each device sees only its own file: the jobs grant it while they
        // run, and each hears only its own device's transfers.
        m_server->SetOnMessage([this](VrTFTPMsg *msg, bool *) {
            if (DeviceJob *job = m_byPeer.value(msg->peerAddress))
                job->Observe(*msg);
        });
        try {
            m_server->Start(QString());
        } catch (const VrTFTPException &e) {
            print(stderr, QStringLiteral("qrt5150-cli: TFTP Service Init Error:%1 (UDP port %2; set "
                                         "QRT5150_TFTP_PORT or allow the port)\n")
                              .arg(e.text())
                              .arg(m_server->Port()));
            for (FleetEntry &entry : m_entries)
                entry.result = DeviceJobResult{false, VrTFTPStatus::SocketOpenFailed, e.text(), 0, 0, {}};
            report();
            return 1;
        }
    }
    for (int round = 0; round <= m_options.retry; ++round) {
        m_queue.clear();
        for (int i = 0; i < m_entries.size(); ++i) {
            FleetEntry &entry = m_entries[i];
            if (!entry.problem.isEmpty())
                entry.result = DeviceJobResult{false, VrTFTPStatus::FileNotFound, entry.problem, 0, 0, {}};
            else if (round == 0 || !entry.result.ok)
                m_queue.append(i);
        }
        if (m_queue.isEmpty())
            break;
        if (round > 0)
            qCInfo(lcFleet) << "retrying" << m_queue.size() << "devices";
        m_done = 0;
        QEventLoop loop;
        const int total = int(m_queue.size());
        while (!m_queue.isEmpty() && m_running.size() < m_options.jobs)
            startNext();
        while (m_done < total)
            loop.processEvents(QEventLoop::WaitForMoreEvents);
    }
    if (m_terminal)
        print(stderr, QStringLiteral("\n"));
    report();
    const bool allOk = std::all_of(m_entries.cbegin(), m_entries.cend(), [](const FleetEntry &e) { return e.result.ok; });
    return allOk ? 0 : 1;
}

void FleetRunner::startNext()
{
    const int index = m_queue.takeFirst();
    FleetEntry &entry = m_entries[index];
    auto *job = new DeviceJob(entry.target, m_server.get(), this);
    job->SetExchangeTimeout(unsigned(m_options.timeoutSeconds * 100), 2);
    m_running.insert(index, job);
    if (!job->Peer().isEmpty())
        m_byPeer.insert(job->Peer(), job);
    m_bytes[index] = 0;
    connect(job, &DeviceJob::progress, this, [this, index](qint64 bytes, qint64) {
        m_bytes[index] = bytes;
        showProgress();
    });
    connect(job, &DeviceJob::finished, this,
            [this, index](const DeviceJobResult &result) { jobFinished(index, result); });
    job->Start(entry.order);
}

void FleetRunner::jobFinished(int index, const DeviceJobResult &result)
{
    m_entries[index].result = result;
    if (DeviceJob *job = m_running.take(index)) {
        m_byPeer.remove(job->Peer());
        job->deleteLater();
    }
    ++m_done;
    showProgress();
    if (!m_queue.isEmpty())
        startNext();
}

void FleetRunner::showProgress()
{
    if (!m_terminal)
        return;
    qint64 bytes = 0;
    for (qint64 b : std::as_const(m_bytes))
        bytes += b;
    print(stderr, QStringLiteral("\r%1: %2 of %3 devices done, %4 running, %5 bytes moved   ")
                      .arg(m_options.commandName)
                      .arg(m_entries.size() - m_queue.size() - m_running.size())
                      .arg(m_entries.size())
                      .arg(m_running.size())
                      .arg(bytes));
}

void FleetRunner::report() const
{
    QString out;
    if (m_options.json) {
        for (const FleetEntry &e : m_entries) {
            QJsonObject o{{QStringLiteral("address"), e.label},
                          {QStringLiteral("command"), m_options.commandName},
                          {QStringLiteral("outcome"), e.result.ok ? QStringLiteral("ok") : QStringLiteral("failed")},
                          {QStringLiteral("code"), e.result.code},
                          {QStringLiteral("text"), e.result.text},
                          {QStringLiteral("bytes"), e.result.bytes},
                          {QStringLiteral("seconds"), qRound(e.result.seconds * 1000) / 1000.0}};
            if (!e.result.values.isEmpty())
                o.insert(QStringLiteral("values"), QJsonArray::fromStringList(e.result.values));
            out += QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact)) + u'\n';
        }
        print(stdout, out);
        return;
    }
    const bool many = m_entries.size() > 1;
    for (const FleetEntry &e : m_entries)
        for (const QString &line : e.result.values)
            out += (many ? e.label + u' ' : QString()) + line + u'\n';
    int width = 7;
    for (const FleetEntry &e : m_entries)
        width = qMax(width, int(e.label.size()));
    const auto row = [&](const QString &a, const QString &b, const QString &c, const QString &d, const QString &t) {
        return QStringLiteral("%1  %2  %3  %4  %5\n")
            .arg(a, -width)
            .arg(b, -7)
            .arg(c, 9)
            .arg(d, 8)
            .arg(t);
    };
    out += row(QStringLiteral("ADDRESS"), QStringLiteral("OUTCOME"), QStringLiteral("BYTES"), QStringLiteral("SECONDS"),
               QStringLiteral("TEXT"));
    for (const FleetEntry &e : m_entries)
        out += row(e.label, e.result.ok ? QStringLiteral("ok") : QStringLiteral("failed"),
                   QString::number(e.result.bytes), QString::number(e.result.seconds, 'f', 1), e.result.text);
    print(stdout, out);
}
