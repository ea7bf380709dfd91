#include "LaunchHook.h"

#include "foundation/RunLoop.h"

namespace {
constexpr std::int64_t kSettleNanoseconds = 5'000'000'000;
} // namespace

void applicationDidFinishLaunching(TweakState& state, Object* springBoard, const id& application) {
    callImp(state.previous.applicationDidFinishLaunching, springBoard, application);
    dispatch_after_main(kSettleNanoseconds, [&state] { state.launchSettled = true; });
}
