// The Clock app's alarms, as on a phone: a list of alarms under a navigation bar ("Edit",
// "Alarm", "+"), each row with its time, its label and repeat (and the day a once-alarm rings,
// when not today) and a switch that turns it on or off; an add and an edit screen (a time
// picker of wheels, Repeat, Label and Snooze rows, Cancel and Save); deleting in Edit mode or
// from the edit screen.
//
// Repeat offers Never or Every Day: the device keeps an alarm as ringing once or daily (its saved
// state across a respring, what it reports), so those are the choices that last. An alarm that
// came with other weekdays shows them ("Mon Thu") and keeps them until a choice is made.
//
// The app owns one window, the size of the screen, and shows its pages in it. A host brings
// the window on screen and hands it a person's touches (UIWindow's touchDown, touchMove,
// touchUp, in screen points). Every change goes to SpringBoard's alarm model through its host
// (`addAlarm`, which replaces an alarm of the same id, and `removeAlarm`), so the schedule
// SpringBoard rings by is the one the app shows. The app reads the model when it is made, after
// each of its own changes and at `reload`, which a host calls when the app comes to the front
// or the alarms changed behind it (an alarm rang, one was added from elsewhere, time passed
// midnight).
#pragma once

#include "clock/TimePicker.h"
#include "coregraphics/CoreGraphics.h"
#include "objc/runtime.h"
#include "springboard/AlarmBook.h"

#include <optional>
#include <string>
#include <vector>

class SpringBoardHost;

namespace clockapp {

class ClockApp {
  public:
    enum class Page { List, Add, Edit, Repeat, Label };

    // The locale decides the time format and the picker's wheels (an AM/PM wheel or none);
    // empty: the device's. The SpringBoard host outlives the app (a respring makes both anew).
    explicit ClockApp(SpringBoardHost& springBoard, CGSize screenSize = {320, 568},
                      const std::string& locale = "");
    ~ClockApp();
    ClockApp(const ClockApp&) = delete;
    ClockApp& operator=(const ClockApp&) = delete;

    // The app's window: touch it, draw it (UISnapshotRenderScreen), show it.
    id window() const { return window_; }
    // Reads the alarm model again and redraws the shown page with it.
    void reload();
    // Back to the alarm list, out of Edit mode, dropping any unsaved add or edit, as a phone's
    // app shows itself after it was closed.
    void reset();

    Page page() const { return page_; }
    bool isEditingList() const { return editingList_; }

    // What the list shows, top to bottom.
    struct Row {
        std::string alarmId;
        std::string time; // digits and mark, as shown: "7:30 AM"
        std::string detail;
        bool on = false;
    };
    std::vector<Row> rows() const { return rows_; }
    // The time picker of the add or edit screen (none on other pages).
    Ref<TimePicker> timePicker() const { return picker_; }
    // The text field of the Label page, which typing goes to (none on other pages).
    id labelField() const { return labelField_; }
    // The value the add or edit screen shows for Repeat and Label, and its Snooze switch.
    std::string repeatValue() const;
    std::string labelValue() const;
    bool snoozeValue() const { return draft_.alarm.allowsSnooze; }

    // Points on the shown page a person touches, in screen points: tests and hosts find the
    // controls by what they are rather than by numbers. None when the page lacks it.
    std::optional<CGPoint> pointOf(const std::string& control, int index = 0) const;

    // Actions, as the page's controls send them.
    void addTapped();
    void editTapped();
    void rowTapped(int row);
    void rowSwitched(int row, bool on);
    void deleteMarkTapped(int row);
    void deleteTapped(int row);
    void cancelTapped();
    void saveTapped();
    void repeatTapped();
    void labelTapped();
    void backTapped();
    void repeatChosen(bool daily);
    void snoozeSwitched(bool on);
    void deleteAlarmTapped();
    // The keyboard's Return: on the Label page it ends the typing and goes back with the label,
    // as the phone does. False on other pages.
    bool returnKey();
    // A vertical drag on the list's rows: moves the list by `dy` points (positive: towards its
    // end), within its length.
    void scrollListBy(CGFloat dy);
    // How far the list is scrolled from its top.
    CGFloat listOffset() const { return listOffset_; }

  private:
    struct Draft {
        springboard::ClockAlarm alarm; // id empty while adding
    };
    void show();
    id listPage();
    id editPage();
    id repeatPage();
    id labelPage();
    void readModel();
    void commitLabel();
    // Keeps the picker's time in the draft while a deeper page shows (seconds go when it moved).
    void keepPickerTime();
    std::optional<springboard::ClockAlarm> alarmOfRow(int row) const;

    SpringBoardHost& springBoard_;
    CGSize screen_;
    std::string locale_;
    id window_;
    id target_;  // the object the controls send their actions to
    id content_; // the page shown in the window
    Page page_ = Page::List;
    Page returnPage_ = Page::Add; // the page Back returns to from Repeat or Label
    bool editingList_ = false;
    int revealedDelete_ = -1; // the row whose Delete button shows in Edit mode
    CGFloat listOffset_ = 0;
    id rowsView_;                                 // the list's rows, scrolled by its bounds
    std::vector<springboard::ClockAlarm> alarms_; // in list order
    std::vector<Row> rows_;
    Draft draft_;
    Ref<TimePicker> picker_;
    id labelField_;
};

} // namespace clockapp
