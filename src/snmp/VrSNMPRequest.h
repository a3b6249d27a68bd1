#pragma once

#include "VrSNMPBulkRows.h"
#include "VrSNMPError.h"
#include "VrSNMPVarList.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <set>
#include <vector>

#include <memory>

struct variable_list;
struct snmp_pdu;
struct VrSNMPAsyncRecord;
struct VrSNMPSessionTarget;

// Completion of an asynchronous request, called on the GUI thread from the
// event loop (never from inside Net-SNMP's processing of the answer) with the
// caller's data pointer (the binding object, the main window ...), the error
// record (Code 0 on success; Finished when a table walk needs no further
// step) and the request's variable list holding this answer's values.
using VrSNMPCompletion = void (*)(void *data, VrSNMPError &error, VrSNMPVarList &list);

// One SNMP exchange unit: a copy of the agent target and security records
// and one variable list that is read (get, get-next, table walks one row per
// step) or written (set), synchronously or asynchronously. On SNMPv2c and v3
// a walk fetches its rows with GETBULK, as many as fit one datagram, and
// serves the steps whose row is already in from them without a round trip.
//
// Errors found while the request is built (-509 .. -515) are raised as
// VrSNMPException. Errors of a synchronous exchange go to OnError, counted
// in ErrorCount, and clear the caller's ok flag (which is otherwise left as
// it was). Errors of an asynchronous exchange travel in the record handed to
// the completion function (a failed SNMPv3 engine-ID discovery too); only a
// send that fails at once (no session) goes to OnError, and then no
// completion follows.
//
// Nothing blocks the GUI thread: a synchronous exchange goes out like an
// asynchronous one and handles events until it is answered, letting in no
// input but leaving (SnmpEventProcessor::RunWait); a wait the user leaves ends with
// -529 "cancelled". An SNMPv3 agent's engine ID is discovered asynchronously
// before the first exchange with it, and checked again when an exchange goes
// unanswered for a second: what is out to a replaced device goes out again
// for its engine ID. Each request talks on sessions of its
// own, so that its exchanges end for good when it is cancelled or destroyed.
class VrSNMPRequest
{
public:
    // Copies the global target records as they are now.
    VrSNMPRequest();
    // Ends every exchange still out at once (Cancel): nothing of this request
    // is sent afterwards and no completion function runs.
    virtual ~VrSNMPRequest();
    VrSNMPRequest(const VrSNMPRequest &) = delete;
    VrSNMPRequest &operator=(const VrSNMPRequest &) = delete;

    // Reads the readable items: first = true starts (get, or get-next on the
    // columns of a table), first = false continues a table walk. Returns 1
    // when a table step produced a row and the walk may go on, else 0.
    int Get(bool &ok, bool first);
    void GetAsync(VrSNMPCompletion done, void *data, bool first);
    // Writes the writable items, or, with a selection such as "0,2", only the
    // listed items, the k-th taking the k-th text of values when given. The
    // list keeps its own values and marks afterwards. With readBack the
    // answer is decoded like a read.
    int Set(bool &ok, bool readBack, const QString &selection, const QStringList *values);
    void SetAsync(VrSNMPCompletion done, void *data, bool readBack, const QString &selection,
                  const QStringList *values);

    // "$n" (n: decimal item position) replaced by item n's raw value as an
    // expression operand; texts are quoted when quoteStrings, else -513.
    virtual QString SubstituteVariables(const QString &marker, const QString &expression,
                                        bool quoteStrings);
    // Takes key item `position`'s value from the front of a row index and
    // returns the rest of the index; -514 when the index runs out.
    virtual QString DecodeIndex(int position, const QString &index);
    // The dotted index arcs of key item `position`.
    virtual void EncodeIndex(int position, QString &out);
    // Stores a varbind's value as the item's text; false (item unchanged)
    // when the varbind's type does not fit the item's syntax.
    virtual bool ValueFromVb(int position, const variable_list &vb);
    // Appends the item's value to a PDU under the given OID.
    virtual void ValueToVb(int position, snmp_pdu *pdu, const std::vector<unsigned long> &name);
    // Evaluates the item's write (beforeWrite) or read expression into its value.
    virtual void ComputeDerivedValue(int position, bool beforeWrite);
    // A logical expression over item values; the empty expression holds.
    virtual bool EvaluateCondition(const QString &expression);
    // Whether a walk step left the column (tables only).
    virtual bool IsEndOfColumn(const QString &base, const QString &last, const QString &returned);

    // Sends the first read of the list now (what Get(ok, true) would send)
    // and keeps its answer for the Get, GetAsync or Load that asks the same
    // again: the reads of groups that do not depend on each other go out
    // together while their answers are taken one after the other in the
    // caller's order. A later first read that asks for something else (an
    // earlier answer changed the list's OIDs) drops it and goes out itself,
    // as does a write. Errors travel with the answer to the read that takes it.
    void ReadAhead();
    // Drops an answer read ahead that nobody took; its exchange, if still
    // out, ends unheard.
    void DropReadAhead();

    // Ends every exchange of this request now (the user cancelled): its
    // sessions close, so Net-SNMP retransmits nothing more; each asynchronous
    // exchange's completion runs later from the event loop with -529
    // "cancelled". The request stays usable.
    void Cancel();

    std::function<void(VrSNMPError &)> OnError; // may be empty: errors are then only counted
    bool UseGetNext = false;
    unsigned Timeout;  // hundredths of a second
    int Retries;
    QString Address;
    uint16_t Port;
    QString ContextEngineID;
    QString ContextName;
    uint8_t Version;
    QString ReadCommunity;
    QString WriteCommunity;
    int SecurityModel; // SNMP++ numbering; SNMPv3 always uses USM here
    int SecurityLevel;
    QString SecurityName;
    QString AuthPassword;
    QString PrivPassword;
    int AuthProtocol;
    int PrivProtocol;
    VrSNMPVarList VarList;
    QString Condition; // evaluated by the binding layer after each table row
    // Whom the exchanges belong to (a binder's page): the wait guard shows
    // waits there and refuses them once the owner is being left.
    QPointer<QObject> Owner;

    bool Alive = true;       // false once destruction began
    int Pending = 0;         // asynchronous exchanges out
    uint64_t ErrorCount = 0; // errors raised so far; the sequence of the last one
    int LastError = 0;       // the code of the last error raised

private:
    friend struct VrSNMPAsyncRecord;
    enum Mode { FirstRead, NextRead, Write };
    struct Decoded {
        bool finished = true;
        VrSNMPError problem; // Code != 0 when the answer could not be taken
    };

    VrSNMPSessionTarget target() const;
    VrSNMPAsyncRecord *send(std::unique_ptr<VrSNMPAsyncRecord> &record, snmp_pdu *&pdu, int &snmpErr);
    void discovered(std::unique_ptr<VrSNMPAsyncRecord> record, int snmpErr);
    void suspectLater(VrSNMPAsyncRecord *record);
    void resendLater(VrSNMPAsyncRecord *record);
    QString baseOid(int position) const;
    QString rowIndexOid();
    snmp_pdu *newPdu(int command, bool write);
    int headerBytes() const;
    snmp_pdu *buildPdu(Mode mode);
    void startChains();
    void sendChain(const QString &from, const QString &base, int repetitions);
    void chainAnswered(const VrSNMPAsyncRecord &record, const VrSNMPError &error, const snmp_pdu *answer);
    int chainsOut() const { return m_chainGeneration == m_bulk.Generation() ? m_chainsOut : 0; }
    bool waitForChains(bool &ok);
    Decoded decode(const snmp_pdu &answer, int &code, bool async, bool &ok);
    int exchange(bool &ok, snmp_pdu *pdu, bool read, bool decodeAnswer);
    int take(const snmp_pdu &answer, int code, bool &ok);
    snmp_pdu *keptRow() const;
    void sendAsync(snmp_pdu *pdu, VrSNMPCompletion done, void *data, bool read, bool decodeAnswer);
    void complete(VrSNMPAsyncRecord &record, VrSNMPError &error, const snmp_pdu *answer);
    void countDown();
    void endExchanges();
    void completeLater(std::shared_ptr<VrSNMPAsyncRecord> record, VrSNMPError error, const snmp_pdu *answer);
    void report(VrSNMPError error, bool &ok);
    bool checkListKind(bool &ok);

    struct ReadAheadState;
    std::unique_ptr<ReadAheadState> takeReadAhead(const snmp_pdu &asked);

    std::set<VrSNMPAsyncRecord *> m_outstanding;
    std::unique_ptr<ReadAheadState> m_ahead; // a first read sent ahead, not yet taken
    // Points at this request until it is destroyed; queued completions hold a copy.
    std::shared_ptr<VrSNMPRequest *> m_self = std::make_shared<VrSNMPRequest *>(this);
    int m_parked = 0;       // asynchronous exchanges waiting for an engine-ID discovery or to go out again
    VrSNMPBulkRows m_bulk;  // rows of the walk already in
    // The walk's columns going on side by side (VrSNMPBulkRows::Chains).
    unsigned m_chainGeneration = 0; // the walk they belong to
    int m_chainsOut = 0;
    bool *m_chainWait = nullptr; // a synchronous step waits for them: set when one answers
    VrSNMPCompletion m_chainDone = nullptr; // an asynchronous step waits for them
    void *m_chainData = nullptr;
    bool m_waiting = false; // a synchronous exchange waits for its answer
    bool m_cancelling = false; // Cancel runs: asynchronous completions are told
};
