#include "platform/sound.h"

#include <QSoundEffect>

namespace rpn {

QtClickSound::QtClickSound(QUrl source) : m_source(std::move(source)) {}

QtClickSound::~QtClickSound() = default;

void QtClickSound::Play()
{
    if (!m_effect) {
        m_effect = std::make_unique<QSoundEffect>();
        m_effect->setSource(m_source);
    }
    // A click still sounding is cut off and started again, as a fresh tap should be.
    m_effect->stop();
    m_effect->play();
}

}  // namespace rpn
