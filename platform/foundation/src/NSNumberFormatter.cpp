// Number formatting through ICU in the formatter's locale.
#include "foundation/NSNumberFormatter.h"

#include "IcuSupport.h"
#include "foundation/DeviceEnvironment.h"

#include <memory>
#include <unicode/decimfmt.h>
#include <unicode/numfmt.h>
#include <unicode/rbnf.h>

NSNumberFormatter::NSNumberFormatter() : locale_(DeviceEnvironment::locale()) {}

NSNumberFormatter::NSNumberFormatter(std::string locale) : locale_(std::move(locale)) {}

namespace {
std::unique_ptr<icu::NumberFormat> makeFormat(NSUInteger style, const icu::Locale& locale) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::NumberFormat> format;
    switch (style) {
    case NSNumberFormatterCurrencyStyle:
        format.reset(icu::NumberFormat::createCurrencyInstance(locale, status));
        break;
    case NSNumberFormatterPercentStyle:
        format.reset(icu::NumberFormat::createPercentInstance(locale, status));
        break;
    case NSNumberFormatterScientificStyle:
        format.reset(icu::NumberFormat::createScientificInstance(locale, status));
        break;
    case NSNumberFormatterSpellOutStyle:
        format.reset(new icu::RuleBasedNumberFormat(icu::URBNF_SPELLOUT, locale, status));
        break;
    default:
        format.reset(icu::NumberFormat::createInstance(locale, status));
        break;
    }
    if (U_FAILURE(status))
        return nullptr;
    if (format && style == NSNumberFormatterNoStyle) {
        // No style: a plain integer, no grouping.
        format->setGroupingUsed(false);
        format->setMaximumFractionDigits(0);
    }
    return format;
}
} // namespace

NSUInteger NSNumberFormatter::maximumFractionDigits() const {
    if (hasMaxFraction_)
        return maxFractionDigits_;
    auto format = makeFormat(style_, icu::Locale(locale_.c_str()));
    return format ? static_cast<NSUInteger>(format->getMaximumFractionDigits()) : 0;
}

std::string NSNumberFormatter::stringFromNumber(const PlistValue& number) const {
    if (!number.isNumber())
        return "";
    auto format = makeFormat(style_, icu::Locale(locale_.c_str()));
    if (!format)
        return "";
    if (hasMaxFraction_) {
        int digits = maxFractionDigits_ > 340 ? 340 : static_cast<int>(maxFractionDigits_);
        if (format->getMinimumFractionDigits() > digits)
            format->setMinimumFractionDigits(digits);
        format->setMaximumFractionDigits(digits);
    }
    icu::UnicodeString text;
    if (number.isReal())
        format->format(number.asReal(), text);
    else
        format->format(static_cast<int64_t>(number.integerValue()), text);
    return withPlainSpaces(toUtf8(text));
}
