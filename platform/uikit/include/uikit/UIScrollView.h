// A view whose bounds origin (its content offset) moves over content larger than itself.
// `contentSize` is the content's extent; a person's drags and wheel move the offset within
// [0, contentSize - bounds size] on each axis (no bounce). It clips its content to its bounds.
//
// Touches: the window offers every touch that lands inside a scroll view to it (ScrollPan.h
// decides when a drag becomes a scroll). When the scroll begins, the touched view gets
// `touchesCancelled:withEvent:` (a control in it clears its highlight and sends no action) if
// `canCancelContentTouches` and `touchesShouldCancelInContentView:` allow it; otherwise the
// scroll does not begin and the view keeps the touch. From then on the content follows the
// finger until it lifts.
//
// The delegate, when it answers them, gets `scrollViewDidScroll:` at each offset change and
// `scrollViewWillBeginDragging:` / `scrollViewDidEndDragging:willDecelerate:` (never decelerating).
#pragma once

#include "uikit/UIView.h"

struct UIScrollView : UIView {
    id initWithFrame(CGRect frame);

    CGPoint contentOffset() const { return bounds().origin; }
    void setContentOffset(CGPoint offset);
    void setContentOffsetAnimated(CGPoint offset, bool animated);
    CGSize contentSize() const { return contentSize_; }
    void setContentSize(CGSize size) { contentSize_ = size; }
    bool isScrollEnabled() const { return scrollEnabled_; }
    void setScrollEnabled(bool enabled) { scrollEnabled_ = enabled; }
    bool canCancelContentTouches() const { return canCancelContentTouches_; }
    void setCanCancelContentTouches(bool can) { canCancelContentTouches_ = can; }
    // Whether a scroll may take a touch from `view`: not from a control, by default.
    bool touchesShouldCancelInContentView(id view);
    bool isDragging() const { return dragging_; }
    id delegate() const { return delegate_.lock(); }
    void setDelegate(id delegate) { delegate_ = delegate; }

    // C++ side. The largest offset on each axis, an offset brought within the content, and
    // whether there is more content than shows along each axis.
    CGPoint maximumContentOffset() const;
    CGPoint clampedOffset(CGPoint offset) const;
    bool canScrollHorizontally() const;
    bool canScrollVertically() const;
    // Moves the offset by a delta, clamped (the wheel; positive y shows content further down).
    // Answers whether the offset changed.
    bool scrollBy(CGPoint delta);
    // A finger's drag, driven by the window: begins at an offset, follows the finger's
    // translation from where the scroll began, ends.
    void beginDragging();
    void dragTo(CGPoint translation);
    void endDragging();

  private:
    CGSize contentSize_{};
    bool scrollEnabled_ = true;
    bool canCancelContentTouches_ = true;
    bool dragging_ = false;
    CGPoint dragStartOffset_{};
    weak_id delegate_;
};

// A scroll view of rows. A drag that starts on a control in a row still scrolls the table.
struct UITableView : UIScrollView {
    bool touchesShouldCancelInContentView(id) { return true; }
};
