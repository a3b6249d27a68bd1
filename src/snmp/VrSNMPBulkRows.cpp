#include "VrSNMPBulkRows.h"

#include "VrSNMPValue.h"
#include "VrSNMPVarList.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

// BER sizes, for sizing answers: a tag, a length and the contents.
int tlv(int content)
{
    return 1 + (content < 128 ? 1 : content < 256 ? 2 : 3) + content;
}

int arcBytes(unsigned long arc)
{
    int bytes = 1;
    while (arc >>= 7)
        ++bytes;
    return bytes;
}

int oidBytes(const oid *arcs, size_t count)
{
    if (count < 2)
        return 1;
    int bytes = 1; // the first two arcs share one byte
    for (size_t i = 2; i < count; ++i)
        bytes += arcBytes(arcs[i]);
    return bytes;
}

// Contents of an INTEGER (two's complement, shortest) and of the unsigned
// 32-bit types (a leading zero byte when the top bit is set).
int integerBytes(long value)
{
    int bytes = 1;
    while (value > 127 || value < -128) {
        value >>= 8;
        ++bytes;
    }
    return bytes;
}

int unsignedBytes(unsigned long value)
{
    int bytes = 1;
    while (value > 127) {
        value >>= 8;
        ++bytes;
    }
    return bytes;
}

int encodedSize(const variable_list &vb)
{
    int value = 0;
    switch (vb.type) {
    case ASN_INTEGER:
        value = vb.val.integer ? integerBytes(*vb.val.integer) : 1;
        break;
    case ASN_COUNTER: case ASN_GAUGE: case ASN_TIMETICKS: case ASN_UINTEGER:
        value = vb.val.integer ? unsignedBytes(static_cast<unsigned long>(*vb.val.integer) & 0xffffffffUL) : 1;
        break;
    case ASN_COUNTER64:
        value = 9;
        break;
    case ASN_OBJECT_ID:
        value = oidBytes(vb.val.objid, vb.val_len / sizeof(oid));
        break;
    case ASN_NULL: case SNMP_NOSUCHOBJECT: case SNMP_NOSUCHINSTANCE: case SNMP_ENDOFMIBVIEW:
        break;
    default:
        value = int(vb.val_len);
        break;
    }
    return tlv(tlv(oidBytes(vb.name, vb.name_length)) + tlv(value));
}

// Expected value bytes of an item's syntax; texts are taken as 32 bytes.
int expectedValueBytes(int syntax)
{
    switch (syntax) {
    case VrSyntaxNull: return 0;
    case VrSyntaxIpAddress: case VrSyntaxAddress: return 4;
    case VrSyntaxMacAddress: return 6;
    case VrSyntaxReal: case VrSyntaxDateTime8: return 8;
    case VrSyntaxCounter64: return 9;
    case VrSyntaxDateAndTime: return 11;
    case VrSyntaxOid: return 16;
    case VrSyntaxOctetHex: case VrSyntaxOctetHex2: case VrSyntaxOpaque: case VrSyntaxDisplayString: return 32;
    default: return 5;
    }
}

// Expected bytes of a row index: the key items' arcs (a text key as 16 characters).
int expectedIndexBytes(const VrSNMPVarList &list)
{
    int bytes = 0;
    for (int k = 0; k < list.keyCount && k < list.Count(); ++k) {
        switch (list.Item(k).syntax) {
        case VrSyntaxIpAddress: case VrSyntaxAddress: bytes += 8; break;
        case VrSyntaxMacAddress: bytes += 12; break;
        case VrSyntaxReal: case VrSyntaxDateTime8: case VrSyntaxCounter64: bytes += 10; break;
        case VrSyntaxDateAndTime: bytes += 22; break;
        case VrSyntaxOid: case VrSyntaxOctetHex: case VrSyntaxOctetHex2: case VrSyntaxOpaque:
        case VrSyntaxDisplayString: bytes += 17; break;
        default: bytes += 2; break;
        }
    }
    return std::max(bytes, 2);
}

int expectedRowBytes(const VrSNMPVarList &list)
{
    const int index = expectedIndexBytes(list);
    int bytes = 0;
    for (int i = 0; i < list.Count(); ++i) {
        if (!list.IsReadable(i))
            continue;
        const VrSNMPVarItem &item = list.Item(i);
        const QString base = list.instanceSuffix.isEmpty() ? item.oid : item.oid + QLatin1Char('.') + list.instanceSuffix;
        const auto arcs = VrSNMPValue::ParseOid(base);
        int name = index;
        if (arcs) {
            std::vector<oid> wire(arcs->begin(), arcs->end());
            name += oidBytes(wire.data(), wire.size());
        }
        bytes += tlv(tlv(name) + tlv(expectedValueBytes(item.syntax)));
    }
    return std::max(bytes, 1);
}

} // namespace

struct VrSNMPBulkRows::Pdu {
    explicit Pdu(snmp_pdu *pdu) : pdu(pdu) {}
    ~Pdu() { snmp_free_pdu(pdu); }
    Pdu(const Pdu &) = delete;
    Pdu &operator=(const Pdu &) = delete;
    snmp_pdu *pdu;
};

VrSNMPBulkRows::VrSNMPBulkRows() = default;
VrSNMPBulkRows::~VrSNMPBulkRows() = default;

int VrSNMPBulkRows::Ask(const VrSNMPVarList &list, bool first, int headerBytes)
{
    Forget();
    int repetitions = std::exchange(m_retry, 0);
    if (repetitions == 0) {
        const int rowBytes = m_rowBytes > 0 ? m_rowBytes : expectedRowBytes(list);
        repetitions = std::max(1, (kDatagramBytes - headerBytes) / rowBytes);
        if (m_ceiling > 0)
            repetitions = std::min(repetitions, m_ceiling);
    }
    m_sent = repetitions;
    m_sentFirst = first;
    return repetitions;
}

void VrSNMPBulkRows::Forget()
{
    if (!m_next.empty() || !m_answers.empty() || m_sent != 0)
        ++m_generation;
    m_next.clear();
    m_facts.clear();
    m_ranges.clear();
    m_answers.clear();
    m_sent = 0;
}

bool VrSNMPBulkRows::Keep(const snmp_pdu &answer, int columns)
{
    if (m_sent == 0 || columns <= 0)
        return false; // not the answer to a GETBULK (a write's read-back, say)
    std::vector<const variable_list *> vbs;
    for (const variable_list *vb = answer.variables; vb; vb = vb->next_variable)
        vbs.push_back(vb);
    if (int(vbs.size()) <= columns)
        return false;
    m_answers.clear();
    m_answers.push_back(std::make_unique<Pdu>(snmp_clone_pdu(const_cast<snmp_pdu *>(&answer))));
    vbs.clear();
    for (const variable_list *vb = m_answers.back()->pdu->variables; vb; vb = vb->next_variable)
        vbs.push_back(vb);
    m_next.clear();
    m_facts.clear();
    m_ranges.clear();
    m_columns = columns;
    int largest = 0;
    int row = 0;
    for (size_t j = 0; j < vbs.size(); ++j) {
        row += encodedSize(*vbs[j]);
        if ((j + 1) % size_t(columns) == 0) {
            largest = std::max(largest, row);
            row = 0;
        }
        if (j >= size_t(columns)) {
            const variable_list *before = vbs[j - size_t(columns)];
            learn(VrSNMPValue::OidText(before->name, before->name_length),
                  Arcs(before->name, before->name + before->name_length), vbs[j]);
        }
    }
    if (largest > 0)
        m_rowBytes = largest;
    return m_sentFirst;
}

std::vector<VrSNMPBulkRows::Chain> VrSNMPBulkRows::Chains(const QStringList &bases, int headerBytes) const
{
    std::vector<Chain> chains;
    if (m_answers.size() != 1 || bases.size() != m_columns)
        return chains;
    std::vector<const variable_list *> vbs;
    for (const variable_list *vb = m_answers.front()->pdu->variables; vb; vb = vb->next_variable)
        vbs.push_back(vb);
    const size_t columns = size_t(m_columns);
    const size_t rows = vbs.size() / columns;
    for (size_t c = 0; c < columns; ++c) {
        const QString &base = bases[qsizetype(c)];
        if (std::any_of(chains.begin(), chains.end(), [&](const Chain &k) { return k.base == base; }))
            continue;
        const variable_list *last = vbs[(rows - 1) * columns + c];
        const QString from = VrSNMPValue::OidText(last->name, last->name_length);
        if (last->type == SNMP_ENDOFMIBVIEW || last->type == SNMP_NOSUCHOBJECT
            || last->type == SNMP_NOSUCHINSTANCE || !from.startsWith(base + QLatin1Char('.')))
            continue; // this column ended in the first answer
        int largest = 1;
        for (size_t r = 0; r < rows; ++r)
            largest = std::max(largest, encodedSize(*vbs[r * columns + c]));
        int repetitions = std::max(1, (kDatagramBytes - headerBytes) / largest);
        if (m_ceiling > 0)
            repetitions = std::min(repetitions, m_ceiling * m_columns);
        chains.push_back({from, base, repetitions});
    }
    // A single column goes on as the walk itself does.
    if (chains.size() < 2)
        chains.clear();
    return chains;
}

QString VrSNMPBulkRows::KeepChain(const snmp_pdu &answer, const QString &from, const QString &base)
{
    m_answers.push_back(std::make_unique<Pdu>(snmp_clone_pdu(const_cast<snmp_pdu *>(&answer))));
    const auto start = VrSNMPValue::ParseOid(from);
    if (!start)
        return {};
    Arcs asked = *start;
    QString before = from;
    for (const variable_list *vb = m_answers.back()->pdu->variables; vb; vb = vb->next_variable) {
        learn(before, asked, vb);
        asked.assign(vb->name, vb->name + vb->name_length);
        before = VrSNMPValue::OidText(vb->name, vb->name_length);
        if (vb->type == SNMP_ENDOFMIBVIEW || vb->type == SNMP_NOSUCHOBJECT || vb->type == SNMP_NOSUCHINSTANCE
            || !before.startsWith(base + QLatin1Char('.')))
            return {};
    }
    return before == from ? QString() : before;
}

void VrSNMPBulkRows::learn(const QString &asked, Arcs arcs, const variable_list *vb)
{
    // An agent's get-next goes forward; anything else is not a fact to serve from.
    if (!std::lexicographical_compare(arcs.begin(), arcs.end(), vb->name, vb->name + vb->name_length))
        return;
    m_next.insert(asked, vb);
    m_facts.emplace_back(std::move(arcs), vb);
    m_ranges.clear();
}

snmp_pdu *VrSNMPBulkRows::Next(const QStringList &oids) const
{
    if (m_next.empty() || oids.isEmpty())
        return nullptr;
    std::vector<const variable_list *> found;
    for (const QString &name : oids) {
        if (const auto exact = m_next.constFind(name); exact != m_next.constEnd()) {
            found.push_back(exact.value());
            continue;
        }
        const auto arcs = VrSNMPValue::ParseOid(name);
        if (!arcs)
            return nullptr;
        if (m_ranges.empty())
            m_ranges.insert(m_facts.begin(), m_facts.end());
        auto it = m_ranges.upper_bound(*arcs);
        if (it == m_ranges.begin())
            return nullptr;
        --it; // the last fact asked at or before the name
        const variable_list *vb = it->second;
        if (!std::lexicographical_compare(arcs->begin(), arcs->end(), vb->name, vb->name + vb->name_length))
            return nullptr; // the name lies beyond what that answer covers
        found.push_back(vb);
    }
    snmp_pdu *pdu = snmp_pdu_create(SNMP_MSG_RESPONSE);
    for (const variable_list *vb : found)
        snmp_pdu_add_variable(pdu, vb->name, vb->name_length, vb->type, vb->val.string, vb->val_len);
    return pdu;
}

bool VrSNMPBulkRows::Retry(bool tooBig, bool &first)
{
    const int sent = std::exchange(m_sent, 0);
    if (sent <= 1)
        return false;
    m_retry = sent / 2;
    if (tooBig)
        m_ceiling = m_retry;
    first = m_sentFirst;
    return true;
}
