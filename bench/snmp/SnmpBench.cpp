// Per-exchange cost of the request engine against a plain Net-SNMP client
// talking to the same snmpd in the same run. Prints one "BENCH" line per
// figure. The client (this process) and the agent are pinned to CPUs the same
// way for both sides.

#include "SnmpdAgent.h"
#include "VrSNMPRequest.h"
#include "VrSNMPSession.h"
#include "VrSNMPTarget.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <sched.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kRounds = 15;
constexpr int kGets = 300;
constexpr int kWalks = 4;

const char kColumn1[] = "1.3.6.1.4.1.99999.1.1.1";
const char kColumn2[] = "1.3.6.1.4.1.99999.1.1.2";

// Median over rounds of the time per operation, in microseconds; the two
// sides take turns, each going first in every other round, so that drifts of
// the machine and cache effects hit both alike.
struct Pair {
    double ours;
    double peer;
};
Pair measure(int operations, const std::function<void()> &ours, const std::function<void()> &peer)
{
    std::vector<double> a, b;
    for (int round = 0; round < kRounds; ++round) {
        for (int turn = 0; turn < 2; ++turn) {
            const int side = (turn + round) % 2;
            QElapsedTimer clock;
            clock.start();
            for (int i = 0; i < operations; ++i)
                (side == 0 ? ours : peer)();
            (side == 0 ? a : b).push_back(double(clock.nsecsElapsed()) / 1000.0 / operations);
        }
    }
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return {a[a.size() / 2], b[b.size() / 2]};
}

void print(const char *name, const Pair &p, const char *peer)
{
    std::printf("BENCH %s %.1f us ratio=%.3f vs %s\n", name, p.ours, p.ours / p.peer, peer);
    std::printf("BENCH %s_peer %.1f us\n", name, p.peer);
}

// The plain Net-SNMP client: one session, synchronous exchanges.
class PlainClient
{
public:
    explicit PlainClient(uint16_t port)
    {
        netsnmp_session s;
        snmp_sess_init(&s);
        const QByteArray peer = QByteArray("udp:127.0.0.1:") + QByteArray::number(port);
        s.peername = const_cast<char *>(peer.constData());
        s.version = SNMP_VERSION_2c;
        s.community = reinterpret_cast<u_char *>(const_cast<char *>(SnmpdAgent::kReadCommunity));
        s.community_len = strlen(SnmpdAgent::kReadCommunity);
        s.timeout = 1000000;
        s.retries = 1;
        m_handle = snmp_sess_open(&s);
    }
    ~PlainClient() { snmp_sess_close(m_handle); }
    bool ok() const { return m_handle != nullptr; }

    // One exchange (a GETBULK with `repetitions`); returns the answer's
    // varbind count (0 on failure).
    int exchange(int command, const std::vector<std::vector<oid>> &names,
                 std::vector<std::vector<oid>> *returned = nullptr, long repetitions = 0)
    {
        netsnmp_pdu *pdu = snmp_pdu_create(command);
        if (command == SNMP_MSG_GETBULK) {
            pdu->non_repeaters = 0;
            pdu->max_repetitions = repetitions;
        }
        for (const auto &name : names)
            snmp_add_null_var(pdu, name.data(), name.size());
        netsnmp_pdu *answer = nullptr;
        int count = 0;
        if (snmp_sess_synch_response(m_handle, pdu, &answer) == STAT_SUCCESS && answer
            && answer->errstat == SNMP_ERR_NOERROR) {
            for (netsnmp_variable_list *vb = answer->variables; vb; vb = vb->next_variable) {
                ++count;
                if (returned)
                    returned->push_back(std::vector<oid>(vb->name, vb->name + vb->name_length));
            }
        }
        if (answer)
            snmp_free_pdu(answer);
        return count;
    }

private:
    void *m_handle = nullptr;
};

std::vector<oid> arcs(const char *text, int row = -1)
{
    std::vector<oid> result;
    for (const QByteArray &part : QByteArray(text).split('.'))
        result.push_back(part.toULong());
    if (row >= 0)
        result.push_back(oid(row));
    return result;
}

bool inColumn(const std::vector<oid> &name, const std::vector<oid> &column)
{
    return name.size() > column.size() && std::equal(column.begin(), column.end(), name.begin());
}

// A plain get-next walk of both columns; returns the rows seen.
int plainWalk(PlainClient &client)
{
    const std::vector<oid> c1 = arcs(kColumn1), c2 = arcs(kColumn2);
    std::vector<std::vector<oid>> next{c1, c2};
    int rows = 0;
    for (;;) {
        std::vector<std::vector<oid>> returned;
        if (client.exchange(SNMP_MSG_GETNEXT, next, &returned) != 2 || !inColumn(returned[0], c1)
            || !inColumn(returned[1], c2))
            return rows;
        ++rows;
        next = returned;
    }
}

// A plain GETBULK walk of both columns, `repetitions` rows an answer;
// returns the rows seen.
int plainBulkWalk(PlainClient &client, long repetitions)
{
    const std::vector<oid> c1 = arcs(kColumn1), c2 = arcs(kColumn2);
    std::vector<std::vector<oid>> next{c1, c2};
    int rows = 0;
    for (;;) {
        std::vector<std::vector<oid>> returned;
        const int count = client.exchange(SNMP_MSG_GETBULK, next, &returned, repetitions);
        if (count < 2)
            return rows;
        for (int i = 0; i + 1 < count; i += 2) {
            if (!inColumn(returned[size_t(i)], c1) || !inColumn(returned[size_t(i) + 1], c2))
                return rows;
            ++rows;
        }
        next = {returned[size_t(count / 2 * 2 - 2)], returned[size_t(count / 2 * 2 - 1)]};
    }
}

// An asynchronous walk of the engine, driven by the Qt event loop.
struct AsyncWalk {
    explicit AsyncWalk(VrSNMPRequest *r) : request(r) {}
    VrSNMPRequest *request;
    QEventLoop loop;
    int rows = 0;
    static void Step(void *data, VrSNMPError &error, VrSNMPVarList &)
    {
        auto *walk = static_cast<AsyncWalk *>(data);
        if (error.Code != 0 || error.Finished) {
            walk->loop.quit();
            return;
        }
        ++walk->rows;
        walk->request->GetAsync(&AsyncWalk::Step, walk, false);
    }
    int run()
    {
        rows = 0;
        request->GetAsync(&AsyncWalk::Step, this, true);
        loop.exec();
        return rows;
    }
};

bool pin(int cpu)
{
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(cpu, &set);
    return sched_setaffinity(0, sizeof set, &set) == 0;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int cpus = int(sysconf(_SC_NPROCESSORS_ONLN));
    const int clientCpu = 0;
    const int agentCpu = cpus > 1 ? 1 : 0;
    if (!pin(clientCpu))
        std::fprintf(stderr, "cannot pin the client\n");

    QTemporaryDir bootsDir;
    QElapsedTimer openClock;
    openClock.start();
    OpenSession(bootsDir.path());
    std::printf("BENCH open_session %.2f ms\n", double(openClock.nsecsElapsed()) / 1e6);

    SnmpdAgent agent;
    QString why;
    if (!agent.Start(&why, agentCpu)) {
        std::fprintf(stderr, "snmpd did not start: %s\n", qPrintable(why));
        return 1;
    }
    std::printf("BENCH placement client=cpu%d agent=cpu%d (both sides alike)\n", clientCpu, agentCpu);

    PlainClient plain(agent.Port());
    if (!plain.ok())
        return 1;

    auto makeRequest = [&] {
        auto r = std::make_unique<VrSNMPRequest>();
        r->Address = agent.Address();
        r->Port = agent.Port();
        r->Version = VrSNMPv2c;
        r->ReadCommunity = QString::fromLatin1(SnmpdAgent::kReadCommunity);
        return r;
    };

    for (int count : {1, 10}) {
        std::vector<QByteArray> oids;
        std::vector<VrSNMPVarDef> defs;
        std::vector<std::vector<oid>> names;
        for (int row = 1; row <= count; ++row)
            oids.push_back(QByteArray(kColumn1) + "." + QByteArray::number(row));
        for (const QByteArray &o : oids) {
            defs.push_back({o.constData(), "number", VrSyntaxInteger, VrFlagRead, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr});
            names.push_back(arcs(o.constData()));
        }
        defs.push_back({});
        auto request = makeRequest();
        request->VarList = VrSNMPVarList(defs.data(), VrListInstance, 0);
        bool ok = true;
        auto ours = [&] { request->Get(ok, true); };
        auto peer = [&] { plain.exchange(SNMP_MSG_GET, names); };
        for (int i = 0; i < 50; ++i) {
            ours();
            peer();
        }
        const Pair p = measure(kGets, ours, peer);
        if (!ok || request->VarList.Item(count - 1).value != QString::number(count * 10)) {
            std::fprintf(stderr, "get with %d varbinds failed\n", count);
            return 1;
        }
        const QByteArray name = "get_" + QByteArray::number(count) + "vb";
        print(name.constData(), p, "netsnmp_sync_get");
    }

    const VrSNMPVarDef table[] = {
        {kColumn1, "rowIndex", VrSyntaxInteger, VrFlagKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        {kColumn1, "number", VrSyntaxInteger, VrFlagRead, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        {kColumn2, "label", VrSyntaxDisplayString, VrFlagRead, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
        {}};
    auto walker = makeRequest();
    walker->VarList = VrSNMPVarList(table, VrListTable2, 1);
    AsyncWalk walk(walker.get());
    int ourRows = 0, peerRows = 0;
    const Pair w = measure(kWalks, [&] { ourRows = walk.run(); }, [&] { peerRows = plainWalk(plain); });
    if (ourRows != SnmpdAgent::kTableRows || peerRows != SnmpdAgent::kTableRows) {
        std::fprintf(stderr, "walks saw %d and %d rows\n", ourRows, peerRows);
        return 1;
    }
    std::printf("BENCH walk_%d_rows %.0f us ratio=%.3f vs netsnmp_sync_getnext_loop\n", ourRows, w.ours,
                w.ours / w.peer);
    std::printf("BENCH walk_%d_rows_peer %.0f us\n", peerRows, w.peer);
    // Against a plain GETBULK loop asking a fixed number of rows per answer
    // that fills about as much of a datagram as the engine's answers do.
    constexpr long kPeerRepetitions = 30;
    const Pair b = measure(kWalks, [&] { ourRows = walk.run(); },
                           [&] { peerRows = plainBulkWalk(plain, kPeerRepetitions); });
    if (peerRows != SnmpdAgent::kTableRows) {
        std::fprintf(stderr, "the bulk walk saw %d rows\n", peerRows);
        return 1;
    }
    std::printf("BENCH walk_%d_rows %.0f us ratio=%.3f vs netsnmp_sync_getbulk_loop_%ld_rows\n", ourRows, b.ours,
                b.ours / b.peer, kPeerRepetitions);
    std::printf("BENCH walk_%d_rows_bulk_peer %.0f us\n", peerRows, b.peer);
    std::printf("BENCH walk_row_step %.1f us\n", w.ours / (ourRows + 1));
    return 0;
}
