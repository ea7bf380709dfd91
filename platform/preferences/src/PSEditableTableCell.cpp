#include "ViewKit.h"
#include "preferences/PSCellClasses.h"
#include "preferences/PSSpecifier.h"

namespace {

constexpr NSInteger kNumberPad = 4; // UIKeyboardTypeNumberPad

bool asksForNumbers(const PlistDict& properties) {
    const PlistValue& numeric = valueForKey(properties, "isNumeric");
    const PlistValue& keyboard = valueForKey(properties, "keyboard");
    return numeric.boolValue() || (keyboard.isString() && keyboard.asString() == "numbers");
}

std::string bullets(size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i)
        text += "\u2022";
    return text;
}

} // namespace

id PSEditableTableCell::initWithStyleReuseIdentifierSpecifier(NSInteger style, std::string reuseIdentifier,
                                                              id specifier) {
    if (!msgSuper<id>(this, classOf<PSEditableTableCell>(), "initWithStyle:reuseIdentifier:specifier:", style,
                      std::move(reuseIdentifier), specifier)) {
        return nullptr;
    }
    control_ = PSMakeView("UITextField", PSRect(0, 0, 0, 44));
    if (auto* s = dynamic_cast<PSSpecifier*>(specifier.get())) {
        msg(control_, "setSecureTextEntry:", type_ == PSSecureEditTextCell);
        msg(control_, "setKeyboardType:", asksForNumbers(s->properties_) ? kNumberPad : NSInteger{0});
        std::string placeholder;
        if (auto* field = dynamic_cast<PSTextFieldSpecifier*>(s))
            placeholder = field->placeholder();
        if (placeholder.empty() && valueForKey(s->properties_, "placeholder").isString()) {
            placeholder = valueForKey(s->properties_, "placeholder").asString();
        }
        if (respondsToSelector(control_.get(), SELECTOR("setPlaceholder:")))
            msg(control_, "setPlaceholder:", placeholder);
    }
    msg(contentView_, "addSubview:", control_);
    msg(self(), "refreshCellContentsWithSpecifier:", specifier);
    return self();
}

void PSEditableTableCell::refreshCellContentsWithSpecifier(id specifier) {
    msgSuper(this, classOf<PSEditableTableCell>(), "refreshCellContentsWithSpecifier:", specifier);
    if (!control_)
        return;
    const std::string text = PSDisplayTextOfValue(currentValue());
    msg(control_, "setText:", text);
}

void PSEditableTableCell::layoutSubviews() {
    msgSuper(this, classOf<PSEditableTableCell>(), "layoutSubviews");
    const CGRect bounds = msg<CGRect>(self(), "bounds");
    const CGFloat labelWidth = msg<CGRect>(textLabel_, "frame").size.width;
    const CGFloat x = 15 + labelWidth + (labelWidth > 0 ? 10 : 0);
    msg(control_,
        "setFrame:", PSRect(x, 0, std::max<CGFloat>(0, bounds.size.width - 15 - x), bounds.size.height));
}

CGRect PSEditableTableCell::textLabelFrame(CGRect, CGRect bounds) const {
    // The label as wide as its text, at most half the row; the field takes the rest.
    const std::string label = msg<std::string>(textLabel_, "text");
    const CGFloat labelWidth = label.empty() ? 0 : std::min(PSTextWidth(label), bounds.size.width / 2);
    return PSRect(15, 0, labelWidth, bounds.size.height);
}

bool PSEditableTableCell::userEnteredText(std::string text) {
    if (!cellEnabled_)
        return false;
    msg(control_, "setText:", text);
    commitValue(PlistValue(std::move(text)));
    return true;
}

std::string PSEditableTableCell::shownText() const {
    const std::string text = msg<std::string>(control_, "text");
    return type_ == PSSecureEditTextCell ? bullets(text.size()) : text;
}

namespace {
const ClassDef<PSEditableTableCell> kPSEditableTableCell(
    "PSEditableTableCell", "PSTableCell",
    {
        method("initWithStyle:reuseIdentifier:specifier:",
               &PSEditableTableCell::initWithStyleReuseIdentifierSpecifier),
        method("refreshCellContentsWithSpecifier:", &PSEditableTableCell::refreshCellContentsWithSpecifier),
        method("layoutSubviews", &PSEditableTableCell::layoutSubviews),
    });
} // namespace
