#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <map>
#include <vector>

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

    // What a synchronous exchange waits for, as the layer that shows waits
    // and takes the user's leave sees it.
    struct Wait {
        const QObject *owner = nullptr; // whom the exchange belongs to (a binder's page), may be null
        QString agent;                  // the device's address
        int limitMs = 0;                // the exchange's time-out x tries
    };
    enum class WaitEnd { Answered, Cancelled, Abandoned };

    // A synchronous exchange's wait, in three steps: BeginWait before the
    // exchange is sent (Answered: go ahead; Cancelled: the guard refused,
    // the page is being left; Abandoned: the program is closing; nothing may
    // be sent then), RunWait while the answer is out, EndWait once it is over
    // (only after a BeginWait that said go ahead).
    //
    // RunWait processes events until done is set (the exchange's
    // completion sets it from an event it handles), so the program keeps
    // painting, polling and serving files; it sleeps while nothing happens.
    // Without a wait guard (below) user input stays out of the wait; with
    // one, the guard decides what input gets through (leaving, mostly).
    WaitEnd BeginWait(const Wait &wait);
    WaitEnd RunWait(const bool &done);
    void EndWait(const Wait &wait);
    // Ends every running wait at once as cancelled (the user left or pressed
    // Cancel); the exchanges themselves are ended by their requests.
    void CancelWaits();
    // Ends every wait at once and makes later ones fail straight away; for
    // closing the program while a page waits for the device.
    void AbandonWaits();
    // Lets waits run again (a new main window).
    void ResumeWaits() { m_abandoned = false; }
    bool Abandoned() const { return m_abandoned; }
    // The layer above: began(wait) runs as a wait starts and returns false to
    // refuse it (it then ends as cancelled without running); ended(wait) when
    // a wait that began is over, however it ended.
    struct WaitGuard {
        std::function<bool(const Wait &)> began;
        std::function<void(const Wait &)> ended;
    };
    void SetWaitGuard(WaitGuard guard) { m_guard = std::move(guard); }
    bool HasWaitGuard() const { return bool(m_guard.began); }
    int RunningWaits() const { return int(m_waits.size()); }

private:
    SnmpEventProcessor();
    void onReadable(void *session);
    void onTimer();

    std::map<void *, QSocketNotifier *> m_sessions;
    QTimer m_timer;
    bool m_active = false;
    struct Running {
        bool ended = false; // cancelled or abandoned
        bool cancelled = false;
    };
    void endWaits(bool cancelled);
    std::vector<Running *> m_waits;
    bool m_abandoned = false;
    WaitGuard m_guard;
};
