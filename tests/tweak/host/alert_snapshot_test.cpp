// Pictures of both alarm alerts with the button, written as PNG files for a person to look at,
// and checked where it matters: the button is drawn in its color below the alert's own buttons.
#include "TweakDevice.h"

#include "uikit/UIAlertView.h"
#include "uikit/UISnapshot.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace tweaktest;

constexpr double kScale = 2.0;

// The middle of the button, in the alert's pixels.
std::pair<size_t, size_t> buttonCenter(const Ref<UIAlertView>& alert) {
    CGRect container = msg<CGRect>(alert->accessoryView(), "frame");
    id button = msg<std::vector<id>>(alert->accessoryView(), "subviews").at(0);
    CGRect frame = msg<CGRect>(button, "frame");
    return {size_t((container.origin.x + frame.origin.x + frame.size.width / 2) * kScale),
            size_t((container.origin.y + frame.origin.y + frame.size.height / 2) * kScale)};
}

void snapshotAndCheck(const Ref<UIAlertView>& alert, const std::string& file, SnapshotImage::Pixel want) {
    ASSERT_TRUE(alert && alert->accessoryView());
    std::filesystem::create_directories(HM_SNAPSHOT_DIR);
    EXPECT_TRUE(UISnapshotWriteView(alert, std::string(HM_SNAPSHOT_DIR) + "/" + file, kScale));
    SnapshotImage image = UISnapshotRenderView(alert, kScale);
    auto [x, y] = buttonCenter(alert);
    // Sampled halfway between the left edge and the middle, clear of the title text.
    SnapshotImage::Pixel p = image.at(x / 2, y);
    EXPECT_EQ(p.r, want.r);
    EXPECT_EQ(p.g, want.g);
    EXPECT_EQ(p.b, want.b);
    // The button lies below the alert's title.
    EXPECT_GT(msg<CGRect>(alert->accessoryView(), "frame").origin.y, alert->layout().title.origin.y);
}

TEST(AlertSnapshots, ModalAlarmAlertWithTheButton) {
    TweakDevice device;
    device.writeSettings({{"enabled", true},
                          {"enableAlertButtons", true},
                          {"buttonText", "Hushmark 1 h"},
                          {"buttonColor", "#D03030"}});
    device.boot();
    device.addAlarm(8, 30, "Wake up");
    device.runUntil(at(8, 30));
    snapshotAndCheck(cast<UIAlertView>(device.host.alertSheet()), "modal_alarm_alert.png",
                     {0xD0, 0x30, 0x30, 255});
}

TEST(AlertSnapshots, LockScreenAlarmAlertWithTheButton) {
    TweakDevice device;
    device.writeSettings({{"enabled", true},
                          {"enableAlertButtons", true},
                          {"buttonText", "Hushmark"},
                          {"buttonColor", "#2060C0"}});
    device.boot();
    device.host.lock();
    device.addAlarm(8, 30, "Wake up");
    device.runUntil(at(8, 30));
    ASSERT_EQ(UIAlertView::shownAlerts().size(), 1u);
    snapshotAndCheck(UIAlertView::shownAlerts()[0], "lock_screen_alarm_alert.png", {0x20, 0x60, 0xC0, 255});
}

} // namespace
