// Sections of a page: a group row opens a new section and heads it; the rows before the
// first group row form a section of their own.
#pragma once

#include <utility>
#include <vector>

struct PSSectionLayout {
    struct Section {
        long groupIndex = -1;   // the group row heading the section, -1 for none
        std::vector<long> rows; // indexes of the section's rows in the flat list
    };
    std::vector<Section> sections;

    // The flat index of a row at (section, row), or -1 when there is none.
    long flatIndex(long section, long row) const;
    // The (section, row) of a flat index, or (-1, -1) for a group row or an index not shown.
    std::pair<long, long> position(long flatIndex) const;
};
PSSectionLayout PSSectionsFromCellTypes(const std::vector<long>& cellTypes);
