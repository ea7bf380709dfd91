// Editing the color cell: the four prompts and their answers, sliders, picker callbacks, save.
#include "ColorCellFixture.h"

#include "uikit/UIAlertView.h"

namespace {

Ref<UIAlertView> lastAlert() {
    const auto shown = UIAlertView::shownAlerts();
    return shown.empty() ? nullptr : shown.back();
}

// Types `text` into the prompt that is showing and taps the button at `index`.
void answerPrompt(const std::string& text, NSInteger index) {
    const auto alert = lastAlert();
    ASSERT_TRUE(alert);
    msg(msg<id>(alert, "textFieldAtIndex:", NSInteger{0}), "setText:", text);
    ASSERT_TRUE(alert->tapButtonAtIndex(index));
}

std::string savedColor() {
    const auto file = dictionaryWithContentsOfFile(kCellSettingsPath);
    return file ? PlistValue(*file)["buttonColor"].asString() : "<no file>";
}

struct HexEntryCase {
    const char* typed;
    const char* saved;
    std::array<float, 3> sliders;
};
class HexEntry : public ColorCellTest, public ::testing::WithParamInterface<HexEntryCase> {};

TEST_P(HexEntry, SaveAppliesTheParsedColorSavesAndNotifies) {
    writeSettings({{"buttonColor", "#123456"}, {"buttonText", "Hush"}});
    const auto cell = makeCell(colorSpecifier());
    msg(cell, "askUserForInputHex");
    const auto alert = lastAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->tag(), 2629);
    EXPECT_EQ(alert->title(), "");
    EXPECT_EQ(alert->message(),
              "Please enter a hex value between\n#000000 and #FFFFFF\nCurrent value is: #123456");
    EXPECT_EQ(alert->buttonTitleAtIndex(0), "Cancel");
    EXPECT_EQ(alert->buttonTitleAtIndex(1), "Save");
    EXPECT_EQ(msg<std::string>(msg<id>(alert, "textFieldAtIndex:", NSInteger{0}), "text"), "");

    answerPrompt(GetParam().typed, 1);
    EXPECT_EQ(savedColor(), GetParam().saved);
    EXPECT_EQ(settings()->at("buttonText"), PlistValue("Hush"));
    EXPECT_EQ(textOf(cell->hexColorField), GetParam().saved);
    EXPECT_EQ(valueOf(cell->sliderR), GetParam().sliders[0]);
    EXPECT_EQ(valueOf(cell->sliderG), GetParam().sliders[1]);
    EXPECT_EQ(valueOf(cell->sliderB), GetParam().sliders[2]);
    EXPECT_EQ(textOf(cell->valueG), std::to_string(static_cast<int>(GetParam().sliders[1])));
    EXPECT_EQ(posts(), 1);
}

INSTANTIATE_TEST_SUITE_P(Texts, HexEntry,
                         ::testing::Values(HexEntryCase{"ff8000", "#FF8000", {255, 128, 0}},
                                           HexEntryCase{"#00ff00", "#00FF00", {0, 255, 0}},
                                           HexEntryCase{"0x0000ff", "#0000FF", {0, 0, 255}},
                                           HexEntryCase{"abc", "#000ABC", {0, 10, 188}},
                                           HexEntryCase{"1000000", "#FFFFFF", {255, 255, 255}},
                                           HexEntryCase{"", "#FFFFFF", {255, 255, 255}}),
                         [](const auto& info) {
                             return "saves" + std::string(info.param.saved + 1) + "_" +
                                    std::to_string(info.index);
                         });

TEST_F(ColorCellTest, HexEntryOfOrangeGivesBlackSampleText) {
    writeSettings({{"buttonColor", "#000000"}});
    const auto cell = makeCell(colorSpecifier());
    msg(cell, "askUserForInputHex");
    answerPrompt("ff8000", 1);
    EXPECT_EQ(textOf(cell->valueR), "255");
    EXPECT_EQ(textOf(cell->valueB), "0");
    CGFloat r = 0, g = 0, b = 0, a = 0;
    msg<bool>(msg<id>(cell->buttonColorField, "textColor"), "getRed:green:blue:alpha:", &r, &g, &b, &a);
    EXPECT_EQ(r + g + b, 0); // black
    msg<bool>(msg<id>(cell->chosenPicker(), "color"), "getRed:green:blue:alpha:", &r, &g, &b, &a);
    EXPECT_EQ(r, 0); // setColor: moves the picker's marks but leaves its reported color alone
}

struct ChannelEntryCase {
    const char* typed;
    float slider;
    const char* label;
    const char* saved;
};
class ChannelEntry : public ColorCellTest, public ::testing::WithParamInterface<ChannelEntryCase> {};

TEST_P(ChannelEntry, SaveSetsTheSliderWhichClampsThenSaves) {
    writeSettings({{"buttonColor", "#000000"}});
    const auto cell = makeCell(colorSpecifier());
    msg(cell, "askUserForInputG");
    ASSERT_EQ(lastAlert()->tag(), 2627);
    answerPrompt(GetParam().typed, 1);
    EXPECT_EQ(valueOf(cell->sliderG), GetParam().slider);
    EXPECT_EQ(textOf(cell->valueG), GetParam().label);
    EXPECT_EQ(savedColor(), GetParam().saved);
    EXPECT_EQ(posts(), 1);
}

INSTANTIATE_TEST_SUITE_P(Texts, ChannelEntry,
                         ::testing::Values(ChannelEntryCase{"300", 255, "255", "#00FF00"},
                                           ChannelEntryCase{"12.7", 12.7f, "12", "#000C00"},
                                           ChannelEntryCase{"  +64 apples", 64, "64", "#004000"},
                                           ChannelEntryCase{"-5", 0, "0", "#000000"},
                                           ChannelEntryCase{"many", 0, "0", "#000000"}),
                         [](const auto& info) {
                             return "shows" + std::string(info.param.label) + "_" +
                                    std::to_string(info.index);
                         });

TEST_F(ColorCellTest, ChannelPromptsNameTheirChannelBoundsAndUnit) {
    id row = colorSpecifier();
    set(row, "min", -100);
    set(row, "type", " pt");
    const auto cell = makeCell(row);
    const std::array<std::pair<const char*, const char*>, 3> prompts{
        {{"askUserForInputR", "Red"}, {"askUserForInputG", "Green"}, {"askUserForInputB", "Blue"}}};
    NSInteger tag = 2626;
    for (const auto& [action, name] : prompts) {
        msg(cell, action);
        const auto alert = lastAlert();
        ASSERT_TRUE(alert);
        EXPECT_EQ(alert->tag(), tag++);
        EXPECT_EQ(alert->message(),
                  std::string("Please enter a value for ") + name + " between\n-100 pt and 255 pt");
        const id field = msg<id>(alert, "textFieldAtIndex:", NSInteger{0});
        EXPECT_EQ(msg<std::string>(field, "text"), "-");
        EXPECT_EQ(msg<NSInteger>(field, "keyboardType"), 4);
        EXPECT_EQ(msg<NSInteger>(alert, "alertViewStyle"), 2);
        alert->tapButtonAtIndex(0);
    }
}

TEST_F(ColorCellTest, CancelChangesNothingSavesNothingPostsNothing) {
    writeSettings({{"buttonColor", "abc"}});
    const auto cell = makeCell(colorSpecifier());
    for (const char* action :
         {"askUserForInputHex", "askUserForInputR", "askUserForInputG", "askUserForInputB"}) {
        msg(cell, action);
        answerPrompt("00ff00", 0);
    }
    EXPECT_EQ(textOf(cell->hexColorField), "#ABC");
    EXPECT_EQ(valueOf(cell->sliderG), 10);
    EXPECT_EQ(savedColor(), "abc");
    EXPECT_EQ(posts(), 0);
    EXPECT_TRUE(UIAlertView::shownAlerts().empty());
}

TEST_F(ColorCellTest, LabelRoundsToHundredthsWhileTheColorTruncates) {
    writeSettings({{"buttonColor", "#000000"}});
    const auto cell = makeCell(colorSpecifier());
    const std::array<std::pair<float, const char*>, 3> cases{
        {{12.7f, "12"}, {254.994f, "254"}, {254.996f, "255"}}};
    for (const auto& [value, label] : cases) {
        msg(cell->sliderR, "setValue:", value);
        msg(cell, "sliderValueChangedAction:", cell->sliderR);
        EXPECT_EQ(textOf(cell->valueR), label) << value;
    }
    EXPECT_EQ(textOf(cell->hexColorField), "#FE0000"); // 254.996 counts as 254
    EXPECT_EQ(posts(), 0);                             // dragging alone saves nothing
    msg(cell, "sliderTouchUpInsideOutsideAction:", cell->sliderR);
    EXPECT_EQ(savedColor(), "#FE0000");
    EXPECT_EQ(posts(), 1);
}

TEST_F(ColorCellTest, ValueChangeFromAnotherSenderOnlyRepaints) {
    writeSettings({{"buttonColor", "#000000"}});
    const auto cell = makeCell(colorSpecifier());
    msg(cell->sliderB, "setValue:", 200.0f);
    msg(cell, "sliderValueChangedAction:", id{});
    EXPECT_EQ(textOf(cell->valueB), "0");
    EXPECT_EQ(textOf(cell->hexColorField), "#0000C8");
}

TEST_F(ColorCellTest, PickerColorUpdatesSlidersAndLabelsButSavesOnlyOnItsSaveCall) {
    writeSettings({{"buttonColor", "#000000"}});
    const auto cell = makeCell(colorSpecifier());
    const auto changed = msg<std::function<void(id)>>(cell->chosenPicker(), "colorsHaveChangedBlock");
    const auto save = msg<std::function<void(id)>>(cell->chosenPicker(), "saveChangesBlock");
    ASSERT_TRUE(changed && save);
    changed(msg<id>(classObject(objc_getClass("UIColor")), "colorWithRed:green:blue:alpha:", CGFloat{1},
                    CGFloat{0.5}, CGFloat{0}, CGFloat{1}));
    EXPECT_EQ(valueOf(cell->sliderR), 255);
    EXPECT_EQ(valueOf(cell->sliderG), 128);
    EXPECT_EQ(textOf(cell->valueG), "128");
    EXPECT_EQ(textOf(cell->hexColorField), "#FF8000");
    EXPECT_EQ(savedColor(), "#000000");
    EXPECT_EQ(posts(), 0);
    save(id{}); // the color argument is not what gets saved
    EXPECT_EQ(savedColor(), "#FF8000");
    EXPECT_EQ(posts(), 1);
}

TEST_F(ColorCellTest, UntouchedPickerGestureSavesTheStoredTextUpperCased) {
    writeSettings({{"buttonColor", "abc"}, {"enabled", true}, {"disableForMinutes", 30}});
    const auto cell = makeCell(colorSpecifier());
    msg<std::function<void(id)>>(cell->chosenPicker(), "saveChangesBlock")(id{});
    const auto file = settings();
    ASSERT_TRUE(file);
    EXPECT_EQ(file->at("buttonColor"), PlistValue("#ABC"));
    EXPECT_EQ(file->at("enabled"), PlistValue(true));
    EXPECT_EQ(file->at("disableForMinutes"), PlistValue(30));
}

TEST_F(ColorCellTest, SavingIntoAFileWithoutTheKeyAddsItAndKeepsEveryOtherKey) {
    writeSettings({{"buttonText", "Hush"}, {"preferColorPicker", false}});
    const auto cell = makeCell(colorSpecifier());
    // Another writer changes the file after the cell was made: the save reads it afresh.
    writeSettings({{"buttonText", "Later"}, {"preferColorPicker", false}, {"enabled", true}});
    msg(cell, "sliderTouchUpInsideOutsideAction:", cell->sliderR);
    const PlistDict expected{
        {"buttonText", "Later"}, {"preferColorPicker", false}, {"enabled", true}, {"buttonColor", "#FF0000"}};
    EXPECT_EQ(settings(), expected);
    EXPECT_EQ(posts(), 1);
}

TEST_F(ColorCellTest, SavingWithoutAFilePostsAndCreatesNothing) {
    const auto cell = makeCell(colorSpecifier());
    msg(cell, "sliderTouchUpInsideOutsideAction:", cell->sliderR);
    EXPECT_FALSE(std::filesystem::exists(
        root_.hostPath("/private/var/mobile/Library/Preferences/net.vexmoor.hushmark.plist")));
    EXPECT_EQ(posts(), 1);
}

TEST_F(ColorCellTest, WithoutKeyOrNotificationNothingIsWrittenOrPosted) {
    writeSettings({{"buttonColor", "#123456"}});
    id row = colorSpecifier();
    msg(row, "removePropertyForKey:", std::string("key"));
    msg(row, "removePropertyForKey:", std::string("PostNotification"));
    const auto cell = makeCell(row);
    EXPECT_EQ(textOf(cell->hexColorField), "#FF0000");
    msg(cell, "sliderTouchUpInsideOutsideAction:", cell->sliderR);
    EXPECT_EQ(settings(), (PlistDict{{"buttonColor", "#123456"}}));
    EXPECT_EQ(posts(), 0);
}

} // namespace
