#pragma once

#include "device/CommandResult.h"
#include "device/DeviceLink.h"
#include "device/HidBackend.h"
#include "profiles/ProfileResult.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <cstdint>
#include <memory>
#include <optional>

namespace vantor::ctl {

// Every number on vantorctl's command line is read here: decimal, from low to high. On any
// other text *error names the argument and its range.
std::optional<int64_t> DecimalArgument(const QString& text, const QString& name, int64_t low,
                                       int64_t high, QString* error);

// What a command works with: its own arguments, the output streams, and the keyboard,
// found and opened on first use.
class CtlContext {
public:
    // simSocket: the emulator's socket the backend talks to, empty for the kernel's devices.
    CtlContext(QStringList args, QTextStream& out, QTextStream& err,
               std::shared_ptr<HidBackend> backend, QString devicePath, QString simSocket = {});

    const QStringList& Args() const { return m_args; }
    QTextStream& Out() { return m_out; }
    QTextStream& Err() { return m_err; }
    HidBackend& Backend() { return *m_backend; }

    // Whether the command writes one JSON document to the output stream instead of text.
    bool Json() const { return m_json; }
    void SetJson(bool json) { m_json = json; }
    // The identity of the keyboard's backend for a report: the --device node asked for and
    // the emulator's socket (empty when not asked for).
    const QString& DevicePath() const { return m_devicePath; }
    const QString& SimSocket() const { return m_simSocket; }

    // How long the link waits for each reply, set before Connect.
    void SetReplyTimeout(int ms) { m_replyTimeoutMs = ms; }
    int ReplyTimeout() const { return m_replyTimeoutMs; }

    // The link to the keyboard's vendor interface, open; nullptr when none could be opened,
    // the reason already written to the error stream and its exit code in *exitCode.
    DeviceLink* Connect(int* exitCode);

    // The argument at index as a profile number 0-2; otherwise a usage error is reported and
    // its exit code is in *exitCode.
    bool ProfileArgument(int index, int* profile, int* exitCode);
    // DecimalArgument, with a usage error reported for a text it refuses.
    std::optional<int64_t> Decimal(const QString& text, const QString& name, int64_t low,
                                   int64_t high, int* exitCode);
    // A usage error unless the command got exactly count arguments.
    bool ExpectArguments(int count, const char* synopsis, int* exitCode);

    // Writes "vantorctl: " and the text as one line to the error stream; returns code.
    int Fail(int code, const QString& text);
    // Reports a failed command result ("what" names the step) and returns its exit code. A
    // request that went unanswered or unwritten because the keyboard was pulled out is
    // reported as that, with kExitNoKeyboard.
    int FailCommand(CommandResult result, const QString& what);
    // Reports a profile flow that did not finish ("what" names the step, file the file a
    // FileError concerns) and returns its exit code.
    int FailProfile(ProfileResult result, const QString& what, const QString& file = {});

private:
    // Whether the connected keyboard is no longer among the backend's devices.
    bool KeyboardLeft();
    // Reports a keyboard that did not answer, or kExitNoKeyboard when it has left.
    int FailSilence(int code, const QString& what);

    QStringList m_args;
    QTextStream& m_out;
    QTextStream& m_err;
    std::shared_ptr<HidBackend> m_backend;
    QString m_devicePath;
    QString m_simSocket;
    std::unique_ptr<DeviceLink> m_link;
    int m_replyTimeoutMs = 0;  // 0: the transport's default
    bool m_json = false;
};

}  // namespace vantor::ctl
