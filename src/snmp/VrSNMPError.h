#pragma once

#include <QString>
#include <cstdint>
#include <stdexcept>

class VrMessageTable;
class VrSNMPVarList;

// The record of one failure (or success, code 0) of the SNMP access layer.
struct VrSNMPError {
    int Code = 0;
    int ErrorIndex = 0;        // asynchronous answers only
    QString Message;
    QString AgentAddress;      // asynchronous answers only
    uint16_t AgentPort = 0;    // asynchronous answers only
    bool Finished = false;     // a table walk needs no further step
    uint64_t Sequence = 0;     // the raising request's ErrorCount; all ones for
                               // the binding layer's success record
};

// Raised while a request is being built (-509 .. -515) and by the session
// start (-506 .. -508): carries the catalogue text and the code.
class VrSNMPException : public std::runtime_error
{
public:
    VrSNMPException(int code, const QString &message)
        : std::runtime_error(message.toStdString()), m_code(code), m_message(message) {}
    explicit VrSNMPException(int code); // text from the catalogue
    int Code() const { return m_code; }
    const QString &Message() const { return m_message; }

private:
    int m_code;
    QString m_message;
};

// Module codes of the access layer.
enum VrSNMPCode : int {
    VrOk = 0,
    VrErrSessionCreate = -506,
    VrErrBootsLoad = -507,
    VrErrBootsSave = -508,
    VrErrInvalidAddress = -509,
    VrErrGetNextSingle = -510,
    VrErrBadSyntax = -511,
    VrErrNullInExpression = -512,
    VrErrBadSyntaxInExpression = -513,
    VrErrBadKeyCount = -514,
    VrErrBadListKind = -515,
    VrErrBadAssocItemType = -516,
    VrErrBadPartSyntax = -517,
    VrErrBadPartValue = -518,
    VrErrPartIndexRange = -519,
    VrErrNoOptionList = -520,
    VrErrBadControlType = -521,
    VrErrTooFewControls = -522,
    VrErrUnknown = -528,
    VrErrCancelled = -529, // the user left a synchronous exchange before it ended
    VrErrTimeout = -405,
    VrErrTooBig = -101,
    VrErrNoSuchName = -102,
};

// SNMP++-style status numbers the catalogue maps (the engine first maps
// Net-SNMP's results into this space).
enum VrSNMPStatus : int {
    VrStatusSuccess = 0,
    VrStatusTimeout = -5,
    VrStatusSessionDestroyed = -8,
};

// Catalogue: module code and text of an SNMP++-style status (statuses 0,
// 1400 and -1401 are success; anything outside the families is -528).
VrSNMPError VrSNMPErrorFromStatus(int status);
// Catalogue: module code and text of a PDU error status 1..19 (0 = success;
// any other status is -528).
VrSNMPError VrSNMPErrorFromErrorStatus(int errorStatus);
// Text of a module code (0, -101..-119, -201..-217, -301..-314, -401..-423,
// -501..-528); the text of -528 for any other code.
QString VrSNMPMessage(int code);

// Status line: template 0 for reads, 1 for writes, with [ERROR], [VARLIST]
// and [TIME] filled in (the caller formats the time). Without a description
// the text from just after [ERROR] up to the first [VARLIST] after it goes;
// inserted texts are never scanned for tags.
QString VrSNMPStatusLine(bool write, const QString &errorText, const QString &description,
                         const QString &timeText);

// The message families, each replaceable from its file in a message directory.
VrMessageTable &VrSNMPMessages();      // "snmp.err"      agent error status
VrMessageTable &VrSNMPv3Messages();    // "snmpv3.err"
VrMessageTable &VrSNMPUsmMessages();   // "snmpusm.err"
VrMessageTable &VrSNMPClassMessages(); // "snmpclass.err"
VrMessageTable &VrSNMPLayerMessages(); // "vrsnmp.err"
VrMessageTable &VrSNMPStatusTemplates(); // "snmp.msg"
// Loads every family (including the common one, "common.err") from the files
// of a directory; files that are missing or empty change nothing.
void VrLoadMessageFiles(const QString &directory);
