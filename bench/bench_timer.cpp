// Frame-timer precision and cost, side by side in one run: our timer, which sleeps until
// the next tick is due, against a reference that polls the clock from an idle loop that
// never sleeps. Both replay the same card-like series of re-armed pauses.
#include "platform/core/clock.h"
#include "platform/core/random.h"
#include "platform/core/services.h"
#include "platform/timer/dxtimer.h"
#include "platform/ui/application.h"
#include "support/test_environment.h"

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace quillon;
using Steady = std::chrono::steady_clock;

namespace {

double cpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

std::vector<uint32_t> cardPauses() {
    // A start wait, thirty characters at the typing cadence, and a short hold.
    Random r;
    r.setSeed(2026);
    std::vector<uint32_t> pauses = {500};
    for (int i = 0; i < 30; ++i)
        pauses.push_back((i % 10 == 9) ? 410 : (r.draw(10) <= 7 ? 220 : 120));
    pauses.push_back(1000);
    return pauses;
}

struct Result {
    std::vector<double> latenessMs;
    double cpuPercent = 0;
};

// The reference: polls the millisecond clock at every pass of a loop that never sleeps.
class BusyPollTimer {
public:
    BusyPollTimer() {
        poll_.setInterval(0);
        QObject::connect(&poll_, &QTimer::timeout, [this] {
            if (programClock().nowMs() - last_ >= interval_) {
                last_ = programClock().nowMs();
                onTick();
            }
        });
    }
    void arm(uint32_t interval) {
        interval_ = interval;
        last_ = programClock().nowMs();
        poll_.start();
    }
    void stop() { poll_.stop(); }
    std::function<void()> onTick;

private:
    QTimer poll_;
    uint32_t interval_ = 0;
    uint32_t last_ = 0;
};

template <typename Arm, typename Stop>
Result replay(const std::vector<uint32_t>& pauses, Arm arm, Stop stop,
              std::function<void()>& tickSlot) {
    Result result;
    size_t next = 0;
    Steady::time_point due;
    auto armNext = [&] {
        due = Steady::now() + std::chrono::milliseconds(pauses[next]);
        arm(pauses[next]);
    };
    tickSlot = [&] {
        result.latenessMs.push_back(
            std::chrono::duration<double, std::milli>(Steady::now() - due).count());
        if (++next == pauses.size()) {
            stop();
            QCoreApplication::exit(0);
            return;
        }
        armNext();
    };
    const auto wallStart = Steady::now();
    const double cpuStart = cpuSeconds();
    armNext();
    QCoreApplication::exec();
    const double wall = std::chrono::duration<double>(Steady::now() - wallStart).count();
    result.cpuPercent = 100.0 * (cpuSeconds() - cpuStart) / wall;
    return result;
}

void print(const char* name, Result r) {
    std::sort(r.latenessMs.begin(), r.latenessMs.end());
    const auto at = [&](double q) {
        return r.latenessMs[static_cast<size_t>(q * (r.latenessMs.size() - 1))];
    };
    std::printf("%-26s %8.2f %8.2f %8.2f %9.1f %%\n", name, at(0.5), at(0.99), r.latenessMs.back(),
                r.cpuPercent);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QuillonApplication app(argc, argv);
    // The timer ticks whether or not a window has the focus.
    quillon::testing::TestEnvironment environment;
    ScopedServices services({.environment = &environment});
    const auto pauses = cardPauses();

    std::function<void()> slot;
    TDXTimer timer;
    timer.setEnabled(false);
    timer.loaded();
    timer.OnTimer = [&](TCustomDXTimer*, int32_t) { slot(); };
    const Result sleeping = replay(
        pauses,
        [&](uint32_t interval) {
            timer.setEnabled(false);
            timer.setInterval(interval);
            timer.setEnabled(true);
        },
        [&] { timer.setEnabled(false); }, slot);

    BusyPollTimer reference;
    reference.onTick = [&] { slot(); };
    const Result polling = replay(
        pauses, [&](uint32_t interval) { reference.arm(interval); }, [&] { reference.stop(); },
        slot);

    std::printf("%zu ticks of a card-like cadence\n", pauses.size());
    std::printf("%-26s %8s %8s %8s %10s\n", "timer", "p50 ms", "p99 ms", "max ms", "CPU");
    print("sleeping (ours)", sleeping);
    print("busy-polling (reference)", polling);
    return 0;
}
