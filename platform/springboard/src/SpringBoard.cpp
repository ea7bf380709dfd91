#include "springboard/SpringBoard.h"

#include "foundation/DeviceEvents.h"
#include "springboard/SpringBoardEvents.h"

namespace {
const ClassDef<SpringBoard>
    kSpringBoard("SpringBoard", "NSObject",
                 {
                     method("applicationDidFinishLaunching:", &SpringBoard::applicationDidFinishLaunching),
                 });
} // namespace

void SpringBoard::applicationDidFinishLaunching(id) {
    launched_ = true;
    DeviceEvents::record(sbevent::kLaunched, "");
}
