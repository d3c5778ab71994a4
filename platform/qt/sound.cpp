#include "platform/qt/sound.h"

#include <canberra.h>

#include <QCoreApplication>
#include <QFile>

namespace rpn {

CanberraClickSound::~CanberraClickSound()
{
    if (m_context)
        ca_context_destroy(m_context);
}

void CanberraClickSound::Play()
{
    if (!m_context) {
        if (ca_context_create(&m_context) != CA_SUCCESS)
            return;
        // The file's place relative to the executable is the same in the
        // build tree and in an installed tree.
        m_path = QFile::encodeName(QCoreApplication::applicationDirPath() + QStringLiteral("/" RPN_CLICK_FILE))
                     .toStdString();
    }
    // The event id names the cached sample; a first play uploads it.
    ca_context_play(m_context, 0, CA_PROP_EVENT_ID, "io.github.rpn_calculator.rpn.click", CA_PROP_MEDIA_FILENAME,
                    m_path.c_str(), CA_PROP_CANBERRA_CACHE_CONTROL, "permanent", nullptr);
}

}  // namespace rpn
