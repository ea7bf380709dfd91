#include "ViewKit.h"
#include "preferences/PSCellClasses.h"
#include "preferences/PSSpecifier.h"

id PSSliderTableCell::initWithStyleReuseIdentifierSpecifier(NSInteger style, std::string reuseIdentifier,
                                                            id specifier) {
    if (!msgSuper<id>(this, classOf<PSSliderTableCell>(), "initWithStyle:reuseIdentifier:specifier:", style,
                      std::move(reuseIdentifier), specifier)) {
        return nullptr;
    }
    control_ = PSMakeView("UISlider", PSRect(0, 0, 290, 31));
    if (auto* s = dynamic_cast<PSSpecifier*>(specifier.get())) {
        const PlistValue& min = valueForKey(s->properties_, "min");
        const PlistValue& max = valueForKey(s->properties_, "max");
        msg(control_, "setMinimumValue:", min.isNone() ? 0.0f : min.floatValue());
        msg(control_, "setMaximumValue:", max.isNone() ? 1.0f : max.floatValue());
    }
    msg(contentView_, "addSubview:", control_);
    msg(self(), "refreshCellContentsWithSpecifier:", specifier);
    return self();
}

void PSSliderTableCell::refreshCellContentsWithSpecifier(id specifier) {
    msgSuper(this, classOf<PSSliderTableCell>(), "refreshCellContentsWithSpecifier:", specifier);
    msg(control_, "setValue:", currentValue().floatValue());
}

void PSSliderTableCell::layoutSubviews() {
    msgSuper(this, classOf<PSSliderTableCell>(), "layoutSubviews");
    const CGRect bounds = msg<CGRect>(self(), "bounds");
    msg(control_, "setFrame:", PSRect(15, (bounds.size.height - 31) / 2, bounds.size.width - 30, 31));
}

CGRect PSSliderTableCell::textLabelFrame(CGRect, CGRect) const {
    // A slider row shows its slider alone, across the row.
    return PSRect(0, 0, 0, 0);
}

bool PSSliderTableCell::userMovedSlider(float value) {
    if (!cellEnabled_)
        return false;
    msg(control_, "setValue:", value);
    // The slider clamps into its range; the row stores what the slider shows.
    commitValue(PlistValue(msg<float>(control_, "value")));
    return true;
}

namespace {
const ClassDef<PSSliderTableCell> kPSSliderTableCell(
    "PSSliderTableCell", "PSTableCell",
    {
        method("initWithStyle:reuseIdentifier:specifier:",
               &PSSliderTableCell::initWithStyleReuseIdentifierSpecifier),
        method("refreshCellContentsWithSpecifier:", &PSSliderTableCell::refreshCellContentsWithSpecifier),
        method("layoutSubviews", &PSSliderTableCell::layoutSubviews),
    });
} // namespace
