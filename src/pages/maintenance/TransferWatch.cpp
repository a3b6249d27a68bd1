#include "TransferWatch.h"

#include "SnmpEventProcessor.h"
#include "VrMessageBox.h"
#include "VrSNMPTarget.h"
#include "VrTFTPLocalAddress.h"
#include "VrTFTPServer.h"

#include <QCoreApplication>
#include <QDialog>
#include <QHostAddress>
#include <QHostInfo>
#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcTransfer, "qrt.pages.transfer")

TransferWatch::TransferWatch(int timeout, int retries, QObject *parent)
    : QObject(parent), m_server(new VrTFTPServer(this)), m_patienceMs(timeout * 10 * retries)
{
    m_server->SetTimeout(timeout, retries);
    m_server->SetAllowedPeer(g_SNMPDevice.address);
    m_server->SetOnMessage([this](VrTFTPMsg *msg, bool *) { onMessage(*msg); });
    m_startDeadline.setSingleShot(true);
    connect(&m_startDeadline, &QTimer::timeout, this, [this] {
        if (m_state == Expecting)
            fail(VrTFTPStatusText(VrTFTPStatus::Timeout));
    });
}

TransferWatch::~TransferWatch()
{
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
    if (!Pending() || msg.requestKind != m_kind || msg.fileName != m_name)
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
        fail(msg.statusText);
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

void TransferWatch::fail(const QString &text)
{
    m_state = Failed;
    m_error = text;
    qCWarning(lcTransfer) << "transfer of" << m_name << "failed:" << text;
    QMetaObject::invokeMethod(this, [this] { emit finished(false); }, Qt::QueuedConnection);
}

bool AnnounceAddress(QWidget *page, QString *address)
{
    QString device = g_SNMPDevice.address;
    if (QHostAddress(device).protocol() != QAbstractSocket::IPv4Protocol) {
        device.clear();
        for (const QHostAddress &a : QHostInfo::fromName(g_SNMPDevice.address).addresses())
            if (a.protocol() == QAbstractSocket::IPv4Protocol) {
                device = a.toString();
                break;
            }
    }
    // The device alone as its network: an interface on its network is found
    // by the route toward it.
    if (device.isEmpty() || !SelectLocalAddress(device, QStringLiteral("255.255.255.255"), address)) {
        address->clear();
        VrMessageBox(page, QString::fromLatin1(VrTFTPNoLocalAddressText), QStringLiteral("Warning"));
        return false;
    }
    return true;
}

void ReportTftpInitError(QWidget *page, const QString &error)
{
    const QString text = QStringLiteral("TFTP Service Init Error:") + error
        + QStringLiteral("\n\nThe file transfers of this page need UDP port 69. To allow it, run once as root:\n"
                         "setcap cap_net_bind_service=+ep %1\n"
                         "or set QRT5150_TFTP_PORT to a port above 1023 that the device uses.")
              .arg(QCoreApplication::applicationFilePath());
    VrMessageBox(page, text, QStringLiteral("Error"));
    if (auto *dialog = qobject_cast<QDialog *>(page))
        QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
}
