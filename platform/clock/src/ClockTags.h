// The tags the Clock app's controls carry: how its action target tells the sender apart and
// how `ClockApp::pointOf` finds a control by name.
#pragma once

#include "objc/runtime.h"

namespace clockapp {

inline constexpr NSInteger kTagAdd = 100;
inline constexpr NSInteger kTagEdit = 101;
inline constexpr NSInteger kTagCancel = 102;
inline constexpr NSInteger kTagSave = 103;
inline constexpr NSInteger kTagBack = 104;
inline constexpr NSInteger kTagRepeat = 105;
inline constexpr NSInteger kTagLabel = 106;
inline constexpr NSInteger kTagSnooze = 107;
inline constexpr NSInteger kTagDeleteAlarm = 108;
inline constexpr NSInteger kTagLabelField = 109;
inline constexpr NSInteger kTagHourWheel = 110;
inline constexpr NSInteger kTagMinuteWheel = 111;
inline constexpr NSInteger kTagPeriodWheel = 112;
inline constexpr NSInteger kTagRepeatNever = 113;
inline constexpr NSInteger kTagRepeatDaily = 114;
// Per row or per weekday: the base plus the index.
inline constexpr NSInteger kTagRow = 1000;
inline constexpr NSInteger kTagSwitch = 2000;
inline constexpr NSInteger kTagDeleteMark = 3000;
inline constexpr NSInteger kTagDelete = 4000;
inline constexpr NSInteger kTagsPerKind = 1000;

} // namespace clockapp
