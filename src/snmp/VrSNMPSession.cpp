#include "VrSNMPSession.h"

#include "SnmpEventProcessor.h"
#include "VrRawText.h"
#include "VrSNMPError.h"
#include "VrSNMPTarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTextStream>
#include <QTimer>

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <arpa/inet.h>
#include <netdb.h>
#include <unistd.h>

#include <cstring>
#include <map>

Q_LOGGING_CATEGORY(lcSnmpSession, "qrt.snmp.session")

namespace {

VrSNMPSession *g_session = nullptr;
const snmp_session *g_closing = nullptr;
bool g_moving = false;

// How long the probe of an agent suspected of a new engine ID may take: a
// second, once; an agent that stays silent is asked again at the next
// suspicion.
constexpr int kCheckTimeout = 100; // hundredths of a second

const char kBootCounterFile[] = "VrSNMP_PP_BootCounter";
const char kLocalEngineId[] = "VrSNMP_PP_Application";

// The agent address as Net-SNMP should dial it, resolved here so that a bad
// name is caught before anything is sent. Empty when it does not resolve.
QString resolve(const QString &address, QString &peerAddress)
{
    const QByteArray host = address.trimmed().toUtf8();
    in6_addr v6;
    if (inet_pton(AF_INET6, host.constData(), &v6) == 1) {
        peerAddress = QString::fromLatin1(host);
        return QStringLiteral("udp6:[%1]").arg(peerAddress);
    }
    in_addr v4;
    if (inet_pton(AF_INET, host.constData(), &v4) == 1) {
        // A dotted quad needs no look-up (which would read the resolver's files).
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &v4, text, sizeof text);
        peerAddress = QString::fromLatin1(text);
        return QStringLiteral("udp:%1").arg(peerAddress);
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo *found = nullptr;
    if (host.isEmpty() || getaddrinfo(host.constData(), nullptr, &hints, &found) != 0 || !found)
        return QString();
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in *>(found->ai_addr)->sin_addr, text, sizeof text);
    freeaddrinfo(found);
    peerAddress = QString::fromLatin1(text);
    return QStringLiteral("udp:%1").arg(peerAddress);
}

int securityLevel(int level)
{
    switch (level) {
    case VrAuthPriv: return SNMP_SEC_LEVEL_AUTHPRIV;
    case VrAuthNoPriv: return SNMP_SEC_LEVEL_AUTHNOPRIV;
    default: return SNMP_SEC_LEVEL_NOAUTH;
    }
}

struct ProtocolOid {
    int number; // SNMP++ numbering, as in VrSNMPTarget.h
    const oid *arcs;
    size_t length;
};

// What this build of Net-SNMP speaks.
const ProtocolOid AuthProtocols[] = {
    {VrAuthNone, usmNoAuthProtocol, OID_LENGTH(usmNoAuthProtocol)},
#ifndef NETSNMP_DISABLE_MD5
    {VrAuthMD5, usmHMACMD5AuthProtocol, OID_LENGTH(usmHMACMD5AuthProtocol)},
#endif
    {VrAuthSHA, usmHMACSHA1AuthProtocol, OID_LENGTH(usmHMACSHA1AuthProtocol)},
#ifdef HAVE_EVP_SHA224
    {VrAuthSHA224, usmHMAC128SHA224AuthProtocol, OID_LENGTH(usmHMAC128SHA224AuthProtocol)},
    {VrAuthSHA256, usmHMAC192SHA256AuthProtocol, OID_LENGTH(usmHMAC192SHA256AuthProtocol)},
#endif
#ifdef HAVE_EVP_SHA384
    {VrAuthSHA384, usmHMAC256SHA384AuthProtocol, OID_LENGTH(usmHMAC256SHA384AuthProtocol)},
    {VrAuthSHA512, usmHMAC384SHA512AuthProtocol, OID_LENGTH(usmHMAC384SHA512AuthProtocol)},
#endif
};

const ProtocolOid PrivProtocols[] = {
    {VrPrivNone, usmNoPrivProtocol, OID_LENGTH(usmNoPrivProtocol)},
#ifndef NETSNMP_DISABLE_DES
    {VrPrivDES, usmDESPrivProtocol, OID_LENGTH(usmDESPrivProtocol)},
#endif
    {VrPrivAES128, usmAESPrivProtocol, OID_LENGTH(usmAESPrivProtocol)},
#ifdef NETSNMP_DRAFT_BLUMENTHAL_AES_04
    // Not the "-C" variants: those lengthen the key another way.
    {VrPrivAES192, usmAES192PrivProtocol, OID_LENGTH(usmAES192PrivProtocol)},
    {VrPrivAES256, usmAES256PrivProtocol, OID_LENGTH(usmAES256PrivProtocol)},
#endif
};

template <size_t N>
const ProtocolOid *findProtocol(const ProtocolOid (&table)[N], int number)
{
    for (const ProtocolOid &p : table)
        if (p.number == number)
            return &p;
    return nullptr;
}

// Pass phrases and keys do not outlive their use in buffers of ours.
void wipe(void *data, size_t size)
{
    explicit_bzero(data, size);
}

void wipe(QByteArray &bytes)
{
    if (!bytes.isEmpty())
        wipe(bytes.data(), size_t(bytes.size()));
    bytes.clear();
}

// The key Net-SNMP localises for the agent: the pass phrase hashed with the
// authentication protocol (for the privacy key too, as RFC 3414 has it).
// Making one takes a million hash rounds and every request opens sessions of
// its own, so each key is made once; the cache is keyed by a digest, so it
// holds no pass phrase.
int makeKey(const ProtocolOid &auth, const QString &passPhrase, u_char *key, size_t &keyLength,
            size_t capacity)
{
    static std::map<QByteArray, QByteArray> made;
    QByteArray phrase = VrBytesFromText(passPhrase);
    // The index is hashed by the crypto library, which clears its working
    // state afterwards (QCryptographicHash leaves the last block of what it
    // hashed in freed memory). SHA-1 is always there; the index only has to
    // tell pass phrases apart.
    const QByteArrayView arcs(reinterpret_cast<const char *>(auth.arcs), qsizetype(auth.length * sizeof(oid)));
    QByteArray material;
    material.reserve(arcs.size() + phrase.size());
    material.append(arcs).append(phrase);
    u_char digest[USM_AUTH_KU_LEN];
    size_t digestLength = sizeof digest;
    const int hashed = sc_hash(usmHMACSHA1AuthProtocol, OID_LENGTH(usmHMACSHA1AuthProtocol),
                               reinterpret_cast<const u_char *>(material.constData()), size_t(material.size()),
                               digest, &digestLength);
    wipe(material);
    if (hashed != SNMPERR_SUCCESS) {
        wipe(phrase);
        return hashed;
    }
    const QByteArray index(reinterpret_cast<const char *>(digest), qsizetype(digestLength));
    auto known = made.find(index);
    if (known == made.end()) {
        keyLength = capacity;
        const int result = generate_Ku(auth.arcs, u_int(auth.length),
                                       reinterpret_cast<const u_char *>(phrase.constData()),
                                       size_t(phrase.size()), key, &keyLength);
        wipe(phrase);
        if (result != SNMPERR_SUCCESS)
            return result;
        known = made.emplace(index, QByteArray(reinterpret_cast<const char *>(key), qsizetype(keyLength))).first;
    }
    wipe(phrase);
    if (size_t(known->second.size()) > capacity)
        return SNMPERR_GENERR;
    std::memcpy(key, known->second.constData(), size_t(known->second.size()));
    keyLength = size_t(known->second.size());
    return SNMPERR_SUCCESS;
}

// Fills the USM part of a session: protocols in SNMP++ numbering, keys made
// from the pass phrases. Returns an SNMPERR_* number.
int setUpUsm(netsnmp_session &s, const VrSNMPSessionTarget &t, QByteArray &name)
{
    name = VrBytesFromText(t.securityName);
    s.securityModel = SNMP_SEC_MODEL_USM;
    s.securityName = name.data();
    s.securityNameLen = size_t(name.size());
    s.securityLevel = securityLevel(t.securityLevel);

    const ProtocolOid *auth = findProtocol(AuthProtocols, t.authProtocol);
    const ProtocolOid *priv = findProtocol(PrivProtocols, t.privProtocol);
    const ProtocolOid &authUsed = auth ? *auth : AuthProtocols[0];
    const ProtocolOid &privUsed = priv ? *priv : PrivProtocols[0];
    s.securityAuthProto = const_cast<oid *>(authUsed.arcs);
    s.securityAuthProtoLen = authUsed.length;
    s.securityPrivProto = const_cast<oid *>(privUsed.arcs);
    s.securityPrivProtoLen = privUsed.length;
    if (s.securityLevel == SNMP_SEC_LEVEL_NOAUTH)
        return SNMPERR_SUCCESS;
    if (!auth || auth->number == VrAuthNone
        || makeKey(*auth, t.authPassword, s.securityAuthKey, s.securityAuthKeyLen, USM_AUTH_KU_LEN)
            != SNMPERR_SUCCESS)
        return SNMPERR_UNSUPPORTED_SEC_LEVEL;
    if (s.securityLevel != SNMP_SEC_LEVEL_AUTHPRIV)
        return SNMPERR_SUCCESS;
    if (!priv || priv->number == VrPrivNone
        || makeKey(*auth, t.privPassword, s.securityPrivKey, s.securityPrivKeyLen, USM_PRIV_KU_LEN)
            != SNMPERR_SUCCESS)
        return SNMPERR_UNSUPPORTED_SEC_LEVEL;
    return SNMPERR_SUCCESS;
}

// The keys of a session set up here, once Net-SNMP has taken its copy.
void wipeKeys(netsnmp_session &s)
{
    wipe(s.securityAuthKey, sizeof s.securityAuthKey);
    wipe(s.securityPrivKey, sizeof s.securityPrivKey);
}

QString agentKey(const VrSNMPSessionTarget &t)
{
    return t.address.trimmed() + QLatin1Char(':') + QString::number(t.port);
}

// The engine ID an SNMPv3 session was opened with.
QByteArray sessionEngineId(void *handle)
{
    const netsnmp_session *opened = snmp_sess_session(handle);
    return QByteArray(reinterpret_cast<const char *>(opened->securityEngineID), qsizetype(opened->securityEngineIDLen));
}

// The user without name, security or keys that engine-ID discovery sends as.
void ensureDiscoveryUser()
{
    if (usm_get_user(nullptr, 0, const_cast<char *>("")))
        return;
    usmUser *user = usm_create_user();
    user->name = strdup("");
    user->secName = strdup("");
    user->authProtocolLen = OID_LENGTH(usmNoAuthProtocol);
    user->authProtocol = snmp_duplicate_objid(usmNoAuthProtocol, user->authProtocolLen);
    user->privProtocolLen = OID_LENGTH(usmNoPrivProtocol);
    user->privProtocol = snmp_duplicate_objid(usmNoPrivProtocol, user->privProtocolLen);
    usm_add_user(user);
}

QString privateStateFolder()
{
    QString base = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.qrt5150");
    return base + QStringLiteral("/net-snmp");
}

// A user without a writable home (a service account such as "nobody") gets a
// folder of its own under the temporary directory instead, which only it may
// use: one that another user made first, or a link, is not taken.
QString fallbackStateFolder()
{
    const QString base = QDir::tempPath() + QStringLiteral("/qrt5150-%1").arg(::getuid());
    if (!QDir().mkpath(base))
        return QString();
    const QFileInfo info(base);
    if (info.isSymLink() || !info.isDir() || info.ownerId() != ::getuid())
        return QString();
    QFile::setPermissions(base, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return base + QStringLiteral("/net-snmp");
}

} // namespace

bool VrSNMPAuthProtocolSupported(int protocol)
{
    return findProtocol(AuthProtocols, protocol) != nullptr;
}

bool VrSNMPPrivProtocolSupported(int protocol)
{
    return findProtocol(PrivProtocols, protocol) != nullptr;
}

// The boots counter file holds one "<engine ID> <boots>" line per engine.
int VrSNMPSession::AdvanceBootCounter(const QString &directory)
{
    const QString fileName = directory.isEmpty()
        ? QString::fromLatin1(kBootCounterFile)
        : QDir(directory).filePath(QString::fromLatin1(kBootCounterFile));
    QStringList lines;
    int boots = 0;
    QFile file(fileName);
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            throw VrSNMPException(VrErrBootsLoad);
        QTextStream in(&file);
        while (!in.atEnd()) {
            const QString line = in.readLine();
            const QStringList fields = line.simplified().split(QLatin1Char(' '));
            if (fields.value(0) == QLatin1String(kLocalEngineId)) {
                bool ok = false;
                boots = fields.value(1).toInt(&ok);
                if (!ok || fields.size() != 2 || boots < 0)
                    throw VrSNMPException(VrErrBootsLoad);
                continue;
            }
            lines << line;
        }
        if (in.status() != QTextStream::Ok)
            throw VrSNMPException(VrErrBootsLoad);
    }
    ++boots;
    lines << QStringLiteral("%1 %2").arg(QLatin1String(kLocalEngineId)).arg(boots);

    QSaveFile out(fileName);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Text))
        throw VrSNMPException(VrErrBootsSave);
    out.write(lines.join(QLatin1Char('\n')).toUtf8() + '\n');
    if (!out.commit())
        throw VrSNMPException(VrErrBootsSave);
    return boots;
}

namespace {

void initNetSnmp(const QString &stateFolder)
{
    // A user's snmp.conf or MIB set must not change what the module sends,
    // and loading MIBs would only cost start-up time.
    qputenv("MIBS", "");
    qputenv("MIBDIRS", QFile::encodeName(stateFolder));
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_READ_CONFIGS, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
    set_persistent_directory(QFile::encodeName(stateFolder).constData());
    netsnmp_set_mib_directory(QFile::encodeName(stateFolder).constData());
    init_snmp("vrsnmp");
}

} // namespace

VrSNMPSessionTarget::~VrSNMPSessionTarget()
{
    VrSNMPWipePassPhrase(authPassword);
    VrSNMPWipePassPhrase(privPassword);
}

VrSNMPSession *VrSNMPSession::Global()
{
    return g_session;
}

const snmp_session *VrSNMPSession::Closing()
{
    return g_closing;
}

bool VrSNMPSession::MovingExchanges()
{
    return g_moving;
}

VrSNMPSession::Channel *VrSNMPSession::Acquire(const VrSNMPSessionTarget &target, const void *owner,
                                               int timeout, int retries, int &snmpErr)
{
    snmpErr = SNMPERR_SUCCESS;
    for (auto &entry : m_entries) {
        if (entry->target == target && entry->owner == owner && !entry->retired) {
            netsnmp_session *s = snmp_sess_session(entry->channel.handle);
            s->timeout = long(timeout) * 10000L;
            s->retries = retries;
            return &entry->channel;
        }
    }

    auto entry = std::make_unique<Entry>();
    entry->target = target;
    entry->owner = owner;
    const QString peer = resolve(target.address, entry->channel.peerAddress);
    if (peer.isEmpty())
        throw VrSNMPException(VrErrInvalidAddress);
    entry->channel.peerPort = target.port;
    const QByteArray peerName = QStringLiteral("%1:%2").arg(peer).arg(target.port).toUtf8();

    netsnmp_session s;
    snmp_sess_init(&s);
    s.peername = const_cast<char *>(peerName.constData());
    s.timeout = long(timeout) * 10000L;
    s.retries = retries;
    QByteArray securityName;
    QByteArray engineId;
    switch (target.version) {
    case VrSNMPv3:
        s.version = SNMP_VERSION_3;
        if (const auto known = m_engineIds.find(agentKey(target)); known != m_engineIds.end())
            engineId = known->second;
        if (engineId.isEmpty()) {
            snmpErr = SNMPERR_UNKNOWN_ENG_ID; // Discover first
            return nullptr;
        }
        dropStaleUser(target, engineId);
        snmpErr = setUpUsm(s, target, securityName);
        if (snmpErr != SNMPERR_SUCCESS) {
            wipeKeys(s);
            return nullptr;
        }
        // The engine ID is known: Net-SNMP must not probe for it (a blocking
        // exchange), and the user with its localised keys is made here.
        s.flags |= SNMP_FLAGS_DONT_PROBE;
        s.securityEngineID = reinterpret_cast<u_char *>(engineId.data());
        s.securityEngineIDLen = size_t(engineId.size());
        break;
    case VrSNMPv2c:
        s.version = SNMP_VERSION_2c;
        break;
    default:
        s.version = SNMP_VERSION_1;
        break;
    }

    entry->channel.handle = snmp_sess_open(&s);
    wipeKeys(s);
    if (!entry->channel.handle) {
        snmpErr = s.s_snmp_errno ? s.s_snmp_errno : SNMPERR_GENERR;
        qCWarning(lcSnmpSession) << "cannot open a session to" << peerName << "version"
                                 << target.version << ":" << snmp_api_errstring(snmpErr);
        return nullptr;
    }
    if (target.version == VrSNMPv3) {
        // Net-SNMP 5.9 clears the no-probe flag while opening, to probe at
        // the first send instead; it is set again so that it never does.
        netsnmp_session *opened = snmp_sess_session(entry->channel.handle);
        opened->flags |= SNMP_FLAGS_DONT_PROBE;
        const int created = create_user_from_session(opened);
        // The user holds the localised keys now; the session's copy of the
        // unlocalised ones is not needed again.
        wipeKeys(*opened);
        if (created != SNMPERR_SUCCESS) {
            snmpErr = SNMPERR_UNKNOWN_USER_NAME;
            close(entry->channel.handle);
            return nullptr;
        }
    }
    qCDebug(lcSnmpSession) << "opened a session to" << peerName << "version" << target.version;
    SnmpEventProcessor::Global().Watch(entry->channel.handle);
    entry->serial = ++m_opened;
    m_entries.push_back(std::move(entry));
    return &m_entries.back()->channel;
}

// Net-SNMP keeps USM users process-wide and reuses an existing user (with its
// old keys) when a session for the same name and engine opens. A session
// with other pass phrases for the same user at the same agent is therefore
// closed, and unless an open session shares the new pass phrases, the user
// is removed, so that the session about to open makes it with its own keys
// (the sessions of requests gone since may have left it with others).
void VrSNMPSession::dropStaleUser(const VrSNMPSessionTarget &target, const QByteArray &engineId)
{
    bool shared = false;
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        const VrSNMPSessionTarget &old = (*it)->target;
        if (old.version != VrSNMPv3 || old.address != target.address || old.port != target.port
            || old.securityName != target.securityName) {
            ++it;
            continue;
        }
        if (old.authProtocol == target.authProtocol && old.authPassword == target.authPassword
            && old.privProtocol == target.privProtocol && old.privPassword == target.privPassword) {
            shared = true;
            ++it;
            continue;
        }
        std::unique_ptr<Entry> stale = std::move(*it);
        it = m_entries.erase(it);
        close(stale->channel.handle);
    }
    if (shared)
        return;
    QByteArray id = engineId;
    QByteArray name = VrBytesFromText(target.securityName);
    if (usmUser *user = usm_get_user(reinterpret_cast<u_char *>(id.data()), size_t(id.size()), name.data())) {
        usm_remove_user(user); // returns the list's head, not the user
        usm_free_user(user);
    }
}

void VrSNMPSession::Release(const void *owner)
{
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if ((*it)->owner != owner) {
            ++it;
            continue;
        }
        // Taken out of the list first: the callbacks the close runs may open sessions.
        std::unique_ptr<Entry> entry = std::move(*it);
        it = m_entries.erase(it);
        close(entry->channel.handle);
    }
    for (auto it = m_discoveries.begin(); it != m_discoveries.end();) {
        Discovery &d = **it;
        std::erase_if(d.waiters, [owner](const Waiter &w) { return w.owner == owner; });
        if (!d.waiters.empty() || d.check) {
            ++it;
            continue;
        }
        if (d.handle)
            close(d.handle);
        it = m_discoveries.erase(it);
    }
}

// Net-SNMP keeps the user with its keys beyond the session: a session opened
// later for the same name and engine would get them back.
void VrSNMPSession::removeUser(const Entry &entry)
{
    const netsnmp_session *s = snmp_sess_session(entry.channel.handle);
    const QByteArray name = VrBytesFromText(entry.target.securityName);
    if (usmUser *user = usm_get_user(s->securityEngineID, s->securityEngineIDLen, name.data())) {
        usm_remove_user(user); // returns the list's head, not the user
        usm_free_user(user);
    }
}

void VrSNMPSession::close(void *handle, bool moving)
{
    SnmpEventProcessor::Global().Unwatch(handle);
    g_closing = snmp_sess_session(handle);
    g_moving = moving;
    snmp_sess_close(handle);
    g_closing = nullptr;
    g_moving = false;
}

void VrSNMPSession::ForgetEngineId(const VrSNMPSessionTarget &target, const QByteArray &stale,
                                   uint64_t openedUpTo)
{
    const QString agent = agentKey(target);
    if (const auto known = m_engineIds.find(agent); known != m_engineIds.end() && known->second == stale) {
        m_engineIds.erase(known);
        qCInfo(lcSnmpSession) << "no answer from" << agent << "; its engine ID is discovered again";
    }
    // Requests may still be out on the old sessions: those stay with their
    // owners until released, but no exchange goes out on them again.
    for (const auto &entry : m_entries) {
        if (entry->retired || entry->target.version != VrSNMPv3 || agentKey(entry->target) != agent
            || entry->serial > openedUpTo || sessionEngineId(entry->channel.handle) != stale)
            continue;
        removeUser(*entry);
        entry->retired = true;
    }
}

bool VrSNMPSession::NeedsDiscovery(const VrSNMPSessionTarget &target) const
{
    if (target.version != VrSNMPv3)
        return false;
    for (const auto &entry : m_entries)
        if (entry->target == target && !entry->retired)
            return false;
    const auto known = m_engineIds.find(agentKey(target));
    return known == m_engineIds.end() || known->second.isEmpty();
}

// Discovery is the usual probe: an unauthenticated get without variables from
// the user without name, which the agent answers with a report that carries
// its engine ID. Unlike Net-SNMP's own probe it goes out asynchronously.
void VrSNMPSession::Discover(const VrSNMPSessionTarget &target, int timeout, int retries, const void *owner,
                             std::function<void(int)> done)
{
    const QString agent = agentKey(target);
    for (const auto &running : m_discoveries) {
        // Not a check: its one short try would bound this exchange's wait.
        if (running->agent == agent && !running->check) {
            running->waiters.push_back({owner, std::move(done)});
            return;
        }
    }
    QString peerAddress;
    const QString peer = resolve(target.address, peerAddress);
    if (peer.isEmpty())
        throw VrSNMPException(VrErrInvalidAddress);
    Discovery *discovery = probe(agent, QStringLiteral("%1:%2").arg(peer).arg(target.port).toUtf8(), timeout, retries);
    discovery->waiters.push_back({owner, std::move(done)});
}

void VrSNMPSession::CheckEngineId(const void *handle)
{
    const auto it = std::find_if(m_entries.begin(), m_entries.end(),
                                 [handle](const auto &entry) { return entry->channel.handle == handle; });
    if (it == m_entries.end() || (*it)->retired || (*it)->target.version != VrSNMPv3)
        return;
    const QString agent = agentKey((*it)->target);
    for (const auto &running : m_discoveries)
        if (running->agent == agent)
            return; // its answer tells as much
    // The address the session dials: no name to look up again.
    QString peerAddress;
    const QString peer = resolve((*it)->channel.peerAddress, peerAddress);
    const QByteArray peerName = QStringLiteral("%1:%2").arg(peer).arg((*it)->channel.peerPort).toUtf8();
    probe(agent, peerName, kCheckTimeout, 0)->check = true;
}

VrSNMPSession::Discovery *VrSNMPSession::probe(const QString &agent, const QByteArray &peerName, int timeout,
                                               int retries)
{
    auto discovery = std::make_unique<Discovery>();
    discovery->agent = agent;
    Discovery *raw = discovery.get();
    m_discoveries.push_back(std::move(discovery));
    const auto fail = [this, raw](int snmpErr) {
        raw->result = snmpErr;
        QTimer::singleShot(0, [this, raw] { finishDiscovery(raw); });
    };

    ensureDiscoveryUser();
    netsnmp_session s;
    snmp_sess_init(&s);
    s.peername = const_cast<char *>(peerName.constData());
    s.version = SNMP_VERSION_3;
    s.flags |= SNMP_FLAGS_DONT_PROBE;
    s.securityModel = SNMP_SEC_MODEL_USM;
    s.securityLevel = SNMP_SEC_LEVEL_NOAUTH;
    char noName[] = "";
    s.securityName = noName;
    s.securityNameLen = 0;
    s.timeout = long(timeout) * 10000L;
    s.retries = retries;
    raw->handle = snmp_sess_open(&s);
    if (!raw->handle) {
        fail(s.s_snmp_errno ? s.s_snmp_errno : SNMPERR_GENERR);
        return raw;
    }
    // Net-SNMP 5.9 clears the flag while opening, to probe (blocking) at the
    // first send; this session is the probe, so it must not.
    snmp_sess_session(raw->handle)->flags |= SNMP_FLAGS_DONT_PROBE;
    netsnmp_pdu *probe = snmp_pdu_create(SNMP_MSG_GET);
    probe->version = SNMP_VERSION_3;
    probe->securityName = strdup("");
    probe->securityNameLen = 0;
    probe->securityLevel = SNMP_SEC_LEVEL_NOAUTH;
    probe->securityModel = SNMP_SEC_MODEL_USM;
    if (!snmp_sess_async_send(raw->handle, probe, &VrSNMPSession::probeAnswered, raw)) {
        snmp_free_pdu(probe);
        fail(snmp_sess_session(raw->handle)->s_snmp_errno);
        return raw;
    }
    qCDebug(lcSnmpSession) << "asking" << peerName << "for its engine ID";
    SnmpEventProcessor::Global().Watch(raw->handle);
    SnmpEventProcessor::Global().Rearm();
    return raw;
}

int VrSNMPSession::probeAnswered(int op, snmp_session *session, int, snmp_pdu *pdu, void *magic)
{
    auto *discovery = static_cast<Discovery *>(magic);
    if (session == g_closing)
        return 1;
    switch (op) {
    case NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE:
        if (pdu && pdu->securityEngineIDLen > 0) {
            discovery->engineId = QByteArray(reinterpret_cast<const char *>(pdu->securityEngineID),
                                             qsizetype(pdu->securityEngineIDLen));
            discovery->result = SNMPERR_SUCCESS;
        } else {
            discovery->result = SNMPERR_UNKNOWN_ENG_ID;
        }
        break;
    case NETSNMP_CALLBACK_OP_TIMED_OUT:
        discovery->result = SNMPERR_TIMEOUT;
        break;
    case NETSNMP_CALLBACK_OP_SEND_FAILED:
        discovery->result = session->s_snmp_errno ? session->s_snmp_errno : SNMPERR_GENERR;
        break;
    default:
        return 1; // a retransmission or a security notice: the exchange goes on
    }
    // A session cannot be closed from inside its own callback.
    QTimer::singleShot(0, [discovery] { g_session->finishDiscovery(discovery); });
    return 1;
}

void VrSNMPSession::finishDiscovery(Discovery *discovery)
{
    const auto it = std::find_if(m_discoveries.begin(), m_discoveries.end(),
                                 [discovery](const auto &d) { return d.get() == discovery; });
    if (it == m_discoveries.end())
        return;
    std::unique_ptr<Discovery> done = std::move(*it);
    m_discoveries.erase(it);
    if (done->handle)
        close(done->handle);
    if (done->result == SNMPERR_SUCCESS) {
        m_engineIds[done->agent] = done->engineId;
        moveOffEngineId(done->agent, done->engineId);
    } else if (done->check) {
        // A silent agent: what its exchanges come to tells the user.
        qCDebug(lcSnmpSession) << "no answer to the engine-ID check of" << done->agent;
    } else {
        qCInfo(lcSnmpSession) << "engine-ID discovery failed:" << snmp_api_errstring(done->result);
    }
    for (const Waiter &waiter : done->waiters)
        waiter.done(done->result);
}

// The agent answered with another engine ID than some of its sessions were
// opened with: another device is at its address now, and it would refuse
// everything sent on them. Their users go and they close as moving, so what
// they have out is sent again on sessions for the engine ID it has now.
void VrSNMPSession::moveOffEngineId(const QString &agent, const QByteArray &engineId)
{
    std::vector<std::unique_ptr<Entry>> stale;
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        const Entry &entry = **it;
        if (entry.target.version != VrSNMPv3 || agentKey(entry.target) != agent
            || sessionEngineId(entry.channel.handle) == engineId) {
            ++it;
            continue;
        }
        if (!entry.retired)
            removeUser(entry);
        // Taken out of the list first: the callbacks the close runs may open sessions.
        stale.push_back(std::move(*it));
        it = m_entries.erase(it);
    }
    if (stale.empty())
        return;
    qCInfo(lcSnmpSession) << "another engine ID answers at" << agent << "; what was out to the old one is sent again";
    for (const auto &entry : stale)
        close(entry->channel.handle, true);
}

void OpenSession(const QString &directory)
{
    if (g_session)
        return;
    QString stateFolder = privateStateFolder();
    if (!QDir().mkpath(stateFolder)) {
        const QString fallback = fallbackStateFolder();
        if (fallback.isEmpty() || !QDir().mkpath(fallback)) {
            qCWarning(lcSnmpSession) << "no private folder for the SNMP library's state:" << stateFolder;
            throw VrSNMPException(VrErrSessionCreate);
        }
        qCInfo(lcSnmpSession) << "cannot write" << stateFolder << "; the SNMP library's state goes to" << fallback;
        stateFolder = fallback;
    }
    const int boots = VrSNMPSession::AdvanceBootCounter(directory);

    // Set before the library starts: otherwise it derives an engine ID from
    // the host name, which can wait on a DNS look-up.
    set_exact_engineID(reinterpret_cast<const u_char *>(kLocalEngineId), sizeof kLocalEngineId - 1);
    initNetSnmp(stateFolder);
    // The configuration handler stores the number it is given plus one.
    QByteArray previousBoots = QByteArray::number(boots - 1);
    engineBoots_conf("engineBoots", previousBoots.data());
    qCInfo(lcSnmpSession) << "SNMP initialised, engine boots" << boots;

    g_session = new VrSNMPSession; // lives to process end
    VrSNMPResetTargetDefaults();
    SnmpEventProcessor::Global().Start();
}
