// HMColorCell: the settings-table cell that edits one color setting.
//
// It shows the value as hex text, a sample of the alert button in that color, red, green and
// blue rows (caption, slider, typed value) and one of the three HSB pickers, above or below the
// rows. Every edit keeps all of them in step; the end of an edit saves the hex text under the
// cell's key in its settings file and posts the cell's change notification.
//
// The arithmetic and rules live in ColorCellLayout, ColorRules, HexColorRule,
// ColorCellInitialLoad and ColorCellEditing; this class turns them into view calls.
#pragma once

#include "cell/ColorCellEditing.h"
#include "cell/ColorRules.h"
#include "foundation/NSNumberFormatter.h"
#include "objc/runtime.h"
#include "preferences/PSTableCell.h"

#include <memory>
#include <optional>
#include <string>

struct HMColorCell : PSTableCell {
    id hexColorField;    // the value as hex text
    id buttonColorField; // the "Button" sample
    id titleR, titleG, titleB;
    id valueR, valueG, valueB;
    id sliderR, sliderG, sliderB;
    id colorPickerView_H, colorPickerView_S, colorPickerView_B; // only the chosen one is made
    float min = 0, max = 0;
    float buttonAlphaLevel = 1.0f;
    std::shared_ptr<NSNumberFormatter> formatter;
    std::optional<std::string> specifierObject;  // the settings key
    std::optional<std::string> defaults;         // the settings domain
    std::optional<std::string> PostNotification; // posted after each save
    int colorPickerType = 0;

    id initWithStyleReuseIdentifierSpecifier(NSInteger style, std::string reuseIdentifier, id specifier);
    bool useWhiteFontWithGreenWithBlueWithOpacity(int r, int g, int b, float opacity);

    void askUserForInputHex();
    void askUserForInputR();
    void askUserForInputG();
    void askUserForInputB();
    void alertViewClickedButtonAtIndex(id alertView, NSInteger buttonIndex);
    void sliderValueChangedAction(id slider);
    void sliderTouchUpInsideOutsideAction(id slider);
    void setColors(bool pushToPicker);

    // The picker's two callbacks.
    void colorsHaveChanged(id color);
    void saveColor();

    // The picker that colorPickerType selects.
    id chosenPicker() const;

  private:
    void buildViews(bool pickerAboveRows);
    ColorChannels loadInitialColor();
    void buildPicker(double w, double pickerTop, ColorChannels initial);
    void askUserForChannel(ColorChannel channel);
    void setValueLabel(const id& label, const id& slider);
};
