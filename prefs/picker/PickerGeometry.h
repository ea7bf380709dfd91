// The picker's arithmetic: where its parts sit for a frame, which part a touch point goes to,
// what a touch point means as components, and where the two markers stand for components.
// Plain values only, so every rule is tested without a view.
#pragma once

#include "coregraphics/CGGeometry.h"
#include "picker/HsbComponents.h"
#include "picker/PickerLayout.h"

// Where every part of a picker of width W and height H sits at construction, with lh the
// height of one label line. The square and the bar are laid out again for each new frame.
struct PickerFrames {
    CGRect measuringLabel;
    CGRect topLeftLabel;
    CGRect topRightLabel;
    CGRect square;
    CGRect bar;
    CGRect marker;
    CGRect sliderTitle;
    CGRect sliderValueLabel;
    CGRect sliderEntryButton;
    CGRect crosshair;
};

CGRect squareFrame(CGSize picker, double labelHeight);
CGRect barFrame(CGRect square, CGSize picker, double labelHeight);
PickerFrames pickerFrames(CGSize picker, double labelHeight);

// What a touch point does. The regions are the square S and the bar B as they stand, the
// top of the slider value label and the bottom of the top-left value label.
struct TouchRegions {
    CGRect square;
    CGRect bar;
    double sliderLabelTop = 0;
    double topLabelBottom = 0;
};

struct TouchTarget {
    enum Kind { Ignored, Square, Bar } kind = Ignored;
    CGPoint point; // for Square the point to apply; for Bar only x counts
};

TouchTarget dispatchTouch(const TouchRegions& regions, CGPoint p);

// A square point sets the two square components, a bar x the slider component.
void applySquareTouch(const PickerLayout& layout, HsbComponents& hsb, CGRect square, CGPoint q);
void applyBarTouch(const PickerLayout& layout, HsbComponents& hsb, CGRect bar, double x);

// Marker placement for the current components: the crosshair's center in the square, and the
// slider marker's center on the bar (its x rounded to single precision).
CGPoint crosshairCenter(const PickerLayout& layout, const HsbComponents& hsb, CGRect square);
CGPoint markerCenter(const PickerLayout& layout, const HsbComponents& hsb, CGRect bar);
