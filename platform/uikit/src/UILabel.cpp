#include "uikit/UILabel.h"

#include "LabelFont.h"
#include "Painter.h"
#include "coregraphics/FloatToInteger.h"
#include "uikit/TextLayout.h"

#include <algorithm>
#include <cmath>

namespace {
// Widths at a point size: the 17-point widths in proportion (one outline, unhinted metrics).
TextMeasure measureAt(CGFloat fontSize) {
    const LabelFont& font = LabelFont::shared();
    if (fontSize == kLabelFontSize)
        return font.measure();
    const double factor = fontSize / kLabelFontSize;
    const LabelFont* f = &font;
    return [f, factor](std::string_view text) { return f->width(text) * factor; };
}
} // namespace

CGSize labelTextSize(const std::string& text, CGFloat width, NSInteger maxLines, CGFloat fontSize) {
    if (text.empty())
        return CGSizeZero;
    const LabelFont& font = LabelFont::shared();
    const TextMeasure measure = measureAt(fontSize);
    const auto lines = layoutTextLines(text, maxLines == 1 ? kUnlimitedWidth : width, maxLines, measure);
    double widest = 0;
    for (const auto& line : lines)
        widest = std::max(widest, measure(line));
    // The factor is exactly 1 at the label size: its sizes stay the 17-point ones to the bit.
    const double lineHeight = font.lineHeight() * (fontSize / kLabelFontSize);
    return {std::ceil(widest), std::ceil(double(lines.size()) * lineHeight)};
}

std::vector<std::string> labelShownLines(const std::string& text, CGSize box, NSInteger maxLines,
                                         CGFloat fontSize) {
    if (text.empty() || box.width <= 0 || box.height <= 0)
        return {};
    const double lineHeight = LabelFont::shared().lineHeight() * (fontSize / kLabelFontSize);
    // No more lines than the box holds (at least one), as a label shows them.
    const long fitting = std::max(1L, clampToInteger<long>(std::floor(box.height / lineHeight + 1e-6)));
    const long limit = maxLines > 0 ? std::min(long(maxLines), fitting) : fitting;
    return layoutTextLines(text, box.width, limit, measureAt(fontSize));
}

std::vector<std::string> UILabel::shownLines() const {
    return labelShownLines(text_, bounds().size, numberOfLines_, UIFont::pointSizeOf(font_));
}

id UILabel::initWithFrame(CGRect frame) {
    msgSuper<id>(this, classOf<UILabel>(), "initWithFrame:", frame);
    setUserInteractionEnabled(false);
    return self();
}

// Each setter redraws the label only when what it shows changes, as UIKit's label does.

void UILabel::setText(std::string text) {
    if (text == text_)
        return;
    text_ = std::move(text);
    msg(this, SELECTOR("setNeedsDisplay"));
}

id UILabel::textColor() const {
    return textColor_ ? textColor_ : msg<id>(classObject(objc_getClass("UIColor")), "blackColor");
}

void UILabel::setTextColor(id color) {
    const bool same =
        color == textColor_ || (color && textColor_ && msg<bool>(color, SELECTOR("isEqual:"), textColor_));
    textColor_ = std::move(color);
    if (!same)
        msg(this, SELECTOR("setNeedsDisplay"));
}

id UILabel::font() const {
    return font_ ? font_ : id(UIFont::ofSize(kLabelFontSize));
}

void UILabel::setFont(id font) {
    const bool same = UIFont::pointSizeOf(font) == UIFont::pointSizeOf(font_);
    font_ = std::move(font);
    if (!same)
        msg(this, SELECTOR("setNeedsDisplay"));
}

void UILabel::setTextAlignment(NSInteger alignment) {
    if (alignment == textAlignment_)
        return;
    textAlignment_ = alignment;
    msg(this, SELECTOR("setNeedsDisplay"));
}

void UILabel::setNumberOfLines(NSInteger lines) {
    if (lines == numberOfLines_)
        return;
    numberOfLines_ = lines;
    msg(this, SELECTOR("setNeedsDisplay"));
}

CGSize UILabel::sizeThatFits(CGSize size) {
    return labelTextSize(text_, size.width, numberOfLines_, UIFont::pointSizeOf(font_));
}

void UILabel::paintContent(Painter& painter) {
    const CGColor color = textColor_ ? msg<CGColor>(textColor_, "CGColor") : CGColor{0, 0, 0, 1};
    painter.drawText(text_, bounds(), textAlignment_, numberOfLines_, color, UIFont::pointSizeOf(font_));
}

namespace {
const ClassDef<UILabel> kUILabel("UILabel", "UIView",
                                 {
                                     method("initWithFrame:", &UILabel::initWithFrame),
                                     method("text", &UILabel::text),
                                     method("setText:", &UILabel::setText),
                                     method("textColor", &UILabel::textColor),
                                     method("setTextColor:", &UILabel::setTextColor),
                                     method("font", &UILabel::font),
                                     method("setFont:", &UILabel::setFont),
                                     method("textAlignment", &UILabel::textAlignment),
                                     method("setTextAlignment:", &UILabel::setTextAlignment),
                                     method("numberOfLines", &UILabel::numberOfLines),
                                     method("setNumberOfLines:", &UILabel::setNumberOfLines),
                                     method("sizeThatFits:", &UILabel::sizeThatFits),
                                 });
} // namespace
