#include "lighting/PreviewRandom.h"

#include <chrono>

namespace vantor {

uint32_t PreviewRandom::SecondsNow() {
    using namespace std::chrono;
    return uint32_t(duration_cast<seconds>(system_clock::now().time_since_epoch()).count());
}

PreviewRandom::PreviewRandom(SeedSource seed) : m_seed(std::move(seed)) { Reseed(); }

void PreviewRandom::Reseed() { m_generator.seed(m_seed()); }

uint8_t PreviewRandom::Next() { return uint8_t(m_generator() % 255); }

}  // namespace vantor
