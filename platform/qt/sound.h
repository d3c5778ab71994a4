#pragma once

#include <QUrl>
#include <memory>

namespace rpn {

// The key click. The view calls Play once for each tap it performs while
// clicks are on. Playing is asynchronous and never reports a failure: without
// an audio device or a readable sound the click is silent.
class ClickSound {
public:
    virtual ~ClickSound() = default;
    virtual void Play() = 0;
};

// QSoundEffect over the "CLICK" sound of the program's resources. It lives in
// a module of its own (rpn_click.so, installed beside the program's libraries)
// that the first Play loads, so a start neither links nor maps Qt Multimedia
// and the audio libraries behind it. A module that cannot be loaded means
// silence, as a missing audio device does.
class QtClickSound final : public ClickSound {
public:
    explicit QtClickSound(QUrl source);
    ~QtClickSound() override;
    void Play() override;

private:
    QUrl m_source;
    bool m_loadTried = false;
    std::unique_ptr<ClickSound> m_sound;
};

}  // namespace rpn
