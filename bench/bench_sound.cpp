// Sound costs side by side on the in-memory device and, when one opens, OpenAL:
// loading the eleven built-in sounds at start, and one typing cue while thirty copies
// of it are still playing.
#include "platform/core/services.h"
#include "platform/services/program_services.h"
#include "platform/sound/dxsound.h"
#include "platform/sound/dxwavelist.h"
#include "presentation/built_in_sounds.h"
#include "support/software_sound_device.h"

#include <QApplication>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace quillon;
using Steady = std::chrono::steady_clock;

namespace {

double microseconds(Steady::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Figures {
    bool opened = false;
    double loadMs = 0;
    double playUs = 0;
    double playUsWorst = 0;
};

Figures measure() {
    Figures f;
    std::vector<double> loads;
    for (int round = 0; round < 20; ++round) {
        QWidget form;
        auto* sound = new TDXSound(&form);
        auto* list = new TDXWaveList(&form);
        list->setDXSound(sound);
        const auto t0 = Steady::now();
        loadBuiltInSounds(*list);
        sound->loaded();
        loads.push_back(microseconds(Steady::now() - t0) / 1000.0);
        f.opened = sound->initialized();
        if (!f.opened)
            return f;
    }
    f.loadMs = median(loads);

    QWidget form;
    auto* sound = new TDXSound(&form);
    auto* list = new TDXWaveList(&form);
    list->setDXSound(sound);
    loadBuiltInSounds(*list);
    sound->loaded();
    TWaveCollection& items = *list->Items();
    // Thirty copies playing and one finished, so that each cue reuses a copy as in
    // steady fast typing; between cues (untimed) the next copy in turn finishes.
    constexpr int copies = 31;
    for (int i = 0; i < copies; ++i)
        items.FindWave(QStringLiteral("Type"))->Play(false);
    TWaveCollectionItem* type = items.FindWave(QStringLiteral("Type"));
    type->duplicate(0)->Stop();
    std::vector<double> plays;
    for (int i = 0; i < 3000; ++i) {
        const auto t0 = Steady::now();
        items.FindWave(QStringLiteral("Type"))->Play(false);
        plays.push_back(microseconds(Steady::now() - t0));
        type->duplicate((i + 1) % copies)->Stop();
    }
    f.playUs = median(plays);
    f.playUsWorst = *std::max_element(plays.begin(), plays.end());
    return f;
}

void print(const char* device, const Figures& f) {
    if (!f.opened) {
        std::printf("%-10s  no device opened\n", device);
        return;
    }
    std::printf("%-10s  load 11 sounds %7.3f ms (target < 10)   cue with 30 playing %7.2f us "
                "median, %8.2f us worst "
                "(target < 20)\n",
                device, f.loadMs, f.playUs, f.playUsWorst);
}

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // OpenAL Soft renders to nothing unless told otherwise.
    if (!std::getenv("ALSOFT_DRIVERS") && !std::getenv("ALSOFT_CONF"))
        setenv("ALSOFT_DRIVERS", "null", 1);
    QApplication app(argc, argv);
    const ProgramServices programServices;

    SoftwareSoundSystem software;
    Figures memory;
    {
        ScopedServices services({.sound = &software});
        memory = measure();
    }
    Figures openal;
    try {
        openal = measure();
    } catch (const Exception& e) {
        std::printf("OpenAL: %s\n", e.what());
    }
    print("software", memory);
    print("OpenAL", openal);
    return 0;
}
