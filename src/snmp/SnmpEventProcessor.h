#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <map>

class QSocketNotifier;

// Drives the asynchronous exchanges of the open Net-SNMP sessions on the GUI
// thread: an answer is read as soon as its socket is readable, and one
// single-shot timer is kept armed for the earliest time-out or retry that
// Net-SNMP has pending, so a walk costs no timer tick per row.
class SnmpEventProcessor : public QObject
{
    Q_OBJECT
public:
    // The process-wide processor; created stopped.
    static SnmpEventProcessor &Global();

    void Start();
    void Stop();
    bool IsActive() const { return m_active; }

    // Sessions (Net-SNMP single-session handles) whose exchanges are driven.
    void Watch(void *session);
    void Unwatch(void *session);

    // Re-arms the time-out timer after a send added a pending request.
    void Rearm();

    // Drives the watched sessions directly (answers, time-outs, retries) while
    // busy() holds, for at most ms milliseconds. No other event is delivered:
    // a request being destroyed waits here for its answers without letting
    // widgets that are being torn down around it receive events.
    void WaitWhile(const std::function<bool()> &busy, int ms);

private:
    SnmpEventProcessor();
    void onReadable(void *session);
    void onTimer();

    std::map<void *, QSocketNotifier *> m_sessions;
    QTimer m_timer;
    bool m_active = false;
};
