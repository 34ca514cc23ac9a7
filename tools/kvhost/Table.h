#pragma once
#include <string>
#include <vector>

// A table of UTF-8 cells in aligned columns, two spaces apart, one row per
// line (line breaks inside a cell become spaces).
struct TableColumn {
    std::string title;
    bool rightAlign;
    bool cuttable;  // text that may be cut; numbers and file names never are
};

struct TableFit {
    // Cuttable cells longer than this are cut, with ".." at the cut; 0 cuts none.
    size_t longestCell = 40;
    // The whole line's width: long text narrows down to kNarrowest columns,
    // then columns are left out from the right; 0 fits nothing.
    size_t width = 0;
};

constexpr size_t kNarrowest = 20;

// The table's lines; the titles of columns left out to fit go to `leftOut`.
std::string FormatTable(const std::vector<TableColumn>& columns, const std::vector<std::vector<std::string>>& rows,
                        const TableFit& fit, std::vector<std::string>* leftOut = nullptr);
