// File existence at device paths, and the NSFileManager class.
#include "foundation/NSFileManager.h"

#include "foundation/DeviceFiles.h"

bool fileExistsAtPath(std::string_view devicePath) {
    return deviceFileKind(devicePath) != DeviceFileKind::Missing;
}

bool NSFileManager::fileExistsAtPath(std::string path) {
    return ::fileExistsAtPath(path);
}

namespace {
const ClassDef<NSFileManager>
    kNSFileManager("NSFileManager", "NSObject",
                   {
                       classMethod("defaultManager",
                                   [](Object* cls) -> id {
                                       static id shared = msg<id>(
                                           msg<id>(classObject(static_cast<Class*>(cls)), "alloc"), "init");
                                       return shared;
                                   }),
                       method("fileExistsAtPath:", &NSFileManager::fileExistsAtPath),
                   });
} // namespace
