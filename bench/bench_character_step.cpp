// One typed character's step on a full screen: two fills, the text, two flips, and both
// pages put on the screen as the presenter does it, beside a plain copy of one frame of
// that screen (the floor of a present done by the processor). At 1920 × 1080 and
// 3840 × 2160, the pages drawn at the screen's resolution. As the card does, each
// character is drawn ahead in the pause before its tick, which is not counted.
#include "platform/display/offscreen_pages.h"
#include "platform/display/page_painter.h"
#include "platform/display/refresh_clock.h"
#include "platform/text/sjis.h"
#include "platform/ui/application.h"
#include "platform/ui/fonts.h"
#include "presentation/title_drawing.h"

#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace quillon;

namespace {

using Steady = std::chrono::steady_clock;

double msSince(Steady::time_point start) {
    return std::chrono::duration<double, std::milli>(Steady::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Figures {
    double step;
    double drawing;
    double copy;
};

Figures measure(QSize screenSize, int steps) {
    const double scale = std::min(screenSize.width() / 640.0, screenSize.height() / 480.0);
    QImage screen(screenSize, QImage::Format_RGB32);
    screen.fill(Qt::black);
    ManualRefreshClock refresh;
    OffscreenPages pages(640, 480, scale, &refresh);
    ScreenDamage damage;
    // What the control does at each refresh: paint the part of the screen that changed.
    const auto present = [&] {
        const PagePresenter::Frame& frame = pages.shown();
        const QRect area = placePage(frame.page.size(), screen.size());
        const QRegion changed = damage.next(area, frame.page.size(), frame.lit);
        QPainter painter(&screen);
        paintPage(painter, area, frame.page, frame.lit, changed);
    };

    const QString text = QStringLiteral("第一話怪しい影の正体を追え");
    const DisplayFont font{QStringLiteral("ＭＳ 明朝"), 128};
    std::vector<double> stepMs, drawMs, copyMs;
    QImage copy(screenSize, QImage::Format_RGB32);
    const auto character = [&](int i) { return sjis::fromUnicode(text.mid(i % text.size(), 1)); };
    prepareCharacter(pages, character(0), 70, font);
    for (int i = 0; i < steps; ++i) {
        const QByteArray ch = character(i);
        // The character's two pages, each presented in its turn.
        const auto start = Steady::now();
        drawCharacter(pages, ch, 70, font);
        drawMs.push_back(msSince(start));
        while (refresh.refresh()) // the black page, then the character
            present();
        stepMs.push_back(msSince(start));

        const auto copyStart = Steady::now();
        std::memcpy(copy.bits(), screen.constBits(), size_t(screen.sizeInBytes()));
        copyMs.push_back(msSince(copyStart));
        prepareCharacter(pages, character(i + 1), 70, font);
    }
    return {median(stepMs), median(drawMs), median(copyMs)};
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerFontSubstitutions();
    const int steps = 200;
    std::printf("character step (fill, flip, fill, text, flip, both pages presented), median of "
                "%d\n",
                steps);
    std::printf("%-11s %10s %12s %12s %8s\n", "screen", "step ms", "drawing ms", "copy ms",
                "ratio");
    for (const QSize size : {QSize(1920, 1080), QSize(3840, 2160)}) {
        const Figures f = measure(size, steps);
        std::printf("%4dx%-6d %10.3f %12.3f %12.3f %7.2fx   (target: at most 2x the copy)\n",
                    size.width(), size.height(), f.step, f.drawing, f.copy, f.step / f.copy);
    }
    return 0;
}
