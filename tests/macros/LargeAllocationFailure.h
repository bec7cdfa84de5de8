#pragma once

#include <cstddef>

namespace vantor {

// While alive, every allocation through operator new of at least minimumSize bytes fails
// with std::bad_alloc, so tests can run the real out-of-memory paths. Smaller allocations
// (the test framework's, Qt's) are untouched. The test binary replaces the global
// allocation functions for this.
class LargeAllocationFailure {
public:
    explicit LargeAllocationFailure(std::size_t minimumSize);
    ~LargeAllocationFailure();
    LargeAllocationFailure(const LargeAllocationFailure&) = delete;
    LargeAllocationFailure& operator=(const LargeAllocationFailure&) = delete;
};

}  // namespace vantor
