#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

struct snmp_pdu;
struct variable_list;
class VrSNMPVarList;

// The rows of a table walk that one GETBULK answer brought beyond the step it
// was asked for, and the max-repetitions of the walk's next GETBULK.
//
// A walk step asks get-next of each column's instance OID. The answer to a
// GETBULK of those OIDs holds, for each column, the next OID, the one after
// it and so on: the k-th varbind of a repetition is what a get-next of the
// k-th varbind of the repetition before would return. Kept as "get-next of X
// returns Y", a later step is served when every OID it asks for is known, and
// it gets exactly the varbinds a get-next would have brought.
class VrSNMPBulkRows
{
public:
    // The largest answer asked for: an Ethernet frame less the IP and UDP headers.
    static constexpr int kDatagramBytes = 1472;

    VrSNMPBulkRows();
    ~VrSNMPBulkRows();
    VrSNMPBulkRows(const VrSNMPBulkRows &) = delete;
    VrSNMPBulkRows &operator=(const VrSNMPBulkRows &) = delete;

    // The max-repetitions of a GETBULK of the list's readable columns that
    // starts a walk (first) or continues it; headerBytes: the message
    // without its varbinds. Drops the rows kept: a new exchange goes out.
    int Ask(const VrSNMPVarList &list, bool first, int headerBytes);
    // A read that is not a GETBULK goes out: the rows kept are dropped.
    void Forget();
    // Keeps the rows of a GETBULK answer beyond its first (columns: the
    // readable items, one varbind each per row) and sizes the next request
    // from the largest row seen. An answer of one row changes nothing.
    void Keep(const snmp_pdu &answer, int columns);
    // What a get-next of these OIDs would answer, built from the rows kept;
    // null when one of them is not known.
    snmp_pdu *Next(const QStringList &oids) const;

    // After an answer with an error status to the last GETBULK: whether the
    // step is to be asked again with half the repetitions (it had more than
    // one), and whether it started the walk. A tooBig also keeps later
    // requests of this walk's columns at that size.
    bool Retry(bool tooBig, bool &first);

private:
    struct Pdu;
    std::unique_ptr<Pdu> m_answer;                 // the answer whose varbinds are kept
    QHash<QString, const variable_list *> m_next; // get-next of the key returns the value
    int m_rowBytes = 0;   // the largest row of the last answer, encoded
    int m_sent = 0;       // max-repetitions of the last GETBULK; 0 when none is out
    bool m_sentFirst = false;
    int m_retry = 0;      // the repetitions of an error's retry
    int m_ceiling = 0;    // the largest repetitions an agent took after tooBig; 0: none
};
