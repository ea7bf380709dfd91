// A layer: the painted box behind a view, or a free-standing one added as a sublayer. It holds
// the look (background, rounded corners, border, clipping, shadow) and the order of what lies
// on it: a view's subviews put their layers among its sublayers, so layers added directly
// interleave with subviews in the order they were added.
//
// A view's own layer takes its geometry from the view: its frame is the view's frame, and
// setting it sets the view's.
#pragma once

#include "coregraphics/CoreGraphics.h"
#include "objc/runtime.h"
#include "uikit/UIDirtyRegion.h"

#include <vector>

struct UIView;

struct CALayer : NSObject {
    CGRect frame() const;
    void setFrame(CGRect frame);
    CGRect bounds() const;
    CGColor backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(CGColor color) { restyle(backgroundColor_, color); }
    CGFloat cornerRadius() const { return cornerRadius_; }
    void setCornerRadius(CGFloat radius) { restyle(cornerRadius_, radius); }
    CGColor borderColor() const { return borderColor_; }
    void setBorderColor(CGColor color) { restyle(borderColor_, color); }
    CGFloat borderWidth() const { return borderWidth_; }
    void setBorderWidth(CGFloat width) { restyle(borderWidth_, width); }
    bool masksToBounds() const { return masksToBounds_; }
    void setMasksToBounds(bool masks) { restyle(masksToBounds_, masks); }
    CGColor shadowColor() const { return shadowColor_; }
    void setShadowColor(CGColor color) { restyle(shadowColor_, color); }
    CGSize shadowOffset() const { return shadowOffset_; }
    void setShadowOffset(CGSize offset) { restyle(shadowOffset_, offset); }
    CGFloat shadowRadius() const { return shadowRadius_; }
    void setShadowRadius(CGFloat radius) { restyle(shadowRadius_, radius); }
    float shadowOpacity() const { return shadowOpacity_; }
    void setShadowOpacity(float opacity) { restyle(shadowOpacity_, opacity); }
    float opacity() const { return opacity_; }
    void setOpacity(float opacity) { restyle(opacity_, opacity); }
    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden) { restyle(hidden_, hidden); }

    void addSublayer(id layer);
    void insertSublayerAtIndex(id layer, unsigned index);
    void removeFromSuperlayer();
    std::vector<id> sublayers() const { return sublayers_; }
    id superlayer() const { return superlayer_.lock(); }
    id delegate() const;
    void setNeedsDisplay() { ++needsDisplayCount_; }

    // C++ side: the view this layer backs (none for a free-standing layer).
    Ref<UIView> view() const;
    void setView(const Ref<UIView>& view);
    long needsDisplayCount() const { return needsDisplayCount_; }

  private:
    // Sets a field of the look; a change marks what the layer covers before and after it.
    template <class T> void restyle(T& field, const T& value) {
        if (field == value)
            return;
        UIDirtyMarkLayerTree(*this);
        field = value;
        UIDirtyMarkLayerTree(*this);
    }
    void detachFromSuperlayer();

    CGRect frame_{};
    CGColor backgroundColor_{};
    CGFloat cornerRadius_ = 0;
    CGColor borderColor_{0, 0, 0, 1};
    CGFloat borderWidth_ = 0;
    bool masksToBounds_ = false;
    CGColor shadowColor_{0, 0, 0, 1};
    CGSize shadowOffset_{0, -3};
    CGFloat shadowRadius_ = 3;
    float shadowOpacity_ = 0;
    float opacity_ = 1;
    bool hidden_ = false;
    std::vector<id> sublayers_;
    weak_id superlayer_;
    std::weak_ptr<UIView> view_;
    long needsDisplayCount_ = 0;
};
