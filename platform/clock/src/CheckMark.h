// The check mark of a chosen row: a short stroke down and a long one up, in the tint color,
// drawn by the view itself (the label font has no check mark).
#pragma once

#include "uikit/UIView.h"

namespace clockapp {

struct CheckMark : UIView {
    static id make(CGRect frame);
    void drawRect(CGRect rect);
};

} // namespace clockapp
