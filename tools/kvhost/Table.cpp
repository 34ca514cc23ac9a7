#include "Table.h"

#include <algorithm>

#include "Text.h"

namespace {

class Layout {
public:
    Layout(const std::vector<TableColumn>& columns, const std::vector<size_t>& widths)
        : m_columns(columns), m_widths(widths), m_shown(columns.size(), true)
    {
    }

    size_t Width(bool narrowest) const
    {
        size_t width = 0, shown = 0;
        for (size_t c = 0; c < m_columns.size(); ++c) {
            if (!m_shown[c]) continue;
            width += narrowest ? Narrowest(c) : m_widths[c];
            ++shown;
        }
        return width + (shown ? 2 * (shown - 1) : 0);
    }

    // Leaves out columns from the right until the rest fits at their
    // narrowest; the first column stays whatever its width.
    void LeaveOut(size_t width, std::vector<std::string>* leftOut)
    {
        std::vector<std::string> titles;
        for (size_t c = m_columns.size(); c-- > 1 && Width(true) > width;) {
            m_shown[c] = false;
            titles.insert(titles.begin(), m_columns[c].title);
        }
        if (leftOut) *leftOut = titles;
    }

    // Narrows the widest cuttable column, a column at a time, until it fits.
    void Narrow(size_t width)
    {
        for (size_t total = Width(false); total > width; --total) {
            size_t widest = m_columns.size();
            for (size_t c = 0; c < m_columns.size(); ++c)
                if (m_shown[c] && m_columns[c].cuttable && m_widths[c] > kNarrowest &&
                    (widest == m_columns.size() || m_widths[c] > m_widths[widest]))
                    widest = c;
            if (widest == m_columns.size()) return;
            --m_widths[widest];
        }
    }

    std::string Line(const std::vector<std::string>& cells) const
    {
        std::string text;
        for (size_t c = 0; c < m_columns.size(); ++c) {
            if (!m_shown[c]) continue;
            const std::string cell = m_columns[c].cuttable ? CutToWidth(cells[c], m_widths[c]) : cells[c];
            const std::string pad(m_widths[c] - std::min(m_widths[c], DisplayWidth(cell)), ' ');
            text += m_columns[c].rightAlign ? pad + cell : cell + pad;
            text += "  ";
        }
        while (!text.empty() && text.back() == ' ') text.pop_back();
        return text + "\n";
    }

private:
    size_t Narrowest(size_t c) const { return m_columns[c].cuttable ? std::min(m_widths[c], kNarrowest) : m_widths[c]; }

    const std::vector<TableColumn>& m_columns;
    std::vector<size_t> m_widths;
    std::vector<bool> m_shown;
};

}  // namespace

std::string FormatTable(const std::vector<TableColumn>& columns, const std::vector<std::vector<std::string>>& rows,
                        const TableFit& fit, std::vector<std::string>* leftOut)
{
    if (leftOut) leftOut->clear();
    std::vector<std::vector<std::string>> lines;
    lines.emplace_back();
    for (const TableColumn& column : columns) lines.back().push_back(OneLine(column.title));
    for (const auto& row : rows) {
        lines.emplace_back();
        for (size_t c = 0; c < columns.size(); ++c) lines.back().push_back(c < row.size() ? OneLine(row[c]) : "");
    }
    std::vector<size_t> widths(columns.size(), 0);
    for (const auto& line : lines)
        for (size_t c = 0; c < columns.size(); ++c) widths[c] = std::max(widths[c], DisplayWidth(line[c]));
    if (fit.longestCell)
        for (size_t c = 0; c < columns.size(); ++c)
            if (columns[c].cuttable) widths[c] = std::min(widths[c], fit.longestCell);

    Layout layout(columns, widths);
    if (fit.width) {
        layout.LeaveOut(fit.width, leftOut);
        layout.Narrow(fit.width);
    }
    std::string out;
    for (const auto& line : lines) out += layout.Line(line);
    return out;
}
