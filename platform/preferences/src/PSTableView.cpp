#include "preferences/PSTableView.h"

#include "ViewKit.h"
#include "preferences/PSListController.h"
#include "preferences/PSSpecifier.h"
#include "uikit/UILabel.h"

#include <algorithm>

namespace {

constexpr CGFloat kSectionGap = 35;     // above a section without a header text
constexpr CGFloat kHeaderHeight = 55;   // above a section with one
constexpr CGFloat kTextLineHeight = 21; // one line of header or footer text
constexpr CGFloat kFooterGap = 6;
constexpr CGFloat kHairline = 0.5;

std::string groupText(const id& group, const char* key) {
    auto* s = dynamic_cast<PSSpecifier*>(group.get());
    if (!s)
        return {};
    if (std::string(key) == "label")
        return s->name();
    const PlistValue& v = valueForKey(s->properties_, key);
    return v.isString() ? v.asString() : std::string();
}

} // namespace

id PSTableView::initWithController(id controller, CGFloat width) {
    if (!msg<id>(self(), "initWithFrame:", PSRect(0, 0, width, 0)))
        return nullptr;
    controller_ = controller;
    msg(self(), "setBackgroundColor:", ps::tableBackgroundColor());
    return self();
}

void PSTableView::reloadData() {
    id controller = controller_.lock();
    // As UIKit's table does, a reload reconfigures the views it shows rather than building them
    // anew: a row whose cell the controller hands back stays where it is, and the headers,
    // footers and separators of the last load are reused in order, so only what changed is
    // drawn again. Views left over are removed.
    std::vector<id> oldCells;
    for (const auto& section : cells_)
        for (const id& cell : section)
            if (cell)
                oldCells.push_back(cell);
    std::vector<id> oldLines, oldLabels;
    for (const id& view : decorations_)
        (isKindOfClass(view, objc_getClass("UILabel")) ? oldLabels : oldLines).push_back(view);
    size_t linesTaken = 0, labelsTaken = 0;
    cells_.clear();
    decorations_.clear();
    specifiers_ = controller ? msg<std::vector<id>>(controller, "specifiers") : std::vector<id>{};
    layout_ = PSSectionsOfSpecifiers(specifiers_);
    loaded_ = true;

    const CGFloat width = msg<CGRect>(self(), "frame").size.width;
    std::vector<id> stacking; // every view in the order a fresh load adds them, bottom first
    auto show = [&](const id& view) {
        if (msg<id>(view, "superview") != self())
            msg(self(), "addSubview:", view);
        stacking.push_back(view);
    };
    auto hairline = [&](CGFloat x, CGFloat y) {
        const CGRect frame = PSRect(x, y, width - x, kHairline);
        id line = linesTaken < oldLines.size() ? oldLines[linesTaken++] : PSMakeView("UIView", frame);
        msg(line, "setFrame:", frame);
        msg(line, "setBackgroundColor:", ps::separatorColor());
        show(line);
        decorations_.push_back(line);
    };
    auto textBlock = [&](const std::string& text, CGFloat y) -> CGFloat {
        const CGFloat height = labelTextSize(text, width - 30, 0).height;
        const CGRect frame = PSRect(15, y, width - 30, height);
        id label;
        if (labelsTaken < oldLabels.size()) {
            label = oldLabels[labelsTaken++];
            msg(label, "setFrame:", frame);
            msg(label, "setText:", text);
        } else {
            label = PSMakeLabel(frame, text, ps::secondaryTextColor());
        }
        msg(label, "setNumberOfLines:", NSInteger{0});
        show(label);
        decorations_.push_back(label);
        return height;
    };

    CGFloat y = 0;
    for (size_t si = 0; si < layout_.sections.size(); ++si) {
        const auto& section = layout_.sections[si];
        const id group = section.groupIndex >= 0 ? specifiers_[size_t(section.groupIndex)] : nullptr;
        const std::string header = groupText(group, "label");
        if (header.empty()) {
            y += kSectionGap;
        } else {
            textBlock(header, y + kHeaderHeight - kTextLineHeight - 6);
            y += kHeaderHeight;
        }
        std::vector<id> rowCells;
        if (!section.rows.empty())
            hairline(0, y - kHairline);
        for (size_t ri = 0; ri < section.rows.size(); ++ri) {
            const NSIndexPath path{NSInteger(si), NSInteger(ri)};
            const CGFloat height =
                controller ? msg<CGFloat>(controller, "tableView:heightForRowAtIndexPath:", self(), path)
                           : 44;
            id cell =
                controller ? msg<id>(controller, "tableView:cellForRowAtIndexPath:", self(), path) : nullptr;
            if (cell) {
                msg(cell, "setFrame:", PSRect(0, y, width, height));
                msg(cell, "layoutSubviews");
                show(cell);
            }
            rowCells.push_back(cell);
            y += height;
            hairline(ri + 1 < section.rows.size() ? 15 : 0, y - kHairline);
        }
        cells_.push_back(std::move(rowCells));
        const std::string footer = groupText(group, "footerText");
        if (!footer.empty())
            y += kFooterGap + textBlock(footer, y + kFooterGap);
    }
    // What this load did not take goes.
    for (size_t i = linesTaken; i < oldLines.size(); ++i)
        msg(oldLines[i], "removeFromSuperview");
    for (size_t i = labelsTaken; i < oldLabels.size(); ++i)
        msg(oldLabels[i], "removeFromSuperview");
    for (const id& cell : oldCells)
        if (std::find(stacking.begin(), stacking.end(), cell) == stacking.end() &&
            msg<id>(cell, "superview") == self())
            msg(cell, "removeFromSuperview");
    // Separators lie over the cells' edges: when a view came in among kept ones, or a kept one
    // serves elsewhere, the views are stacked again in load order.
    std::vector<id> shown = msg<std::vector<id>>(self(), "subviews");
    std::erase_if(
        shown, [&](const id& v) { return std::find(stacking.begin(), stacking.end(), v) == stacking.end(); });
    // Views before the first out of place stay as they are.
    size_t inPlace = 0;
    while (inPlace < shown.size() && inPlace < stacking.size() && shown[inPlace] == stacking[inPlace])
        ++inPlace;
    if (inPlace < stacking.size() && shown != stacking)
        for (size_t i = inPlace; i < stacking.size(); ++i)
            msg(self(), "bringSubviewToFront:", stacking[i]);
    y += kSectionGap;
    msg(self(), "setContentSize:", CGSize{width, y});
    if (sizesToContent) {
        CGRect frame = msg<CGRect>(self(), "frame");
        frame.size.height = y;
        msg(self(), "setFrame:", frame);
    }
    // Fewer rows than before: the offset stays within the content.
    msg(self(), "setContentOffset:", clampedOffset(contentOffset()));
}

NSInteger PSTableView::numberOfRowsInSection(NSInteger section) const {
    if (section < 0 || section >= numberOfSections())
        return 0;
    return NSInteger(layout_.sections[size_t(section)].rows.size());
}

id PSTableView::specifierAtIndexPath(NSIndexPath indexPath) const {
    const long flat = layout_.flatIndex(indexPath.section, indexPath.row);
    return flat < 0 ? nullptr : specifiers_[size_t(flat)];
}

NSIndexPath PSTableView::indexPathForSpecifier(id specifier) const {
    for (size_t i = 0; i < specifiers_.size(); ++i) {
        if (specifiers_[i] == specifier) {
            auto [section, row] = layout_.position(long(i));
            return {section, row};
        }
    }
    return {-1, -1};
}

id PSTableView::cellForRowAtIndexPath(NSIndexPath indexPath) const {
    if (indexPath.row < 0 || indexPath.row >= numberOfRowsInSection(indexPath.section))
        return nullptr;
    return cells_[size_t(indexPath.section)][size_t(indexPath.row)];
}

NSIndexPath PSTableView::indexPathForCell(const id& cell) const {
    for (size_t s = 0; s < cells_.size(); ++s)
        for (size_t r = 0; r < cells_[s].size(); ++r)
            if (cell && cells_[s][r] == cell)
                return {NSInteger(s), NSInteger(r)};
    return {-1, -1};
}

id PSTableView::cellAtTouch(const id& touch) const {
    const CGPoint p = msg<CGPoint>(touch, "locationInView:", const_cast<PSTableView*>(this)->self());
    for (const auto& section : cells_)
        for (const id& cell : section)
            if (cell && CGRectContainsPoint(msg<CGRect>(cell, "frame"), p))
                return cell;
    return nullptr;
}

void PSTableView::unpress() {
    if (pressedCell_)
        msg(pressedCell_, "setBackgroundColor:", pressedColor_);
    pressedCell_.reset();
    pressedColor_.reset();
}

void PSTableView::touchesBeganWithEvent(std::vector<id> touches, id) {
    unpress();
    id cell = touches.empty() ? nullptr : cellAtTouch(touches.front());
    if (!cell || !msg<bool>(cell, "cellEnabled"))
        return;
    pressedCell_ = cell;
    pressedColor_ = msg<id>(cell, "backgroundColor");
    msg(cell, "setBackgroundColor:", PSColor(0.85, 0.85, 0.85));
}

void PSTableView::touchesEndedWithEvent(std::vector<id> touches, id) {
    id cell = pressedCell_;
    unpress();
    if (!cell || touches.empty() || cellAtTouch(touches.front()) != cell)
        return;
    const NSIndexPath row = indexPathForCell(cell);
    if (row.row < 0 || !rowTouched)
        return;
    id keep = self();
    auto handler = rowTouched; // the handler may reload or replace this table
    handler(row, msg<CGPoint>(touches.front(), "locationInView:", cell));
}

void PSTableView::touchesCancelledWithEvent(std::vector<id>, id) {
    unpress();
}

namespace {
const ClassDef<PSTableView>
    kPSTableView("PSTableView", "UITableView",
                 {
                     method("reloadData", &PSTableView::reloadData),
                     method("numberOfSections", &PSTableView::numberOfSections),
                     method("numberOfRowsInSection:", &PSTableView::numberOfRowsInSection),
                     method("cellForRowAtIndexPath:", &PSTableView::cellForRowAtIndexPath),
                     method("indexPathForSpecifier:", &PSTableView::indexPathForSpecifier),
                     method("touchesBegan:withEvent:", &PSTableView::touchesBeganWithEvent),
                     method("touchesMoved:withEvent:", &PSTableView::touchesMovedWithEvent),
                     method("touchesEnded:withEvent:", &PSTableView::touchesEndedWithEvent),
                     method("touchesCancelled:withEvent:", &PSTableView::touchesCancelledWithEvent),
                 });
} // namespace
