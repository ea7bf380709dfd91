#include "springboard/SBBulletinModalAlert.h"

#include "foundation/DeviceEvents.h"
#include "springboard/AlarmActions.h"
#include "springboard/BBBulletin.h"
#include "springboard/SBBulletinAlertSheet.h"
#include "springboard/SpringBoardEvents.h"

#include <vector>

namespace {
const ClassDef<SBBulletinModalAlert> kSBBulletinModalAlert(
    "SBBulletinModalAlert", "NSObject",
    {
        method("configure:requirePasscodeForActions:",
               &SBBulletinModalAlert::configureRequirePasscodeForActions),
        method("alertView:clickedButtonAtIndex:", &SBBulletinModalAlert::alertViewClickedButtonAtIndex),
        ivar("_bulletin", &SBBulletinModalAlert::bulletin_),
        ivar("_alertSheet", &SBBulletinModalAlert::alertSheet_),
    });

Ref<BBBulletin> bulletinOf(const id& bulletin) {
    return cast<BBBulletin>(bulletin);
}
} // namespace

void SBBulletinModalAlert::configureRequirePasscodeForActions(bool, bool) {
    auto bulletin = bulletinOf(bulletin_);
    if (!bulletin)
        return;
    std::vector<std::string> buttons;
    if (!bulletin->alternateActionLabel_.empty())
        buttons.push_back(bulletin->alternateActionLabel_);
    buttons.push_back(kOKTitle);
    alertSheet_ =
        msg<id>(SBBulletinAlertSheet::allocReportingTo(self()),
                "initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:", bulletin->title_,
                bulletin->message_, self(), "", buttons);
}

void SBBulletinModalAlert::alertViewClickedButtonAtIndex(id, NSInteger index) {
    auto bulletin = bulletinOf(bulletin_);
    AlarmActions* actions = AlarmActions::current();
    if (!bulletin || !bulletin->isAlarm() || !actions)
        return;
    const bool canSnooze = !bulletin->alternateActionLabel_.empty();
    if (index == 1 || (index == 0 && !canSnooze)) {
        actions->stopAlarm(bulletin->bulletinID_);
    } else if (index == 0) {
        actions->snoozeAlarm(bulletin->bulletinID_);
    }
}

void SBBulletinModalAlert::sheetWentAway() {
    if (!showing_)
        return;
    showing_ = false;
    DeviceEvents::record(sbevent::kAlertDismissed, eventDetail());
}

void SBBulletinModalAlert::present() {
    msg(self(), "configure:requirePasscodeForActions:", false, false);
    if (!alertSheet_)
        return;
    showing_ = true;
    msg(alertSheet_, "show");
    DeviceEvents::record(sbevent::kAlertShown, eventDetail());
}

std::string SBBulletinModalAlert::eventDetail() const {
    auto bulletin = bulletinOf(bulletin_);
    return "modal " + (bulletin ? bulletin->title_ : std::string());
}

Ref<SBBulletinModalAlert> SBBulletinModalAlert::make(id bulletin) {
    auto alert = alloc<SBBulletinModalAlert>();
    alert->bulletin_ = std::move(bulletin);
    return alert;
}
