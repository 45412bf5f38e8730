#include "params/user_locale.h"

#include <langinfo.h>
#include <locale.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <initializer_list>
#include <optional>
#include <vector>

#include "params/ascii_text.h"

namespace velmora {
namespace {

// 1899-12-30, the day 0 of TDateTime, counted from 1970-01-01.
constexpr int64_t kDayZeroFromUnixEpoch = -25569;
constexpr int64_t kMsPerDay = 86400000;
constexpr double kMinDateValue = -693594.0;  // before 0001-01-01
constexpr double kMaxDateValue = 2958466.0;  // after 9999-12-31

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's civil-days algorithm).
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = int(doy - (153 * mp + 2) / 5 + 1);
    month = int(mp < 10 ? mp + 3 : mp - 9);
    year = int(yoe + era * 400 + (month <= 2));
}

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

int CurrentYear() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_year + 1900;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
std::string LangInfo(nl_item item, locale_t loc, const std::string& fallback) {
    const char* text = nl_langinfo_l(item, loc);
    return text && *text ? std::string(text) : fallback;
}

UserLocale ReadEnvironmentLocale() {
    UserLocale result;
    if (locale_t numeric = newlocale(LC_NUMERIC_MASK, "", locale_t(nullptr))) {
        const char* radix = nl_langinfo_l(RADIXCHAR, numeric);
        // A separator of more than one byte cannot be written as one character; keep ".".
        if (radix && std::strlen(radix) == 1) result.DecimalSeparator = radix[0];
        freelocale(numeric);
    }
    if (locale_t time = newlocale(LC_TIME_MASK, "", locale_t(nullptr))) {
        result.ShortDateFormat = LangInfo(D_FMT, time, result.ShortDateFormat);
        result.LongTimeFormat = LangInfo(T_FMT, time, result.LongTimeFormat);
        result.AmText = LangInfo(AM_STR, time, result.AmText);
        result.PmText = LangInfo(PM_STR, time, result.PmText);
        freelocale(time);
    }
    return result;
}

std::optional<UserLocale>& LocaleOverride() {
    static std::optional<UserLocale> override;
    return override;
}

struct DateTimeParts {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

void AppendNumber(std::string& out, int value, int width, char pad, bool noPad) {
    std::string digits = std::to_string(value);
    if (!noPad)
        while (int(digits.size()) < width) digits.insert(digits.begin(), pad);
    out += digits;
}

// Writes parts by a strftime pattern; see the header for the conversions understood.
void AppendFormatted(std::string& out, std::string_view format, const DateTimeParts& p,
                     const UserLocale& locale, int depth = 0) {
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 >= format.size()) {
            out += format[i];
            continue;
        }
        ++i;
        bool noPad = false;
        char pad = 0;
        while (i < format.size() && (format[i] == '-' || format[i] == '_' || format[i] == '0' ||
                                     format[i] == 'E' || format[i] == 'O')) {
            if (format[i] == '-') noPad = true;
            if (format[i] == '_') pad = ' ';
            ++i;
        }
        if (i >= format.size()) break;
        const int hour12 = p.hour % 12 == 0 ? 12 : p.hour % 12;
        const auto nested = [&](std::string_view pattern) {
            if (depth < 2) AppendFormatted(out, pattern, p, locale, depth + 1);
        };
        switch (format[i]) {
            case 'd': AppendNumber(out, p.day, 2, pad ? pad : '0', noPad); break;
            case 'e': AppendNumber(out, p.day, 2, pad ? pad : ' ', noPad); break;
            case 'm': AppendNumber(out, p.month, 2, pad ? pad : '0', noPad); break;
            case 'y': AppendNumber(out, p.year % 100, 2, pad ? pad : '0', noPad); break;
            case 'Y': AppendNumber(out, p.year, 1, '0', true); break;
            case 'C': AppendNumber(out, p.year / 100, 2, pad ? pad : '0', noPad); break;
            case 'H': AppendNumber(out, p.hour, 2, pad ? pad : '0', noPad); break;
            case 'I': AppendNumber(out, hour12, 2, pad ? pad : '0', noPad); break;
            case 'M': AppendNumber(out, p.minute, 2, pad ? pad : '0', noPad); break;
            case 'S': AppendNumber(out, p.second, 2, pad ? pad : '0', noPad); break;
            case 'p': out += p.hour < 12 ? locale.AmText : locale.PmText; break;
            case 'P':
                out += LowerAscii(p.hour < 12 ? locale.AmText : locale.PmText);
                break;
            case 'D': nested("%m/%d/%y"); break;
            case 'F': nested("%Y-%m-%d"); break;
            case 'r': nested("%I:%M:%S %p"); break;
            case 'R': nested("%H:%M"); break;
            case 'T': nested("%H:%M:%S"); break;
            case 'n': out += '\n'; break;
            case 't': out += '\t'; break;
            case '%': out += '%'; break;
            default: break;
        }
    }
}

bool PartsOf(TDateTime value, DateTimeParts& p) {
    return DecodeDateTime(value, p.year, p.month, p.day, p.hour, p.minute, p.second);
}

enum class DateField { Day, Month, Year };

// What the short date format tells a reader: the order of day, month and year, and the
// characters it writes between them.
struct DateLayout {
    std::vector<DateField> order;
    std::string separators = " ";
};

DateLayout DateLayoutOf(std::string_view format) {
    DateLayout layout;
    const auto add = [&layout](std::initializer_list<DateField> fields) {
        for (DateField f : fields) {
            bool seen = false;
            for (DateField g : layout.order) seen = seen || g == f;
            if (!seen) layout.order.push_back(f);
        }
    };
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            layout.separators += format[i];
            continue;
        }
        ++i;
        while (i < format.size() && std::string_view("-_0EO").find(format[i]) != std::string_view::npos) ++i;
        if (i >= format.size()) break;
        switch (format[i]) {
            case 'd': case 'e': add({DateField::Day}); break;
            case 'm': add({DateField::Month}); break;
            case 'y': case 'Y': add({DateField::Year}); break;
            case 'D': add({DateField::Month, DateField::Day, DateField::Year}); layout.separators += '/'; break;
            case 'F': add({DateField::Year, DateField::Month, DateField::Day}); layout.separators += '-'; break;
            default: break;
        }
    }
    if (layout.order.size() != 3) {
        layout.order = {DateField::Month, DateField::Day, DateField::Year};
        layout.separators += '/';
    }
    return layout;
}

// Splits text into runs of digits; false when a character between them is not one of
// separators or a run is longer than maxDigits.
bool DigitRuns(std::string_view text, std::string_view separators,
               std::vector<std::string_view>& runs, size_t maxDigits) {
    size_t i = 0;
    while (i < text.size()) {
        if (!IsDigit(text[i])) {
            if (separators.find(text[i]) == std::string_view::npos) return false;
            ++i;
            continue;
        }
        size_t start = i;
        while (i < text.size() && IsDigit(text[i])) ++i;
        if (i - start > maxDigits) return false;
        runs.push_back(text.substr(start, i - start));
    }
    return true;
}

int RunValue(std::string_view run) {
    int v = 0;
    for (char c : run) v = v * 10 + (c - '0');
    return v;
}

TDateTime CombineDateAndTime(TDateTime date, TDateTime time) {
    return date >= 0 ? date + time : date - time;
}

}  // namespace

const UserLocale& CurrentUserLocale() {
    if (const auto& override = LocaleOverride()) return *override;
    static const UserLocale environment = ReadEnvironmentLocale();
    return environment;
}

void SetUserLocaleForTesting(const UserLocale& locale) { LocaleOverride() = locale; }

void ClearUserLocaleForTesting() { LocaleOverride().reset(); }

std::string FormatRealGeneral(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";
    constexpr int kPrecision = 15;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", kPrecision - 1, value);
    // buffer: [-]d.dddddddddddddde[+-]x...
    const char* p = buffer;
    const bool negative = *p == '-';
    if (negative) ++p;
    std::string digits;
    while (*p && *p != 'e') {
        if (IsDigit(*p)) digits += *p;
        ++p;
    }
    const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    const char sep = CurrentUserLocale().DecimalSeparator;
    std::string out = negative ? "-" : "";
    if (exponent + 1 > kPrecision || exponent + 1 < -3) {
        out += digits[0];
        if (digits.size() > 1) {
            out += sep;
            out.append(digits, 1);
        }
        out += 'E';
        if (exponent < 0) out += '-';
        out += std::to_string(std::abs(exponent));
    } else if (exponent >= 0) {
        const size_t intDigits = size_t(exponent) + 1;
        if (digits.size() <= intDigits) {
            out += digits;
            out.append(intDigits - digits.size(), '0');
        } else {
            out.append(digits, 0, intDigits);
            out += sep;
            out.append(digits, intDigits);
        }
    } else {
        out += '0';
        out += sep;
        out.append(size_t(-exponent - 1), '0');
        out += digits;
    }
    return out;
}

bool ParseReal(std::string_view text, double& value) {
    text = Trim(text);
    const char sep = CurrentUserLocale().DecimalSeparator;
    std::string normal;
    size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') normal += '-';
        ++i;
    }
    size_t mantissaDigits = 0;
    while (i < text.size() && IsDigit(text[i])) normal += text[i++], ++mantissaDigits;
    if (i < text.size() && text[i] == sep) {
        normal += '.';
        ++i;
        while (i < text.size() && IsDigit(text[i])) normal += text[i++], ++mantissaDigits;
    }
    if (mantissaDigits == 0) return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        normal += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) normal += text[i++];
        size_t exponentDigits = 0;
        while (i < text.size() && IsDigit(text[i])) normal += text[i++], ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    if (i != text.size()) return false;
    double result = 0;
    const auto [end, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), result);
    if (ec != std::errc() || end != normal.data() + normal.size() || !std::isfinite(result))
        return false;
    value = result;
    return true;
}

bool EncodeDate(int year, int month, int day, TDateTime& value) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month))
        return false;
    value = double(DaysFromCivil(year, month, day) - kDayZeroFromUnixEpoch);
    return true;
}

bool DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& minute,
                    int& second) {
    if (!(value > kMinDateValue && value < kMaxDateValue)) return false;
    const double whole = std::trunc(value);
    int64_t ms = std::llround(std::fabs(value - whole) * double(kMsPerDay));
    if (ms >= kMsPerDay) ms = kMsPerDay - 1;
    int y = 0, m = 0, d = 0;
    CivilFromDays(int64_t(whole) + kDayZeroFromUnixEpoch, y, m, d);
    if (y < 1 || y > 9999) return false;
    year = y;
    month = m;
    day = d;
    const int64_t seconds = ms / 1000;
    hour = int(seconds / 3600);
    minute = int(seconds / 60 % 60);
    second = int(seconds % 60);
    return true;
}

std::string FormatShortDate(TDateTime value) {
    DateTimeParts p;
    std::string out;
    if (PartsOf(value, p)) AppendFormatted(out, CurrentUserLocale().ShortDateFormat, p, CurrentUserLocale());
    return out;
}

std::string FormatLongTime(TDateTime value) {
    DateTimeParts p;
    std::string out;
    if (PartsOf(value, p)) AppendFormatted(out, CurrentUserLocale().LongTimeFormat, p, CurrentUserLocale());
    return out;
}

std::string FormatDateAndTime(TDateTime value) {
    DateTimeParts p;
    if (!PartsOf(value, p)) return {};
    const UserLocale& locale = CurrentUserLocale();
    std::string out;
    AppendFormatted(out, locale.ShortDateFormat, p, locale);
    out += ' ';
    AppendFormatted(out, locale.LongTimeFormat, p, locale);
    return out;
}

bool ParseShortDate(std::string_view text, TDateTime& value) {
    text = Trim(text);
    const DateLayout layout = DateLayoutOf(CurrentUserLocale().ShortDateFormat);
    std::vector<std::string_view> runs;
    if (!DigitRuns(text, layout.separators, runs, 4) || runs.size() < 2 || runs.size() > 3)
        return false;
    std::vector<DateField> order = layout.order;
    if (runs.size() == 2) std::erase(order, DateField::Year);
    int year = CurrentYear(), month = 0, day = 0;
    for (size_t i = 0; i < runs.size(); ++i) {
        const int v = RunValue(runs[i]);
        switch (order[i]) {
            case DateField::Day:
                if (runs[i].size() > 2) return false;
                day = v;
                break;
            case DateField::Month:
                if (runs[i].size() > 2) return false;
                month = v;
                break;
            case DateField::Year:
                year = runs[i].size() <= 2 ? (v < 69 ? 2000 + v : 1900 + v) : v;
                break;
        }
    }
    return EncodeDate(year, month, day, value);
}

bool ParseTime(std::string_view text, TDateTime& value) {
    text = Trim(text);
    const UserLocale& locale = CurrentUserLocale();
    int halfDay = -1;  // -1 none, 0 AM, 1 PM
    for (int pm = 0; pm < 2 && halfDay < 0; ++pm) {
        for (std::string_view marker : {std::string_view(pm ? locale.PmText : locale.AmText),
                                        std::string_view(pm ? "PM" : "AM")}) {
            if (!marker.empty() && text.size() > marker.size() &&
                EqualsIgnoreAsciiCase(text.substr(text.size() - marker.size()), marker)) {
                text = Trim(text.substr(0, text.size() - marker.size()));
                halfDay = pm;
                break;
            }
        }
    }
    int fields[3] = {0, 0, 0};
    int count = 0;
    size_t i = 0;
    while (count < 3) {
        size_t start = i;
        while (i < text.size() && IsDigit(text[i]) && i - start < 2) ++i;
        if (i == start) return false;
        fields[count++] = RunValue(text.substr(start, i - start));
        if (i == text.size()) break;
        if (text[i] != ':') return false;
        ++i;
    }
    if (i != text.size() || count < 2) return false;
    int hour = fields[0];
    if (halfDay >= 0) {
        if (hour < 1 || hour > 12) return false;
        hour = hour % 12 + (halfDay == 1 ? 12 : 0);
    }
    if (hour > 23 || fields[1] > 59 || fields[2] > 59) return false;
    value = (hour * 3600.0 + fields[1] * 60.0 + fields[2]) / 86400.0;
    return true;
}

bool ParseDateTime(std::string_view text, TDateTime& value) {
    text = Trim(text);
    if (text.size() > 256) return false;
    TDateTime date = 0;
    if (ParseShortDate(text, date)) {
        value = date;
        return true;
    }
    for (size_t i = 1; i < text.size(); ++i) {
        if (text[i] != ' ' || text[i - 1] == ' ') continue;
        TDateTime time = 0;
        if (ParseShortDate(text.substr(0, i), date) && ParseTime(text.substr(i), time)) {
            value = CombineDateAndTime(date, time);
            return true;
        }
    }
    return false;
}

}  // namespace velmora
