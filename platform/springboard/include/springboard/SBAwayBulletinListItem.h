// An item of the lock screen's bulletin list: the bulletin a fullscreen alert shows.
#pragma once

#include "objc/runtime.h"

#include <string>

struct SBAwayBulletinListItem : NSObject {
    id activeBulletin_;
    bool canSnooze_ = false;

    id activeBulletin() const { return activeBulletin_; }
    void setActiveBulletin(id b) { activeBulletin_ = std::move(b); }
    // The bulletin's title.
    std::string title() const;
    bool canSnooze() const { return canSnooze_; }
    void setCanSnooze(bool b) { canSnooze_ = b; }

    static Ref<SBAwayBulletinListItem> make(id bulletin, bool canSnooze);
};
