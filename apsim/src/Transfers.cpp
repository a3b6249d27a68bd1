// File transfers: the device is the TFTP client. Images, certificates, keys
// and configurations are fetched; configuration backups and the log are stored.
#include "AccessPoint.h"
#include "TftpClient.h"

#include <chrono>
#include <future>

namespace apsim {

namespace {

enum TftpCommand { Get = 2, Put = 3 };
enum Upgrade { Firmware = 1, Configuration = 3, Reboot = 4, Certificate = 7, Key = 8 };

// Dotted version numbers compared arc by arc: "1.10" is newer than "1.9".
bool older(const std::string &a, const std::string &b)
{
    const auto arcsA = parseOid(a), arcsB = parseOid(b);
    return arcsA && arcsB && *arcsA < *arcsB;
}

} // namespace

// A transfer runs on its own thread. The command's set waits for it a
// moment, so that a quick transfer answers with its outcome (genErr when it
// failed); a longer one is answered at once and finished from the agent's
// loop, which keeps answering other requests meanwhile.
int AccessPoint::runTransfer(std::function<TransferOutcome()> work, TransferFinish finish)
{
    // One transfer at a time, as on the device: a command that comes while
    // one runs waits for it.
    finishTransfer();
    std::future<TransferOutcome> running = std::async(std::launch::async, std::move(work));
    if (running.wait_for(std::chrono::milliseconds(250)) == std::future_status::ready)
        return finish(running.get());
    m_transfer = std::move(running);
    m_transferFinish = std::move(finish);
    return NoError;
}

void AccessPoint::finishTransfer()
{
    if (m_transfer.valid()) {
        m_transfer.wait();
        pollTransfers();
    }
}

void AccessPoint::pollTransfers()
{
    if (!m_transfer.valid() || m_transfer.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return;
    const TransferOutcome outcome = m_transfer.get();
    const TransferFinish finish = std::move(m_transferFinish);
    m_transferFinish = nullptr;
    finish(outcome);
}

void AccessPoint::registerTransfers()
{
    for (const char *name : {"tftpServerIPAddress", "tftpRemoteFileName", "systemLogTFTPServerIPAddress",
                             "systemLogFileName"})
        m_device.keepOutOfConfiguration(name);
    m_device.setAction("tftpcommand", [this](const Value &v, int) {
        if (v.number != Get && v.number != Put)
            return int(NoError);
        const std::string server = serverAddress("tftpServerIPAddress");
        const int port = m_settings.tftpPort, timeoutMs = m_settings.tftpTimeoutMs;
        const std::string source = m_settings.transferSource;
        const std::string file = m_device.value("tftpRemoteFileName").bytes;
        const bool get = v.number == Get;
        const std::string data = get ? std::string() : m_device.exportText(false);
        if (get)
            m_fetchedName.clear();
        return runTransfer(
            [=] {
                TransferOutcome out;
                TftpClient client(server, port, timeoutMs, source);
                out.ok = get ? client.get(file, out.data, out.error) : client.put(file, data, out.error);
                return out;
            },
            [this, file, get](const TransferOutcome &out) {
                if (!out.ok) {
                    addLog("SYSTEM", "TFTP transfer of " + file + " failed: " + out.error);
                    return int(GenErr);
                }
                if (get) {
                    m_fetched = out.data;
                    m_fetchedName = file;
                }
                return int(NoError);
            });
    });
    m_device.setAction("tftpUpgradeSettingCommand", [this](const Value &v, int) {
        // The file fetched just before counts even when the agent has not yet
        // looked at the finished transfer.
        finishTransfer();
        switch (v.number) {
        case Firmware:
            return upgradeFirmware();
        case Configuration:
            return restoreConfiguration();
        case Reboot:
            m_restartRequested = true;
            return int(NoError);
        case Certificate:
        case Key:
            if (m_fetchedName.empty())
                return int(InconsistentValue);
            addLog("SYSTEM", (v.number == Certificate ? "Certificate " : "Key ") + m_fetchedName + " installed");
            return int(NoError);
        default:
            return int(NoError);
        }
    });
    m_device.setAction("systemLogGetLog", [this](const Value &v, int) {
        if (v.number != 1)
            return int(NoError);
        std::string file = m_device.value("systemLogFileName").bytes;
        if (file.empty())
            file = "LogFile.RD";
        const std::string server = serverAddress("systemLogTFTPServerIPAddress");
        const int port = m_settings.tftpPort, timeoutMs = m_settings.tftpTimeoutMs;
        const std::string source = m_settings.transferSource;
        const std::string log = logText();
        return runTransfer(
            [=] {
                TransferOutcome out;
                out.ok = TftpClient(server, port, timeoutMs, source).put(file, log, out.error);
                return out;
            },
            [](const TransferOutcome &out) { return out.ok ? int(NoError) : int(GenErr); });
    });
}

// An image starts with "QRT5150-FW <version>"; one older than the running
// firmware is overdue and refused with the device's own status.
int AccessPoint::upgradeFirmware()
{
    const std::string header = "QRT5150-FW ";
    if (m_fetchedName.empty() || m_fetched.rfind(header, 0) != 0)
        return InconsistentValue;
    const auto end = m_fetched.find_first_of(" \r\n", header.size());
    const std::string version = m_fetched.substr(header.size(), end - header.size());
    const std::string running = m_device.value("deviceInformationFirmwareVersion").bytes;
    if (version.empty() || !parseOid(version))
        return InconsistentValue;
    if (older(version, running)) {
        addLog("SYSTEM", "Firmware " + version + " refused: older than " + running);
        return OverdueFirmware;
    }
    m_device.setValue("deviceInformationFirmwareVersion", Value{0, version});
    addLog("SYSTEM", "Firmware updated to " + version);
    m_firmwareRestartAt = Clock::now() + std::chrono::seconds(2);
    return NoError;
}

int AccessPoint::restoreConfiguration()
{
    const std::string server = serverAddress("tftpServerIPAddress");
    const int port = m_settings.tftpPort, timeoutMs = m_settings.tftpTimeoutMs;
        const std::string source = m_settings.transferSource;
    const std::string file = m_device.value("tftpRemoteFileName").bytes;
    return runTransfer(
        [=] {
            TransferOutcome out;
            out.ok = TftpClient(server, port, timeoutMs, source).get(file, out.data, out.error);
            return out;
        },
        [this, file](const TransferOutcome &out) {
            if (!out.ok) {
                addLog("SYSTEM", "Configuration " + file + " not fetched: " + out.error);
                return int(GenErr);
            }
            std::string error;
            if (!m_device.importText(out.data, false, error)) {
                addLog("SYSTEM", "Configuration " + file + " refused: " + error);
                return int(InconsistentValue);
            }
            addLog("SYSTEM", "Configuration " + file + " restored");
            return int(NoError);
        });
}

} // namespace apsim
