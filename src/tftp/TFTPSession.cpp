#include "TFTPSession.h"

#include "VrTFTPPath.h"

#include <QFileInfo>
#include <chrono>
#include <cstring>

using namespace VrTFTPPacket;

qint64 VrTFTPNowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

TFTPSession::TFTPSession(const VrTFTPMsg &templ, const Request &request, const QString &root,
                         VrTFTPCallback callback, const sockaddr_in &peer, QObject *parent)
    : QObject(parent), m_msg(templ), m_request(request), m_root(root),
      m_callback(std::move(callback)), m_peer(peer)
{
    m_msg.bytesTransferred = 0;
    m_msg.lastBlockLength = -1;
    if (m_request.blockSize)
        m_blockSize = *m_request.blockSize;
    m_sendBuffer.resize(HeaderSize + m_blockSize);
    // One byte more than the largest DATA packet, so over-long ones show.
    m_receiveBuffer.resize(qMax(2048, HeaderSize + m_blockSize + 1));

    if (const auto path = VrTFTPResolvePath(m_root, m_msg.fileName);
        path && VrTFTPInsideRoot(m_root, *path))
        m_path = *path;

    Report(VrTFTPStatus::Connected);
    if (!m_socket.Open(0, false)) {
        Report(VrTFTPStatus::SocketOpenFailed);
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_socket.Descriptor(), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &TFTPSession::onReadable);
}

TFTPSession::~TFTPSession()
{
    m_notifier.reset();
    m_socket.Close();
    if (m_writeFile)
        m_writeFile->cancelWriting();
    m_msg.setStatus(VrTFTPStatus::Disconnected);
    if (m_callback)
        m_callback(&m_msg, &m_cancel);
}

bool TFTPSession::isSameRequest(const VrTFTPMsg &other) const
{
    return m_msg.requestKind == other.requestKind && m_msg.mode == other.mode
        && m_msg.peerAddress == other.peerAddress && m_msg.peerPort == other.peerPort
        && m_msg.fileName == other.fileName;
}

void TFTPSession::Start()
{
    if (m_state != Active)
        return;
    if (m_cancel) {
        Report(VrTFTPStatus::Canceled);
        return;
    }
    if (m_request.opcode != RRQ && m_request.opcode != WRQ) {
        Refuse(IllegalOperation);
        return;
    }
    if (m_path.isEmpty()) {
        qCWarning(lcTftp) << "refused file name outside the root:" << m_msg.fileName
                          << "from" << m_msg.peerAddress;
        Refuse(AccessViolation);
        return;
    }
    if (isWrite())
        startWrite();
    else
        startRead();
}

void TFTPSession::Refuse(quint16 tftpError)
{
    reportSent(setAndSend(makeError(tftpError)), VrTFTPStatus::fromTftpError(tftpError));
}

void TFTPSession::startRead()
{
    const QFileInfo info(m_path);
    m_readFile.setFileName(m_path);
    if (!info.isFile() || !m_readFile.open(QIODevice::ReadOnly)) {
        Refuse(FileNotFound);
        return;
    }
    QList<QPair<QByteArray, QByteArray>> options;
    if (m_request.blockSize)
        options.append({"blksize", QByteArray::number(m_blockSize)});
    // Some clients take a size of 0 for a broken answer; leaving the option
    // out is always allowed, and the empty DATA block says the same.
    if (m_request.transferSize && info.size() > 0)
        options.append({"tsize", QByteArray::number(info.size())});
    if (options.isEmpty()) {
        sendNextBlock();
        return;
    }
    // The OACK stands in for block 0: its ACK asks for block 1.
    m_lastBlockFull = true;
    m_msg.sendCount = 1;
    reportSent(setAndSend(makeOack(options)), VrTFTPStatus::Transferring);
}

void TFTPSession::startWrite()
{
    if (QFileInfo(m_path).isDir()) {
        Refuse(AccessViolation);
        return;
    }
    // The upload goes to a temporary file beside the target and replaces it
    // only once complete, so a failed upload never destroys the old file.
    m_writeFile = std::make_unique<QSaveFile>(m_path);
    if (!m_writeFile->open(QIODevice::WriteOnly)) {
        qCWarning(lcTftp) << "cannot create" << m_path << ":" << m_writeFile->errorString();
        m_writeFile.reset();
        Refuse(AccessViolation);
        return;
    }
    QList<QPair<QByteArray, QByteArray>> options;
    if (m_request.blockSize)
        options.append({"blksize", QByteArray::number(m_blockSize)});
    if (m_request.transferSize)
        options.append({"tsize", QByteArray::number(*m_request.transferSize)});
    const QByteArray first = options.isEmpty() ? makeHeader(ACK, 0) : makeOack(options);
    reportSent(setAndSend(first), VrTFTPStatus::Transferring);
}

void TFTPSession::onReadable()
{
    sockaddr_in from{};
    const qsizetype n = m_socket.ReceiveFrom(m_receiveBuffer.data(), m_receiveBuffer.size(), &from);
    if (n < 0 || n > m_receiveBuffer.size())
        return;
    HandleDatagram(QByteArrayView(m_receiveBuffer.constData(), n), from);
}

bool TFTPSession::fromPeer(const sockaddr_in &from) const
{
    return from.sin_addr.s_addr == m_peer.sin_addr.s_addr && from.sin_port == m_peer.sin_port;
}

void TFTPSession::HandleDatagram(QByteArrayView datagram, const sockaddr_in &from)
{
    if (datagram.size() < HeaderSize)
        return;
    // Only the requesting peer's port may steer the transfer.
    if (!fromPeer(from)) {
        qCDebug(lcTftp) << "ignored datagram from" << VrTFTPAddressText(from) << VrTFTPPortOf(from);
        return;
    }
    const quint16 op = opcodeOf(datagram);
    const quint16 block = blockOf(datagram);
    if (isWrite() && op == DATA)
        handleData(block, datagram.sliced(HeaderSize));
    else if (!isWrite() && op == ACK)
        handleAck(block);
}

void TFTPSession::handleAck(quint16 block)
{
    // Only the ACK of the block in flight moves on; repeated ACKs are dropped
    // so that a delayed duplicate never doubles the traffic.
    if (m_state != Active || !m_readFile.isOpen() || block != quint16(m_block))
        return;
    m_deadline = m_earlyResendAt = 0;
    if (m_cancel) {
        Report(VrTFTPStatus::Canceled);
        return;
    }
    if (!m_lastBlockFull) {
        Report(VrTFTPStatus::Success);
        return;
    }
    sendNextBlock();
}

void TFTPSession::sendNextBlock()
{
    m_sendBuffer.resize(HeaderSize + m_blockSize);
    const qint64 n = m_readFile.read(m_sendBuffer.data() + HeaderSize, m_blockSize);
    if (n < 0) {
        qCWarning(lcTftp) << "cannot read" << m_path << ":" << m_readFile.errorString();
        Refuse(NotDefined);
        return;
    }
    ++m_block;
    writeU16(m_sendBuffer.data(), DATA);
    writeU16(m_sendBuffer.data() + 2, quint16(m_block));
    m_sendLength = HeaderSize + n;
    m_lastBlockFull = n == m_blockSize;
    m_msg.lastBlockLength = int(n);
    m_msg.bytesTransferred += n;
    m_msg.sendCount = 1;
    reportSent(sendCurrent(), VrTFTPStatus::Transferring);
}

void TFTPSession::handleData(quint16 block, QByteArrayView payload)
{
    if (!m_writeFile && m_state != Finished)
        return;
    if (payload.size() > m_blockSize)
        return;
    if (m_block > 0 && block == quint16(m_block)) {
        // Our ACK was lost and the peer sent the block again: acknowledge it
        // again without writing it twice.
        sendCurrent();
        if (m_state == Active)
            armDeadline();
        return;
    }
    if (m_state != Active || block != quint16(m_block + 1))
        return;
    m_deadline = m_earlyResendAt = 0;
    if (m_cancel) {
        Report(VrTFTPStatus::Canceled);
        return;
    }
    ++m_block;
    m_msg.lastBlockLength = int(payload.size());
    m_msg.bytesTransferred += payload.size();
    if (payload.size() == m_blockSize) {
        // Acknowledge before writing, so that the peer prepares its next
        // block meanwhile; a failed write is still answered with ERROR 3.
        const bool sent = setAndSend(makeHeader(ACK, quint16(m_block)));
        if (m_writeFile->write(payload.data(), payload.size()) != payload.size()) {
            failWrite();
            return;
        }
        reportSent(sent, VrTFTPStatus::Transferring);
        return;
    }
    // The last ACK promises the file is stored: commit before sending it.
    if (m_writeFile->write(payload.data(), payload.size()) != payload.size()
        || !m_writeFile->commit()) {
        failWrite();
        return;
    }
    m_writeFile.reset();
    if (setAndSend(makeHeader(ACK, quint16(m_block))))
        Report(VrTFTPStatus::Success);
    else
        Report(VrTFTPStatus::SocketIoFailed);
}

void TFTPSession::failWrite()
{
    qCWarning(lcTftp) << "cannot write" << m_path << ":" << m_writeFile->errorString();
    Refuse(DiskFull);
}

void TFTPSession::HandleRepeatedRequest()
{
    if (m_state == Active && isWrite() && m_writeFile && m_block == 0)
        sendCurrent();
}

void TFTPSession::Resend()
{
    if (m_state != Active)
        return;
    ++m_msg.sendCount;
    reportSent(sendCurrent(), VrTFTPStatus::Transferring);
}

bool TFTPSession::setAndSend(const QByteArray &packet)
{
    if (m_sendBuffer.size() < packet.size())
        m_sendBuffer.resize(packet.size());
    std::memcpy(m_sendBuffer.data(), packet.constData(), size_t(packet.size()));
    m_sendLength = packet.size();
    return sendCurrent();
}

bool TFTPSession::sendCurrent()
{
    return m_socket.IsOpen() && m_socket.SendTo(m_sendBuffer.constData(), m_sendLength, m_peer);
}

// The first early resend of a DATA block, as common TFTP servers do.
constexpr qint64 FirstEarlyResendMs = 1000;

void TFTPSession::armDeadline()
{
    const qint64 now = VrTFTPNowMs();
    const qint64 wait = qint64(m_msg.timeout) * 10;
    m_deadline = now + wait;
    m_backoffMs = qMin<qint64>(FirstEarlyResendMs, wait);
    m_earlyResendAt = !isWrite() && m_backoffMs < wait ? now + m_backoffMs : 0;
}

void TFTPSession::ResendEarly(qint64 now)
{
    if (m_state != Active || m_earlyResendAt == 0)
        return;
    if (!sendCurrent()) {
        Report(VrTFTPStatus::SocketIoFailed);
        return;
    }
    m_backoffMs = qMin<qint64>(m_backoffMs * 2, qint64(m_msg.timeout) * 10);
    m_earlyResendAt = now + m_backoffMs < m_deadline ? now + m_backoffMs : 0;
}

void TFTPSession::reportSent(bool sent, int code)
{
    if (!sent) {
        Report(VrTFTPStatus::SocketIoFailed);
        return;
    }
    if (code == VrTFTPStatus::Transferring)
        armDeadline();
    Report(code);
}

void TFTPSession::Report(int code)
{
    if (m_state != Active)
        return;
    m_msg.setStatus(code);
    if (m_callback)
        m_callback(&m_msg, &m_cancel);
    if (code == VrTFTPStatus::Success) {
        m_readFile.close();
        m_state = Finished;
    } else if (code < 0) {
        m_readFile.close();
        if (m_writeFile) {
            m_writeFile->cancelWriting();
            m_writeFile.reset();
        }
        m_state = Failed;
    }
}
