#pragma once

#include <QHash>
#include <map>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

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
//
// A walk whose rows fill an answer after a few (a table of many columns)
// would take one round trip per few rows. Each column's walk is a chain of
// get-nexts of its own, so after the first answer every column goes on as a
// GETBULK of that column alone, all side by side: their answers are kept the
// same way and the walk's steps are served from them.
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
    // from the largest row seen. An answer of one row changes nothing. True
    // when the answer started the walk and its rows were kept.
    bool Keep(const snmp_pdu &answer, int columns);

    // Where each column of the walk that the first answer did not see to its
    // end goes on: the last OID it reached, the column (bases: each
    // readable item's base OID, in answer order) and the repetitions of
    // that column that fill a datagram (headerBytes: the message without its
    // varbinds). Columns that share a base go on once.
    struct Chain {
        QString from;
        QString base;
        int repetitions = 1;
    };
    std::vector<Chain> Chains(const QStringList &bases, int headerBytes) const;
    // Keeps a column's GETBULK answer (asked from `from`); the OID to go on
    // from, empty when the column ended in it.
    QString KeepChain(const snmp_pdu &answer, const QString &from, const QString &base);
    // Goes up whenever the rows kept are dropped: a column's answer to an
    // older walk is not kept.
    unsigned Generation() const { return m_generation; }
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
    std::vector<std::unique_ptr<Pdu>> m_answers;  // the answers whose varbinds are kept
    using Arcs = std::vector<unsigned long>;
    // Get-next of the key returns the value.
    QHash<QString, const variable_list *> m_next;
    // The same, by the key's arcs: get-next of any OID from the key up to (not
    // including) the value's name returns the value, since the agent has
    // nothing in between. Made when a step asks an OID that is no key.
    std::vector<std::pair<Arcs, const variable_list *>> m_facts;
    mutable std::map<Arcs, const variable_list *> m_ranges;
    void learn(const QString &asked, Arcs arcs, const variable_list *vb);
    int m_rowBytes = 0;   // the largest row of the last answer, encoded
    int m_sent = 0;       // max-repetitions of the last GETBULK; 0 when none is out
    bool m_sentFirst = false;
    int m_retry = 0;      // the repetitions of an error's retry
    int m_ceiling = 0;    // the largest repetitions an agent took after tooBig; 0: none
    unsigned m_generation = 0;
    int m_columns = 0;    // varbinds a row in the kept walk answer
};
