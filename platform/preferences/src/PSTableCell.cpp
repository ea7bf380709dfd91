#include "preferences/PSTableCell.h"

#include "ViewKit.h"
#include "preferences/PSCellClasses.h"
#include "preferences/PSSpecifier.h"

namespace {

constexpr CGFloat kMargin = 15.0;
constexpr CGFloat kChevronWidth = 10.0;
constexpr CGFloat kIconSize = 29.0;

bool isLink(NSInteger type) {
    return type == PSLinkCell || type == PSLinkListCell;
}
bool showsDetail(NSInteger type) {
    return type == PSLinkListCell || type == PSTitleValueCell;
}

} // namespace

id PSTableCell::initWithStyleReuseIdentifierSpecifier(NSInteger style, std::string reuseIdentifier,
                                                      id specifier) {
    if (!msgSuper<id>(this, classOf<PSTableCell>(), "initWithFrame:", PSRect(0, 0, 320, 44)))
        return nullptr;
    style_ = style;
    reuseIdentifier_ = std::move(reuseIdentifier);
    const PSSpecifier* s = asSpecifier(specifier);
    type_ = s ? s->cellType() : PSStaticTextCell;
    msg(self(), "setBackgroundColor:", PSColor(1, 1, 1));
    contentView_ = PSMakeView("UIView", PSRect(0, 0, 320, 44));
    msg(contentView_, "setBackgroundColor:", PSColor(1, 1, 1, 0));
    msg(self(), "addSubview:", contentView_);
    textLabel_ = PSMakeLabel(PSRect(kMargin, 0, 290, 44), "", PSColor(0, 0, 0));
    // Every row's text is one line, cut at the tail with an ellipsis when it does not fit.
    msg(contentView_, "addSubview:", textLabel_);
    detailTextLabel_ = PSMakeLabel(PSRect(0, 0, 0, 44), "", ps::secondaryTextColor(), 2);
    msg(contentView_, "addSubview:", detailTextLabel_);
    if (isLink(type_)) {
        id chevron = PSMakeLabel(PSRect(0, 0, kChevronWidth, 44), "\u203A", ps::disabledTextColor(), 1);
        msg(chevron, "setTag:", NSInteger{'>'});
        msg(contentView_, "addSubview:", chevron);
    }
    msg(self(), "refreshCellContentsWithSpecifier:", specifier);
    return self();
}

void PSTableCell::setCellEnabled(bool enabled) {
    cellEnabled_ = enabled;
    id textColor = !enabled                ? ps::disabledTextColor()
                   : type_ == PSButtonCell ? ps::tintColor()
                                           : PSColor(0, 0, 0);
    msg(textLabel_, "setTextColor:", textColor);
    if (control_ && msg<bool>(control_, "respondsToSelector:", SELECTOR("setEnabled:"))) {
        msg(control_, "setEnabled:", enabled);
    } else if (control_) {
        msg(control_, "setAlpha:", enabled ? CGFloat{1.0} : CGFloat{0.5});
        msg(control_, "setUserInteractionEnabled:", enabled);
    }
}

void PSTableCell::refreshCellContentsWithSpecifier(id specifier) {
    specifier_ = specifier;
    const PSSpecifier* s = asSpecifier(specifier);
    if (!s)
        return;
    msg(textLabel_, "setText:", s->name());
    if (type_ == PSListItemCell) {
        // A chosen item carries a check at the right.
        msg(detailTextLabel_, "setText:", valueForKey(s->properties_, "checked").boolValue() ? "\u2713" : "");
        msg(detailTextLabel_, "setTextColor:", ps::tintColor());
    }
    if (showsDetail(type_)) {
        const PlistValue value = currentValue();
        msg(detailTextLabel_, "setText:", PSTitleForValue(s->properties_, value));
    }
    // Rows are enabled unless their "enabled" property says otherwise.
    const PlistValue& enabled = valueForKey(s->properties_, "enabled");
    msg(self(), "setCellEnabled:", enabled.isNone() ? true : enabled.boolValue());
    msg(self(), "setNeedsLayout");
    msg(self(), "layoutIfNeeded");
}

PlistValue PSTableCell::currentValue() const {
    const PSSpecifier* s = asSpecifier(specifier_);
    if (!s)
        return {};
    id target = s->target();
    if (!target || !s->getter())
        return s->propertyForKey("default");
    return msg<PlistValue>(target, s->getter(), specifier_);
}

void PSTableCell::commitValue(PlistValue value) {
    const PSSpecifier* s = asSpecifier(specifier_);
    if (!s)
        return;
    id target = s->target();
    if (target && s->setter())
        msg(target, s->setter(), std::move(value), specifier_);
}

id PSTableCell::imageView() {
    if (!imageView_) {
        imageView_ = PSMakeView("UIImageView", PSRect(kMargin, 7.5, kIconSize, kIconSize));
        // Row icons are rounded squares.
        msg(msg<id>(imageView_, "layer"), "setCornerRadius:", CGFloat{6.5});
        msg(imageView_, "setClipsToBounds:", true);
        msg(contentView_, "addSubview:", imageView_);
    }
    return imageView_;
}

void PSTableCell::layoutSubviews() {
    const CGRect bounds = msg<CGRect>(self(), "bounds");
    const CGFloat w = bounds.size.width, h = bounds.size.height;
    msg(contentView_, "setFrame:", bounds);
    CGFloat right = w - kMargin;
    for (const id& sub : msg<std::vector<id>>(contentView_, "subviews")) {
        if (msg<NSInteger>(sub, "tag") == '>') {
            msg(sub, "setFrame:", PSRect(right - kChevronWidth, 0, kChevronWidth, h));
            right -= kChevronWidth + 8;
        }
    }
    const std::string detail = msg<std::string>(detailTextLabel_, "text");
    CGFloat detailWidth = detail.empty() ? 0 : std::min(PSTextWidth(detail), (w - 2 * kMargin) / 2);
    msg(detailTextLabel_, "setFrame:", PSRect(right - detailWidth, 0, detailWidth, h));
    if (detailWidth > 0)
        right -= detailWidth + 8;
    CGFloat left = kMargin;
    if (imageView_ && msg<id>(imageView_, "image")) {
        msg(imageView_, "setFrame:", PSRect(kMargin, (h - kIconSize) / 2, kIconSize, kIconSize));
        left += kIconSize + kMargin;
    }
    msg(textLabel_,
        "setFrame:", textLabelFrame(PSRect(left, 0, std::max<CGFloat>(0, right - left), h), bounds));
}

namespace {
const ClassDef<PSTableCell> kPSTableCell("PSTableCell", "UIView",
                                         {
                                             method("initWithStyle:reuseIdentifier:specifier:",
                                                    &PSTableCell::initWithStyleReuseIdentifierSpecifier),
                                             method("contentView", &PSTableCell::contentView),
                                             method("textLabel", &PSTableCell::textLabel),
                                             method("detailTextLabel", &PSTableCell::detailTextLabel),
                                             method("imageView", &PSTableCell::imageView),
                                             method("control", &PSTableCell::control),
                                             method("specifier", &PSTableCell::specifier),
                                             method("setSpecifier:", &PSTableCell::setSpecifier),
                                             method("reuseIdentifier", &PSTableCell::reuseIdentifier),
                                             method("type", &PSTableCell::type),
                                             method("cellEnabled", &PSTableCell::cellEnabled),
                                             method("setCellEnabled:", &PSTableCell::setCellEnabled),
                                             method("refreshCellContentsWithSpecifier:",
                                                    &PSTableCell::refreshCellContentsWithSpecifier),
                                             method("layoutSubviews", &PSTableCell::layoutSubviews),
                                         });
} // namespace
