// The status bar SpringBoard draws: the items add-ons place in it (libstatusbar), each with an
// identifier, a side, an image name and a visibility. Every visibility call is recorded as an
// event, whether or not it changes what the bar shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct StatusBarItem {
    std::uint64_t handle = 0;
    std::string identifier;
    long alignment = 0; // 0 left, 1 center... as the add-on passes it; 2 is the right side
    std::string imageName;
    bool visible = false;
};

class StatusBar {
  public:
    static StatusBar& shared();

    // A new item, hidden. Returns its handle.
    std::uint64_t addItem(std::string identifier, long alignment);
    void removeItem(std::uint64_t handle);
    // Records "status item visible" or "status item hidden" on every call.
    void setVisible(std::uint64_t handle, bool visible);
    void setImageName(std::uint64_t handle, std::string imageName);

    std::vector<StatusBarItem> items() const;
    // Whether any item with this identifier is visible.
    bool isVisible(const std::string& identifier) const;

  private:
    StatusBarItem* find(std::uint64_t handle);
    std::vector<StatusBarItem> items_;
    std::uint64_t nextHandle_ = 1;
};
