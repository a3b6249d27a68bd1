#include "TftpClient.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstring>

namespace apsim {

namespace {

enum Opcode : uint16_t { Rrq = 1, Wrq = 2, Data = 3, Ack = 4, Error = 5 };
constexpr size_t BlockSize = 512;

uint16_t be16(const std::string &p, size_t at)
{
    return static_cast<uint16_t>((static_cast<unsigned char>(p[at]) << 8) | static_cast<unsigned char>(p[at + 1]));
}

std::string packet(uint16_t op, uint16_t number, const std::string &tail = {})
{
    std::string p;
    p += static_cast<char>(op >> 8);
    p += static_cast<char>(op & 0xff);
    p += static_cast<char>(number >> 8);
    p += static_cast<char>(number & 0xff);
    return p + tail;
}

std::string request(uint16_t op, const std::string &file)
{
    std::string p;
    p += static_cast<char>(0);
    p += static_cast<char>(op);
    return p + file + '\0' + "octet" + '\0';
}

// One transfer: a socket, the server's transfer port once known, and the
// last packet sent, which a time-out sends again.
class Session
{
public:
    Session(const std::string &server, const std::string &source, int port, int timeoutMs, int tries,
            std::string &error)
        : m_timeoutMs(timeoutMs), m_tries(tries), m_error(error)
    {
        m_peer.sin_family = AF_INET;
        m_peer.sin_port = htons(static_cast<uint16_t>(port));
        m_ok = inet_pton(AF_INET, server.c_str(), &m_peer.sin_addr) == 1;
        if (!m_ok) {
            error = "bad TFTP server address " + server;
            return;
        }
        m_fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        m_ok = m_fd >= 0;
        if (!m_ok) {
            error = "cannot open a UDP socket";
            return;
        }
        if (!source.empty()) {
            sockaddr_in local{};
            local.sin_family = AF_INET;
            m_ok = inet_pton(AF_INET, source.c_str(), &local.sin_addr) == 1
                   && bind(m_fd, reinterpret_cast<const sockaddr *>(&local), sizeof local) == 0;
            if (!m_ok)
                error = "cannot send from " + source;
        }
    }
    ~Session()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    bool ok() const { return m_ok; }

    void send(const std::string &p)
    {
        m_last = p;
        sendto(m_fd, p.data(), p.size(), 0, reinterpret_cast<const sockaddr *>(&m_peer), sizeof m_peer);
    }

    // Waits for a packet of the transfer accepted by want(); resends the last
    // packet on each time-out. False (with the error set) when the tries run
    // out or the server reports an error.
    template <typename Want> bool receive(std::string &p, Want want)
    {
        for (int attempt = 1; attempt <= m_tries; ++attempt) {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_timeoutMs);
            while (true) {
                const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                      deadline - std::chrono::steady_clock::now()).count();
                if (left <= 0)
                    break;
                pollfd pfd{m_fd, POLLIN, 0};
                if (poll(&pfd, 1, static_cast<int>(left)) <= 0)
                    continue;
                char buf[BlockSize + 4];
                sockaddr_in from{};
                socklen_t len = sizeof from;
                const ssize_t n = recvfrom(m_fd, buf, sizeof buf, 0, reinterpret_cast<sockaddr *>(&from), &len);
                if (n < 4 || from.sin_addr.s_addr != m_peer.sin_addr.s_addr)
                    continue;
                if (m_bound && from.sin_port != m_peer.sin_port)
                    continue; // another transfer's packet
                p.assign(buf, static_cast<size_t>(n));
                if (be16(p, 0) == Error) {
                    m_error = "TFTP server error: " + std::string(p.c_str() + 4, strnlen(p.c_str() + 4, p.size() - 4));
                    return false;
                }
                if (!want(p))
                    continue;
                if (!m_bound) {
                    m_peer.sin_port = from.sin_port; // the server's transfer port
                    m_bound = true;
                }
                return true;
            }
            if (attempt < m_tries)
                sendto(m_fd, m_last.data(), m_last.size(), 0, reinterpret_cast<const sockaddr *>(&m_peer), sizeof m_peer);
        }
        m_error = "TFTP server does not answer";
        return false;
    }

private:
    int m_fd = -1;
    sockaddr_in m_peer{};
    bool m_bound = false;
    bool m_ok = false;
    int m_timeoutMs;
    int m_tries;
    std::string m_last;
    std::string &m_error;
};

} // namespace

TftpClient::TftpClient(std::string server, int port, int timeoutMs, std::string source, int tries)
    : m_server(std::move(server)), m_source(std::move(source)), m_port(port), m_timeoutMs(timeoutMs), m_tries(tries)
{
}

bool TftpClient::get(const std::string &file, std::string &data, std::string &error)
{
    Session s(m_server, m_source, m_port, m_timeoutMs, m_tries, error);
    if (!s.ok())
        return false;
    data.clear();
    uint16_t expected = 1;
    s.send(request(Rrq, file));
    std::string p;
    while (true) {
        const bool got = s.receive(p, [&](const std::string &q) {
            if (be16(q, 0) != Data)
                return false;
            if (be16(q, 2) == static_cast<uint16_t>(expected - 1) && expected > 1)
                s.send(packet(Ack, static_cast<uint16_t>(expected - 1))); // our ACK was lost
            return be16(q, 2) == expected;
        });
        if (!got)
            return false;
        data.append(p, 4, std::string::npos);
        s.send(packet(Ack, expected));
        if (p.size() - 4 < BlockSize)
            return true;
        ++expected;
    }
}

bool TftpClient::put(const std::string &file, const std::string &data, std::string &error)
{
    Session s(m_server, m_source, m_port, m_timeoutMs, m_tries, error);
    if (!s.ok())
        return false;
    s.send(request(Wrq, file));
    std::string p;
    uint16_t block = 0; // the block the server must acknowledge next
    size_t offset = 0;
    bool lastSent = false;
    while (true) {
        if (!s.receive(p, [&](const std::string &q) { return be16(q, 0) == Ack && be16(q, 2) == block; }))
            return false;
        if (lastSent)
            return true;
        const std::string chunk = data.substr(std::min(offset, data.size()), BlockSize);
        offset += BlockSize;
        lastSent = chunk.size() < BlockSize; // a full last block is followed by an empty one
        ++block;
        s.send(packet(Data, block, chunk));
    }
}

} // namespace apsim
