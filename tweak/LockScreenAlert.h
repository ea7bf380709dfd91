// The tweak's own alert beside SpringBoard's fullscreen alarm on the lock screen: the alarm's
// Snooze and OK buttons and the disarm button, forwarded to the fullscreen bulletin controller.
#pragma once

#include "TweakState.h"

// presentFullscreenBulletinAlertWithItem: shows the tweak's alert for an alarm, then SpringBoard's.
void lockScreenPresentAlarm(TweakState& state, Object* controller, const id& item);
// alertView:didDismissWithButtonIndex: forwards the chosen button 0.1 second later.
void lockAlertDidDismissWithButtonIndex(TweakState& state, Object* controller, const id& alertView,
                                        NSInteger index);
// _dismissFullscreenBulletinAlertAnimated: takes the tweak's alert down with SpringBoard's.
void lockScreenDismissFullscreenAlert(TweakState& state, Object* controller, bool animated);
// hushmarkButtonClicked: stops the alarm, disarms and closes the tweak's alert.
void lockScreenButtonClicked(TweakState& state, Object* controller);
