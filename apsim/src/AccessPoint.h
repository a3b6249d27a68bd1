#pragma once
// The simulated device behind the object store: what its triggers, commands
// and transfers do, its counters, clock and log, restarts and the state file.
#include "Device.h"
#include "Traffic.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <future>
#include <optional>
#include <string>
#include <vector>

namespace apsim {

struct DeviceSettings {
    unsigned seed = 1;
    int stations = 5;
    bool oddRows = false; // client and WDS rows with values out of range
    std::string lanAddress = "192.168.0.50";
    int lanPrefix = 24;
    int tftpPort = 69;
    int tftpTimeoutMs = 1000;
    // Where the device's TFTP transfers come from, as on a device with its own
    // address; empty: the system chooses.
    std::string transferSource;
    std::string statePath; // empty: nothing is saved
    double trafficRate = 1.0; // pace of the traffic and the signals; 0 holds them still
    int wrapAfterSeconds = -1; // >= 0: counters wrap 2^32 that long after the start
};

class AccessPoint
{
public:
    using Clock = std::chrono::steady_clock;

    AccessPoint(Inventory inventory, DeviceSettings settings);
    // The device's actions refer to this object: it stays where it was made.
    AccessPoint(const AccessPoint &) = delete;
    AccessPoint &operator=(const AccessPoint &) = delete;

    Device &device() { return m_device; }
    const Device &device() const { return m_device; }

    // The SNMP engine's identity, kept in the state file: its ID (octets;
    // empty until known) and its boots, counted up at every start and restart.
    struct Engine {
        std::string id;
        long boots = 0;
    };
    Engine &engine() { return m_engine; }

    // Loads the state file when there is one; false with the error if it is unreadable.
    bool loadState(std::string &error);
    // Saves the state file after an accepted set; false with the error on failure.
    bool saveState(std::string &error) const;

    // A command asked for a restart; the agent keeps silent for its window
    // and then calls restart().
    bool takeRestartRequest();
    // Finishes a TFTP transfer that outlived the answer to its command.
    void pollTransfers();
    // Waits for a transfer still running and takes its outcome.
    void finishTransfer();
    void restart();

    void addLog(const std::string &type, const std::string &message);
    std::string logText() const;

private:
    void setLan(const std::string &address, int prefix);
    void registerClockAndCounters();
    void registerSurveys();
    void registerTableCommands();
    void registerDeviceCommands();
    void registerTransfers();
    void registerMultiSsid();
    void registerRouter();
    void registerServices();
    static Inventory withRouterMode(Inventory inventory);
    void primarySsidRow();
    void fillSurvey(const std::string &column, unsigned salt);
    void spoilStationRows(const std::string &column);
    void moveSignals(const std::string &column);
    void fillPortList();
    int upgradeFirmware();
    int restoreConfiguration();
    std::string serverAddress(const std::string &name) const;

    Device m_device;
    DeviceSettings m_settings;
    Traffic m_traffic{m_settings.seed, m_settings.trafficRate};
    Engine m_engine;
    Clock::time_point m_boot = Clock::now();
    Clock::time_point m_dot3Cleared = Clock::now();
    Clock::time_point m_dot11Cleared = Clock::now();
    bool m_dot3ClearedOnce = false;
    bool m_dot11ClearedOnce = false;
    long m_clockOffset = 0; // seconds the device clock runs ahead of the host's
    bool m_restartRequested = false;
    // A new firmware restarts the device by itself unless a restart command
    // comes first (the firmware page sends one right after the update).
    std::optional<Clock::time_point> m_firmwareRestartAt;
    std::vector<std::string> m_log;
    std::string m_fetchedName, m_fetched; // the last file a TFTP get brought
    // A transfer runs beside the agent, so that it keeps answering meanwhile.
    struct TransferOutcome {
        bool ok = false;
        std::string data, error;
    };
    using TransferFinish = std::function<int(const TransferOutcome &)>;
    int runTransfer(std::function<TransferOutcome()> work, TransferFinish finish);
    std::future<TransferOutcome> m_transfer;
    TransferFinish m_transferFinish;
};

} // namespace apsim
