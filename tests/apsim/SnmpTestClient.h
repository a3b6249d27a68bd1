#pragma once
// A small synchronous SNMP client on Net-SNMP's library, for tests that talk
// to the simulated access point (or any agent) without the module's engine.
#include <memory>
#include <string>

namespace qrt::test {

struct SnmpAnswer {
    int status = -1;        // error status of the response; -1 when none came
    int type = 0;           // ASN type of the first varbind (exceptions included)
    long number = 0;        // INTEGER, TimeTicks
    std::string bytes;      // OCTET STRING, IpAddress (4 bytes), OID (dotted)
    std::string oid;        // the varbind's OID (what get-next reached)
    bool ok() const;        // an answer without error, holding a value
};

class SnmpTestClient
{
public:
    // version: 0 for SNMPv1, 1 for SNMPv2c.
    static SnmpTestClient community(const std::string &address, const std::string &community, long version = 1);
    // auth none/MD5/SHA, priv none/DES/AES.
    static SnmpTestClient user(const std::string &address, const std::string &name, const std::string &auth,
                               const std::string &authPass, const std::string &priv, const std::string &privPass);
    ~SnmpTestClient();
    SnmpTestClient(SnmpTestClient &&) noexcept;
    SnmpTestClient &operator=(SnmpTestClient &&) = delete;

    void setTimeoutMs(long ms, int retries = 0);

    SnmpAnswer get(const std::string &oid);
    SnmpAnswer getNext(const std::string &oid);
    SnmpAnswer setInt(const std::string &oid, long value);
    SnmpAnswer setBytes(const std::string &oid, const std::string &bytes);
    SnmpAnswer setIp(const std::string &oid, const std::string &dotted);
    // Sets with an explicit ASN type and raw value bytes (wrong-type tests).
    SnmpAnswer setTyped(const std::string &oid, unsigned char asnType, const std::string &raw);

private:
    struct Session;
    explicit SnmpTestClient(std::unique_ptr<Session> session);
    SnmpAnswer exchange(int command, const std::string &oid, unsigned char type, const std::string &raw);
    std::unique_ptr<Session> m_session;
};

// Text of a MAC address as 6 raw bytes, from 12 hex digits.
std::string macBytes(const std::string &hex);

} // namespace qrt::test
