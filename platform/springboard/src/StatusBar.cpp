#include "springboard/StatusBar.h"

#include "foundation/DeviceEvents.h"
#include "springboard/SpringBoardEvents.h"

#include <algorithm>

StatusBar& StatusBar::shared() {
    static auto* bar = new StatusBar; // lives until exit: items may go away during teardown
    return *bar;
}

StatusBarItem* StatusBar::find(std::uint64_t handle) {
    for (auto& item : items_)
        if (item.handle == handle)
            return &item;
    return nullptr;
}

std::uint64_t StatusBar::addItem(std::string identifier, long alignment) {
    items_.push_back({nextHandle_, std::move(identifier), alignment, "", false});
    return nextHandle_++;
}

void StatusBar::removeItem(std::uint64_t handle) {
    items_.erase(std::remove_if(items_.begin(), items_.end(),
                                [&](const StatusBarItem& i) { return i.handle == handle; }),
                 items_.end());
}

void StatusBar::setVisible(std::uint64_t handle, bool visible) {
    StatusBarItem* item = find(handle);
    if (!item)
        return;
    item->visible = visible;
    // Every call is recorded, a repeated one too: an item told again what it already is was
    // still touched, and a test that says "the icon was left alone" must be able to fail.
    DeviceEvents::record(visible ? sbevent::kStatusItemVisible : sbevent::kStatusItemHidden,
                         item->identifier);
}

void StatusBar::setImageName(std::uint64_t handle, std::string imageName) {
    if (StatusBarItem* item = find(handle))
        item->imageName = std::move(imageName);
}

std::vector<StatusBarItem> StatusBar::items() const {
    return items_;
}

bool StatusBar::isVisible(const std::string& identifier) const {
    return std::any_of(items_.begin(), items_.end(),
                       [&](const StatusBarItem& i) { return i.identifier == identifier && i.visible; });
}
