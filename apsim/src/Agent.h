#pragma once
// The SNMP side: a standalone Net-SNMP agent answering for the access point,
// with its communities and USM users, its restart window and the faults tests inject.
#include "AccessPoint.h"
#include "Options.h"

#include <chrono>
#include <csignal>
#include <deque>
#include <random>
#include <string>

// Net-SNMP's request structures, declared here to keep its headers out.
struct netsnmp_handler_registration_s;
struct netsnmp_agent_request_info_s;
struct netsnmp_request_info_s;
struct netsnmp_transport_s;

namespace apsim {

class Agent
{
public:
    Agent(AccessPoint &ap, const Options &options);
    ~Agent();
    Agent(const Agent &) = delete;
    Agent &operator=(const Agent &) = delete;

    bool start(std::string &error);
    // Serves until stop becomes non-zero; mute (non-zero) silences the agent.
    void run(const volatile std::sig_atomic_t &stop, const volatile std::sig_atomic_t &mute);

    // Net-SNMP calls back into the agent through this.
    int handle(netsnmp_handler_registration_s *reginfo, netsnmp_agent_request_info_s *reqinfo,
               netsnmp_request_info_s *requests);

private:
    bool silent(const volatile std::sig_atomic_t &mute) const;
    bool bootEngine(std::string &error);
    int injectedFailure(const Oid &oid) const;
    void log(const char *operation, const Oid &oid, int status) const;
    // --delay-ms: answers are held back instead of sent, and leave in turn.
    static int holdAnswer(netsnmp_transport_s *transport, const void *packet, int size, void **peer,
                          int *peerSize);
    void sendDueAnswers();

    AccessPoint &m_ap;
    const Options &m_options;
    std::string m_persistentDir;
    std::mt19937 m_dropRng;
    std::chrono::steady_clock::time_point m_silentUntil{};
    bool m_started = false;
    int m_commits = 0;     // set requests committed (per handler call)
    int m_acceptedSets = 0; // set requests of which something was committed

    // An answer held back by --delay-ms. Each leaves its delay after it was
    // made, whatever else is in flight (as over a slow link); with one delay
    // for all, the oldest is always due first.
    struct HeldAnswer {
        std::chrono::steady_clock::time_point due;
        std::string packet;
        std::string peer; // the transport's address data of the requester
    };
    std::deque<HeldAnswer> m_held;
    netsnmp_transport_s *m_transport = nullptr; // the one answers leave through
    int (*m_send)(netsnmp_transport_s *, const void *, int, void **, int *) = nullptr; // its own send
};

} // namespace apsim
