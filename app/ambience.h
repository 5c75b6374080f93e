#pragma once
// The soundscape after a beast card: a looping savanna, a random series of animal
// calls at the main window's timer beat, then a fade of the background. The fade runs
// as timer steps so that the user interface stays live meanwhile.
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

class QTimer;

namespace quillon {

class TWaveCollectionItem;

class Ambience : public QObject {
public:
    static constexpr int FadeSteps = 24;
    static constexpr int FadeStepMs = 250;
    static constexpr int32_t FadeStepVolume = 50;

    Ambience(QObject* parent, std::function<TWaveCollectionItem*()> savanna,
             std::function<void(const QString&)> putSound);

    // One tick of the beat timer: start, call or end.
    void tick(int& tag, QTimer* beat);
    bool fading() const;
    // Runs the fade's next step at once (tests drive the fade this way).
    void fadeStep();

    // Calls still to come, and whether the next tick plays "Get15".
    int32_t CallsLeft = 0;
    bool Get15Next = false;

private:
    void startFade();
    void cancelFade();

    std::function<TWaveCollectionItem*()> savanna_;
    std::function<void(const QString&)> putSound_;
    QTimer* fade_;
    int stepsDone_ = 0;
};

} // namespace quillon
