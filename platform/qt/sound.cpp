#include "platform/qt/sound.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace rpn {

namespace {

using CreateClickSound = ClickSound* (*)(const QUrl*);

std::unique_ptr<ClickSound> LoadClickModule(const QUrl& source)
{
    // The module's place relative to the executable is the same in the build
    // tree and in an installed tree.
    QLibrary module(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral(RPN_CLICK_MODULE)));
    const auto create = reinterpret_cast<CreateClickSound>(module.resolve("rpn_create_click_sound"));
    if (!create)
        return nullptr;
    return std::unique_ptr<ClickSound>(create(&source));
}

}  // namespace

QtClickSound::QtClickSound(QUrl source) : m_source(std::move(source)) {}

QtClickSound::~QtClickSound() = default;

void QtClickSound::Play()
{
    if (!m_loadTried) {
        m_loadTried = true;
        m_sound = LoadClickModule(m_source);
    }
    if (m_sound)
        m_sound->Play();
}

}  // namespace rpn
