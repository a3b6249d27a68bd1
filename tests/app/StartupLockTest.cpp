#include "SingleInstance.h"
#include "TMainForm.h"
#include "VrMessageBox.h"
#include "VrTimeScale.h"

#include "../unit/TempFile.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// As the main window tests: a runtime directory and a registry of its own.
class StartupLock : public testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("XDG_RUNTIME_DIR", m_dir.path(QString()).toLocal8Bit());
        qputenv("QRT5150_REGISTRY", m_dir.path(QStringLiteral("registry.ini")).toLocal8Bit());
        VrSetTimeScale(0.001);
    }
    void TearDown() override
    {
        VrSetTimeScale(1.0);
        qunsetenv("QRT5150_REGISTRY");
    }

    ScratchDir m_dir;
    VrMessageBoxRecorder m_boxes;
};

} // namespace

TEST_F(StartupLock, AFileLeftByAnotherHostDoesNotStopTheModule)
{
    QFile stale(SingleInstance::lockFilePath(QStringLiteral("QRT-5150 : 127.0.0.20")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("4242\nqrt5150\nanother-host\n");
    stale.close();

    TMainForm form;
    EXPECT_TRUE(form.Start({QStringLiteral("/I127.0.0.20")}));
    EXPECT_EQ(m_boxes.count(), 0) << m_boxes.lastText().toStdString();
}

TEST_F(StartupLock, ALockThatCannotBeTakenIsReportedAsWhatFailed)
{
    const QString path = SingleInstance::lockFilePath(QStringLiteral("QRT-5150 : 127.0.0.21"));
    ASSERT_TRUE(QDir().mkpath(path));

    TMainForm form;
    EXPECT_FALSE(form.Start({QStringLiteral("/I127.0.0.21")}));
    ASSERT_EQ(m_boxes.count(), 1);
    EXPECT_TRUE(m_boxes.lastText().startsWith(QStringLiteral("Cannot open the lock file ") + path))
        << m_boxes.lastText().toStdString();
    EXPECT_FALSE(form.Timer1.isActive());
}
