#include "app/saver/saver_main.h"

#include "app/saver/saver_loop.h"
#include "app/saver/saver_screen.h"
#include "app/saver/saver_subtitles.h"
#include "platform/core/clock.h"
#include "platform/core/interrupt_flag.h"
#include "platform/core/library_loader.h"
#include "platform/core/product.h"
#include "platform/core/services.h"
#include "platform/desktop/foreign_window.h"
#include "platform/services/program_services.h"
#include "platform/sound/dxsound.h"
#include "platform/sound/dxwavelist.h"
#include "platform/sound/no_cues.h"
#include "platform/timer/dxtimer.h"
#include "platform/ui/fonts.h"
#include "platform/ui/translations.h"
#include "presentation/built_in_sounds.h"
#include "settings/stored_settings.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdio>

namespace quillon {

namespace {

// How often a SIGTERM or SIGINT is looked for: the saver ends well within a second.
constexpr int InterruptPollMs = 100;

void say(const QString& message) {
    std::fprintf(stderr, "quillon: %s\n", qPrintable(message));
}

// A screen saver shows no boxes: an error that leaves a handler goes to the log.
class SaverApplication : public QApplication {
public:
    SaverApplication(int& argc, char** argv) : QApplication(argc, argv) {
        setApplicationName(productName());
    }
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            say(QString::fromUtf8(error.what()));
        }
        return true;
    }
};

// The stored settings, with sound as the command line says.
class SaverSettings : public StoredSettings {
public:
    SaverSettings(Settings settings, bool sound)
        : StoredSettings(std::move(settings)), sound_(sound) {}
    bool Silent() const override { return !sound_; }

private:
    bool sound_;
};

// The built-in sounds on the sound device, for --sound.
class SaverSound {
public:
    SaverSound() : sound_(new TDXSound(&owner_)), list_(new TDXWaveList(&owner_)) {
        list_->setDXSound(sound_);
        loadBuiltInSounds(*list_);
        sound_->loaded();
    }
    CueSink& cues() { return *list_; }

private:
    QWidget owner_; // never shown: the sound device only needs a form to belong to
    TDXSound* sound_;
    TDXWaveList* list_;
};

int runSaver(const SaverOptions& options, const Settings& stored, const SaverSubtitles& subtitles) {
    SaverScreen screen(options);
    const SaverSettings settings(stored, options.sound);
    std::unique_ptr<SaverSound> sound;
    NoCues silence;
    if (options.sound)
        sound = std::make_unique<SaverSound>();

    TDXTimer timer(nullptr);
    // Nothing of ours is ever the active window: the daemon's or the preview's is.
    timer.setActiveOnly(false);
    timer.setEnabled(false);
    const uint32_t seed = options.seed ? *options.seed : programClock().utcTimeOfDayMs();
    SaverLoop loop({timer, screen.pages(), sound ? sound->cues() : silence, settings,
                    [&subtitles](Random& random) { return subtitles.next(random); }},
                   seed, options.holdMs);
    timer.OnTimer = [&loop](TCustomDXTimer*, int32_t) { loop.tick(); };
    timer.loaded();
    screen.OnPagesRemade = [&loop] { loop.redraw(); };
    screen.OnGone = [] { QCoreApplication::quit(); };

    const InterruptFlag interrupt;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&interrupt] {
        if (interrupt.raised())
            QCoreApplication::quit();
    });
    watch.start(InterruptPollMs);

    screen.show();
    loop.start();
    return QCoreApplication::exec();
}

} // namespace

int saverMain(int argc, char** argv, const SaverOptions& options, UiLanguage language) {
    if (options.target == SaverOptions::Target::Foreign)
        preferX11Platform();
    int status = 0;
    {
        SaverApplication app(argc, argv);
        useLanguage(language);
        const ProgramServices programServices;
        registerFontSubstitutions();
        const Settings stored = loadStoredSettings();
        SaverSubtitles subtitles;
        QString problem;
        try {
            subtitles = options.file.isEmpty() ? subtitlesFromSettings(stored, &problem)
                                               : subtitlesFromFile(options.file);
        } catch (const Exception& error) {
            say(error.message());
            return 2;
        }
        if (!problem.isEmpty())
            say(problem);
        try {
            status = runSaver(options, stored, subtitles);
        } catch (const Exception& error) {
            say(error.message());
            status = 1;
        }
    }
    // Entry points fetched from run-time libraries stay valid until here.
    freePlatformLibraries();
    return status;
}

} // namespace quillon
