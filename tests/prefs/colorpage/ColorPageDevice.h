// One device with the package installed, SpringBoard booted with the real tweak and the Settings
// app showing the real bundle: the color page as a person reaches it, and the views of its cell
// found by their instance-variable names (the test does not link the bundle's code).
#pragma once

#include "DeviceRootFixture.h"
#include "foundation/PropertyList.h"
#include "foundation/RunLoop.h"
#include "preferences/SettingsApp.h"
#include "springboard/SpringBoardHost.h"

#include <gtest/gtest.h>

inline constexpr const char* kPageSettingsPath =
    "/private/var/mobile/Library/Preferences/net.vexmoor.hushmark.plist";

// An object-typed instance variable by name, or none.
inline id ivarOf(const id& object, const char* name) {
    if (!object)
        return nullptr;
    return object_getIvar<id>(object.get(), class_getInstanceVariable(object_getClass(object.get()), name));
}

// A point in a view, in the coordinates of the outermost view above it (the page, or a window).
inline CGPoint outerPoint(id view, CGPoint local) {
    for (; view; view = msg<id>(view, "superview")) {
        const CGRect f = msg<CGRect>(view, "frame");
        if (!msg<id>(view, "superview"))
            break;
        local.x += f.origin.x;
        local.y += f.origin.y;
    }
    return local;
}
inline CGPoint centerIn(const id& view) {
    const CGRect f = msg<CGRect>(view, "frame");
    return outerPoint(view, {f.size.width / 2, f.size.height / 2});
}

struct ColorPageDevice {
    DeviceRootFixture root{std::vector<std::string>{"libstatusbar8"}};
    SpringBoardHost springBoard;
    SettingsApp settings;

    explicit ColorPageDevice(const PlistDict& file) {
        writeToFile(file, kPageSettingsPath, true);
        springBoard.boot();
    }
    // Opens Hushmark's page and taps "Button Color"; the color cell of the page that shows.
    id openColorPage() {
        if (!settings.openPane("Hushmark") || !settings.tapRow("Button Color"))
            return nullptr;
        const id page = settings.currentController();
        return msg<id>(page, "tableView:cellForRowAtIndexPath:", msg<id>(page, "table"), NSIndexPath{0, 0});
    }
    PlistValue stored(const char* key) const {
        const auto file = dictionaryWithContentsOfFile(kPageSettingsPath);
        return file ? PlistValue(*file)[key] : PlistValue();
    }
};
