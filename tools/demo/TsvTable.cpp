#include "TsvTable.h"

#include <fstream>
#include <stdexcept>

namespace
{

std::vector<std::string> cells(const std::string& line)
{
    std::vector<std::string> result;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        result.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos)
            return result;
        start = tab + 1;
    }
}

} // namespace

TsvTable::TsvTable(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        std::vector<std::string> values = cells(line);
        if (m_columns.empty()) {
            m_columns = std::move(values);
            continue;
        }
        if (values.size() != m_columns.size())
            throw std::runtime_error(file.string() + ":" + std::to_string(number) + ": "
                                     + std::to_string(values.size()) + " cells, expected "
                                     + std::to_string(m_columns.size()));
        Row row;
        for (std::size_t i = 0; i < values.size(); ++i)
            if (!values[i].empty())
                row.emplace(m_columns[i], std::move(values[i]));
        m_rows.push_back(std::move(row));
    }
    if (m_columns.empty())
        throw std::runtime_error(file.string() + ": no header line");
}
