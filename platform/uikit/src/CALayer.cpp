#include "uikit/CALayer.h"

#include "uikit/UIView.h"

#include <algorithm>

Ref<UIView> CALayer::view() const {
    return view_.lock();
}
id CALayer::delegate() const {
    return view_.lock();
}
void CALayer::setView(const Ref<UIView>& view) {
    view_ = view;
}

CGRect CALayer::frame() const {
    if (auto v = view_.lock())
        return msg<CGRect>(v, "frame");
    return frame_;
}

void CALayer::setFrame(CGRect frame) {
    if (auto v = view_.lock()) {
        msg(v, "setFrame:", frame);
    } else if (frame != frame_) {
        UIDirtyMarkLayerTree(*this);
        frame_ = frame;
        UIDirtyMarkLayerTree(*this);
    }
}

CGRect CALayer::bounds() const {
    if (auto v = view_.lock())
        return msg<CGRect>(v, "bounds");
    return CGRectMake(0, 0, frame_.size.width, frame_.size.height);
}

void CALayer::detachFromSuperlayer() {
    auto parent = std::static_pointer_cast<CALayer>(superlayer_.lock());
    if (parent)
        UIDirtyMarkLayerTree(*this); // what it drew there is gone
    superlayer_.reset();
    if (!parent)
        return;
    auto& siblings = parent->sublayers_;
    siblings.erase(
        std::remove_if(siblings.begin(), siblings.end(), [this](const id& l) { return l.get() == this; }),
        siblings.end());
}

void CALayer::addSublayer(id layer) {
    insertSublayerAtIndex(std::move(layer), unsigned(sublayers_.size() + 1));
}

void CALayer::insertSublayerAtIndex(id layer, unsigned index) {
    auto sub = cast<CALayer>(layer);
    if (!sub || sub.get() == this)
        return;
    id keep = layer; // detaching may drop the last other reference
    sub->detachFromSuperlayer();
    const size_t at = std::min<size_t>(index, sublayers_.size());
    sublayers_.insert(sublayers_.begin() + long(at), keep);
    sub->superlayer_ = self();
    UIDirtyMarkLayerTree(*sub);
}

void CALayer::removeFromSuperlayer() {
    id keep = self();
    detachFromSuperlayer();
}

namespace {
const ClassDef<CALayer> kCALayer(
    "CALayer", "NSObject",
    {
        classMethod("layer", [](Object* cls) -> id { return msg<id>(msg<id>(cls, "alloc"), "init"); }),
        method("frame", &CALayer::frame),
        method("setFrame:", &CALayer::setFrame),
        method("bounds", &CALayer::bounds),
        method("backgroundColor", &CALayer::backgroundColor),
        method("setBackgroundColor:", &CALayer::setBackgroundColor),
        method("cornerRadius", &CALayer::cornerRadius),
        method("setCornerRadius:", &CALayer::setCornerRadius),
        method("borderColor", &CALayer::borderColor),
        method("setBorderColor:", &CALayer::setBorderColor),
        method("borderWidth", &CALayer::borderWidth),
        method("setBorderWidth:", &CALayer::setBorderWidth),
        method("masksToBounds", &CALayer::masksToBounds),
        method("setMasksToBounds:", &CALayer::setMasksToBounds),
        method("shadowColor", &CALayer::shadowColor),
        method("setShadowColor:", &CALayer::setShadowColor),
        method("shadowOffset", &CALayer::shadowOffset),
        method("setShadowOffset:", &CALayer::setShadowOffset),
        method("shadowRadius", &CALayer::shadowRadius),
        method("setShadowRadius:", &CALayer::setShadowRadius),
        method("shadowOpacity", &CALayer::shadowOpacity),
        method("setShadowOpacity:", &CALayer::setShadowOpacity),
        method("opacity", &CALayer::opacity),
        method("setOpacity:", &CALayer::setOpacity),
        method("isHidden", &CALayer::isHidden),
        method("setHidden:", &CALayer::setHidden),
        method("addSublayer:", &CALayer::addSublayer),
        method("insertSublayer:atIndex:", &CALayer::insertSublayerAtIndex),
        method("removeFromSuperlayer", &CALayer::removeFromSuperlayer),
        method("sublayers", &CALayer::sublayers),
        method("superlayer", &CALayer::superlayer),
        method("delegate", &CALayer::delegate),
        method("setNeedsDisplay", &CALayer::setNeedsDisplay),
    });
} // namespace
