#include "settings/ini_file.h"

#include "platform/text/sjis.h"
#include "platform/text/text_lines.h"

namespace quillon {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArray trimmed(const QByteArray& s) {
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && isBlank(s[begin]))
        ++begin;
    while (end > begin && isBlank(s[end - 1]))
        --end;
    return s.mid(begin, end - begin);
}

// ASCII folding only: bytes above 0x7F are Shift-JIS and must compare exactly.
char foldAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool sameName(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (foldAscii(a[i]) != foldAscii(b[i]))
            return false;
    return true;
}

std::optional<QByteArray> sectionName(const QByteArray& line) {
    const QByteArray t = trimmed(line);
    if (!t.startsWith('['))
        return std::nullopt;
    const qsizetype close = t.indexOf(']');
    if (close < 0)
        return std::nullopt;
    return trimmed(t.mid(1, close - 1));
}

std::optional<QByteArray> keyName(const QByteArray& line) {
    const qsizetype eq = line.indexOf('=');
    if (eq < 0)
        return std::nullopt;
    return trimmed(line.left(eq));
}

bool isQuote(char c) {
    return c == '"' || c == '\'';
}

bool wrappedInQuotes(const QByteArray& s) {
    return s.size() >= 2 && isQuote(s.front()) && s.back() == s.front();
}

QByteArray readValue(const QByteArray& line) {
    QByteArray raw = line.mid(line.indexOf('=') + 1);
    const qsizetype nul = raw.indexOf('\0');
    if (nul >= 0)
        raw.truncate(nul);
    QByteArray v = trimmed(raw);
    if (wrappedInQuotes(v))
        v = v.mid(1, v.size() - 2);
    return sjis::cutToCharacters(v, IniDocument::ValueBufferSize - 1);
}

QByteArray encodeValue(const QByteArray& value) {
    const bool quote = !value.isEmpty() &&
                       (isBlank(value.front()) || isBlank(value.back()) || wrappedInQuotes(value));
    return quote ? '"' + value + '"' : value;
}

} // namespace

IniDocument IniDocument::parse(const QByteArray& bytes) {
    IniDocument doc;
    doc.lines_ = splitLines(bytes);
    return doc;
}

QByteArray IniDocument::serialize() const {
    QByteArray out;
    for (const QByteArray& line : lines_) {
        out += line;
        out += "\r\n";
    }
    return out;
}

qsizetype IniDocument::findSection(const QByteArray& section) const {
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const auto name = sectionName(lines_[i]);
        if (name && sameName(*name, section))
            return i;
    }
    return -1;
}

qsizetype IniDocument::findKey(qsizetype header, const QByteArray& key) const {
    for (qsizetype i = header + 1; i < lines_.size() && !sectionName(lines_[i]); ++i) {
        const auto name = keyName(lines_[i]);
        if (name && sameName(*name, key))
            return i;
    }
    return -1;
}

qsizetype IniDocument::sectionInsertPoint(qsizetype header) const {
    qsizetype after = header + 1;
    for (qsizetype i = header + 1; i < lines_.size() && !sectionName(lines_[i]); ++i)
        if (!trimmed(lines_[i]).isEmpty())
            after = i + 1;
    return after;
}

std::optional<QByteArray> IniDocument::value(const QByteArray& section,
                                             const QByteArray& key) const {
    const qsizetype header = findSection(section);
    if (header < 0)
        return std::nullopt;
    const qsizetype line = findKey(header, key);
    if (line < 0)
        return std::nullopt;
    return readValue(lines_[line]);
}

bool IniDocument::setValue(const QByteArray& section, const QByteArray& key,
                           const QByteArray& value) {
    if (value.contains('\r') || value.contains('\n') || value.contains('\0'))
        return false;
    const QByteArray encoded = encodeValue(value);
    const qsizetype header = findSection(section);
    if (header < 0) {
        lines_.append('[' + section + ']');
        lines_.append(key + '=' + encoded);
        return true;
    }
    const qsizetype line = findKey(header, key);
    if (line >= 0) {
        // Keep the key as the file spells it.
        lines_[line] = *keyName(lines_[line]) + '=' + encoded;
        return true;
    }
    lines_.insert(sectionInsertPoint(header), key + '=' + encoded);
    return true;
}

} // namespace quillon
