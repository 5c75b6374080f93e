// Export from the window: the chosen file is written on a worker thread while the
// window stays live, a cancel in the progress dialog leaves nothing and shows no box,
// and a failure is shown to the user.
#include "app/export/export_controller.h"
#include "platform/media/ffmpeg_encoder.h"
#include "support/fake_export_source.h"

#include <QDialog>
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace quillon {
namespace {

using testing::FakeCard;
using testing::FakeExportSource;

class AnsweringUi : public ExportUi {
public:
    ExportChoice chooseFile(QWidget*, const QString& suggested) override {
        suggestions << suggested;
        return {answer, transparent};
    }
    void showFailure(QWidget*, const QString& message) override { failures << message; }
    QString answer;
    bool transparent = false;
    QStringList suggestions, failures;
};

class ExportControllerTest : public ::testing::Test {
protected:
    ExportControllerTest()
        : controller(
              [this](const ExportOptions& o) {
                  asked = o;
                  FakeCard card;
                  card.size = o.size;
                  card.frames = frames;
                  return std::make_unique<FakeExportSource>(card);
              },
              &window, &ui) {}

    // Runs the export of the chosen file to its end; the event loop turns meanwhile.
    QList<QVariant> exportTo(const QString& name) {
        ui.answer = name.isEmpty() ? QString() : dir.filePath(name);
        QSignalSpy spy(&controller, &ExportController::finished);
        controller.exportLines("\x8f\x74", "B");
        if (controller.busy())
            spy.wait(60000);
        return spy.isEmpty() ? QList<QVariant>() : spy.first();
    }

    QTemporaryDir dir;
    QDialog window;
    AnsweringUi ui;
    int64_t frames = 5;
    ExportOptions asked;
    ExportController controller;
};

TEST_F(ExportControllerTest, TheChosenFileIsWrittenForTheTwoLines) {
    const QList<QVariant> result = exportTo(QStringLiteral("card.png"));
    ASSERT_EQ(result.size(), 2);
    EXPECT_TRUE(result[0].toBool());
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("card.png"))));
    EXPECT_EQ(asked.line1, QByteArray("\x8f\x74"));
    EXPECT_EQ(asked.line2, QByteArray("B"));
    EXPECT_EQ(asked.size, QSize(1920, 1080));
    EXPECT_FALSE(asked.style.transparent);
    EXPECT_FALSE(controller.busy());
    // The chooser's check box gives a transparent background.
    ui.transparent = true;
    exportTo(QStringLiteral("clear.png"));
    EXPECT_TRUE(asked.style.transparent);
    ui.transparent = false;
    // The next chooser starts from the last file.
    exportTo(QString());
    EXPECT_EQ(ui.suggestions.last(), dir.filePath(QStringLiteral("clear.png")));
    EXPECT_TRUE(ui.failures.isEmpty());
}

TEST_F(ExportControllerTest, ACancelInTheProgressDialogLeavesNothingAndNoBox) {
    if (FfmpegEncoder::findProgram().isEmpty())
        GTEST_SKIP() << "no ffmpeg";
    frames = 3000; // a percent every 30 frames
    ui.answer = dir.filePath(QStringLiteral("card.mp4"));
    QSignalSpy spy(&controller, &ExportController::finished);
    controller.exportLines("A", "");
    ASSERT_TRUE(controller.busy());
    ASSERT_NE(controller.progressDialog(), nullptr);
    // The window is live while frames are written: progress arrives through the loop.
    EXPECT_TRUE(QTest::qWaitFor([&] { return controller.progressDialog()->value() > 0; }, 30000));
    QPushButton* cancel = controller.progressDialog()->findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), QStringLiteral("キャンセル"));
    cancel->click();
    ASSERT_TRUE(spy.wait(30000));
    EXPECT_FALSE(spy.first()[0].toBool());
    EXPECT_EQ(spy.first()[1].toString(), QStringLiteral("書き出しを取り消しました"));
    EXPECT_TRUE(ui.failures.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(ExportControllerTest, FailuresAreShownAndNothingStartsWithoutAFile) {
    exportTo(QString());
    EXPECT_TRUE(ui.failures.isEmpty());
    EXPECT_FALSE(controller.busy());

    exportTo(QStringLiteral("card.avi"));
    ASSERT_EQ(ui.failures.size(), 1);
    EXPECT_TRUE(ui.failures[0].contains(QStringLiteral(": 書き出せる形式は .png, .mp4, .webm, ")));

    const QList<QVariant> result = exportTo(QStringLiteral("missing/card.png"));
    ASSERT_EQ(ui.failures.size(), 2);
    EXPECT_FALSE(result[0].toBool());
    EXPECT_TRUE(ui.failures[1].contains(QStringLiteral(" に書き込めません")));
}

} // namespace
} // namespace quillon
