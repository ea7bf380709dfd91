// Making a device root: the folders every device has, and "var" linking to "private/var".
#pragma once

#include <filesystem>

// Creates the skeleton in `root` (which may exist already). False when a folder or the link
// cannot be made.
bool createDeviceRootSkeleton(const std::filesystem::path& root);
