#pragma once
// A small INI document on Shift-JIS bytes, with the behaviour of the Windows profile
// functions the settings file was designed around:
// - section and key names match without regard to ASCII letter case; the first
//   matching section and, in it, the first matching key count;
// - a line is a section header when, trimmed, it begins with "[" and holds a "]";
//   a key line holds "=", the key being the trimmed text before the first "=";
// - a value is read trimmed of surrounding spaces and tabs, then of one pair of
//   matching surrounding quotes ("..." or '...'), and stops at a NUL byte; only its
//   first 2047 bytes count (the 2048-byte buffer), cut so that a double-byte
//   character is never split;
// - writing a key replaces its line, adds it after the last line of its section,
//   or appends the section at the end; every other line is kept byte for byte.
// Lines end at CR LF, LF or CR when read and are written with CR LF.
#include <QByteArray>
#include <QList>
#include <optional>

namespace quillon {

class IniDocument {
public:
    static constexpr qsizetype ValueBufferSize = 2048;

    static IniDocument parse(const QByteArray& bytes);
    QByteArray serialize() const;

    // The value of a key; nullopt when the section or the key is missing, or the
    // key's line has no "=".
    std::optional<QByteArray> value(const QByteArray& section, const QByteArray& key) const;

    // Stores a value. A value that starts or ends with a space or a tab, or that is
    // wrapped in a pair of quotes, is written in quotes so that it reads back as it
    // was. Returns false, changing nothing, for a value that cannot stand on one
    // line (CR, LF or NUL in it).
    bool setValue(const QByteArray& section, const QByteArray& key, const QByteArray& value);

    const QList<QByteArray>& lines() const { return lines_; }

private:
    // Index of the header line of the first section with that name, or -1.
    qsizetype findSection(const QByteArray& section) const;
    // Index of the key's line within the section that starts at header, or -1.
    qsizetype findKey(qsizetype header, const QByteArray& key) const;
    // One past the last non-blank line of the section that starts at header.
    qsizetype sectionInsertPoint(qsizetype header) const;

    QList<QByteArray> lines_;
};

} // namespace quillon
