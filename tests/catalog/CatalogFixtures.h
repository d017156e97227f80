#pragma once

#include "Filter.h"
#include "Packet.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

// Small packets written inside the tests, and a temporary folder to put them in.
namespace fixtures
{

// A packet in the engine's own layout: declaration, two blanks, one line.
inline std::string
packet(std::string_view fields, std::string_view rows, std::string_view params = "<PARAMS/>",
       std::string_view declaration = R"(<?xml version="1.0" standalone="yes"?>)")
{
    std::string out(declaration);
    out += "  <DATAPACKET Version=\"2.0\"><METADATA><FIELDS>";
    out += fields;
    out += "</FIELDS>";
    out += params;
    out += "</METADATA><ROWDATA>";
    out += rows;
    out += "</ROWDATA></DATAPACKET>";
    return out;
}

// The fields of the activity catalog, cod_disp numeric and cod_web text as the content has them.
inline constexpr std::string_view catalogFields =
    R"(<FIELD attrname="cod_disp" fieldtype="i4"/>)"
    R"(<FIELD attrname="cod_web" fieldtype="string" WIDTH="10"/>)"
    R"(<FIELD attrname="serie" fieldtype="string" WIDTH="2"/>)"
    R"(<FIELD attrname="disciplina" fieldtype="string" WIDTH="30"/>)"
    R"(<FIELD attrname="tipo" fieldtype="string" WIDTH="20"/>)"
    R"(<FIELD attrname="descricao" fieldtype="string" WIDTH="100"/>)"
    R"(<FIELD attrname="categoria" fieldtype="string" WIDTH="30"/>)"
    R"(<FIELD attrname="caminho" fieldtype="string" WIDTH="200"/>)"
    R"(<FIELD attrname="executavel" fieldtype="string" WIDTH="1"/>)";

inline catalog::PacketResult read(std::string_view bytes)
{
    return catalog::readPacket(std::vector<char>(bytes.begin(), bytes.end()));
}

// The stored texts of one field, in file order; NULL as "<null>".
inline std::vector<std::string> column(const catalog::Packet& packet, std::size_t field)
{
    std::vector<std::string> out;
    for (std::size_t row = 0; row < packet.rowCount(); ++row) {
        const std::string_view cell = packet.cell(row, field);
        out.emplace_back(cell.data() ? std::string(cell) : std::string("<null>"));
    }
    return out;
}

// The rows (file positions) that a filter lets through; a filter that fails to compile fails
// the test and lets nothing through.
inline std::vector<std::size_t> matching(const catalog::Packet& packet, std::string_view filter,
                                         const catalog::FilterOptions& options = {})
{
    const auto result = catalog::compileFilter(filter, packet.fields(), options);
    EXPECT_TRUE(result) << filter << ": " << result.description();
    std::vector<std::size_t> rows;
    for (std::size_t row = 0; result && row < packet.rowCount(); ++row) {
        if (result.filter.matches(packet, row))
            rows.push_back(row);
    }
    return rows;
}

class TempDir final
{
public:
    TempDir()
    {
        std::random_device random;
        m_path = std::filesystem::temp_directory_path()
                 / ("quorvane-catalog-test-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(m_path);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    [[nodiscard]] const std::filesystem::path& path() const { return m_path; }

    // Writes `bytes` as they are to `name` and returns the file's path as text.
    std::string write(const std::string& name, std::string_view bytes) const
    {
        const auto file = m_path / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return file.string();
    }

private:
    std::filesystem::path m_path;
};

} // namespace fixtures
