// What viewers of the device see, shared between the device thread (which publishes) and the
// server's threads (which stream it to each viewer): each screen's whole picture with its
// version and the changed tiles published after it (so a viewer that has the picture, or any
// later version, takes only the tiles it lacks), the timeline's lines, and the controls' state. A viewer
// waits for a generation newer than the one it has (or asks without waiting), then takes only what changed
// for it.
#pragma once

#include "device/Names.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace sim::web {

class Publication {
  public:
    // The lines kept for a viewer that connects later.
    static constexpr size_t kKeptLines = 2000;

    // Tiles kept after a whole picture before the publisher is asked for a new one.
    static constexpr size_t kKeptTiles = 240;
    static constexpr size_t kKeptTileBytes = 8 << 20;

    struct Picture {
        uint64_t version = 0;
        std::shared_ptr<const std::string> png; // the PNG bytes in base64
    };
    // One version's changed rectangles, as the event's JSON text.
    struct Tiles {
        uint64_t version = 0;
        std::shared_ptr<const std::string> json;
    };
    // What a viewer has seen so far.
    struct Cursor {
        uint64_t generation = 0;
        uint64_t versions[kScreenCount] = {};
        size_t lines = 0; // lines seen, counted from the first ever published
        std::string state;
    };
    // What changed since a cursor.
    struct Update {
        std::vector<std::pair<int, Picture>> pictures; // screen index, picture
        std::vector<std::pair<int, Tiles>> tiles;      // screen index, tiles, after the pictures
        std::vector<std::string> lines;
        std::string state; // empty when unchanged
        bool stopped = false;
    };

    // Device thread. A whole picture replaces the tiles before it; `addTiles` answers true when
    // the tiles kept reach their bound, and a whole picture should follow.
    void setPicture(int screen, Picture picture);
    bool addTiles(int screen, Tiles tiles);
    void addLine(std::string line);
    void setState(std::string state);
    void stop();
    // Any thread: `notify` runs on every change (on the publishing thread, with the publication's
    // lock held: it must return at once and not call back), so a server can wake its viewers.
    void setNotify(std::function<void()> notify);

    // Any thread: waits until something is newer than `cursor` (or `timeout`, or stop), and
    // moves the cursor past it.
    Update next(Cursor& cursor, std::chrono::milliseconds timeout);
    bool stopped() const;

  private:
    void changed(); // with the lock held
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    uint64_t generation_ = 1;
    Picture pictures_[kScreenCount];
    std::deque<Tiles> tiles_[kScreenCount];
    size_t tileBytes_[kScreenCount] = {};
    std::deque<std::string> lines_;
    size_t firstLine_ = 0; // the number of the oldest kept line
    std::string state_;
    bool stopped_ = false;
    std::function<void()> notify_;
};

} // namespace sim::web
