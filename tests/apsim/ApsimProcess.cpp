#include "ApsimProcess.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

namespace qrt::test {

int freeUdpPort()
{
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    int port = 0;
    if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len) == 0)
        port = ntohs(a.sin_port);
    if (fd >= 0)
        close(fd);
    return port;
}

ApsimProcess::ApsimProcess(std::string executable) : m_executable(std::move(executable))
{
    char path[] = "/tmp/qrt-apsim-log-XXXXXX";
    const int fd = mkstemp(path);
    if (fd >= 0)
        close(fd);
    m_logPath = path;
}

ApsimProcess::~ApsimProcess()
{
    stop();
    unlink(m_logPath.c_str());
}

std::string ApsimProcess::defaultExecutable()
{
    if (const char *env = std::getenv("QRT_APSIM"))
        return env;
    return QRT_APSIM_EXECUTABLE;
}

bool ApsimProcess::start(const std::vector<std::string> &extraArgs, std::string *error)
{
    stop();
    m_args = extraArgs;
    // Another process may take the free port between the probe and the bind: retry.
    for (int attempt = 0; attempt < 3; ++attempt) {
        m_port = freeUdpPort();
        if (launch(error))
            return true;
    }
    return false;
}

bool ApsimProcess::restart(std::string *error)
{
    stop();
    return launch(error);
}

bool ApsimProcess::restart(const std::vector<std::string> &extraArgs, std::string *error)
{
    stop();
    m_args = extraArgs;
    return launch(error);
}

bool ApsimProcess::launch(std::string *error)
{
    std::vector<std::string> args{m_executable, "--listen", address()};
    args.insert(args.end(), m_args.begin(), m_args.end());
    std::ofstream(m_logPath, std::ios::trunc).close();
    const pid_t parent = getpid();
    m_pid = fork();
    if (m_pid == 0) {
        // A test that dies must not leave its simulator behind (holding the
        // port, and whatever else the test had open).
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(125);
        if (freopen(m_logPath.c_str(), "w", stderr) == nullptr)
            _exit(126);
        std::vector<char *> argv;
        for (std::string &a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            if (error)
                *error = "qrt5150-apsim ended at start: " + log();
            return false;
        }
        if (log().find("listening on") != std::string::npos)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    stop();
    if (error)
        *error = "qrt5150-apsim did not start listening: " + log();
    return false;
}

void ApsimProcess::stop()
{
    if (m_pid <= 0)
        return;
    kill(m_pid, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    int status = 0;
    while (waitpid(m_pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    m_pid = -1;
}

std::string ApsimProcess::log() const
{
    std::ifstream in(m_logPath);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace qrt::test
