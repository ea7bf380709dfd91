// The Clock app: its window, which page shows, the alarm being added or edited, and every change
// it makes to SpringBoard's alarm model.
#include "clock/ClockApp.h"

#include "ClockTags.h"
#include "ClockViews.h"
#include "clock/AlarmText.h"
#include "foundation/DeviceClock.h"
#include "foundation/DeviceEnvironment.h"
#include "springboard/DeviceTimeZone.h"
#include "springboard/SpringBoardHost.h"
#include "uikit/UIColor.h"
#include "uikit/UIView.h"

#include <algorithm>
#include <cmath>
#include <tuple>
#include <map>

namespace clockapp {

namespace {

// What the pages' controls send their actions to: each is handed to the app by the sender's tag.
struct ClockActionTarget : NSObject {
    ClockApp* app = nullptr;
    static NSInteger tagOf(const id& sender) { return msg<NSInteger>(sender, "tag"); }
    static NSInteger indexOf(const id& sender) { return tagOf(sender) % kTagsPerKind; }

    void tapped(id sender) {
        if (!app)
            return;
        const NSInteger tag = tagOf(sender);
        switch (tag) {
        case kTagAdd:
            return app->addTapped();
        case kTagEdit:
            return app->editTapped();
        case kTagCancel:
            return app->cancelTapped();
        case kTagSave:
            return app->saveTapped();
        case kTagBack:
            return app->backTapped();
        case kTagRepeat:
            return app->repeatTapped();
        case kTagLabel:
            return app->labelTapped();
        case kTagDeleteAlarm:
            return app->deleteAlarmTapped();
        case kTagRepeatNever:
            return app->repeatChosen(false);
        case kTagRepeatDaily:
            return app->repeatChosen(true);
        default:
            break;
        }
        const int index = int(indexOf(sender));
        switch (tag - index) {
        case kTagRow:
            return app->rowTapped(index);
        case kTagDeleteMark:
            return app->deleteMarkTapped(index);
        case kTagDelete:
            return app->deleteTapped(index);
        default:
            return;
        }
    }
    void scrollListBy(CGFloat dy) {
        if (app)
            app->scrollListBy(dy);
    }
    void switched(id sender) {
        if (!app)
            return;
        const bool on = msg<bool>(sender, "isOn");
        if (tagOf(sender) == kTagSnooze)
            return app->snoozeSwitched(on);
        app->rowSwitched(int(indexOf(sender)), on);
    }
};
const ClassDef<ClockActionTarget>
    kClockActionTarget("ClockActionTarget", "NSObject",
                       {
                           method("tapped:", &ClockActionTarget::tapped),
                           method("switched:", &ClockActionTarget::switched),
                           method("scrollListBy:", &ClockActionTarget::scrollListBy),
                       });

// The names `pointOf` knows, and the tag (or the base of the tags) of each.
const std::map<std::string, NSInteger>& controlTags() {
    static const std::map<std::string, NSInteger> tags{
        {"+", kTagAdd},
        {"Edit", kTagEdit},
        {"Done", kTagEdit},
        {"Cancel", kTagCancel},
        {"Save", kTagSave},
        {"Back", kTagBack},
        {"Repeat", kTagRepeat},
        {"Label", kTagLabel},
        {"Snooze", kTagSnooze},
        {"Delete Alarm", kTagDeleteAlarm},
        {"label field", kTagLabelField},
        {"hour", kTagHourWheel},
        {"minute", kTagMinuteWheel},
        {"period", kTagPeriodWheel},
        {"row", kTagRow},
        {"switch", kTagSwitch},
        {"delete mark", kTagDeleteMark},
        {"Delete", kTagDelete},
        {"Never", kTagRepeatNever},
        {"Every Day", kTagRepeatDaily},
    };
    return tags;
}

} // namespace

ClockApp::ClockApp(SpringBoardHost& springBoard, CGSize screenSize, const std::string& locale)
    : springBoard_(springBoard), screen_(screenSize),
      locale_(locale.empty() ? DeviceEnvironment::locale() : locale) {
    auto target = alloc<ClockActionTarget>();
    target->app = this;
    target_ = target;
    window_ = msg<id>(msg<id>(classObject(objc_getClass("UIWindow")), "alloc"),
                      "initWithFrame:", CGRect{{0, 0}, screen_});
    msg(window_, "setBackgroundColor:", id(UIColor::white(1, 1)));
    readModel();
    show();
}

ClockApp::~ClockApp() {
    static_cast<ClockActionTarget*>(target_.get())->app = nullptr;
}

void ClockApp::readModel() {
    alarms_ = springBoard_.alarmBook().alarms();
    // The list runs through the day, earliest first.
    std::stable_sort(alarms_.begin(), alarms_.end(), [](const auto& a, const auto& b) {
        return std::tie(a.time.hour, a.time.minute, a.time.second) <
               std::tie(b.time.hour, b.time.minute, b.time.second);
    });
    const double now = DeviceClock::now().timeIntervalSinceReferenceDate;
    rows_.clear();
    for (const auto& alarm : alarms_) {
        const TimeText t = timeText(alarm.time.hour, alarm.time.minute, alarm.time.second, locale_);
        std::string day;
        if (auto ring = springBoard_.alarmBook().nextRing(alarm.alarmId); ring && alarm.enabled)
            day = ringDayText(*ring, now, springboard::deviceUtcOffset);
        std::string time = t.period.empty() ? t.digits
                           : t.periodFirst  ? t.period + " " + t.digits
                                            : t.digits + " " + t.period;
        rows_.push_back({alarm.alarmId, time, alarmDetail(alarm, day), alarm.enabled});
    }
    if (revealedDelete_ >= int(rows_.size()))
        revealedDelete_ = -1;
}

void ClockApp::reload() {
    // What the shown page holds and the model does not yet: the picker's time, the typed label.
    keepPickerTime();
    commitLabel();
    readModel();
    show();
}

void ClockApp::reset() {
    page_ = Page::List;
    listOffset_ = 0;
    editingList_ = false;
    revealedDelete_ = -1;
    reload();
}

void ClockApp::show() {
    id page;
    picker_.reset();
    labelField_ = nullptr;
    rowsView_ = nullptr;
    switch (page_) {
    case Page::List:
        page = listPage();
        break;
    case Page::Add:
    case Page::Edit:
        page = editPage();
        break;
    case Page::Repeat:
        page = repeatPage();
        break;
    case Page::Label:
        page = labelPage();
        break;
    }
    if (content_)
        msg(content_, "removeFromSuperview");
    content_ = page;
    msg(window_, "addSubview:", content_);
}

std::optional<springboard::ClockAlarm> ClockApp::alarmOfRow(int row) const {
    if (row < 0 || row >= int(alarms_.size()))
        return std::nullopt;
    return alarms_[size_t(row)];
}

std::string ClockApp::repeatValue() const {
    return repeatText(draft_.alarm.time.weekdays);
}

std::string ClockApp::labelValue() const {
    return draft_.alarm.label.empty() ? "Alarm" : draft_.alarm.label;
}

std::optional<CGPoint> ClockApp::pointOf(const std::string& control, int index) const {
    auto it = controlTags().find(control);
    if (it == controlTags().end() || !content_)
        return std::nullopt;
    const NSInteger tag = it->second >= kTagsPerKind ? it->second + index : it->second;
    msg(window_, "layoutIfNeeded");
    id view = msg<id>(content_, "viewWithTag:", tag);
    if (!view || msg<bool>(view, "isHidden"))
        return std::nullopt;
    const CGRect bounds = msg<CGRect>(view, "bounds");
    const CGPoint p = msg<CGPoint>(
        view, "convertPoint:toView:", CGPoint{CGRectGetMidX(bounds), CGRectGetMidY(bounds)}, nullptr);
    // Only a control a finger can reach there: not one scrolled out of sight or covered.
    id hit = msg<id>(window_, "hitTest:withEvent:", p, nullptr);
    if (!hit || (hit != view && !msg<bool>(hit, "isDescendantOfView:", view)))
        return std::nullopt;
    return p;
}

// ---------------------------------------------------------------------------------------------
// The list

void ClockApp::addTapped() {
    if (page_ != Page::List)
        return;
    draft_ = Draft{};
    // A new alarm starts at the time it is now, on, ringing once, with snooze.
    const double now = DeviceClock::now().timeIntervalSinceReferenceDate;
    const double local = now + springboard::deviceUtcOffset(now);
    const long secondsOfDay = long(local - 86400.0 * std::floor(local / 86400.0));
    draft_.alarm.time = {int(secondsOfDay / 3600), int(secondsOfDay / 60 % 60), 0, 0};
    page_ = Page::Add;
    show();
}

void ClockApp::editTapped() {
    if (page_ != Page::List)
        return;
    editingList_ = !editingList_;
    revealedDelete_ = -1;
    show();
}

void ClockApp::rowTapped(int row) {
    auto alarm = alarmOfRow(row);
    if (page_ != Page::List || !alarm)
        return;
    if (revealedDelete_ >= 0) {
        // A tap beside a shown Delete button only hides it.
        revealedDelete_ = -1;
        show();
        return;
    }
    if (!editingList_)
        return;
    draft_ = Draft{*alarm};
    page_ = Page::Edit;
    show();
}

void ClockApp::rowSwitched(int row, bool on) {
    auto alarm = alarmOfRow(row);
    if (!alarm)
        return;
    alarm->enabled = on;
    springBoard_.addAlarm(*alarm);
    reload();
}

void ClockApp::scrollListBy(CGFloat dy) {
    if (page_ != Page::List || !rowsView_)
        return;
    const CGRect bounds = msg<CGRect>(rowsView_, "bounds");
    const CGFloat content = CGFloat(rows_.size()) * kListRowHeight;
    listOffset_ =
        std::clamp(listOffset_ + dy, CGFloat(0), std::max(CGFloat(0), content - bounds.size.height));
    msg(rowsView_, "setBounds:", CGRect{{0, listOffset_}, bounds.size});
}

void ClockApp::deleteMarkTapped(int row) {
    if (!editingList_ || !alarmOfRow(row))
        return;
    revealedDelete_ = revealedDelete_ == row ? -1 : row;
    show();
}

void ClockApp::deleteTapped(int row) {
    auto alarm = alarmOfRow(row);
    if (!editingList_ || !alarm)
        return;
    springBoard_.removeAlarm(alarm->alarmId);
    revealedDelete_ = -1;
    reload();
}

// ---------------------------------------------------------------------------------------------
// Adding and editing

void ClockApp::cancelTapped() {
    if (page_ != Page::Add && page_ != Page::Edit)
        return;
    page_ = Page::List;
    reload();
}

void ClockApp::saveTapped() {
    if (page_ != Page::Add && page_ != Page::Edit)
        return;
    keepPickerTime();
    springboard::ClockAlarm alarm = draft_.alarm;
    // A saved alarm is on, as a phone turns on an alarm it saves.
    alarm.enabled = true;
    springBoard_.addAlarm(alarm);
    page_ = Page::List;
    editingList_ = false;
    revealedDelete_ = -1;
    reload();
}

void ClockApp::repeatTapped() {
    if (page_ != Page::Add && page_ != Page::Edit)
        return;
    // The picker's time is kept while a deeper page shows.
    keepPickerTime();
    returnPage_ = page_;
    page_ = Page::Repeat;
    show();
}

void ClockApp::labelTapped() {
    if (page_ != Page::Add && page_ != Page::Edit)
        return;
    keepPickerTime();
    returnPage_ = page_;
    page_ = Page::Label;
    show();
}

void ClockApp::keepPickerTime() {
    if (picker_ &&
        (picker_->hour() != draft_.alarm.time.hour || picker_->minute() != draft_.alarm.time.minute))
        draft_.alarm.time = {picker_->hour(), picker_->minute(), draft_.alarm.time.weekdays, 0};
}

void ClockApp::commitLabel() {
    if (labelField_)
        draft_.alarm.label = msg<std::string>(labelField_, "text");
}

void ClockApp::backTapped() {
    if (page_ != Page::Repeat && page_ != Page::Label)
        return;
    if (page_ == Page::Label)
        commitLabel();
    page_ = returnPage_;
    show();
}

bool ClockApp::returnKey() {
    if (page_ != Page::Label)
        return false;
    backTapped();
    return true;
}

void ClockApp::repeatChosen(bool daily) {
    if (page_ != Page::Repeat)
        return;
    draft_.alarm.time.weekdays = daily ? springboard::kEveryDay : 0;
    show();
}

void ClockApp::snoozeSwitched(bool on) {
    draft_.alarm.allowsSnooze = on;
}

void ClockApp::deleteAlarmTapped() {
    if (page_ != Page::Edit)
        return;
    springBoard_.removeAlarm(draft_.alarm.alarmId);
    page_ = Page::List;
    editingList_ = false;
    revealedDelete_ = -1;
    reload();
}

} // namespace clockapp
