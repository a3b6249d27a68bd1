#include "VrSNMPStatusMap.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <gtest/gtest.h>

TEST(VrSNMPStatusMap, NetSnmpResultsReachTheCatalogueCodesAndTexts)
{
    struct Case {
        int netSnmp;
        int code;
        const char *text;
    };
    const Case cases[] = {
        {SNMPERR_SUCCESS, 0, "(VrSNMP++) Ok!"},
        {SNMPERR_TIMEOUT, -405, "(SNMPClass) SNMP request timed out!"},
        {SNMPERR_UNKNOWN_USER_NAME, -304, "(SNMPv3USM) Unknown SecurityName!"},
        {SNMPERR_USM_UNKNOWNSECURITYNAME, -304, "(SNMPv3USM) Unknown SecurityName!"},
        {SNMPERR_AUTHENTICATION_FAILURE, -308, "(SNMPv3USM) Authentication failure!"},
        {SNMPERR_USM_AUTHENTICATIONFAILURE, -308, "(SNMPv3USM) Authentication failure!"},
        {SNMPERR_DECRYPTION_ERR, -306, "(SNMPv3USM) Decryption error!"},
        {SNMPERR_NOT_IN_TIME_WINDOW, -311, "(SNMPv3USM) Message not in TimeWindow!"},
        {SNMPERR_UNKNOWN_ENG_ID, -310, "(SNMPv3USM) Unknown EngineID!"},
        {SNMPERR_UNSUPPORTED_SEC_LEVEL, -303, "(SNMPv3USM) Unsupported SecurityLevel!"},
        {SNMPERR_UNKNOWN_SEC_MODEL, -201, "(SNMPv3) Unsupported Security Model!"},
        {SNMPERR_BAD_ADDRESS, -418, "(SNMPClass) Invalid Address!"},
        {SNMPERR_BAD_PARSE, -411, "(SNMPClass) Invalid Pdu!"},
        {SNMPERR_GENERR, -401, "(SNMPClass) Operation failed!"},
        // A number the table does not know is a plain failure, never success.
        {-9999, -401, "(SNMPClass) Operation failed!"},
    };
    for (const Case &c : cases) {
        const VrSNMPError error = VrSNMPStatusMap::ErrorFromNetSnmp(c.netSnmp);
        EXPECT_EQ(error.Code, c.code) << c.netSnmp;
        EXPECT_EQ(error.Message, c.text) << c.netSnmp;
    }
}
