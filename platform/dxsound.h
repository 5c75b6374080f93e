#pragma once
// The sound component and the named wave list.
// (Public interface; the implementation may add members.)
#include <QObject>
#include <QWidget>
#include <QString>
#include <cstdint>

class QWidget;

namespace quillon {

class TWaveCollectionItem {
public:
    const QString& Name() const;
    bool Looped() const;
    void Play(bool wait);
    void Stop();
    int32_t Volume() const;
    void setVolume(int32_t hundredthsOfDb);
};

class TWaveCollection {
public:
    // Case-insensitive; raises "Wave '%s' が見つかりません".
    TWaveCollectionItem* FindWave(const QString& name);
    int Count() const;
};

class TDXSound : public QObject {
public:
    explicit TDXSound(QWidget* ownerForm);
    ~TDXSound() override;
    // End of form loading: with AutoInitialize, Initialize, swallowing the error of a
    // missing sound device so that the program runs silent.
    void Loaded();
    void Initialize();
    void Finalize();
    bool Initialized() const;
};

class TDXWaveList : public QObject {
public:
    explicit TDXWaveList(QObject* owner);
    ~TDXWaveList() override;
    void setDXSound(TDXSound* sound);
    TWaveCollection* Items();
};

// Loads the eleven built-in sounds into a wave list, in their order.
void LoadBuiltInSounds(TDXWaveList& list);

} // namespace quillon
