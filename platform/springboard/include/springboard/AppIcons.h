// The pictures of the built-in apps' icons, drawn with CoreGraphics into a square of `side`
// points at the origin of a context: Clock (a white face on black, hands at ten past ten) and
// Settings (a grey gear). Also the home screen's wallpaper, a vertical gradient.
#pragma once

#include "coregraphics/CoreGraphics.h"

namespace springboard {
void drawClockIcon(CGContextRef context, CGFloat side);
void drawSettingsIcon(CGContextRef context, CGFloat side);
void drawWallpaper(CGContextRef context, CGSize size);
// A straight stroke of the given width from one point to another (round dots along the line).
void strokeLine(CGContextRef context, CGPoint from, CGPoint to, CGFloat width);
} // namespace springboard
