#include "settings/choosers.h"

#include "platform/core/error.h"
#include "platform/core/services.h"
#include "platform/text/sjis.h"
#include "platform/ui/fonts.h"
#include "settings/settings_store.h"

#include <QCoreApplication>
#include <QFont>

namespace quillon {

FileFilter userFileFilter() {
    return {QCoreApplication::translate("Choosers", "ユーザー指定サブタイトル"),
            QStringLiteral("*.qln")};
}

QString unstorableFaceMessage() {
    return QCoreApplication::translate("Choosers",
                                       "フォント名「%s」は Shift-JIS で表せないため、選べません。");
}

bool FileChooser::execute(QWidget* parent) {
    const QString chosen =
        kind_ == Kind::Open
            ? prompts().chooseOpenFile(parent, fileName, userFileFilter(), UserFileExtension)
            : prompts().chooseSaveFile(parent, fileName, userFileFilter(), UserFileExtension);
    if (chosen.isEmpty())
        return false;
    fileName = chosen;
    return true;
}

QString FontChooser::faceText() const {
    return sjis::toUnicode(faceName);
}

bool FontChooser::execute(QWidget* parent) {
    // The chooser lists installed families, and the stored face ("ＭＳ 明朝") may name
    // one only through a substitution: it opens on the family the face resolves to, and
    // OK on that same family keeps the stored name as it is.
    const QString opened = installedFamily(faceText());
    QFont font(opened);
    font.setPixelSize(12);
    if (!prompts().chooseFont(parent, font))
        return false;
    const QString family = font.family();
    if (family == opened)
        return true;
    if (!sjis::isRepresentable(family)) {
        prompts().tellOk(parent, formatMessage(unstorableFaceMessage(), {family}));
        return false;
    }
    const QByteArray face = cutFaceName(sjis::fromUnicode(family));
    if (!face.isEmpty())
        faceName = face;
    return true;
}

} // namespace quillon
