#include "VrTFTPServer.h"

#include "TFTPSession.h"
#include "VrTFTPPacket.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QHostInfo>
#include <arpa/inet.h>

using namespace VrTFTPPacket;

namespace {

std::optional<QHostAddress> firstIPv4(const QString &host)
{
    QHostAddress literal;
    if (literal.setAddress(host))
        return literal.protocol() == QAbstractSocket::IPv4Protocol ? std::optional(literal)
                                                                   : std::nullopt;
    const QHostInfo info = QHostInfo::fromName(host);
    for (const QHostAddress &a : info.addresses()) {
        if (a.protocol() == QAbstractSocket::IPv4Protocol)
            return a;
    }
    return std::nullopt;
}

// QRT5150_TFTP_PORT lets tests and unprivileged users run without port 69.
quint16 effectivePort(quint16 requested)
{
    if (requested != VrTFTPServer::WellKnownPort || !qEnvironmentVariableIsSet("QRT5150_TFTP_PORT"))
        return requested;
    bool ok = false;
    const uint port = qEnvironmentVariable("QRT5150_TFTP_PORT").toUInt(&ok);
    if (!ok || port == 0 || port > 65535) {
        qCWarning(lcTftp) << "ignoring invalid QRT5150_TFTP_PORT"
                          << qEnvironmentVariable("QRT5150_TFTP_PORT");
        return requested;
    }
    return quint16(port);
}

} // namespace

VrTFTPServer::VrTFTPServer(QObject *owner) : QObject(owner)
{
    m_timer.setInterval(TickMs);
    connect(&m_timer, &QTimer::timeout, this, &VrTFTPServer::onTick);
    m_receiveBuffer.resize(2048);
    m_anyPeer = qEnvironmentVariable("QRT5150_TFTP_ANY_PEER") == u"1";
    if (const auto local = firstIPv4(QHostInfo::localHostName()))
        m_template.localAddress = local->toString();
}

VrTFTPServer::~VrTFTPServer()
{
    Stop();
    qDeleteAll(m_sessions);
}

void VrTFTPServer::endDallying()
{
    for (const auto &[session, until] : std::exchange(m_dallying, {}))
        delete session;
}

void VrTFTPServer::SetTimeout(int timeout, int retries)
{
    m_template.timeout = timeout;
    m_retryLimit = retries;
}

void VrTFTPServer::SetOnMessage(VrTFTPCallback callback)
{
    m_callback = std::move(callback);
}

bool VrTFTPServer::SetAllowedPeer(const QString &host)
{
    const std::optional<QHostAddress> address = firstIPv4(host);
    m_allowedPeer = address ? htonl(address->toIPv4Address()) : 0;
    if (!address)
        qCWarning(lcTftp) << "device address" << host << "does not resolve to IPv4;"
                          << "all TFTP requests will be refused";
    return address.has_value();
}

void VrTFTPServer::SetAcceptAnyPeer(bool any)
{
    m_anyPeer = any;
}

bool VrTFTPServer::Grant(const QString &peer, const QString &folder, const QString &fileName)
{
    QHostAddress address;
    if (!address.setAddress(peer) || address.protocol() != QAbstractSocket::IPv4Protocol)
        return false;
    QString root = folder;
    if (!root.isEmpty() && !root.endsWith(u'\\') && !root.endsWith(u'/'))
        root += u'/';
    m_grants.insert(htonl(address.toIPv4Address()), FileGrant{root, fileName});
    return true;
}

void VrTFTPServer::Revoke(const QString &peer)
{
    QHostAddress address;
    if (address.setAddress(peer) && address.protocol() == QAbstractSocket::IPv4Protocol)
        m_grants.remove(htonl(address.toIPv4Address()));
}

void VrTFTPServer::Start(const QString &rootDirectory, quint16 port)
{
    m_root = rootDirectory;
    if (!m_root.isEmpty() && !m_root.endsWith(u'\\') && !m_root.endsWith(u'/'))
        m_root += u'/';
    if (IsRunning())
        return;
    // Kept on failure too: the owner names the port it could not open.
    m_template.serverPort = effectivePort(port);
    if (!m_socket.Open(quint16(m_template.serverPort), true)) {
        Stop();
        throw VrTFTPException(VrTFTPStatus::SocketOpenFailed);
    }
    m_template.serverPort = m_socket.LocalPort();
    m_notifier = std::make_unique<QSocketNotifier>(m_socket.Descriptor(), QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &VrTFTPServer::onRequestReadable);
    m_timer.start();
    qCInfo(lcTftp) << "serving" << (m_root.isEmpty() ? QStringLiteral(".") : m_root)
                   << "on UDP port" << m_template.serverPort;
}

void VrTFTPServer::Stop()
{
    m_notifier.reset();
    m_socket.Close();
    if (!m_sessions.isEmpty() && m_timer.isActive()) {
        QEventLoop loop;
        connect(this, &VrTFTPServer::sessionsDrained, &loop, &QEventLoop::quit);
        QTimer::singleShot(StopWaitMs, &loop, &QEventLoop::quit);
        loop.exec();
    }
    endDallying();
    m_timer.stop();
}

void VrTFTPServer::Abort()
{
    m_notifier.reset();
    m_socket.Close();
    while (!m_sessions.isEmpty())
        removeSession(0, VrTFTPStatus::Disconnected);
    endDallying();
    m_timer.stop();
}

bool VrTFTPServer::peerAllowed(const sockaddr_in &from) const
{
    return m_anyPeer || (m_allowedPeer != 0 && from.sin_addr.s_addr == m_allowedPeer)
           || m_grants.contains(from.sin_addr.s_addr);
}

bool VrTFTPServer::writeTargetBusy(const TFTPSession &candidate) const
{
    for (const TFTPSession *s : m_sessions) {
        if (s != &candidate && s->isWrite() && s->state() == TFTPSession::Active
            && !s->targetPath().isEmpty() && s->targetPath() == candidate.targetPath())
            return true;
    }
    return false;
}

void VrTFTPServer::onRequestReadable()
{
    sockaddr_in from{};
    const qsizetype n = m_socket.ReceiveFrom(m_receiveBuffer.data(), m_receiveBuffer.size(), &from);
    if (n < HeaderSize || n > m_receiveBuffer.size())
        return;
    Request request;
    switch (parseRequest(QByteArrayView(m_receiveBuffer.constData(), n), &request)) {
    case ParseResult::NotRequest:
        return;
    case ParseResult::Malformed:
        qCWarning(lcTftp) << "malformed request from" << VrTFTPAddressText(from);
        m_socket.SendTo(makeError(IllegalOperation).constData(), 5, from);
        return;
    case ParseResult::Request:
        break;
    }
    if (!peerAllowed(from)) {
        qCWarning(lcTftp) << "refused request for" << QFile::decodeName(request.fileName)
                          << "from" << VrTFTPAddressText(from) << "(not the managed device)";
        m_socket.SendTo(makeError(AccessViolation).constData(), 5, from);
        return;
    }

    QString root = m_root;
    if (const auto grant = m_grants.constFind(from.sin_addr.s_addr); grant != m_grants.cend()) {
        if (QFile::decodeName(request.fileName) != grant->fileName) {
            qCWarning(lcTftp) << "refused request for" << QFile::decodeName(request.fileName) << "from"
                              << VrTFTPAddressText(from) << "(not the file granted to it)";
            m_socket.SendTo(makeError(AccessViolation).constData(), 5, from);
            return;
        }
        root = grant->folder;
    }

    m_template.setStatus(VrTFTPStatus::Connected);
    m_template.requestKind = request.opcode;
    m_template.fileName = QFile::decodeName(request.fileName);
    m_template.mode = QString::fromLatin1(request.mode);
    m_template.peerAddress = VrTFTPAddressText(from);
    m_template.peerPort = VrTFTPPortOf(from);
    for (TFTPSession *s : std::as_const(m_sessions)) {
        if (s->isSameRequest(m_template)) {
            s->HandleRepeatedRequest();
            return;
        }
    }
    m_template.sendCount = 0;
    ++m_template.sessionNumber;

    auto *session = new TFTPSession(m_template, request, root, m_callback, from, this);
    m_sessions.append(session);
    // Two uploads of one name at a time would race to replace the file.
    if (session->isWrite() && writeTargetBusy(*session))
        session->Refuse(AccessViolation);
    else
        session->Start();
}

void VrTFTPServer::onTick()
{
    // Every ended session goes in the same tick: a fleet's hundreds of
    // transfers must not queue up for removal one tick each.
    const qint64 now = VrTFTPNowMs();
    for (qsizetype i = 0; i < m_dallying.size();) {
        if (m_dallying.at(i).second > now) {
            ++i;
            continue;
        }
        delete m_dallying.takeAt(i).first;
    }
    for (qsizetype i = 0; i < m_sessions.size();) {
        TFTPSession *s = m_sessions.at(i);
        if (s->state() == TFTPSession::Finished && s->isWrite()) {
            m_sessions.removeAt(i);
            m_dallying.append({s, now + qMin<qint64>(DallyMs, qint64(s->msg().timeout) * 10)});
            if (m_sessions.isEmpty())
                emit sessionsDrained();
            continue;
        }
        if (s->state() != TFTPSession::Active) {
            removeSession(i, VrTFTPStatus::Disconnected);
            continue;
        }
        if (s->deadline() == 0 || s->deadline() >= now) {
            if (s->earlyResendAt() != 0 && s->earlyResendAt() <= now)
                s->ResendEarly(now);
            ++i;
            continue;
        }
        // Only DATA is resent; an upload's ACK is not, so it ends here.
        if (!s->isWrite() && s->msg().sendCount < m_retryLimit) {
            s->Resend();
            ++i;
            continue;
        }
        removeSession(i, VrTFTPStatus::Timeout);
    }
}

void VrTFTPServer::removeSession(qsizetype index, int finalReport)
{
    TFTPSession *s = m_sessions.takeAt(index);
    if (finalReport != VrTFTPStatus::Disconnected)
        s->Report(finalReport);
    delete s;
    if (m_sessions.isEmpty())
        emit sessionsDrained();
}
