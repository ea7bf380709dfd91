// File existence at device paths. Runtime class NSFileManager: +defaultManager, -fileExistsAtPath:.
#pragma once

#include "objc/runtime.h"

#include <string_view>

bool fileExistsAtPath(std::string_view devicePath);

struct NSFileManager : NSObject {
    bool fileExistsAtPath(std::string path);
};
