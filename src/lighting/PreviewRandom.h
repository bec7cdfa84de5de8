#pragma once

#include <cstdint>
#include <functional>
#include <random>

namespace vantor {

// The preview's random hues. Each seeding step reseeds from the seed source, which in the
// window is the current time in seconds, so within one second the same hues repeat; tests
// and `vantorctl preview --seed` give a fixed one.
class PreviewRandom {
public:
    using SeedSource = std::function<uint32_t()>;

    static uint32_t SecondsNow();

    explicit PreviewRandom(SeedSource seed = &SecondsNow);

    void Reseed();
    // A hue byte, 0 to 254.
    uint8_t Next();

private:
    SeedSource m_seed;
    // The same numbers on every platform for the same seed.
    std::minstd_rand m_generator;
};

}  // namespace vantor
