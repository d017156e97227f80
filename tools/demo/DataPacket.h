#pragma once

#include "TsvTable.h"

#include <string>
#include <string_view>
#include <vector>

// Writes the client-dataset XML data packet the catalog is shipped in, the way legacy files
// were saved: one line, no encoding declaration, text as Windows-1252 bytes.
namespace datapacket
{

struct Field {
    std::string name;
    std::string type; // "i4", "i2", "string", "date"
    int width = 0;    // characters, for strings
};

// Throws std::runtime_error for a value that does not fit its field, or text that has no
// Windows-1252 form.
[[nodiscard]] std::string write(const std::vector<Field>& fields,
                                const std::vector<TsvTable::Row>& rows);

// UTF-8 to Windows-1252; throws std::runtime_error for characters the code page lacks.
[[nodiscard]] std::string toWindows1252(std::string_view utf8);

} // namespace datapacket
