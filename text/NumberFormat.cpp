#include "NumberFormat.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace numfmt {
namespace {

char g_separator = ',';

bool isBlank(char c) { return c == ' ' || c == '\t'; }

QByteArrayView trimmed(QByteArrayView t)
{
    qsizetype b = 0, e = t.size();
    while (b < e && isBlank(t[b]))
        ++b;
    while (e > b && isBlank(t[e - 1]))
        --e;
    return t.sliced(b, e - b);
}

} // namespace

char decimalSeparator() { return g_separator; }
void setDecimalSeparator(char separator) { g_separator = separator; }

void useSystemDecimalSeparator()
{
    const QString dp = QLocale::system().decimalPoint();
    g_separator = (dp.size() == 1 && dp[0].unicode() < 0x80) ? char(dp[0].unicode()) : '.';
}

std::size_t formatRealTo(char *buf, double v, char separator)
{
    if (std::isnan(v)) {
        std::memcpy(buf, "NAN", 3);
        return 3;
    }
    if (std::isinf(v)) {
        if (v < 0) {
            std::memcpy(buf, "-INF", 4);
            return 4;
        }
        std::memcpy(buf, "INF", 3);
        return 3;
    }
    if (v == 0) {
        buf[0] = '0';
        return 1;
    }
    // 15 significant digits, rounded: d.dddddddddddddde±x
    char sci[40];
    const auto r = std::to_chars(sci, sci + sizeof sci, v, std::chars_format::scientific, 14);
    const char *p = sci;
    const bool negative = *p == '-';
    if (negative)
        ++p;
    char digits[16];
    int nd = 0;
    for (; p < r.ptr && *p != 'e'; ++p)
        if (*p != '.')
            digits[nd++] = *p;
    int exponent = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), r.ptr, exponent);
    while (nd > 1 && digits[nd - 1] == '0')
        --nd;

    char *o = buf;
    if (negative)
        *o++ = '-';
    if (exponent < -4 || exponent >= 15) {
        *o++ = digits[0];
        if (nd > 1) {
            *o++ = separator;
            std::memcpy(o, digits + 1, nd - 1);
            o += nd - 1;
        }
        *o++ = 'E';
        o = std::to_chars(o, o + 8, exponent).ptr;
    } else if (exponent < 0) {
        *o++ = '0';
        *o++ = separator;
        for (int i = -1; i > exponent; --i)
            *o++ = '0';
        std::memcpy(o, digits, nd);
        o += nd;
    } else {
        const int whole = exponent + 1;
        for (int i = 0; i < whole; ++i)
            *o++ = i < nd ? digits[i] : '0';
        if (nd > whole) {
            *o++ = separator;
            std::memcpy(o, digits + whole, nd - whole);
            o += nd - whole;
        }
    }
    return static_cast<std::size_t>(o - buf);
}

QString formatReal(double v, char separator)
{
    char buf[kMaxRealChars];
    const std::size_t n = formatRealTo(buf, v, separator);
    return QString::fromLatin1(buf, static_cast<qsizetype>(n));
}

void appendReal(QByteArray &out, double v, char separator)
{
    char buf[kMaxRealChars];
    out.append(buf, static_cast<qsizetype>(formatRealTo(buf, v, separator)));
}

QString formatRealForScript(double v)
{
    return formatReal(v).replace(QLatin1Char(','), QLatin1Char('.'));
}

void appendInt(QByteArray &out, long long v)
{
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr - buf);
}

std::optional<double> parseReal(QByteArrayView text)
{
    const QByteArrayView t = trimmed(text);
    if (t.isEmpty() || t.size() > 400)
        return std::nullopt;
    // Normalise to the C form and let from_chars do the exact conversion.
    char buf[401];
    qsizetype i = 0, n = 0;
    if (t[i] == '+' || t[i] == '-') {
        if (t[i] == '-')
            buf[n++] = '-';
        ++i;
    }
    int mantissaDigits = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
        buf[n++] = t[i++];
        ++mantissaDigits;
    }
    if (i < t.size() && (t[i] == ',' || t[i] == '.')) {
        buf[n++] = '.';
        ++i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            buf[n++] = t[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        buf[n++] = 'e';
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-'))
            buf[n++] = t[i++];
        int expDigits = 0;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            buf[n++] = t[i++];
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;
    double v = 0;
    const auto r = std::from_chars(buf, buf + n, v);
    // Out of range (either way) is no number a file of ours holds: the fallback.
    if (r.ec != std::errc() || r.ptr != buf + n)
        return std::nullopt;
    return v;
}

std::optional<int> parseInt(QByteArrayView text)
{
    const QByteArrayView t = trimmed(text);
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }
    if (i == t.size())
        return std::nullopt;
    long long v = 0;
    for (; i < t.size(); ++i) {
        const char c = t[i];
        if (c < '0' || c > '9')
            return std::nullopt;
        v = v * 10 + (c - '0');
        if (v > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        v = -v;
    if (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min())
        return std::nullopt;
    return static_cast<int>(v);
}

} // namespace numfmt
