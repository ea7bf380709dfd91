#include "PSSegmentView.h"

#include "ViewKit.h"

id PSSegmentView::initWithFrame(CGRect frame) {
    msgSuper<id>(this, classOf<PSSegmentView>(), "initWithFrame:", frame);
    id layer = msg<id>(self(), "layer");
    msg(layer, "setCornerRadius:", CGFloat{4});
    msg(layer, "setBorderWidth:", CGFloat{1});
    msg(layer, "setBorderColor:", msg<CGColor>(ps::tintColor(), "CGColor"));
    msg(layer, "setMasksToBounds:", true);
    return self();
}

void PSSegmentView::setTitles(std::vector<std::string> titles) {
    if (titles == titles_ && segments_.size() == titles_.size())
        return; // the segments shown already
    for (const id& segment : segments_)
        msg(segment, "removeFromSuperview");
    segments_.clear();
    titles_ = std::move(titles);
    for (const std::string& title : titles_) {
        id segment = PSMakeView("UIView", PSRect(0, 0, 0, 0));
        id label = PSMakeLabel(PSRect(0, 0, 0, 0), title, ps::tintColor(), 1);
        msg(segment, "addSubview:", label);
        msg(self(), "addSubview:", segment);
        segments_.push_back(segment);
    }
    if (selected_ >= numberOfSegments())
        selected_ = -1;
    layoutSubviews();
    paint();
}

std::string PSSegmentView::titleForSegmentAtIndex(NSInteger index) const {
    return index >= 0 && index < numberOfSegments() ? titles_[size_t(index)] : std::string();
}

void PSSegmentView::setSelectedSegmentIndex(NSInteger index) {
    selected_ = index >= 0 && index < numberOfSegments() ? index : -1;
    paint();
}

void PSSegmentView::setEnabled(bool enabled) {
    enabled_ = enabled;
    msg(self(), "setAlpha:", enabled ? CGFloat{1.0} : CGFloat{0.5});
    msg(self(), "setUserInteractionEnabled:", enabled);
}

void PSSegmentView::layoutSubviews() {
    if (segments_.empty())
        return;
    const CGRect bounds = msg<CGRect>(self(), "bounds");
    const CGFloat width = bounds.size.width / CGFloat(segments_.size());
    for (size_t i = 0; i < segments_.size(); ++i) {
        const CGRect frame = PSRect(width * CGFloat(i), 0, width, bounds.size.height);
        msg(segments_[i], "setFrame:", frame);
        for (const id& label : msg<std::vector<id>>(segments_[i], "subviews")) {
            msg(label, "setFrame:", PSRect(2, 0, width - 4, bounds.size.height));
        }
        // Segments after the first are divided from their neighbour by a hairline of the tint.
        msg(msg<id>(segments_[i], "layer"), "setBorderWidth:", CGFloat{i > 0 ? 0.5 : 0.0});
        msg(msg<id>(segments_[i], "layer"), "setBorderColor:", msg<CGColor>(ps::tintColor(), "CGColor"));
    }
}

void PSSegmentView::paint() {
    for (size_t i = 0; i < segments_.size(); ++i) {
        const bool selected = NSInteger(i) == selected_;
        msg(segments_[i], "setBackgroundColor:", selected ? ps::tintColor() : PSColor(1, 1, 1, 0));
        for (const id& label : msg<std::vector<id>>(segments_[i], "subviews")) {
            msg(label, "setTextColor:", selected ? PSColor(1, 1, 1) : ps::tintColor());
        }
    }
}

namespace {
const ClassDef<PSSegmentView>
    kPSSegmentView("PSSegmentView", "UIView",
                   {
                       method("initWithFrame:", &PSSegmentView::initWithFrame),
                       method("numberOfSegments", &PSSegmentView::numberOfSegments),
                       method("titleForSegmentAtIndex:", &PSSegmentView::titleForSegmentAtIndex),
                       method("selectedSegmentIndex", &PSSegmentView::selectedSegmentIndex),
                       method("setSelectedSegmentIndex:", &PSSegmentView::setSelectedSegmentIndex),
                       method("isEnabled", &PSSegmentView::isEnabled),
                       method("setEnabled:", &PSSegmentView::setEnabled),
                       method("layoutSubviews", &PSSegmentView::layoutSubviews),
                   });
} // namespace
