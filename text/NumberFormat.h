#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>

#include <cstddef>
#include <optional>

// Number texts of the files, the readouts and the map scripts. Reals use the
// general format: shortest form with at most 15 significant digits, no trailing
// zeros, exponent form (upper-case E, no "+", no leading zeros) only below 1E-4 or
// from 1E15.
namespace numfmt {

// The decimal separator of the regional settings, taken once at start and
// replaceable (tests, and a user who changes the regional settings).
char decimalSeparator();
void setDecimalSeparator(char separator);
// Reads the separator of the system's regional settings.
void useSystemDecimalSeparator();

// Big enough for any double in the general format.
constexpr std::size_t kMaxRealChars = 32;

// Writes v into buf (at least kMaxRealChars bytes); returns the length.
std::size_t formatRealTo(char *buf, double v, char separator);

QString formatReal(double v, char separator);
inline QString formatReal(double v) { return formatReal(v, decimalSeparator()); }
void appendReal(QByteArray &out, double v, char separator);

// Script texts: the same form, then every "," replaced by ".".
QString formatRealForScript(double v);

void appendInt(QByteArray &out, long long v);

// A decimal fraction with either separator, optional sign and exponent.
// Blanks around the number are allowed; anything else is not a number.
std::optional<double> parseReal(QByteArrayView text);
inline double parseReal(QByteArrayView text, double fallback) { return parseReal(text).value_or(fallback); }

// Plain decimal with an optional sign, within 32 bits.
std::optional<int> parseInt(QByteArrayView text);
inline int parseInt(QByteArrayView text, int fallback) { return parseInt(text).value_or(fallback); }

} // namespace numfmt
