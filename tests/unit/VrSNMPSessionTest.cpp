#include "SnmpExceptionCode.h"
#include "VrSNMPSession.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(VrSNMPSession, BootCounterCountsUpAndRefusesBadFiles)
{
    QTemporaryDir dir;
    EXPECT_EQ(VrSNMPSession::AdvanceBootCounter(dir.path()), 1);
    EXPECT_EQ(VrSNMPSession::AdvanceBootCounter(dir.path()), 2);
    QFile file(dir.filePath("VrSNMP_PP_BootCounter"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "VrSNMP_PP_Application 2\n");
    file.close();

    auto codeOf = [](const QString &directory) {
        return SnmpExceptionCode([&] { VrSNMPSession::AdvanceBootCounter(directory); });
    };
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("other-engine 9\nVrSNMP_PP_Application many\n");
    file.close();
    EXPECT_EQ(codeOf(dir.path()), -507);
    QTemporaryDir unreadable;
    QDir(unreadable.path()).mkdir("VrSNMP_PP_BootCounter");
    EXPECT_EQ(codeOf(unreadable.path()), -507);
    EXPECT_EQ(codeOf(dir.filePath("missing/folder")), -508);
}
