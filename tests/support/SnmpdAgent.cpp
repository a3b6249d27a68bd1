#include "SnmpdAgent.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcessEnvironment>

#include <arpa/inet.h>
#include <csignal>
#include <sys/prctl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int boundUdpSocket(uint16_t &port)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len) == 0)
        port = ntohs(addr.sin_port);
    return fd;
}

uint16_t freeUdpPort()
{
    uint16_t port = 0;
    ::close(boundUdpSocket(port));
    return port;
}

} // namespace

SnmpdAgent::~SnmpdAgent()
{
    Stop();
}

bool SnmpdAgent::writeConfig(QString *why)
{
    QByteArray conf;
    conf += "[snmp] persistentDir " + QFile::encodeName(m_dir.filePath("persist")) + "\n";
    // Answers are kept within one datagram, as a device's are: a GETBULK
    // answer that would not fit is cut short.
    conf += "[snmp] sendMessageMaxSize 1472\n";
    conf += "master no\n";
    conf += QByteArray("rocommunity ") + kReadCommunity + " 127.0.0.1\n";
    conf += QByteArray("rwcommunity ") + kWriteCommunity + " 127.0.0.1\n";
    conf += QByteArray("com2sec tableonly 127.0.0.1 ") + kTableOnlyCommunity + "\n";
    conf += "group tableonlygroup v1 tableonly\n";
    conf += "group tableonlygroup v2c tableonly\n";
    conf += QByteArray("view tableview included .") + kTableRoot + "\n";
    conf += "access tableonlygroup \"\" any noauth exact tableview none none\n";
    conf += QByteArray("createUser ") + kNoAuthUser + "\n";
    conf += QByteArray("createUser ") + kMd5DesUser + " MD5 " + kMd5Password + " DES " + kDesPassword + "\n";
    conf += QByteArray("createUser ") + kShaAesUser + " SHA " + kShaPassword + " AES " + kAesPassword + "\n";
    conf += QByteArray("rwuser ") + kNoAuthUser + " noauth\n";
    conf += QByteArray("rwuser ") + kMd5DesUser + " auth\n";
    conf += QByteArray("rwuser ") + kShaAesUser + " auth\n";
    for (const char *auth : kUsmAuths) {
        for (const char *priv : kUsmPrivs) {
            const QByteArray user = UsmUser(auth, priv);
            conf += "createUser " + user + " " + auth + " " + UsmAuthPassword(auth);
            if (qstrcmp(priv, "none") != 0)
                conf += QByteArray(" ") + priv + " " + UsmPrivPassword(priv);
            conf += "\n";
            conf += "rwuser " + user + " auth\n";
        }
    }
    for (int row = 1; row <= kTableRows; ++row) {
        conf += QByteArray("override -rw .") + kColumn1 + "." + QByteArray::number(row) + " integer "
              + QByteArray::number(row * 10) + "\n";
        conf += QByteArray("override -rw .") + kColumn2 + "." + QByteArray::number(row)
              + " octet_str \"row" + QByteArray::number(row) + "\"\n";
    }
    for (int row = 1; row <= kWideRows; ++row) {
        const QByteArray n = QByteArray::number(row);
        conf += QByteArray("override .") + kWideRoot + ".1.1." + n + " integer " + n + "\n";
        conf += QByteArray("override .") + kWideRoot + ".1.2." + n + " octet_str \""
              + (n.rightJustified(5, '0') + ' ').repeated(kWideTextBytes / 6) + "\"\n";
        if (row % 7 == 0)
            conf += QByteArray("override .") + kWideRoot + ".1.3." + n + " integer " + n + "\n";
    }
    conf += QByteArray("override -rw .") + kScalarRoot + ".1.0 uinteger 7\n";
    conf += QByteArray("override -rw .") + kScalarRoot + ".2.0 counter 8\n";
    conf += QByteArray("override -rw .") + kScalarRoot + ".3.0 object_id .1.3.6.1.4.1.99999.9\n";

    QFile file(m_dir.filePath("snmpd.conf"));
    if (!file.open(QIODevice::WriteOnly) || file.write(conf) != conf.size()) {
        if (why)
            *why = QStringLiteral("cannot write %1").arg(file.fileName());
        return false;
    }
    return true;
}

bool SnmpdAgent::Start(QString *why, int cpu)
{
    if (!m_dir.isValid() || !writeConfig(why))
        return false;
    // Agents run in parallel test processes: try again when a port is taken
    // between choosing it and binding it.
    for (int attempt = 0; attempt < 5; ++attempt) {
        m_port = freeUdpPort();
        // The log goes to a file: a pipe nobody reads would fill up and stall the agent.
        const QString log = m_dir.filePath("snmpd.log");
        QFile::remove(log);
        QStringList args{QStringLiteral("-f"), QStringLiteral("-Lf"), log, QStringLiteral("-C"),
                         QStringLiteral("-c"), m_dir.filePath("snmpd.conf"),
                         QStringLiteral("-p"), m_dir.filePath("snmpd.pid"),
                         QStringLiteral("udp:127.0.0.1:%1").arg(m_port)};
        QString program = QStringLiteral("/usr/sbin/snmpd");
        if (cpu >= 0) {
            args.prepend(program);
            args.prepend(QString::number(cpu));
            args.prepend(QStringLiteral("-c"));
            program = QStringLiteral("taskset");
        }
        // No MIB files: the configuration uses numeric OIDs only.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("MIBS"), QString());
        env.insert(QStringLiteral("MIBDIRS"), m_dir.path());
        m_process.setProcessEnvironment(env);
        m_process.setStandardOutputFile(QProcess::nullDevice());
        m_process.setStandardErrorFile(QProcess::nullDevice());
        // The agent must not outlive a test process that crashes.
        m_process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_process.start(program, args);
        if (!m_process.waitForStarted(5000)) {
            if (why)
                *why = QStringLiteral("cannot start snmpd: %1").arg(m_process.errorString());
            return false;
        }
        QByteArray output;
        QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
            QFile file(log);
            if (file.open(QIODevice::ReadOnly))
                output = file.readAll();
            if (output.contains("NET-SNMP version"))
                return true;
            m_process.waitForFinished(20);
        }
        if (why)
            *why = QString::fromLocal8Bit(output);
        Stop();
    }
    return false;
}

void SnmpdAgent::Stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

void EnsureCoreApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "qrt-tests";
    static char *argv[] = {name, nullptr};
    new QCoreApplication(argc, argv); // lives to process end
}

SilentUdpPeer::SilentUdpPeer() : m_fd(boundUdpSocket(m_port)) {}

SilentUdpPeer::~SilentUdpPeer()
{
    ::close(m_fd);
}

int SilentUdpPeer::Drain()
{
    int count = 0;
    char buffer[2048];
    while (::recv(m_fd, buffer, sizeof buffer, 0) >= 0)
        ++count;
    return count;
}
