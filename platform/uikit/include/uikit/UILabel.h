// A label: text in the one label font (17 points unless a font sets another size; of
// Helvetica's metrics), a text color (black unless set), an alignment and a line limit (1 unless set; 0 for
// as many as the text needs). Text is centered vertically; text that does not fit ends in an ellipsis (one
// line truncates at the tail). Labels take no touches.
//
// `sizeToFit` measures with the font: one line keeps the text on one line whatever the width;
// more lines wrap at the label's current width. Sizes are whole points, rounded up.
#pragma once

#include "uikit/UIFont.h"
#include "uikit/UIView.h"

#include <string>
#include <vector>

struct UILabel : UIView {
    id initWithFrame(CGRect frame);

    std::string text() const { return text_; }
    void setText(std::string text);
    id textColor() const;
    void setTextColor(id color);
    NSInteger textAlignment() const { return textAlignment_; }
    void setTextAlignment(NSInteger alignment);
    id font() const;
    void setFont(id font);
    NSInteger numberOfLines() const { return numberOfLines_; }
    void setNumberOfLines(NSInteger lines);
    CGSize sizeThatFits(CGSize size);
    // C++ side: the lines the label shows in its bounds now, ellipsis included.
    std::vector<std::string> shownLines() const;

    void paintContent(Painter& painter) override;

  private:
    std::string text_;
    id textColor_;
    id font_;
    NSInteger textAlignment_ = 0;
    NSInteger numberOfLines_ = 1;
};

// The size a text takes in the label font at `fontSize` points: one line (`maxLines` 1) or
// wrapped at `width` (0: no wrapping), rounded up to whole points. Labels, buttons and alerts
// share it.
CGSize labelTextSize(const std::string& text, CGFloat width, NSInteger maxLines,
                     CGFloat fontSize = kLabelFontSize);

// The lines a text shows in a box of this size: wrapped at its width when more than one line is
// allowed, no more lines than `maxLines` (0: any) and than the box holds (at least one), the
// last ending in an ellipsis when the text does not fit. Labels, buttons and fields draw these.
std::vector<std::string> labelShownLines(const std::string& text, CGSize box, NSInteger maxLines,
                                         CGFloat fontSize = kLabelFontSize);
