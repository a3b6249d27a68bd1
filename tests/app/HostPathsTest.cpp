#include "HostPaths.h"
#include "VrTextUtil.h"
#include "SingleInstance.h"
#include "VrRegistry.h"

#include "../unit/TempFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <cstring>
#include <optional>
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
        EXPECT_EQ(paths.configDirectory, QStringLiteral("/opt/nv/Conf/MBF/"));
        EXPECT_EQ(ConfigFilePath(paths.configDirectory, QStringLiteral("10.0.0.2")),
                  QStringLiteral("/opt/nv/Conf/MBF/10.0.0.2.cfg"));
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

TEST(HostPaths, ProgramMessagesBesideTheProgramElseInItsInstalledDataFolder)
{
    struct Case {
        const char *name;
        QStringList dirs;  // made under the scratch root
        QStringList files; // made under the scratch root
        QString expected;  // relative to the scratch root
    };
    const Case cases[] = {
        {"build tree", {QStringLiteral("bin/ErrMsg")}, {}, QStringLiteral("bin/ErrMsg")},
        {"installed", {QStringLiteral("bin"), QStringLiteral("share/qrt5150/errmsg")}, {},
         QStringLiteral("share/qrt5150/errmsg/")},
        {"both: beside wins", {QStringLiteral("bin/errmsg"), QStringLiteral("share/qrt5150/errmsg")}, {},
         QStringLiteral("bin/errmsg")},
        {"a file named errmsg is no folder", {QStringLiteral("share/qrt5150/errmsg")},
         {QStringLiteral("bin/errmsg")}, QStringLiteral("share/qrt5150/errmsg/")},
        {"neither", {QStringLiteral("bin")}, {}, QStringLiteral("bin/errMSg")},
    };
    for (const Case &c : cases) {
        ScratchDir root;
        for (const QString &dir : c.dirs)
            ASSERT_TRUE(QDir().mkpath(root.path(dir)));
        for (const QString &file : c.files) {
            ASSERT_TRUE(QDir().mkpath(QFileInfo(root.path(file)).path()));
            root.write(file, "(SNMP) x\n");
        }
        EXPECT_EQ(ProgramMessageDirectory(root.path(QStringLiteral("bin"))), root.path(c.expected)) << c.name;
    }
}

TEST(SingleInstance, SecondLockForTheSameCaptionFailsAnotherCaptionSucceeds)
{
    ScratchDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path(QString()).toLocal8Bit());
    SingleInstance first(QStringLiteral("QRT-5150 : 10.0.0.2"));
    ASSERT_EQ(first.acquire(), SingleInstance::Acquired);
    SingleInstance second(QStringLiteral("QRT-5150 : 10.0.0.2"));
    EXPECT_EQ(second.acquire(), SingleInstance::HeldElsewhere);
    SingleInstance other(QStringLiteral("QRT-5150 : 10.0.0.3"));
    EXPECT_EQ(other.acquire(), SingleInstance::Acquired);
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
        _exit(crashed.acquire() == SingleInstance::Acquired ? 0 : 1); // dies holding the lock
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    ASSERT_TRUE(QFileInfo::exists(SingleInstance::lockFilePath(caption)));

    SingleInstance next(caption);
    EXPECT_EQ(next.acquire(), SingleInstance::Acquired);
}

TEST(HostPaths, ConfigFolderIsFoundThroughAProgramFolderThatDoesNotExist)
{
    ScratchDir host;
    ASSERT_TRUE(QDir().mkpath(host.path(QStringLiteral("Conf/MBF"))));
    host.write(QStringLiteral("Conf/MBF/10.0.0.2.cfg"), "[Program Information]\n");
    const QByteArray bin = host.path(QStringLiteral("bin")).toUtf8(); // never created
    for (const QByteArray &exePath : {bin + "/", bin + "\\", bin, bin + "/./sub/.."}) {
        RegistryFile registry("[SOFTWARE\\Varnell\\Netvane5.1\\ExePath]\nPath=" + exePath + "\n");
        const HostPaths paths = ReadHostPaths();
        EXPECT_EQ(paths.configDirectory, host.path(QStringLiteral("Conf/MBF/"))) << exePath.constData();
        EXPECT_TRUE(QFileInfo(ConfigFilePath(paths.configDirectory, QStringLiteral("10.0.0.2"))).isFile());
    }
    EXPECT_EQ(LocalDirectory(QStringLiteral("..\\Conf\\.\\MBF")), QStringLiteral("../Conf/MBF/"));
}

TEST(VrRegistry, KeySpellingsAndEmptyValues)
{
    const QByteArray exe = "[SOFTWARE\\Varnell\\Netvane5.1\\ExePath]\nPath=/opt/nv/bin\n";
    struct Case {
        QByteArray file;
        QString configDirectory;
    };
    const Case cases[] = {
        // The key written as the host names it, with the leading separator.
        {"[\\SOFTWARE\\Varnell\\Netvane5.1\\ExePath]\nPath=/opt/nv/bin\n", QStringLiteral("/opt/nv/Conf/MBF/")},
        {exe + "[ \\software\\varnell\\netvane5.1\\mibfile ]\nPath=/srv/conf\n", QStringLiteral("/srv/conf/")},
        // An empty MibFile path is there all the same and replaces the other.
        {exe + "[SOFTWARE\\Varnell\\Netvane5.1\\MibFile]\nPath=\n", QString()},
        {exe + "[SOFTWARE\\Varnell\\Netvane5.1\\MibFile]\nOther=/srv/conf\n", QStringLiteral("/opt/nv/Conf/MBF/")},
    };
    for (const Case &c : cases) {
        RegistryFile registry(c.file);
        EXPECT_EQ(ReadHostPaths().configDirectory, c.configDirectory) << c.file.constData();
    }
    RegistryFile registry(exe + "[\\SOFTWARE\\Varnell\\Netvane5.1\\MibFile]\nPath=\n");
    EXPECT_EQ(VrFindRegistryString(QStringLiteral("SOFTWARE\\Varnell\\Netvane5.1\\MibFile"), QStringLiteral("Path")),
              std::optional<QString>(QString()));
    EXPECT_EQ(VrFindRegistryString(QStringLiteral("SOFTWARE\\Varnell\\Netvane5.1\\MibFile"), QStringLiteral("Other")),
              std::nullopt);
}

namespace {

class SingleInstanceLock : public testing::Test
{
protected:
    void SetUp() override { qputenv("XDG_RUNTIME_DIR", m_runtime.path(QString()).toLocal8Bit()); }

    ScratchDir m_runtime;
};

} // namespace

TEST_F(SingleInstanceLock, FilesLeftBehindOrWrittenElsewhereDoNotBlock)
{
    const QString caption = QStringLiteral("QRT-5150 : 10.0.0.8");
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    const QByteArray contents[] = {
        "",
        "garbage\x01\xFF\n",
        "4242\nqrt5150\nanother-host\n",
        // A running process of this host that is not a module.
        "1\nqrt5150\n" + host + "\n",
        QByteArray::number(qint64(getpid())) + "\nqrt5150\n" + host + "\n",
    };
    for (const QByteArray &content : contents) {
        QFile file(SingleInstance::lockFilePath(caption));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        file.close();
        SingleInstance first(caption);
        EXPECT_EQ(first.acquire(), SingleInstance::Acquired) << content.toHex().constData();
        SingleInstance second(caption);
        EXPECT_EQ(second.acquire(), SingleInstance::HeldElsewhere);
    }
}

TEST_F(SingleInstanceLock, OnlyARunningModuleRefusesAStart)
{
    const QString caption = QStringLiteral("QRT-5150 : 10.0.0.9");
    int ready[2], release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(release[1]); // so that the parent's close ends the wait
        SingleInstance running(caption);
        const char state = running.acquire() == SingleInstance::Acquired ? 'y' : 'n';
        char ignored;
        const bool ok = write(ready[1], &state, 1) == 1 && read(release[0], &ignored, 1) >= 0;
        _exit(ok ? 0 : 1);
    }
    char state = 0;
    ASSERT_EQ(read(ready[0], &state, 1), 1);
    ASSERT_EQ(state, 'y');
    SingleInstance second(caption);
    EXPECT_EQ(second.acquire(), SingleInstance::HeldElsewhere);

    close(release[1]); // the first module ends
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(second.acquire(), SingleInstance::Acquired);
    for (int fd : {ready[0], ready[1], release[0]})
        close(fd);
}

TEST_F(SingleInstanceLock, LongAddressesGetALockOfTheirOwn)
{
    const QString prefix = QStringLiteral("QRT-5150 : ");
    const QString a = prefix + QString(300, u'a');
    const QString b = prefix + QString(299, u'a') + u'b';
    const QString accents = prefix + QString(150, QChar(0xE9)) + QChar(0xDCE9);
    for (const QString &caption : {a, b, accents}) {
        const QString name = QFileInfo(SingleInstance::lockFilePath(caption)).fileName();
        EXPECT_LE(QFile::encodeName(name).size(), 200);
        // Escapes stay whole: every "%" starts two hex digits.
        EXPECT_FALSE(name.contains(QRegularExpression(QStringLiteral("%(?![0-9A-F]{2})")))) << name.toStdString();
    }
    SingleInstance first(a);
    ASSERT_EQ(first.acquire(), SingleInstance::Acquired);
    SingleInstance again(a);
    EXPECT_EQ(again.acquire(), SingleInstance::HeldElsewhere);
    SingleInstance other(b);
    EXPECT_EQ(other.acquire(), SingleInstance::Acquired);
    SingleInstance third(accents);
    EXPECT_EQ(third.acquire(), SingleInstance::Acquired);
}

TEST_F(SingleInstanceLock, ALockFileThatCannotBeUsedSaysWhatFailed)
{
    const QString caption = QStringLiteral("QRT-5150 : 10.0.0.10");
    const QString path = SingleInstance::lockFilePath(caption);
    ScratchDir elsewhere;
    const QString target = elsewhere.write(QStringLiteral("victim"), "keep");
    struct Case {
        bool asLink;
        int error;
    };
    for (const Case c : {Case{false, EISDIR}, Case{true, ELOOP}}) {
        QDir(path).removeRecursively();
        QFile::remove(path);
        ASSERT_TRUE(c.asLink ? QFile::link(target, path) : QDir().mkpath(path));
        SingleInstance lock(caption);
        EXPECT_EQ(lock.acquire(), SingleInstance::Failed);
        EXPECT_EQ(lock.ErrorText(), QStringLiteral("Cannot open the lock file %1: %2")
                                        .arg(path, QString::fromLocal8Bit(std::strerror(c.error))));
    }
    QFile victim(target);
    ASSERT_TRUE(victim.open(QIODevice::ReadOnly));
    EXPECT_EQ(victim.readAll(), QByteArray("keep"));
}
