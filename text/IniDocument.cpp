#include "IniDocument.h"

#include "AtomicFile.h"
#include "Cp1251.h"
#include "NumberFormat.h"

#include <QFile>

IniDocument::IniDocument(QByteArray bytes) : m_bytes(std::move(bytes))
{
    index();
}

IniDocument::IniDocument(const IniDocument &other) : m_bytes(other.m_bytes)
{
    index(); // the name index points into our own bytes
}

IniDocument &IniDocument::operator=(const IniDocument &other)
{
    if (this != &other) {
        m_bytes = other.m_bytes;
        index();
    }
    return *this;
}

IniDocument IniDocument::load(const QString &path, LoadStatus *status, qint64 maxBytes)
{
    auto report = [&](LoadStatus s) {
        if (status)
            *status = s;
    };
    QFile f(path);
    if (!f.exists()) {
        report(LoadStatus::Missing);
        return {};
    }
    if (!f.open(QIODevice::ReadOnly)) {
        report(LoadStatus::ReadError);
        return {};
    }
    if (f.size() > maxBytes) {
        report(LoadStatus::TooLarge);
        return {};
    }
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        report(LoadStatus::ReadError);
        return {};
    }
    report(LoadStatus::Ok);
    return IniDocument(std::move(bytes));
}

std::size_t IniDocument::FoldHash::operator()(std::string_view s) const noexcept
{
    std::size_t h = 1469598103934665603ull;
    for (char c : s) {
        h ^= cp1251::foldCase(static_cast<unsigned char>(c));
        h *= 1099511628211ull;
    }
    return h;
}

bool IniDocument::FoldEqual::operator()(std::string_view a, std::string_view b) const noexcept
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (cp1251::foldCase(static_cast<unsigned char>(a[i])) != cp1251::foldCase(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool IniDocument::namesEqual(QByteArrayView a, QByteArrayView b)
{
    return FoldEqual{}(std::string_view(a.data(), size_t(a.size())), std::string_view(b.data(), size_t(b.size())));
}

QByteArrayView IniDocument::trimBlanks(QByteArrayView t)
{
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    qsizetype b = 0, e = t.size();
    while (b < e && blank(t[b]))
        ++b;
    while (e > b && blank(t[e - 1]))
        --e;
    return t.sliced(b, e - b);
}

QByteArrayView IniDocument::trimValue(QByteArrayView raw)
{
    QByteArrayView t = trimBlanks(raw);
    if (t.size() >= 2 && (t.front() == '"' || t.front() == '\'') && t.back() == t.front())
        t = t.sliced(1, t.size() - 2);
    if (t.size() > kMaxValueChars)
        t = t.first(kMaxValueChars);
    return t;
}

void IniDocument::index()
{
    m_sections.clear();
    m_byName.clear();
    const char *data = m_bytes.constData();
    const qsizetype size = m_bytes.size();
    qsizetype pos = 0;
    while (pos < size) {
        const char *nl = static_cast<const char *>(memchr(data + pos, '\n', size_t(size - pos)));
        const qsizetype lineEnd = nl ? qsizetype(nl - data) : size;
        qsizetype p = pos;
        while (p < lineEnd && (data[p] == ' ' || data[p] == '\t'))
            ++p;
        if (p < lineEnd && data[p] == '[') {
            const char *close = static_cast<const char *>(memchr(data + p + 1, ']', size_t(lineEnd - p - 1)));
            const qsizetype nameEnd = close ? qsizetype(close - data) : lineEnd;
            const QByteArrayView name = trimBlanks(QByteArrayView(data + p + 1, nameEnd - p - 1));
            if (!m_sections.empty())
                m_sections.back().bodyEnd = pos;
            const qsizetype nameBegin = name.data() - data;
            m_sections.push_back({nameBegin, name.size(), qMin(lineEnd + 1, size), size});
            m_byName.emplace(std::string_view(name.data(), size_t(name.size())), int(m_sections.size() - 1));
        }
        pos = lineEnd + 1;
    }
}

int IniDocument::findSection(QByteArrayView name) const
{
    const auto it = m_byName.find(std::string_view(name.data(), size_t(name.size())));
    return it == m_byName.end() ? -1 : it->second;
}

std::optional<QByteArrayView> IniDocument::value(int section, QByteArrayView key) const
{
    std::optional<QByteArrayView> found;
    const char *data = m_bytes.constData();
    scanLines(section, [&](qsizetype kb, qsizetype ke, qsizetype vb, qsizetype le) {
        if (!namesEqual(trimBlanks(QByteArrayView(data + kb, ke - kb)), key))
            return true;
        found = trimValue(QByteArrayView(data + vb, le - vb));
        return false;
    });
    return found;
}

std::optional<QByteArrayView> IniDocument::value(QByteArrayView section, QByteArrayView key) const
{
    return value(findSection(section), key);
}

QString IniDocument::readString(QStringView section, QStringView key, const QString &fallback) const
{
    const auto v = value(cp1251::encode(section), cp1251::encode(key));
    return v ? cp1251::decode(*v) : fallback;
}

int IniDocument::readInt(QStringView section, QStringView key, int fallback) const
{
    const auto v = value(cp1251::encode(section), cp1251::encode(key));
    return v ? numfmt::parseInt(*v, fallback) : fallback;
}

namespace {

QByteArray oneLine(QByteArrayView text)
{
    QByteArray out(text.data(), text.size());
    for (char &c : out)
        if (c == '\r' || c == '\n')
            c = ' ';
    return out;
}

} // namespace

void IniDocument::setValue(QByteArrayView sectionName, QByteArrayView keyName, QByteArrayView rawValue)
{
    const QByteArray section = oneLine(sectionName);
    const QByteArray key = oneLine(keyName);
    const QByteArray value = oneLine(rawValue);
    const int s = findSection(section);
    if (s < 0) {
        if (!m_bytes.isEmpty() && !m_bytes.endsWith('\n'))
            m_bytes.append("\r\n");
        m_bytes.append('[').append(section).append("]\r\n").append(key).append('=').append(value).append("\r\n");
        index();
        return;
    }
    const char *data = m_bytes.constData();
    qsizetype replaceBegin = -1, replaceEnd = -1;
    scanLines(s, [&](qsizetype kb, qsizetype ke, qsizetype vb, qsizetype le) {
        if (!namesEqual(trimBlanks(QByteArrayView(data + kb, ke - kb)), key))
            return true;
        replaceBegin = vb;
        replaceEnd = (le > vb && data[le - 1] == '\r') ? le - 1 : le;
        return false;
    });
    if (replaceBegin >= 0) {
        m_bytes.replace(replaceBegin, replaceEnd - replaceBegin, value);
    } else {
        // After the section's last line that is not blank, so that blank lines
        // before the next section stay where they are.
        const Section &sec = m_sections[size_t(s)];
        qsizetype insertAt = sec.bodyBegin;
        qsizetype pos = sec.bodyBegin;
        while (pos < sec.bodyEnd) {
            const char *nl = static_cast<const char *>(memchr(data + pos, '\n', size_t(sec.bodyEnd - pos)));
            const qsizetype lineEnd = nl ? qsizetype(nl - data) : sec.bodyEnd;
            if (!trimBlanks(QByteArrayView(data + pos, lineEnd - pos)).isEmpty())
                insertAt = nl ? lineEnd + 1 : lineEnd;
            pos = lineEnd + 1;
        }
        QByteArray line;
        if (insertAt == m_bytes.size() && !m_bytes.endsWith('\n'))
            line.append("\r\n");
        line.append(key).append('=').append(value).append("\r\n");
        m_bytes.insert(insertAt, line);
    }
    index();
}

void IniDocument::setString(QStringView section, QStringView key, QStringView value)
{
    setValue(cp1251::encode(section), cp1251::encode(key), cp1251::encode(value));
}

bool IniDocument::save(const QString &path, QString *errorMessage) const
{
    return writeFileAtomically(path, m_bytes, errorMessage);
}
