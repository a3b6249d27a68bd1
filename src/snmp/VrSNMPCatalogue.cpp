// Built-in English texts of the SNMP message families; each family can be
// replaced as a whole by its file in a message directory.
#include "VrSNMPError.h"

#include "VrMessageTable.h"

VrMessageTable &VrSNMPMessages()
{
    static VrMessageTable table{
        "(SNMP) Response PDU Too Big!",
        "(SNMP) Variable does not exist!",
        "(SNMP) Cannot modify variable: Bad Value!",
        "(SNMP) Cannot modify object, Read Only!",
        "(SNMP) Cannot perform operation, General Error!",
        "(SNMP) Cannot access variable, No Access!",
        "(SNMP) Cannot create/modify variable, Wrong Type!",
        "(SNMP) Cannot create/set variable, Wrong Length!",
        "(SNMP) Cannot create/set variable, Wrong Encoding!",
        "(SNMP) Cannot create/set variable, Wrong Value!",
        "(SNMP) Cannot create variable, Creation Not Allowed!",
        "(SNMP) Cannot create/set variable, Inconsistent Value!",
        "(SNMP) Cannot create/set variable, Resource Unavailable!",
        "(SNMP) Cannot create/set variable, Commit Failed!",
        "(SNMP) Cannot create/set variable, Undo Failed!",
        "(SNMP) Cannot perform operation, Authorization Error!",
        "(SNMP) Cannot create/set variable, Not Writable!",
        "(SNMP) Cannot create variable, Inconsistent Name!",
        "(SNMP) Cannot download the overdue firmware!",
    };
    return table;
}

VrMessageTable &VrSNMPv3Messages()
{
    static VrMessageTable table{
        "(SNMPv3) Unsupported Security Model!",
        "(SNMPv3) Message not in Time Window!",
        "(SNMPv3) Received same Message twice!",
        "(SNMPv3) Invalid Message!",
        "(SNMPv3) Invalid EngineID!",
        "(SNMPv3) v3MP not initialized!",
        "(SNMPv3) Parse Error!",
        "(SNMPv3) Received Message with unknown MsgID!",
        "(SNMPv3) Message does not match known message!",
        "(SNMPv3) Community format error!",
        "(SNMPv3) Unknown UserName!",
        "(SNMPv3) Build error!",
        "(SNMPv3) USM: error!",
        "(SNMPv3) Unknown pdu handlers!",
        "(SNMPv3) Unavailable Context!",
        "(SNMPv3) Unknown Context!",
        "(SNMPv3) Report sent!",
    };
    return table;
}

VrMessageTable &VrSNMPUsmMessages()
{
    static VrMessageTable table{
        "(SNMPv3USM) error!",
        "(SNMPv3USM) Configfile write error!",
        "(SNMPv3USM) Unsupported SecurityLevel!",
        "(SNMPv3USM) Unknown SecurityName!",
        "(SNMPv3USM) Encryption error!",
        "(SNMPv3USM) Decryption error!",
        "(SNMPv3USM) Authentication error!",
        "(SNMPv3USM) Authentication failure!",
        "(SNMPv3USM) Parse error!",
        "(SNMPv3USM) Unknown EngineID!",
        "(SNMPv3USM) Message not in TimeWindow!",
        "(SNMPv3USM) Unsupported AuthProtocol!",
        "(SNMPv3USM) Unsupported PrivProtocol!",
        "(SNMPv3USM) Address error!",
    };
    return table;
}

VrMessageTable &VrSNMPClassMessages()
{
    static VrMessageTable table{
        "(SNMPClass) Operation failed!",
        "(SNMPClass) Resource unavailable!",
        "(SNMPClass) Internal error!",
        "(SNMPClass) Unsupported function!",
        "(SNMPClass) SNMP request timed out!",
        "(SNMPClass) Received SNMP Response!",
        "(SNMPClass) Received SNMP Notification (trap or inform)!",
        "(SNMPClass) Closing session with outstanding requests!",
        "(SNMPClass)Unknown error code!",
        "(SNMPClass) Class not valid!",
        "(SNMPClass) Invalid Pdu!",
        "(SNMPClass) Invalid Target!",
        "(SNMPClass) Invalid (null) Callback Function!",
        "(SNMPClass) Invalid Request Id!",
        "(SNMPClass) Invalid Notification Id!",
        "(SNMPClass) SNMP Operation not supported on specified Target!",
        "(SNMPClass) Invalid Object Identifier!",
        "(SNMPClass) Invalid Address!",
        "(SNMPClass) Agent indicates error in SNMP request!",
        "(SNMP Class) Transport is not supported!",
        "(SNMPClass) Transport is in use!",
        "(SNMPClass) Transport operation failed!",
        "(SNMPClass) Blocked Mode Shutdown!",
    };
    return table;
}

VrMessageTable &VrSNMPLayerMessages()
{
    static VrMessageTable table{
        "(VrSNMP++) Ok!",
        "(VrSNMP++) Fail to read SNMP variables from file([FILENAME])!",
        "(VrSNMP++) Bad format at line([LINENO])in SNMP variables file([FILENAME])!",
        "(VrSNMP++) Bad item type at line([LINENO])in SNMP variables file([FILENAME])!",
        "(VrSNMP++) Bad syntax at line([LINENO])in SNMP variables file([FILENAME])!",
        "(VrSNMP++) Bad access type at line([LINENO])in SNMP variables file([FILENAME])!",
        "(VrSNMP++) Cannot create the global VrSNMP++ session!",
        "(VrSNMP++) Error when loading SNMP engine boots counter!",
        "(VrSNMP++) Error when saving SNMP engine boots counter!",
        "(VrSNMP++) Invalid IP Address or DNS name!",
        "(VrSNMP++) Can't send get-next command for a SNMP variable list with single value!",
        "(VrSNMP++) Bad SNMP syntax!",
        "(VrSNMP++) Null value in the expression!",
        "(VrSNMP++) Bad SNMP syntax in the expression!",
        "(VrSNMP++) Bad key count of SNMP variable list!",
        "(VrSNMP++) Bad item type of SNMP variable list!",
        "(VrSNMP++) Bad item type of associated SNMP variable list!",
        "(VrSNMP++) Bad syntax of the associated SNMP variable's (partial) data!",
        "(VrSNMP++) Bad value of the associated SNMP variable's (partial) data!",
        "(VrSNMP++) Out of range for the bit(byte) index of the associated SNMP variable's "
        "(partial) data!",
        "(VrSNMP++) No reference option list for a SNMP variable's (partial) data associating "
        "with a optional visual control!",
        "(VrSNMP++) Bad type of the associated visual control!",
        "(VrSNMP++) Count of the associated visual controls is not enough!",
        "(VrSNMP++) No system start time for the time whose data source is the SNMP variable's "
        "(partial) data with syntax timeticks!",
        "(VrSNMP++) Count of the value items for the chart's history data is not enough!",
        "(VrSNMP++) Log database is not connected!",
        "(VrSNMP++) Log database field not found!",
        "(VrSNMP++) Bad syntax for the history chart of log!",
        "(VrSNMP++) Unknown error code!",
    };
    return table;
}

VrMessageTable &VrSNMPStatusTemplates()
{
    static VrMessageTable table{
        "Get: [ERROR] Request:[VARLIST]. Receive at [TIME].",
        "Set: [ERROR] Request:[VARLIST]. Receive at [TIME].",
    };
    return table;
}
