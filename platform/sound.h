#pragma once

#include <QUrl>
#include <memory>

class QSoundEffect;

namespace rpn {

// The key click. The view calls Play once for each tap it performs while
// clicks are on. Playing is asynchronous and never reports a failure: without
// an audio device or a readable sound the click is silent.
class ClickSound {
public:
    virtual ~ClickSound() = default;
    virtual void Play() = 0;
};

// QSoundEffect over the "CLICK" sound of the program's resources, made on
// the first Play so that a start without a tap costs nothing.
class QtClickSound final : public ClickSound {
public:
    explicit QtClickSound(QUrl source);
    ~QtClickSound() override;
    void Play() override;

private:
    QUrl m_source;
    std::unique_ptr<QSoundEffect> m_effect;
};

}  // namespace rpn
