#pragma once

#include <memory>
#include <string>

struct ca_context;

namespace rpn {

// The key click. The view calls Play once for each tap it performs while
// clicks are on. Playing is asynchronous and never reports a failure: without
// an audio device or a readable sound the click is silent.
class ClickSound {
public:
    virtual ~ClickSound() = default;
    virtual void Play() = 0;
};

// The click through the desktop's event-sound library. The first Play
// connects to the sound server and leaves the click in its sample cache, so
// every later tap is one short request that the server plays from memory,
// however quickly taps follow each other. The sound is the data file
// share/rpn/click.wav, found beside the program's own directory. Without the
// library, a sound server or the file, the click is silent.
class CanberraClickSound final : public ClickSound {
public:
    CanberraClickSound();
    CanberraClickSound(const CanberraClickSound&) = delete;
    CanberraClickSound& operator=(const CanberraClickSound&) = delete;
    ~CanberraClickSound() override;
    void Play() override;

private:
    struct Library;
    std::unique_ptr<Library> m_library;
    ca_context* m_context = nullptr;
    std::string m_path;
};

}  // namespace rpn
