// Small makers for the UIKit views and colors the color cell uses, through messages to the
// platform's classes (found by name, so the bundle links no view code of its own), and its
// reading of specifier texts.
#pragma once

#include "cell/ColorCellLayout.h"
#include "cell/ColorRules.h"
#include "coregraphics/CGGeometry.h"
#include "objc/runtime.h"

#include <optional>
#include <string>

CGRect cgRect(const CellFrame& f);

// A UIColor from one of its class factories ("blueColor") or from RGB components.
id namedColor(const char* factory);
id rgbColor(double r, double g, double b, double alpha);
// The color that channels 0…255 stand for, at the given alpha.
id colorOfChannels(ColorChannels c, double alpha);

// A one-line label with a clear background.
id makeLabel(const CellFrame& frame, const std::string& text, id textColor, NSInteger alignment);
// The cell's buttons: a system button without title, a faint tint and rounded corners, sending
// `action` to `target` on touch up inside.
id makeTintedButton(const CellFrame& frame, const id& target, const char* action, NSUInteger autoresizing);

// A specifier property that holds text; none when it is unset or holds something else.
std::optional<std::string> specifierString(const id& specifier, const char* key);
