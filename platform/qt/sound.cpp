#include "platform/qt/sound.h"

#include <canberra.h>
#include <dlfcn.h>

#include <QCoreApplication>
#include <QFile>

namespace rpn {

// The library and the decoders it links would be mapped at every start, for
// a click that most sessions never play: the first click loads it instead.
struct CanberraClickSound::Library {
    void* handle = dlopen("libcanberra.so.0", RTLD_LAZY | RTLD_LOCAL);
    decltype(&ca_context_create) create =
        handle ? reinterpret_cast<decltype(create)>(dlsym(handle, "ca_context_create")) : nullptr;
    decltype(&ca_context_play) play =
        handle ? reinterpret_cast<decltype(play)>(dlsym(handle, "ca_context_play")) : nullptr;
    decltype(&ca_context_destroy) destroy =
        handle ? reinterpret_cast<decltype(destroy)>(dlsym(handle, "ca_context_destroy")) : nullptr;
};

CanberraClickSound::CanberraClickSound() = default;

CanberraClickSound::~CanberraClickSound()
{
    if (m_context)
        m_library->destroy(m_context);
}

void CanberraClickSound::Play()
{
    if (!m_context) {
        if (!m_library)
            m_library = std::make_unique<Library>();
        if (!m_library->create || !m_library->play || !m_library->destroy ||
            m_library->create(&m_context) != CA_SUCCESS)
            return;
        // The file's place relative to the executable is the same in the
        // build tree and in an installed tree.
        m_path = QFile::encodeName(QCoreApplication::applicationDirPath() + QStringLiteral("/" RPN_CLICK_FILE))
                     .toStdString();
    }
    // The event id names the cached sample; a first play uploads it.
    m_library->play(m_context, 0, CA_PROP_EVENT_ID, "io.github.rpn_calculator.rpn.click", CA_PROP_MEDIA_FILENAME,
                    m_path.c_str(), CA_PROP_CANBERRA_CACHE_CONTROL, "permanent", nullptr);
}

}  // namespace rpn
