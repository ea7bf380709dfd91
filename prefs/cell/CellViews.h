// Small makers for the UIKit views the color cell builds, through messages to the platform's
// classes (found by name, so the bundle links no view code of its own).
#pragma once

#include "cell/ColorCellLayout.h"
#include "coregraphics/CGGeometry.h"
#include "objc/runtime.h"

#include <string>

CGRect cgRect(const CellFrame& f);

// A UIColor from one of its class factories ("blueColor") or from RGB components.
id namedColor(const char* factory);
id rgbColor(double r, double g, double b, double alpha);

// A one-line label with a clear background.
id makeLabel(const CellFrame& frame, const std::string& text, id textColor, NSInteger alignment);
// The cell's buttons: a system button without title, a faint tint and rounded corners, sending
// `action` to `target` on touch up inside.
id makeTintedButton(const CellFrame& frame, const id& target, const char* action, NSUInteger autoresizing);
