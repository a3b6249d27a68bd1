#pragma once
// Command-line options of qrt5150-apsim.
#include "Oid.h"

#include <string>
#include <vector>

namespace apsim {

struct UserOption {
    std::string name, auth, authPass, priv, privPass; // Net-SNMP's protocol names (SHA-256, AES-256 ...)
};

struct FailOption {
    Oid oid;
    int status = 0;
};

struct Options {
    std::string listenHost = "127.0.0.1";
    int listenPort = 16100;
    std::string readCommunity = "hollow";
    std::string writeCommunity = "granite";
    std::vector<UserOption> users;
    std::string engineId; // octets; empty: from the state file, else a new one
    std::string statePath;
    unsigned seed = 1;
    int stations = 5;
    bool oddRows = false;
    int rebootSeconds = 5;
    int tftpPort = 69;
    int tftpTimeoutMs = 1000;
    int delayMs = 0;
    double drop = 0.0;
    std::vector<FailOption> fails;
    std::string lanAddress;   // empty: the listen address
    int lanPrefix = -1;       // -1: follows the address
    std::string muteFile;
    int restartAfterSets = 0; // 0: never; N: restart after the Nth accepted set request
    double trafficRate = 1.0;  // pace of the counters and signals; 0: still
    int wrapAfterSeconds = -1; // >= 0: counters start that many seconds short of 2^32
    bool verbose = false;
};

enum class ParseResult { Run, Help, Error };

ParseResult parseOptions(int argc, char **argv, Options &options, std::string &error);
std::string helpText();

} // namespace apsim
