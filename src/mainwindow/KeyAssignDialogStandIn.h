#pragma once

namespace vantor {

// Takes the key clicks of the main window until the key assignment dialog exists: it opens
// nothing and answers -1, as for a control that is no key button. It remembers the clicks so
// that the window's wiring can be checked.
class KeyAssignDialogStandIn {
public:
    int OpenForButton(int controlId) {
        m_lastControlId = controlId;
        ++m_calls;
        return -1;
    }
    int LastControlId() const { return m_lastControlId; }
    int Calls() const { return m_calls; }

private:
    int m_lastControlId = 0;
    int m_calls = 0;
};

}  // namespace vantor
