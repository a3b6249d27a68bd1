#include "VrCommon.h"

#include "VrMessageTable.h"

VrMessageTable &VrCommonMessages()
{
    static VrMessageTable table{
        "(VrCommon) Ok!",
        "(VrCommon) Bad logic operand!",
        "(VrCommon) Bad format specifier of edit's constraint!",
        "(VrCommon) Empty value is not allowed!",
        "(VrCommon) Please enter a string whose length is less than [MAXLEN]!",
        "(VrCommon) Please enter a string whose length is [LEN]!",
        "(VrCommon) Please enter a hex string whose length is less than [MAXLEN]!",
        "(VrCommon) Please enter a hex string whose length is [LEN]!",
        "(VrCommon) Please enter a number between [MIN] and [MAX]!",
        "(VrCommon) Please enter a delimited number string with delimiter '[DELIMITER]'.\n"
        "Here,the count of the number is less than [MAXCOUNT]!",
        "(VrCommon) Please enter a delimited number string with delimiter '[DELIMITER]'.\n"
        "Here,the count of the number is equal to [COUNT]!",
        "(VrCommon) Please enter a delimited number string with delimiter '[DELIMITER]'.\n"
        "Here,each number is between [MIN] and [MAX]!",
        "(VrCommon) Out of range at index of array or list!",
        "(VrCommon) Destination buffer is undersize!",
        "(VrCommon) The source to dncrypt is not encrypted!",
        "(VrCommon) Fail to read data from file([FILENAME])!",
        "(VrCommon) Fail to write data to file([FILENAME])!",
        "(VrCommon) Fail to write value in ini file([FILENAME])!",
        "(VrCommon) Fail to read option data from file([FILENAME])!",
    };
    return table;
}

QString VrCommonMessage(int code)
{
    return VrCommonMessages().text(-code);
}
