// A button: a control with a title and a title color per control state. A state without its
// own title or color shows the normal state's. Type 0 (custom) titles are white unless set;
// type 1 (system) titles are the system tint, dimmed while highlighted unless a highlighted
// color is set.
#pragma once

#include "uikit/UIControl.h"

#include <map>
#include <string>

struct UIButton : UIControl {
    NSInteger buttonType() const { return buttonType_; }
    void setTitleForState(std::string title, NSUInteger state);
    std::string titleForState(NSUInteger state) const;
    void setTitleColorForState(id color, NSUInteger state);
    id titleColorForState(NSUInteger state) const;
    std::string currentTitle() const { return titleForState(state()); }
    id currentTitleColor() const { return titleColorForState(state()); }
    CGSize sizeThatFits(CGSize size);

    void paintContent(Painter& painter) override;

    // C++ side: `buttonWithType:` sets the type once, before the button is used.
    void setButtonType(NSInteger type) { buttonType_ = type; }

  protected:
    // A button draws only its title: a state change shows when the title, or its color, differs.
    bool drawsStateChange(NSUInteger before) const override;

  private:
    CGColor titleCGColor(NSUInteger state) const;

    NSInteger buttonType_ = 0;
    std::map<NSUInteger, std::string> titles_;
    std::map<NSUInteger, id> titleColors_;
};
