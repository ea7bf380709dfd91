// Per-thread caches in front of the runtime's locked tables: a message names its selector by
// string and looks its method up on every send, and doing both under the registry lock made up
// much of the cost of a message. Each cache is a small direct-mapped table that keeps the last
// answer per slot; a colliding key simply replaces it.
//
// Selectors are never removed, so a selector found once stays right. Methods and classes are
// tagged with the runtime's generation, which every change to a method table, every class
// registered and every class hidden advances: an entry of an older generation is a miss.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace objc::cache {

// A cheap hash of a name: its length and its first and last eight bytes. Names that collide
// only share a slot; every hit is confirmed against the full name.
inline size_t nameHash(std::string_view s) {
    uint64_t head = 0, tail = 0;
    std::memcpy(&head, s.data(), s.size() < 8 ? s.size() : 8);
    if (s.size() > 8)
        std::memcpy(&tail, s.data() + s.size() - 8, 8);
    uint64_t h = (head * 0x9E3779B97F4A7C15ull) ^ (tail + s.size()) * 0xC2B2AE3D27D4EB4Full;
    return size_t(h ^ (h >> 29));
}

inline size_t pairHash(const void* a, const void* b) {
    uint64_t h = (uint64_t(reinterpret_cast<uintptr_t>(a)) * 0x9E3779B97F4A7C15ull) ^
                 (uint64_t(reinterpret_cast<uintptr_t>(b)) * 0xC2B2AE3D27D4EB4Full);
    return size_t(h ^ (h >> 31));
}

// A table of `Size` slots (a power of two) of plain entries, zero at the start of each thread.
template <class Entry, size_t Size> struct Table {
    static_assert((Size & (Size - 1)) == 0, "the size is a power of two");
    Entry slots[Size];
    Entry& at(size_t hash) { return slots[hash & (Size - 1)]; }
};

} // namespace objc::cache
