// Every way an export can fail, and a cancel, gives a clear message and leaves nothing
// behind: no new file, no temporary file, and an older file at the target untouched.
#include "app/export/export_pipeline.h"
#include "platform/core/atomic_file.h"
#include "platform/core/pending_file.h"
#include "platform/media/ffmpeg_encoder.h"
#include "platform/media/ffmpeg_hint.h"
#include "support/fake_export_source.h"
#include "support/raised.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quillon {
namespace {

using testing::FakeCard;
using testing::FakeExportSource;
using testing::raised;

// Replaces PATH for one test, so that "ffmpeg" is whatever the test puts there.
class ScopedPath {
public:
    explicit ScopedPath(const QString& path) : old_(qgetenv("PATH")) {
        qputenv("PATH", QFile::encodeName(path));
    }
    ~ScopedPath() { qputenv("PATH", old_); }

private:
    QByteArray old_;
};

class ExportFailureTest : public ::testing::Test {
protected:
    void SetUp() override {
        QDir(dir.path()).mkdir(QStringLiteral("out"));
        QDir(dir.path()).mkdir(QStringLiteral("bin"));
    }
    QString out(const QString& name) const { return dir.filePath(QStringLiteral("out/") + name); }
    QStringList outFiles() const {
        return QDir(dir.filePath(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden);
    }
    // A stand-in for ffmpeg in the test's own bin folder.
    void fakeFfmpeg(const QByteArray& script) {
        QFile file(dir.filePath(QStringLiteral("bin/ffmpeg")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + script);
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QString exportTo(const QString& file, FakeCard card = FakeCard{}) {
        ExportOptions o;
        o.file = file;
        o.format = exportFormatOf(file);
        o.size = card.size;
        FakeExportSource source(std::move(card));
        return raised([&] { exportCard(source, o, {}, cancel); });
    }
    void keepOldFile(const QString& name) {
        QFile file(out(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old");
    }
    QByteArray contents(const QString& name) const {
        QFile file(out(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    std::atomic_bool cancel{false};
};

TEST_F(ExportFailureTest, WithoutFfmpegTheMessageNamesWhereItLookedAndHowToGetIt) {
    ScopedPath path(dir.filePath(QStringLiteral("bin")));
    const QString message = exportTo(out(QStringLiteral("card.mp4")));
    EXPECT_EQ(message, FfmpegEncoder::missingProgramMessage());
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(QCoreApplication::applicationDirPath())));
    EXPECT_TRUE(message.contains(QStringLiteral("PATH")));
    EXPECT_TRUE(message.endsWith(ffmpegInstallHint()));
    EXPECT_TRUE(outFiles().isEmpty());
}

TEST_F(ExportFailureTest, AFolderThatIsNotThereIsReported) {
    for (const char* name : {"missing/card.png", "missing/card.mp4"}) {
        const QString target = out(QString::fromLatin1(name));
        EXPECT_TRUE(exportTo(target).startsWith(target + QStringLiteral(" に書き込めません")))
            << name;
    }
    EXPECT_TRUE(outFiles().isEmpty());
}

TEST_F(ExportFailureTest, FfmpegFailingOrKilledIsReportedWithItsWords) {
    ScopedPath path(dir.filePath(QStringLiteral("bin")) + QStringLiteral(":/usr/bin:/bin"));
    keepOldFile(QStringLiteral("card.mp4"));

    // Its words name the target, not the temporary file it was writing.
    fakeFfmpeg("for a; do last=$a; done\necho \"$last: No space left on device\" >&2\nexit 1\n");
    EXPECT_EQ(exportTo(out(QStringLiteral("card.mp4"))),
              QStringLiteral("ffmpeg が失敗しました (終了コード 1): ") +
                  out(QStringLiteral("card.mp4")) + QStringLiteral(": No space left on device"));

    // Everything taken, then an error and yet a status of 0.
    fakeFfmpeg("cat <&4 >/dev/null &\ncat <&3 >/dev/null\nwait\n"
               "echo 'Error writing trailer: No space left on device' >&2\nexit 0\n");
    EXPECT_EQ(
        exportTo(out(QStringLiteral("card.mp4"))),
        QStringLiteral("ffmpeg が失敗しました (終了コード 0): Error writing trailer: No space "
                       "left on device"));

    // Killed after taking part of the frames.
    fakeFfmpeg("head -c 200000 <&3 >/dev/null\nkill -9 $$\n");
    FakeCard longer;
    longer.frames = 300;
    EXPECT_EQ(exportTo(out(QStringLiteral("card.mp4")), longer),
              QStringLiteral("ffmpeg が失敗しました (シグナル 9 で終了)"));

    EXPECT_EQ(outFiles(), QStringList{QStringLiteral("card.mp4")});
    EXPECT_EQ(contents(QStringLiteral("card.mp4")), QByteArray("old"));
}

TEST_F(ExportFailureTest, ACancelStopsFfmpegAndLeavesTheOldFile) {
    if (FfmpegEncoder::findProgram().isEmpty())
        GTEST_SKIP() << "no ffmpeg";
    for (const char* name : {"card.mp4", "card.webm"}) {
        keepOldFile(QString::fromLatin1(name));
        cancel = false;
        FakeCard card;
        card.frames = 100;
        card.onFrame = [this](int64_t frame) {
            if (frame == 20)
                cancel = true;
        };
        EXPECT_EQ(exportTo(out(QString::fromLatin1(name)), card),
                  QStringLiteral("書き出しを取り消しました"));
        EXPECT_EQ(contents(QString::fromLatin1(name)), QByteArray("old"));
    }
    EXPECT_EQ(outFiles(), (QStringList{QStringLiteral("card.mp4"), QStringLiteral("card.webm")}));
}

TEST_F(ExportFailureTest, APendingFileAppearsOnlyWhenCommitted) {
    keepOldFile(QStringLiteral("a.mp4"));
    {
        PendingFile dropped(out(QStringLiteral("a.mp4")));
        QFile file(dropped.path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("half");
        EXPECT_EQ(outFiles().size(), 2);
    }
    EXPECT_EQ(outFiles(), QStringList{QStringLiteral("a.mp4")});
    EXPECT_EQ(contents(QStringLiteral("a.mp4")), QByteArray("old"));

    PendingFile kept(out(QStringLiteral("a.mp4")));
    QFile file(kept.path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("new");
    file.close();
    kept.commit();
    EXPECT_EQ(outFiles(), QStringList{QStringLiteral("a.mp4")});
    EXPECT_EQ(contents(QStringLiteral("a.mp4")), QByteArray("new"));

    // A folder is no file to replace.
    EXPECT_EQ(raised([&] { PendingFile folder(dir.filePath(QStringLiteral("out"))); }),
              dir.filePath(QStringLiteral("out")) + QStringLiteral(" に書き込めません"));
}

// A writer in a child process, stopped for good half-way through its file.
class KilledWriter {
public:
    explicit KilledWriter(const QString& target) {
        int ready[2];
        if (pipe(ready) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            PendingFile pending(target);
            pending.write("half");
            [[maybe_unused]] const auto n = ::write(ready[1], "x", 1);
            for (;;)
                pause();
        }
        char byte = 0;
        ::close(ready[1]);
        started_ = ::read(ready[0], &byte, 1) == 1;
        ::close(ready[0]);
    }
    ~KilledWriter() { kill(); }
    bool started() const { return started_; }
    void kill() {
        if (pid_ <= 0)
            return;
        ::kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

private:
    pid_t pid_ = -1;
    bool started_ = false;
};

TEST_F(ExportFailureTest, AWriterThatDiesLeavesNothingOnceTheTargetIsWrittenAgain) {
    keepOldFile(QStringLiteral("a.mp4"));
    keepOldFile(QStringLiteral("mine.qln"));
    // Others' files that merely look alike stay.
    keepOldFile(QStringLiteral(".a.mp4.part"));
    keepOldFile(QStringLiteral(".a.mp4.zzzzzz.part"));
    const QStringList untouched = outFiles();
    {
        KilledWriter writer(out(QStringLiteral("a.mp4")));
        ASSERT_TRUE(writer.started());
        EXPECT_EQ(outFiles().size(), untouched.size() + 1);
        // A live writer's file is not abandoned.
        removeAbandonedParts(out(QStringLiteral("a.mp4")));
        EXPECT_EQ(outFiles().size(), untouched.size() + 1);
        writer.kill();
        EXPECT_EQ(outFiles().size(), untouched.size() + 1);
        PendingFile next(out(QStringLiteral("a.mp4")));
        EXPECT_EQ(outFiles().size(), untouched.size() + 1);
    }
    EXPECT_EQ(outFiles(), untouched);
    EXPECT_EQ(contents(QStringLiteral("a.mp4")), QByteArray("old"));

    // A save killed half-way: the next save, or the next start, sweeps it.
    for (const bool saveAgain : {true, false}) {
        KilledWriter(out(QStringLiteral("mine.qln"))).kill();
        EXPECT_EQ(outFiles().size(), untouched.size() + 1);
        // The file before: the old one, then the one the first pass saved.
        EXPECT_EQ(contents(QStringLiteral("mine.qln")), QByteArray(saveAgain ? "old" : "new"));
        if (saveAgain)
            EXPECT_EQ(saveFileAtomically(out(QStringLiteral("mine.qln")), "new"),
                      SaveResult::Saved);
        else
            removeAbandonedParts(out(QStringLiteral("mine.qln")));
        EXPECT_EQ(outFiles(), untouched);
    }
    EXPECT_EQ(contents(QStringLiteral("mine.qln")), QByteArray("new"));

    // Any write into the folder sweeps the abandoned files there whatever their target,
    // which may never be written again; a live writer's file stays.
    KilledWriter live(out(QStringLiteral("live.mp4")));
    KilledWriter(out(QStringLiteral("k.mp4"))).kill();
    EXPECT_EQ(outFiles().size(), untouched.size() + 2);
    EXPECT_EQ(saveFileAtomically(out(QStringLiteral("other.qln")), "x"), SaveResult::Saved);
    EXPECT_FALSE(hasParts(out(QStringLiteral("k.mp4"))));
    EXPECT_TRUE(hasParts(out(QStringLiteral("live.mp4"))));
    EXPECT_EQ(outFiles().size(), untouched.size() + 2); // other.qln and the live one
}

} // namespace
} // namespace quillon
