#pragma once

#include "VrTFTPMsg.h"

#include <QObject>
#include <QString>
#include <QTimer>

class VrTFTPServer;

// The page's TFTP server and the one transfer the page is waiting for: the
// device's request for the announced file name, its progress and how it
// ended. A page reports a transfer done only when this says it completed.
// A fleet's watches share one server that their owner runs and feeds them
// its messages; each then looks only at its own device's requests.
class TransferWatch : public QObject
{
    Q_OBJECT

public:
    enum State { Idle, Expecting, Running, Completed, Failed };
    enum Kind { DeviceReads = 1, DeviceWrites = 2 };

    // timeout in units of 10 ms per wait, retries as the server takes them.
    TransferWatch(int timeout, int retries, QObject *parent);
    // A watch on a server owned elsewhere, for the device at peer (IPv4);
    // the owner passes every message of the server to Observe.
    TransferWatch(VrTFTPServer *shared, const QString &peer, int timeout, int retries, QObject *parent);
    ~TransferWatch() override;
    void Observe(const VrTFTPMsg &msg) { onMessage(msg); }

    // Listens (port 69 unless QRT5150_TFTP_PORT says otherwise) on the folder,
    // accepting only the managed device. Throws VrTFTPException.
    void Start(const QString &folder);
    VrTFTPServer &Server() { return *m_server; }

    // Waits for the device to ask for this file; a device that has not
    // started within the server's patience (wait x retries) fails the watch.
    // total: the file's size when known, else 0.
    void Expect(const QString &fileName, Kind kind, qint64 total = 0);
    void Forget();

    State state() const { return m_state; }
    bool Pending() const { return m_state == Expecting || m_state == Running; }
    bool Succeeded() const { return m_state == Completed; }
    // The server's status text of a failed transfer.
    QString ErrorText() const { return m_error; }
    int ErrorCode() const { return m_errorCode; }
    qint64 Bytes() const { return m_bytes; }
    qint64 Total() const { return m_total; }

signals:
    void progress(qint64 bytes, qint64 total);
    // Delivered from the event loop, never from inside the server.
    void finished(bool ok);

private:
    void onMessage(const VrTFTPMsg &msg);
    void fail(int code, const QString &text);

    VrTFTPServer *m_server;
    bool m_ownServer;
    QString m_peer; // empty: any peer the server accepted
    int m_patienceMs;
    QTimer m_startDeadline;
    State m_state = Idle;
    QString m_name;
    Kind m_kind = DeviceReads;
    qint64 m_bytes = 0;
    qint64 m_total = 0;
    int m_session = -1;
    QString m_error;
    int m_errorCode = 0;
};

// The workstation address to announce to the device (an address or host
// name) as its TFTP server; empty when none reaches it.
QString TransferServerAddress(const QString &device);
