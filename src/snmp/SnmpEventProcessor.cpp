#include "SnmpEventProcessor.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QSocketNotifier>

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <fcntl.h>
#include <sys/select.h>

SnmpEventProcessor &SnmpEventProcessor::Global()
{
    static SnmpEventProcessor *processor = new SnmpEventProcessor; // lives to process end
    return *processor;
}

SnmpEventProcessor::SnmpEventProcessor()
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &SnmpEventProcessor::onTimer);
}

void SnmpEventProcessor::Start()
{
    m_active = true;
    for (auto &[session, notifier] : m_sessions)
        notifier->setEnabled(true);
    Rearm();
}

void SnmpEventProcessor::Stop()
{
    m_active = false;
    m_timer.stop();
    for (auto &[session, notifier] : m_sessions)
        notifier->setEnabled(false);
}

void SnmpEventProcessor::Watch(void *session)
{
    netsnmp_transport *transport = snmp_sess_transport(session);
    if (!transport || m_sessions.count(session))
        return;
    // A synchronous exchange may take an answer between the readiness poll and
    // the notifier's turn: reading must then find nothing instead of blocking.
    ::fcntl(transport->sock, F_SETFL, ::fcntl(transport->sock, F_GETFL) | O_NONBLOCK);
    auto *notifier = new QSocketNotifier(transport->sock, QSocketNotifier::Read, this);
    notifier->setEnabled(m_active);
    connect(notifier, &QSocketNotifier::activated, this, [this, session] { onReadable(session); });
    m_sessions.emplace(session, notifier);
}

void SnmpEventProcessor::Unwatch(void *session)
{
    auto it = m_sessions.find(session);
    if (it == m_sessions.end())
        return;
    // The notifier may be the one whose signal is running right now.
    it->second->setEnabled(false);
    it->second->deleteLater();
    m_sessions.erase(it);
}

void SnmpEventProcessor::Rearm()
{
    if (!m_active)
        return;
    bool pending = false;
    timeval earliest{};
    for (auto &[session, notifier] : m_sessions) {
        int numfds = 0;
        int block = 1;
        fd_set fds;
        FD_ZERO(&fds);
        timeval tv{};
        snmp_sess_select_info(session, &numfds, &fds, &tv, &block);
        if (block)
            continue;
        if (!pending || timercmp(&tv, &earliest, <))
            earliest = tv;
        pending = true;
    }
    // With nothing pending the timer is left to fire once for nothing, which
    // costs less than stopping it after each answer and starting it again
    // for the next exchange.
    if (!pending)
        return;
    // Round up so that the timer never fires just before Net-SNMP's deadline.
    const qint64 ms = qint64(earliest.tv_sec) * 1000 + (earliest.tv_usec + 999) / 1000;
    // A timer that fires earlier than needed only costs a spurious check, so
    // it is left running: a walk then sends row after row without re-arming.
    if (m_timer.isActive() && m_timer.remainingTime() <= ms)
        return;
    m_timer.start(int(qMin<qint64>(ms, 24 * 3600 * 1000)));
}

void SnmpEventProcessor::onReadable(void *session)
{
    if (!m_active || !m_sessions.count(session))
        return;
    netsnmp_transport *transport = snmp_sess_transport(session);
    fd_set fds;
    FD_ZERO(&fds);
    FD_SET(transport->sock, &fds);
    snmp_sess_read(session, &fds);
    Rearm();
}

void SnmpEventProcessor::onTimer()
{
    // Callbacks fired from here may open or close sessions: walk a snapshot.
    std::vector<void *> sessions;
    for (auto &[session, notifier] : m_sessions)
        sessions.push_back(session);
    for (void *session : sessions) {
        if (m_sessions.count(session))
            snmp_sess_timeout(session);
    }
    Rearm();
}

SnmpEventProcessor::WaitEnd SnmpEventProcessor::BeginWait(const Wait &wait)
{
    if (m_abandoned)
        return WaitEnd::Abandoned;
    if (m_guard.began && !m_guard.began(wait))
        return WaitEnd::Cancelled;
    return WaitEnd::Answered;
}

SnmpEventProcessor::WaitEnd SnmpEventProcessor::RunWait(const bool &done)
{
    if (m_abandoned)
        return WaitEnd::Abandoned;
    const QEventLoop::ProcessEventsFlags flags =
        m_guard.began ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents;
    Running running;
    m_waits.push_back(&running);
    // Events are processed here rather than in a nested QEventLoop, whose
    // quit would wake the dispatcher through its wake-up descriptor: three
    // system calls and an idle pass more per exchange.
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    while (!done && !running.ended)
        dispatcher->processEvents(flags | QEventLoop::WaitForMoreEvents);
    std::erase(m_waits, &running);
    if (m_abandoned)
        return WaitEnd::Abandoned;
    return running.cancelled ? WaitEnd::Cancelled : WaitEnd::Answered;
}

void SnmpEventProcessor::EndWait(const Wait &wait)
{
    if (m_guard.ended)
        m_guard.ended(wait);
}

void SnmpEventProcessor::CancelWaits()
{
    endWaits(true);
}

void SnmpEventProcessor::AbandonWaits()
{
    m_abandoned = true;
    endWaits(false);
}

void SnmpEventProcessor::endWaits(bool cancelled)
{
    for (Running *running : m_waits) {
        running->ended = true;
        running->cancelled = running->cancelled || cancelled;
    }
    // A wait looks at its flags after each event it handles, so this wakes
    // it only when it is called from elsewhere.
    if (!m_waits.empty())
        QAbstractEventDispatcher::instance()->interrupt();
}
