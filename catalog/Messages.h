#pragma once

#include <string>
#include <string_view>

// The engine's message texts, defined once. Texts that the engine raises on behalf of a dataset
// are prefixed with its name through `withDataSet`.
namespace catalog::messages
{

[[nodiscard]] std::string withDataSet(std::string_view dataSet, std::string_view message);

[[nodiscard]] std::string fieldNotFound(std::string_view field);
[[nodiscard]] std::string indexNotFound(std::string_view index);
[[nodiscard]] std::string unsupportedFieldType(std::string_view field);
[[nodiscard]] std::string closedDataSet();
[[nodiscard]] std::string missingDataPacket();
[[nodiscard]] std::string invalidDataPacket();
[[nodiscard]] std::string cannotOpenFile(std::string_view fileName, std::string_view reason);

[[nodiscard]] std::string invalidInteger(std::string_view text);
[[nodiscard]] std::string invalidFloat(std::string_view text);
[[nodiscard]] std::string invalidBoolean(std::string_view text);
[[nodiscard]] std::string invalidDate(std::string_view text);
[[nodiscard]] std::string invalidTime(std::string_view text);
[[nodiscard]] std::string invalidDateTime(std::string_view text);

} // namespace catalog::messages
