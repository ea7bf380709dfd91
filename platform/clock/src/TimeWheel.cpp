// A time picker's wheel: the values shown around the band, turned by drags and taps.
#include "clock/TimeWheel.h"

#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIKitConstants.h"
#include "uikit/UILabel.h"

#include <algorithm>
#include <cmath>

namespace clockapp {

int turnedWheelIndex(int selected, long rows, int count, bool circular) {
    if (count <= 0)
        return 0;
    const long target = long(selected) + rows;
    if (circular)
        return int(((target % count) + count) % count);
    return int(std::clamp(target, 0L, long(count - 1)));
}

long rowsForDrag(double dy, double rowHeight) {
    return std::lround(-dy / rowHeight);
}

long rowsForTap(double offset, double rowHeight) {
    return std::lround(offset / rowHeight);
}

namespace {
// Rows drawn on each side of the band: enough to fill the tallest picker.
constexpr int kRowsAround = 4;
} // namespace

Ref<TimeWheel> TimeWheel::make(CGRect frame, std::vector<std::string> titles, bool circular) {
    auto wheel = cast<TimeWheel>(
        msg<id>(msg<id>(classObject(objc_getClass("ClockTimeWheel")), "alloc"), "initWithFrame:", frame));
    wheel->titles_ = std::move(titles);
    wheel->circular_ = circular;
    msg(wheel, "setClipsToBounds:", true);
    for (int i = 0; i < 2 * kRowsAround + 1; ++i) {
        id label =
            msg<id>(msg<id>(classObject(objc_getClass("UILabel")), "alloc"), "initWithFrame:", CGRectZero);
        msg(label, "setFont:", id(UIFont::ofSize(kWheelFontSize)));
        msg(label, "setTextAlignment:", NSTextAlignmentCenter);
        msg(wheel, "addSubview:", label);
        wheel->labels_.push_back(label);
    }
    return wheel;
}

void TimeWheel::selectIndex(int index) {
    selected_ = turnedWheelIndex(index, 0, int(titles_.size()), circular_);
    msg(this, "setNeedsLayout");
}

std::string TimeWheel::selectedTitle() const {
    return titles_.empty() ? std::string() : titles_[size_t(selected_)];
}

CGPoint TimeWheel::bandCenter() const {
    const CGRect b = bounds();
    return {b.size.width / 2, b.size.height / 2};
}

double TimeWheel::touchY(const id& touch) {
    return msg<CGPoint>(touch, "locationInView:", self()).y;
}

double TimeWheel::shownPosition() const {
    if (!dragging_)
        return selected_;
    const double pos = selected_ - (dragY_ - startY_) / kWheelRowHeight;
    if (circular_ || titles_.empty())
        return pos;
    return std::clamp(pos, -0.5, double(titles_.size()) - 0.5);
}

bool TimeWheel::beginTrackingWithTouchWithEvent(id touch, id) {
    startY_ = dragY_ = touchY(touch);
    dragging_ = false;
    return true;
}

bool TimeWheel::continueTrackingWithTouchWithEvent(id touch, id) {
    dragY_ = touchY(touch);
    if (std::fabs(dragY_ - startY_) >= kWheelTapSlop)
        dragging_ = true;
    msg(this, "setNeedsLayout");
    msg(this, "layoutIfNeeded");
    return true;
}

void TimeWheel::endTrackingWithTouchWithEvent(id touch, id) {
    const double y = touchY(touch);
    const int count = int(titles_.size());
    const int before = selected_;
    if (dragging_ || std::fabs(y - startY_) >= kWheelTapSlop)
        selected_ = turnedWheelIndex(selected_, rowsForDrag(y - startY_, kWheelRowHeight), count, circular_);
    else
        selected_ =
            turnedWheelIndex(selected_, rowsForTap(y - bandCenter().y, kWheelRowHeight), count, circular_);
    dragging_ = false;
    msg(this, "setNeedsLayout");
    if (selected_ != before)
        sendActionsForControlEvents(UIControlEventValueChanged);
}

void TimeWheel::cancelTrackingWithEvent(id) {
    dragging_ = false;
    msg(this, "setNeedsLayout");
}

void TimeWheel::layoutSubviews() {
    const double pos = shownPosition();
    const long nearest = std::lround(pos);
    const CGRect b = bounds();
    const int count = int(titles_.size());
    for (int k = -kRowsAround; k <= kRowsAround; ++k) {
        id label = labels_[size_t(k + kRowsAround)];
        const long index = nearest + k;
        const bool shown = count > 0 && (circular_ || (index >= 0 && index < count));
        msg(label, "setHidden:", !shown);
        if (!shown)
            continue;
        const double centerY = b.size.height / 2 + (double(index) - pos) * kWheelRowHeight;
        msg(label, "setFrame:", CGRect{{0, centerY - kWheelRowHeight / 2}, {b.size.width, kWheelRowHeight}});
        msg(label, "setText:", titles_[size_t(turnedWheelIndex(0, index, count, true))]);
        // The value in the band is black; the others are gray, fainter the farther they turn
        // away from it, as on a drum.
        const double distance = std::fabs(double(index) - pos);
        const bool inBand = distance < 0.5;
        msg(label, "setTextColor:", id(inBand ? UIColor::white(0, 1) : UIColor::white(0.62, 1)));
        msg(label, "setAlpha:", CGFloat(std::clamp(1.25 - 0.25 * distance, 0.3, 1.0)));
    }
}

namespace {
const ClassDef<TimeWheel> kTimeWheel(
    "ClockTimeWheel", "UIControl",
    {
        method("beginTrackingWithTouch:withEvent:", &TimeWheel::beginTrackingWithTouchWithEvent),
        method("continueTrackingWithTouch:withEvent:", &TimeWheel::continueTrackingWithTouchWithEvent),
        method("endTrackingWithTouch:withEvent:", &TimeWheel::endTrackingWithTouchWithEvent),
        method("cancelTrackingWithEvent:", &TimeWheel::cancelTrackingWithEvent),
        method("layoutSubviews", &TimeWheel::layoutSubviews),
    });
} // namespace

} // namespace clockapp
