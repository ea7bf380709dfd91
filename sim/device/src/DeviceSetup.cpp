#include "device/DeviceSetup.h"

#include "foundation/DeviceEnvironment.h"
#include "foundation/PropertyList.h"

#include <algorithm>

namespace sim {
namespace {
constexpr const char* kSetupFile = "/.hushmark-sim-device.plist";

// Reads or writes with the platform's root pointed at `root` for the call.
template <class F> auto withRoot(const std::filesystem::path& root, F f) {
    const std::filesystem::path previous = DeviceEnvironment::root();
    DeviceEnvironment::setRoot(root);
    auto result = f();
    if (!previous.empty())
        DeviceEnvironment::setRoot(previous);
    return result;
}
} // namespace

std::optional<DeviceSetup> setupForScreen(const std::string& name, DeviceSetup base) {
    if (name == "320x568")
        base.screen = {320, 568}, base.scale = 2;
    else if (name == "375x667")
        base.screen = {375, 667}, base.scale = 2;
    else if (name == "414x736")
        base.screen = {414, 736}, base.scale = 3;
    else
        return std::nullopt;
    return base;
}

std::string writeDeviceSetup(const std::filesystem::path& root, const DeviceSetup& setup) {
    PlistArray without(setup.springboardWithout.begin(), setup.springboardWithout.end());
    PlistDict dict{{"ScreenWidth", double(setup.screen.width)},
                   {"ScreenHeight", double(setup.screen.height)},
                   {"ScreenScale", setup.scale},
                   {"SpringBoardWithout", without},
                   {"TimerSlack", setup.timerSlack}};
    bool written = withRoot(root, [&] { return writeToFile(dict, kSetupFile, true); });
    return written ? "" : "cannot write the device setup in " + root.string();
}

DeviceSetup readDeviceSetup(const std::filesystem::path& root) {
    DeviceSetup setup;
    auto dict = withRoot(root, [] { return dictionaryWithContentsOfFile(kSetupFile); });
    if (!dict)
        return setup;
    double w = valueForKey(*dict, "ScreenWidth").doubleValue();
    double h = valueForKey(*dict, "ScreenHeight").doubleValue();
    double s = valueForKey(*dict, "ScreenScale").doubleValue();
    for (const std::string& name : knownScreens()) {
        auto known = setupForScreen(name);
        if (known->screen.width == w && known->screen.height == h && known->scale == s)
            setup = *known;
    }
    for (const PlistValue& v : valueForKey(*dict, "SpringBoardWithout").asArray()) {
        const auto& known = removableSpringBoardClasses();
        if (v.isString() && std::find(known.begin(), known.end(), v.asString()) != known.end())
            setup.springboardWithout.push_back(v.asString());
    }
    double slack = valueForKey(*dict, "TimerSlack").doubleValue();
    if (slack > 0 && slack <= kMaxTimerSlack)
        setup.timerSlack = slack;
    return setup;
}

} // namespace sim
