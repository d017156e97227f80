#pragma once

#include <string>

namespace catalog
{

// How a field's values compare; every value is kept as the text the file holds.
enum class FieldType {
    Text,     // string, string.uni, Guid and type tokens this reader does not know
    Integer,  // i1..i8, ui1..ui4, Autoinc
    Float,    // r4, r8, r10, Money, fixed, fixedFMT
    Boolean,  // TRUE / FALSE
    Date,     // yyyymmdd
    Time,     // hh:nn:ss[zzz]
    DateTime, // yyyymmdd or yyyymmddThh:nn:ss[zzz]
    Memo,     // bin.hex Text/WideText: plain text, compared only through LIKE
    Binary,   // other bin.hex: base64, compared only through LIKE
};

// One column of a packet, as its FIELD element declares it.
struct Field final {
    std::string name;     // fieldname when present, else attrname
    std::string attrName; // the ROW attribute that carries the values
    std::string typeToken;
    std::string subtype;
    FieldType type = FieldType::Text;
    int width = 0;
    int decimals = 0;
    bool required = false;
    bool readOnly = false;
};

[[nodiscard]] inline bool isNumeric(FieldType type)
{
    return type == FieldType::Integer || type == FieldType::Float;
}

} // namespace catalog
