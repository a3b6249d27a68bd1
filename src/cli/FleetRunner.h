#pragma once
// Runs one command on many devices, N at a time, through one TFTP server,
// and reports each device's outcome.
#include "CliOptions.h"
#include "DeviceJob.h"

#include <QList>
#include <QObject>
#include <memory>

class VrTFTPServer;

struct FleetEntry {
    DeviceTarget target;
    QString label;        // how the device is named in the output
    DeviceJobOrder order;
    QString problem;      // set before the run: the device is not contacted
    DeviceJobResult result;
};

class FleetRunner : public QObject
{
    Q_OBJECT

public:
    FleetRunner(const CliOptions &options, QList<FleetEntry> entries);
    ~FleetRunner() override;

    // Runs everything (with the retries) and returns the exit status.
    int Run();
    const QList<FleetEntry> &Entries() const { return m_entries; }

private:
    void startNext();
    void jobFinished(int index, const DeviceJobResult &result);
    void showProgress();
    void report() const;

    CliOptions m_options;
    QList<FleetEntry> m_entries;
    std::unique_ptr<VrTFTPServer> m_server;
    QList<int> m_queue;
    QHash<int, DeviceJob *> m_running;
    QHash<QString, DeviceJob *> m_byPeer; // running transfers by device address
    QHash<int, qint64> m_bytes; // moved so far, by entry
    int m_done = 0;
    bool m_terminal = false;
};
