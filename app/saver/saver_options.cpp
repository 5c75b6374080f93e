#include "app/saver/saver_options.h"

#include <QRegularExpression>

namespace quillon {

std::optional<uint32_t> parseWindowId(const QString& text) {
    static const QRegularExpression form(
        QStringLiteral("^\\s*(?:0[xX]([0-9a-fA-F]{1,8})|([0-9]{1,10}))\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const qulonglong id =
        m.capturedLength(1) ? m.captured(1).toULongLong(nullptr, 16) : m.captured(2).toULongLong();
    if (id == 0 || id > 0xFFFFFFFFull)
        return std::nullopt;
    return uint32_t(id);
}

} // namespace quillon
