// What a viewer takes from the publication: a whole picture when it has none or an older one,
// then only the tiles after what it has, in order; a new whole picture replaces the tiles kept,
// and the publisher is told when the tiles kept reach their bound.
#include "Publication.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace sim::web {
namespace {

using namespace std::chrono_literals;

Publication::Picture picture(uint64_t version) {
    return {version, std::make_shared<const std::string>("whole " + std::to_string(version))};
}
Publication::Tiles tiles(uint64_t version, size_t bytes = 8) {
    return {version, std::make_shared<const std::string>(std::string(bytes, char('a' + version % 26)))};
}

// What one look at the publication brings for screen 1: the whole picture's version (0: none),
// then the tiles' versions.
struct Seen {
    uint64_t whole = 0;
    std::vector<uint64_t> tiles;
    friend bool operator==(const Seen&, const Seen&) = default;
};
Seen look(Publication& p, Publication::Cursor& cursor) {
    Seen seen;
    const Publication::Update u = p.next(cursor, 0ms);
    for (const auto& [screen, pic] : u.pictures)
        if (screen == 1)
            seen.whole = pic.version;
    for (const auto& [screen, t] : u.tiles)
        if (screen == 1)
            seen.tiles.push_back(t.version);
    return seen;
}

TEST(PublicationTest, ViewersTakeAWholePictureThenOnlyTheTilesTheyLack) {
    Publication p;
    Publication::Cursor early, late;
    p.setPicture(1, picture(1));
    EXPECT_EQ(look(p, early), (Seen{1, {}}));
    p.addTiles(1, tiles(2));
    p.addTiles(1, tiles(3));
    EXPECT_EQ(look(p, early), (Seen{0, {2, 3}}));
    EXPECT_EQ(look(p, early), (Seen{0, {}})) << "nothing new";
    // A viewer that connects now: the whole picture and every tile after it.
    EXPECT_EQ(look(p, late), (Seen{1, {2, 3}}));
    p.addTiles(1, tiles(4));
    EXPECT_EQ(look(p, early), (Seen{0, {4}}));
    // A new whole picture: a viewer behind it takes it; one at its version takes nothing.
    p.setPicture(1, picture(4));
    EXPECT_EQ(look(p, early), (Seen{0, {}}));
    EXPECT_EQ(look(p, late), (Seen{4, {}}));
    p.addTiles(1, tiles(5));
    Publication::Cursor newest;
    EXPECT_EQ(look(p, newest), (Seen{4, {5}}));
    // The other screen is untouched by all of it.
    Publication::Cursor other;
    const Publication::Update u = p.next(other, 0ms);
    for (const auto& [screen, pic] : u.pictures)
        EXPECT_EQ(screen, 1);
}

TEST(PublicationTest, TheTilesKeptAreBoundedByCountAndBytes) {
    struct Case {
        const char* what;
        size_t bytes;
        size_t addsUntilFull;
    };
    const Case cases[] = {
        {"small tiles: by count", 8, Publication::kKeptTiles},
        {"large tiles: by bytes", Publication::kKeptTileBytes / 4, 4},
    };
    for (const Case& c : cases) {
        Publication p;
        p.setPicture(1, picture(1));
        size_t adds = 0;
        bool full = false;
        while (!full && adds < Publication::kKeptTiles * 2)
            full = p.addTiles(1, tiles(2 + adds++, c.bytes));
        EXPECT_TRUE(full) << c.what;
        EXPECT_EQ(adds, c.addsUntilFull) << c.what;
        // A whole picture empties them: the next tile is far from the bound again.
        p.setPicture(1, picture(2 + adds));
        EXPECT_FALSE(p.addTiles(1, tiles(3 + adds, c.bytes))) << c.what;
    }
}

} // namespace
} // namespace sim::web
