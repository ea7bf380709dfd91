#include "PSSegmentView.h"
#include "ViewKit.h"
#include "preferences/PSCellClasses.h"
#include "preferences/PSSpecifier.h"

namespace {

constexpr CGFloat kSegmentHeight = 29;
// A row at least this tall shows its label above the segments rather than beside them.
constexpr CGFloat kStackedRowHeight = 80;

std::vector<std::string> segmentTitles(const PlistDict& properties) {
    std::vector<std::string> titles;
    const PlistArray& values = valueForKey(properties, "validValues").asArray();
    const PlistArray& named = valueForKey(properties, "validTitles").asArray();
    for (size_t i = 0; i < values.size(); ++i) {
        titles.push_back(i < named.size() && named[i].isString() ? named[i].asString()
                                                                 : PSDisplayTextOfValue(values[i]));
    }
    return titles;
}

} // namespace

id PSSegmentTableCell::initWithStyleReuseIdentifierSpecifier(NSInteger style, std::string reuseIdentifier,
                                                             id specifier) {
    if (!msgSuper<id>(this, classOf<PSSegmentTableCell>(), "initWithStyle:reuseIdentifier:specifier:", style,
                      std::move(reuseIdentifier), specifier)) {
        return nullptr;
    }
    control_ = PSMakeView("PSSegmentView", PSRect(0, 0, 290, kSegmentHeight));
    msg(contentView_, "addSubview:", control_);
    msg(self(), "refreshCellContentsWithSpecifier:", specifier);
    return self();
}

void PSSegmentTableCell::refreshCellContentsWithSpecifier(id specifier) {
    msgSuper(this, classOf<PSSegmentTableCell>(), "refreshCellContentsWithSpecifier:", specifier);
    auto* segments = dynamic_cast<PSSegmentView*>(control_.get());
    auto* s = dynamic_cast<PSSpecifier*>(specifier.get());
    if (!segments || !s)
        return;
    segments->setTitles(segmentTitles(s->properties_));
    segments->setSelectedSegmentIndex(PSIndexOfValue(s->properties_, currentValue()));
    msg(self(), "setNeedsLayout");
    msg(self(), "layoutIfNeeded");
}

void PSSegmentTableCell::layoutSubviews() {
    msgSuper(this, classOf<PSSegmentTableCell>(), "layoutSubviews");
    const CGRect bounds = msg<CGRect>(self(), "bounds");
    const CGFloat w = bounds.size.width, h = bounds.size.height;
    const std::string label = msg<std::string>(textLabel_, "text");
    CGRect control;
    if (label.empty()) {
        control = PSRect(15, (h - kSegmentHeight) / 2, w - 30, kSegmentHeight);
    } else if (h >= kStackedRowHeight) {
        control = PSRect(15, h - kSegmentHeight - 10, w - 30, kSegmentHeight);
    } else {
        const CGFloat labelWidth = msg<CGRect>(textLabel_, "frame").size.width;
        control = PSRect(15 + labelWidth + 10, (h - kSegmentHeight) / 2, w - 40 - labelWidth, kSegmentHeight);
    }
    msg(control_, "setFrame:", control);
    msg(control_, "layoutSubviews");
}

CGRect PSSegmentTableCell::textLabelFrame(CGRect standard, CGRect bounds) const {
    // A tall row shows its label above the segments, a short one beside them.
    const std::string label = msg<std::string>(textLabel_, "text");
    const CGFloat w = bounds.size.width, h = bounds.size.height;
    if (label.empty())
        return standard;
    if (h >= kStackedRowHeight)
        return PSRect(15, 6, w - 30, h / 2 - 6);
    return PSRect(15, 0, std::min(PSTextWidth(label), w / 3), h);
}

bool PSSegmentTableCell::userPickedSegment(NSInteger index) {
    auto* s = dynamic_cast<PSSpecifier*>(specifier_.get());
    if (!cellEnabled_ || !s)
        return false;
    const PlistArray& values = valueForKey(s->properties_, "validValues").asArray();
    if (index < 0 || size_t(index) >= values.size())
        return false;
    msg(control_, "setSelectedSegmentIndex:", index);
    commitValue(values[size_t(index)]);
    return true;
}

namespace {
const ClassDef<PSSegmentTableCell> kPSSegmentTableCell(
    "PSSegmentTableCell", "PSTableCell",
    {
        method("initWithStyle:reuseIdentifier:specifier:",
               &PSSegmentTableCell::initWithStyleReuseIdentifierSpecifier),
        method("refreshCellContentsWithSpecifier:", &PSSegmentTableCell::refreshCellContentsWithSpecifier),
        method("layoutSubviews", &PSSegmentTableCell::layoutSubviews),
    });
} // namespace
