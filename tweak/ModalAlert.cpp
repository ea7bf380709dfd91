#include "ModalAlert.h"

#include "AlarmBulletin.h"
#include "AlertButton.h"
#include "DisarmState.h"
#include "core/AlertRules.h"

void modalAlertConfigure(TweakState& state, Object* alert, bool configure, bool requirePasscode) {
    id bulletin = instanceVariable(alert, "_bulletin");
    callImp(state.previous.configureRequirePasscodeForActions, alert, configure, requirePasscode);
    if (!bulletin || !state.settings.enabled || !state.settings.enableAlertButtons || !isAlarm(bulletin))
        return;
    id sheet = instanceVariable(alert, "_alertSheet");
    if (!sheet)
        return;
    msg(sheet, "setTag:", NSInteger{kAlertTagPlain});
    addButtonContainer(state, sheet, alert->self());
}

void modalAlertClickedButtonAtIndex(TweakState& state, Object* alert, const id& alertView, NSInteger index) {
    // A stop or snooze on the sheet leaves a running disarm timer alone; the disarm replaces it.
    ModalClick click = decideModalClick(msg<NSInteger>(alertView, "tag"), index);
    callImp(state.previous.alertViewClickedButtonAtIndex, alert, alertView, NSInteger{click.forwardIndex});
    if (click.disarm)
        disarmFromAlertButton(state);
}

void modalAlertButtonClicked(TweakState& state, Object* alert) {
    id sheet = instanceVariable(alert, "_alertSheet");
    msg(alert, "alertView:clickedButtonAtIndex:", sheet, NSInteger{kStopButtonIndex});
    disarmFromAlertButton(state);
    msg(sheet, "dismiss");
}
