#include "platform/display/page_style.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <algorithm>

namespace quillon {

std::optional<QRgb> parseStyleColour(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^#?([0-9a-fA-F]{6})$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    return QRgb(0xff000000u | m.captured(1).toUInt(nullptr, 16));
}

QString takeStyleOption(const QString& option, const QString& value, PageStyle& style) {
    const std::optional<QRgb> colour = parseStyleColour(value);
    if (option == QLatin1String("--color")) {
        if (!colour)
            return QCoreApplication::translate(
                "PageStyle", "--color は白なら FFFFFF のように 16進数6桁で指定してください");
        style.text = *colour;
        return {};
    }
    if (colour) {
        style.background = *colour;
        style.picture = QImage();
        return {};
    }
    // Anything else names a picture.
    const QImage picture(value);
    if (picture.isNull())
        return QCoreApplication::translate(
                   "PageStyle", "--background の %1 は色 (RRGGBB) でも読める画像でもありません")
            .arg(value);
    style.picture = picture;
    return {};
}

namespace {

// How much of a glyph covers a white-on-black pixel: its brightest channel, so that
// the 5-bit red and blue of a 16-bit page do not darken the 6-bit green.
inline int coverageOf(QRgb p) {
    return std::max({qRed(p), qGreen(p), qBlue(p)});
}

inline int mix(int from, int to, int amount) {
    return (from * (255 - amount) + to * amount + 127) / 255;
}

} // namespace

const QImage& PageStyler::backdrop(QSize target) const {
    if (backdrop_.size() != target) {
        const QImage scaled =
            style_.picture.scaled(target, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
        // Centred: what sticks out on either side is cut off evenly.
        backdrop_ =
            scaled
                .copy((scaled.width() - target.width()) / 2,
                      (scaled.height() - target.height()) / 2, target.width(), target.height())
                .convertToFormat(QImage::Format_RGB32);
    }
    return backdrop_;
}

QImage PageStyler::apply(const QImage& picture, QSize target, QPoint offset) const {
    if (style_.plain())
        return picture;
    const QImage in = picture.convertToFormat(QImage::Format_RGB32);
    QImage out(in.size(), style_.transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const QImage* back =
        style_.picture.isNull() || style_.transparent ? nullptr : &backdrop(target);
    const int tr = qRed(style_.text), tg = qGreen(style_.text), tb = qBlue(style_.text);
    for (int y = 0; y < in.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(in.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(out.scanLine(y));
        const int by = std::clamp(y + offset.y(), 0, std::max(0, target.height() - 1));
        const QRgb* backLine =
            back ? reinterpret_cast<const QRgb*>(back->constScanLine(by)) : nullptr;
        for (int x = 0; x < in.width(); ++x) {
            const int a = coverageOf(from[x]);
            if (style_.transparent) {
                to[x] = qRgba(tr, tg, tb, a);
                continue;
            }
            const QRgb under = backLine
                                   ? backLine[std::clamp(x + offset.x(), 0, target.width() - 1)]
                                   : style_.background;
            to[x] =
                qRgb(mix(qRed(under), tr, a), mix(qGreen(under), tg, a), mix(qBlue(under), tb, a));
        }
    }
    return out;
}

} // namespace quillon
