#include "Conversions.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <ctime>

namespace catalog::conversions
{

namespace
{

constexpr double millisecondsPerDay = 86400000.0;

std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

const std::int64_t epochDays = daysFromCivil(1899, 12, 30);

bool isLeap(int y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

std::optional<double> encodeDate(int y, int m, int d)
{
    static constexpr int monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1)
        return std::nullopt;
    if (d > monthDays[m - 1] + ((m == 2 && isLeap(y)) ? 1 : 0))
        return std::nullopt;
    return static_cast<double>(daysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d))
                               - epochDays);
}

std::optional<double> encodeTime(int h, int n, int s, int ms)
{
    if (h < 0 || h > 23 || n < 0 || n > 59 || s < 0 || s > 59 || ms < 0 || ms > 999)
        return std::nullopt;
    return (((h * 60 + n) * 60 + s) * 1000 + ms) / millisecondsPerDay;
}

// Reads exactly `count` digits at `pos`.
std::optional<int> digits(std::string_view text, std::size_t pos, std::size_t count)
{
    if (pos + count > text.size())
        return std::nullopt;
    int value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// The packet writes "hh:nn:ss" or "hh:nn:sszzz"; typed constants are "hh:nn", "hh:nn:ss" or
// "hh:nn:ss.z" with up to three fraction digits.
std::optional<double> parseTime(std::string_view text, bool packetSyntax)
{
    const auto h = digits(text, 0, 2);
    const auto n = digits(text, 3, 2);
    if (!h || !n || text.size() < 5 || text[2] != ':')
        return std::nullopt;
    if (text.size() == 5)
        return packetSyntax ? std::nullopt : encodeTime(*h, *n, 0, 0);
    const auto s = digits(text, 6, 2);
    if (!s || text[5] != ':')
        return std::nullopt;
    if (text.size() == 8)
        return encodeTime(*h, *n, *s, 0);
    if (packetSyntax) {
        const auto ms = digits(text, 8, 3);
        return (ms && text.size() == 11) ? encodeTime(*h, *n, *s, *ms) : std::nullopt;
    }
    if (text[8] != '.' || text.size() < 10 || text.size() > 12)
        return std::nullopt;
    const auto ms = digits(text, 9, text.size() - 9);
    if (!ms)
        return std::nullopt;
    const int scale = text.size() == 10 ? 100 : (text.size() == 11 ? 10 : 1);
    return encodeTime(*h, *n, *s, *ms * scale);
}

std::optional<double> packetDate(std::string_view text)
{
    const auto y = digits(text, 0, 4);
    const auto m = digits(text, 4, 2);
    const auto d = digits(text, 6, 2);
    if (!y || !m || !d)
        return std::nullopt;
    return encodeDate(*y, *m, *d);
}

std::optional<double> typedDate(std::string_view text)
{
    if (text.size() != 10)
        return std::nullopt;
    if (text[4] == '-' && text[7] == '-') {
        const auto y = digits(text, 0, 4);
        const auto m = digits(text, 5, 2);
        const auto d = digits(text, 8, 2);
        return (y && m && d) ? encodeDate(*y, *m, *d) : std::nullopt;
    }
    if (text[2] == '/' && text[5] == '/') {
        const auto d = digits(text, 0, 2);
        const auto m = digits(text, 3, 2);
        const auto y = digits(text, 6, 4);
        return (y && m && d) ? encodeDate(*y, *m, *d) : std::nullopt;
    }
    return std::nullopt;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<std::int32_t> toInteger(std::string_view text)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == n)
        return std::nullopt;
    if (hex) {
        std::uint32_t value = 0;
        int significant = 0;
        for (; i < n; ++i) {
            const char c = text[i];
            int digit = 0;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else
                return std::nullopt;
            if (significant > 0 || digit != 0)
                ++significant;
            if (significant > 8)
                return std::nullopt;
            value = value * 16 + static_cast<std::uint32_t>(digit);
        }
        return static_cast<std::int32_t>(negative ? 0U - value : value);
    }
    std::int64_t value = 0;
    for (; i < n; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::optional<std::int64_t> storedInteger(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<double> storedFloat(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()
        || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<bool> storedBoolean(std::string_view text)
{
    const auto is = [text](std::string_view word) {
        if (text.size() != word.size())
            return false;
        for (std::size_t i = 0; i < word.size(); ++i) {
            if ((text[i] | 0x20) != word[i])
                return false;
        }
        return true;
    };
    if (is("true"))
        return true;
    if (is("false"))
        return false;
    return std::nullopt;
}

std::optional<double> storedDateTime(std::string_view text, FieldType type)
{
    if (type == FieldType::Time)
        return parseTime(text, true);
    if (text.size() == 8)
        return packetDate(text);
    if (type == FieldType::Date || text.size() < 17 || text[8] != 'T')
        return std::nullopt;
    const auto date = packetDate(text.substr(0, 8));
    const auto time = parseTime(text.substr(9), true);
    if (!date || !time)
        return std::nullopt;
    return *date + *time;
}

std::optional<double> dateTimeConstant(std::string_view text, FieldType type)
{
    text = trimmed(text);
    if (const auto stored = storedDateTime(text, type))
        return stored;
    if (type == FieldType::Time)
        return parseTime(text, false);
    const auto date = typedDate(text.substr(0, 10));
    if (!date || text.size() == 10)
        return date;
    if (type == FieldType::Date || (text[10] != ' ' && text[10] != 'T'))
        return std::nullopt;
    const auto time = parseTime(trimmed(text.substr(11)), false);
    if (!time)
        return std::nullopt;
    return *date + *time;
}

CivilTime decodeDateTime(double value)
{
    CivilTime out;
    // Outside years 1..9999 (only reachable through arithmetic) there is no calendar date.
    if (!(value >= -693594.0 && value < 2958466.0))
        return out;
    const double dayPart = std::floor(value);
    std::int64_t z = static_cast<std::int64_t>(dayPart) + epochDays + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    out.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    out.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    out.year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (out.month <= 2));
    const auto ms =
        std::min<std::int64_t>(std::llround((value - dayPart) * millisecondsPerDay), 86399999);
    out.hour = static_cast<int>(ms / 3600000);
    out.minute = static_cast<int>(ms / 60000 % 60);
    out.second = static_cast<int>(ms / 1000 % 60);
    return out;
}

double now()
{
    using namespace std::chrono;
    const auto clock = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(clock);
    std::tm local{};
    localtime_r(&seconds, &local);
    const auto ms = duration_cast<milliseconds>(clock.time_since_epoch()).count() % 1000;
    const auto date = encodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    const auto time =
        encodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), static_cast<int>(ms));
    return date.value_or(0) + time.value_or(0);
}

} // namespace catalog::conversions
