#include "platform/text/sjis_codec.h"

#include "platform/text/sjis.h"

#include <windows.h>

// Qt for Windows has no Shift-JIS codec without ICU; the system's own code page 932 is
// the table the files were always written with.

namespace quillon::sjis {

namespace {
constexpr UINT Cp932 = 932;

// A lone surrogate, or one of the private-use characters that Windows alone writes as
// the single bytes A0, FD, FE and FF: the files have no form for either.
bool hasRefusedUnit(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate() || (text[i] >= u'\uF8F0' && text[i] <= u'\uF8F3'))
            return true;
    }
    return false;
}

// Strict: false for a byte sequence that is no defined character.
bool decodeStrict(QByteArrayView bytes, QString& text) {
    const int length = int(bytes.size());
    const int size =
        MultiByteToWideChar(Cp932, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (size <= 0)
        return false;
    text.resize(size);
    return MultiByteToWideChar(Cp932, MB_ERR_INVALID_CHARS, bytes.data(), length,
                               reinterpret_cast<wchar_t*>(text.data()), size) == size;
}
} // namespace

std::optional<QByteArray> encodeCp932(QStringView text) {
    if (text.isEmpty())
        return QByteArray();
    if (hasRefusedUnit(text))
        return std::nullopt;
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int length = int(text.size());
    // No best fit: a character without a form of its own is refused, never written as a
    // look-alike (an accented letter as its plain one).
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    const int size = WideCharToMultiByte(Cp932, flags, wide, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::nullopt;
    QByteArray bytes(size, Qt::Uninitialized);
    BOOL usedDefault = FALSE;
    if (WideCharToMultiByte(Cp932, flags, wide, length, bytes.data(), size, nullptr,
                            &usedDefault) != size ||
        usedDefault)
        return std::nullopt;
    // Only what reads back as itself is a form.
    QString back;
    if (!decodeStrict(bytes, back) || back != text)
        return std::nullopt;
    return bytes;
}

QString decodeCp932(QByteArrayView bytes) {
    QString text;
    if (bytes.isEmpty() || decodeStrict(bytes, text))
        return text;
    // Windows would give an undefined code as "・", which passes for a character; it
    // becomes U+FFFD, one for each undefined character, as everywhere else.
    text.clear();
    for (qsizetype i = 0; i < bytes.size();) {
        const bool lead = isLeadByte(static_cast<unsigned char>(bytes[i]));
        if (lead && i + 1 == bytes.size())
            break; // a lead byte with nothing after it is no character at all
        const qsizetype n = lead ? 2 : 1;
        QString one;
        text += decodeStrict(bytes.sliced(i, n), one) ? one : QString(QChar::ReplacementCharacter);
        i += n;
    }
    return text;
}

} // namespace quillon::sjis
