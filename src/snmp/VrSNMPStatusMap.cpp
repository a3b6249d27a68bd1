#include "VrSNMPStatusMap.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

namespace {

// SNMP++ status numbers used below.
enum : int {
    ClassError = -1,
    ClassResourceUnavailable = -2,
    ClassTimeout = -5,
    ClassInvalid = -10,
    ClassInvalidPdu = -11,
    ClassInvalidOid = -17,
    ClassInvalidAddress = -18,
    ClassTransportFailed = -22,
    MpUnsupportedSecurityModel = -1402,
    MpInvalidMessage = -1405,
    UsmError = 1401,
    UsmUnsupportedSecurityLevel = 1403,
    UsmUnknownSecurityName = 1404,
    UsmEncryptionError = 1405,
    UsmDecryptionError = 1406,
    UsmAuthenticationFailure = 1408,
    UsmParseError = 1409,
    UsmUnknownEngineId = 1410,
    UsmNotInTimeWindow = 1411,
};

struct StatusRow {
    int netSnmp;
    int status;
};

// Net-SNMP reports most USM failures twice over: once as the kind of a report
// PDU received from the agent (SNMPERR_UNKNOWN_USER_NAME ...) and once from
// its own security module (SNMPERR_USM_...); both land on the same status.
constexpr StatusRow kRows[] = {
    {SNMPERR_SUCCESS, 0},
    {SNMPERR_TIMEOUT, ClassTimeout},
    {SNMPERR_GENERR, ClassError},
    {SNMPERR_ABORT, ClassError},
    {SNMPERR_MALLOC, ClassResourceUnavailable},
    {SNMPERR_BAD_SESSION, ClassInvalid},
    {SNMPERR_BAD_ADDRESS, ClassInvalidAddress},
    {SNMPERR_BAD_LOCPORT, ClassTransportFailed},
    {SNMPERR_NO_SOCKET, ClassTransportFailed},
    {SNMPERR_BAD_SENDTO, ClassTransportFailed},
    {SNMPERR_BAD_RECVFROM, ClassTransportFailed},
    {SNMPERR_TOO_LONG, ClassInvalidPdu},
    {SNMPERR_BAD_ASN1_BUILD, ClassInvalidPdu},
    {SNMPERR_BAD_PARSE, ClassInvalidPdu},
    {SNMPERR_ASN_PARSE_ERR, ClassInvalidPdu},
    {SNMPERR_UNKNOWN_PDU, ClassInvalidPdu},
    {SNMPERR_NULL_PDU, ClassInvalidPdu},
    {SNMPERR_NO_VARS, ClassInvalidPdu},
    {SNMPERR_VAR_TYPE, ClassInvalidPdu},
    {SNMPERR_V2_IN_V1, ClassInvalidPdu},
    {SNMPERR_BAD_NAME, ClassInvalidOid},
    {SNMPERR_LONG_OID, ClassInvalidOid},
    {SNMPERR_BAD_SUBID, ClassInvalidOid},
    {SNMPERR_UNKNOWN_OBJID, ClassInvalidOid},
    {SNMPERR_UNKNOWN_SEC_MODEL, MpUnsupportedSecurityModel},
    {SNMPERR_INVALID_MSG, MpInvalidMessage},
    {SNMPERR_USM_GENERICERROR, UsmError},
    {SNMPERR_UNSUPPORTED_SEC_LEVEL, UsmUnsupportedSecurityLevel},
    {SNMPERR_USM_UNSUPPORTEDSECURITYLEVEL, UsmUnsupportedSecurityLevel},
    {SNMPERR_BAD_SEC_LEVEL, UsmUnsupportedSecurityLevel},
    {SNMPERR_UNKNOWN_USER_NAME, UsmUnknownSecurityName},
    {SNMPERR_USM_UNKNOWNSECURITYNAME, UsmUnknownSecurityName},
    {SNMPERR_BAD_SEC_NAME, UsmUnknownSecurityName},
    {SNMPERR_USM_ENCRYPTIONERROR, UsmEncryptionError},
    {SNMPERR_DECRYPTION_ERR, UsmDecryptionError},
    {SNMPERR_USM_DECRYPTIONERROR, UsmDecryptionError},
    {SNMPERR_AUTHENTICATION_FAILURE, UsmAuthenticationFailure},
    {SNMPERR_USM_AUTHENTICATIONFAILURE, UsmAuthenticationFailure},
    {SNMPERR_USM_PARSEERROR, UsmParseError},
    {SNMPERR_UNKNOWN_ENG_ID, UsmUnknownEngineId},
    {SNMPERR_USM_UNKNOWNENGINEID, UsmUnknownEngineId},
    {SNMPERR_BAD_ENG_ID, UsmUnknownEngineId},
    {SNMPERR_NOT_IN_TIME_WINDOW, UsmNotInTimeWindow},
    {SNMPERR_USM_NOTINTIMEWINDOW, UsmNotInTimeWindow},
};

} // namespace

int VrSNMPStatusMap::StatusFromNetSnmp(int snmpErr)
{
    for (const StatusRow &row : kRows) {
        if (row.netSnmp == snmpErr)
            return row.status;
    }
    return ClassError;
}

VrSNMPError VrSNMPStatusMap::ErrorFromNetSnmp(int snmpErr)
{
    return VrSNMPErrorFromStatus(StatusFromNetSnmp(snmpErr));
}
