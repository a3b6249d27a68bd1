#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

struct snmp_session;

// What tells one Net-SNMP session from another: where the agent is and, for
// SNMPv3, who we are to it. Communities are not part of it: they travel on
// each PDU, so one v1/v2c session serves both the read and the write one.
struct VrSNMPSessionTarget {
    QString address; // IP address or DNS name
    uint16_t port = 161;
    uint8_t version = 0; // 0 v1, 1 v2c, 3 v3
    int securityLevel = 1;
    QString securityName;
    int authProtocol = 1;
    QString authPassword;
    int privProtocol = 1;
    QString privPassword;

    VrSNMPSessionTarget() = default;
    VrSNMPSessionTarget(const VrSNMPSessionTarget &) = default;
    VrSNMPSessionTarget &operator=(const VrSNMPSessionTarget &) = default;
    ~VrSNMPSessionTarget(); // the last copy of a pass phrase is overwritten
    bool operator==(const VrSNMPSessionTarget &) const = default;
};

// The one global SNMP session of the module. It owns the Net-SNMP sessions
// (single-session API), one per distinct target and owner (a request),
// opened on first use, so that an owner's exchanges can be ended at once:
// closing its sessions removes everything it has pending with Net-SNMP. The
// engine ID of an SNMPv3 agent is discovered asynchronously before its first
// session opens, so that nothing waits on the socket in the GUI thread.
class VrSNMPSession
{
public:
    struct Channel {
        void *handle = nullptr;  // Net-SNMP single-session handle
        QString peerAddress;     // the agent address the session sends to
        uint16_t peerPort = 0;
    };

    // The global session; null until OpenSession has run.
    static VrSNMPSession *Global();

    // The owner's session for a target, opened when there is none yet, with the given
    // time-out (hundredths of a second) and retries applied to what it sends
    // next. Raises -509 when the address is neither an IP address nor
    // resolvable (nothing is sent then). Returns null with a Net-SNMP
    // SNMPERR_* number when the session cannot be opened. An SNMPv3 target
    // needs its agent's engine ID first (NeedsDiscovery, Discover).
    Channel *Acquire(const VrSNMPSessionTarget &target, const void *owner, int timeout, int retries,
                     int &snmpErr);
    // Ends everything the owner has out: its sessions close (Net-SNMP ends
    // their outstanding exchanges as "session destroyed", see Closing, and
    // retransmits nothing more), and its waits for engine-ID discoveries are
    // dropped without being called; a discovery nobody waits for stops.
    void Release(const void *owner);

    // True for an SNMPv3 target without a session whose agent's engine ID is
    // not known yet.
    bool NeedsDiscovery(const VrSNMPSessionTarget &target) const;
    // Asks the agent for its engine ID without blocking, bounded by the time-out
    // (hundredths of a second) and retries; `done` runs later from the event
    // loop with SNMPERR_SUCCESS or why it failed. Requests for the same agent
    // share one discovery. A failed discovery is not remembered: the next
    // exchange tries again. Raises -509 for an address that does not resolve.
    void Discover(const VrSNMPSessionTarget &target, int timeout, int retries, const void *owner,
                  std::function<void(int snmpErr)> done);

    // The agent of an SNMPv3 target (address and port) did not answer an
    // exchange sent for engine ID `stale`; it may have been replaced by one
    // with another engine ID. That engine ID is forgotten and the agent's
    // sessions for it opened until then (OpenedSoFar() at the time-out) are
    // retired, so the next exchange discovers it again.
    void ForgetEngineId(const VrSNMPSessionTarget &target, const QByteArray &stale, uint64_t openedUpTo);
    uint64_t OpenedSoFar() const { return m_opened; }

    // An SNMPv3 exchange on this session has gone unanswered for a while:
    // the agent may have been replaced by one with another engine ID, whose
    // refusal of the old one Net-SNMP drops unread. Its engine ID is asked
    // again (one probe per agent at a time, a second without retries, sent
    // from the user without name); when it has changed, every session
    // opened for the old one closes as if moved (MovingExchanges()), so its
    // exchanges go out again on a session for the new one. Does nothing for
    // a session that is not open here or not SNMPv3.
    void CheckEngineId(const void *handle);

    // Loads the SNMPv3 engine boots of this module's engine from the
    // "VrSNMP_PP_BootCounter" file of a directory (the working directory when
    // empty), increments and saves it, and returns the new value. A missing
    // file or entry counts as 0. Raises -507 when the file cannot be read or
    // holds a malformed entry, -508 when it cannot be saved.
    static int AdvanceBootCounter(const QString &directory);

    // The Net-SNMP session being closed right now, if any: Net-SNMP calls
    // every outstanding callback of a closing session as if it had timed out.
    static const snmp_session *Closing();
    // True while Closing() closes because its agent's engine ID changed:
    // its exchanges are to be sent again rather than ended.
    static bool MovingExchanges();

private:
    friend void OpenSession(const QString &directory);
    VrSNMPSession() = default;

    struct Entry {
        VrSNMPSessionTarget target;
        const void *owner = nullptr;
        Channel channel;
        uint64_t serial = 0; // which session opened this is
        bool retired = false; // for an engine ID gone from its address: used for nothing new
    };
    struct Waiter {
        const void *owner;
        std::function<void(int)> done;
    };
    struct Discovery {
        QString agent; // address and port, the key of the engine ID
        void *handle = nullptr;
        int result = 0;
        QByteArray engineId;
        std::vector<Waiter> waiters;
        bool check = false; // asked by CheckEngineId: nobody waits, and nobody joins
    };
    void close(void *handle, bool moving = false);
    Discovery *probe(const QString &agent, const QByteArray &peerName, int timeout, int retries);
    void moveOffEngineId(const QString &agent, const QByteArray &engineId);
    static void removeUser(const Entry &entry);
    void dropStaleUser(const VrSNMPSessionTarget &target, const QByteArray &engineId);
    void finishDiscovery(Discovery *discovery);
    static int probeAnswered(int op, struct snmp_session *session, int reqid, struct snmp_pdu *pdu,
                             void *magic);

    std::vector<std::unique_ptr<Entry>> m_entries;
    std::vector<std::unique_ptr<Discovery>> m_discoveries;
    std::map<QString, QByteArray> m_engineIds; // by agent address and port
    uint64_t m_opened = 0;                     // sessions opened so far
};

// Initialises Net-SNMP once (no MIB files, no user configuration files, its
// persistent state in a private folder), loads, increments and saves the
// SNMPv3 engine boots counter in "VrSNMP_PP_BootCounter" under the directory
// (the working directory when empty), writes the default target records and
// starts the event processor. Raises -506, -507 or -508. Later calls do nothing.
void OpenSession(const QString &directory);
