#include "Options.h"

#include "Text.h"
#include "Value.h"

#include <charconv>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>

namespace apsim {

std::string helpText()
{
    return R"(Usage: qrt5150-apsim [options]
Simulated QRT-5150 access point: an SNMP agent (v1, v2c, v3 USM) serving the
device's objects, with a TFTP client for firmware, certificates, configuration
and log transfers.

  --listen HOST:PORT        UDP address to answer on (default 127.0.0.1:16100)
  --read-community NAME     community for reads (default hollow)
  --write-community NAME    community for reads and writes (default granite)
  --user NAME:AUTH:AUTHPASS:PRIV:PRIVPASS
                            add an SNMPv3 user (repeatable); AUTH none, MD5,
                            SHA, SHA-224, SHA-256, SHA-384 or SHA-512; PRIV none,
                            DES, AES (or AES-128), AES-192 or AES-256; passwords
                            at least 8 characters; the security level follows
  --engine-id HEX           the SNMPv3 engine ID, 5 to 32 octets as hex digits
                            (default: the one in the state file, else a new one)
  --state FILE              load the settings from FILE at start and save them
                            there after every accepted set; it also keeps the
                            engine ID and the engine boots (counted up at every
                            start and restart)
  --seed N                  seed of the simulated survey and client data (default 1)
  --stations N              stations and neighbours a survey finds, 0..128 (default 5)
  --odd-rows                the client and WDS tables carry values a careless
                            device sends (see the README)
  --reboot-seconds N        how long a restart keeps the agent silent (default 5)
  --lan ADDRESS[/PREFIX]    the device's LAN address (default: the listen
                            address, prefix 8 on 127.x, else 24)
  --tftp-port N             UDP port of the TFTP servers the device uses (default 69)
  --tftp-timeout-ms N       TFTP retransmission time-out (default 1000; 4 tries)
  --delay-ms N              every answer leaves N ms after its request (default 0)
  --drop FRACTION           fraction 0..1 of requests dropped unanswered (default 0)
  --fail OID=STATUS         answer STATUS (1..255) to any request for OID (repeatable)
  --mute-file FILE          answer nothing while FILE exists
  --restart-after-sets N    restart (as deviceRestart does) right after answering
                            the Nth accepted set request
  --traffic-rate FACTOR     pace of the traffic counters and the stations'
                            signals, 0..1000 (default 1; 0 holds them still)
  --wrap-after SECONDS      the counters start that many seconds of traffic
                            short of the 32-bit wrap (until their first clear)
  -v, --verbose             log each request (operation, OID, status) to stderr
  -h, --help                show this text

Signals: SIGINT and SIGTERM end the agent; SIGUSR1 stops answering and SIGUSR2
answers again. A firmware image is overdue (set answers status 19) when its
version is older than the running firmware; an image starts with the line
"QRT5150-FW <version>".
)";
}

namespace {

bool toInt(const std::string &text, long min, long max, long &out)
{
    long v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || v < min || v > max)
        return false;
    out = v;
    return true;
}

bool parseUser(const std::string &text, UserOption &user, std::string &error)
{
    const auto f = split(text, ':');
    if (f.size() != 5) {
        error = "--user needs NAME:AUTH:AUTHPASS:PRIV:PRIVPASS";
        return false;
    }
    user = {f[0], f[1], f[2], f[3], f[4]};
    if (user.name.empty()) {
        error = "--user: empty user name";
        return false;
    }
    static const std::set<std::string> auths{"none", "MD5", "SHA", "SHA-224", "SHA-256", "SHA-384", "SHA-512"};
    static const std::set<std::string> privs{"none", "DES", "AES", "AES-128", "AES-192", "AES-256"};
    if (!auths.count(user.auth)) {
        error = "--user " + user.name + ": AUTH must be none, MD5, SHA, SHA-224, SHA-256, SHA-384 or SHA-512";
        return false;
    }
    if (!privs.count(user.priv)) {
        error = "--user " + user.name + ": PRIV must be none, DES, AES (AES-128), AES-192 or AES-256";
        return false;
    }
    if (user.priv == "AES-128")
        user.priv = "AES"; // Net-SNMP's name for it
    if (user.auth == "none" && user.priv != "none") {
        error = "--user " + user.name + ": privacy needs authentication";
        return false;
    }
    if ((user.auth != "none" && user.authPass.size() < 8) || (user.priv != "none" && user.privPass.size() < 8)) {
        error = "--user " + user.name + ": passwords need at least 8 characters";
        return false;
    }
    if ((user.name + user.authPass + user.privPass).find_first_of("\" \t") != std::string::npos) {
        error = "--user " + user.name + ": names and passwords cannot hold blanks or double quotes";
        return false;
    }
    return true;
}

} // namespace

ParseResult parseOptions(int argc, char **argv, Options &o, std::string &error)
{
    long n = 0;
    using Handler = std::function<bool(const std::string &)>;
    const auto number = [&](const char *name, long min, long max, auto assign) -> Handler {
        return [&error, &n, name, min, max, assign](const std::string &v) {
            if (!toInt(v, min, max, n)) {
                error = std::string(name) + " needs a number from " + std::to_string(min) + " to " + std::to_string(max);
                return false;
            }
            assign(n);
            return true;
        };
    };
    const auto community = [&error](const char *name, std::string &field) -> Handler {
        return [&error, &field, name](const std::string &v) {
            if (v.empty())
                error = std::string(name) + " needs a non-empty community";
            field = v;
            return !v.empty();
        };
    };
    const std::map<std::string, Handler> valued{
        {"--listen", [&](const std::string &v) {
             const auto colon = v.rfind(':');
             if (colon == std::string::npos || colon == 0 || !toInt(v.substr(colon + 1), 0, 65535, n)) {
                 error = "--listen needs HOST:PORT";
                 return false;
             }
             o.listenHost = v.substr(0, colon);
             o.listenPort = static_cast<int>(n);
             return true;
         }},
        {"--engine-id", [&](const std::string &v) {
             const auto id = bytesFromHex(v);
             if (!id || id->size() < 5 || id->size() > 32) {
                 error = "--engine-id needs 5 to 32 octets as hex digits";
                 return false;
             }
             o.engineId = *id;
             return true;
         }},
        {"--read-community", community("--read-community", o.readCommunity)},
        {"--write-community", community("--write-community", o.writeCommunity)},
        {"--user", [&](const std::string &v) {
             UserOption user;
             if (!parseUser(v, user, error))
                 return false;
             o.users.push_back(user);
             return true;
         }},
        {"--state", [&](const std::string &v) { o.statePath = v; return true; }},
        {"--seed", number("--seed", 0, 0xffffffffL, [&](long v) { o.seed = static_cast<unsigned>(v); })},
        {"--stations", number("--stations", 0, 128, [&](long v) { o.stations = static_cast<int>(v); })},
        {"--reboot-seconds", number("--reboot-seconds", 0, 3600, [&](long v) { o.rebootSeconds = static_cast<int>(v); })},
        {"--tftp-port", number("--tftp-port", 1, 65535, [&](long v) { o.tftpPort = static_cast<int>(v); })},
        {"--tftp-timeout-ms", number("--tftp-timeout-ms", 10, 60000, [&](long v) { o.tftpTimeoutMs = static_cast<int>(v); })},
        {"--delay-ms", number("--delay-ms", 0, 60000, [&](long v) { o.delayMs = static_cast<int>(v); })},
        {"--drop", [&](const std::string &v) {
             char *end = nullptr;
             const double d = std::strtod(v.c_str(), &end);
             if (v.empty() || *end || !(d >= 0.0 && d <= 1.0)) {
                 error = "--drop needs a fraction from 0 to 1";
                 return false;
             }
             o.drop = d;
             return true;
         }},
        {"--fail", [&](const std::string &v) {
             const auto eq = v.find('=');
             const auto oid = parseOid(v.substr(0, eq));
             if (eq == std::string::npos || !oid || !toInt(v.substr(eq + 1), 1, 255, n)) {
                 error = "--fail needs OID=STATUS with a numeric OID and a status from 1 to 255";
                 return false;
             }
             o.fails.push_back({*oid, static_cast<int>(n)});
             return true;
         }},
        {"--lan", [&](const std::string &v) {
             const auto slash = v.find('/');
             o.lanAddress = v.substr(0, slash);
             const auto arcs = parseOid(o.lanAddress);
             bool ok = arcs && arcs->size() == 4;
             for (size_t i = 0; ok && i < 4; ++i)
                 ok = (*arcs)[i] <= 255;
             if (ok && slash != std::string::npos) {
                 ok = toInt(v.substr(slash + 1), 1, 32, n);
                 o.lanPrefix = static_cast<int>(n);
             }
             if (!ok)
                 error = "--lan needs ADDRESS[/PREFIX], for example 192.168.0.50/24";
             return ok;
         }},
        {"--mute-file", [&](const std::string &v) { o.muteFile = v; return true; }},
        {"--restart-after-sets", number("--restart-after-sets", 0, 1000000, [&](long v) { o.restartAfterSets = static_cast<int>(v); })},
        {"--traffic-rate", [&](const std::string &v) {
             char *end = nullptr;
             const double rate = std::strtod(v.c_str(), &end);
             if (v.empty() || *end != '\0' || !(rate >= 0 && rate <= 1000)) {
                 error = "--traffic-rate needs a factor from 0 to 1000";
                 return false;
             }
             o.trafficRate = rate;
             return true;
         }},
        {"--wrap-after", number("--wrap-after", 0, 86400, [&](long v) { o.wrapAfterSeconds = static_cast<int>(v); })},
    };
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "-h" || arg == "--help")
            return ParseResult::Help;
        if (arg == "--odd-rows") {
            o.oddRows = true;
            continue;
        }
        if (arg == "-v" || arg == "--verbose") {
            o.verbose = true;
            continue;
        }
        std::string value;
        bool hasValue = false;
        if (const auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
            hasValue = true;
        }
        const auto it = valued.find(arg);
        if (it == valued.end()) {
            error = "unknown option " + arg + " (see --help)";
            return ParseResult::Error;
        }
        if (!hasValue) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return ParseResult::Error;
            }
            value = argv[++i];
        }
        if (!it->second(value))
            return ParseResult::Error;
    }
    return ParseResult::Run;
}

} // namespace apsim
