#pragma once

#include "VrTFTPMsg.h"
#include "VrTFTPSocket.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>

class TFTPSession;

// The TFTP server a file-transfer page hosts while it is open. Everything
// runs on the thread that owns it: socket readiness through QSocketNotifier,
// retries and clean-up from a 20 ms timer.
//
// Requests are accepted only from the peer named with SetAllowedPeer (the
// managed device); until one is named every request is refused. The
// environment variable QRT5150_TFTP_ANY_PEER=1, or SetAcceptAnyPeer(true),
// lifts the restriction. QRT5150_TFTP_PORT replaces the well-known port 69.
//
// A server shared by several devices (the command-line tool's fleets) grants
// each device one file instead: its requests are served from that file's
// folder, and a request for any other name is refused, so that no device
// reads or replaces another's file.
class VrTFTPServer : public QObject
{
    Q_OBJECT

public:
    static constexpr quint16 WellKnownPort = 69;
    static constexpr int TickMs = 20;
    static constexpr int StopWaitMs = 10000;
    // How long a finished upload still acknowledges its last block again
    // (at most; the session's own wait when shorter): a peer whose final ACK
    // was lost sends the block again and would otherwise report a failure
    // for a file that arrived whole.
    static constexpr int DallyMs = 5000;

    explicit VrTFTPServer(QObject *owner = nullptr);
    ~VrTFTPServer() override;

    // timeout in units of 10 ms per wait; retries = sends of a DATA block.
    void SetTimeout(int timeout, int retries);
    void SetOnMessage(VrTFTPCallback callback);
    // Host name or address of the only peer whose requests are served;
    // false (and everything refused) when it does not resolve to IPv4.
    bool SetAllowedPeer(const QString &host);
    void SetAcceptAnyPeer(bool any);
    // Lets the peer (an IPv4 address) transfer fileName in folder, and
    // nothing else; replaces an earlier grant of that peer. False when the
    // address is not IPv4.
    bool Grant(const QString &peer, const QString &folder, const QString &fileName);
    void Revoke(const QString &peer);

    // Throws VrTFTPException(-1109) when the port cannot be opened; Port()
    // then names the port tried. Port 0 takes any free port; Port() tells which.
    void Start(const QString &rootDirectory, quint16 port = WellKnownPort);
    // Stops listening and lets live sessions finish, for at most 10 s; ends
    // finished uploads' waits for a repeated last block.
    void Stop();
    // Stops listening and ends live sessions at once: nothing more is sent,
    // a file being received is not kept, nothing is reported. For a program
    // that is closing.
    void Abort();

    bool IsRunning() const { return m_socket.IsOpen(); }
    quint16 Port() const { return quint16(m_template.serverPort); }
    const QString &RootDirectory() const { return m_root; }
    // The record copied into each new session (local address, port, timeout).
    const VrTFTPMsg &Template() const { return m_template; }
    qsizetype SessionCount() const { return m_sessions.size(); }

signals:
    void sessionsDrained();

private:
    void onRequestReadable();
    void onTick();
    bool peerAllowed(const sockaddr_in &from) const;
    bool writeTargetBusy(const TFTPSession &candidate) const;
    void removeSession(qsizetype index, int finalReport);

    int m_retryLimit = 3;
    VrTFTPMsg m_template;
    VrTFTPCallback m_callback;
    QString m_root;
    VrTFTPSocket m_socket;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QList<TFTPSession *> m_sessions;
    // Finished uploads that still answer a repeat of their last block, with
    // when they go; not counted as sessions.
    QList<std::pair<TFTPSession *, qint64>> m_dallying;
    void endDallying();
    QTimer m_timer;
    QByteArray m_receiveBuffer;
    struct FileGrant {
        QString folder;
        QString fileName;
    };
    QHash<quint32, FileGrant> m_grants; // by peer address, network byte order
    bool m_anyPeer = false;
    quint32 m_allowedPeer = 0;  // network byte order; 0 = none named
};
