// Numbers as text in the device's locale. Styles: 0 none, 1 decimal, 2 currency, 3 percent,
// 4 scientific, 5 spell-out.
#pragma once

#include "foundation/PlistValue.h"
#include "objc/runtime.h"

#include <string>

enum NSNumberFormatterStyle : NSUInteger {
    NSNumberFormatterNoStyle = 0,
    NSNumberFormatterDecimalStyle = 1,
    NSNumberFormatterCurrencyStyle = 2,
    NSNumberFormatterPercentStyle = 3,
    NSNumberFormatterScientificStyle = 4,
    NSNumberFormatterSpellOutStyle = 5,
};

class NSNumberFormatter {
  public:
    NSNumberFormatter();                            // the device's locale
    explicit NSNumberFormatter(std::string locale); // a given locale
    void setNumberStyle(NSUInteger style) { style_ = style; }
    NSUInteger numberStyle() const { return style_; }
    void setMaximumFractionDigits(NSUInteger digits) {
        maxFractionDigits_ = digits;
        hasMaxFraction_ = true;
    }
    NSUInteger maximumFractionDigits() const;
    // "" for a value that is not a number.
    std::string stringFromNumber(const PlistValue& number) const;

  private:
    std::string locale_;
    NSUInteger style_ = NSNumberFormatterNoStyle;
    NSUInteger maxFractionDigits_ = 0;
    bool hasMaxFraction_ = false;
};
