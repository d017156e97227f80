#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

// A tab-separated table in UTF-8 whose first line names the columns, as the demo's source
// tables are kept. An empty cell is an absent value.
class TsvTable final
{
public:
    using Row = std::map<std::string, std::string, std::less<>>;

    // Throws std::runtime_error naming the file and line when the table cannot be read.
    explicit TsvTable(const std::filesystem::path& file);

    [[nodiscard]] const std::vector<std::string>& columns() const { return m_columns; }
    [[nodiscard]] const std::vector<Row>& rows() const { return m_rows; }

private:
    std::vector<std::string> m_columns;
    std::vector<Row> m_rows;
};
