#include "TempFile.h"
#include "VrCommon.h"
#include "VrMessageTable.h"
#include "VrSNMPError.h"

#include <gtest/gtest.h>

namespace {

const QString unknownText = QStringLiteral("(VrSNMP++) Unknown error code!");

// The message families are process-wide: put them back after each test.
class VrSNMPCatalogue : public ::testing::Test
{
protected:
    void TearDown() override
    {
        for (VrMessageTable *table :
             {&VrSNMPMessages(), &VrSNMPv3Messages(), &VrSNMPUsmMessages(),
              &VrSNMPClassMessages(), &VrSNMPLayerMessages(), &VrSNMPStatusTemplates(),
              &VrCommonMessages()})
            table->reset();
    }

    ScratchDir dir;
};

void expectError(const VrSNMPError &error, int code, const QString &message)
{
    EXPECT_EQ(error.Code, code);
    EXPECT_EQ(error.Message, message);
}

} // namespace

TEST_F(VrSNMPCatalogue, LibraryStatusesMapIntoTheirFamilies)
{
    for (int status : {0, 1400, -1401})
        expectError(VrSNMPErrorFromStatus(status), VrOk, "(VrSNMP++) Ok!");
    expectError(VrSNMPErrorFromStatus(VrStatusTimeout), VrErrTimeout,
                "(SNMPClass) SNMP request timed out!");
    expectError(VrSNMPErrorFromStatus(-1), -401, "(SNMPClass) Operation failed!");
    expectError(VrSNMPErrorFromStatus(-20), -420, "(SNMP Class) Transport is not supported!");
    expectError(VrSNMPErrorFromStatus(-23), -423, "(SNMPClass) Blocked Mode Shutdown!");
    expectError(VrSNMPErrorFromStatus(-1402), -201, "(SNMPv3) Unsupported Security Model!");
    expectError(VrSNMPErrorFromStatus(-1418), -217, "(SNMPv3) Report sent!");
    expectError(VrSNMPErrorFromStatus(1401), -301, "(SNMPv3USM) error!");
    expectError(VrSNMPErrorFromStatus(1414), -314, "(SNMPv3USM) Address error!");
    for (int status : {20, -30, -24, -1400, -1419, 1399, 1415, 1, INT_MIN, INT_MAX})
        expectError(VrSNMPErrorFromStatus(status), VrErrUnknown, unknownText);
}

TEST_F(VrSNMPCatalogue, AgentErrorStatusesMapToTheFirstFamily)
{
    expectError(VrSNMPErrorFromErrorStatus(0), VrOk, "(VrSNMP++) Ok!");
    expectError(VrSNMPErrorFromErrorStatus(2), VrErrNoSuchName,
                "(SNMP) Variable does not exist!");
    expectError(VrSNMPErrorFromErrorStatus(7), -107,
                "(SNMP) Cannot create/modify variable, Wrong Type!");
    expectError(VrSNMPErrorFromErrorStatus(19), -119,
                "(SNMP) Cannot download the overdue firmware!");
    for (int status : {20, -30, -1, INT_MAX})
        expectError(VrSNMPErrorFromErrorStatus(status), VrErrUnknown, unknownText);
}

TEST_F(VrSNMPCatalogue, CodesBetweenTheFamiliesAreUnknown)
{
    EXPECT_EQ(VrSNMPMessage(-409), "(SNMPClass)Unknown error code!");
    EXPECT_EQ(VrSNMPMessage(-501), "(VrSNMP++) Fail to read SNMP variables from file([FILENAME])!");
    EXPECT_EQ(VrSNMPMessage(-527), "(VrSNMP++) Bad syntax for the history chart of log!");
    // -529 is the module's own: a wait the user left.
    EXPECT_EQ(VrSNMPMessage(VrErrCancelled), "(VrSNMP++) Request cancelled!");
    for (int code : {1, -1, -100, -120, -200, -218, -300, -315, -400, -424, -500, -530, INT_MIN})
        EXPECT_EQ(VrSNMPMessage(code), unknownText) << code;
}

TEST_F(VrSNMPCatalogue, ExceptionCarriesCodeAndCatalogueText)
{
    const VrSNMPException e(VrErrBadKeyCount);
    EXPECT_STREQ(e.what(), "(VrSNMP++) Bad key count of SNMP variable list!");
    EXPECT_EQ(e.Code(), VrErrBadKeyCount);
    EXPECT_EQ(e.Message(), "(VrSNMP++) Bad key count of SNMP variable list!");
}

TEST_F(VrSNMPCatalogue, StatusLineWithAndWithoutDescription)
{
    const QString timeout = VrSNMPMessage(VrErrTimeout);
    EXPECT_EQ(VrSNMPStatusLine(false, timeout, "Wireless", "10:01:02 am"),
              "Get: (SNMPClass) SNMP request timed out! Request:Wireless. Receive at 10:01:02 am.");
    EXPECT_EQ(VrSNMPStatusLine(true, "(VrSNMP++) Ok!", QString(), "09:00:00 PM"),
              "Set: (VrSNMP++) Ok!. Receive at 09:00:00 PM.");
}

TEST_F(VrSNMPCatalogue, StatusLineNeverExpandsInsertedText)
{
    EXPECT_EQ(VrSNMPStatusLine(false, "bad [TIME] [VARLIST]", "list [ERROR] [TIME]", "T"),
              "Get: bad [TIME] [VARLIST] Request:list [ERROR] [TIME]. Receive at T.");
    EXPECT_EQ(VrSNMPStatusLine(true, "[VARLIST]", QString(), "[ERROR]"),
              "Set: [VARLIST]. Receive at [ERROR].");
}

TEST_F(VrSNMPCatalogue, StatusLineTemplatesFromFile)
{
    dir.write("snmp.msg", "[VARLIST]: [ERROR] at [TIME]\n"
                          "[ERROR] in[VARLIST], [VARLIST] again [ERROR]\n");
    VrLoadMessageFiles(dir.path(QString()));

    // A description before the error is not cut out, just left empty.
    EXPECT_EQ(VrSNMPStatusLine(false, "E", QString(), "T"), ": E at T");
    EXPECT_EQ(VrSNMPStatusLine(false, "E", "D", "T"), "D: E at T");
    // Only the text up to the first [VARLIST] after the error goes; a later
    // one then stays as it stands.
    EXPECT_EQ(VrSNMPStatusLine(true, "E", QString(), "T"), "E, [VARLIST] again E");
    EXPECT_EQ(VrSNMPStatusLine(true, "E", "D", "T"), "E inD, D again E");
}

TEST_F(VrSNMPCatalogue, AgentErrorFileWithBlankLinesReplacesTheFamilyInOrder)
{
    QByteArray file;
    for (int i = 1; i <= 19; ++i)
        file += "\n  \nText " + QByteArray::number(i) + "\r\n";
    dir.write("snmp.err", file);
    VrLoadMessageFiles(dir.path(QString()));

    EXPECT_EQ(VrSNMPMessage(-101), "Text 1");
    EXPECT_EQ(VrSNMPErrorFromErrorStatus(7).Message, "Text 7");
    EXPECT_EQ(VrSNMPMessage(-119), "Text 19");
}

TEST_F(VrSNMPCatalogue, EmptyMissingOrShortFilesKeepBuiltInTexts)
{
    dir.write("snmp.err", "");
    dir.write("snmpusm.err", "\n   \n\t\n");
    dir.write("snmpclass.err", "first\n second\n");
    VrLoadMessageFiles(dir.path(QString()));
    VrLoadMessageFiles(dir.path("no-such-directory"));

    EXPECT_EQ(VrSNMPMessage(-102), "(SNMP) Variable does not exist!");
    EXPECT_EQ(VrSNMPMessage(-314), "(SNMPv3USM) Address error!");
    EXPECT_EQ(VrSNMPStatusLine(false, "E", QString(), "T"), "Get: E. Receive at T.");
    EXPECT_EQ(VrSNMPMessage(-401), "first");
    EXPECT_EQ(VrSNMPMessage(-402), " second");
    EXPECT_EQ(VrSNMPMessage(-405), "(SNMPClass) SNMP request timed out!");
}

TEST_F(VrSNMPCatalogue, LoadsEveryFamilyWhateverTheCaseOfTheFileNames)
{
    dir.write("SNMPv3.ERR", "v3\n");
    dir.write("SnmpUsm.Err", "usm\n");
    dir.write("vrsnmp.err", "fine\nno file\n");
    dir.write("Common.err", "common ok\ncommon bad operand\n");
    VrLoadMessageFiles(dir.path(QString()).replace('/', '\\'));

    EXPECT_EQ(VrSNMPMessage(-201), "v3");
    EXPECT_EQ(VrSNMPMessage(-301), "usm");
    EXPECT_EQ(VrSNMPErrorFromStatus(0).Message, "fine");
    EXPECT_EQ(VrSNMPMessage(-501), "no file");
    EXPECT_EQ(VrSNMPException(-501).Message(), "no file");
    EXPECT_EQ(VrCommonMessage(VrCommonBadLogicOperand), "common bad operand");

    // A later directory replaces only the families it has files for.
    ScratchDir host;
    host.write("snmpv3.err", "host v3\n");
    VrLoadMessageFiles(host.path(QString()));
    EXPECT_EQ(VrSNMPMessage(-201), "host v3");
    EXPECT_EQ(VrSNMPMessage(-301), "usm");
}
