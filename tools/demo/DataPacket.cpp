#include "DataPacket.h"

#include <QString>
#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <stdexcept>

namespace datapacket
{

namespace
{

// The characters Windows-1252 puts at 0x80..0x9F (0 where the code page has none).
constexpr std::array<char16_t, 32> upperControls = {
    0x20ac, 0,      0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017d, 0,      0,      0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
    0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0,      0x017e, 0x0178};

std::string escaped(std::string_view text)
{
    std::string result;
    for (const char c : text) {
        switch (c) {
        case '&':
            result += "&amp;";
            break;
        case '<':
            result += "&lt;";
            break;
        case '>':
            result += "&gt;";
            break;
        case '"':
            result += "&quot;";
            break;
        default:
            // Line breaks and other controls as the engine writes them: three decimal digits.
            if (static_cast<unsigned char>(c) < 0x20) {
                const auto code = std::to_string(static_cast<int>(c) + 1000);
                result += "&#" + code.substr(1) + ";";
            } else {
                result += c;
            }
        }
    }
    return result;
}

void check(const Field& field, const std::string& value)
{
    const auto fail = [&](const std::string& why) {
        throw std::runtime_error("field " + field.name + ", value \"" + value + "\": " + why);
    };
    if (field.type == "i4" || field.type == "i2") {
        std::size_t used = 0;
        long long number = 0;
        try {
            number = std::stoll(value, &used);
        } catch (const std::logic_error&) {
            fail("not a number");
        }
        const long long limit = field.type == "i2" ? 32767 : 2147483647;
        if (used != value.size() || number > limit || number < -limit - 1)
            fail("not a " + field.type + " number");
    } else if (field.type == "date") {
        if (value.size() != 8 || !std::all_of(value.begin(), value.end(), [](char c) {
                return c >= '0' && c <= '9';
            }))
            fail("not a yyyymmdd date");
    } else if (field.width > 0 && QString::fromUtf8(value).size() > field.width) {
        fail("longer than " + std::to_string(field.width) + " characters");
    }
}

} // namespace

std::string toWindows1252(std::string_view utf8)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(QByteArrayView(utf8.data(), static_cast<qsizetype>(utf8.size())));
    if (decoder.hasError())
        throw std::runtime_error("not UTF-8: " + std::string(utf8));
    std::string result;
    result.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code < 0x80 || (code >= 0xa0 && code <= 0xff)) {
            result += static_cast<char>(code);
            continue;
        }
        const auto found = std::find(upperControls.begin(), upperControls.end(), code);
        if (code == 0 || found == upperControls.end())
            throw std::runtime_error("no Windows-1252 form for a character in: "
                                     + std::string(utf8));
        result += static_cast<char>(0x80 + (found - upperControls.begin()));
    }
    return result;
}

std::string write(const std::vector<Field>& fields, const std::vector<TsvTable::Row>& rows)
{
    std::string out = R"(<?xml version="1.0" standalone="yes"?>  <DATAPACKET Version="2.0">)";
    out += "<METADATA><FIELDS>";
    for (const Field& field : fields) {
        out += R"(<FIELD attrname=")" + field.name + R"(" fieldtype=")" + field.type + '"';
        if (field.width > 0)
            out += R"( WIDTH=")" + std::to_string(field.width) + '"';
        out += "/>";
    }
    // Brazilian Portuguese locale: the engine sorts and compares texts by it.
    out += R"(</FIELDS><PARAMS LCID="1046"/></METADATA><ROWDATA>)";
    for (const TsvTable::Row& row : rows) {
        out += "<ROW";
        for (const Field& field : fields) {
            const auto value = row.find(field.name);
            if (value == row.end())
                continue; // a null value has no attribute
            check(field, value->second);
            out += ' ' + field.name + "=\"" + escaped(toWindows1252(value->second)) + '"';
        }
        out += "/>";
    }
    out += "</ROWDATA></DATAPACKET>";
    return out;
}

} // namespace datapacket
