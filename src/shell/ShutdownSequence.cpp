#include "shell/ShutdownSequence.h"

namespace vantor {

void ShutdownSequence::Add(QString name, Step step) {
    m_steps.push_back({std::move(name), std::move(step)});
}

bool ShutdownSequence::Run() {
    if (m_started) return false;
    m_started = true;
    for (const NamedStep& step : m_steps) {
        if (step.step) step.step();
        m_completed.append(step.name);
    }
    return true;
}

QStringList ShutdownSequence::StepNames() const {
    QStringList names;
    for (const NamedStep& step : m_steps) names.append(step.name);
    return names;
}

}  // namespace vantor
