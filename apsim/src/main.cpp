// qrt5150-apsim: a simulated QRT-5150 access point for tests and demos.
#include "Agent.h"
#include "EmbeddedData.h"

#include <csignal>
#include <cstdio>
#include <stdexcept>

namespace {

volatile std::sig_atomic_t stopRequested = 0;
volatile std::sig_atomic_t muted = 0;

void onStop(int) { stopRequested = 1; }
void onMute(int) { muted = 1; }
void onUnmute(int) { muted = 0; }

} // namespace

int main(int argc, char **argv)
{
    using namespace apsim;
    Options options;
    std::string error;
    switch (parseOptions(argc, argv, options, error)) {
    case ParseResult::Help:
        std::fputs(helpText().c_str(), stdout);
        return 0;
    case ParseResult::Error:
        std::fprintf(stderr, "qrt5150-apsim: %s\n", error.c_str());
        return 2;
    case ParseResult::Run:
        break;
    }

    DeviceSettings settings;
    settings.seed = options.seed;
    settings.stations = options.stations;
    settings.oddRows = options.oddRows;
    settings.lanAddress = options.lanAddress.empty() ? options.listenHost : options.lanAddress;
    // The module looks for its own interface on the device's network: a
    // loopback device gets the loopback network's mask.
    settings.lanPrefix = options.lanPrefix > 0 ? options.lanPrefix : settings.lanAddress.rfind("127.", 0) == 0 ? 8 : 24;
    if (!valueFromText(Syntax::IpAddress, settings.lanAddress)) {
        std::fprintf(stderr, "qrt5150-apsim: the LAN address must be an IPv4 address; use --lan\n");
        return 2;
    }
    settings.tftpPort = options.tftpPort;
    settings.tftpTimeoutMs = options.tftpTimeoutMs;
    if (options.listenHost != "0.0.0.0")
        settings.transferSource = options.listenHost;
    settings.statePath = options.statePath;
    settings.trafficRate = options.trafficRate;
    settings.wrapAfterSeconds = options.wrapAfterSeconds;

    try {
        AccessPoint ap(loadInventory(embeddedInventory, embeddedDeviceData), settings);
        if (!ap.loadState(error)) {
            std::fprintf(stderr, "qrt5150-apsim: %s\n", error.c_str());
            return 1;
        }
        Agent agent(ap, options);
        if (!agent.start(error)) {
            std::fprintf(stderr, "qrt5150-apsim: %s\n", error.c_str());
            return 1;
        }
        std::signal(SIGINT, onStop);
        std::signal(SIGTERM, onStop);
        std::signal(SIGUSR1, onMute);
        std::signal(SIGUSR2, onUnmute);
        std::fprintf(stderr, "qrt5150-apsim: listening on %s:%d\n", options.listenHost.c_str(), options.listenPort);
        agent.run(stopRequested, muted);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "qrt5150-apsim: %s\n", e.what());
        return 1;
    }
    return 0;
}
