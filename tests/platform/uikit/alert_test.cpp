#include "uikit/UIAlertView.h"
#include "uikit/UIKitConstants.h"
#include "uikit/UIWindow.h"
#include "uikit_test_support.h"

#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;

id makeAlert(const std::string& title, const id& delegate, const std::string& cancel,
             std::vector<std::string> others) {
    return msg<id>(msg<id>(classObject(objc_getClass("UIAlertView")), "alloc"),
                   "initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:", title, "Message",
                   delegate, cancel, std::move(others));
}

TEST(AlertButtons, IndexesTitlesAndTheCancelIndex) {
    id plain = makeAlert("T", nullptr, "", {});
    EXPECT_EQ(msg<NSInteger>(plain, "cancelButtonIndex"), -1);
    EXPECT_EQ(msg<NSInteger>(plain, "numberOfButtons"), 0);
    EXPECT_EQ(msg<NSInteger>(plain, "addButtonWithTitle:", "Snooze"), 0);
    EXPECT_EQ(msg<NSInteger>(plain, "addButtonWithTitle:", "OK"), 1);
    msg(plain, "setCancelButtonIndex:", NSInteger{0});
    EXPECT_EQ(msg<NSInteger>(plain, "cancelButtonIndex"), 0);
    EXPECT_EQ(msg<std::string>(plain, "buttonTitleAtIndex:", NSInteger{1}), "OK");
    EXPECT_EQ(msg<std::string>(plain, "buttonTitleAtIndex:", NSInteger{5}), "");

    id prompt = makeAlert("", nullptr, "Cancel", {"OK"});
    EXPECT_EQ(msg<NSInteger>(prompt, "cancelButtonIndex"), 0);
    EXPECT_EQ(msg<NSInteger>(prompt, "numberOfButtons"), 2);
    EXPECT_EQ(msg<std::string>(prompt, "buttonTitleAtIndex:", NSInteger{1}), "OK");
    EXPECT_EQ(msg<std::string>(prompt, "title"), "");
    EXPECT_EQ(msg<std::string>(prompt, "message"), "Message");
    msg(prompt, "setTag:", NSInteger{3026});
    EXPECT_EQ(msg<NSInteger>(prompt, "tag"), 3026);
}

TEST(AlertDelegate, ATapCallsClickedThenTheDismissalsInOrder) {
    auto r = makeRecorder();
    id alert = makeAlert("T", r, "Cancel", {"OK"});
    msg(alert, "show");
    ASSERT_TRUE(msg<bool>(alert, "isVisible"));
    ASSERT_EQ(UIAlertView::shownAlerts().size(), 1u);
    EXPECT_TRUE(cast<UIAlertView>(alert)->tapButtonAtIndex(1));
    EXPECT_EQ(r->calls, (Calls{"clicked 1", "willDismiss 1", "didDismiss 1"}));
    EXPECT_FALSE(msg<bool>(alert, "isVisible"));
    EXPECT_TRUE(UIAlertView::shownAlerts().empty());
    // A dismissed alert takes no more taps.
    EXPECT_FALSE(cast<UIAlertView>(alert)->tapButtonAtIndex(0));
    EXPECT_EQ(r->calls.size(), 3u);
}

TEST(AlertDelegate, DismissingFromCodeSkipsClickedAndDismissSkipsTheDelegate) {
    auto r = makeRecorder();
    id alert = makeAlert("T", r, "Cancel", {});
    msg(alert, "show");
    msg(alert, "dismissWithClickedButtonIndex:animated:", NSInteger{0}, true);
    EXPECT_EQ(r->calls, (Calls{"willDismiss 0", "didDismiss 0"}));
    r->calls.clear();
    msg(alert, "show");
    msg(alert, "dismiss");
    EXPECT_TRUE(r->calls.empty());
    EXPECT_FALSE(msg<bool>(alert, "isVisible"));
}

TEST(AlertDelegate, ADelegateThatAnswersNothingAndOneThatWentAwayAreSkipped) {
    id quiet = msg<id>(classObject(objc_getClass("NSObject")), "new");
    id alert = makeAlert("T", quiet, "OK", {});
    msg(alert, "show");
    EXPECT_TRUE(cast<UIAlertView>(alert)->tapButtonAtIndex(0));

    id orphan;
    {
        auto r = makeRecorder();
        orphan = makeAlert("T", r, "OK", {});
    }
    EXPECT_EQ(msg<id>(orphan, "delegate"), nullptr);
    msg(orphan, "show");
    EXPECT_TRUE(cast<UIAlertView>(orphan)->tapButtonAtIndex(0));
    EXPECT_FALSE(cast<UIAlertView>(orphan)->tapButtonAtIndex(7));
}

TEST(AlertShownList, ListsShownAlertsOldestFirstAndKeepsThemAlive) {
    weak_id first;
    {
        id a = makeAlert("A", nullptr, "OK", {});
        id b = makeAlert("B", nullptr, "OK", {});
        msg(a, "show");
        msg(b, "show");
        msg(a, "show"); // showing twice lists it once
        first = a;
    }
    auto shown = UIAlertView::shownAlerts();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(msg<std::string>(shown[0], "title"), "A");
    EXPECT_EQ(msg<std::string>(shown[1], "title"), "B");
    msg(shown[0], "dismiss");
    shown.clear();
    EXPECT_TRUE(first.expired());
    msg(UIAlertView::shownAlerts()[0], "dismiss");
}

TEST(AlertTextFields, PlainTextInputHasOneFieldThatKeepsItsText) {
    id alert = makeAlert("", nullptr, "Cancel", {"OK"});
    msg(alert, "setAlertViewStyle:", UIAlertViewStylePlainTextInput);
    id field = msg<id>(alert, "textFieldAtIndex:", NSInteger{0});
    ASSERT_TRUE(field);
    EXPECT_EQ(msg<std::string>(field, "text"), "");
    msg(field, "setKeyboardType:", UIKeyboardTypeNumberPad);
    msg(field, "setText:", "180");
    msg(alert, "show");
    EXPECT_EQ(msg<id>(alert, "textFieldAtIndex:", NSInteger{0}), field);
    EXPECT_EQ(msg<std::string>(field, "text"), "180");
    EXPECT_EQ(msg<NSInteger>(field, "keyboardType"), UIKeyboardTypeNumberPad);
    EXPECT_EQ(msg<id>(field, "superview"), alert);
    msg(alert, "dismiss");
}

TEST(AlertTextFieldsDeathTest, AFieldTheStyleDoesNotHaveStopsTheProgram) {
    id alert = makeAlert("", nullptr, "OK", {});
    EXPECT_DEATH(msg<id>(alert, "textFieldAtIndex:", NSInteger{0}), "textFieldAtIndex:");
    msg(alert, "setAlertViewStyle:", UIAlertViewStylePlainTextInput);
    EXPECT_DEATH(msg<id>(alert, "textFieldAtIndex:", NSInteger{1}), "textFieldAtIndex:");
}

TEST(AlertAccessoryView, SetByKeyValueCodingLaidOutFullWidthAndTouchable) {
    auto r = makeRecorder();
    id alert = makeAlert("Alarm", r, "Snooze", {"OK"});
    id container = makeView("UIView", CGRectMake(0, 0, 100, 44));
    msg(container, "setAutoresizingMask:", UIViewAutoresizingFlexibleWidth);
    id button = msg<id>(classObject(objc_getClass("UIButton")), "buttonWithType:", NSInteger{0});
    msg(button, "setFrame:", CGRectMake(0, 0, 100, 44));
    msg(button, "setAutoresizingMask:", UIViewAutoresizingFlexibleWidth);
    msg(container, "addSubview:", button);
    msg(button, "addTarget:action:forControlEvents:", r, sel_registerName("action1:"),
        UIControlEventTouchUpInside);
    msg(alert, "setValue:forKey:", container, "accessoryView");
    EXPECT_EQ(msg<id>(alert, "valueForKey:", "accessoryView"), container);
    msg(alert, "show");

    const AlertLayout& layout = cast<UIAlertView>(alert)->layout();
    EXPECT_EQ(msg<CGRect>(container, "frame"), layout.accessory);
    EXPECT_EQ(msg<CGRect>(button, "frame").size, CGSizeMake(kAlertWidth, 44));

    // Touches go to the alert while it shows: its accessory button, then one of its own buttons.
    auto window = cast<UIWindow>(makeView("UIWindow", CGRectMake(0, 0, 320, 568)));
    const CGRect panel = layout.panel;
    const CGPoint onAccessory{panel.origin.x + 200, panel.origin.y + layout.accessory.origin.y + 22};
    EXPECT_TRUE(window->tap(onAccessory));
    EXPECT_EQ(r->calls, Calls{"action1"});
    EXPECT_FALSE(window->tap({1, 1})); // outside the alert: nowhere
    const CGRect ok = layout.buttons[1];
    EXPECT_TRUE(window->tap({panel.origin.x + ok.origin.x + 10, panel.origin.y + ok.origin.y + 10}));
    EXPECT_EQ(r->calls, (Calls{"action1", "clicked 1", "willDismiss 1", "didDismiss 1"}));
    EXPECT_TRUE(UIAlertView::shownAlerts().empty());
}

} // namespace

namespace {
TEST(AlertAccessoryView, ChangesToAShownAlertAreLaidOutAtOnce) {
    id alert = makeAlert("T", nullptr, "OK", {});
    msg(alert, "show");
    const auto& layout = cast<UIAlertView>(alert)->layout();
    const CGFloat before = layout.panel.size.height;
    id container = makeView("UIView", CGRectMake(0, 0, 100, 44));
    msg(alert, "setValue:forKey:", container, "accessoryView");
    EXPECT_EQ(layout.panel.size.height, before + 44);
    EXPECT_EQ(msg<id>(container, "superview"), alert);
    msg<NSInteger>(alert, "addButtonWithTitle:", "Snooze");
    msg<NSInteger>(alert, "addButtonWithTitle:", "Later");
    EXPECT_EQ(layout.buttons.size(), 3u);
    EXPECT_EQ(msg<CGRect>(alert, "frame"), layout.panel);
    msg(alert, "dismiss");
}
} // namespace
