#include "PSSwitchView.h"
#include "ViewKit.h"
#include "preferences/PSCellClasses.h"

namespace {
constexpr CGFloat kSwitchWidth = 51, kSwitchHeight = 31;
}

id PSSwitchTableCell::initWithStyleReuseIdentifierSpecifier(NSInteger style, std::string reuseIdentifier,
                                                            id specifier) {
    if (!msgSuper<id>(this, classOf<PSSwitchTableCell>(), "initWithStyle:reuseIdentifier:specifier:", style,
                      std::move(reuseIdentifier), specifier)) {
        return nullptr;
    }
    control_ = PSMakeView("PSSwitchView", PSRect(0, 0, kSwitchWidth, kSwitchHeight));
    msg(contentView_, "addSubview:", control_);
    msg(self(), "refreshCellContentsWithSpecifier:", specifier);
    return self();
}

void PSSwitchTableCell::refreshCellContentsWithSpecifier(id specifier) {
    msgSuper(this, classOf<PSSwitchTableCell>(), "refreshCellContentsWithSpecifier:", specifier);
    msg(control_, "setOn:", currentValue().boolValue());
}

void PSSwitchTableCell::layoutSubviews() {
    msgSuper(this, classOf<PSSwitchTableCell>(), "layoutSubviews");
    const CGRect bounds = msg<CGRect>(self(), "bounds");
    msg(control_, "setFrame:",
        PSRect(bounds.size.width - 15 - kSwitchWidth, (bounds.size.height - kSwitchHeight) / 2, kSwitchWidth,
               kSwitchHeight));
    msg(control_, "layoutSubviews");
}

CGRect PSSwitchTableCell::textLabelFrame(CGRect standard, CGRect bounds) const {
    // The label stops short of the switch.
    standard.size.width = std::max<CGFloat>(0, bounds.size.width - 15 - kSwitchWidth - 8 - standard.origin.x);
    return standard;
}

bool PSSwitchTableCell::userSetOn(bool on) {
    if (!cellEnabled_)
        return false;
    msg(control_, "setOn:", on);
    commitValue(PlistValue(on));
    return true;
}

namespace {
const ClassDef<PSSwitchTableCell> kPSSwitchTableCell(
    "PSSwitchTableCell", "PSTableCell",
    {
        method("initWithStyle:reuseIdentifier:specifier:",
               &PSSwitchTableCell::initWithStyleReuseIdentifierSpecifier),
        method("refreshCellContentsWithSpecifier:", &PSSwitchTableCell::refreshCellContentsWithSpecifier),
        method("layoutSubviews", &PSSwitchTableCell::layoutSubviews),
    });
} // namespace
