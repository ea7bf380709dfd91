// A rectangle on screen: geometry (frame in the superview's coordinates, bounds in its own),
// look (background, alpha, hidden, its layer), an ordered list of subviews (later ones on
// top), autoresizing on the superview's size change, layout passes, redraw requests, and
// touches (hit testing, and touch messages handed up the superview chain).
//
// Layout: `setNeedsLayout` marks the view; `layoutIfNeeded` runs `layoutSubviews` on every
// marked view of the subtree. A window lays out before it delivers a touch and a snapshot
// before it draws, as the device does once per display pass. A view is marked when it is made,
// when its size changes and when a subview is added.
#pragma once

#include "coregraphics/CoreGraphics.h"
#include "uikit/UIResponder.h"

#include <vector>

class Painter;
struct CALayer;

struct UIView : UIResponder {
    id initWithFrame(CGRect frame);
    id init();

    CGRect frame() const { return frame_; }
    void setFrame(CGRect frame);
    CGRect bounds() const { return {boundsOrigin_, frame_.size}; }
    void setBounds(CGRect bounds);
    CGPoint center() const;
    void setCenter(CGPoint center);

    id backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(id color);
    CGFloat alpha() const { return alpha_; }
    void setAlpha(CGFloat alpha);
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden);
    NSInteger tag() const { return tag_; }
    void setTag(NSInteger tag) { tag_ = tag; }
    bool isUserInteractionEnabled() const { return userInteractionEnabled_; }
    void setUserInteractionEnabled(bool enabled) { userInteractionEnabled_ = enabled; }
    NSUInteger autoresizingMask() const { return autoresizingMask_; }
    void setAutoresizingMask(NSUInteger mask) { autoresizingMask_ = mask; }
    bool autoresizesSubviews() const { return autoresizesSubviews_; }
    void setAutoresizesSubviews(bool on) { autoresizesSubviews_ = on; }
    bool clipsToBounds() const;
    void setClipsToBounds(bool clips);

    // Hierarchy.
    void addSubview(id view);
    void insertSubviewAtIndex(id view, NSInteger index);
    void bringSubviewToFront(id view);
    void sendSubviewToBack(id view);
    void removeFromSuperview();
    std::vector<id> subviews() const { return subviews_; }
    id superview() const { return superview_.lock(); }
    id window() const;
    id layer();
    id viewWithTag(NSInteger tag);
    bool isDescendantOfView(id view);
    void didMoveToSuperview() {}
    void didAddSubview(id) {}
    void willRemoveSubview(id) {}

    // Drawing and layout.
    // Marks the bounds (or a rectangle of them) to be redrawn: see UIDirtyRegion.h.
    void setNeedsDisplay();
    void setNeedsDisplayInRect(CGRect rect);
    void drawRect(CGRect) {}
    void layoutSubviews() {}
    void setNeedsLayout() { needsLayout_ = true; }
    void layoutIfNeeded();
    CGSize sizeThatFits(CGSize) { return frame_.size; }
    void sizeToFit();
    void resizeSubviewsWithOldSize(CGSize oldSize);
    void resizeWithOldSuperviewSize(CGSize oldSuperviewSize);

    // Coordinates: a view of none stands for the window (the root's own parent space).
    CGPoint convertPointToView(CGPoint point, id view);
    CGPoint convertPointFromView(CGPoint point, id view);
    CGRect convertRectToView(CGRect rect, id view);
    CGRect convertRectFromView(CGRect rect, id view);

    // Touches.
    id hitTestWithEvent(CGPoint point, id event);
    bool pointInsideWithEvent(CGPoint point, id event);
    id nextResponder() { return superview(); }

    // C++ side, for tests, snapshots and the simulator.
    long needsDisplayCount() const { return needsDisplayCount_; }
    bool needsLayout() const { return needsLayout_; }
    Ref<CALayer> backingLayer();
    // Paints what the view shows besides its layer's background and border (text, a thumb,
    // an image), in its own coordinates. Plain views show nothing of their own.
    virtual void paintContent(Painter& painter);

  protected:
    // The point (in this view's coordinates) in the parent space of the hierarchy's root.
    CGPoint pointInRootSpace(CGPoint point) const;
    CGPoint pointFromRootSpace(CGPoint point) const;

  private:
    void sizeChanged(CGSize oldSize);
    void markDrawn(); // marks what the view's tree covers now, before and after a change

    void detachFromSuperview();

    CGRect frame_{};
    CGPoint boundsOrigin_{};
    id backgroundColor_;
    CGFloat alpha_ = 1;
    bool hidden_ = false;
    NSInteger tag_ = 0;
    bool userInteractionEnabled_ = true;
    NSUInteger autoresizingMask_ = 0;
    bool autoresizesSubviews_ = true;
    std::vector<id> subviews_;
    std::weak_ptr<Object> superview_;
    Ref<CALayer> layer_;
    long needsDisplayCount_ = 0;
    bool needsLayout_ = true;
};
