// The root page of the pane in the Settings host with its real resource list, on a device root
// of its own: the fixture the list controller's tests share.
#pragma once

#include "DeviceRootFixture.h"
#include "foundation/NotifyCenter.h"
#include "foundation/NSDateFormatter.h"
#include "foundation/PropertyList.h"
#include "foundation/RunLoop.h"
#include "pane/PaneState.h"
#include "preferences/SettingsApp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#ifndef HM_PREFS_RESOURCES_DIR
#error "HM_PREFS_RESOURCES_DIR must name prefs/resources"
#endif

constexpr const char* kSettingsFile = "/private/var/mobile/Library/Preferences/net.vexmoor.hushmark.plist";
constexpr const char* kNotification = "net.vexmoor.hushmark.preferences";
// Monday 2026-12-07 10:00:00 UTC.
constexpr double kTen = 818330400.0;

// The Flipswitch panel as the pane sees it: records what it is told.
struct FakeSwitchPanel : NSObject {
    static inline std::vector<std::pair<NSInteger, std::string>> calls;
    void setStateForSwitchIdentifier(NSInteger state, std::string identifier) {
        calls.emplace_back(state, identifier);
    }
};

class HushmarkPane : public ::testing::Test {
  protected:
    void SetUp() override {
        usePaneState(&state);
        std::filesystem::copy(std::filesystem::path(HM_PREFS_RESOURCES_DIR) / "bundle",
                              root.hostPath("/Library/PreferenceBundles/Hushmark.bundle"),
                              std::filesystem::copy_options::recursive);
        FakeSwitchPanel::calls.clear();
        CFNotificationCenterAddObserver(
            CFNotificationCenterGetDarwinNotifyCenter(), this,
            [this](CFNotificationCenterRef, const void*, const std::string&) { ++notifications; },
            kNotification, nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);
    }
    void TearDown() override {
        CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), this);
        usePaneState(nullptr);
    }

    id open() {
        id bundle = msg<id>(classObject(objc_getClass("NSBundle")),
                            "bundleWithPath:", "/Library/PreferenceBundles/Hushmark.bundle");
        return app.openController(objc_getClass("HushmarkListController"), bundle);
    }
    void store(const PlistDict& settings) { ASSERT_TRUE(writeToFile(settings, kSettingsFile, true)); }
    PlistDict settings() const { return dictionaryWithContentsOfFile(kSettingsFile).value_or(PlistDict{}); }
    int delivered() {
        RunLoop::main().drain();
        return notifications;
    }
    void touch(const std::string& devicePath) {
        const auto path = root.hostPath(devicePath);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "";
    }
    // The status row is the row after "Clear".
    std::string statusText() {
        auto labels = app.rowLabels();
        auto clear = std::find(labels.begin(), labels.end(), "Clear");
        return clear != labels.end() && clear + 1 != labels.end() ? *(clear + 1) : "";
    }
    static std::string disarmedText(double deadline) {
        return "Hushmarked Until: " + NSDateFormatterLocalizedStringFromDate(NSDate{deadline},
                                                                             NSDateFormatterShortStyle,
                                                                             NSDateFormatterMediumStyle);
    }
    static PlistDict seeded(PlistDict extra = {}) {
        PlistDict s{{"buttonColor", "#FF0000"},
                    {"buttonText", "Hushmark"},
                    {"preferColorPicker", true},
                    {"colorPickerType", 0}};
        for (auto& [k, v] : extra)
            s[k] = v;
        return s;
    }

    PaneState state; // this test's own, in place of the bundle constructor's
    DeviceRootFixture root{DeviceRootFixture::Options{.addons = {}, .package = false, .start = NSDate{kTen}}};
    SettingsApp app;
    int notifications = 0;
};
