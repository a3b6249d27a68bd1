#pragma once

#include "VrSNMPError.h"

// Net-SNMP reports failures as SNMPERR_* numbers (send and session calls,
// and the kind of a v3 report PDU). The error catalogue speaks the status
// numbers of the SNMP++ library the module was first written for, so every
// Net-SNMP number is first translated into that space here, in one table.
class VrSNMPStatusMap
{
public:
    // SNMP++-style status of a Net-SNMP SNMPERR_* number. Numbers the table
    // does not know become -1 ("Operation failed").
    static int StatusFromNetSnmp(int snmpErr);

    // The catalogue record (code and text) of a Net-SNMP SNMPERR_* number.
    static VrSNMPError ErrorFromNetSnmp(int snmpErr);
};
