// The time picker: two or three wheels side by side and the band's two lines.
#include "clock/TimePicker.h"

#include "clock/AlarmText.h"
#include "uikit/UIColor.h"

#include <cstdio>

namespace clockapp {

namespace {
constexpr CGFloat kWheelWidth = 70;
constexpr CGFloat kWheelGap = 10;

std::vector<std::string> numbers(int from, int to, bool twoDigits) {
    std::vector<std::string> out;
    for (int n = from; n <= to; ++n) {
        char text[8];
        std::snprintf(text, sizeof text, twoDigits ? "%02d" : "%d", n);
        out.push_back(text);
    }
    return out;
}

id plainView(CGRect frame, id color) {
    id view = msg<id>(msg<id>(classObject(objc_getClass("UIView")), "alloc"), "initWithFrame:", frame);
    msg(view, "setBackgroundColor:", color);
    return view;
}
} // namespace

Ref<TimePicker> TimePicker::make(CGRect frame, const std::string& locale) {
    auto picker = cast<TimePicker>(
        msg<id>(msg<id>(classObject(objc_getClass("ClockTimePicker")), "alloc"), "initWithFrame:", frame));
    msg(picker, "setBackgroundColor:", id(UIColor::white(1, 1)));
    const bool twelve = usesTwelveHourClock(locale);
    const int wheels = twelve ? 3 : 2;
    const CGFloat total = wheels * kWheelWidth + (wheels - 1) * kWheelGap;
    CGFloat x = (frame.size.width - total) / 2;
    const CGFloat h = frame.size.height;
    picker->hours_ = TimeWheel::make({{x, 0}, {kWheelWidth, h}},
                                     twelve ? numbers(1, 12, false) : numbers(0, 23, true), true);
    x += kWheelWidth + kWheelGap;
    picker->minutes_ = TimeWheel::make({{x, 0}, {kWheelWidth, h}}, numbers(0, 59, true), true);
    msg(picker, "addSubview:", picker->hours_);
    msg(picker, "addSubview:", picker->minutes_);
    if (twelve) {
        x += kWheelWidth + kWheelGap;
        picker->period_ =
            TimeWheel::make({{x, 0}, {kWheelWidth, h}},
                            {timeText(9, 0, 0, locale).period, timeText(21, 0, 0, locale).period}, false);
        msg(picker, "addSubview:", picker->period_);
    }
    // The band: a thin line above and below the middle row.
    const CGFloat top = (h - kWheelRowHeight) / 2;
    for (CGFloat y : {top, top + kWheelRowHeight})
        msg(picker, "addSubview:",
            plainView({{0, y - 0.25}, {frame.size.width, 0.5}}, id(UIColor::rgba(0.78, 0.78, 0.8, 1))));
    picker->setTime(0, 0);
    return picker;
}

int TimePicker::hour() const {
    const int shown = hours_->selectedIndex();
    if (!period_)
        return shown;
    // Index 0 is 1 o'clock, 11 is 12 o'clock: 12 AM is midnight, 12 PM noon.
    const int twelveHour = (shown + 1) % 12;
    return twelveHour + (period_->selectedIndex() == 1 ? 12 : 0);
}

int TimePicker::minute() const {
    return minutes_->selectedIndex();
}

void TimePicker::setTime(int hour, int minute) {
    hour = ((hour % 24) + 24) % 24;
    if (period_) {
        const int twelveHour = hour % 12 == 0 ? 12 : hour % 12;
        hours_->selectIndex(twelveHour - 1);
        period_->selectIndex(hour >= 12 ? 1 : 0);
    } else {
        hours_->selectIndex(hour);
    }
    minutes_->selectIndex(((minute % 60) + 60) % 60);
}

namespace {
const ClassDef<TimePicker> kTimePicker("ClockTimePicker", "UIView", {});
} // namespace

} // namespace clockapp
