// The add and edit screen (time picker, Repeat, Label, Snooze, and Delete Alarm when editing),
// and the two pages it leads to: Repeat (the seven weekdays) and Label (a text field).
#include "CheckMark.h"
#include "ClockTags.h"
#include "ClockViews.h"
#include "clock/AlarmText.h"
#include "clock/ClockApp.h"
#include "uikit/UIColor.h"
#include "uikit/UIKitConstants.h"
#include "uikit/UISwitch.h"

namespace clockapp {

namespace {
constexpr CGFloat kTallPicker = 216;
constexpr CGFloat kShortPicker = 162; // on a screen shorter than 568 points
constexpr CGFloat kTallScreen = 568;

// A white row of a group: a title at the left, and a value with a chevron at the right when
// it leads to another page.
id groupRow(CGFloat y, CGFloat width, const std::string& title, const std::string& value, bool chevron,
            id target, NSInteger tag) {
    id row = makeTappable({{0, y}, {width, kCellHeight}}, target, "tapped:", tag);
    msg(row, "setBackgroundColor:", id(UIColor::white(1, 1)));
    msg(row,
        "addSubview:", makeLabel({{kMargin, 0}, {width / 2, kCellHeight}}, title, id(UIColor::white(0, 1))));
    const CGFloat valueRight = width - (chevron ? 33 : kMargin);
    if (!value.empty())
        msg(row, "addSubview:",
            makeLabel({{width / 2 - 20, 0}, {valueRight - (width / 2 - 20), kCellHeight}}, value,
                      secondaryTextColor(), 17, NSTextAlignmentRight));
    if (chevron)
        msg(row,
            "addSubview:", makeLabel({{width - 25, 0}, {12, kCellHeight}}, "\u203A", separatorColor(), 24));
    return row;
}

// The lines of a group of `rows` rows from `y`: full width above and below, inset between.
void addGroupLines(id page, CGFloat y, int rows, CGFloat width) {
    msg(page, "addSubview:", makeSeparator(0, y + 0.5, width));
    for (int i = 1; i < rows; ++i)
        msg(page, "addSubview:", makeSeparator(kMargin, y + i * kCellHeight, width - kMargin));
    msg(page, "addSubview:", makeSeparator(0, y + rows * kCellHeight, width));
}

id backButton(id target) {
    id button = makeTappable({{8, kStatusBarHeight}, {70, 44}}, target, "tapped:", kTagBack);
    // A large chevron, then the word.
    msg(button, "addSubview:", makeLabel({{0, 0}, {16, 42}}, "\u2039", tintColor(), 34));
    msg(button, "addSubview:", makeLabel({{18, 0}, {52, 44}}, "Back", tintColor()));
    return button;
}
} // namespace

id ClockApp::editPage() {
    const CGFloat w = screen_.width;
    id page = makeView({{0, 0}, screen_}, groupedBackgroundColor());
    id bar = makeNavigationBar(page_ == Page::Add ? "Add Alarm" : "Edit Alarm", w);
    msg(bar, "addSubview:", makeBarButton("Cancel", 17, true, w, target_, "tapped:", kTagCancel));
    msg(bar, "addSubview:", makeBarButton("Save", 17, false, w, target_, "tapped:", kTagSave));

    const CGFloat pickerHeight = screen_.height >= kTallScreen ? kTallPicker : kShortPicker;
    picker_ = TimePicker::make({{0, kNavigationBarHeight}, {w, pickerHeight}}, locale_);
    picker_->setTime(draft_.alarm.time.hour, draft_.alarm.time.minute);
    msg(picker_->hourWheel(), "setTag:", kTagHourWheel);
    msg(picker_->minuteWheel(), "setTag:", kTagMinuteWheel);
    if (picker_->periodWheel())
        msg(picker_->periodWheel(), "setTag:", kTagPeriodWheel);
    msg(page, "addSubview:", picker_);

    CGFloat y = kNavigationBarHeight + pickerHeight + kGroupGap;
    msg(page, "addSubview:", groupRow(y, w, "Repeat", repeatValue(), true, target_, kTagRepeat));
    msg(page, "addSubview:", groupRow(y + kCellHeight, w, "Label", labelValue(), true, target_, kTagLabel));
    id snoozeRow = makeView({{0, y + 2 * kCellHeight}, {w, kCellHeight}}, id(UIColor::white(1, 1)));
    msg(snoozeRow,
        "addSubview:", makeLabel({{kMargin, 0}, {w / 2, kCellHeight}}, "Snooze", id(UIColor::white(0, 1))));
    id toggle = msg<id>(
        msg<id>(classObject(objc_getClass("UISwitch")), "alloc"), "initWithFrame:",
        CGRect{{w - kMargin - kSwitchSize.width, (kCellHeight - kSwitchSize.height) / 2}, kSwitchSize});
    msg(toggle, "setOn:", draft_.alarm.allowsSnooze);
    msg(toggle, "setTag:", kTagSnooze);
    msg(toggle, "addTarget:action:forControlEvents:", target_, SELECTOR("switched:"),
        UIControlEventValueChanged);
    msg(snoozeRow, "addSubview:", toggle);
    msg(page, "addSubview:", snoozeRow);
    addGroupLines(page, y, 3, w);

    if (page_ == Page::Edit) {
        y += 3 * kCellHeight + kGroupGap;
        id remove = makeTappable({{0, y}, {w, kCellHeight}}, target_, "tapped:", kTagDeleteAlarm);
        msg(remove, "setBackgroundColor:", id(UIColor::white(1, 1)));
        msg(remove, "addSubview:",
            makeLabel({{0, 0}, {w, kCellHeight}}, "Delete Alarm", destructiveColor(), 17,
                      NSTextAlignmentCenter));
        msg(page, "addSubview:", remove);
        addGroupLines(page, y, 1, w);
    }
    msg(page, "addSubview:", bar);
    return page;
}

id ClockApp::repeatPage() {
    const CGFloat w = screen_.width;
    id page = makeView({{0, 0}, screen_}, groupedBackgroundColor());
    id bar = makeNavigationBar("Repeat", w);
    msg(bar, "addSubview:", backButton(target_));
    const CGFloat top = kNavigationBarHeight + kGroupGap;
    const unsigned days = draft_.alarm.time.weekdays & springboard::kEveryDay;
    const struct {
        const char* title;
        NSInteger tag;
        bool checked;
    } choices[] = {{"Never", kTagRepeatNever, days == 0},
                   {"Every Day", kTagRepeatDaily, days == springboard::kEveryDay}};
    for (size_t i = 0; i < 2; ++i) {
        id row =
            groupRow(top + CGFloat(i) * kCellHeight, w, choices[i].title, "", false, target_, choices[i].tag);
        if (choices[i].checked)
            msg(row, "addSubview:", CheckMark::make({{w - kMargin - 14, (kCellHeight - 12) / 2}, {14, 12}}));
        msg(page, "addSubview:", row);
    }
    addGroupLines(page, top, 2, w);
    msg(page, "addSubview:", bar);
    return page;
}

id ClockApp::labelPage() {
    const CGFloat w = screen_.width;
    id page = makeView({{0, 0}, screen_}, groupedBackgroundColor());
    id bar = makeNavigationBar("Label", w);
    msg(bar, "addSubview:", backButton(target_));
    const CGFloat y = kNavigationBarHeight + kGroupGap;
    msg(page, "addSubview:", makeView({{0, y}, {w, kCellHeight}}, id(UIColor::white(1, 1))));
    labelField_ = msg<id>(msg<id>(classObject(objc_getClass("UITextField")), "alloc"),
                          "initWithFrame:", CGRect{{kMargin, y}, {w - 2 * kMargin, kCellHeight}});
    msg(labelField_, "setText:", draft_.alarm.label);
    msg(labelField_, "setPlaceholder:", "Alarm");
    msg(labelField_, "setTag:", kTagLabelField);
    msg(page, "addSubview:", labelField_);
    addGroupLines(page, y, 1, w);
    msg(page, "addSubview:", bar);
    return page;
}

} // namespace clockapp
