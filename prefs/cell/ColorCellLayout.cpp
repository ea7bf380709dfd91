#include "cell/ColorCellLayout.h"

#include <cmath>

namespace {
constexpr double kRowPitch = 68; // vertical distance between the red, green and blue rows
} // namespace

CellFrame hexMeasureFrame(double w) {
    return {15, 10, w - 30, 40};
}

ColorCellLayout colorCellLayout(double w, bool pickerAboveRows, double tw, double th) {
    ColorCellLayout l;
    l.sampleWidth = std::round(static_cast<float>(w - 34));
    l.pickerTop = pickerAboveRows ? 90 : 285;
    l.rowBaseY = pickerAboveRows ? 490 : 90;

    l.hexField = {w * 0.5 - tw * 0.5, 10, tw, th};
    l.sample = {15, 41, l.sampleWidth, 38};
    for (int i = 0; i < 3; ++i) {
        const double y = l.rowBaseY + kRowPitch * i;
        l.captions[i] = {15, y, w - 120, 20};
        l.channelButtons[i] = {w - 75, y - 7, 60, 30};
        l.sliders[i] = {15, y + 18, w - 30, 40};
    }
    l.picker = {0, l.pickerTop, w, kColorPickerHeight};
    l.help = {15, 685, w - 30, 100};
    return l;
}
