#include "settings/choosers.h"

#include "platform/core/services.h"
#include "platform/text/sjis.h"
#include "settings/settings_store.h"

#include <QFont>

namespace quillon {

const FileFilter& UserFileFilter() {
    static const FileFilter filter{QStringLiteral("ユーザー指定サブタイトル"),
                                   QStringLiteral("*.qln")};
    return filter;
}

bool FileChooser::Execute(QWidget* parent) {
    const QString chosen =
        kind_ == Kind::Open
            ? prompts().chooseOpenFile(parent, FileName, UserFileFilter(), UserFileExtension)
            : prompts().chooseSaveFile(parent, FileName, UserFileFilter(), UserFileExtension);
    if (chosen.isEmpty())
        return false;
    FileName = chosen;
    return true;
}

QString FontChooser::faceText() const {
    return sjis::toUnicode(faceName);
}

bool FontChooser::Execute(QWidget* parent) {
    QFont font(faceText());
    font.setPixelSize(12);
    if (!prompts().chooseFont(parent, font))
        return false;
    const QByteArray face = cutFaceName(sjis::fromUnicode(font.family()));
    if (!face.isEmpty())
        faceName = face;
    return true;
}

} // namespace quillon
