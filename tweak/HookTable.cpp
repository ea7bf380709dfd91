#include "HookTable.h"

#include "AlertButton.h"
#include "DisarmState.h"
#include "LaunchHook.h"
#include "LockScreenAlert.h"
#include "ModalAlert.h"
#include "NotificationHook.h"
#include "substrate/substrate.h"

namespace {

// A missing class or selector makes the row ineffective; the results are not looked at.
void replace(const char* className, const char* selector, Imp replacement, Imp& previous) {
    MSHookMessageEx(objc_getClass(className), sel_registerName(selector), std::move(replacement), &previous);
}

void add(const char* className, const char* selector, Imp implementation, const char* types) {
    class_addMethod(objc_getClass(className), sel_registerName(selector), std::move(implementation), types);
}

} // namespace

void installHooks(TweakState& state) {
    TweakState* s = &state;
    PreviousImplementations& p = state.previous;

    replace("SpringBoard", "applicationDidFinishLaunching:", makeImp([s](Object* self, id application) {
                applicationDidFinishLaunching(*s, self, application);
            }),
            p.applicationDidFinishLaunching);
    replace("SBApplication", "_fireNotification:",
            makeImp([s](Object* self, id notification) { fireNotification(*s, self, notification); }),
            p.fireNotification);
    add("SBClockDataProvider", "hushmarkTimerFired",
        makeImp([s](Object* self) { hushmarkTimerFired(*s, self->self()); }), "v@:");

    add("SBBulletinModalAlert",
        "hushmarkButtonNormal:", makeImp([s](Object*, id button) { hushmarkButtonNormal(*s, button); }),
        "v@:@");
    add("SBBulletinModalAlert",
        "hushmarkButtonHighlight:", makeImp([](Object*, id button) { hushmarkButtonHighlight(button); }),
        "v@:@");
    add("SBBulletinModalAlert",
        "hushmarkButtonClicked:", makeImp([s](Object* self, id) { modalAlertButtonClicked(*s, self); }),
        "v@:@");
    replace("SBBulletinModalAlert", "configure:requirePasscodeForActions:",
            makeImp([s](Object* self, bool configure, bool requirePasscode) {
                modalAlertConfigure(*s, self, configure, requirePasscode);
            }),
            p.configureRequirePasscodeForActions);
    replace("SBBulletinModalAlert",
            "alertView:clickedButtonAtIndex:", makeImp([s](Object* self, id alertView, NSInteger index) {
                modalAlertClickedButtonAtIndex(*s, self, alertView, index);
            }),
            p.alertViewClickedButtonAtIndex);

    replace("SBLockScreenViewController",
            "_dismissFullscreenBulletinAlertAnimated:", makeImp([s](Object* self, bool animated) {
                lockScreenDismissFullscreenAlert(*s, self, animated);
            }),
            p.dismissFullscreenBulletinAlertAnimated);
    add("SBLockScreenViewController",
        "alertView:didDismissWithButtonIndex:", makeImp([s](Object* self, id alertView, NSInteger index) {
            lockAlertDidDismissWithButtonIndex(*s, self, alertView, index);
        }),
        "v@:@q");
    add("SBLockScreenViewController",
        "hushmarkButtonNormal:", makeImp([s](Object*, id button) { hushmarkButtonNormal(*s, button); }),
        "v@:@");
    add("SBLockScreenViewController",
        "hushmarkButtonHighlight:", makeImp([](Object*, id button) { hushmarkButtonHighlight(button); }),
        "v@:@");
    add("SBLockScreenViewController",
        "hushmarkButtonClicked:", makeImp([s](Object* self, id) { lockScreenButtonClicked(*s, self); }),
        "v@:@");
    replace("SBLockScreenViewController", "presentFullscreenBulletinAlertWithItem:",
            makeImp([s](Object* self, id item) { lockScreenPresentAlarm(*s, self, item); }),
            p.presentFullscreenBulletinAlertWithItem);
}
