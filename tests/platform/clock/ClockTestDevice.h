// Shared by the Clock app tests: a device root on the virtual clock (Monday 2026-12-07 08:00
// UTC, the device in UTC), SpringBoard booted, and the Clock app over its alarm model, touched
// through its window at the points of its controls.
#pragma once

#include "DeviceRootFixture.h"
#include "clock/ClockApp.h"
#include "springboard/SpringBoardHost.h"
#include "uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <string>

namespace clocktest {

struct ClockDevice {
    DeviceRootFixture root{DeviceRootFixture::Options{.addons = {}, .package = false}};
    SpringBoardHost host;
    clockapp::ClockApp app;

    explicit ClockDevice(const std::string& locale = "en_US", CGSize screen = {320, 568})
        : app(host, screen, locale) {
        host.boot();
    }

    UIWindow& window() { return *static_cast<UIWindow*>(app.window().get()); }

    // A finger down and up on a named control; false when the page has none or nothing took it.
    bool tap(const std::string& control, int index = 0) {
        auto p = app.pointOf(control, index);
        return p && window().tap(*p);
    }
    // A finger put on a named control, moved by `dy` points in `steps` steps, and lifted.
    bool drag(const std::string& control, double dy, int steps = 4) {
        auto p = app.pointOf(control);
        if (!p || !window().touchDown(*p))
            return false;
        for (int i = 1; i <= steps; ++i)
            window().touchMove({p->x, p->y + dy * i / steps});
        window().touchUp({p->x, p->y + dy});
        return true;
    }
    // The alarms SpringBoard keeps.
    std::vector<springboard::ClockAlarm> model() const { return host.alarmBook().alarms(); }
    std::string add(int hour, int minute, const std::string& label = "", unsigned weekdays = 0,
                    bool enabled = true) {
        std::string id = host.addAlarm({"", {hour, minute, weekdays, 0}, label, true, enabled});
        app.reload();
        return id;
    }
};

} // namespace clocktest
