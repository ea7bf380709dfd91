// The alarm list page: the navigation bar and a row for each alarm, with its switch, or in
// Edit mode its delete mark and, once that is tapped, its Delete button.
#include "clock/ClockListRow.h"
#include "ClockTags.h"
#include "ClockViews.h"
#include "clock/AlarmText.h"
#include "clock/ClockApp.h"
#include "uikit/UIColor.h"
#include "uikit/UIKitConstants.h"
#include "uikit/UISwitch.h"

#include <algorithm>

namespace clockapp {

namespace {
constexpr CGFloat kRowHeight = kListRowHeight;
constexpr CGFloat kTimeFontSize = 48;
constexpr CGFloat kPeriodFontSize = 24;
constexpr CGFloat kDetailFontSize = 14;
constexpr CGFloat kEditIndent = 38;
constexpr CGFloat kDeleteMarkSize = 22;
constexpr CGFloat kDeleteButtonWidth = 82;
// From the top of a line of text to its baseline, as a share of the font size: the time's
// digits and its smaller AM/PM mark stand on one baseline.
constexpr CGFloat kBaselineShare = 0.93;
constexpr CGFloat kLineShare = 1.2;

// The red round mark left of a row in Edit mode: a white bar across a red disc.
id deleteMark(id target, int row) {
    const CGFloat y = (kRowHeight - kDeleteMarkSize) / 2;
    id mark = makeTappable({{0, 0}, {kMargin + kDeleteMarkSize + 8, kRowHeight}}, target,
                           "tapped:", kTagDeleteMark + row);
    id disc = makeView({{kMargin, y}, {kDeleteMarkSize, kDeleteMarkSize}}, destructiveColor());
    msg(msg<id>(disc, "layer"), "setCornerRadius:", kDeleteMarkSize / 2);
    msg(disc, "setUserInteractionEnabled:", false);
    msg(disc, "addSubview:",
        makeView({{5, kDeleteMarkSize / 2 - 1}, {kDeleteMarkSize - 10, 2}}, id(UIColor::white(1, 1))));
    msg(mark, "addSubview:", disc);
    return mark;
}
} // namespace

id ClockApp::listPage() {
    const CGFloat w = screen_.width;
    id page = makeView({{0, 0}, screen_}, id(UIColor::white(1, 1)));
    id bar = makeNavigationBar("Alarm", w);
    msg(bar, "addSubview:",
        makeBarButton(editingList_ ? "Done" : "Edit", 17, true, w, target_, "tapped:", kTagEdit));
    msg(bar, "addSubview:", makeBarButton("+", 32, false, w, target_, "tapped:", kTagAdd));

    // The rows scroll under the bar: a view as tall as the room below it, its bounds moved.
    const CGFloat room = screen_.height - kNavigationBarHeight;
    const CGFloat content = CGFloat(rows_.size()) * kRowHeight;
    listOffset_ = std::clamp(listOffset_, CGFloat(0), std::max(CGFloat(0), content - room));
    rowsView_ = makeView({{0, kNavigationBarHeight}, {w, room}});
    msg(rowsView_, "setClipsToBounds:", true);
    msg(rowsView_, "setBounds:", CGRect{{0, listOffset_}, {w, room}});
    msg(page, "addSubview:", rowsView_);
    id target = target_;
    auto scroll = [target](CGFloat dy) { msg(target, "scrollListBy:", dy); };

    CGFloat y = 0;
    for (size_t i = 0; i < rows_.size(); ++i) {
        const springboard::ClockAlarm& alarm = alarms_[i];
        const int index = int(i);
        id row = ClockListRow::make({{0, y}, {w, kRowHeight}}, scroll);
        msg(row, "setTag:", kTagRow + index);
        msg(row, "addTarget:action:forControlEvents:", target_, SELECTOR("tapped:"),
            UIControlEventTouchUpInside);
        msg(row, "setBackgroundColor:", id(UIColor::white(1, 1)));
        const CGFloat x = editingList_ ? kMargin + kEditIndent : kMargin;
        id color = alarm.enabled ? id(UIColor::white(0, 1)) : secondaryTextColor();

        // The time: its digits large, the AM/PM mark smaller on the same baseline.
        const TimeText t = timeText(alarm.time.hour, alarm.time.minute, alarm.time.second, locale_);
        const CGFloat timeTop = 6;
        const CGFloat baseline = timeTop + kTimeFontSize * kBaselineShare;
        const CGFloat periodTop = baseline - kPeriodFontSize * kBaselineShare;
        const CGFloat digitsWidth = textWidth(t.digits, kTimeFontSize);
        const CGFloat periodWidth = textWidth(t.period, kPeriodFontSize);
        CGFloat cursor = x;
        auto addPeriod = [&] {
            if (t.period.empty())
                return;
            msg(row, "addSubview:",
                makeLabel({{cursor, periodTop}, {periodWidth, kPeriodFontSize * kLineShare}}, t.period, color,
                          kPeriodFontSize));
            cursor += periodWidth + 3;
        };
        if (t.periodFirst)
            addPeriod();
        msg(row, "addSubview:",
            makeLabel({{cursor, timeTop}, {digitsWidth, kTimeFontSize * kLineShare}}, t.digits, color,
                      kTimeFontSize));
        cursor += digitsWidth + 3;
        if (!t.periodFirst)
            addPeriod();
        const CGFloat right = w - kMargin - (editingList_ ? 20 : kSwitchSize.width + 10);
        msg(row, "addSubview:",
            makeLabel({{x, timeTop + kTimeFontSize * kLineShare}, {right - x, kDetailFontSize * kLineShare}},
                      rows_[i].detail, color, kDetailFontSize));

        if (editingList_) {
            msg(row, "addSubview:", deleteMark(target_, index));
            if (revealedDelete_ == index) {
                id button = makeTappable({{w - kDeleteButtonWidth, 0}, {kDeleteButtonWidth, kRowHeight}},
                                         target_, "tapped:", kTagDelete + index);
                msg(button, "setBackgroundColor:", destructiveColor());
                msg(button, "addSubview:",
                    makeLabel({{0, 0}, {kDeleteButtonWidth, kRowHeight}}, "Delete", id(UIColor::white(1, 1)),
                              17, NSTextAlignmentCenter));
                msg(row, "addSubview:", button);
            } else {
                msg(row, "addSubview:",
                    makeLabel({{w - kMargin - 12, 0}, {12, kRowHeight}}, "\u203A", separatorColor(), 24));
            }
        } else {
            id toggle =
                msg<id>(msg<id>(classObject(objc_getClass("UISwitch")), "alloc"), "initWithFrame:",
                        CGRect{{w - kMargin - kSwitchSize.width, (kRowHeight - kSwitchSize.height) / 2},
                               kSwitchSize});
            msg(toggle, "setOn:", alarm.enabled);
            msg(toggle, "setTag:", kTagSwitch + index);
            msg(toggle, "addTarget:action:forControlEvents:", target_, SELECTOR("switched:"),
                UIControlEventValueChanged);
            msg(row, "addSubview:", toggle);
        }
        msg(row, "addSubview:", makeSeparator(kMargin, kRowHeight, w - kMargin));
        msg(rowsView_, "addSubview:", row);
        y += kRowHeight;
    }
    msg(page, "addSubview:", bar);
    return page;
}

} // namespace clockapp
