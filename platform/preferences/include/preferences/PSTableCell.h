// A row's cell: a content view holding a text label, and per cell type the control that shows
// and changes the row's value (switch, text field, segments, slider) or its detail text.
//
// A cell is made with initWithStyle:reuseIdentifier:specifier: and shows its specifier's
// current name, value and "enabled" property; refreshCellContentsWithSpecifier: shows them
// again. A row whose "enabled" is false is greyed and its control ignores the user. A row with
// an image in its `imageView` shows it as a 29-point icon left of its text.
#pragma once

#include "foundation/PlistValue.h"
#include "objc/runtime.h"
#include "uikit/UIView.h"

#include <string>

struct PSTableCell : UIView {
    id contentView_;
    id textLabel_;
    id detailTextLabel_; // the value or detail text shown at the right
    id control_;         // the value control of the cell type, or none
    id imageView_;       // made on first use
    id specifier_;
    NSInteger style_ = 0;
    std::string reuseIdentifier_;
    NSInteger type_ = 0;
    bool cellEnabled_ = true;

    id initWithStyleReuseIdentifierSpecifier(NSInteger style, std::string reuseIdentifier, id specifier);
    id contentView() const { return contentView_; }
    id textLabel() const { return textLabel_; }
    id detailTextLabel() const { return detailTextLabel_; }
    id imageView();
    id control() const { return control_; }
    id specifier() const { return specifier_; }
    void setSpecifier(id specifier) { specifier_ = std::move(specifier); }
    std::string reuseIdentifier() const { return reuseIdentifier_; }
    NSInteger type() const { return type_; }
    bool cellEnabled() const { return cellEnabled_; }
    void setCellEnabled(bool enabled);
    void refreshCellContentsWithSpecifier(id specifier);
    // The row's value as the cell shows it (from the target's getter).
    PlistValue currentValue() const;
    // Hands a new value to the target's setter, as the user's change.
    void commitValue(PlistValue value);
    void layoutSubviews();

  protected:
    // Where the row's text goes, set once per layout: `standard` runs from the left margin (or the
    // icon) to what the row shows at its right. A cell type whose control takes the row's room
    // gives its own frame.
    virtual CGRect textLabelFrame(CGRect standard, CGRect /*bounds*/) const { return standard; }
};
