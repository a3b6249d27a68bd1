#pragma once
// A blocking TFTP client (RFC 1350, octet mode, 512-byte blocks): the device
// fetches images and configurations and stores backups and its log with it.
#include <string>

namespace apsim {

class TftpClient
{
public:
    // server: dotted IPv4 address; timeoutMs: wait before a retransmission;
    // source: the local address to send from (empty: any); tries: sends of
    // one packet before giving up.
    TftpClient(std::string server, int port, int timeoutMs, std::string source = {}, int tries = 4);

    bool get(const std::string &file, std::string &data, std::string &error);
    bool put(const std::string &file, const std::string &data, std::string &error);

private:
    std::string m_server;
    std::string m_source;
    int m_port;
    int m_timeoutMs;
    int m_tries;
};

} // namespace apsim
