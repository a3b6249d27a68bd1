// File transfers: the device is the TFTP client. Images, certificates, keys
// and configurations are fetched; configuration backups and the log are stored.
#include "AccessPoint.h"
#include "TftpClient.h"

#include <sstream>

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

void AccessPoint::registerTransfers()
{
    m_device.setAction("tftpcommand", [this](const Value &v, int) {
        TftpClient client(serverAddress("tftpServerIPAddress"), m_settings.tftpPort, m_settings.tftpTimeoutMs);
        const std::string file = m_device.value("tftpRemoteFileName").bytes;
        std::string error;
        bool ok = true;
        if (v.number == Get) {
            ok = client.get(file, m_fetched, error);
            m_fetchedName = ok ? file : std::string();
        } else if (v.number == Put) {
            ok = client.put(file, m_device.exportText(false), error);
        }
        if (!ok) {
            addLog("SYSTEM", "TFTP transfer of " + file + " failed: " + error);
            return int(GenErr);
        }
        return int(NoError);
    });
    m_device.setAction("tftpUpgradeSettingCommand", [this](const Value &v, int) {
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
        TftpClient client(serverAddress("systemLogTFTPServerIPAddress"), m_settings.tftpPort, m_settings.tftpTimeoutMs);
        std::string error;
        return client.put(file, logText(), error) ? int(NoError) : int(GenErr);
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
    TftpClient client(serverAddress("tftpServerIPAddress"), m_settings.tftpPort, m_settings.tftpTimeoutMs);
    const std::string file = m_device.value("tftpRemoteFileName").bytes;
    std::string text, error;
    if (!client.get(file, text, error)) {
        addLog("SYSTEM", "Configuration " + file + " not fetched: " + error);
        return GenErr;
    }
    if (!m_device.importText(text, false, error)) {
        addLog("SYSTEM", "Configuration " + file + " refused: " + error);
        return InconsistentValue;
    }
    addLog("SYSTEM", "Configuration " + file + " restored");
    return NoError;
}

} // namespace apsim
