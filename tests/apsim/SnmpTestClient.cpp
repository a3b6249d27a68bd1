#include "SnmpTestClient.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <arpa/inet.h>

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace qrt::test {

namespace {

void initLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] {
        setenv("MIBS", "", 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
        netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
        init_snmp("qrt-apsim-tests");
    });
}

// Numeric OIDs only: the tests load no MIB files.
std::vector<oid> parse(const std::string &text)
{
    std::vector<oid> arcs;
    const char *p = text.c_str();
    while (*p) {
        if (*p == '.')
            ++p;
        char *end = nullptr;
        arcs.push_back(std::strtoul(p, &end, 10));
        if (end == p)
            throw std::invalid_argument("bad OID " + text);
        p = end;
    }
    return arcs;
}

} // namespace

bool SnmpAnswer::ok() const
{
    return status == 0 && type != SNMP_NOSUCHOBJECT && type != SNMP_NOSUCHINSTANCE && type != SNMP_ENDOFMIBVIEW;
}

struct SnmpTestClient::Session {
    void *handle = nullptr;
    ~Session()
    {
        if (handle)
            snmp_sess_close(handle);
    }
};

SnmpTestClient::SnmpTestClient(std::unique_ptr<Session> session) : m_session(std::move(session)) {}
SnmpTestClient::~SnmpTestClient() = default;
SnmpTestClient::SnmpTestClient(SnmpTestClient &&) noexcept = default;

SnmpTestClient SnmpTestClient::community(const std::string &address, const std::string &community, long version)
{
    initLibrary();
    netsnmp_session s;
    snmp_sess_init(&s);
    s.peername = const_cast<char *>(address.c_str());
    s.version = version;
    s.community = reinterpret_cast<u_char *>(const_cast<char *>(community.c_str()));
    s.community_len = community.size();
    s.timeout = 1000000;
    s.retries = 1;
    auto session = std::make_unique<Session>();
    session->handle = snmp_sess_open(&s);
    if (!session->handle)
        throw std::runtime_error("cannot open an SNMP session to " + address);
    return SnmpTestClient(std::move(session));
}

SnmpTestClient SnmpTestClient::user(const std::string &address, const std::string &name, const std::string &auth,
                                    const std::string &authPass, const std::string &priv, const std::string &privPass)
{
    initLibrary();
    netsnmp_session s;
    snmp_sess_init(&s);
    s.peername = const_cast<char *>(address.c_str());
    s.version = SNMP_VERSION_3;
    s.securityName = const_cast<char *>(name.c_str());
    s.securityNameLen = name.size();
    s.securityModel = USM_SEC_MODEL_NUMBER;
    s.securityLevel = auth == "none" ? SNMP_SEC_LEVEL_NOAUTH
                      : priv == "none" ? SNMP_SEC_LEVEL_AUTHNOPRIV : SNMP_SEC_LEVEL_AUTHPRIV;
    s.timeout = 1000000;
    s.retries = 1;
    if (auth != "none") {
        s.securityAuthProto = const_cast<oid *>(auth == "MD5" ? usmHMACMD5AuthProtocol : usmHMACSHA1AuthProtocol);
        s.securityAuthProtoLen = USM_AUTH_PROTO_MD5_LEN;
        s.securityAuthKeyLen = USM_AUTH_KU_LEN;
        generate_Ku(s.securityAuthProto, static_cast<u_int>(s.securityAuthProtoLen),
                    reinterpret_cast<const u_char *>(authPass.data()), authPass.size(), s.securityAuthKey,
                    &s.securityAuthKeyLen);
    }
    if (priv != "none") {
        s.securityPrivProto = const_cast<oid *>(priv == "DES" ? usmDESPrivProtocol : usmAESPrivProtocol);
        s.securityPrivProtoLen = USM_PRIV_PROTO_DES_LEN;
        s.securityPrivKeyLen = USM_PRIV_KU_LEN;
        generate_Ku(s.securityAuthProto, static_cast<u_int>(s.securityAuthProtoLen),
                    reinterpret_cast<const u_char *>(privPass.data()), privPass.size(), s.securityPrivKey,
                    &s.securityPrivKeyLen);
    }
    auto session = std::make_unique<Session>();
    session->handle = snmp_sess_open(&s);
    if (!session->handle)
        throw std::runtime_error("cannot open an SNMPv3 session to " + address);
    return SnmpTestClient(std::move(session));
}

void SnmpTestClient::setTimeoutMs(long ms, int retries)
{
    netsnmp_session *s = snmp_sess_session(m_session->handle);
    s->timeout = ms * 1000;
    s->retries = retries;
}

SnmpAnswer SnmpTestClient::exchange(int command, const std::string &oidText, unsigned char type, const std::string &raw)
{
    netsnmp_pdu *pdu = snmp_pdu_create(command);
    const auto arcs = parse(oidText);
    if (command == SNMP_MSG_SET)
        snmp_pdu_add_variable(pdu, arcs.data(), arcs.size(), type, raw.data(), raw.size());
    else
        snmp_add_null_var(pdu, arcs.data(), arcs.size());
    netsnmp_pdu *response = nullptr;
    SnmpAnswer answer;
    if (snmp_sess_synch_response(m_session->handle, pdu, &response) == STAT_SUCCESS && response) {
        answer.status = static_cast<int>(response->errstat);
        if (const netsnmp_variable_list *vb = response->variables) {
            answer.type = vb->type;
            std::string name;
            for (size_t i = 0; i < vb->name_length; ++i)
                name += (i ? "." : "") + std::to_string(vb->name[i]);
            answer.oid = name;
            if (vb->type == ASN_INTEGER || vb->type == ASN_TIMETICKS || vb->type == ASN_COUNTER)
                answer.number = *vb->val.integer;
            else if (vb->type == ASN_OBJECT_ID) {
                std::string o;
                for (size_t i = 0; i < vb->val_len / sizeof(oid); ++i)
                    o += (i ? "." : "") + std::to_string(vb->val.objid[i]);
                answer.bytes = o;
            } else if (vb->val.string)
                answer.bytes.assign(reinterpret_cast<const char *>(vb->val.string), vb->val_len);
        }
    }
    if (response)
        snmp_free_pdu(response);
    return answer;
}

SnmpAnswer SnmpTestClient::get(const std::string &oid) { return exchange(SNMP_MSG_GET, oid, 0, {}); }
SnmpAnswer SnmpTestClient::getNext(const std::string &oid) { return exchange(SNMP_MSG_GETNEXT, oid, 0, {}); }

SnmpAnswer SnmpTestClient::setInt(const std::string &oid, long value)
{
    return exchange(SNMP_MSG_SET, oid, ASN_INTEGER, std::string(reinterpret_cast<const char *>(&value), sizeof value));
}

SnmpAnswer SnmpTestClient::setBytes(const std::string &oid, const std::string &bytes)
{
    return exchange(SNMP_MSG_SET, oid, ASN_OCTET_STR, bytes);
}

SnmpAnswer SnmpTestClient::setIp(const std::string &oid, const std::string &dotted)
{
    in_addr a{};
    inet_pton(AF_INET, dotted.c_str(), &a);
    return exchange(SNMP_MSG_SET, oid, ASN_IPADDRESS, std::string(reinterpret_cast<const char *>(&a), 4));
}

SnmpAnswer SnmpTestClient::setTyped(const std::string &oid, unsigned char asnType, const std::string &raw)
{
    return exchange(SNMP_MSG_SET, oid, asnType, raw);
}

std::string macBytes(const std::string &hex)
{
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

} // namespace qrt::test
