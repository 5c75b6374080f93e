#include "platform/text/sjis_codec.h"

#include <windows.h>

// Qt for Windows has no Shift-JIS codec without ICU; the system's own code page 932 is
// the table the files were always written with.

namespace quillon::sjis {

namespace {
constexpr UINT Cp932 = 932;

bool hasLoneSurrogate(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return true;
    }
    return false;
}
} // namespace

std::optional<QByteArray> encodeCp932(QStringView text) {
    if (text.isEmpty())
        return QByteArray();
    if (hasLoneSurrogate(text))
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
    return bytes;
}

QString decodeCp932(QByteArrayView bytes) {
    if (bytes.isEmpty())
        return QString();
    const int length = int(bytes.size());
    const int size = MultiByteToWideChar(Cp932, 0, bytes.data(), length, nullptr, 0);
    if (size <= 0)
        return QString();
    QString text(size, Qt::Uninitialized);
    MultiByteToWideChar(Cp932, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(text.data()),
                        size);
    return text;
}

} // namespace quillon::sjis
