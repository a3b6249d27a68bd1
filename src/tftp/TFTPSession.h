#pragma once

#include "VrTFTPMsg.h"
#include "VrTFTPPacket.h"
#include "VrTFTPSocket.h"

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QSaveFile>
#include <QSocketNotifier>
#include <memory>

// Monotonic milliseconds for session deadlines.
qint64 VrTFTPNowMs();

// One accepted request: its own UDP port, its file and its lock-step
// exchange with the peer. The server's timer drives retries and removal.
class TFTPSession : public QObject
{
    Q_OBJECT

public:
    enum State { Failed = 0, Active = 1, Finished = 2 };

    // Reports Connected, then opens the transfer port (SocketOpenFailed
    // when that fails).
    TFTPSession(const VrTFTPMsg &templ, const VrTFTPPacket::Request &request, const QString &root,
                VrTFTPCallback callback, const sockaddr_in &peer, QObject *parent = nullptr);
    // Reports Disconnected; an unfinished upload leaves nothing behind.
    ~TFTPSession() override;

    void Start();
    // Answers the request with a TFTP error and fails the session.
    void Refuse(quint16 tftpError);
    // One datagram that arrived on the transfer port.
    void HandleDatagram(QByteArrayView datagram, const sockaddr_in &from);
    // The peer repeated its request: an upload's first ACK was lost.
    void HandleRepeatedRequest();
    // Sends the last packet again after a passed deadline.
    void Resend();
    // Before the deadline, a DATA block whose ACK is late goes again after
    // about a second, then after twice as long each time, up to the wait:
    // a lost packet costs little, and the patience (wait x tries) stays.
    qint64 earlyResendAt() const { return m_earlyResendAt; }
    void ResendEarly(qint64 now);
    void Report(int code);

    State state() const { return m_state; }
    bool isWrite() const { return m_request.opcode == VrTFTPPacket::WRQ; }
    qint64 deadline() const { return m_deadline; }
    const VrTFTPMsg &msg() const { return m_msg; }
    // Where the file goes; empty when the name was refused.
    const QString &targetPath() const { return m_path; }
    bool isSameRequest(const VrTFTPMsg &other) const;

private:
    void onReadable();
    void startRead();
    void startWrite();
    void handleAck(quint16 block);
    void handleData(quint16 block, QByteArrayView payload);
    void sendNextBlock();
    void failWrite();
    bool setAndSend(const QByteArray &packet);
    bool sendCurrent();
    void armDeadline();
    void reportSent(bool sent, int code);
    bool fromPeer(const sockaddr_in &from) const;

    VrTFTPMsg m_msg;
    VrTFTPPacket::Request m_request;
    QString m_root;
    QString m_path;
    VrTFTPCallback m_callback;
    sockaddr_in m_peer;
    State m_state = Active;
    qint64 m_deadline = 0;
    qint64 m_earlyResendAt = 0;  // 0: none before the deadline
    qint64 m_backoffMs = 0;
    bool m_cancel = false;
    int m_blockSize = VrTFTPPacket::DefaultBlockSize;
    qint64 m_block = 0;            // blocks sent (read) or written (write); wire number is its low 16 bits
    bool m_lastBlockFull = false;  // read: another DATA block follows the one in flight
    QByteArray m_sendBuffer;
    qsizetype m_sendLength = 0;
    QByteArray m_receiveBuffer;
    VrTFTPSocket m_socket;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QFile m_readFile;
    std::unique_ptr<QSaveFile> m_writeFile;
};
