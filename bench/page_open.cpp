// How long each page of the menu takes to open against the simulated access
// point on loopback (until its opening exchanges are done), next to the goal
// of four round trips plus 50 ms, the round trip being a get through
// Net-SNMP's own API measured in the same run. The access-point pages open
// first, then the router pages with the device in its router operation.
//
//   page_open [--apsim PATH] [--repeats N] [--page CLASS] [--delay-ms N]
//
// --delay-ms makes the simulator answer each request N ms late (a slow link).
// The page's exchanges are counted by a UDP relay between page and simulator
// (one opening), and so are the round trips on its critical path: a request
// is one round trip deeper than the deepest answer the page had received
// when it went out. The timed openings talk to the simulator directly.
#include "PageTour.h"
#include "SnmpTestClient.h"
#include "VrMessageBox.h"
#include "VrSNMPSession.h"
#include "VrSNMPTarget.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cstdio>
#include <deque>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

sockaddr_in loopback(uint16_t port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

uint16_t portOf(int fd)
{
    sockaddr_in a{};
    socklen_t len = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len);
    return ntohs(a.sin_port);
}

int freePort()
{
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a = loopback(0);
    bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a);
    const int port = portOf(fd);
    close(fd);
    return port;
}

// Forwards datagrams between one client and the agent, counting the
// client's requests and the round trips on the longest chain of requests
// that each waited for an answer. The simulator answers in the order it was
// asked, so the n-th answer belongs to the n-th request, and goes back to the
// socket that sent it (each request of a page has its own session).
class Relay
{
public:
    explicit Relay(uint16_t agentPort)
    {
        m_front = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in front = loopback(0);
        bind(m_front, reinterpret_cast<sockaddr *>(&front), sizeof front);
        m_back = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in agent = loopback(agentPort);
        connect(m_back, reinterpret_cast<sockaddr *>(&agent), sizeof agent);
        m_thread = std::thread([this] { run(); });
    }
    ~Relay()
    {
        m_stop = true;
        m_thread.join();
        close(m_front);
        close(m_back);
    }
    uint16_t port() const { return portOf(m_front); }
    int requests() const { return m_requests; }
    int roundTrips() const { return m_deepest; }

private:
    void run()
    {
        std::vector<char> buffer(65536);
        pollfd fds[2] = {{m_front, POLLIN, 0}, {m_back, POLLIN, 0}};
        while (!m_stop) {
            if (poll(fds, 2, 50) <= 0)
                continue;
            if (fds[0].revents & POLLIN) {
                sockaddr_in client{};
                socklen_t clientLen = sizeof client;
                const ssize_t n = recvfrom(m_front, buffer.data(), buffer.size(), 0,
                                           reinterpret_cast<sockaddr *>(&client), &clientLen);
                if (n > 0) {
                    ++m_requests;
                    m_out.push_back({m_answered + 1, client});
                    m_deepest = std::max<int>(m_deepest, m_answered + 1);
                    send(m_back, buffer.data(), size_t(n), 0);
                }
            }
            if (fds[1].revents & POLLIN) {
                const ssize_t n = recv(m_back, buffer.data(), buffer.size(), 0);
                if (n > 0) {
                    if (m_out.empty())
                        continue;
                    const Pending asked = m_out.front();
                    m_out.pop_front();
                    m_answered = std::max(m_answered, asked.depth);
                    sendto(m_front, buffer.data(), size_t(n), 0, reinterpret_cast<const sockaddr *>(&asked.client),
                           sizeof asked.client);
                }
            }
        }
    }

    int m_front = -1;
    int m_back = -1;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_requests{0};
    std::atomic<int> m_deepest{0};
    struct Pending {
        int depth;
        sockaddr_in client;
    };
    std::deque<Pending> m_out; // each request not yet answered
    int m_answered = 0;    // depth of the deepest answer passed on
    std::thread m_thread;
};

// Median round trip of a get of sysDescr through Net-SNMP's synchronous API.
double roundTripMicros(int port, int samples)
{
    netsnmp_session setup;
    snmp_sess_init(&setup);
    const QByteArray peer = QStringLiteral("udp:127.0.0.1:%1").arg(port).toLatin1();
    setup.peername = const_cast<char *>(peer.constData());
    setup.version = SNMP_VERSION_2c;
    static char community[] = "hollow";
    setup.community = reinterpret_cast<u_char *>(community);
    setup.community_len = sizeof community - 1;
    void *session = snmp_sess_open(&setup);
    if (!session)
        return -1;
    oid name[] = {1, 3, 6, 1, 2, 1, 1, 1, 0};
    std::vector<double> times;
    for (int i = 0; i < samples; ++i) {
        netsnmp_pdu *pdu = snmp_pdu_create(SNMP_MSG_GET);
        snmp_add_null_var(pdu, name, OID_LENGTH(name));
        netsnmp_pdu *answer = nullptr;
        QElapsedTimer clock;
        clock.start();
        const int status = snmp_sess_synch_response(session, pdu, &answer);
        const double micros = double(clock.nsecsElapsed()) / 1000.0;
        if (answer)
            snmp_free_pdu(answer);
        if (status == STAT_SUCCESS)
            times.push_back(micros);
    }
    snmp_sess_close(session);
    if (times.empty())
        return -1;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

bool agentAnswers(int port)
{
    return roundTripMicros(port, 1) >= 0;
}

double openMillis(const PageMenuEntry &entry, QWidget *owner)
{
    return qrt::test::VisitPage(entry, owner, [](qrt::test::PageVisit &) {}).openMs;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QString apsim = QStringLiteral(QRT_APSIM_EXECUTABLE);
    int repeats = 5;
    int delayMs = 0;
    QString only;
    const QStringList args = QApplication::arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--apsim"))
            apsim = args[i + 1];
        else if (args[i] == QLatin1String("--repeats"))
            repeats = std::max(1, args[i + 1].toInt());
        else if (args[i] == QLatin1String("--page"))
            only = args[i + 1];
        else if (args[i] == QLatin1String("--delay-ms"))
            delayMs = std::max(0, args[i + 1].toInt());
    }

    QTemporaryDir bootsDir;
    OpenSession(bootsDir.path());

    const int port = freePort();
    QProcess device;
    device.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    device.start(apsim, {QStringLiteral("--listen"), QStringLiteral("127.0.0.1:%1").arg(port),
                         QStringLiteral("--delay-ms"), QString::number(delayMs)});
    bool up = false;
    for (int i = 0; i < 100 && !up; ++i) {
        up = agentAnswers(port);
        if (!up)
            QThread::msleep(50);
    }
    if (!up) {
        std::fprintf(stderr, "page_open: the simulator did not answer\n");
        return 1;
    }
    auto admin = qrt::test::SnmpTestClient::community("127.0.0.1:" + std::to_string(port), "granite");

    g_SNMPDevice.address = QStringLiteral("127.0.0.1");
    g_SNMPSecurity.version = VrSNMPv2c;
    const double rtt = roundTripMicros(port, delayMs > 0 ? 20 : 200);
    const double budget = 4 * rtt / 1000.0 + 50.0;
    std::printf("BENCH apsim_round_trip %.1f us delay=%d ms\n", rtt, delayMs);
    VrMessageBoxRecorder boxes; // messages are answered, not shown
    QWidget owner;
    bool within = true;
    for (const bool routerPages : {false, true}) {
        if (!admin.setInt(qrt::test::ApModeOid, routerPages ? qrt::test::RouterMode : qrt::test::AccessPointMode).ok()) {
            std::fprintf(stderr, "page_open: the device did not take its operation mode\n");
            return 1;
        }
        for (const PageMenuEntry &entry : PageMenu()) {
            if (!entry.open || qrt::test::IsRouterPage(entry) != routerPages
                || (!only.isEmpty() && only != QLatin1String(entry.page)))
                continue;
            int exchanges = 0;
            int roundTrips = 0;
            {
                Relay relay{uint16_t(port)};
                g_SNMPDevice.port = relay.port();
                openMillis(entry, &owner);
                exchanges = relay.requests();
                roundTrips = relay.roundTrips();
            }
            g_SNMPDevice.port = uint16_t(port);
            openMillis(entry, &owner); // the first opening also builds the widgets' caches
            std::vector<double> opens;
            for (int i = 0; i < repeats; ++i)
                opens.push_back(openMillis(entry, &owner));
            std::sort(opens.begin(), opens.end());
            const double open = opens[opens.size() / 2];
            within = within && open < budget;
            std::printf("BENCH page_open_%s %.2f ms ratio=%.3f vs 4_round_trips+50ms round_trips=%d exchanges=%d\n",
                        entry.page, open, open / budget, roundTrips, exchanges);
            std::fflush(stdout);
        }
    }
    admin.setInt(qrt::test::ApModeOid, qrt::test::AccessPointMode);

    device.terminate();
    device.waitForFinished(5000);
    return within ? 0 : 2;
}
