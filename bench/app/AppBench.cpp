// The application shell against the simulated access point:
//  - start-up of qrt5150 to its first answered status poll, next to a bare Qt
//    window that shows and quits, best of a few runs each, taken in turns;
//  - resident memory of the main window after start-up and after opening and
//    closing the information pages a hundred times through its menu.
// The module (this process and the timed ones) runs on one CPU, the simulator
// on the other.

#include "ApsimProcess.h"
#include "ProcStatus.h"
#include "StatusLamp.h"
#include "TMainForm.h"
#include "VrSNMPSession.h"
#include "VrWaitGuard.h"
#include "VrSNMPRequest2Controls.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kStartRuns = 5;
constexpr int kPageRounds = 100;
const QStringList kModuleArguments = {QStringLiteral("/I127.0.0.1"), QStringLiteral("/Rhollow"),
                                      QStringLiteral("/Wgranite")};

bool pin(int cpu)
{
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(cpu, &set);
    return sched_setaffinity(0, sizeof set, &set) == 0;
}

// The host's registry file and the device's file, pointing the module at the
// simulator; also the module's runtime folder (its lock) and working folder.
bool writeHostFiles(const QTemporaryDir &dir, int agentPort)
{
    QFile registry(dir.filePath(QStringLiteral("registry.ini")));
    QFile device(dir.filePath(QStringLiteral("127.0.0.1.cfg")));
    if (!registry.open(QIODevice::WriteOnly) || !device.open(QIODevice::WriteOnly))
        return false;
    registry.write("[SOFTWARE\\Varnell\\Netvane5.1\\MibFile]\nPath=" + dir.path().toUtf8() + "/\n");
    device.write("[Program Information]\nAgentPort=" + QByteArray::number(agentPort)
                 + "\nVersion=1\nSecurityModel=1\nSecurityLevel=0\nAuthProtocol=0\nPrivProtocol=0\n");
    qputenv("QRT5150_REGISTRY", registry.fileName().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", dir.path().toLocal8Bit());
    return true;
}

// Wall time from starting the program to its end, in milliseconds; negative
// when it did not end cleanly.
double timedRun(const QString &program, const QStringList &arguments, const QString &workingDirectory)
{
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingDirectory);
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    process.start();
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return -1;
    return double(clock.nsecsElapsed()) / 1e6;
}

bool loadsDone(const QWidget *page)
{
    const auto bindings = page->findChildren<VrSNMPRequest2Controls *>();
    return std::none_of(bindings.begin(), bindings.end(), [](const VrSNMPRequest2Controls *b) { return b->Busy(); });
}

// Opens a page through the main window's menu, as a user would, and closes it
// once its reads are done.
bool openAndClose(TMainForm &form, const char *action)
{
    auto *entry = form.findChild<QAction *>(QString::fromLatin1(action));
    if (entry == nullptr)
        return false;
    bool opened = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QDialog *page = VrWaitGuard::TopPage();
        if (page != nullptr && loadsDone(page)) {
            opened = true;
            page->reject();
        }
    });
    closer.start(0);
    entry->trigger();
    return opened;
}

} // namespace

int main(int argc, char **argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int cpus = int(sysconf(_SC_NPROCESSORS_ONLN));
    const int moduleCpu = 0;
    const int agentCpu = cpus > 1 ? 1 : 0;

    // The simulator inherits the CPU this process is on when it starts it.
    qrt::test::ApsimProcess agent;
    std::string why;
    if (!pin(agentCpu) || !agent.start({}, &why) || !pin(moduleCpu)) {
        std::fprintf(stderr, "the simulator did not start on cpu%d: %s\n", agentCpu, why.c_str());
        return 1;
    }
    std::printf("BENCH placement module=cpu%d agent=cpu%d bare_window=cpu%d\n", moduleCpu, agentCpu, moduleCpu);

    QApplication app(argc, argv);
    QTemporaryDir host;
    if (!host.isValid() || !writeHostFiles(host, agent.port())) {
        std::fprintf(stderr, "cannot write the host's files\n");
        return 1;
    }

    // Best of a few runs of the module and the bare window, taken in turns,
    // each going first in every other run.
    const auto bestOf = [&](const QString &folder, double &ours, double &peer) {
        ours = peer = 1e300;
        for (int run = 0; run < kStartRuns; ++run) {
            for (int turn = 0; turn < 2; ++turn) {
                const bool module = (run + turn) % 2 == 0;
                const double ms = module ? timedRun(QStringLiteral(QRT_MODULE_EXECUTABLE), kModuleArguments, folder)
                                         : timedRun(QStringLiteral(QRT_BARE_WINDOW_EXECUTABLE), {}, folder);
                if (ms < 0) {
                    std::fprintf(stderr, "%s did not end cleanly\n", module ? "qrt5150" : "bare_window");
                    return false;
                }
                double &best = module ? ours : peer;
                best = std::min(best, ms);
            }
        }
        return true;
    };
    double ours = 0, peer = 0;

    // A device that does not answer must not keep the window away.
    QTemporaryDir silentHost;
    if (!silentHost.isValid() || !writeHostFiles(silentHost, qrt::test::freeUdpPort()))
        return 1;
    qputenv("QRT5150_EXIT_AFTER_SHOWN", "1");
    if (!bestOf(silentHost.path(), ours, peer))
        return 1;
    qunsetenv("QRT5150_EXIT_AFTER_SHOWN");
    std::printf("BENCH app_startup_window_silent_device %.1f ms ratio=%.2f vs bare_qt_window (best of %d)\n", ours,
                ours / peer, kStartRuns);

    if (!writeHostFiles(host, agent.port()))
        return 1;
    qputenv("QRT5150_EXIT_AFTER_FIRST_POLL", "1");
    if (!bestOf(host.path(), ours, peer))
        return 1;
    qunsetenv("QRT5150_EXIT_AFTER_FIRST_POLL");
    std::printf("BENCH app_startup_first_poll %.1f ms ratio=%.2f vs bare_qt_window (best of %d)\n", ours,
                ours / peer, kStartRuns);
    std::printf("BENCH app_startup_first_poll_peer %.1f ms\n", peer);
    // The floor of any window that shows text: fontconfig's start-up, which
    // the bare window never pays.
    double textPeer = 1e300;
    for (int run = 0; run < kStartRuns; ++run)
        textPeer = std::min(textPeer, timedRun(QStringLiteral(QRT_BARE_WINDOW_EXECUTABLE),
                                               {QStringLiteral("--text")}, host.path()));
    std::printf("BENCH app_startup_first_poll_vs_text_window %.1f ms ratio=%.2f vs bare_qt_window_with_menu_text\n",
                ours, ours / textPeer);
    // What the module adds to any SNMP client with a window: the same text
    // window that also starts Net-SNMP (with its OpenSSL) and reads the
    // simulator once.
    double snmpPeer = 1e300;
    for (int run = 0; run < kStartRuns; ++run) {
        const double ms = timedRun(QStringLiteral(QRT_BARE_WINDOW_EXECUTABLE),
                                   {QStringLiteral("--text"), QStringLiteral("--snmp"), QString::number(agent.port())},
                                   host.path());
        if (ms < 0) {
            std::fprintf(stderr, "bare_window --snmp did not read the simulator\n");
            return 1;
        }
        snmpPeer = std::min(snmpPeer, ms);
    }
    std::printf("BENCH app_startup_first_poll_vs_snmp_window %.1f ms ratio=%.2f vs "
                "bare_qt_window_with_menu_text_and_one_snmp_get (%.1f ms)\n",
                ours, ours / snmpPeer, snmpPeer);

    // Where the module's own start-up time goes, measured in this process
    // (whose Qt is already up): the SNMP library, the main window, the
    // start-up proper (host paths, switches, lock, showing, first request),
    // and the device's first answer.
    QDir::setCurrent(host.path()); // the module's working folder holds its SNMPv3 boots counter
    QElapsedTimer phase;
    phase.start();
    OpenSession(QString());
    std::printf("BENCH app_startup_phase_snmp_init %.2f ms\n", double(phase.nsecsElapsed()) / 1e6);
    phase.restart();
    TMainForm form;
    std::printf("BENCH app_startup_phase_main_window %.2f ms\n", double(phase.nsecsElapsed()) / 1e6);
    phase.restart();
    if (!form.Start(kModuleArguments))
        return 1;
    std::printf("BENCH app_startup_phase_start %.2f ms\n", double(phase.nsecsElapsed()) / 1e6);
    phase.restart();
    if (!QTest::qWaitFor([&] { return form.lamp(DevicePicture::Power)->isLit(); }, 30000)) {
        std::fprintf(stderr, "the device did not answer the status poll\n");
        return 1;
    }
    std::printf("BENCH app_startup_phase_first_answer %.2f ms\n", double(phase.nsecsElapsed()) / 1e6);
    const long start = bench::ResidentKilobytes(false);
    long afterFirst = start;
    std::printf("BENCH app_rss_start %ld kB\n", start);
    for (int round = 0; round < kPageRounds; ++round) {
        if (!openAndClose(form, "act_TFM_Information") || !openAndClose(form, "act_TFM_DevInfo")) {
            std::fprintf(stderr, "a page did not open\n");
            return 1;
        }
        // Separates what the pages' first opening costs once from any growth per opening.
        if (round == 0) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            afterFirst = bench::ResidentKilobytes(false);
            std::printf("BENCH app_rss_after_first_pages %ld kB\n", afterFirst);
        }
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const long after = bench::ResidentKilobytes(false);
    std::printf("BENCH app_rss_after_100_pages %ld kB\n", after);
    std::printf("BENCH app_rss_growth %ld kB\n", after - start);
    std::printf("BENCH app_rss_growth_after_first_round %ld kB\n", after - afterFirst);
    return 0;
}
