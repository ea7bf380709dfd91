// The whole color edit in one device: Settings with the installed bundle, SpringBoard with the
// installed tweak. The person opens the color page, drags on the picker, types a hex value and
// goes back; the root page and the next alarm's button show the new color.
#include "ColorPageDevice.h"

#include "springboard/AlarmBook.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIWindow.h"

namespace {

id rgb(double r, double g, double b) {
    return msg<id>(classObject(objc_getClass("UIColor")), "colorWithRed:green:blue:alpha:", r, g, b, 1.0);
}
bool sameColor(const id& a, const id& b) {
    return a && msg<bool>(a, "isEqual:", b);
}

id alertButton(const id& sheet) {
    const id container = msg<id>(sheet, "valueForKey:", std::string("accessoryView"));
    const auto subviews = msg<std::vector<id>>(container, "subviews");
    return subviews.empty() ? nullptr : subviews.front();
}

TEST(ColorEdit, DragAndHexEntryReachTheRootRowAndTheAlarmButton) {
    ColorPageDevice device({{"enabled", true},
                            {"enableAlertButtons", true},
                            {"buttonColor", "#FF0000"},
                            {"buttonText", "Hushmark"},
                            {"preferColorPicker", true},
                            {"colorPickerType", 2}});
    device.springBoard.addAlarm(springboard::ClockAlarm{"wake", {8, 30, 0}, "Wake", true, true});

    const id cell = device.openColorPage();
    ASSERT_TRUE(cell);
    EXPECT_EQ(msg<std::string>(device.settings.currentController(), "title"), "buttonColor");
    const id picker = ivarOf(cell, "colorPickerView_B");
    ASSERT_TRUE(picker);

    // The person's finger, on a window showing the page.
    const id page = device.settings.pageView();
    auto window =
        std::dynamic_pointer_cast<UIWindow>(msg<id>(msg<id>(classObject(objc_getClass("UIWindow")), "alloc"),
                                                    "initWithFrame:", msg<CGRect>(page, "frame")));
    ASSERT_TRUE(window);
    msg(window, "addSubview:", page);
    window->makeKeyAndVisible();

    // Drag across the hue and saturation square; lifting the finger saves.
    const id square = ivarOf(picker, "_hueSaturationView");
    const CGRect s = msg<CGRect>(square, "frame");
    ASSERT_TRUE(window->touchDown(outerPoint(square, {s.size.width * 0.1, s.size.height * 0.2})));
    window->touchMove(outerPoint(square, {s.size.width * 0.4, s.size.height * 0.3}));
    window->touchUp(outerPoint(square, {s.size.width * 0.6, s.size.height * 0.25}));
    RunLoop::main().drain();
    const std::string dragged = msg<std::string>(ivarOf(cell, "hexColorField"), "text");
    EXPECT_NE(dragged, "#FF0000");
    EXPECT_EQ(device.stored("buttonColor"), PlistValue(dragged));

    // Tap the hex text and type a value.
    ASSERT_TRUE(window->tap(centerIn(ivarOf(cell, "hexColorField"))));
    const auto alerts = UIAlertView::shownAlerts();
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0]->tag(), 2629);
    msg(msg<id>(alerts[0], "textFieldAtIndex:", NSInteger{0}), "setText:", std::string("0x3366cc"));
    ASSERT_TRUE(alerts[0]->tapButtonAtIndex(1));
    RunLoop::main().drain();
    EXPECT_EQ(device.stored("buttonColor"), PlistValue("#3366CC"));
    EXPECT_EQ(device.stored("buttonText"), PlistValue("Hushmark"));

    // Back on the root page the row is painted in the new color.
    ASSERT_TRUE(device.settings.back());
    const id blue = rgb(0x33 / 255.0, 0x66 / 255.0, 0xCC / 255.0);
    EXPECT_TRUE(sameColor(device.settings.rowBackgroundColor("Button Color"), blue));

    // The tweak took the notification: the 08:30 alarm's button has the new color.
    RunLoop::main().runUntil(NSDate{DeviceRootFixture::kStart + 30 * 60});
    const id button = alertButton(device.springBoard.alertSheet());
    ASSERT_TRUE(button);
    EXPECT_TRUE(sameColor(msg<id>(button, "backgroundColor"), blue));
}

} // namespace
