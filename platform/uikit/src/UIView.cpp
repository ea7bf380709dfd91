#include "uikit/UIView.h"

#include "uikit/AutoresizingRule.h"
#include "uikit/CALayer.h"
#include "uikit/UIDirtyRegion.h"
#include "uikit/UIKitConstants.h"

#include <algorithm>

namespace {
UIView* asView(const id& object) {
    return dynamic_cast<UIView*>(object.get());
}
} // namespace

id UIView::initWithFrame(CGRect frame) {
    msg(this, "setFrame:", frame); // a subclass's setFrame: sees the first frame too
    needsLayout_ = true;
    return self();
}

id UIView::init() {
    return msg<id>(this, "initWithFrame:", CGRectZero);
}

Ref<CALayer> UIView::backingLayer() {
    if (!layer_) {
        layer_ = std::static_pointer_cast<CALayer>(
            msg<id>(msg<id>(classObject(objc_getClass("CALayer")), "alloc"), "init"));
        layer_->setView(selfAs<UIView>());
    }
    return layer_;
}

id UIView::layer() {
    return backingLayer();
}

void UIView::setFrame(CGRect frame) {
    const CGSize oldSize = frame_.size;
    const bool moved = frame != frame_;
    if (moved)
        markDrawn();
    frame_ = frame;
    if (oldSize != frame.size)
        sizeChanged(oldSize);
    if (moved)
        markDrawn();
}

void UIView::setBounds(CGRect bounds) {
    const CGSize oldSize = frame_.size;
    const CGPoint c = center();
    const bool changed = bounds != this->bounds();
    if (changed)
        markDrawn();
    boundsOrigin_ = bounds.origin;
    frame_.size = bounds.size;
    setCenter(c); // the size changes about the center, as on the device
    if (oldSize != bounds.size)
        sizeChanged(oldSize);
    if (changed)
        markDrawn();
}

CGPoint UIView::center() const {
    return {frame_.origin.x + frame_.size.width / 2, frame_.origin.y + frame_.size.height / 2};
}

void UIView::setCenter(CGPoint center) {
    const CGPoint origin{center.x - frame_.size.width / 2, center.y - frame_.size.height / 2};
    if (origin == frame_.origin)
        return;
    markDrawn();
    frame_.origin = origin;
    markDrawn();
}

void UIView::markDrawn() {
    UIDirtyMarkLayerTree(*backingLayer());
}

void UIView::sizeChanged(CGSize oldSize) {
    if (autoresizesSubviews_)
        msg(this, "resizeSubviewsWithOldSize:", oldSize);
    msg(this, "setNeedsLayout");
}

void UIView::resizeSubviewsWithOldSize(CGSize oldSize) {
    for (const id& sub : std::vector<id>(subviews_))
        msg(sub, "resizeWithOldSuperviewSize:", oldSize);
}

void UIView::resizeWithOldSuperviewSize(CGSize oldSuperviewSize) {
    auto* parent = asView(superview());
    if (!parent || autoresizingMask_ == 0)
        return;
    const CGSize newSize = parent->frame_.size;
    const NSUInteger m = autoresizingMask_;
    const AxisExtent x = resizeAlongAxis({frame_.origin.x, frame_.size.width},
                                         {bool(m & UIViewAutoresizingFlexibleLeftMargin),
                                          bool(m & UIViewAutoresizingFlexibleWidth),
                                          bool(m & UIViewAutoresizingFlexibleRightMargin)},
                                         oldSuperviewSize.width, newSize.width);
    const AxisExtent y = resizeAlongAxis({frame_.origin.y, frame_.size.height},
                                         {bool(m & UIViewAutoresizingFlexibleTopMargin),
                                          bool(m & UIViewAutoresizingFlexibleHeight),
                                          bool(m & UIViewAutoresizingFlexibleBottomMargin)},
                                         oldSuperviewSize.height, newSize.height);
    const CGRect resized = CGRectMake(x.origin, y.origin, x.length, y.length);
    if (resized != frame_)
        msg(this, "setFrame:", resized);
}

void UIView::setBackgroundColor(id color) {
    backgroundColor_ = color;
    msg(backingLayer(), "setBackgroundColor:", color ? msg<CGColor>(color, "CGColor") : CGColor{});
}

void UIView::setAlpha(CGFloat alpha) {
    const bool changed = alpha != alpha_;
    if (changed)
        markDrawn();
    alpha_ = alpha;
    if (changed)
        markDrawn();
    backingLayer()->setOpacity(float(alpha));
}

void UIView::setHidden(bool hidden) {
    const bool changed = hidden != hidden_;
    if (changed)
        markDrawn();
    hidden_ = hidden;
    if (changed)
        markDrawn();
    backingLayer()->setHidden(hidden);
}

bool UIView::clipsToBounds() const {
    return layer_ && layer_->masksToBounds();
}
void UIView::setClipsToBounds(bool clips) {
    msg(backingLayer(), "setMasksToBounds:", clips);
}

// ---------------------------------------------------------------------------------------------
// Hierarchy

void UIView::detachFromSuperview() {
    auto* parent = asView(superview());
    if (!parent)
        return;
    msg(parent, "willRemoveSubview:", self());
    auto& siblings = parent->subviews_;
    siblings.erase(
        std::remove_if(siblings.begin(), siblings.end(), [this](const id& v) { return v.get() == this; }),
        siblings.end());
    superview_.reset();
    msg(backingLayer(), "removeFromSuperlayer");
}

void UIView::addSubview(id view) {
    insertSubviewAtIndex(std::move(view), NSInteger(subviews_.size()) + 1);
}

void UIView::insertSubviewAtIndex(id view, NSInteger index) {
    auto* sub = asView(view);
    if (!sub || sub == this || isDescendantOfView(view))
        return;
    id keep = view;
    sub->detachFromSuperview();
    const size_t at = size_t(std::clamp<NSInteger>(index, 0, NSInteger(subviews_.size())));
    // The subview's layer goes just below the layer of the view it is placed under.
    const std::vector<id> layers = backingLayer()->sublayers();
    unsigned layerIndex = unsigned(layers.size());
    if (at < subviews_.size()) {
        const id below = asView(subviews_[at])->backingLayer();
        layerIndex = unsigned(std::find(layers.begin(), layers.end(), below) - layers.begin());
    }
    subviews_.insert(subviews_.begin() + long(at), keep);
    sub->superview_ = self();
    msg(backingLayer(), "insertSublayer:atIndex:", id(sub->backingLayer()), layerIndex);
    needsLayout_ = true;
    msg(keep, "didMoveToSuperview");
    msg(this, "didAddSubview:", keep);
}

void UIView::bringSubviewToFront(id view) {
    if (asView(view) && asView(view)->superview().get() == this)
        insertSubviewAtIndex(view, NSInteger(subviews_.size()));
}

void UIView::sendSubviewToBack(id view) {
    if (asView(view) && asView(view)->superview().get() == this)
        insertSubviewAtIndex(view, 0);
}

void UIView::removeFromSuperview() {
    if (!superview())
        return;
    id keep = self();
    detachFromSuperview();
    msg(keep, "didMoveToSuperview");
}

id UIView::window() const {
    static Class* windowClass = objc_getClass("UIWindow");
    for (id v = const_cast<UIView*>(this)->self(); v; v = asView(v)->superview()) {
        if (isKindOfClass(v, windowClass))
            return v;
    }
    return nullptr;
}

id UIView::viewWithTag(NSInteger tag) {
    if (tag_ == tag)
        return self();
    for (const id& sub : subviews_) {
        if (id found = msg<id>(sub, "viewWithTag:", tag))
            return found;
    }
    return nullptr;
}

bool UIView::isDescendantOfView(id view) {
    for (id v = self(); v; v = asView(v)->superview()) {
        if (v == view)
            return true;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// Drawing and layout

void UIView::setNeedsDisplay() {
    ++needsDisplayCount_;
    msg(backingLayer(), SELECTOR("setNeedsDisplay"));
    UIDirtyMarkLayerRect(*backingLayer(), bounds());
}

void UIView::setNeedsDisplayInRect(CGRect rect) {
    ++needsDisplayCount_;
    msg(backingLayer(), SELECTOR("setNeedsDisplay"));
    UIDirtyMarkLayerRect(*backingLayer(), rect);
}

void UIView::layoutIfNeeded() {
    if (needsLayout_) {
        needsLayout_ = false;
        msg(this, "layoutSubviews");
    }
    for (const id& sub : std::vector<id>(subviews_))
        msg(sub, "layoutIfNeeded");
}

void UIView::sizeToFit() {
    const CGSize fitted = msg<CGSize>(this, "sizeThatFits:", frame_.size);
    msg(this, "setFrame:", CGRect{frame_.origin, fitted});
}

void UIView::paintContent(Painter&) {}

// ---------------------------------------------------------------------------------------------
// Coordinates

CGPoint UIView::pointInRootSpace(CGPoint p) const {
    for (const UIView* v = this; v; v = asView(v->superview())) {
        p.x += v->frame_.origin.x - v->boundsOrigin_.x;
        p.y += v->frame_.origin.y - v->boundsOrigin_.y;
    }
    return p;
}

CGPoint UIView::pointFromRootSpace(CGPoint p) const {
    const CGPoint origin = pointInRootSpace({0, 0});
    return {p.x - origin.x, p.y - origin.y};
}

CGPoint UIView::convertPointToView(CGPoint point, id view) {
    const CGPoint root = pointInRootSpace(point);
    auto* other = asView(view);
    return other ? other->pointFromRootSpace(root) : root;
}

CGPoint UIView::convertPointFromView(CGPoint point, id view) {
    auto* other = asView(view);
    return pointFromRootSpace(other ? other->pointInRootSpace(point) : point);
}

CGRect UIView::convertRectToView(CGRect rect, id view) {
    return {convertPointToView(rect.origin, view), rect.size};
}
CGRect UIView::convertRectFromView(CGRect rect, id view) {
    return {convertPointFromView(rect.origin, view), rect.size};
}

// ---------------------------------------------------------------------------------------------
// Touches

bool UIView::pointInsideWithEvent(CGPoint point, id) {
    return CGRectContainsPoint(bounds(), point);
}

id UIView::hitTestWithEvent(CGPoint point, id event) {
    if (hidden_ || !userInteractionEnabled_ || alpha_ < 0.01)
        return nullptr;
    if (!msg<bool>(this, "pointInside:withEvent:", point, event))
        return nullptr;
    const std::vector<id> subs = subviews_;
    for (auto it = subs.rbegin(); it != subs.rend(); ++it) {
        auto* sub = asView(*it);
        const CGPoint inSub{point.x - sub->frame_.origin.x + sub->boundsOrigin_.x,
                            point.y - sub->frame_.origin.y + sub->boundsOrigin_.y};
        if (id hit = msg<id>(*it, "hitTest:withEvent:", inSub, event))
            return hit;
    }
    return self();
}

namespace {
const ClassDef<UIView> kUIView("UIView", "UIResponder",
                               {
                                   method("initWithFrame:", &UIView::initWithFrame),
                                   method("init", &UIView::init),
                                   method("frame", &UIView::frame),
                                   method("setFrame:", &UIView::setFrame),
                                   method("bounds", &UIView::bounds),
                                   method("setBounds:", &UIView::setBounds),
                                   method("center", &UIView::center),
                                   method("setCenter:", &UIView::setCenter),
                                   method("backgroundColor", &UIView::backgroundColor),
                                   method("setBackgroundColor:", &UIView::setBackgroundColor),
                                   method("alpha", &UIView::alpha),
                                   method("setAlpha:", &UIView::setAlpha),
                                   method("isHidden", &UIView::isHidden),
                                   method("setHidden:", &UIView::setHidden),
                                   method("tag", &UIView::tag),
                                   method("setTag:", &UIView::setTag),
                                   method("isUserInteractionEnabled", &UIView::isUserInteractionEnabled),
                                   method("setUserInteractionEnabled:", &UIView::setUserInteractionEnabled),
                                   method("autoresizingMask", &UIView::autoresizingMask),
                                   method("setAutoresizingMask:", &UIView::setAutoresizingMask),
                                   method("autoresizesSubviews", &UIView::autoresizesSubviews),
                                   method("setAutoresizesSubviews:", &UIView::setAutoresizesSubviews),
                                   method("clipsToBounds", &UIView::clipsToBounds),
                                   method("setClipsToBounds:", &UIView::setClipsToBounds),
                                   method("addSubview:", &UIView::addSubview),
                                   method("insertSubview:atIndex:", &UIView::insertSubviewAtIndex),
                                   method("bringSubviewToFront:", &UIView::bringSubviewToFront),
                                   method("sendSubviewToBack:", &UIView::sendSubviewToBack),
                                   method("removeFromSuperview", &UIView::removeFromSuperview),
                                   method("subviews", &UIView::subviews),
                                   method("superview", &UIView::superview),
                                   method("window", &UIView::window),
                                   method("layer", &UIView::layer),
                                   method("viewWithTag:", &UIView::viewWithTag),
                                   method("isDescendantOfView:", &UIView::isDescendantOfView),
                                   method("didMoveToSuperview", &UIView::didMoveToSuperview),
                                   method("didAddSubview:", &UIView::didAddSubview),
                                   method("willRemoveSubview:", &UIView::willRemoveSubview),
                                   method("setNeedsDisplay", &UIView::setNeedsDisplay),
                                   method("setNeedsDisplayInRect:", &UIView::setNeedsDisplayInRect),
                                   method("drawRect:", &UIView::drawRect),
                                   method("layoutSubviews", &UIView::layoutSubviews),
                                   method("setNeedsLayout", &UIView::setNeedsLayout),
                                   method("layoutIfNeeded", &UIView::layoutIfNeeded),
                                   method("sizeThatFits:", &UIView::sizeThatFits),
                                   method("sizeToFit", &UIView::sizeToFit),
                                   method("resizeSubviewsWithOldSize:", &UIView::resizeSubviewsWithOldSize),
                                   method("resizeWithOldSuperviewSize:", &UIView::resizeWithOldSuperviewSize),
                                   method("convertPoint:toView:", &UIView::convertPointToView),
                                   method("convertPoint:fromView:", &UIView::convertPointFromView),
                                   method("convertRect:toView:", &UIView::convertRectToView),
                                   method("convertRect:fromView:", &UIView::convertRectFromView),
                                   method("hitTest:withEvent:", &UIView::hitTestWithEvent),
                                   method("pointInside:withEvent:", &UIView::pointInsideWithEvent),
                                   method("nextResponder", &UIView::nextResponder),
                               });
} // namespace
