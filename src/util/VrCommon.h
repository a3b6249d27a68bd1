#pragma once

#include <QString>
#include <stdexcept>

class VrMessageTable;

// Codes of the common library (edit constraints, expressions, files).
enum VrCommonCode : int {
    VrCommonOk = 0,
    VrCommonBadLogicOperand = -1,
    VrCommonBadFormat = -2,
    VrCommonEmptyValue = -3,
    VrCommonMaxLength = -4,
    VrCommonFixedLength = -5,
    VrCommonHexMaxLength = -6,
    VrCommonHexFixedLength = -7,
    VrCommonNumberRange = -8,
    VrCommonMaxCount = -9,
    VrCommonFixedCount = -10,
    VrCommonNumbersRange = -11,
    VrCommonIndexRange = -12,
    VrCommonBufferUndersize = -13,
    VrCommonNotEncrypted = -14,
    VrCommonReadFile = -15,
    VrCommonWriteFile = -16,
    VrCommonWriteIni = -17,
    VrCommonReadOptions = -18,
};

// The common message family ("common.err"): entry k is the text of code -k.
VrMessageTable &VrCommonMessages();
// The text of a common code, placeholders still in brackets.
QString VrCommonMessage(int code);

// Raised by the common library (a bad constraint format, a bad logic operand).
class VrCommonException : public std::runtime_error
{
public:
    explicit VrCommonException(int code)
        : std::runtime_error(VrCommonMessage(code).toStdString()), m_code(code) {}
    int Code() const { return m_code; }
    QString Message() const { return QString::fromStdString(what()); }

private:
    int m_code;
};
