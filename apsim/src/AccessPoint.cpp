#include "AccessPoint.h"

#include <algorithm>
#include <iterator>
#include <cctype>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>

namespace apsim {

namespace {

Value number(long n) { return Value{n, {}}; }
Value text(std::string s) { return Value{0, std::move(s)}; }

Value address(uint32_t a)
{
    std::string b;
    for (int shift = 24; shift >= 0; shift -= 8)
        b += static_cast<char>((a >> shift) & 0xff);
    return text(b);
}

std::string clockText(std::time_t t, const char *format)
{
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[64];
    std::strftime(buf, sizeof buf, format, &tm);
    return buf;
}

} // namespace

AccessPoint::AccessPoint(Inventory inventory, DeviceSettings settings)
    : m_device(withRouterMode(std::move(inventory))), m_settings(std::move(settings))
{
    m_device.keepInState("deviceInformationFirmwareVersion");
    // The country is fixed at the factory; a state file may set it so that
    // the regional rules of the pages can be tried.
    m_device.keepInState("dot11Countrycode");
    setLan(m_settings.lanAddress, m_settings.lanPrefix);
    registerClockAndCounters();
    registerSurveys();
    registerTableCommands();
    registerDeviceCommands();
    registerTransfers();
    registerMultiSsid();
    registerRouter();
    registerServices();
    // A device's log as it comes: boot lines from the kernel with neither time
    // nor type, then the device's own lines, not all of them well formed.
    m_log.push_back("Kernel command line: console=ttyS0,115200 root=/dev/mtdblock2");
    m_log.push_back("eth0: link up, 100Mbps, full-duplex");
    addLog("SYSTEM", "System started");
    addLog("WIRELESS", "Radio ready on channel " + std::to_string(m_device.value("dot11Channel").number));
    const std::string now = clockText(std::time(nullptr) + m_clockOffset, "%m/%d/%Y %H:%M:%S");
    m_log.push_back(now + "|br0: port 2(ath0) entering forwarding state");
    m_log.push_back(now + "|[NOTICE DHCP server listening on br0");
}

void AccessPoint::setLan(const std::string &dotted, int prefix)
{
    const auto ip = valueFromText(Syntax::IpAddress, dotted);
    const uint32_t mask = prefix <= 0 ? 0 : ~uint32_t{0} << (32 - prefix);
    m_device.setValue("ipInformationIp", ip.value_or(zeroValue(Syntax::IpAddress)));
    m_device.setValue("ipInformationMask", address(mask));
    m_device.setValue("ipInformationGateway", zeroValue(Syntax::IpAddress));
}

// Values that change by themselves (uptime, counters, the clock, the load)
// and the writes that reset them.
void AccessPoint::registerClockAndCounters()
{
    const auto elapsed = [](Clock::time_point since) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count();
    };
    m_device.setDynamic("systemUpTime", [this, elapsed] { return number(elapsed(m_boot) / 10 % 0x100000000L); });
    // Traffic counters grow at a steady rate per counter from the last clear.
    struct Counter { const char *name; long perSecond; bool dot3; };
    static const Counter counters[] = {
        {"dot3TransmittedPacketCount", 120, true}, {"dot3TransmittedBytesCount", 96000, true},
        {"dot3TransmittedDroppedPacketCount", 1, true}, {"dot3ReceivedPacketCount", 150, true},
        {"dot3ReceivedBytesCount", 110000, true}, {"dot3ReceivedDroppedPacketCount", 1, true},
        {"dot11TransmittedPacketCount", 90, false}, {"dot11TransmittedBytesCount", 70000, false},
        {"dot11TransmittedDroppedPacketCount", 2, false}, {"dot11TransmittedRetryCount", 5, false},
        {"dot11ReceivedPacketCount", 80, false}, {"dot11ReceivedBytesCount", 60000, false},
        {"dot11ReceivedDroppedPacketCount", 1, false}, {"dot11ReceivedCRCCount", 3, false},
        {"dot11ReceivedDecryptionErrorCount", 1, false}, {"dot11ReceivedMICErrorCount", 1, false},
        {"dot11ReceivedPHYErrorCount", 2, false}};
    // Before the first clear the byte counters carry the traffic of a device
    // up for a while, past 2^31 (or, with wrapAfterSeconds, every counter is
    // that far short of 2^32); a cleared counter stays at zero for a second.
    // The device keeps 32-bit counters and sends them as INTEGER, so large
    // ones arrive negative, as from the real device.
    for (int k = 0; k < int(std::size(counters)); ++k) {
        const Counter &c = counters[k];
        const bool bytes = std::string(c.name).find("Bytes") != std::string::npos;
        const double start = m_settings.wrapAfterSeconds >= 0
            ? 4294967296.0 - m_traffic.total(k, double(c.perSecond), m_settings.wrapAfterSeconds)
            : bytes ? 3000000000.0 + m_settings.seed * 1000.0 : 0.0;
        m_device.setDynamic(c.name, [this, c, k, start, elapsed] {
            const bool cleared = c.dot3 ? m_dot3ClearedOnce : m_dot11ClearedOnce;
            const double seconds = double(elapsed(c.dot3 ? m_dot3Cleared : m_dot11Cleared)) / 1000.0;
            const double total = cleared ? m_traffic.total(k, double(c.perSecond), seconds - 1.0)
                                         : start + m_traffic.total(k, double(c.perSecond), seconds);
            return number(static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(std::floor(total)))));
        });
    }
    m_device.setDynamic("deviceInformationCpuUtilization", [this, elapsed] { return number(5 + elapsed(m_boot) / 1000 % 11); });
    m_device.setDynamic("deviceInformationMemoryUtilization", [] { return number(42); });
    m_device.setDynamic("dot11Frequency", [this] { return text(m_device.value("dot11Band").number ? "5" : "2.4"); });
    m_device.setDynamic("dataBaseChannel", [this] {
        const long channel = m_device.value("dot11Channel").number;
        return number(channel ? channel : (m_device.value("dot11Band").number ? 36 : 6));
    });
    m_device.setDynamic("ifIpAddress", [this] { return m_device.value("ipInformationIp"); });
    m_device.setDynamic("ifSubnetMask", [this] { return m_device.value("ipInformationMask"); });
    m_device.setDynamic("ifDefaultGateway", [this] { return m_device.value("ipInformationGateway"); });
    m_device.setDynamic("sntpTimeofDay", [this] {
        return text(clockText(std::time(nullptr) + m_clockOffset, "%m/%d/%Y %H:%M:%S"));
    });
    // Only "mm/dd/yyyy hh:mm:ss" with every field present and a real date.
    m_device.setAction("setTimeManually", [this](const Value &v, int) {
        const std::string &t = v.bytes;
        static const char shape[] = "00/00/0000 00:00:00";
        if (t.size() != sizeof shape - 1)
            return int(WrongValue);
        for (size_t i = 0; i < t.size(); ++i) {
            const bool digit = shape[i] == '0';
            if (digit ? !std::isdigit(static_cast<unsigned char>(t[i])) : t[i] != shape[i])
                return int(WrongValue);
        }
        const auto field = [&t](size_t at, size_t n) { return std::stoi(t.substr(at, n)); };
        std::tm tm{};
        tm.tm_mon = field(0, 2) - 1;
        tm.tm_mday = field(3, 2);
        tm.tm_year = field(6, 4) - 1900;
        tm.tm_hour = field(11, 2);
        tm.tm_min = field(14, 2);
        tm.tm_sec = field(17, 2);
        tm.tm_isdst = -1;
        const std::tm asked = tm;
        const std::time_t when = std::mktime(&tm);
        // mktime moves 02/30 to March: such a date does not exist.
        if (when == -1 || tm.tm_mon != asked.tm_mon || tm.tm_mday != asked.tm_mday || asked.tm_hour > 23
            || asked.tm_min > 59 || asked.tm_sec > 59)
            return int(WrongValue);
        m_clockOffset = static_cast<long>(when - std::time(nullptr));
        return int(NoError);
    });
    m_device.setAction("dot3Clear", [this](const Value &v, int) {
        if (v.number == 1) {
            m_dot3Cleared = Clock::now();
            m_dot3ClearedOnce = true;
        }
        return int(NoError);
    });
    m_device.setAction("dot11TrafficStatisticsClear", [this](const Value &v, int) {
        if (v.number == 1) {
            m_dot11Cleared = Clock::now();
            m_dot11ClearedOnce = true;
        }
        return int(NoError);
    });
}

namespace {

// snmpEngineID and snmpEngineBoots, in the state file's OID=value form.
const char EngineIdKey[] = "1.3.6.1.6.3.10.2.1.1.0=";
const char EngineBootsKey[] = "1.3.6.1.6.3.10.2.1.2.0=";

} // namespace

bool AccessPoint::loadState(std::string &error)
{
    if (m_settings.statePath.empty())
        return true;
    std::ifstream in(m_settings.statePath, std::ios::binary);
    if (!in)
        return true; // a first start: the state file appears with the first set
    // The engine's lines are the state file's own; the rest is the device's.
    std::string settings, line;
    while (std::getline(in, line)) {
        if (line.rfind(EngineIdKey, 0) == 0) {
            const auto id = bytesFromHex(std::string_view(line).substr(std::strlen(EngineIdKey)));
            if (!id) {
                error = m_settings.statePath + ": bad engine ID";
                return false;
            }
            m_engine.id = *id;
        } else if (line.rfind(EngineBootsKey, 0) == 0) {
            m_engine.boots = std::strtol(line.c_str() + std::strlen(EngineBootsKey), nullptr, 10);
        } else {
            settings += line + "\n";
        }
    }
    if (!m_device.importText(settings, true, error)) {
        error = m_settings.statePath + ": " + error;
        return false;
    }
    return true;
}

bool AccessPoint::saveState(std::string &error) const
{
    if (m_settings.statePath.empty())
        return true;
    // Write aside and rename, so that a crash never leaves half a state file.
    const std::string temp = m_settings.statePath + ".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << m_device.exportText(true) << EngineIdKey << hexFromBytes(m_engine.id) << "\n"
            << EngineBootsKey << m_engine.boots << "\n";
        if (!out.flush()) {
            error = "cannot write " + temp;
            return false;
        }
    }
    if (std::rename(temp.c_str(), m_settings.statePath.c_str()) != 0) {
        error = "cannot replace " + m_settings.statePath;
        return false;
    }
    return true;
}

bool AccessPoint::takeRestartRequest()
{
    const bool requested = m_restartRequested || (m_firmwareRestartAt && Clock::now() >= *m_firmwareRestartAt);
    m_restartRequested = false;
    if (requested)
        m_firmwareRestartAt.reset();
    return requested;
}

void AccessPoint::restart()
{
    m_boot = m_dot3Cleared = m_dot11Cleared = Clock::now();
    m_device.clearSurveys();
    addLog("SYSTEM", "System restarted");
}

void AccessPoint::addLog(const std::string &type, const std::string &message)
{
    m_log.push_back(clockText(std::time(nullptr) + m_clockOffset, "%m/%d/%Y %H:%M:%S") + "|[" + type + "]" + message);
}

std::string AccessPoint::logText() const
{
    std::string out;
    for (const std::string &line : m_log)
        out += line + "\r\n";
    return out;
}

std::string AccessPoint::serverAddress(const std::string &name) const
{
    return valueToText(Syntax::IpAddress, m_device.value(name));
}

} // namespace apsim
