#include "Agent.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/agent/net-snmp-agent-includes.h>

#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <utility>

extern "C" void init_vacm_vars(void); // the community and user access tokens
extern "C" netsnmp_session *main_session; // the agent's first listening session

namespace apsim {

namespace {

const char *AppName = "qrt5150-apsim";

Agent *answerHolder = nullptr; // the agent whose answers --delay-ms holds back

Oid toOid(const oid *arcs, size_t length) { return Oid(arcs, arcs + length); }

std::optional<WireType> wireTypeOfAsn(u_char asnType)
{
    switch (asnType) {
    case ASN_INTEGER: return WireType::Integer;
    case ASN_OCTET_STR: return WireType::OctetString;
    case ASN_IPADDRESS: return WireType::IpAddress;
    case ASN_TIMETICKS: return WireType::TimeTicks;
    case ASN_OBJECT_ID: return WireType::ObjectId;
    default: return std::nullopt;
    }
}

Value valueOf(const netsnmp_variable_list *vb)
{
    Value v;
    switch (vb->type) {
    case ASN_INTEGER:
    case ASN_TIMETICKS:
        v.number = *vb->val.integer;
        break;
    case ASN_OBJECT_ID:
        v.bytes = formatOid(toOid(vb->val.objid, vb->val_len / sizeof(oid)));
        break;
    default:
        v.bytes.assign(reinterpret_cast<const char *>(vb->val.string), vb->val_len);
    }
    return v;
}

void setValue(netsnmp_variable_list *vb, Syntax syntax, const Value &v)
{
    switch (syntax) {
    case Syntax::Integer:
        snmp_set_var_typed_integer(vb, ASN_INTEGER, v.number);
        break;
    case Syntax::TimeTicks:
        snmp_set_var_typed_integer(vb, ASN_TIMETICKS, v.number);
        break;
    case Syntax::Text:
    case Syntax::Mac:
        snmp_set_var_typed_value(vb, ASN_OCTET_STR, v.bytes.data(), v.bytes.size());
        break;
    case Syntax::IpAddress:
        snmp_set_var_typed_value(vb, ASN_IPADDRESS, v.bytes.data(), v.bytes.size());
        break;
    case Syntax::ObjectId: {
        const Oid arcs = parseOid(v.bytes).value_or(Oid{0, 0});
        snmp_set_var_typed_value(vb, ASN_OBJECT_ID, arcs.data(), arcs.size() * sizeof(oid));
        break;
    }
    }
}

int dispatch(netsnmp_mib_handler *handler, netsnmp_handler_registration *reginfo,
             netsnmp_agent_request_info *reqinfo, netsnmp_request_info *requests)
{
    return static_cast<Agent *>(handler->myvoid)->handle(reginfo, reqinfo, requests);
}

// Lines handed over before init_snmp() are read as if from a config file.
void config(const std::string &line)
{
    std::string copy = line; // Net-SNMP keeps its own copy
    netsnmp_config_remember(copy.data());
}

// The USM user and its access, as Net-SNMP's configuration lines.
std::vector<std::string> userLines(const UserOption &u)
{
    std::string create = "createUser " + u.name;
    const char *level = "noauth";
    if (u.auth != "none") {
        create += " " + u.auth + " \"" + u.authPass + "\"";
        level = "auth";
        if (u.priv != "none") {
            create += " " + u.priv + " \"" + u.privPass + "\"";
            level = "priv";
        }
    }
    return {create, "rwuser " + u.name + " " + level};
}

} // namespace

Agent::Agent(AccessPoint &ap, const Options &options)
    : m_ap(ap), m_options(options), m_dropRng(options.seed)
{
}

Agent::~Agent()
{
    if (m_transport) {
        m_transport->f_send = m_send;
        answerHolder = nullptr;
    }
    if (m_started)
        snmp_shutdown(AppName);
    if (!m_persistentDir.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(m_persistentDir, ec);
    }
}

bool Agent::start(std::string &error)
{
    // Neither the user's nor the system's SNMP files may change what the
    // simulator does, and it keeps its engine data in a private folder.
    setenv("MIBS", "", 1);
    std::string dir = (std::filesystem::temp_directory_path() / "qrt5150-apsim-XXXXXX").string();
    if (!mkdtemp(dir.data())) {
        error = "cannot create a private folder in " + std::filesystem::temp_directory_path().string();
        return false;
    }
    m_persistentDir = dir;
    setenv("SNMP_PERSISTENT_DIR", dir.c_str(), 1);
    netsnmp_ds_set_string(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_PERSISTENT_DIR, dir.c_str());
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_ROLE, 0);
    const std::string ports = "udp:" + m_options.listenHost + ":" + std::to_string(m_options.listenPort);
    netsnmp_ds_set_string(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_PORTS, ports.c_str());
    netsnmp_ds_set_boolean(NETSNMP_DS_APPLICATION_ID, NETSNMP_DS_AGENT_DONT_LOG_TCPWRAPPERS_CONNECTS, 1);

    snmp_enable_filelog("/dev/null", 0); // start-up chatter about its folders
    char noSmux[] = "-smux"; // no TCP port 199: simulators run side by side
    add_to_init_list(noSmux);
    init_agent(AppName);
    init_vacm_vars();
    const Oid roots[] = {{1, 3, 6, 1, 2, 1, 1}, productRoot(), {1, 3, 6, 1, 4, 1, 48213, 10, 37, 36}};
    for (const Oid &root : roots) {
        std::vector<oid> arcs(root.begin(), root.end());
        netsnmp_handler_registration *reg = netsnmp_create_handler_registration(
            AppName, dispatch, arcs.data(), arcs.size(), HANDLER_CAN_RWRITE);
        reg->handler->myvoid = this;
        if (netsnmp_register_handler(reg) != MIB_REGISTERED_OK) {
            error = "cannot register " + formatOid(root);
            return false;
        }
    }
    config("rocommunity " + m_options.readCommunity);
    config("rwcommunity " + m_options.writeCommunity);
    for (const UserOption &u : m_options.users)
        for (const std::string &line : userLines(u))
            config(line);
    // The engine ID the device had, unless it is to be another one; users
    // are localised to it while the configuration is read.
    AccessPoint::Engine &engine = m_ap.engine();
    if (!m_options.engineId.empty())
        engine.id = m_options.engineId;
    if (!engine.id.empty())
        set_exact_engineID(reinterpret_cast<const u_char *>(engine.id.data()), engine.id.size());
    init_snmp(AppName);
    m_started = true;
    if (engine.id.empty()) {
        u_char id[32];
        const size_t length = snmpv3_get_engineID(id, sizeof id);
        engine.id.assign(reinterpret_cast<const char *>(id), length);
    }
    if (!bootEngine(error))
        return false;
    snmp_disable_filelog();
    snmp_enable_stderrlog();
    if (init_master_agent() != 0) {
        error = "cannot listen on " + ports;
        return false;
    }
    if (m_options.delayMs > 0) {
        // Answers go out through the listening transport: its send holds them instead.
        void *session = main_session ? snmp_sess_pointer(main_session) : nullptr;
        m_transport = session ? snmp_sess_transport(session) : nullptr;
        if (!m_transport || !m_transport->f_send) {
            error = "cannot delay the answers on " + ports;
            return false;
        }
        m_send = m_transport->f_send;
        m_transport->f_send = &Agent::holdAnswer;
        answerHolder = this;
    }
    return true;
}

int Agent::holdAnswer(netsnmp_transport *, const void *packet, int size, void **peer, int *peerSize)
{
    Agent &agent = *answerHolder;
    HeldAnswer held{std::chrono::steady_clock::now() + std::chrono::milliseconds(agent.m_options.delayMs),
                    std::string(static_cast<const char *>(packet), size_t(size)), {}};
    // The requester's address goes with the request, which is freed once it is answered.
    if (peer && *peer && peerSize && *peerSize > 0)
        held.peer.assign(static_cast<const char *>(*peer), size_t(*peerSize));
    agent.m_held.push_back(std::move(held));
    return size;
}

void Agent::sendDueAnswers()
{
    const auto now = std::chrono::steady_clock::now();
    while (!m_held.empty() && m_held.front().due <= now) {
        HeldAnswer &held = m_held.front();
        void *peer = held.peer.empty() ? nullptr : held.peer.data();
        int peerSize = int(held.peer.size());
        if (m_send(m_transport, held.packet.data(), int(held.packet.size()), &peer, &peerSize) < 0 && m_options.verbose)
            std::fprintf(stderr, "answer not sent\n");
        m_held.pop_front();
    }
}

// A start or restart of the device: one boot more, which a manager sees in
// the next message it receives. (Net-SNMP offers no way to start the engine
// time again within the process; a restarted process does.)
bool Agent::bootEngine(std::string &error)
{
    AccessPoint::Engine &engine = m_ap.engine();
    // The configuration handler stores the number it is given plus one.
    std::string previous = std::to_string(engine.boots++);
    engineBoots_conf("engineBoots", previous.data());
    // What the engine says about itself in its messages comes from its own
    // entry among the engines it knows.
    set_enginetime(reinterpret_cast<u_char *>(engine.id.data()), u_int(engine.id.size()), u_int(engine.boots),
                   u_int(snmpv3_local_snmpEngineTime()), TRUE);
    if (m_options.verbose)
        std::fprintf(stderr, "engine boots %ld\n", engine.boots);
    return m_ap.saveState(error);
}

int Agent::injectedFailure(const Oid &oid) const
{
    for (const FailOption &f : m_options.fails)
        if (f.oid == oid)
            return f.status;
    return 0;
}

void Agent::log(const char *operation, const Oid &oid, int status) const
{
    if (m_options.verbose)
        std::fprintf(stderr, "%s %s -> %d\n", operation, formatOid(oid).c_str(), status);
}

int Agent::handle(netsnmp_handler_registration *reginfo, netsnmp_agent_request_info *reqinfo,
                  netsnmp_request_info *requests)
{
    const Oid root = toOid(reginfo->rootoid, reginfo->rootoid_len);
    Device &device = m_ap.device();
    for (netsnmp_request_info *r = requests; r; r = r->next) {
        netsnmp_variable_list *vb = r->requestvb;
        const Oid oid = toOid(vb->name, vb->name_length);
        const int failure = injectedFailure(oid);
        switch (reqinfo->mode) {
        case MODE_GET: {
            const auto found = failure ? std::nullopt : device.get(oid);
            if (found)
                setValue(vb, found->syntax, found->value);
            else
                netsnmp_set_request_error(reqinfo, r, failure ? failure : SNMP_NOSUCHINSTANCE);
            log("get", oid, failure ? failure : found ? 0 : SNMP_NOSUCHINSTANCE);
            break;
        }
        case MODE_GETNEXT: {
            const auto next = device.getNext(oid);
            if (!next || !isPrefix(root, next->oid)) {
                log("getnext", oid, SNMP_ENDOFMIBVIEW);
                break; // past this subtree: the agent asks the next one
            }
            const int nextFailure = injectedFailure(next->oid);
            std::vector<::oid> arcs(next->oid.begin(), next->oid.end());
            snmp_set_var_objid(vb, arcs.data(), arcs.size());
            setValue(vb, next->syntax, next->value);
            if (nextFailure)
                netsnmp_set_request_error(reqinfo, r, nextFailure);
            log("getnext", next->oid, nextFailure);
            break;
        }
        case MODE_SET_RESERVE1: {
            const auto type = wireTypeOfAsn(vb->type);
            const int status = failure ? failure : type ? device.checkSet(oid, *type, valueOf(vb)) : int(WrongType);
            if (status != NoError) {
                netsnmp_set_request_error(reqinfo, r, status);
                log("set", oid, status);
            }
            break;
        }
        case MODE_SET_ACTION: {
            const int status = device.set(oid, valueOf(vb));
            if (status != NoError)
                netsnmp_set_request_error(reqinfo, r, status);
            log("set", oid, status);
            break;
        }
        case MODE_SET_COMMIT: {
            std::string error;
            if (r == requests)
                ++m_commits;
            if (r == requests && !m_ap.saveState(error))
                std::fprintf(stderr, "qrt5150-apsim: %s\n", error.c_str());
            break;
        }
        default:
            break; // RESERVE2, FREE, UNDO: writes are done in ACTION
        }
    }
    return SNMP_ERR_NOERROR;
}

bool Agent::silent(const volatile std::sig_atomic_t &mute) const
{
    if (mute || std::chrono::steady_clock::now() < m_silentUntil)
        return true;
    return !m_options.muteFile.empty() && access(m_options.muteFile.c_str(), F_OK) == 0;
}

void Agent::run(const volatile std::sig_atomic_t &stop, const volatile std::sig_atomic_t &mute)
{
    bool rebooting = false;
    bool faultRestart = false; // --restart-after-sets reached
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    while (!stop) {
        if (rebooting && std::chrono::steady_clock::now() >= m_silentUntil) {
            m_ap.restart();
            std::string error;
            if (!bootEngine(error))
                std::fprintf(stderr, "qrt5150-apsim: %s\n", error.c_str());
            rebooting = false;
        }
        int numfds = 0, block = 0;
        fd_set fds;
        FD_ZERO(&fds);
        timeval tv{0, 100000};
        snmp_select_info(&numfds, &fds, &tv, &block);
        if (block || tv.tv_sec > 0 || tv.tv_usec > 100000)
            tv = timeval{0, 100000}; // look at the stop flag and the mute file often
        if (!m_held.empty()) {
            using std::chrono::microseconds;
            const auto wait = std::chrono::ceil<microseconds>(m_held.front().due - std::chrono::steady_clock::now());
            tv.tv_usec = std::clamp<long>(wait.count(), 0, tv.tv_usec); // the next answer's time
        }
        const int ready = select(numfds, &fds, nullptr, nullptr, &tv);
        if (ready > 0) {
            if (silent(mute) || (m_options.drop > 0 && chance(m_dropRng) < m_options.drop)) {
                for (int fd = 0; fd < numfds; ++fd) {
                    char buf[2048];
                    if (FD_ISSET(fd, &fds))
                        recv(fd, buf, sizeof buf, MSG_DONTWAIT);
                }
                if (m_options.verbose)
                    std::fprintf(stderr, "request dropped\n");
            } else {
                const int commits = m_commits;
                snmp_read(&fds);
                // A request whose objects sit under several roots commits once per root.
                if (m_commits != commits) {
                    faultRestart = ++m_acceptedSets == m_options.restartAfterSets;
                    if (m_options.verbose)
                        std::fprintf(stderr, "set request %d accepted\n", m_acceptedSets);
                }
            }
        } else if (ready == 0) {
            snmp_timeout();
        }
        sendDueAnswers();
        run_alarms();
        netsnmp_check_outstanding_agent_requests();
        m_ap.pollTransfers();
        if (m_ap.takeRestartRequest() || std::exchange(faultRestart, false)) {
            m_silentUntil = std::chrono::steady_clock::now() + std::chrono::seconds(m_options.rebootSeconds);
            rebooting = true;
            if (m_options.verbose)
                std::fprintf(stderr, "restarting for %d s\n", m_options.rebootSeconds);
        }
    }
}

} // namespace apsim
