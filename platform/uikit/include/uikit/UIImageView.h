// A view showing an image stretched over its bounds; with no image it shows nothing of its own.
// Image views take no touches.
#pragma once

#include "uikit/UIView.h"

struct UIImageView : UIView {
    id initWithFrame(CGRect frame);
    id initWithImage(id image);
    id image() const { return image_; }
    void setImage(id image);
    CGSize sizeThatFits(CGSize size);

    void paintContent(Painter& painter) override;

  private:
    id image_;
};
