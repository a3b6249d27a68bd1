#include "HostPaths.h"
#include "SingleInstance.h"
#include "VrRegistry.h"

#include "../unit/TempFile.h"

#include <QDir>
#include <QLockFile>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Points the registry layer at a file for the life of the object.
class RegistryFile
{
public:
    explicit RegistryFile(const QByteArray &text)
    {
        qputenv("QRT5150_REGISTRY", m_dir.write(QStringLiteral("registry.ini"), text).toLocal8Bit());
    }
    ~RegistryFile() { qunsetenv("QRT5150_REGISTRY"); }

private:
    ScratchDir m_dir;
};

} // namespace

TEST(VrRegistry, ReadsValuesOfKeySectionsAndTreatsMissingAsEmpty)
{
    RegistryFile registry("[SOFTWARE\\Varnell\\Netvane5.1\\ExePath]\nPath=C:\\Netvane\\bin\\\n"
                          "[software\\varnell\\modules\\helppath]\n1.3.6.1.4.1.48213.10.37.37=/opt/nv/help/QRT5150H.HLP\n");
    EXPECT_EQ(VrReadRegistryString(QStringLiteral("SOFTWARE\\Varnell\\Netvane5.1\\ExePath"), QStringLiteral("Path")),
              QStringLiteral("C:\\Netvane\\bin\\"));
    // Key paths as the host names them, with a leading separator and in any case.
    EXPECT_EQ(VrReadRegistryString(QStringLiteral("\\SOFTWARE\\Varnell\\Modules\\HelpPath"),
                                   QStringLiteral("1.3.6.1.4.1.48213.10.37.37")),
              QStringLiteral("/opt/nv/help/QRT5150H.HLP"));
    EXPECT_TRUE(VrReadRegistryString(QStringLiteral("SOFTWARE\\Varnell\\Netvane5.1\\MibFile"),
                                     QStringLiteral("Path")).isEmpty());
    EXPECT_TRUE(VrReadRegistryString(QStringLiteral("SOFTWARE\\Varnell\\Netvane5.1\\ExePath"),
                                     QStringLiteral("Other")).isEmpty());
}

TEST(VrRegistry, MissingFileHasNoKeys)
{
    qputenv("QRT5150_REGISTRY", "/nonexistent/qrt5150/registry.ini");
    EXPECT_TRUE(VrReadRegistryString(QStringLiteral("SOFTWARE\\Varnell\\Netvane5.1\\ExePath"),
                                     QStringLiteral("Path")).isEmpty());
    qunsetenv("QRT5150_REGISTRY");
    EXPECT_EQ(VrRegistryFile(), QStringLiteral("/etc/qrt5150/registry.ini"));
}

TEST(HostPaths, DirectoriesFollowTheHostEntries)
{
    {
        RegistryFile registry("[SOFTWARE\\Varnell\\Netvane5.1\\ExePath]\nPath=/opt/nv/bin\n"
                              "[SOFTWARE\\Varnell\\Modules\\HelpPath]\n"
                              "1.3.6.1.4.1.48213.10.37.37=/opt/nv/help/QRT5150H.HLP\n");
        const HostPaths paths = ReadHostPaths();
        EXPECT_EQ(paths.messageBase, QStringLiteral("/opt/nv/help/"));
        EXPECT_EQ(paths.configDirectory, QStringLiteral("/opt/nv/bin/../Conf/MBF/"));
        EXPECT_EQ(ConfigFilePath(paths.configDirectory, QStringLiteral("10.0.0.2")),
                  QStringLiteral("/opt/nv/bin/../Conf/MBF/10.0.0.2.cfg"));
    }
    {
        RegistryFile registry("[SOFTWARE\\Varnell\\Netvane5.1\\ExePath]\nPath=/opt/nv/bin/\n"
                              "[SOFTWARE\\Varnell\\Netvane5.1\\MibFile]\nPath=\\srv\\conf\\\n");
        const HostPaths paths = ReadHostPaths();
        EXPECT_EQ(paths.configDirectory, QStringLiteral("/srv/conf/"));
        EXPECT_TRUE(paths.messageBase.isEmpty());
    }
    RegistryFile empty("");
    const HostPaths paths = ReadHostPaths();
    EXPECT_TRUE(paths.configDirectory.isEmpty());
    EXPECT_EQ(ConfigFilePath(paths.configDirectory, QStringLiteral("10.0.0.2")), QStringLiteral("10.0.0.2.cfg"));
}

TEST(HostPaths, ShortHelpPathGivesTheWorkingDirectory)
{
    EXPECT_TRUE(MessageBaseFromHelpPath(QStringLiteral("QRT5150H.HLP")).isEmpty());
    EXPECT_TRUE(MessageBaseFromHelpPath(QStringLiteral("short")).isEmpty());
}

TEST(HostPaths, MessageDirectoryMatchesWithoutRegardToCase)
{
    ScratchDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.path(QStringLiteral("ErrMsg"))));
    const QString base = LocalDirectory(dir.path(QString()));
    EXPECT_EQ(FindEntryIgnoringCase(base, QStringLiteral("errMSg")), base + QStringLiteral("ErrMsg"));
    EXPECT_EQ(FindEntryIgnoringCase(base, QStringLiteral("other")), base + QStringLiteral("other"));
}

TEST(SingleInstance, SecondLockForTheSameCaptionFailsAnotherCaptionSucceeds)
{
    ScratchDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path(QString()).toLocal8Bit());
    SingleInstance first(QStringLiteral("QRT-5150 : 10.0.0.2"));
    ASSERT_TRUE(first.acquire());
    SingleInstance second(QStringLiteral("QRT-5150 : 10.0.0.2"));
    EXPECT_FALSE(second.acquire());
    SingleInstance other(QStringLiteral("QRT-5150 : 10.0.0.3"));
    EXPECT_TRUE(other.acquire());
    // An address with a path separator stays inside the runtime directory.
    EXPECT_EQ(QFileInfo(SingleInstance::lockFilePath(QStringLiteral("QRT-5150 : ../x/y"))).absolutePath(),
              QFileInfo(runtime.path(QString())).absoluteFilePath());
}

TEST(SingleInstance, LockOfAModuleThatDiedDoesNotBlock)
{
    ScratchDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path(QString()).toLocal8Bit());
    const QString caption = QStringLiteral("QRT-5150 : 10.0.0.4");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SingleInstance crashed(caption);
        _exit(crashed.acquire() ? 0 : 1); // dies holding the lock
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    ASSERT_TRUE(QFileInfo::exists(SingleInstance::lockFilePath(caption)));

    SingleInstance next(caption);
    EXPECT_TRUE(next.acquire());
}
