// The device root of a run that brings none: a fresh folder, laid out for the run and deleted
// after it. It holds about 1.5 MB that nothing needs after the run, so it goes where writing and
// deleting cost no disk work: a memory file system when there is one.
#pragma once

#include <filesystem>

namespace sim {

// Where temporary roots go: $TMPDIR when it names a folder (the user's choice stands); else
// `memory` when it is a memory file system (tmpfs or ramfs) this process may write, with at
// least kTemporaryRootRoom free; else the system's temporary folder (/tmp). `memory` is /dev/shm
// but for tests.
std::filesystem::path temporaryRootsFolder(const std::filesystem::path& memory = "/dev/shm");
inline constexpr unsigned long long kTemporaryRootRoom = 64ull << 20;

// A new place named "hushmark-device-XXXXXX" there (made unique, then left free for the
// layout), set as the platform's root without durable writes: nothing in it outlives the run.
// Empty when no such place can be had.
std::filesystem::path makeTemporaryRoot();

} // namespace sim
