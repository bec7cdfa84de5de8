#pragma once

#include "lighting/UserColourFile.h"

#include <array>
#include <cstdint>

namespace vantor {

// A colour in the form the key buttons take it, 0x00BBGGRR.
constexpr uint32_t ColourRef(const Rgb& c) {
    return uint32_t(c.red) | uint32_t(c.green) << 8 | uint32_t(c.blue) << 16;
}

// What one preview tick does to the key buttons: each is painted with a colour, reset to its
// plain look, or left as it was. Painting a key twice keeps the later colour.
class PreviewFrame {
public:
    enum class Look : uint8_t { Untouched, Painted, Plain };
    struct Key {
        Look look = Look::Untouched;
        Rgb colour;
    };

    // Every key button untouched.
    void Clear();
    // Ids outside the key buttons are ignored.
    void Paint(int controlId, const Rgb& colour);
    // Every key button (the key list's, the extra keys' and Fn) reset to its plain look.
    void ResetAll();

    bool PlainAll() const { return m_plainAll; }
    Key At(int controlId) const;
    // f(controlId, key) for every button the tick painted or reset, in ascending id order.
    template <class F>
    void ForEachTouched(F&& f) const {
        for (int i = 0; i < kIdSpan; ++i) {
            if (m_keys[size_t(i)].look != Look::Untouched) f(kFirstId + i, m_keys[size_t(i)]);
        }
    }

private:
    // The key buttons' ids all lie in 1000-1200.
    static constexpr int kFirstId = 1000;
    static constexpr int kIdSpan = 201;

    std::array<Key, kIdSpan> m_keys{};
    bool m_plainAll = false;
};

}  // namespace vantor
