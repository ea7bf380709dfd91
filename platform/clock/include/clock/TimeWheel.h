// One wheel of a time picker: a column of values (hours, minutes, AM/PM) turning behind a
// selection band. A vertical drag turns it row by row with the finger and it settles on the row
// nearest the band when the finger lifts; a tap on a row above or below the band turns that row
// to the band. A wheel of hours or minutes goes round (past 59 comes 00); the AM/PM wheel stops
// at its ends. It sends value changed when the finger lifts on a new value.
#pragma once

#include "uikit/UIControl.h"

#include <string>
#include <vector>

namespace clockapp {

// The row a wheel settles on: `selected` turned by `rows` (positive: towards later values),
// going round on a circular wheel and stopping at the ends on another.
int turnedWheelIndex(int selected, long rows, int count, bool circular);
// Rows a vertical movement turns a wheel by: a finger moved up (negative `dy`) brings later
// values to the band; the nearest whole row.
long rowsForDrag(double dy, double rowHeight);
// Rows between the band's center and a point `offset` below it (negative above).
long rowsForTap(double offset, double rowHeight);

inline constexpr CGFloat kWheelRowHeight = 36;
inline constexpr CGFloat kWheelFontSize = 23;
// A touch that moves less than this is a tap.
inline constexpr CGFloat kWheelTapSlop = 6;

struct TimeWheel : UIControl {
    static Ref<TimeWheel> make(CGRect frame, std::vector<std::string> titles, bool circular);

    int selectedIndex() const { return selected_; }
    void selectIndex(int index);
    const std::vector<std::string>& titles() const { return titles_; }
    // The title in the band.
    std::string selectedTitle() const;
    // Where the band's center is, in the wheel's coordinates.
    CGPoint bandCenter() const;

    bool beginTrackingWithTouchWithEvent(id touch, id event);
    bool continueTrackingWithTouchWithEvent(id touch, id event);
    void endTrackingWithTouchWithEvent(id touch, id event);
    void cancelTrackingWithEvent(id event);
    void layoutSubviews();

  private:
    double touchY(const id& touch);
    // The value in the band while a finger drags, as a fractional index.
    double shownPosition() const;

    std::vector<std::string> titles_;
    bool circular_ = true;
    int selected_ = 0;
    double startY_ = 0;
    double dragY_ = 0;
    bool dragging_ = false;
    std::vector<id> labels_;
};

} // namespace clockapp
