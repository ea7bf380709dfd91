#include "uikit/UIImageView.h"

#include "Painter.h"
#include "uikit/UIImage.h"

id UIImageView::initWithFrame(CGRect frame) {
    msgSuper<id>(this, classOf<UIImageView>(), "initWithFrame:", frame);
    setUserInteractionEnabled(false);
    return self();
}

id UIImageView::initWithImage(id image) {
    const CGSize size = image ? msg<CGSize>(image, "size") : CGSizeZero;
    msg<id>(this, "initWithFrame:", CGRect{{0, 0}, size});
    image_ = std::move(image);
    return self();
}

void UIImageView::setImage(id image) {
    image_ = std::move(image);
    msg(this, "setNeedsDisplay");
}

CGSize UIImageView::sizeThatFits(CGSize size) {
    return image_ ? msg<CGSize>(image_, "size") : size;
}

void UIImageView::paintContent(Painter& painter) {
    auto img = cast<UIImage>(image_);
    if (!img)
        return;
    painter.drawRGBA(img->pixels().data(), img->pixelWidth(), img->pixelHeight(), img->pixelWidth() * 4,
                     bounds());
}

namespace {
const ClassDef<UIImageView> kUIImageView("UIImageView", "UIView",
                                         {
                                             method("initWithFrame:", &UIImageView::initWithFrame),
                                             method("initWithImage:", &UIImageView::initWithImage),
                                             method("image", &UIImageView::image),
                                             method("setImage:", &UIImageView::setImage),
                                             method("sizeThatFits:", &UIImageView::sizeThatFits),
                                         });
} // namespace
