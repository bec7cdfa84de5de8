#include "LargeAllocationFailure.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> g_failFrom{0};

void* Allocate(std::size_t size)
{
    const std::size_t failFrom = g_failFrom.load(std::memory_order_relaxed);
    if (failFrom != 0 && size >= failFrom)
        throw std::bad_alloc();
    if (void* memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

}  // namespace

namespace vantor {

LargeAllocationFailure::LargeAllocationFailure(std::size_t minimumSize)
{
    g_failFrom.store(minimumSize);
}

LargeAllocationFailure::~LargeAllocationFailure()
{
    g_failFrom.store(0);
}

}  // namespace vantor

// Every unaligned form is replaced, so that each new is paired with a matching delete
// (sanitizer builds check the pairing).
void* operator new(std::size_t size)
{
    return Allocate(size);
}

void* operator new[](std::size_t size)
{
    return Allocate(size);
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept
{
    std::free(memory);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return operator new(size, std::nothrow);
}

void operator delete(void* memory, const std::nothrow_t&) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory, const std::nothrow_t&) noexcept
{
    std::free(memory);
}
