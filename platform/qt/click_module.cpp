#include <QSoundEffect>
#include <QtGlobal>

#include "platform/qt/sound.h"

namespace {

class SoundEffectClick final : public rpn::ClickSound {
public:
    explicit SoundEffectClick(const QUrl& source) { m_effect.setSource(source); }

    void Play() override
    {
        // A click still sounding is cut off and started again, as a fresh tap should be.
        m_effect.stop();
        m_effect.play();
    }

private:
    QSoundEffect m_effect;
};

}  // namespace

// The one entry point QtClickSound looks up; the caller owns the result.
extern "C" Q_DECL_EXPORT rpn::ClickSound* rpn_create_click_sound(const QUrl* source)
{
    return new SoundEffectClick(*source);
}
