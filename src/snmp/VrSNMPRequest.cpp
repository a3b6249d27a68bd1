#include "VrSNMPRequest.h"

#include "SnmpEventProcessor.h"
#include "VrCommon.h"
#include "VrExpression.h"
#include "VrNumList.h"
#include "VrOptionList.h"
#include "VrRawText.h"
#include "VrSNMPSession.h"
#include "VrSNMPStatusMap.h"
#include "VrSNMPTarget.h"
#include "VrSNMPValue.h"

#include <QLoggingCategory>
#include <QTimer>

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>

Q_LOGGING_CATEGORY(lcSnmpRequest, "qrt.snmp.request")

namespace {

const QString kNotDone = QStringLiteral("(NOTDONE)");

// An SNMPv3 exchange unanswered this long has the agent's engine ID checked
// (VrSNMPSession::CheckEngineId): under the main window's patience of 1.5 s,
// so that a device replaced at its address is taken up before its poll shows
// it silent.
constexpr int kSuspicion = 1000; // milliseconds

// A round trip this long or longer is a link to a remote site (a WAN, a VPN),
// not a local network.
constexpr std::chrono::milliseconds kSlowLink{8};

// The link's round trip: the shortest of the last answers' times, since an
// answer is read late whenever the program was busy when it came.
class LinkRoundTrip
{
public:
    void Note(std::chrono::steady_clock::duration seen)
    {
        m_seen[m_next] = seen;
        m_next = (m_next + 1) % m_seen.size();
        m_count = std::min(m_count + 1, m_seen.size());
    }
    bool Slow() const
    {
        return m_count > 0 && *std::min_element(m_seen.begin(), m_seen.begin() + m_count) >= kSlowLink;
    }

private:
    std::array<std::chrono::steady_clock::duration, 16> m_seen{};
    size_t m_next = 0;
    size_t m_count = 0;
};
LinkRoundTrip g_linkRoundTrip;

// Codes for answers that cannot be taken as they are: fewer varbinds than
// readable items is a malformed answer ("Invalid Pdu"); a value whose type
// does not fit its item is a syntax mismatch ("Bad SNMP syntax").
constexpr int kShortAnswer = -411;

struct PduDeleter {
    void operator()(snmp_pdu *pdu) const { snmp_free_pdu(pdu); }
};
using PduPtr = std::unique_ptr<snmp_pdu, PduDeleter>;

std::vector<VrSNMPValue::Arc> oidArcs(const QString &text)
{
    const auto arcs = VrSNMPValue::ParseOid(text);
    if (!arcs || arcs->empty())
        throw VrSNMPException(VrErrBadSyntax);
    return *arcs;
}

char *duplicate(const QByteArray &bytes)
{
    char *copy = static_cast<char *>(malloc(size_t(bytes.size()) + 1));
    std::memcpy(copy, bytes.constData(), size_t(bytes.size()) + 1);
    return copy;
}

bool isException(u_char type)
{
    return type == SNMP_NOSUCHOBJECT || type == SNMP_NOSUCHINSTANCE || type == SNMP_ENDOFMIBVIEW;
}

VrSNMPError errorOf(int code)
{
    VrSNMPError error;
    error.Code = code;
    error.Message = VrSNMPMessage(code);
    return error;
}

// An SNMPv3 agent that does not answer may have been replaced: Net-SNMP drops
// the report by which another engine at its address refuses the old engine
// ID unread, so silence is all that shows. The next exchange then discovers
// the engine ID again (not from inside Net-SNMP's callback, which runs
// within the session).
void forgetEngineId(const VrSNMPRequest &request, const netsnmp_session &session)
{
    VrSNMPSessionTarget target;
    target.address = request.Address;
    target.port = request.Port;
    target.version = VrSNMPv3;
    const QByteArray engineId(reinterpret_cast<const char *>(session.securityEngineID),
                              qsizetype(session.securityEngineIDLen));
    VrSNMPSession *global = VrSNMPSession::Global();
    if (!global)
        return;
    QTimer::singleShot(0, [global, target, engineId, upTo = global->OpenedSoFar()] {
        global->ForgetEngineId(target, engineId, upTo);
    });
}
} // namespace

// Where a synchronous exchange waits for its outcome.
struct VrSNMPSyncSlot {
    bool done = false;
    VrSNMPError error;
    PduPtr answer;
};

namespace {
// What a read asks of the agent: two reads with the same text get the same answer.
QByteArray askedFor(const snmp_pdu &pdu)
{
    QByteArray text;
    const auto add = [&text](const void *data, size_t size) {
        text.append(QByteArray::number(qulonglong(size))).append(':');
        text.append(static_cast<const char *>(data), qsizetype(size));
    };
    const long fields[] = {pdu.command, pdu.non_repeaters, pdu.max_repetitions, pdu.securityLevel};
    add(fields, sizeof fields);
    add(pdu.community, pdu.community_len);
    add(pdu.contextName, pdu.contextNameLen);
    add(pdu.contextEngineID, pdu.contextEngineIDLen);
    for (const variable_list *vb = pdu.variables; vb; vb = vb->next_variable)
        add(vb->name, vb->name_length * sizeof(oid));
    return text;
}
} // namespace

// What an exchange leaves with Net-SNMP until its callback (or with the
// engine-ID discovery until the agent's engine ID is known).
struct VrSNMPAsyncRecord {
    VrSNMPRequest *request; // null once the request is gone
    bool read;              // a get or get-next (a set otherwise)
    bool decode;
    VrSNMPCompletion done;
    void *data;
    VrSNMPSyncSlot *sync = nullptr; // a synchronous exchange's outcome goes here
    QString peerAddress;
    uint16_t peerPort = 0;

    int securityError = SNMPERR_SUCCESS; // seen before the exchange ended
    bool sending = true; // Net-SNMP reports a failed first send also by callback
    bool dropped = false; // a read sent ahead that nobody takes: its end is not heard
    PduPtr parked;       // the PDU, while the engine-ID discovery runs
    void *channel = nullptr; // the Net-SNMP session it went out on
    PduPtr unsent;       // SNMPv3: the PDU as it was before it went out, to send it again elsewhere
    bool moving = false; // parked to go out again: its agent's engine ID changed
    // A walk's column going on alone (VrSNMPBulkRows::Chains): of which walk,
    // from where, in which column, how many at a time.
    bool chain = false;
    unsigned generation = 0;
    std::chrono::steady_clock::time_point sentAt; // its last send
    QString chainFrom;
    QString chainBase;
    int chainRepetitions = 0;

    VrSNMPAsyncRecord(VrSNMPRequest *request, bool read, bool decode, VrSNMPCompletion done, void *data,
                      VrSNMPSyncSlot *sync = nullptr)
        : request(request), read(read), decode(decode), done(done), data(data), sync(sync)
    {
    }

    void finishSync(const VrSNMPError &error, const snmp_pdu *answer)
    {
        sync->error = error;
        sync->answer.reset(answer ? snmp_clone_pdu(const_cast<snmp_pdu *>(answer)) : nullptr);
        sync->done = true;
    }

    static int callback(int op, netsnmp_session *session, int, netsnmp_pdu *pdu, void *magic)
    {
        auto *record = static_cast<VrSNMPAsyncRecord *>(magic);
        switch (op) {
        case NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE:
            // Net-SNMP retransmits after a notInTimeWindow report with the
            // agent's time learned from it; declining the report keeps the
            // request until then (or until it times out).
            if (pdu && pdu->command == SNMP_MSG_REPORT
                && (session->s_snmp_errno == SNMPERR_NOT_IN_TIME_WINDOW
                    || snmpv3_get_report_type(pdu) == SNMPERR_NOT_IN_TIME_WINDOW))
                return 0;
            g_linkRoundTrip.Note(std::chrono::steady_clock::now() - record->sentAt);
            break;
        case NETSNMP_CALLBACK_OP_SEND_FAILED:
            if (record->sending)
                return 1; // the sender sees the failure and keeps the record
            break;
        case NETSNMP_CALLBACK_OP_TIMED_OUT:
            break;
        case NETSNMP_CALLBACK_OP_SEC_ERROR:
            // Announces a failed security check; the exchange itself ends
            // with the report or the time-out that follows.
            record->securityError = pdu && pdu->command == SNMP_MSG_REPORT
                ? snmpv3_get_report_type(pdu) : session->s_snmp_errno;
            return 1;
        default:
            return 1; // a retransmission: not the end of the exchange
        }

        std::unique_ptr<VrSNMPAsyncRecord> owned(record);
        VrSNMPRequest *request = record->request;
        if (!request)
            return 1;
        request->m_outstanding.erase(record);
        if (record->dropped)
            return 1;
        if (session == VrSNMPSession::Closing()) {
            if (VrSNMPSession::MovingExchanges() && record->unsent) {
                request->resendLater(owned.release());
                return 1;
            }
            // The session is being destroyed: only the count goes down, unless
            // the user cancelled and the caller is told so.
            if (record->sync)
                record->finishSync(VrSNMPErrorFromStatus(VrStatusSessionDestroyed), nullptr);
            else if (request->m_cancelling)
                request->completeLater(std::shared_ptr<VrSNMPAsyncRecord>(owned.release()), errorOf(VrErrCancelled),
                                       nullptr);
            else
                request->countDown();
            return 1;
        }
        VrSNMPError error;
        const snmp_pdu *answer = nullptr;
        if (op == NETSNMP_CALLBACK_OP_TIMED_OUT && record->securityError == SNMPERR_SUCCESS) {
            error = VrSNMPErrorFromStatus(VrStatusTimeout);
            if (session->version == SNMP_VERSION_3)
                forgetEngineId(*request, *session);
        } else if (op != NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE || !pdu) {
            const int cause = record->securityError ? record->securityError : session->s_snmp_errno;
            error = VrSNMPStatusMap::ErrorFromNetSnmp(cause ? cause : SNMPERR_GENERR);
        } else if (pdu->command == SNMP_MSG_REPORT) {
            error = VrSNMPStatusMap::ErrorFromNetSnmp(snmpv3_get_report_type(pdu));
        } else {
            error = VrSNMPErrorFromErrorStatus(int(pdu->errstat));
            error.ErrorIndex = int(pdu->errindex);
            answer = pdu;
        }
        error.AgentAddress = record->peerAddress;
        error.AgentPort = record->peerPort;
        if (record->sync) {
            record->finishSync(error, answer);
            return 1;
        }
        // The completion runs from the event loop, not from here: it may start
        // another exchange and wait for it, and Net-SNMP still holds this
        // request until the callback returns (a nested wait could time it out
        // or take a late duplicate answer and call back again).
        request->completeLater(std::shared_ptr<VrSNMPAsyncRecord>(owned.release()), error, answer);
        return 1;
    }
};

// A first read sent ahead: what it asked, and where its outcome arrives.
struct VrSNMPRequest::ReadAheadState {
    QByteArray asked;
    VrSNMPSyncSlot slot;
    VrSNMPAsyncRecord *record = nullptr; // the exchange, while it is out (slot not done)

    ReadAheadState() = default;
    ReadAheadState(const ReadAheadState &) = delete;
    ReadAheadState &operator=(const ReadAheadState &) = delete;
    // Untaken, an exchange still out ends unheard.
    ~ReadAheadState()
    {
        if (!slot.done && record) {
            record->sync = nullptr;
            record->dropped = true;
        }
    }
};

void VrSNMPRequest::completeLater(std::shared_ptr<VrSNMPAsyncRecord> record, VrSNMPError error,
                                  const snmp_pdu *answer)
{
    std::shared_ptr<snmp_pdu> copy(answer ? snmp_clone_pdu(const_cast<snmp_pdu *>(answer)) : nullptr,
                                   [](snmp_pdu *p) { if (p) snmp_free_pdu(p); });
    QTimer::singleShot(0, [self = m_self, record, error, copy]() mutable {
        if (VrSNMPRequest *alive = *self)
            alive->complete(*record, error, copy.get());
    });
}

VrSNMPRequest::VrSNMPRequest()
    : Timeout(unsigned(g_SNMPTimeout)),
      Retries(g_SNMPRetries),
      Address(g_SNMPDevice.address),
      Port(g_SNMPDevice.port),
      ContextEngineID(g_SNMPScope.contextEngineId),
      ContextName(g_SNMPScope.contextName),
      Version(g_SNMPSecurity.version),
      ReadCommunity(g_SNMPSecurity.readCommunity),
      WriteCommunity(g_SNMPSecurity.writeCommunity),
      SecurityModel(g_SNMPSecurity.securityModel),
      SecurityLevel(g_SNMPSecurity.securityLevel),
      SecurityName(g_SNMPSecurity.securityName),
      AuthPassword(g_SNMPSecurity.authPassword),
      PrivPassword(g_SNMPSecurity.privPassword),
      AuthProtocol(g_SNMPSecurity.authProtocol),
      PrivProtocol(g_SNMPSecurity.privProtocol)
{
}

VrSNMPRequest::~VrSNMPRequest()
{
    Alive = false;
    *m_self = nullptr; // completions still queued find the request gone
    endExchanges();
    VrSNMPWipePassPhrase(AuthPassword);
    VrSNMPWipePassPhrase(PrivPassword);
}

void VrSNMPRequest::endExchanges()
{
    m_bulk.Forget(); // rows kept from a walk are not handed out after it ended
    // Closing this request's sessions ends what it has with Net-SNMP: each
    // record comes back through its callback as "session destroyed".
    if (VrSNMPSession *session = VrSNMPSession::Global())
        session->Release(this);
    // What is left waited for an engine-ID discovery, whose call is dropped.
    for (VrSNMPAsyncRecord *record : std::exchange(m_outstanding, {})) {
        if (record->dropped) {
            delete record;
            continue;
        }
        if (record->sync) {
            record->finishSync(VrSNMPErrorFromStatus(VrStatusSessionDestroyed), nullptr);
        } else {
            if (record->parked)
                --m_parked;
            if (m_cancelling) {
                record->parked.reset();
                completeLater(std::shared_ptr<VrSNMPAsyncRecord>(record), errorOf(VrErrCancelled), nullptr);
                continue;
            }
            --Pending;
        }
        delete record;
    }
    m_ahead.reset(); // its answer, if any, was ended above
    if (m_chainDone) {
        const VrSNMPCompletion done = std::exchange(m_chainDone, nullptr);
        void *data = std::exchange(m_chainData, nullptr);
        if (m_cancelling)
            completeLater(std::make_shared<VrSNMPAsyncRecord>(this, true, false, done, data), errorOf(VrErrCancelled),
                          nullptr);
        else
            --Pending;
    }
}

void VrSNMPRequest::Cancel()
{
    m_cancelling = true;
    endExchanges();
    m_cancelling = false;
}

// ---- target and PDU -------------------------------------------------------

VrSNMPSessionTarget VrSNMPRequest::target() const
{
    VrSNMPSessionTarget t;
    t.address = Address;
    t.port = Port;
    t.version = Version;
    if (Version == VrSNMPv3) {
        t.securityLevel = SecurityLevel;
        t.securityName = SecurityName;
        t.authProtocol = AuthProtocol;
        t.authPassword = AuthPassword;
        t.privProtocol = PrivProtocol;
        t.privPassword = PrivPassword;
    }
    return t;
}

// Sends the PDU, or parks it with the record until the agent's engine ID is
// known. Returns the record left outstanding (ownership passes to it and the
// PDU is taken), or null when nothing went out: snmpErr then says why.
VrSNMPAsyncRecord *VrSNMPRequest::send(std::unique_ptr<VrSNMPAsyncRecord> &record, snmp_pdu *&pdu,
                                       int &snmpErr)
{
    VrSNMPSession *session = VrSNMPSession::Global();
    if (!session) {
        snmpErr = SNMPERR_BAD_SESSION;
        return nullptr;
    }
    const VrSNMPSessionTarget t = target();
    if (session->NeedsDiscovery(t)) {
        VrSNMPAsyncRecord *parked = record.get();
        // A request that goes away or is cancelled drops this call with its record.
        session->Discover(t, int(Timeout), Retries, this, [parked](int result) {
            parked->request->discovered(std::unique_ptr<VrSNMPAsyncRecord>(parked), result);
        });
        record.release();
        parked->parked.reset(std::exchange(pdu, nullptr));
        m_outstanding.insert(parked);
        if (!parked->sync) {
            ++Pending;
            ++m_parked;
        }
        return parked;
    }
    VrSNMPSession::Channel *ch = session->Acquire(t, this, int(Timeout), Retries, snmpErr);
    if (!ch)
        return nullptr;
    record->peerAddress = ch->peerAddress;
    record->peerPort = ch->peerPort;
    record->channel = ch->handle;
    // Net-SNMP fills in the engine ID it sends to: a copy from before can go
    // to another one.
    if (t.version == VrSNMPv3)
        record->unsent.reset(snmp_clone_pdu(pdu));
    record->sentAt = std::chrono::steady_clock::now();
    record->sending = true;
    const bool sent = snmp_sess_async_send(ch->handle, pdu, &VrSNMPAsyncRecord::callback, record.get());
    record->sending = false;
    if (!sent) {
        snmpErr = snmp_sess_session(ch->handle)->s_snmp_errno;
        return nullptr;
    }
    pdu = nullptr; // Net-SNMP owns a PDU it sent
    VrSNMPAsyncRecord *out = record.release();
    m_outstanding.insert(out);
    if (!out->sync)
        ++Pending;
    if (t.version == VrSNMPv3)
        suspectLater(out);
    SnmpEventProcessor::Global().Rearm();
    return out;
}

// Net-SNMP drops unread the report by which an agent refuses an engine ID
// it does not have, so an SNMPv3 exchange to a device replaced at the same
// address would wait its whole time-out: one still out after kSuspicion has
// its agent's engine ID checked.
void VrSNMPRequest::suspectLater(VrSNMPAsyncRecord *record)
{
    QTimer::singleShot(kSuspicion, [self = m_self, record, channel = record->channel] {
        VrSNMPRequest *alive = *self;
        if (!alive || !alive->m_outstanding.contains(record) || record->channel != channel || record->parked)
            return;
        if (VrSNMPSession *session = VrSNMPSession::Global())
            session->CheckEngineId(channel);
    });
}

// The session an exchange was out on closed because another engine ID
// answers at its agent: the exchange waits, like one parked for a discovery,
// to be sent again from the event loop (its time-out starts again).
void VrSNMPRequest::resendLater(VrSNMPAsyncRecord *record)
{
    record->parked = std::move(record->unsent);
    record->channel = nullptr;
    record->securityError = SNMPERR_SUCCESS;
    record->moving = true;
    m_outstanding.insert(record);
    if (!record->sync)
        ++m_parked; // still counted in Pending
    QTimer::singleShot(0, [self = m_self] {
        // One at a time: a completion run for one that fails may cancel or
        // destroy the request.
        while (VrSNMPRequest *alive = *self) {
            const auto next = std::find_if(alive->m_outstanding.begin(), alive->m_outstanding.end(),
                                           [](const VrSNMPAsyncRecord *r) { return r->moving; });
            if (next == alive->m_outstanding.end())
                return;
            (*next)->moving = false;
            alive->discovered(std::unique_ptr<VrSNMPAsyncRecord>(*next), SNMPERR_SUCCESS);
        }
    });
}

// The engine-ID discovery a parked exchange waited for has ended: send it
// now, or end it with the discovery's error.
void VrSNMPRequest::discovered(std::unique_ptr<VrSNMPAsyncRecord> record, int snmpErr)
{
    m_outstanding.erase(record.get());
    if (record->dropped) {
        snmp_free_pdu(record->parked.release());
        return;
    }
    const bool sync = record->sync != nullptr;
    if (!sync) {
        --Pending;
        --m_parked;
    }
    snmp_pdu *pdu = record->parked.release();
    VrSNMPError error;
    if (snmpErr == SNMPERR_SUCCESS) {
        try {
            if (send(record, pdu, snmpErr))
                return;
            error = VrSNMPStatusMap::ErrorFromNetSnmp(snmpErr);
        } catch (const VrSNMPException &e) {
            error.Code = e.Code();
            error.Message = e.Message();
        }
    } else {
        error = VrSNMPStatusMap::ErrorFromNetSnmp(snmpErr);
    }
    if (pdu)
        snmp_free_pdu(pdu);
    // send() gave the record up only on success, so it is still ours here.
    error.AgentAddress = Address;
    error.AgentPort = Port;
    if (sync) {
        record->finishSync(error, nullptr);
        return;
    }
    ++Pending; // complete() counts the exchange down
    complete(*record, error, nullptr);
}

QString VrSNMPRequest::baseOid(int position) const
{
    const QString &oid = VarList.Item(position).oid;
    return VarList.instanceSuffix.isEmpty() ? oid : oid + QLatin1Char('.') + VarList.instanceSuffix;
}

QString VrSNMPRequest::rowIndexOid()
{
    QStringList parts;
    for (int k = 0; k < VarList.keyCount && k < VarList.Count(); ++k) {
        QString arcs;
        EncodeIndex(k, arcs);
        parts << arcs;
    }
    return parts.join(QLatin1Char('.'));
}

// An empty PDU of the command with the request's community or SNMPv3 context.
snmp_pdu *VrSNMPRequest::newPdu(int command, bool write)
{
    PduPtr pdu(snmp_pdu_create(command));
    if (Version == VrSNMPv3) {
        pdu->securityLevel = SecurityLevel;
        if (!ContextName.isEmpty()) {
            const QByteArray name = VrBytesFromText(ContextName);
            pdu->contextName = duplicate(name);
            pdu->contextNameLen = size_t(name.size());
        }
        if (!ContextEngineID.isEmpty()) {
            // The text's characters are the engine ID's octets.
            const QByteArray id = ContextEngineID.toLatin1();
            pdu->contextEngineID = reinterpret_cast<u_char *>(duplicate(id));
            pdu->contextEngineIDLen = size_t(id.size());
        }
    } else {
        // A v1/v2c session's own community is used only when the PDU has none.
        const QByteArray community = VrBytesFromText(write ? WriteCommunity : ReadCommunity);
        pdu->community = reinterpret_cast<u_char *>(duplicate(community));
        pdu->community_len = size_t(community.size());
    }
    return pdu.release();
}

// The message around a read's varbinds: version, community or the USM header
// (engine ID, user, digest, salt, padding), the PDU's fields.
int VrSNMPRequest::headerBytes() const
{
    return Version == VrSNMPv3 ? 200 + int(VrBytesFromText(SecurityName).size() + VrBytesFromText(ContextName).size())
                               : 40 + int(VrBytesFromText(ReadCommunity).size());
}

snmp_pdu *VrSNMPRequest::buildPdu(Mode mode)
{
    const uint8_t kind = VarList.kind;
    if (kind > VrListTable2)
        throw VrSNMPException(VrErrBadListKind);
    if (mode == NextRead && !VarList.IsTable())
        throw VrSNMPException(VrErrGetNextSingle);

    int command = SNMP_MSG_GETNEXT;
    if (mode == Write)
        command = SNMP_MSG_SET;
    else if (mode == FirstRead && (kind == VrListScalar || (kind == VrListInstance && !UseGetNext)))
        command = SNMP_MSG_GET;
    // SNMPv1 has no GETBULK: its walks go one get-next per row.
    const bool bulk = mode != Write && VarList.IsTable() && Version != VrSNMPv1;
    if (bulk)
        command = SNMP_MSG_GETBULK;
    PduPtr pdu(newPdu(command, mode == Write));
    if (bulk) {
        pdu->non_repeaters = 0;
        pdu->max_repetitions = m_bulk.Ask(VarList, mode == FirstRead, headerBytes());
    } else {
        m_bulk.Forget();
    }

    const QString rowIndex = mode == Write && VarList.IsTable() ? rowIndexOid() : QString();
    for (int i = 0; i < VarList.Count(); ++i) {
        VrSNMPVarItem &item = VarList.Item(i);
        if (mode == Write) {
            if (!VarList.IsWritable(i) || (VarList.IsTable() && i < VarList.keyCount))
                continue;
            QString oid = baseOid(i);
            if (kind == VrListScalar)
                oid += QLatin1String(".0");
            else if (VarList.IsTable())
                oid += QLatin1Char('.') + rowIndex;
            ValueToVb(i, pdu.get(), oidArcs(oid));
            continue;
        }
        if (!VarList.IsReadable(i))
            continue;
        QString oid;
        if (mode == FirstRead) {
            item.instance.clear();
            oid = kind == VrListScalar ? baseOid(i) + QLatin1String(".0") : baseOid(i);
        } else {
            oid = item.instance;
        }
        const std::vector<VrSNMPValue::Arc> arcs = oidArcs(oid);
        snmp_add_null_var(pdu.get(), arcs.data(), arcs.size());
    }
    return pdu.release();
}

// ---- decoding -------------------------------------------------------------

VrSNMPRequest::Decoded VrSNMPRequest::decode(const snmp_pdu &answer, int &code, bool async,
                                             bool &ok)
{
    Decoded result;
    const bool table = VarList.IsTable();
    const variable_list *vb = answer.variables;

    // The row index of this step: what the first returned OID has beyond its base.
    QString rowIndex;
    for (int i = 0; table && i < VarList.Count(); ++i) {
        if (!VarList.IsReadable(i))
            continue;
        if (vb) {
            const QString base = baseOid(i);
            const QString returned = VrSNMPValue::OidText(vb->name, vb->name_length);
            if (returned.size() > base.size() + 1 && returned.startsWith(base + QLatin1Char('.')))
                rowIndex = returned.mid(base.size() + 1);
        }
        break;
    }

    bool allEnded = true;
    bool noSuchNameReported = false;
    int columns = 0;
    for (int i = 0; i < VarList.Count(); ++i) {
        if (!VarList.IsReadable(i))
            continue;
        ++columns;
        VrSNMPVarItem &item = VarList.Item(i);
        if (!vb) {
            // An answer shorter than the request: the items left keep their values.
            result.problem = errorOf(kShortAnswer);
            return result;
        }
        const QString base = baseOid(i);
        const QString returned = VrSNMPValue::OidText(vb->name, vb->name_length);

        if (code == VrErrNoSuchName && table) {
            if (item.instance == returned) {
                // The agent has nothing beyond the row already reached.
                if (async)
                    code = VrOk;
                return result;
            }
            if (async)
                return result;
            if (!noSuchNameReported)
                report(errorOf(VrErrNoSuchName), ok); // once per answer, not per item
            noSuchNameReported = true;
        }

        if (IsEndOfColumn(base, item.instance, returned)) {
            item.value = kNotDone;
            item.instance = base + QLatin1Char('.') + rowIndex;
        } else {
            allEnded = false;
            if (!ValueFromVb(i, *vb)) {
                // Leave the item as it was; an exception value means the agent
                // has no such object.
                result.problem = errorOf(isException(vb->type) ? VrErrNoSuchName : VrErrBadSyntax);
                return result;
            }
            item.instance = returned;
        }
        vb = vb->next_variable;
    }
    if (allEnded)
        return result;

    if (table) {
        QString rest = rowIndex;
        for (int k = 0; k < VarList.keyCount && k < VarList.Count(); ++k) {
            rest = DecodeIndex(k, rest);
            if (!VarList.IsReadable(k))
                VarList.Item(k).instance = baseOid(k) + QLatin1Char('.') + rowIndex;
        }
    }
    for (int i = 0; i < VarList.Count(); ++i)
        ComputeDerivedValue(i, false);
    result.finished = !table;
    // Over a link slower than the agent, the walk's columns go on side by
    // side; close by, the one walk costs fewer exchanges.
    if (table && m_bulk.Keep(answer, columns) && g_linkRoundTrip.Slow())
        startChains();
    return result;
}

// ---- a wide table's columns side by side ------------------------------------

void VrSNMPRequest::startChains()
{
    QStringList bases;
    for (int i = 0; i < VarList.Count(); ++i)
        if (VarList.IsReadable(i))
            bases << baseOid(i);
    m_chainGeneration = m_bulk.Generation();
    m_chainsOut = 0;
    for (const VrSNMPBulkRows::Chain &chain : m_bulk.Chains(bases, headerBytes()))
        sendChain(chain.from, chain.base, chain.repetitions);
}

// A column's GETBULK; one that cannot go out leaves its rows to the walk.
void VrSNMPRequest::sendChain(const QString &from, const QString &base, int repetitions)
{
    PduPtr pdu(newPdu(SNMP_MSG_GETBULK, false));
    pdu->non_repeaters = 0;
    pdu->max_repetitions = repetitions;
    const std::vector<VrSNMPValue::Arc> arcs = oidArcs(from);
    snmp_add_null_var(pdu.get(), arcs.data(), arcs.size());
    auto record = std::make_unique<VrSNMPAsyncRecord>(this, true, false, nullptr, nullptr);
    record->chain = true;
    record->generation = m_chainGeneration;
    record->chainFrom = from;
    record->chainBase = base;
    record->chainRepetitions = repetitions;
    int snmpErr = SNMPERR_SUCCESS;
    snmp_pdu *raw = pdu.release();
    if (send(record, raw, snmpErr)) {
        ++m_chainsOut;
        return;
    }
    snmp_free_pdu(raw);
}

void VrSNMPRequest::chainAnswered(const VrSNMPAsyncRecord &record, const VrSNMPError &error, const snmp_pdu *answer)
{
    if (!Alive || record.generation != m_chainGeneration || record.generation != m_bulk.Generation())
        return; // its walk is over
    --m_chainsOut;
    try {
        if (error.Code == VrOk && answer) {
            const QString next = m_bulk.KeepChain(*answer, record.chainFrom, record.chainBase);
            if (!next.isEmpty())
                sendChain(next, record.chainBase, record.chainRepetitions);
        } else if (answer && record.chainRepetitions > 1) {
            // The agent refused the size (tooBig, or genErr from some): ask for half.
            sendChain(record.chainFrom, record.chainBase, record.chainRepetitions / 2);
        } else {
            // The walk asks for the rows this column lacks itself, and meets the error there.
            qCDebug(lcSnmpRequest) << "a column's walk ended on" << error.Code << VarList.description;
        }
    } catch (const VrSNMPException &) {
        // Only a malformed OID from the agent gets here; the walk goes on without the column.
    }
    if (m_chainWait)
        *m_chainWait = true;
    if (!m_chainDone)
        return;
    // An asynchronous step waits for the row.
    if (PduPtr row{keptRow()}) {
        VrSNMPError fine = VrSNMPErrorFromErrorStatus(0);
        fine.AgentAddress = Address;
        fine.AgentPort = Port;
        completeLater(std::make_shared<VrSNMPAsyncRecord>(this, true, true, std::exchange(m_chainDone, nullptr),
                                                          std::exchange(m_chainData, nullptr)),
                      fine, row.get());
    } else if (chainsOut() == 0) {
        const VrSNMPCompletion done = std::exchange(m_chainDone, nullptr);
        void *data = std::exchange(m_chainData, nullptr);
        --Pending;
        try {
            sendAsync(buildPdu(NextRead), done, data, true, true);
        } catch (const VrSNMPException &e) {
            VrSNMPError failed = errorOf(e.Code());
            ++Pending;
            completeLater(std::make_shared<VrSNMPAsyncRecord>(this, true, false, done, data), failed, nullptr);
        }
    }
}

bool VrSNMPRequest::waitForChains(bool &ok)
{
    SnmpEventProcessor &events = SnmpEventProcessor::Global();
    SnmpEventProcessor::Wait wait;
    wait.owner = Owner;
    wait.agent = Address;
    wait.limitMs = int(Timeout) * 10 * (Retries + 1);
    SnmpEventProcessor::WaitEnd end = events.BeginWait(wait);
    if (end == SnmpEventProcessor::WaitEnd::Answered) {
        bool woken = false;
        m_chainWait = &woken;
        m_waiting = true;
        end = events.RunWait(woken);
        m_waiting = false;
        m_chainWait = nullptr;
        events.EndWait(wait);
    }
    if (end == SnmpEventProcessor::WaitEnd::Answered)
        return true;
    endExchanges();
    report(end == SnmpEventProcessor::WaitEnd::Cancelled ? errorOf(VrErrCancelled)
                                                         : VrSNMPErrorFromStatus(VrStatusSessionDestroyed),
           ok);
    return false;
}

// The next step of a walk when the rows already in hold it; null otherwise.
snmp_pdu *VrSNMPRequest::keptRow() const
{
    if (!VarList.IsTable())
        return nullptr;
    QStringList oids;
    for (int i = 0; i < VarList.Count(); ++i)
        if (VarList.IsReadable(i))
            oids << VarList.Item(i).instance;
    return m_bulk.Next(oids);
}

// ---- synchronous ----------------------------------------------------------

void VrSNMPRequest::report(VrSNMPError error, bool &ok)
{
    ++ErrorCount;
    error.Sequence = ErrorCount;
    LastError = error.Code;
    ok = false;
    qCDebug(lcSnmpRequest) << "error" << error.Code << error.Message;
    if (OnError)
        OnError(error);
}

bool VrSNMPRequest::checkListKind(bool &ok)
{
    if (VarList.kind <= VrListTable2)
        return true;
    report(errorOf(VrErrBadListKind), ok);
    return false;
}

int VrSNMPRequest::exchange(bool &ok, snmp_pdu *pdu, bool read, bool decodeAnswer)
{
    PduPtr owned(pdu);
    SnmpEventProcessor &events = SnmpEventProcessor::Global();
    if (m_waiting) {
        // Only a handler run during this request's own wait can get here.
        qCWarning(lcSnmpRequest) << "a synchronous exchange was started while one is waiting";
        report(errorOf(VrErrUnknown), ok);
        return 0;
    }
    SnmpEventProcessor::Wait wait;
    wait.owner = Owner;
    wait.agent = Address;
    wait.limitMs = int(Timeout) * 10 * (Retries + 1);
    const auto endedEarly = [&](SnmpEventProcessor::WaitEnd end) {
        report(end == SnmpEventProcessor::WaitEnd::Cancelled ? errorOf(VrErrCancelled)
                                                             : VrSNMPErrorFromStatus(VrStatusSessionDestroyed),
               ok);
        return 0;
    };
    // A page being left, or a program closing, sends nothing more.
    if (const auto begin = events.BeginWait(wait); begin != SnmpEventProcessor::WaitEnd::Answered)
        return endedEarly(begin);
    struct EndWait {
        SnmpEventProcessor &events;
        const SnmpEventProcessor::Wait &wait;
        ~EndWait() { events.EndWait(wait); }
    } endWait{events, wait};

    // The same read sent ahead is taken instead of asked again.
    const std::unique_ptr<ReadAheadState> ahead = read ? takeReadAhead(*owned) : nullptr;
    VrSNMPSyncSlot ownSlot;
    VrSNMPSyncSlot &slot = ahead ? ahead->slot : ownSlot;
    if (ahead) {
        owned.reset();
    } else {
        auto record = std::make_unique<VrSNMPAsyncRecord>(this, read, false, nullptr, nullptr, &slot);
        int snmpErr = SNMPERR_SUCCESS;
        snmp_pdu *raw = owned.release();
        VrSNMPAsyncRecord *out = nullptr;
        try {
            out = send(record, raw, snmpErr);
        } catch (...) {
            snmp_free_pdu(raw);
            throw;
        }
        owned.reset(raw); // still ours when it did not go out
        if (!out) {
            report(VrSNMPStatusMap::ErrorFromNetSnmp(snmpErr), ok);
            return 0;
        }
    }
    if (!slot.done) {
        m_waiting = true;
        const SnmpEventProcessor::WaitEnd end = events.RunWait(slot.done);
        m_waiting = false;
        if (end != SnmpEventProcessor::WaitEnd::Answered) {
            // Nothing of the exchange may go on: no retransmission, no late answer.
            if (!slot.done)
                endExchanges();
            return endedEarly(end);
        }
    }

    const VrSNMPError &outcome = slot.error;
    const int code = outcome.Code;
    // The end of a walk comes as noSuchName; decoding tells it from a fault.
    const bool walkEnd = read && code == VrErrNoSuchName && VarList.IsTable();
    bool first = false;
    if (code != VrOk && read && slot.answer && m_bulk.Retry(code == VrErrTooBig, first))
        return exchange(ok, buildPdu(first ? FirstRead : NextRead), read, decodeAnswer);
    if (code != VrOk && !walkEnd) {
        report(outcome, ok);
        return 0;
    }
    if (!decodeAnswer || !slot.answer)
        return 0;
    return take(*slot.answer, code, ok);
}

// Decodes a read's answer for a synchronous caller: 1 when a walk step
// produced a row, else 0.
int VrSNMPRequest::take(const snmp_pdu &answer, int code, bool &ok)
{
    const Decoded decoded = decode(answer, code, false, ok);
    if (decoded.problem.Code != VrOk) {
        report(decoded.problem, ok);
        return 0;
    }
    return decoded.finished ? 0 : 1;
}

std::unique_ptr<VrSNMPRequest::ReadAheadState> VrSNMPRequest::takeReadAhead(const snmp_pdu &asked)
{
    std::unique_ptr<ReadAheadState> ahead = std::move(m_ahead);
    if (ahead && ahead->asked != askedFor(asked)) {
        qCDebug(lcSnmpRequest) << "read ahead not taken: the list asks for something else"
                               << VarList.description;
        ahead.reset();
    }
    return ahead;
}

void VrSNMPRequest::ReadAhead()
{
    DropReadAhead();
    if (!Alive || VarList.kind > VrListTable2)
        return;
    auto ahead = std::make_unique<ReadAheadState>();
    // A list that cannot be sent is left to the read that takes it, which
    // reports why.
    try {
        PduPtr pdu(buildPdu(FirstRead));
        ahead->asked = askedFor(*pdu);
        auto record = std::make_unique<VrSNMPAsyncRecord>(this, true, false, nullptr, nullptr, &ahead->slot);
        VrSNMPAsyncRecord *pending = record.get();
        int snmpErr = SNMPERR_SUCCESS;
        snmp_pdu *raw = pdu.release();
        const bool out = send(record, raw, snmpErr) != nullptr;
        pdu.reset(raw);
        if (!out) {
            ahead->slot.error = VrSNMPStatusMap::ErrorFromNetSnmp(snmpErr);
            ahead->slot.done = true;
        } else {
            ahead->record = pending;
        }
    } catch (const VrSNMPException &) {
        return;
    } catch (const VrCommonException &) {
        return;
    }
    m_ahead = std::move(ahead);
}

void VrSNMPRequest::DropReadAhead()
{
    m_ahead.reset();
}

int VrSNMPRequest::Get(bool &ok, bool first)
{
    if (!Alive) {
        ok = false;
        return 0;
    }
    if (!checkListKind(ok))
        return 0;
    if (!first && !m_waiting) {
        for (;;) {
            if (const PduPtr row{keptRow()})
                return take(*row, VrOk, ok);
            // The walk's columns going on alone bring the row, or it is asked for.
            if (chainsOut() == 0)
                break;
            if (!waitForChains(ok))
                return 0;
        }
    }
    return exchange(ok, buildPdu(first ? FirstRead : NextRead), true, true);
}

namespace {
// Applies an item selection for one write and puts the list back afterwards:
// the excluded marks and the values filled for the write do not stay.
class WriteScope
{
public:
    WriteScope(VrSNMPVarList &list, const QString &selection, const QStringList *values)
        : m_list(list)
    {
        for (int i = 0; i < list.Count(); ++i)
            m_saved.push_back({list.Item(i).flags, list.Item(i).value});
        if (selection.isEmpty())
            return;
        const VrNumList chosen(selection, QLatin1Char(','));
        for (int i = 0; i < list.Count(); ++i) {
            VrSNMPVarItem &item = list.Item(i);
            const int place = chosen.IndexOf(i);
            if (place < 0) {
                item.flags |= VrFlagExcluded;
                continue;
            }
            item.flags &= uint8_t(~VrFlagExcluded);
            if (values && place < values->size())
                item.value = values->at(place);
        }
    }
    ~WriteScope()
    {
        for (int i = 0; i < m_list.Count(); ++i) {
            m_list.Item(i).flags = m_saved[size_t(i)].flags;
            m_list.Item(i).value = m_saved[size_t(i)].value;
        }
    }

private:
    struct Saved {
        uint8_t flags;
        QString value;
    };
    VrSNMPVarList &m_list;
    std::vector<Saved> m_saved;
};
} // namespace

int VrSNMPRequest::Set(bool &ok, bool readBack, const QString &selection, const QStringList *values)
{
    if (!Alive) {
        ok = false;
        return 0;
    }
    DropReadAhead(); // a read from before the write may be out of date
    snmp_pdu *pdu = nullptr;
    {
        WriteScope scope(VarList, selection, values);
        for (int i = 0; i < VarList.Count(); ++i)
            ComputeDerivedValue(i, true);
        pdu = buildPdu(Write);
    }
    return exchange(ok, pdu, false, readBack);
}

// ---- asynchronous ---------------------------------------------------------

void VrSNMPRequest::sendAsync(snmp_pdu *pdu, VrSNMPCompletion done, void *data, bool read,
                              bool decodeAnswer)
{
    PduPtr owned(pdu);
    auto record = std::make_unique<VrSNMPAsyncRecord>(this, read, decodeAnswer, done, data);
    int snmpErr = SNMPERR_SUCCESS;
    snmp_pdu *raw = owned.release();
    bool out = false;
    try {
        out = send(record, raw, snmpErr) != nullptr;
    } catch (...) {
        snmp_free_pdu(raw);
        throw;
    }
    owned.reset(raw);
    if (out)
        return;
    // Nothing went out, so no answer will come back to count down Pending.
    bool ok = true;
    report(VrSNMPStatusMap::ErrorFromNetSnmp(snmpErr), ok);
}

void VrSNMPRequest::complete(VrSNMPAsyncRecord &record, VrSNMPError &error, const snmp_pdu *answer)
{
    if (record.chain) {
        chainAnswered(record, error, answer);
        countDown();
        return;
    }
    // An agent's error status to a GETBULK (tooBig above all): the step is
    // asked again with fewer rows, down to the one a get-next would fetch.
    bool first = false;
    if (Alive && record.read && answer && error.Code != VrOk
        && m_bulk.Retry(error.Code == VrErrTooBig, first)) {
        sendAsync(buildPdu(first ? FirstRead : NextRead), record.done, record.data, true, true);
        countDown();
        return;
    }
    error.Finished = true;
    if (answer && ((error.Code == VrOk && record.decode)
                   || (error.Code == VrErrNoSuchName && record.read && VarList.IsTable()))) {
        const int received = error.Code;
        // Called from Net-SNMP's C code: nothing may be thrown through it.
        try {
            bool ok = true;
            const Decoded decoded = decode(*answer, error.Code, true, ok);
            error.Finished = decoded.finished;
            if (decoded.problem.Code != VrOk) {
                error.Code = decoded.problem.Code;
                error.Message = decoded.problem.Message;
                error.Finished = true;
            } else if (error.Code != received) {
                error.Message = VrSNMPMessage(error.Code);
            }
        } catch (const VrSNMPException &e) {
            error.Code = e.Code();
            error.Message = e.Message();
            error.Finished = true;
        } catch (const VrCommonException &e) {
            error.Code = e.Code();
            error.Message = e.Message();
            error.Finished = true;
        }
    }
    if (Alive && record.done)
        record.done(record.data, error, VarList);
    countDown();
}

void VrSNMPRequest::countDown()
{
    --Pending;
}

void VrSNMPRequest::GetAsync(VrSNMPCompletion done, void *data, bool first)
{
    if (!Alive)
        return;
    bool ok = true;
    if (!checkListKind(ok))
        return;
    if (!first) {
        if (snmp_pdu *kept = keptRow()) {
            // The row is in already: no round trip, but it is handed over from
            // the event loop like an answer, never from inside this call.
            auto record = std::make_shared<VrSNMPAsyncRecord>(this, true, true, done, data);
            VrSNMPError error = VrSNMPErrorFromErrorStatus(0);
            error.AgentAddress = Address;
            error.AgentPort = Port;
            ++Pending;
            completeLater(record, error, kept);
            snmp_free_pdu(kept);
            return;
        }
        if (chainsOut() > 0) {
            // The walk's columns going on alone bring the row.
            ++Pending;
            m_chainDone = done;
            m_chainData = data;
            return;
        }
    }
    PduPtr pdu(buildPdu(first ? FirstRead : NextRead));
    if (std::unique_ptr<ReadAheadState> ahead = first ? takeReadAhead(*pdu) : nullptr) {
        ++Pending;
        if (ahead->slot.done) {
            // Handed over from the event loop like an answer, never from inside this call.
            completeLater(std::make_shared<VrSNMPAsyncRecord>(this, true, true, done, data), ahead->slot.error,
                          ahead->slot.answer.get());
            return;
        }
        // Still out: its answer comes to the caller as this read's.
        VrSNMPAsyncRecord *out = std::exchange(ahead->record, nullptr);
        out->sync = nullptr;
        out->done = done;
        out->data = data;
        out->decode = true;
        if (out->parked)
            ++m_parked;
        return;
    }
    sendAsync(pdu.release(), done, data, true, true);
}

void VrSNMPRequest::SetAsync(VrSNMPCompletion done, void *data, bool readBack,
                             const QString &selection, const QStringList *values)
{
    if (!Alive)
        return;
    DropReadAhead(); // a read from before the write may be out of date
    snmp_pdu *pdu = nullptr;
    {
        WriteScope scope(VarList, selection, values);
        for (int i = 0; i < VarList.Count(); ++i)
            ComputeDerivedValue(i, true);
        pdu = buildPdu(Write);
    }
    sendAsync(pdu, done, data, false, readBack);
}

// ---- values and expressions -----------------------------------------------

bool VrSNMPRequest::ValueFromVb(int position, const variable_list &vb)
{
    VrSNMPVarItem &item = VarList.Item(position);
    std::optional<QString> text = VrSNMPValue::FromVarbind(item.syntax, vb);
    if (!text)
        return false;
    item.value = item.options ? item.options->ValueToText(*text) : *text;
    return true;
}

void VrSNMPRequest::ValueToVb(int position, snmp_pdu *pdu, const std::vector<unsigned long> &name)
{
    const VrSNMPVarItem &item = VarList.Item(position);
    const QString raw = item.options ? item.options->TextToValue(item.value) : item.value;
    VrSNMPValue::AddToPdu(pdu, name, item.syntax, raw);
}

QString VrSNMPRequest::DecodeIndex(int position, const QString &index)
{
    VrSNMPVarItem &item = VarList.Item(position);
    const bool implied = position == VarList.keyCount - 1 && VarList.IsImplied(position);
    const auto arcs = VrSNMPValue::ParseOid(index);
    size_t pos = 0;
    const std::optional<QString> value =
        arcs ? VrSNMPValue::DecodeIndex(item.syntax, implied, *arcs, pos) : std::nullopt;
    if (!value)
        throw VrSNMPException(VrErrBadKeyCount);
    item.value = item.options ? item.options->ValueToText(*value) : *value;
    return VrSNMPValue::OidText(arcs->data() + pos, arcs->size() - pos);
}

void VrSNMPRequest::EncodeIndex(int position, QString &out)
{
    const VrSNMPVarItem &item = VarList.Item(position);
    const bool implied = position == VarList.keyCount - 1 && VarList.IsImplied(position);
    const QString raw = item.options ? item.options->TextToValue(item.value) : item.value;
    out = VrSNMPValue::EncodeIndex(item.syntax, implied, raw);
}

QString VrSNMPRequest::SubstituteVariables(const QString &marker, const QString &expression,
                                           bool quoteStrings)
{
    QString text = expression;
    qsizetype from = 0;
    while ((from = text.indexOf(marker, from)) >= 0) {
        qsizetype end = from + marker.size();
        while (end < text.size() && text.at(end).isDigit())
            ++end;
        if (end == from + marker.size()) {
            from = end; // a marker without digits stays as it is
            continue;
        }
        bool ok = false;
        const int position = QStringView(text).mid(from + marker.size(), end - from - marker.size()).toInt(&ok);
        if (!ok || position >= VarList.Count())
            throw VrSNMPException(VrErrBadSyntaxInExpression);
        const VrSNMPVarItem &item = VarList.Item(position);
        const QString value = item.options ? item.options->TextToValue(item.value) : item.value;
        if (value == VrSNMPValue::NullText())
            throw VrSNMPException(VrErrNullInExpression);

        QString operand;
        switch (item.syntax) {
        case 1: case 193: case 196:
            operand = value == QLatin1String("true") ? QStringLiteral("1") : QStringLiteral("0");
            break;
        case 2: case 65: case 66: case 70: case 71: case 72: case 194: case 195: case 197: case 198:
            operand = value;
            break;
        case VrSyntaxTimeTicks: {
            const auto ticks = VrSNMPValue::TimeTicksFromText(value);
            if (!ticks)
                throw VrSNMPException(VrErrBadSyntaxInExpression);
            operand = QString::number(*ticks);
            break;
        }
        case VrSyntaxDateTime8: {
            const auto day = VrSNMPValue::DayNumberFromText(value);
            if (!day)
                throw VrSNMPException(VrErrBadSyntaxInExpression);
            operand = QString::number(*day, 'g', 17);
            break;
        }
        default:
            if (!quoteStrings)
                throw VrSNMPException(VrErrBadSyntaxInExpression);
            operand = QLatin1Char('"') + value + QLatin1Char('"');
            break;
        }
        text.replace(from, end - from, operand);
        from += operand.size();
    }
    return text;
}

void VrSNMPRequest::ComputeDerivedValue(int position, bool beforeWrite)
{
    VrSNMPVarItem &item = VarList.Item(position);
    const QString &expression = beforeWrite ? item.writeExpression : item.readExpression;
    if (expression.isEmpty())
        return;
    const double result = EvaluateArithmetic(SubstituteVariables(QStringLiteral("$"), expression, false));
    // Out-of-range and NaN results clamp instead of overflowing the conversion.
    const auto whole = [result]() -> qint64 {
        if (std::isnan(result))
            return 0;
        return qint64(std::clamp(result, -9.2e18, 9.2e18));
    };
    const auto unsignedWhole = [&]() -> quint64 { return quint64(std::max<qint64>(whole(), 0)); };
    QString value;
    switch (item.syntax) {
    case VrSyntaxTruthValue:
        value = result != 0 ? QStringLiteral("true") : QStringLiteral("false");
        break;
    case VrSyntaxInteger:
        value = QString::number(whole());
        break;
    case VrSyntaxCounter32: case VrSyntaxGauge32: case VrSyntaxUnsigned32:
        value = QString::number(unsignedWhole());
        break;
    case VrSyntaxTimeTicks:
        value = VrSNMPValue::TimeTicksText(uint32_t(std::min<quint64>(unsignedWhole(), 0xffffffffULL)));
        break;
    case VrSyntaxCounter64:
        value = QString::number(unsignedWhole());
        break;
    case VrSyntaxReal:
        value = QString::number(result, 'g', QLocale::FloatingPointShortest);
        break;
    case VrSyntaxDateTime8:
        value = VrSNMPValue::DayNumberText(result);
        break;
    default:
        throw VrSNMPException(VrErrBadSyntaxInExpression);
    }
    item.value = item.options ? item.options->ValueToText(value) : value;
}

bool VrSNMPRequest::EvaluateCondition(const QString &expression)
{
    if (expression.isEmpty())
        return true;
    return EvaluateLogical(SubstituteVariables(QStringLiteral("$"), expression, true));
}

bool VrSNMPRequest::IsEndOfColumn(const QString &base, const QString &last, const QString &returned)
{
    if (!VarList.IsTable())
        return false;
    // Inside the column only when the returned OID continues the base at an
    // arc boundary (a plain prefix would take column 10 for column 1).
    const bool inColumn = returned.size() > base.size() + 1 && returned.startsWith(base)
                       && returned.at(base.size()) == QLatin1Char('.');
    return !inColumn || returned == last;
}
