#include "preferences/PSSectionLayout.h"

#include <cstddef>

PSSectionLayout PSSectionsFromCellTypes(const std::vector<long>& cellTypes) {
    PSSectionLayout layout;
    for (size_t i = 0; i < cellTypes.size(); ++i) {
        if (cellTypes[i] == 0) { // a group row opens a section and heads it
            PSSectionLayout::Section section;
            section.groupIndex = long(i);
            layout.sections.push_back(std::move(section));
            continue;
        }
        if (layout.sections.empty())
            layout.sections.emplace_back(); // rows before any group
        layout.sections.back().rows.push_back(long(i));
    }
    return layout;
}

long PSSectionLayout::flatIndex(long section, long row) const {
    if (section < 0 || section >= long(sections.size()))
        return -1;
    const auto& rows = sections[size_t(section)].rows;
    return row >= 0 && row < long(rows.size()) ? rows[size_t(row)] : -1;
}

std::pair<long, long> PSSectionLayout::position(long flat) const {
    for (size_t s = 0; s < sections.size(); ++s) {
        const auto& rows = sections[s].rows;
        for (size_t r = 0; r < rows.size(); ++r) {
            if (rows[r] == flat)
                return {long(s), long(r)};
        }
    }
    return {-1, -1};
}
