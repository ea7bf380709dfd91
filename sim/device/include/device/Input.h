// A person's touches and keys on the device's two screens, each through the screen window's hit
// testing, and the shorthands a scenario uses, each over those touches: a shorthand finds its
// target by what the screen shows (a row's text, a value on the color page, an alert's button
// title, a tag) and touches it there, as a person would.
#pragma once

#include "device/Names.h"

#include "coregraphics/CoreGraphics.h"
#include "foundation/NSIndexPath.h"
#include "objc/runtime.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sim {

class Apps;

class Input {
  public:
    explicit Input(Apps& apps);
    Input(const Input&) = delete;
    Input& operator=(const Input&) = delete;

    // --- Touches and keys -----------------------------------------------------------------------
    // One finger at a screen point, through the screen window's hit testing (the topmost alert
    // of that screen takes every touch while one shows). A touch down answers an error when
    // nothing takes it; move and up act on the touch in progress.
    std::string touch(Screen screen, TouchPhase phase, CGPoint point);
    std::string touchDown(Screen screen, CGPoint point);
    std::string touchMove(Screen screen, CGPoint point);
    std::string touchUp(Screen screen, CGPoint point);
    std::string tap(Screen screen, CGPoint point);
    // Down at `from`, `steps` moves along the line, up at `to`.
    std::string drag(Screen screen, CGPoint from, CGPoint to, int steps = 10);
    // Typing goes to the text field being edited: the one last touched, else the first field of
    // the topmost alert. Return ends the editing (a Settings row takes the text; an alert taps
    // its first button that is not the cancel button).
    std::string type(const std::string& text);
    std::string press(Key key);
    // The text field being edited and the screen it is on, if any.
    struct EditedText {
        Screen screen;
        std::string text;
        CGRect frame; // the field, in screen points
    };
    std::optional<EditedText> editing() const;

    // --- Shorthands, each over the touches above ------------------------------------------------
    std::string openSettings(); // Hushmark's page from Settings' list
    std::string settingsBack();
    std::string tapRow(const std::string& label);
    std::string setRowSwitch(const std::string& label, bool on);
    std::string typeInRow(const std::string& label, const std::string& text);
    std::string pickRowSegment(const std::string& label, long index);
    // A tap, or a drag of ten moves, on the color page's picker, in picker coordinates.
    std::string tapPicker(CGPoint point);
    std::string dragPicker(CGPoint from, CGPoint to);
    // The color page's prompts: which is "hex", "red", "green" or "blue"; types and saves.
    std::string enterColor(const std::string& which, const std::string& text);
    // Taps the button titled `title` on the topmost alert of either screen (the extra button in
    // an alert's accessory view too), or a lock-screen alarm's "Snooze" or "slide to stop".
    std::string tapAlertButton(const std::string& title);

    // --- The phone ------------------------------------------------------------------------------
    // The home button: the app in front goes to the background and the home screen shows (from
    // the switcher too). Pressed twice: the app switcher.
    std::string pressHome();
    std::string showSwitcher();
    // Opens an app ("Settings", "Clock") by tapping its icon on the home screen, pressing home
    // first when the home screen does not show.
    std::string openApp(const std::string& name);
    // Sets a Clock alarm through the Clock app's own screens, opened first: the list, "+", the
    // wheels, Repeat, Label, Snooze, Save, each a touch on the phone (whole minutes).
    struct ClockEntry {
        int hour = 0, minute = 0;
        std::string label;
        bool daily = false;
        bool snooze = true;
    };
    std::string addClockAlarm(const ClockEntry& entry);

  private:
    struct Touch {
        bool down = false;
        id target;  // the view the finger landed on
        id rowCell; // a Settings cell that takes the touch as a row tap
        id field;   // a text field the finger landed on
    };
    struct Editing {
        std::weak_ptr<Object> field; // a UITextField
        Screen screen = Screen::SpringBoard;
        std::optional<NSIndexPath> row; // a Settings text row, committed on Return
    };
    // Drops the editing of a field no longer shown (run whenever alerts are claimed).
    void dropHiddenEditing();
    // A finger on the phone's display (each phase); the text field it lifts on starts editing.
    std::string phoneTouch(TouchPhase phase, CGPoint point);
    // Whether a field is the Clock app's label field (typed into as any field; Return ends it).
    bool isClockLabelField(const id& field) const;
    std::string endEditing();
    std::vector<CGPoint> pickerPoints(const std::vector<CGPoint>& points);

    Apps& apps_;
    std::array<Touch, kScreenCount> touches_;
    std::optional<Editing> editing_;
};

} // namespace sim
