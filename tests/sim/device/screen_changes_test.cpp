// A front end that lays each screen's changed rectangles over the picture it has holds exactly
// what a full rendering shows (the phone's display, with Settings brought to its front, too), through the
// interactions that change a screen: a switch, a drag on the color picker, an alert shown and dismissed,
// typing into a prompt and a row, the status bar's clock, locking, and going back a page. Where a view asked
// to be redrawn, only a part of the screen is drawn again.
#include "BootedSimDevice.h"
#include "device/Device.h"
#include "device/DeviceImage.h"
#include "device/LocalTime.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>

namespace sim {
namespace {

namespace fs = std::filesystem;

// A front end's copy of a screen, built from changes alone.
struct Assembled {
    SnapshotImage image;
    void apply(const ScreenChanges& c) {
        if (c.whole || image.width != c.width || image.height != c.height)
            image = SnapshotImage{c.width, c.height, std::vector<uint8_t>(c.width * c.height * 4)};
        for (const ScreenTile& t : c.tiles) {
            ASSERT_EQ(t.image.width, t.rect.width);
            ASSERT_EQ(t.image.height, t.rect.height);
            ASSERT_LE(t.rect.x + t.rect.width, image.width);
            ASSERT_LE(t.rect.y + t.rect.height, image.height);
            for (size_t y = 0; y < t.rect.height; ++y)
                std::memcpy(&image.rgba[((t.rect.y + y) * image.width + t.rect.x) * 4],
                            &t.image.rgba[y * t.rect.width * 4], t.rect.width * 4);
        }
    }
};

// Where two pictures first differ, or nothing when they are equal.
std::optional<std::string> firstDifference(const SnapshotImage& a, const SnapshotImage& b) {
    if (a.width != b.width || a.height != b.height)
        return std::to_string(a.width) + "x" + std::to_string(a.height) + " against " +
               std::to_string(b.width) + "x" + std::to_string(b.height);
    for (size_t y = 0; y < a.height; ++y)
        for (size_t x = 0; x < a.width; ++x)
            if (std::memcmp(&a.rgba[(y * a.width + x) * 4], &b.rgba[(y * a.width + x) * 4], 4) != 0)
                return "pixel " + std::to_string(x) + ", " + std::to_string(y);
    return std::nullopt;
}

// The frame (screen points) of the first view of one of the classes.
std::optional<CGRect> frameOfClass(const nlohmann::json& view, const std::vector<std::string>& classes) {
    if (std::find(classes.begin(), classes.end(), view["class"].get<std::string>()) != classes.end()) {
        const auto& f = view["frame"];
        return CGRectMake(f["x"], f["y"], f["width"], f["height"]);
    }
    if (view.contains("subviews"))
        for (const auto& sub : view["subviews"])
            if (auto found = frameOfClass(sub, classes))
                return found;
    return std::nullopt;
}

// The screen the interactions' own touches go to: Settings', or the phone's when it is looked at.
Screen touched = Screen::Settings;

class ScreenChangesTest : public BootedSimDevice {
  protected:
    ScreenChangesTest() : BootedSimDevice({{"enableAlertButtons", true}}) {}

    // Takes both screens' changes, lays them over the copies, and compares each copy with a full
    // rendering. Answers the Settings screen's changes; `springboard` gets SpringBoard's.
    ScreenChanges look(const std::string& step, ScreenChanges* springboard = nullptr) {
        ScreenChanges settings;
        for (Screen s : screens_) {
            ScreenChanges c = device_->pictures().changes(s);
            Assembled& copy = copies_[screenIndex(s)];
            copy.apply(c);
            const auto differs = firstDifference(copy.image, device_->pictures().render(s));
            EXPECT_FALSE(differs) << step << ", " << screenName(s) << ": " << *differs;
            // The kept picture is the one the changes built.
            EXPECT_FALSE(firstDifference(copy.image, device_->pictures().keptPicture(s))) << step;
            if (s == Screen::Settings || s == Screen::Phone)
                settings = std::move(c);
            else if (springboard)
                *springboard = std::move(c);
        }
        return settings;
    }
    CGRect picker() {
        // The picker's square, whichever layout shows.
        auto frame =
            frameOfClass(device_->inspection().inspect(touched)["views"],
                         {"HMHueSaturationView", "HMBrightnessSaturationView", "HMHueBrightnessView"});
        EXPECT_TRUE(frame);
        return frame.value_or(CGRectZero);
    }

    // The screens looked at: SpringBoard's and Settings', or the phone's display alone (whose
    // windows take Settings' views while they show it).
    std::vector<Screen> screens_{Screen::SpringBoard, Screen::Settings};
    Assembled copies_[kScreenCount];
};

struct Interaction {
    const char* name;
    std::function<void(Device&)> before; // brings the device where the interaction starts
    // The steps, each looked at: true when the step only redraws a part of the Settings screen.
    std::vector<std::pair<std::function<void(Device&, CGRect picker)>, bool>> steps;
};

const std::vector<Interaction>& interactions() {
    auto openColors = [](Device& d) {
        ASSERT_EQ(d.input().openSettings(), "");
        ASSERT_EQ(d.input().tapRow("Button Color"), "");
    };
    auto drag = [](int step) {
        return [step](Device& d, CGRect p) {
            const CGPoint at{p.origin.x + 10 + step * 13, p.origin.y + 10 + step * 7};
            ASSERT_EQ(step == 0 ? d.input().touchDown(touched, at) : d.input().touchMove(touched, at), "");
        };
    };
    static const std::vector<Interaction> all = {
        {"switch",
         [](Device& d) { ASSERT_EQ(d.input().openSettings(), ""); },
         {{[](Device& d, CGRect) { ASSERT_EQ(d.input().setRowSwitch("Button on Alarm Alerts", true), ""); },
           true},
          {[](Device& d, CGRect) { ASSERT_EQ(d.input().setRowSwitch("Button on Alarm Alerts", false), ""); },
           true},
          // This one enables the rows below it: the table changes as a whole.
          {[](Device& d, CGRect) { ASSERT_EQ(d.input().setRowSwitch("Enabled", true), ""); }, false}}},
        {"picker drag",
         openColors,
         {{drag(0), true},
          {drag(1), true},
          {drag(2), true},
          {drag(3), true},
          // Lifting the finger saves the color, and the page reloads its rows.
          {[](Device& d, CGRect p) {
               ASSERT_EQ(d.input().touchUp(touched, {p.origin.x + 50, p.origin.y + 31}), "");
           },
           false},
          {[](Device& d, CGRect) {
               ASSERT_EQ(d.input().tapPicker({150, 120}), "");
           },
           false}}},
        {"alert shown and dismissed",
         [](Device& d) {
             ASSERT_EQ(d.world().addAlarm({7 * 3600, "Wake up"}), "");
         },
         {{[](Device& d, CGRect) { ASSERT_EQ(d.world().advance(61), ""); }, false},
          {[](Device& d, CGRect) { ASSERT_EQ(d.input().tapAlertButton("OK"), ""); }, false}}},
        {"typing into a prompt",
         openColors,
         {{[](Device& d, CGRect) { ASSERT_EQ(d.input().enterColor("hex", "#1E90FF"), ""); }, false},
          {[](Device& d, CGRect) { ASSERT_EQ(d.input().enterColor("red", "200"), ""); }, false}}},
        {"typing into a row",
         [](Device& d) { ASSERT_EQ(d.input().openSettings(), ""); },
         {{[](Device& d, CGRect) { ASSERT_EQ(d.input().typeInRow("Minutes to Disarm", "45"), ""); }, true}}},
        {"status bar clock and lock",
         [](Device&) {},
         {{[](Device& d, CGRect) { ASSERT_EQ(d.world().advance(60), ""); }, false},
          {[](Device& d, CGRect) { ASSERT_EQ(d.world().lock(true), ""); }, false},
          {[](Device& d, CGRect) { ASSERT_EQ(d.world().lock(false), ""); }, false}}},
        {"back a page",
         openColors,
         {{[](Device& d, CGRect) { ASSERT_EQ(d.input().settingsBack(), ""); }, false}}},
    };
    return all;
}

size_t sentPixels(const ScreenChanges& c) {
    size_t sent = 0;
    for (const ScreenTile& t : c.tiles)
        sent += t.rect.width * t.rect.height;
    return sent;
}

class InteractionTest : public ScreenChangesTest, public testing::WithParamInterface<size_t> {
  protected:
    // Plays the interaction on the screen `touched` names. After each step the picture laid
    // together from the changes must be the full rendering (look checks it), and a step that
    // changes a part of the screen must pass `partial`.
    void play(const std::function<void(const ScreenChanges&, size_t step)>& partial) {
        const Interaction& i = interactions()[GetParam()];
        i.before(*device_);
        look(std::string(i.name) + " (start)");
        const CGRect p = std::string(i.name) == "picker drag" ? picker() : CGRectZero;
        for (size_t n = 0; n < i.steps.size(); ++n) {
            i.steps[n].first(*device_, p);
            const ScreenChanges c = look(std::string(i.name) + " step " + std::to_string(n));
            if (i.steps[n].second) {
                EXPECT_FALSE(c.whole) << "step " << n;
                partial(c, n);
            }
        }
    }
};

// Each interaction in a process of its own (one device a process). A part changed is a part
// redrawn.
TEST_P(InteractionTest, ChangesLaidOverThePictureMakeTheFullRendering) {
    play([](const ScreenChanges& c, size_t n) {
        EXPECT_LT(c.redrawnPixels, c.width * c.height / 2) << "step " << n;
    });
}

// On the phone a change within Settings' page is a part of the picture sent (typing into a row
// still redraws the whole display there).
TEST_P(InteractionTest, OnThePhoneChangesLaidOverThePictureMakeTheFullRendering) {
    screens_ = {Screen::Phone};
    touched = Screen::Phone;
    play([](const ScreenChanges& c, size_t n) {
        EXPECT_LT(sentPixels(c), c.width * c.height / 2) << "step " << n;
    });
    touched = Screen::Settings;
}

INSTANTIATE_TEST_SUITE_P(Interactions, InteractionTest, testing::Range(size_t{0}, interactions().size()),
                         [](const testing::TestParamInfo<size_t>& info) {
                             std::string name = interactions()[info.param].name;
                             for (char& c : name)
                                 if (c == ' ')
                                     c = '_';
                             return name;
                         });

// Nothing changed, nothing drawn: a second look answers no tiles and keeps the version.
TEST_F(ScreenChangesTest, AnUnchangedScreenAnswersNothing) {
    ASSERT_EQ(device_->input().openSettings(), "");
    const ScreenChanges first = device_->pictures().changes(Screen::Settings);
    EXPECT_TRUE(first.whole);
    ASSERT_EQ(first.tiles.size(), 1u);
    const ScreenChanges again = device_->pictures().changes(Screen::Settings);
    EXPECT_TRUE(again.tiles.empty());
    EXPECT_EQ(again.version, first.version);
    EXPECT_EQ(again.redrawnPixels, 0u);
    ASSERT_EQ(device_->input().setRowSwitch("Enabled", true), "");
    const ScreenChanges switched = device_->pictures().changes(Screen::Settings);
    EXPECT_FALSE(switched.tiles.empty());
    EXPECT_GT(switched.version, first.version);
}

// SpringBoard draws its screen anew from its state; what is sent is still only what differs: the
// status bar's clock turning a minute is a strip at the top.
TEST_F(ScreenChangesTest, AMinuteOnTheClockSendsTheStatusBarOnly) {
    look("start");
    ASSERT_EQ(device_->world().advance(60), "");
    ScreenChanges springboard;
    look("a minute later", &springboard);
    ASSERT_FALSE(springboard.tiles.empty());
    EXPECT_FALSE(springboard.whole);
    for (const ScreenTile& t : springboard.tiles)
        EXPECT_LE(t.rect.y + t.rect.height, 20 * 2u) << "below the status bar, at " << t.rect.y;
}

// The phone through a person's use of it: touches on Settings' page and the color picker, a look
// at Settings' own screen (which draws the same views), the status bar's clock, an alarm ringing
// over the app, the home button, the switcher, the Clock app, and the lock. After each step the
// picture built from the phone's changes alone is its full rendering; a step that changes a part
// of the display draws only a part again.
struct PhoneStep {
    const char* name;
    std::function<void(Device&)> act;
    bool part;
};

// Where a row's switch is on the phone.
CGPoint phoneSwitch(Device& d, const std::string& label) {
    const nlohmann::json phone = d.inspection().inspect(Screen::Phone);
    for (const auto& row : phone["settings"]["rows"])
        if (row["label"] == label)
            return {280, row["frame"]["y"].get<double>() + 22};
    ADD_FAILURE() << "no row " << label << " on the phone";
    return {};
}

CGPoint phonePicker(Device& d, double dx) {
    const auto square =
        frameOfClass(d.inspection().inspect(Screen::Phone)["views"],
                     {"HMHueSaturationView", "HMBrightnessSaturationView", "HMHueBrightnessView"});
    EXPECT_TRUE(square) << "no picker on the phone";
    const CGRect r = square.value_or(CGRectZero);
    return {r.origin.x + 10 + dx, r.origin.y + r.size.height / 2};
}

const std::vector<PhoneStep>& phoneSteps() {
    static const std::vector<PhoneStep> steps = {
        {"Settings in front", [](Device& d) { ASSERT_EQ(d.input().openSettings(), ""); }, false},
        {"a finger on a switch",
         [](Device& d) { ASSERT_EQ(d.input().touchDown(Screen::Phone, phoneSwitch(d, "Enabled")), ""); },
         true},
        // Switching it on enables the rows below it: the table changes as a whole.
        {"the finger lifts",
         [](Device& d) { ASSERT_EQ(d.input().touchUp(Screen::Phone, phoneSwitch(d, "Enabled")), ""); },
         false},
        {"the color page", [](Device& d) { ASSERT_EQ(d.input().tapRow("Button Color"), ""); }, false},
        {"a finger on the picker",
         [](Device& d) { ASSERT_EQ(d.input().touchDown(Screen::Phone, phonePicker(d, 0)), ""); }, true},
        {"it moves", [](Device& d) { ASSERT_EQ(d.input().touchMove(Screen::Phone, phonePicker(d, 30)), ""); },
         true},
        {"it moves again",
         [](Device& d) { ASSERT_EQ(d.input().touchMove(Screen::Phone, phonePicker(d, 60)), ""); }, true},
        {"it lifts", [](Device& d) { ASSERT_EQ(d.input().touchUp(Screen::Phone, phonePicker(d, 60)), ""); },
         false},
        {"a look at Settings' own screen", [](Device& d) { d.pictures().changes(Screen::Settings); }, false},
        {"a minute on the status bar's clock", [](Device& d) { ASSERT_EQ(d.world().advance(60), ""); }, true},
        {"back a page", [](Device& d) { ASSERT_EQ(d.input().settingsBack(), ""); }, false},
        {"an alarm rings over Settings",
         [](Device& d) {
             ASSERT_EQ(d.world().addAlarm({7 * 3600 + 300, "Wake up"}), "");
             ASSERT_EQ(d.world().advance(300), "");
         },
         false},
        {"its alert is dismissed", [](Device& d) { ASSERT_EQ(d.input().tapAlertButton("OK"), ""); }, false},
        {"the home button", [](Device& d) { ASSERT_EQ(d.input().pressHome(), ""); }, false},
        {"the switcher", [](Device& d) { ASSERT_EQ(d.input().showSwitcher(), ""); }, false},
        {"the Clock app", [](Device& d) { ASSERT_EQ(d.input().openApp("Clock"), ""); }, false},
        {"locked", [](Device& d) { ASSERT_EQ(d.world().lock(true), ""); }, false},
        {"a minute while locked", [](Device& d) { ASSERT_EQ(d.world().advance(60), ""); }, false},
        {"unlocked", [](Device& d) { ASSERT_EQ(d.world().lock(false), ""); }, false},
        {"Settings again", [](Device& d) { ASSERT_EQ(d.input().openSettings(), ""); }, false},
        {"nothing", [](Device&) {}, true},
    };
    return steps;
}

TEST_F(ScreenChangesTest, ThePhonesPictureFromItsChangesIsItsFullRenderingStepAfterStep) {
    screens_ = {Screen::Phone};
    look("start");
    for (const PhoneStep& step : phoneSteps()) {
        step.act(*device_);
        const ScreenChanges c = look(step.name);
        if (step.part) {
            EXPECT_LT(c.redrawnPixels, c.width * c.height / 2) << step.name;
        }
    }
}

} // namespace
} // namespace sim
