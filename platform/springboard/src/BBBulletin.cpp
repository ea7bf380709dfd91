#include "springboard/BBBulletin.h"

namespace {
const ClassDef<BBBulletin>
    kBBBulletin("BBBulletin", "NSObject",
                {
                    method("sectionID", &BBBulletin::sectionID),
                    method("setSectionID:", &BBBulletin::setSectionID),
                    method("sectionSubtype", &BBBulletin::sectionSubtype),
                    method("setSectionSubtype:", &BBBulletin::setSectionSubtype),
                    method("title", &BBBulletin::title),
                    method("setTitle:", &BBBulletin::setTitle),
                    method("message", &BBBulletin::message),
                    method("setMessage:", &BBBulletin::setMessage),
                    method("bulletinID", &BBBulletin::bulletinID),
                    method("setBulletinID:", &BBBulletin::setBulletinID),
                    method("alternateActionLabel", &BBBulletin::alternateActionLabel),
                    method("setAlternateActionLabel:", &BBBulletin::setAlternateActionLabel),
                });
} // namespace

Ref<BBBulletin> BBBulletin::make(std::string sectionID, NSInteger subtype, std::string title,
                                 std::string bulletinID) {
    auto b = alloc<BBBulletin>();
    b->sectionID_ = std::move(sectionID);
    b->sectionSubtype_ = subtype;
    b->title_ = std::move(title);
    b->bulletinID_ = std::move(bulletinID);
    return b;
}
