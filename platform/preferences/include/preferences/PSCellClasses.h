// The cells of the value rows, one class per kind of control, and the class a cell type gets
// when its row names no "cellClass". The user's changes arrive through the `user…` calls
// (from a touch, the host or a test); each hands the new value to the row's setter and is
// refused (false) while the row is disabled.
#pragma once

#include "preferences/PSTableCell.h"

#include <string>

// PSSwitchCell: a switch at the right; the value is a boolean.
struct PSSwitchTableCell : PSTableCell {
    id initWithStyleReuseIdentifierSpecifier(NSInteger style, std::string reuseIdentifier, id specifier);
    void refreshCellContentsWithSpecifier(id specifier);
    void layoutSubviews();
    CGRect textLabelFrame(CGRect standard, CGRect bounds) const override;
    bool userSetOn(bool on);
};

// PSEditTextCell, PSSecureEditTextCell, PSEditTextViewCell: a text field after the label; the
// value is the text. "isNumeric" or "keyboard" "numbers" ask for the number pad.
struct PSEditableTableCell : PSTableCell {
    id initWithStyleReuseIdentifierSpecifier(NSInteger style, std::string reuseIdentifier, id specifier);
    void refreshCellContentsWithSpecifier(id specifier);
    void layoutSubviews();
    CGRect textLabelFrame(CGRect standard, CGRect bounds) const override;
    bool userEnteredText(std::string text);
    // The text the field shows (bullets for a secure row).
    std::string shownText() const;
};

// PSSegmentCell: segments titled by "validTitles" for the values in "validValues".
struct PSSegmentTableCell : PSTableCell {
    id initWithStyleReuseIdentifierSpecifier(NSInteger style, std::string reuseIdentifier, id specifier);
    void refreshCellContentsWithSpecifier(id specifier);
    void layoutSubviews();
    CGRect textLabelFrame(CGRect standard, CGRect bounds) const override;
    bool userPickedSegment(NSInteger index);
};

// PSSliderCell: a slider from "min" to "max"; the value is a number.
struct PSSliderTableCell : PSTableCell {
    id initWithStyleReuseIdentifierSpecifier(NSInteger style, std::string reuseIdentifier, id specifier);
    void refreshCellContentsWithSpecifier(id specifier);
    void layoutSubviews();
    CGRect textLabelFrame(CGRect standard, CGRect bounds) const override;
    bool userMovedSlider(float value);
};

// The class drawing a cell type: the classes above for their types, PSTableCell for the rest.
Class* PSTableCellClassForCellType(NSInteger cellType);
// The text a value shows as (numbers without trailing zeros, booleans as 0 or 1).
std::string PSDisplayTextOfValue(const PlistValue& value);
// The title "validTitles" gives a value (by its index in "validValues"), or the value's text.
std::string PSTitleForValue(const PlistDict& properties, const PlistValue& value);
// The index of a value in "validValues" (numbers compare by value), or -1.
NSInteger PSIndexOfValue(const PlistDict& properties, const PlistValue& value);
