#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstring>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

// A text file in the layout of the Windows profile functions: "[section]" lines,
// "key=value" lines, CR LF, Windows-1251. Names match without regard to case
// (Cyrillic too), the first section and the first key of a name win, a value is
// trimmed of blanks and of one pair of enclosing quotes and cut to 2047 characters.
//
// The file is parsed once into an index of its sections; a key is found by one
// pass over its own section, so reading all keys costs time in proportion to the
// file's size.
class IniDocument
{
public:
    static constexpr qsizetype kMaxValueChars = 2047;
    // Files beyond this are refused rather than read into memory.
    static constexpr qint64 kMaxFileBytes = qint64(1) << 30;

    enum class LoadStatus { Ok, Missing, TooLarge, ReadError };

    IniDocument() = default;
    explicit IniDocument(QByteArray bytes);
    IniDocument(const IniDocument &other);
    IniDocument &operator=(const IniDocument &other);
    IniDocument(IniDocument &&) noexcept = default;
    IniDocument &operator=(IniDocument &&) noexcept = default;

    // A missing or unreadable file gives an empty document (every read falls back).
    static IniDocument load(const QString &path, LoadStatus *status = nullptr,
                            qint64 maxBytes = kMaxFileBytes);

    const QByteArray &bytes() const { return m_bytes; }

    // Index of the first section of that name, or -1.
    int findSection(QByteArrayView name) const;
    int sectionCount() const { return int(m_sections.size()); }

    // Calls f(key, value) for every "key=value" line of the section, in file order.
    template <class F>
    void forEachKey(int section, F &&f) const;

    std::optional<QByteArrayView> value(int section, QByteArrayView key) const;
    std::optional<QByteArrayView> value(QByteArrayView section, QByteArrayView key) const;

    QString readString(QStringView section, QStringView key, const QString &fallback) const;
    int readInt(QStringView section, QStringView key, int fallback) const;

    // Changes only the key's own line, or adds the key at the end of its section,
    // or the section at the end of the file. CR and LF in a value become blanks.
    void setValue(QByteArrayView section, QByteArrayView key, QByteArrayView value);
    void setString(QStringView section, QStringView key, QStringView value);

    // Writes atomically; on failure errorMessage says "Unable to write to <path>".
    bool save(const QString &path, QString *errorMessage = nullptr) const;

    // Blanks (and a CR left by CR LF) around a name or value.
    static QByteArrayView trimBlanks(QByteArrayView raw);
    // As read: blanks and one pair of enclosing quotes dropped, cut to 2047 characters.
    static QByteArrayView trimValue(QByteArrayView raw);
    static bool namesEqual(QByteArrayView a, QByteArrayView b);

    // Hash and equality of names without regard to case, for name tables.
    struct FoldHash {
        std::size_t operator()(std::string_view s) const noexcept;
    };
    struct FoldEqual {
        bool operator()(std::string_view a, std::string_view b) const noexcept;
    };

private:
    struct Section {
        qsizetype nameBegin, nameLength; // within m_bytes
        qsizetype bodyBegin, bodyEnd;    // the lines after the header line
    };
    void index();
    // Calls f(keyBegin, keyEnd, valueBegin, lineEnd) with raw offsets; stops when f returns false.
    template <class F>
    void scanLines(int section, F &&f) const;

    QByteArray m_bytes;
    std::vector<Section> m_sections;
    std::unordered_map<std::string_view, int, FoldHash, FoldEqual> m_byName;
};

template <class F>
void IniDocument::scanLines(int section, F &&f) const
{
    if (section < 0 || section >= int(m_sections.size()))
        return;
    const char *data = m_bytes.constData();
    const Section &s = m_sections[size_t(section)];
    qsizetype pos = s.bodyBegin;
    while (pos < s.bodyEnd) {
        const char *nl = static_cast<const char *>(memchr(data + pos, '\n', size_t(s.bodyEnd - pos)));
        const qsizetype lineEnd = nl ? qsizetype(nl - data) : s.bodyEnd;
        const char *eq = static_cast<const char *>(memchr(data + pos, '=', size_t(lineEnd - pos)));
        if (eq) {
            if (!f(pos, qsizetype(eq - data), qsizetype(eq - data) + 1, lineEnd))
                return;
        }
        pos = lineEnd + 1;
    }
}

template <class F>
void IniDocument::forEachKey(int section, F &&f) const
{
    const char *data = m_bytes.constData();
    scanLines(section, [&](qsizetype kb, qsizetype ke, qsizetype vb, qsizetype le) {
        const QByteArrayView key = trimBlanks(QByteArrayView(data + kb, ke - kb));
        f(key, trimValue(QByteArrayView(data + vb, le - vb)));
        return true;
    });
}
