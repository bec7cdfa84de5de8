#pragma once

// A program run as a child process with its output captured. Plain fork and exec rather than
// QProcess, whose way of starting children thread checkers cannot follow.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>
#include <csignal>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vantor::test {

class ChildProcess {
public:
    ~ChildProcess() {
        if (m_pid > 0 && !m_exited) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        for (int fd : m_pipes)
            if (fd >= 0) ::close(fd);
    }

    bool Start(const QString& program, const QStringList& args,
               const QString& workingDirectory = QString()) {
        const std::string folder = workingDirectory.toStdString();
        std::vector<std::string> strings{program.toStdString()};
        for (const QString& arg : args) strings.push_back(arg.toStdString());
        std::vector<char*> argv;
        for (std::string& s : strings) argv.push_back(s.data());
        argv.push_back(nullptr);

        int out[2], err[2];
        if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) return false;
        m_pid = ::fork();
        if (m_pid == 0) {
            if (!folder.empty() && ::chdir(folder.c_str()) != 0) ::_exit(126);
            ::dup2(out[1], STDOUT_FILENO);
            ::dup2(err[1], STDERR_FILENO);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        ::close(err[1]);
        m_pipes[0] = out[0];
        m_pipes[1] = err[0];
        return m_pid > 0;
    }

    bool IsRunning() {
        Reap(false);
        return m_pid > 0 && !m_exited;
    }

    void Terminate() {
        if (IsRunning()) ::kill(m_pid, SIGTERM);
    }

    // Collects the output until the child has exited and closed it, or the time-out.
    bool WaitForExit(int timeoutMs) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < deadline) {
            Drain(10);
            Reap(false);
            if (m_exited && m_pipes[0] < 0 && m_pipes[1] < 0) return true;
        }
        return false;
    }

    bool ExitedNormally() const { return m_exited && WIFEXITED(m_status); }
    int ExitCode() const { return WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -1; }
    QString Stdout() const { return QString::fromLocal8Bit(m_output[0]); }
    QString Stderr() const { return QString::fromLocal8Bit(m_output[1]); }

private:
    void Reap(bool block) {
        if (m_pid <= 0 || m_exited) return;
        if (::waitpid(m_pid, &m_status, block ? 0 : WNOHANG) == m_pid) m_exited = true;
    }

    void Drain(int timeoutMs) {
        pollfd fds[2];
        int count = 0;
        for (int i = 0; i < 2; ++i)
            if (m_pipes[i] >= 0) fds[count++] = {m_pipes[i], POLLIN, 0};
        if (count == 0 || ::poll(fds, count, timeoutMs) <= 0) return;
        for (int f = 0; f < count; ++f) {
            if (!(fds[f].revents & (POLLIN | POLLHUP))) continue;
            const int i = fds[f].fd == m_pipes[0] ? 0 : 1;
            char buffer[4096];
            const ssize_t n = ::read(m_pipes[i], buffer, sizeof(buffer));
            if (n > 0) {
                m_output[i].append(buffer, n);
            } else {
                ::close(m_pipes[i]);
                m_pipes[i] = -1;
            }
        }
    }

    pid_t m_pid = -1;
    bool m_exited = false;
    int m_status = 0;
    int m_pipes[2] = {-1, -1};
    QByteArray m_output[2];
};

}  // namespace vantor::test
