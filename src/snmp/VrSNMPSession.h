#pragma once

#include <QString>
#include <cstdint>
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

    bool operator==(const VrSNMPSessionTarget &) const = default;
};

// The one global SNMP session of the module. It owns the Net-SNMP sessions
// (single-session API), one per distinct target, opened on first use; an
// SNMPv3 session discovers the agent's engine ID on its first send.
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

    // The session for a target, opened when there is none yet, with the given
    // time-out (hundredths of a second) and retries applied to what it sends
    // next; they also bound the blocking engine-ID discovery that Net-SNMP
    // runs on an SNMPv3 session's first send. Raises -509 when the address is
    // neither an IP address nor resolvable (nothing is sent then). Returns null
    // with a Net-SNMP SNMPERR_* number when the session cannot be opened.
    Channel *Acquire(const VrSNMPSessionTarget &target, int timeout, int retries, int &snmpErr);

    // Loads the SNMPv3 engine boots of this module's engine from the
    // "VrSNMP_PP_BootCounter" file of a directory (the working directory when
    // empty), increments and saves it, and returns the new value. A missing
    // file or entry counts as 0. Raises -507 when the file cannot be read or
    // holds a malformed entry, -508 when it cannot be saved.
    static int AdvanceBootCounter(const QString &directory);

    // The Net-SNMP session being closed right now, if any: Net-SNMP calls
    // every outstanding callback of a closing session as if it had timed out.
    static const snmp_session *Closing();

private:
    friend void OpenSession(const QString &directory);
    VrSNMPSession() = default;

    struct Entry {
        VrSNMPSessionTarget target;
        Channel channel;
    };
    void close(Entry &entry);
    void dropStaleUser(const VrSNMPSessionTarget &target);

    std::vector<std::unique_ptr<Entry>> m_entries;
};

// Initialises Net-SNMP once (no MIB files, no user configuration files, its
// persistent state in a private folder), loads, increments and saves the
// SNMPv3 engine boots counter in "VrSNMP_PP_BootCounter" under the directory
// (the working directory when empty), writes the default target records and
// starts the event processor. Raises -506, -507 or -508. Later calls do nothing.
void OpenSession(const QString &directory);
