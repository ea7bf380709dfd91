#include "springboard/SBBulletinAlertSheet.h"

#include "springboard/SBBulletinModalAlert.h"

namespace {
const ClassDef<SBBulletinAlertSheet>
    kSBBulletinAlertSheet("SBBulletinAlertSheet", "UIAlertView",
                          {
                              method("dismiss", &SBBulletinAlertSheet::dismissSheet),
                              method("dismissWithClickedButtonIndex:animated:",
                                     &SBBulletinAlertSheet::dismissSheetWithClickedButtonIndexAnimated),
                          });
} // namespace

void SBBulletinAlertSheet::dismissSheet() {
    msgSuper(this, classOf<SBBulletinAlertSheet>(), "dismiss");
    reportIfGone();
}

void SBBulletinAlertSheet::dismissSheetWithClickedButtonIndexAnimated(NSInteger index, bool animated) {
    msgSuper(this, classOf<SBBulletinAlertSheet>(), "dismissWithClickedButtonIndex:animated:", index,
             animated);
    reportIfGone();
}

void SBBulletinAlertSheet::reportIfGone() {
    if (msg<bool>(this, "isVisible"))
        return;
    if (auto modal = cast<SBBulletinModalAlert>(modalAlert_.lock()))
        modal->sheetWentAway();
}

Ref<SBBulletinAlertSheet> SBBulletinAlertSheet::allocReportingTo(const id& modalAlert) {
    auto sheet = alloc<SBBulletinAlertSheet>();
    sheet->modalAlert_ = modalAlert;
    return sheet;
}
