#include "platform/ui/fonts.h"

#include <QFontInfo>
#include <QIcon>
#include <QStringList>
#include <QWidget>

namespace quillon {

void registerFontSubstitutions() {
    const QStringList mincho = {QStringLiteral("IPAMincho"), QStringLiteral("IPA明朝"),
                                QStringLiteral("IPAPMincho"), QStringLiteral("Noto Serif CJK JP")};
    const QStringList gothic = {QStringLiteral("IPAPGothic"), QStringLiteral("IPAPゴシック"),
                                QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ 明朝"), mincho);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐ明朝"), mincho);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic);
}

QString installedFamily(const QString& face) {
    return QFontInfo(QFont(face)).family();
}

void setUpFixedWindow(QWidget& window, QSize clientSize, const QFont& font) {
    window.setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint);
    window.setFixedSize(clientSize);
    window.setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.png")));
    window.setFont(font);
}

QFont interfaceFont(int pixelHeight, bool bold) {
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(pixelHeight);
    font.setBold(bold);
    return font;
}

} // namespace quillon
