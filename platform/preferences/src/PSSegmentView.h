// The segmented control of a segment row: one framed strip of titled segments, the selected
// one filled. No selection is index -1.
#pragma once

#include "uikit/UIView.h"

#include <string>
#include <vector>

struct PSSegmentView : UIView {
    std::vector<std::string> titles_;
    std::vector<id> segments_; // one view per segment, each holding its title label
    NSInteger selected_ = -1;
    bool enabled_ = true;

    id initWithFrame(CGRect frame);
    void setTitles(std::vector<std::string> titles);
    NSInteger numberOfSegments() const { return NSInteger(titles_.size()); }
    std::string titleForSegmentAtIndex(NSInteger index) const;
    NSInteger selectedSegmentIndex() const { return selected_; }
    void setSelectedSegmentIndex(NSInteger index);
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    void layoutSubviews();

  private:
    void paint();
};
