#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <map>
#include <vector>

class QEventLoop;
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

    // Runs a synchronous exchange's wait: a local event loop that leaves out
    // user input, so the program keeps painting, polling and serving files
    // while the answer is out. The exchange's completion quits the loop.
    // False when the wait was abandoned because the program is closing.
    bool RunWait(QEventLoop &loop);
    // Ends every wait at once and makes later ones fail straight away; for
    // closing the program while a page waits for the device.
    void AbandonWaits();
    // Lets waits run again (a new main window).
    void ResumeWaits() { m_abandoned = false; }
    bool Abandoned() const { return m_abandoned; }
    // Called with true when the first wait begins and false when the last
    // ends (the widget layer shows a busy cursor meanwhile).
    void SetWaitIndicator(std::function<void(bool)> indicator) { m_indicator = std::move(indicator); }

private:
    SnmpEventProcessor();
    void onReadable(void *session);
    void onTimer();

    std::map<void *, QSocketNotifier *> m_sessions;
    QTimer m_timer;
    bool m_active = false;
    std::vector<QEventLoop *> m_waits;
    bool m_abandoned = false;
    std::function<void(bool)> m_indicator;
};
