#include "springboard/SBAwayBulletinListItem.h"

namespace {
const ClassDef<SBAwayBulletinListItem>
    kSBAwayBulletinListItem("SBAwayBulletinListItem", "NSObject",
                            {
                                method("activeBulletin", &SBAwayBulletinListItem::activeBulletin),
                                method("setActiveBulletin:", &SBAwayBulletinListItem::setActiveBulletin),
                                method("title", &SBAwayBulletinListItem::title),
                                method("canSnooze", &SBAwayBulletinListItem::canSnooze),
                                method("setCanSnooze:", &SBAwayBulletinListItem::setCanSnooze),
                            });
} // namespace

std::string SBAwayBulletinListItem::title() const {
    return msg<std::string>(activeBulletin_, "title");
}

Ref<SBAwayBulletinListItem> SBAwayBulletinListItem::make(id bulletin, bool canSnooze) {
    auto item = alloc<SBAwayBulletinListItem>();
    item->activeBulletin_ = std::move(bulletin);
    item->canSnooze_ = canSnooze;
    return item;
}
