#include "app/ambience.h"

#include "platform/core/random.h"
#include "platform/sound/wave_collection.h"

#include <QTimer>

namespace quillon {

Ambience::Ambience(QObject* parent, std::function<TWaveCollectionItem*()> savanna,
                   std::function<void(const QString&)> putSound)
    : QObject(parent), savanna_(std::move(savanna)), putSound_(std::move(putSound)),
      fade_(new QTimer(this)) {
    fade_->setInterval(FadeStepMs);
    connect(fade_, &QTimer::timeout, this, [this] { fadeStep(); });
}

bool Ambience::fading() const {
    return fade_->isActive();
}

void Ambience::tick(int& tag, QTimer* beat) {
    if (tag == 1) {
        tag = 0;
        // A new soundscape takes over from a fade that is still under way.
        cancelFade();
        savanna_()->Play(false);
        static const int32_t counts[] = {10, 11, 30, 31};
        CallsLeft = counts[programRandom().draw(4)];
        return;
    }
    if (CallsLeft <= 0) {
        beat->stop();
        startFade();
        return;
    }
    QString name;
    if (Get15Next) {
        name = QStringLiteral("Get15");
        Get15Next = false;
        --CallsLeft;
    } else {
        static const char* const calls[] = {"Lion", "Elephant", "Condle", "Owl"};
        name = QString::fromLatin1(calls[programRandom().draw(4)]);
        if (name != QStringLiteral("Owl"))
            Get15Next = true;
        else
            --CallsLeft;
    }
    putSound_(name);
}

void Ambience::startFade() {
    stepsDone_ = 0;
    fade_->start();
    // The first step lowers the volume at once; each later one comes 250 ms after it.
    fadeStep();
}

void Ambience::fadeStep() {
    TWaveCollectionItem* savanna = savanna_();
    if (stepsDone_ < FadeSteps) {
        savanna->setVolume(savanna->Volume() - FadeStepVolume);
        ++stepsDone_;
        return;
    }
    // The last wait is over: stop the background, ready at full volume for next time.
    fade_->stop();
    savanna->Stop();
    savanna->setVolume(0);
}

void Ambience::cancelFade() {
    if (!fade_->isActive())
        return;
    fade_->stop();
    savanna_()->setVolume(0);
}

} // namespace quillon
