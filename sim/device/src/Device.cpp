// The device: its parts made over one root and one clock, the state a respring carries, and
// its events.
#include "device/Device.h"

#include "foundation/DeviceClock.h"
#include "foundation/DeviceEnvironment.h"
#include "foundation/PropertyList.h"
#include "foundation/RunLoop.h"
#include "springboard/PCSimpleTimer.h"
#include "uikit/UIScreen.h"

namespace sim {
namespace fs = std::filesystem;

namespace {
constexpr const char* kResumeFile = "/.hushmark-sim-resume.plist";

// The platform's device root and screen, and the root's setup.
DeviceSetup enterRoot(const fs::path& root) {
    DeviceEnvironment::setRoot(root);
    DeviceSetup setup = readDeviceSetup(root);
    UIScreen::setMainScreen(setup.screen, setup.scale);
    PCSimpleTimer::setSlack(setup.timerSlack);
    return setup;
}

} // namespace

Device::Device(Options options)
    : root_(std::move(options.root)), setup_(enterRoot(root_)), apps_(setup_), world_(apps_), input_(apps_),
      inspection_(apps_, world_, input_, setup_.scale), pictures_(apps_, setup_.scale) {
    DeviceClock::useVirtual(options.start);
    // What was recorded before the device existed (its root laid out, under the host's clock) is
    // not the device's: its record starts at its own clock.
    DeviceEvents::clear();
    DeviceEvents::setListener([this](const DeviceEvent& e) { dispatchEvent(e); });
    if (options.resume && !loadRespringState())
        resumeError_ = "cannot resume after a respring (no saved state in " + root_.string() + ")";
}

// The parts go after the listener: what they record as they go is no one's.
Device::~Device() {
    DeviceEvents::setListener(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Respring

bool Device::saveForRespring(const PlistDict& frontEndState) {
    RunLoop::main().drain();
    PlistDict state = world_.saved();
    state["frontEnd"] = PlistValue(frontEndState);
    return writeToFile(state, kResumeFile, true);
}

bool Device::loadRespringState() {
    auto state = dictionaryWithContentsOfFile(kResumeFile);
    if (!state)
        return false;
    std::error_code ec;
    fs::remove(root_ / fs::path(kResumeFile).relative_path(), ec);
    world_.restore(*state);
    frontEndState_ = valueForKey(*state, "frontEnd").asDict();
    return boot().empty();
}

// ---------------------------------------------------------------------------------------------
// Events

size_t Device::eventCount() const {
    return DeviceEvents::count();
}

std::vector<DeviceEvent> Device::events(size_t from) const {
    return DeviceEvents::since(from);
}

int Device::subscribe(std::function<void(const DeviceEvent&)> listener) {
    listeners_[nextToken_] = std::move(listener);
    return nextToken_++;
}

void Device::unsubscribe(int token) {
    listeners_.erase(token);
}

void Device::dispatchEvent(const DeviceEvent& event) {
    auto listeners = listeners_; // a listener may unsubscribe
    for (auto& [token, listener] : listeners)
        if (listener)
            listener(event);
}

} // namespace sim
