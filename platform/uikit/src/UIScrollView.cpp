#include "uikit/UIScrollView.h"

#include <algorithm>

id UIScrollView::initWithFrame(CGRect frame) {
    if (!UIView::initWithFrame(frame))
        return nullptr;
    msg(this, "setClipsToBounds:", true);
    return self();
}

void UIScrollView::setContentOffset(CGPoint offset) {
    const CGRect b = bounds();
    if (b.origin == offset)
        return;
    setBounds({offset, b.size});
    if (id d = delegate(); d && respondsToSelector(d.get(), SELECTOR("scrollViewDidScroll:")))
        msg(d, "scrollViewDidScroll:", self());
}

void UIScrollView::setContentOffsetAnimated(CGPoint offset, bool) {
    msg(this, "setContentOffset:", offset);
}

bool UIScrollView::touchesShouldCancelInContentView(id view) {
    static Class* controlClass = objc_getClass("UIControl");
    return !isKindOfClass(view, controlClass);
}

CGPoint UIScrollView::maximumContentOffset() const {
    const CGSize size = bounds().size;
    return {std::max<CGFloat>(0, contentSize_.width - size.width),
            std::max<CGFloat>(0, contentSize_.height - size.height)};
}

CGPoint UIScrollView::clampedOffset(CGPoint offset) const {
    const CGPoint most = maximumContentOffset();
    return {std::clamp<CGFloat>(offset.x, 0, most.x), std::clamp<CGFloat>(offset.y, 0, most.y)};
}

bool UIScrollView::canScrollHorizontally() const {
    return scrollEnabled_ && maximumContentOffset().x > 0;
}

bool UIScrollView::canScrollVertically() const {
    return scrollEnabled_ && maximumContentOffset().y > 0;
}

bool UIScrollView::scrollBy(CGPoint delta) {
    if (!scrollEnabled_)
        return false;
    const CGPoint from = contentOffset();
    const CGPoint to = clampedOffset({from.x + delta.x, from.y + delta.y});
    if (to == from)
        return false;
    msg(this, "setContentOffset:", to);
    return true;
}

void UIScrollView::beginDragging() {
    dragging_ = true;
    dragStartOffset_ = contentOffset();
    if (id d = delegate(); d && respondsToSelector(d.get(), SELECTOR("scrollViewWillBeginDragging:")))
        msg(d, "scrollViewWillBeginDragging:", self());
}

void UIScrollView::dragTo(CGPoint translation) {
    if (!dragging_)
        return;
    // The content moves with the finger: a finger going up shows what is further down.
    const CGPoint to =
        clampedOffset({canScrollHorizontally() ? dragStartOffset_.x - translation.x : dragStartOffset_.x,
                       canScrollVertically() ? dragStartOffset_.y - translation.y : dragStartOffset_.y});
    msg(this, "setContentOffset:", to);
}

void UIScrollView::endDragging() {
    if (!dragging_)
        return;
    dragging_ = false;
    if (id d = delegate();
        d && respondsToSelector(d.get(), SELECTOR("scrollViewDidEndDragging:willDecelerate:")))
        msg(d, "scrollViewDidEndDragging:willDecelerate:", self(), false);
}

namespace {
const ClassDef<UIScrollView> kUIScrollView(
    "UIScrollView", "UIView",
    {
        method("initWithFrame:", &UIScrollView::initWithFrame),
        method("contentOffset", &UIScrollView::contentOffset),
        method("setContentOffset:", &UIScrollView::setContentOffset),
        method("setContentOffset:animated:", &UIScrollView::setContentOffsetAnimated),
        method("contentSize", &UIScrollView::contentSize),
        method("setContentSize:", &UIScrollView::setContentSize),
        method("isScrollEnabled", &UIScrollView::isScrollEnabled),
        method("setScrollEnabled:", &UIScrollView::setScrollEnabled),
        method("canCancelContentTouches", &UIScrollView::canCancelContentTouches),
        method("setCanCancelContentTouches:", &UIScrollView::setCanCancelContentTouches),
        method("touchesShouldCancelInContentView:", &UIScrollView::touchesShouldCancelInContentView),
        method("isDragging", &UIScrollView::isDragging),
        method("delegate", &UIScrollView::delegate),
        method("setDelegate:", &UIScrollView::setDelegate),
    });
const ClassDef<UITableView> kUITableView("UITableView", "UIScrollView",
                                         {
                                             method("touchesShouldCancelInContentView:",
                                                    &UITableView::touchesShouldCancelInContentView),
                                         });
} // namespace
