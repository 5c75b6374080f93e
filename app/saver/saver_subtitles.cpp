#include "app/saver/saver_subtitles.h"

#include "platform/core/error.h"
#include "settings/settings_store.h"
#include "subtitles/catalogue.h"
#include "subtitles/user_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace quillon {

namespace {
constexpr int CatalogueOnly = 1;
constexpr int UserListOnly = 2;
} // namespace

SubtitleLines SaverSubtitles::next(Random& random) const {
    return randomSubtitle(random, diceMode, catalogue, user);
}

SaverSubtitles subtitlesFromSettings(const Settings& settings, QString* problem) {
    SaverSubtitles subtitles;
    subtitles.catalogue = catalogueRange(settings.original);
    subtitles.diceMode = CatalogueOnly;
    const QFileInfo info(settings.userFile);
    if (settings.userFile.isEmpty() || !info.exists() || info.isDir())
        return subtitles;
    try {
        subtitles.user = readSubtitleFile(settings.userFile).items;
        subtitles.diceMode = settings.diceMode;
    } catch (const Exception& error) {
        if (problem)
            *problem = error.message();
    }
    return subtitles;
}

SaverSubtitles subtitlesFromFile(const QString& path) {
    SaverSubtitles subtitles;
    subtitles.diceMode = UserListOnly;
    subtitles.user = readSubtitleFile(path).items;
    if (subtitles.user.isEmpty())
        throw Exception(formatMessage(
            QCoreApplication::translate("Saver", "ファイル %s にサブタイトルがありません"),
            {QDir::toNativeSeparators(path)}));
    return subtitles;
}

} // namespace quillon
