// A fresh device root with a settings folder, a color cell made as the color page's row makes
// it, and a count of the change notifications the cell posts.
#pragma once

#include "cell/HMColorCell.h"
#include "foundation/DeviceEnvironment.h"
#include "foundation/DeviceClock.h"
#include "foundation/NotifyCenter.h"
#include "foundation/PropertyList.h"
#include "foundation/RunLoop.h"
#include "preferences/PSCellTypes.h"

#include "DeviceRootFixture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

inline constexpr const char* kCellSettingsPath = "/var/mobile/Library/Preferences/net.vexmoor.hushmark.plist";
inline constexpr const char* kChangeNotification = "net.vexmoor.hushmark.preferences";

class ColorCellTest : public ::testing::Test {
  protected:
    void SetUp() override {
        CFNotificationCenterAddObserver(
            CFNotificationCenterGetDarwinNotifyCenter(), this,
            [this](CFNotificationCenterRef, const void*, const std::string&) { ++posts_; },
            kChangeNotification, nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);
    }
    void TearDown() override {
        CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), this);
    }

    // The specifier of the color row, as the resource list and the page give it.
    id colorSpecifier(std::optional<PlistValue> preferColorPicker = std::nullopt) {
        id row = msg<id>(classObject(objc_getClass("PSSpecifier")),
                         "preferenceSpecifierNamed:target:set:get:detail:cell:edit:", std::string(), id{},
                         SEL{nullptr}, SEL{nullptr}, static_cast<Class*>(nullptr), PSStaticTextCell,
                         static_cast<Class*>(nullptr));
        set(row, "key", "buttonColor");
        set(row, "defaults", "net.vexmoor.hushmark");
        set(row, "PostNotification", kChangeNotification);
        set(row, "default", "#FF0000");
        set(row, "min", 0);
        set(row, "max", 255);
        if (preferColorPicker)
            set(row, "preferColorPicker", *preferColorPicker);
        return row;
    }
    static void set(const id& row, const char* key, PlistValue value) {
        msg(row, "setProperty:forKey:", value, std::string(key));
    }
    static Ref<HMColorCell> makeCell(const id& row) {
        return msg<Ref<HMColorCell>>(msg<id>(classObject(objc_getClass("HMColorCell")), "alloc"),
                                     "initWithStyle:reuseIdentifier:specifier:", NSInteger{3},
                                     std::string("color"), row);
    }

    static void writeSettings(const PlistDict& settings) {
        ASSERT_TRUE(writeToFile(settings, kCellSettingsPath, true));
    }
    static std::optional<PlistDict> settings() { return dictionaryWithContentsOfFile(kCellSettingsPath); }

    // Notifications delivered so far (delivery runs on the main loop).
    int posts() {
        RunLoop::main().drain();
        return posts_;
    }

    DeviceRootFixture root_{DeviceRootFixture::Options{.addons = {}, .package = false}};
    int posts_ = 0;
};

inline std::string textOf(const id& label) {
    return msg<std::string>(label, "text");
}
inline float valueOf(const id& slider) {
    return msg<float>(slider, "value");
}
