#include "platform/core/pending_file.h"

#include "platform/core/error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <filesystem>
#include <system_error>

namespace quillon {

namespace {
[[noreturn]] void cannotWrite(const QString& target) {
    throw Exception(
        formatMessage(QCoreApplication::translate("Errors", "%s に書き込めません"), {target}));
}
} // namespace

PendingFile::PendingFile(const QString& target) : target_(target) {
    const QFileInfo info(target);
    if (info.fileName().isEmpty() || info.isDir())
        cannotWrite(target);
    // Hidden, and named after the target so that a leftover tells where it came from.
    const QString stem = info.absoluteDir().filePath(QLatin1Char('.') + info.fileName());
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary_ = stem + QStringLiteral(".%1.part")
                                .arg(QRandomGenerator::global()->generate() & 0xFFFFFF, 6, 16,
                                     QLatin1Char('0'));
        QFile file(temporary_);
        // NewOnly: never take over a file that is already there.
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            pending_ = true;
            break;
        }
        if (!QFileInfo::exists(temporary_))
            break; // not a clash of names: the folder refuses
    }
    if (!pending_)
        cannotWrite(target);
}

PendingFile::~PendingFile() {
    discard();
}

void PendingFile::commit() {
    if (!pending_)
        cannotWrite(target_);
    std::error_code error;
    // Replaces an existing target in one step.
    std::filesystem::rename(std::filesystem::path(temporary_.toStdU16String()),
                            std::filesystem::path(target_.toStdU16String()), error);
    if (error) {
        discard();
        cannotWrite(target_);
    }
    pending_ = false;
}

void PendingFile::discard() {
    if (pending_)
        QFile::remove(temporary_);
    pending_ = false;
}

} // namespace quillon
