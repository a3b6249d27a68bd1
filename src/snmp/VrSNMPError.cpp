#include "VrSNMPError.h"

#include "VrCommon.h"
#include "VrMessageTable.h"
#include "VrTextUtil.h"


namespace {

constexpr int UnknownEntry = -VrErrUnknown - 500; // its "vrsnmp.err" entry

// A family's codes run down from firstCode, one per built-in entry from
// firstEntry on (entry 0 of the access layer is the success text).
struct CodeFamily {
    int firstCode;
    int firstEntry;
    VrMessageTable &(*table)();
};

const CodeFamily codeFamilies[] = {
    {-101, 0, VrSNMPMessages},
    {-201, 0, VrSNMPv3Messages},
    {-301, 0, VrSNMPUsmMessages},
    {-401, 0, VrSNMPClassMessages},
    {-501, 1, VrSNMPLayerMessages},
};

VrSNMPError errorOf(int code)
{
    VrSNMPError error;
    error.Code = code;
    error.Message = VrSNMPMessage(code);
    return error;
}

} // namespace

VrSNMPException::VrSNMPException(int code) : VrSNMPException(code, VrSNMPMessage(code)) {}

QString VrSNMPMessage(int code)
{
    // Not in the message files: a wait that can be left is this module's own.
    if (code == VrErrCancelled)
        return QStringLiteral("(VrSNMP++) Request cancelled!");
    if (code == VrOk)
        return VrSNMPLayerMessages().text(0);
    for (const CodeFamily &family : codeFamilies) {
        const int entry = family.firstEntry + family.firstCode - code;
        if (entry >= family.firstEntry && entry < family.table().size())
            return family.table().text(entry);
    }
    return VrSNMPLayerMessages().text(UnknownEntry);
}

VrSNMPError VrSNMPErrorFromStatus(int status)
{
    if (status == 0 || status == 1400 || status == -1401)
        return errorOf(VrOk);
    if (status >= -1418 && status <= -1402)
        return errorOf(status + 1201);
    if (status >= 1401 && status <= 1414)
        return errorOf(1100 - status);
    if (status >= -23 && status <= -1)
        return errorOf(status - 400);
    return errorOf(VrErrUnknown);
}

VrSNMPError VrSNMPErrorFromErrorStatus(int errorStatus)
{
    if (errorStatus == 0)
        return errorOf(VrOk);
    if (errorStatus >= 1 && errorStatus <= 19)
        return errorOf(-errorStatus - 100);
    return errorOf(VrErrUnknown);
}

QString VrSNMPStatusLine(bool write, const QString &errorText, const QString &description,
                         const QString &timeText)
{
    static const QString errorTag = QStringLiteral("[ERROR]");
    static const QString listTag = QStringLiteral("[VARLIST]");
    static const QString timeTag = QStringLiteral("[TIME]");

    QString line = VrSNMPStatusTemplates().text(write ? 1 : 0);
    // Once the words introducing the description are gone, any later
    // "[VARLIST]" is the template's own text and stays as it stands.
    bool replaceList = true;
    if (description.isEmpty()) {
        // Without a description drop the words that introduce it, so that the
        // line does not end in a dangling "Request:".
        const qsizetype afterError = line.indexOf(errorTag);
        if (afterError >= 0) {
            const qsizetype from = afterError + errorTag.size();
            const qsizetype list = line.indexOf(listTag, from);
            if (list >= 0) {
                line.remove(from, list + listTag.size() - from);
                replaceList = false;
            }
        }
    }

    // One pass, so that a message or description that happens to contain a
    // tag is shown as it is and never expanded.
    QString result;
    for (qsizetype i = 0; i < line.size();) {
        const QStringView rest = QStringView(line).mid(i);
        if (rest.startsWith(errorTag)) {
            result += errorText;
            i += errorTag.size();
        } else if (replaceList && rest.startsWith(listTag)) {
            result += description;
            i += listTag.size();
        } else if (rest.startsWith(timeTag)) {
            result += timeText;
            i += timeTag.size();
        } else {
            result += line.at(i);
            ++i;
        }
    }
    return result;
}

void VrLoadMessageFiles(const QString &directory)
{
    const struct {
        const char *name;
        VrMessageTable &(*table)();
    } files[] = {
        {"snmp.err", VrSNMPMessages},       {"snmpv3.err", VrSNMPv3Messages},
        {"snmpusm.err", VrSNMPUsmMessages}, {"snmpclass.err", VrSNMPClassMessages},
        {"vrsnmp.err", VrSNMPLayerMessages}, {"snmp.msg", VrSNMPStatusTemplates},
        {"common.err", VrCommonMessages},
    };
    // Message files come from Windows installations: "\" separates, and
    // names match without regard to case.
    const QString dir = QString(directory).replace(QLatin1Char('\\'), QLatin1Char('/'));
    for (const auto &file : files)
        file.table().load(FindEntryIgnoringCase(dir, QString::fromLatin1(file.name)));
}
