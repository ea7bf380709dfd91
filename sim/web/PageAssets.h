// The page's files, built into the program (generated from sim/web/page at build time).
#pragma once

#include <string_view>
#include <vector>

namespace sim::web {
struct PageAsset {
    const char* path; // "/", "/app.js", "/style.css"
    const char* type; // its Content-Type
    std::string_view content;
};
const std::vector<PageAsset>& pageAssets();
} // namespace sim::web
