#include "Messages.h"

namespace catalog::messages
{

namespace
{

std::string quoted(std::string_view text, std::string_view tail)
{
    std::string out = "'";
    out += text;
    out += "' ";
    out += tail;
    return out;
}

} // namespace

std::string withDataSet(std::string_view dataSet, std::string_view message)
{
    std::string out(dataSet);
    out += ": ";
    out += message;
    return out;
}

std::string fieldNotFound(std::string_view field)
{
    return "Field " + quoted(field, "not found");
}

std::string indexNotFound(std::string_view index)
{
    return "Index " + quoted(index, "not found");
}

std::string unsupportedFieldType(std::string_view field)
{
    return "Field " + quoted(field, "is of an unsupported type");
}

std::string closedDataSet()
{
    return "Cannot perform this operation on a closed dataset";
}

std::string missingDataPacket()
{
    return "Missing data provider or data packet";
}

std::string invalidDataPacket()
{
    return "Invalid data packet";
}

std::string cannotOpenFile(std::string_view fileName, std::string_view reason)
{
    std::string out = "Cannot open file \"";
    out += fileName;
    out += "\". ";
    out += reason;
    return out;
}

std::string invalidInteger(std::string_view text)
{
    return quoted(text, "is not a valid integer value");
}

std::string invalidFloat(std::string_view text)
{
    return quoted(text, "is not a valid floating point value");
}

std::string invalidBoolean(std::string_view text)
{
    return quoted(text, "is not a valid boolean value");
}

std::string invalidDate(std::string_view text)
{
    return quoted(text, "is not a valid date");
}

std::string invalidTime(std::string_view text)
{
    return quoted(text, "is not a valid time");
}

std::string invalidDateTime(std::string_view text)
{
    return quoted(text, "is not a valid date and time");
}

} // namespace catalog::messages
