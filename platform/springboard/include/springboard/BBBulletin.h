// A bulletin: what SpringBoard shows for a notification. An alarm's has section
// "com.apple.mobiletimer" and subtype 1.
#pragma once

#include "objc/runtime.h"

#include <string>

inline constexpr const char* kClockBundleIdentifier = "com.apple.mobiletimer";
inline constexpr NSInteger kAlarmSectionSubtype = 1;

struct BBBulletin : NSObject {
    std::string sectionID_;
    NSInteger sectionSubtype_ = 0;
    std::string title_;
    std::string message_;
    std::string bulletinID_;           // the alarm's id for an alarm
    std::string alternateActionLabel_; // "Snooze" for an alarm that can snooze, else ""

    std::string sectionID() const { return sectionID_; }
    void setSectionID(std::string s) { sectionID_ = std::move(s); }
    NSInteger sectionSubtype() const { return sectionSubtype_; }
    void setSectionSubtype(NSInteger n) { sectionSubtype_ = n; }
    std::string title() const { return title_; }
    void setTitle(std::string s) { title_ = std::move(s); }
    std::string message() const { return message_; }
    void setMessage(std::string s) { message_ = std::move(s); }
    std::string bulletinID() const { return bulletinID_; }
    void setBulletinID(std::string s) { bulletinID_ = std::move(s); }
    std::string alternateActionLabel() const { return alternateActionLabel_; }
    void setAlternateActionLabel(std::string s) { alternateActionLabel_ = std::move(s); }
    // A Clock alarm's bulletin: section "com.apple.mobiletimer", subtype 1.
    bool isAlarm() const {
        return sectionID_ == kClockBundleIdentifier && sectionSubtype_ == kAlarmSectionSubtype;
    }

    static Ref<BBBulletin> make(std::string sectionID, NSInteger subtype, std::string title,
                                std::string bulletinID);
};
