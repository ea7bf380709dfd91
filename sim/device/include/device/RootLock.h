// One process at a time on a device root. Two simulators on one root would each keep their own
// view of its files and overwrite each other's; so a process takes an exclusive lock (flock) on
// the file ".hushmark-sim-lock" at the top of the root before it writes there, and holds it for
// the rest of its life. The file names the holder, its process id and command line, for whoever
// is turned away. A respring replaces the program (execv, same process): the lock passes to the
// new image, which takes it up without refusing itself.
#pragma once

#include <filesystem>
#include <string>

namespace sim {

// The lock file's name, at the top of the root.
inline constexpr const char* kRootLockFile = ".hushmark-sim-lock";

// Takes the lock on `root`, or takes up the one this process held before its respring; "" when
// held. Otherwise the message to show, naming the holder: "the device root R is in use by
// process 1234 (hushmark-sim serve --root R)". A root whose files cannot be written (a read-only
// mount) needs no lock, as nothing there can change: it is used without one.
std::string lockDeviceRoot(const std::filesystem::path& root);

// Hands the held lock to the program that replaces this one (called just before execv): its
// descriptor stays open across the exec, and the environment says which one it is.
void keepRootLockAcrossExec();

} // namespace sim
