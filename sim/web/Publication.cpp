#include "Publication.h"

namespace sim::web {

void Publication::changed() {
    ++generation_;
    cv_.notify_all();
    if (notify_)
        notify_();
}

void Publication::setNotify(std::function<void()> notify) {
    std::lock_guard lock(mutex_);
    notify_ = std::move(notify);
}

void Publication::setPicture(int screen, Picture picture) {
    std::lock_guard lock(mutex_);
    pictures_[screen] = std::move(picture);
    tiles_[screen].clear();
    tileBytes_[screen] = 0;
    changed();
}

bool Publication::addTiles(int screen, Tiles tiles) {
    std::lock_guard lock(mutex_);
    tileBytes_[screen] += tiles.json ? tiles.json->size() : 0;
    tiles_[screen].push_back(std::move(tiles));
    changed();
    return tiles_[screen].size() >= kKeptTiles || tileBytes_[screen] >= kKeptTileBytes;
}

void Publication::addLine(std::string line) {
    std::lock_guard lock(mutex_);
    lines_.push_back(std::move(line));
    if (lines_.size() > kKeptLines) {
        lines_.pop_front();
        ++firstLine_;
    }
    changed();
}

void Publication::setState(std::string state) {
    std::lock_guard lock(mutex_);
    state_ = std::move(state);
    changed();
}

void Publication::stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
    changed();
}

bool Publication::stopped() const {
    std::lock_guard lock(mutex_);
    return stopped_;
}

Publication::Update Publication::next(Cursor& cursor, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    cv_.wait_for(lock, timeout, [&] { return generation_ != cursor.generation; });
    Update update;
    update.stopped = stopped_;
    cursor.generation = generation_;
    for (int s = 0; s < int(kScreenCount); ++s) {
        // A viewer older than the whole picture takes it; then the tiles it has not seen.
        if (pictures_[s].png && pictures_[s].version > cursor.versions[s]) {
            update.pictures.emplace_back(s, pictures_[s]);
            cursor.versions[s] = pictures_[s].version;
        }
        for (const Tiles& t : tiles_[s]) {
            if (t.version > cursor.versions[s]) {
                update.tiles.emplace_back(s, t);
                cursor.versions[s] = t.version;
            }
        }
    }
    if (cursor.lines < firstLine_)
        cursor.lines = firstLine_;
    for (size_t i = cursor.lines - firstLine_; i < lines_.size(); ++i)
        update.lines.push_back(lines_[i]);
    cursor.lines = firstLine_ + lines_.size();
    if (state_ != cursor.state)
        update.state = cursor.state = state_;
    return update;
}

} // namespace sim::web
