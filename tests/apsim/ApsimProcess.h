#pragma once
// Starts the simulated access point on a free loopback UDP port for a test
// and stops it afterwards. Suites of the module link it as qrt_test_apsim.
#include <string>
#include <sys/types.h>
#include <vector>

namespace qrt::test {

class ApsimProcess
{
public:
    explicit ApsimProcess(std::string executable = defaultExecutable());
    ~ApsimProcess();
    ApsimProcess(const ApsimProcess &) = delete;
    ApsimProcess &operator=(const ApsimProcess &) = delete;

    // The loopback address to listen on (127.0.0.1 unless set before start),
    // so that several simulators can be told apart by address.
    void setHost(std::string host) { m_host = std::move(host); }
    // Starts with --listen on a free port plus extraArgs, and waits until the
    // agent listens. On failure returns false and says why in error.
    bool start(const std::vector<std::string> &extraArgs = {}, std::string *error = nullptr);
    // Starts again on the same port, with the same arguments.
    bool restart(std::string *error = nullptr);
    // Starts again on the same port with other arguments.
    bool restart(const std::vector<std::string> &extraArgs, std::string *error = nullptr);
    // SIGTERM, then SIGKILL if it has not ended within five seconds.
    void stop();

    bool running() const { return m_pid > 0; }
    pid_t pid() const { return m_pid; }
    int port() const { return m_port; }
    std::string host() const { return m_host; }
    std::string address() const { return m_host + ":" + std::to_string(m_port); }
    // What the simulator wrote to stderr (its -v request log among others).
    std::string log() const;

    static std::string defaultExecutable();

private:
    bool launch(std::string *error);

    std::string m_executable;
    std::string m_host = "127.0.0.1";
    std::vector<std::string> m_args;
    std::string m_logPath;
    pid_t m_pid = -1;
    int m_port = 0;
};

// A UDP port on 127.0.0.1 that nothing listens on right now.
int freeUdpPort();

} // namespace qrt::test
