// The user's number and date conventions, and the texts built with them.
//
// The conventions come from the C library's locale of the user's environment (LANG, LC_ALL,
// LC_NUMERIC, LC_TIME), read once at first use with newlocale/nl_langinfo_l. The process-wide
// locale set by setlocale is neither read nor changed, so printf, streams and the number texts
// of the by-name access stay locale-independent. A locale that cannot be loaded gives the
// conventions of the "C" locale. Tests replace the conventions with SetUserLocaleForTesting.
//
// Date and time formats are strftime patterns; the conversions understood are %d %e %m %y %Y
// %C %D %F %H %I %M %S %p %P %r %R %T %n %t %% (the flags "-", "_", "0" and the modifiers E
// and O are accepted and ignored); any other conversion writes nothing.
#pragma once

#include <string>
#include <string_view>

#include "params/io_params_types.h"

namespace velmora {

struct UserLocale {
    char DecimalSeparator = '.';
    std::string ShortDateFormat = "%m/%d/%y";
    std::string LongTimeFormat = "%H:%M:%S";
    std::string AmText = "AM";
    std::string PmText = "PM";
};

// The user's conventions (read from the environment at first use, or the test override).
const UserLocale& CurrentUserLocale();
void SetUserLocaleForTesting(const UserLocale& locale);
// Drops the override; the environment's conventions apply again.
void ClearUserLocaleForTesting();

// A real in the general format: up to 15 significant digits, fixed notation unless the
// magnitude is below 1E-4 or 1E15 and above, then "1.5E-7" style; the user's decimal separator.
std::string FormatRealGeneral(double value);
// Reads a decimal number written with the user's decimal separator, blanks around it ignored:
// [+-]digits[sep digits][E[+-]digits]. False (value unchanged) for anything else or overflow.
bool ParseReal(std::string_view text, double& value);

// Days since 1899-12-30 for a date of the proleptic Gregorian calendar, years 1 to 9999.
bool EncodeDate(int year, int month, int day, TDateTime& value);
// The calendar date and time of day of a TDateTime; false outside years 1 to 9999 or for NaN.
bool DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& minute,
                    int& second);

// Texts of a TDateTime in the user's formats; empty for a value outside years 1 to 9999.
std::string FormatShortDate(TDateTime value);
std::string FormatLongTime(TDateTime value);
// The short date, a blank, the long time.
std::string FormatDateAndTime(TDateTime value);

// Reads a date in the order of the user's short date format: the day, month and year numbers
// separated by blanks or the characters that format writes between them; without a year the
// current year is taken; a year
// of one or two digits means 1969 to 2068. Blanks around the text are ignored. The result is
// midnight of that day; false (value unchanged) for anything else.
bool ParseShortDate(std::string_view text, TDateTime& value);
// Reads "hours:minutes[:seconds]" with an optional AM/PM text after it.
bool ParseTime(std::string_view text, TDateTime& value);
// A short date, optionally followed by blanks and a time.
bool ParseDateTime(std::string_view text, TDateTime& value);

}  // namespace velmora
