#pragma once
// One command on one device, without widgets: the maintenance flows as the
// pages run them (the same objects in the same order, success only when the
// file arrived), plus reading and writing single objects by name.
#include "DeviceTarget.h"
#include "VrSNMPError.h"
#include "VrSNMPVarList.h"
#include "VrTFTPMsg.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>

class TransferWatch;
class VrSNMPRequest;
class VrSNMPVarList;
class VrTFTPServer;

enum class DeviceCommand { Status, Get, Set, Backup, Restore, Firmware, Certificate, Key, Restart };

struct DeviceJobOrder {
    DeviceCommand command = DeviceCommand::Status;
    QStringList objects; // get: names; set: name=value
    QString folder;      // transfers: where the file is, or goes
    QString fileName;    // and its name there, as the device asks for it
};

struct DeviceJobResult {
    bool ok = false;
    int code = 0;  // the catalogue's code (SNMP, TFTP or module)
    QString text;  // and its text
    qint64 bytes = 0;
    double seconds = 0;
    QStringList values; // status and get: "name = value" lines
};

class DeviceJob : public QObject
{
    Q_OBJECT

public:
    // server: the TFTP server the transfers go through (not needed by the
    // other commands); its owner feeds its messages to Observe.
    DeviceJob(const DeviceTarget &target, VrTFTPServer *server, QObject *parent = nullptr);
    ~DeviceJob() override;

    // Per-try time-out of the SNMP exchanges (hundredths of a second) and
    // tries after the first.
    void SetExchangeTimeout(unsigned hundredths, int retries);

    // The TFTP server's wait per packet (10 ms units) and tries for a command.
    static std::pair<int, int> TransferTimeout(DeviceCommand command);

    void Start(const DeviceJobOrder &order);
    void Observe(const VrTFTPMsg &msg);
    const DeviceTarget &Target() const { return m_target; }
    // The IPv4 address the device's transfers come from (with a server).
    const QString &Peer() const { return m_peer; }

signals:
    void progress(qint64 bytes, qint64 total);
    void finished(const DeviceJobResult &result);

private:
    using Next = std::function<void(const VrSNMPError &)>;
    void read(const VrSNMPVarList &list, unsigned timeout, int retries, Next next);
    void write(const VrSNMPVarList &list, Next next);
    void command(const VrSNMPVarDef *table, int value, Next next);
    static void completed(void *data, VrSNMPError &error, VrSNMPVarList &list);
    void done(const VrSNMPError &error);

    void probe(std::function<void()> next);
    void status();
    void get();
    void set();
    void backup();
    void restore();
    void upload(int upgradeValue);
    void restart(int limitMs);
    void announce(int kind, qint64 total, std::function<void()> next);
    void afterTransfer(std::function<void()> next);
    void waitForRestart(int limitMs);
    void pollRestart();
    void succeed();
    void fail(int code, const QString &text);

    DeviceTarget m_target;
    VrTFTPServer *m_server;
    QString m_peer;
    TransferWatch *m_watch = nullptr;
    DeviceJobOrder m_order;
    std::unique_ptr<VrSNMPRequest> m_request;
    Next m_next;
    QStringList m_read; // values of the last read
    unsigned m_timeout = 500;
    int m_retries = 2;
    int m_restartLimit = 0;
    qulonglong m_upTime = 0;
    QElapsedTimer m_clock;
    QElapsedTimer m_restartClock;
    QTimer m_pause;
    DeviceJobResult m_result;
    bool m_finished = false;
};
