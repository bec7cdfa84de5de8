#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace vantor {

// The program's exit as one ordered list of named steps. The Close button, the tray's Exit and
// a "KILL" from another start all run the same list; it runs once, so an exit asked for while
// one is under way (a "KILL" during the tray's Exit, say) does nothing more.
class ShutdownSequence {
public:
    using Step = std::function<void()>;

    // Appends a step; steps run in the order they were added.
    void Add(QString name, Step step);

    // Runs every step in order. False when the sequence had already run (or is running).
    bool Run();

    bool HasRun() const { return m_started; }
    QStringList StepNames() const;
    // The steps run so far, in order.
    const QStringList& Completed() const { return m_completed; }

private:
    struct NamedStep {
        QString name;
        Step step;
    };
    std::vector<NamedStep> m_steps;
    QStringList m_completed;
    bool m_started = false;
};

}  // namespace vantor
