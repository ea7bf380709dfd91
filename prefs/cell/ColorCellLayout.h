// Where the color cell puts each of its views, from the cell's width alone.
//
// Two arrangements: the picker above the red, green and blue rows (the default), or below
// them. Everything is fixed at construction; later width changes reach the views only through
// their autoresizing masks, so these frames are the whole of the cell's layout.
#pragma once

#include <array>

struct CellFrame {
    double x = 0, y = 0, width = 0, height = 0;
    bool operator==(const CellFrame&) const = default;
};

inline constexpr double kColorPickerHeight = 380;

struct ColorCellLayout {
    float sampleWidth = 0; // w − 34 rounded half away from zero, held in single precision
    double pickerTop = 0;  // 90 above the rows, 285 below them
    double rowBaseY = 0;   // 490 below the picker, 90 above it

    CellFrame hexField;                      // also the hex button's frame
    CellFrame sample;                        // the "Button" sample
    std::array<CellFrame, 3> captions;       // "Red", "Green", "Blue"
    std::array<CellFrame, 3> channelButtons; // also the value labels' frames
    std::array<CellFrame, 3> sliders;
    CellFrame picker;
    CellFrame help; // before it is sized to fit
};

// The scratch label that measures "#FFFFFFF" before the hex field can be placed.
CellFrame hexMeasureFrame(double w);

// w: the cell's width at construction; tw, th: the measured hex text size.
ColorCellLayout colorCellLayout(double w, bool pickerAboveRows, double tw, double th);
