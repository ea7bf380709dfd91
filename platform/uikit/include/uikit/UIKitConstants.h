// The integer values UIKit gives its enumerations, as the device's code passes them.
#pragma once

#include "objc/runtime.h"

// Control events (NSUInteger bits).
inline constexpr NSUInteger UIControlEventTouchDown = 1;
inline constexpr NSUInteger UIControlEventTouchDownRepeat = 2;
inline constexpr NSUInteger UIControlEventTouchDragInside = 4;
inline constexpr NSUInteger UIControlEventTouchDragOutside = 8;
inline constexpr NSUInteger UIControlEventTouchDragEnter = 16;
inline constexpr NSUInteger UIControlEventTouchDragExit = 32;
inline constexpr NSUInteger UIControlEventTouchUpInside = 64;
inline constexpr NSUInteger UIControlEventTouchUpOutside = 128;
inline constexpr NSUInteger UIControlEventTouchCancel = 256;
inline constexpr NSUInteger UIControlEventValueChanged = 4096;
inline constexpr NSUInteger UIControlEventAllTouchEvents = 0x0FFF;
inline constexpr NSUInteger UIControlEventAllEvents = 0xFFFFFFFF;

// Control states (NSUInteger bits).
inline constexpr NSUInteger UIControlStateNormal = 0;
inline constexpr NSUInteger UIControlStateHighlighted = 1;
inline constexpr NSUInteger UIControlStateDisabled = 2;
inline constexpr NSUInteger UIControlStateSelected = 4;

// Autoresizing mask (NSUInteger bits).
inline constexpr NSUInteger UIViewAutoresizingNone = 0;
inline constexpr NSUInteger UIViewAutoresizingFlexibleLeftMargin = 1;
inline constexpr NSUInteger UIViewAutoresizingFlexibleWidth = 2;
inline constexpr NSUInteger UIViewAutoresizingFlexibleRightMargin = 4;
inline constexpr NSUInteger UIViewAutoresizingFlexibleTopMargin = 8;
inline constexpr NSUInteger UIViewAutoresizingFlexibleHeight = 16;
inline constexpr NSUInteger UIViewAutoresizingFlexibleBottomMargin = 32;

// Text alignment (NSInteger).
inline constexpr NSInteger NSTextAlignmentLeft = 0;
inline constexpr NSInteger NSTextAlignmentCenter = 1;
inline constexpr NSInteger NSTextAlignmentRight = 2;

// Button types (NSInteger).
inline constexpr NSInteger UIButtonTypeCustom = 0;
inline constexpr NSInteger UIButtonTypeSystem = 1;

// Alert view styles (NSInteger).
inline constexpr NSInteger UIAlertViewStyleDefault = 0;
inline constexpr NSInteger UIAlertViewStyleSecureTextInput = 1;
inline constexpr NSInteger UIAlertViewStylePlainTextInput = 2;
inline constexpr NSInteger UIAlertViewStyleLoginAndPasswordInput = 3;

// Keyboard types (NSInteger).
inline constexpr NSInteger UIKeyboardTypeDefault = 0;
inline constexpr NSInteger UIKeyboardTypeNumbersAndPunctuation = 2;
inline constexpr NSInteger UIKeyboardTypeNumberPad = 4;
inline constexpr NSInteger UIKeyboardTypeDecimalPad = 8;

// Touch phases (NSInteger).
inline constexpr NSInteger UITouchPhaseBegan = 0;
inline constexpr NSInteger UITouchPhaseMoved = 1;
inline constexpr NSInteger UITouchPhaseStationary = 2;
inline constexpr NSInteger UITouchPhaseEnded = 3;
inline constexpr NSInteger UITouchPhaseCancelled = 4;
