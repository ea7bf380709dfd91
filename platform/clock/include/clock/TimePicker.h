// The time picker of the add and edit screens: an hour wheel and a minute wheel, with an AM/PM
// wheel where the locale writes times with one, behind one selection band. It holds a time of
// day, hours 0 to 23 and minutes 0 to 59, whatever the wheels show.
#pragma once

#include "clock/TimeWheel.h"
#include "uikit/UIView.h"

#include <string>

namespace clockapp {

struct TimePicker : UIView {
    static Ref<TimePicker> make(CGRect frame, const std::string& locale);

    int hour() const;
    int minute() const;
    void setTime(int hour, int minute);

    Ref<TimeWheel> hourWheel() const { return hours_; }
    Ref<TimeWheel> minuteWheel() const { return minutes_; }
    Ref<TimeWheel> periodWheel() const { return period_; } // none on a 24-hour clock

  private:
    Ref<TimeWheel> hours_;
    Ref<TimeWheel> minutes_;
    Ref<TimeWheel> period_;
};

} // namespace clockapp
