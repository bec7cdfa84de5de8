#pragma once

namespace vantor {

// Which tray picture shows. The presence of the keyboard sets the base picture (128 not
// connected, 141 connected); a keyboard event shows 142 over it until the event that returns
// to the base.
class TrayState {
public:
    static constexpr int kDisconnected = 128;
    static constexpr int kConnected = 141;
    static constexpr int kSpecial = 142;

    // special: show 142. Otherwise a code shows it and makes it the base; code 0 shows the base
    // again. True when the picture shown changed.
    bool Set(bool special, int code);

    int Shown() const { return m_shown; }
    int Base() const { return m_base; }

private:
    int m_shown = kDisconnected;
    int m_base = kDisconnected;
};

}  // namespace vantor
