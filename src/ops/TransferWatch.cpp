#include "TransferWatch.h"

#include "SnmpEventProcessor.h"
#include "VrSNMPTarget.h"
#include "VrTFTPLocalAddress.h"
#include "VrTFTPServer.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcTransfer, "qrt.ops.transfer")

TransferWatch::TransferWatch(int timeout, int retries, QObject *parent)
    : TransferWatch(new VrTFTPServer, QString(), timeout, retries, parent)
{
    m_server->setParent(this);
    m_ownServer = true;
    m_server->SetTimeout(timeout, retries);
    m_server->SetAllowedPeer(g_SNMPDevice.address);
    m_server->SetOnMessage([this](VrTFTPMsg *msg, bool *) { onMessage(*msg); });
}

TransferWatch::TransferWatch(VrTFTPServer *shared, const QString &peer, int timeout, int retries, QObject *parent)
    : QObject(parent), m_server(shared), m_ownServer(false), m_peer(peer), m_patienceMs(timeout * 10 * retries)
{
    m_startDeadline.setSingleShot(true);
    connect(&m_startDeadline, &QTimer::timeout, this, [this] {
        if (m_state == Expecting)
            fail(VrTFTPStatus::Timeout, VrTFTPStatusText(VrTFTPStatus::Timeout));
    });
}

TransferWatch::~TransferWatch()
{
    if (!m_ownServer)
        return;
    m_server->SetOnMessage({});
    // A closing program does not wait for a transfer (nor keep its file).
    if (SnmpEventProcessor::Global().Abandoned())
        m_server->Abort();
    else
        m_server->Stop();
}

void TransferWatch::Start(const QString &folder)
{
    m_server->Start(folder);
}

void TransferWatch::Expect(const QString &fileName, Kind kind, qint64 total)
{
    m_name = fileName;
    m_kind = kind;
    m_total = total;
    m_bytes = 0;
    m_error.clear();
    m_errorCode = 0;
    m_session = -1;
    m_state = Expecting;
    // The server's own waits are real time, and so is the device's patience.
    m_startDeadline.start(m_patienceMs);
}

void TransferWatch::Forget()
{
    m_startDeadline.stop();
    m_state = Idle;
}

void TransferWatch::onMessage(const VrTFTPMsg &msg)
{
    if (!Pending() || msg.requestKind != m_kind || msg.fileName != m_name
        || (!m_peer.isEmpty() && msg.peerAddress != m_peer))
        return;
    // A later request for the same name (a device retrying) takes over.
    if (m_session != msg.sessionNumber) {
        m_session = msg.sessionNumber;
        m_bytes = 0;
    }
    m_startDeadline.stop();
    if (msg.status == VrTFTPStatus::Disconnected)
        return;
    if (msg.status < 0) {
        fail(msg.status, msg.statusText);
        return;
    }
    m_state = msg.status == VrTFTPStatus::Success ? Completed : Running;
    m_bytes = msg.bytesTransferred;
    QMetaObject::invokeMethod(
        this, [this, bytes = m_bytes, total = m_total] { emit progress(bytes, total); }, Qt::QueuedConnection);
    if (m_state == Completed) {
        qCInfo(lcTransfer) << "transfer of" << m_name << "complete," << m_bytes << "bytes";
        QMetaObject::invokeMethod(this, [this] { emit finished(true); }, Qt::QueuedConnection);
    }
}

void TransferWatch::fail(int code, const QString &text)
{
    m_state = Failed;
    m_errorCode = code;
    m_error = text;
    qCWarning(lcTransfer) << "transfer of" << m_name << "failed:" << text;
    QMetaObject::invokeMethod(this, [this] { emit finished(false); }, Qt::QueuedConnection);
}

QString TransferServerAddress(const QString &device)
{
    QString target = device;
    if (QHostAddress(target).protocol() != QAbstractSocket::IPv4Protocol) {
        target.clear();
        for (const QHostAddress &a : QHostInfo::fromName(device).addresses())
            if (a.protocol() == QAbstractSocket::IPv4Protocol) {
                target = a.toString();
                break;
            }
    }
    // The device alone as its network: an interface on its network is found
    // by the route toward it.
    QString address;
    if (target.isEmpty() || !SelectLocalAddress(target, QStringLiteral("255.255.255.255"), &address))
        return QString();
    return address;
}
