#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QSocketNotifier;

namespace rpn {

// What a later start asks of the running calculator: to open a state file
// (an absolute path, in the file system's bytes) or just to come to the
// front, with the X11 startup id and the Wayland activation token it got.
struct SecondStart {
    std::optional<std::string> path;
    std::string startupId{};
    std::string activationToken{};
};

// The lock whose holder is the calculator, and the socket it listens on: in
// $XDG_RUNTIME_DIR when that is private to the user, else in a private folder
// "rpn" in the state directory ($XDG_STATE_HOME, ~/.local/state), which no
// other user can make first. Nothing when neither is the user's alone.
struct InstancePaths {
    std::string lock;
    std::string socket;
};
std::optional<InstancePaths> UserInstancePaths();
std::optional<InstancePaths> InstancePathsIn(const std::string& runtimeDirectory, const std::string& stateDirectory);

// The calculator holds the lock and, unless the bind failed, the socket.
enum class ClaimResult { Calculator, HandedOver, NoAnswer };
struct InstanceClaim {
    ClaimResult result = ClaimResult::Calculator;
    int lockFd = -1;
    int socketFd = -1;
    std::string socketPath;
};

// Takes the lock when it is free: this process is then the calculator. While
// another holds it, hands the request over and waits up to patience for the
// answer (the holder may still be starting). Plain system calls, so it needs
// neither Qt nor a display.
InstanceClaim ClaimInstance(const InstancePaths& paths, const SecondStart& request,
                            std::chrono::milliseconds patience = std::chrono::seconds(5));

// Answers later starts from the event loop, each connection read when its
// request has come, so no silent client holds it up. A request is answered
// at once and handed on afterwards, so a start never waits for a box it
// brings up; requests that come before a receiver is set are kept.
class InstanceServer {
public:
    explicit InstanceServer(InstanceClaim claim);
    ~InstanceServer();
    InstanceServer(const InstanceServer&) = delete;
    InstanceServer& operator=(const InstanceServer&) = delete;

    void SetReceiver(std::function<void(const SecondStart&)> receiver);
    // Closes and removes the socket, then gives up the lock.
    void Stop();
    bool Listening() const { return m_claim.socketFd >= 0; }

private:
    void Accept();
    void Read(QSocketNotifier& connection);
    void Deliver(SecondStart request);

    InstanceClaim m_claim;
    std::unique_ptr<QSocketNotifier> m_notifier;
    bool m_stopped = false;
    std::vector<SecondStart> m_pending;
    std::function<void(const SecondStart&)> m_receiver;
};

// The request's bytes, and back (nothing unless whole); exposed for tests.
std::string EncodeSecondStart(const SecondStart& request);
std::optional<SecondStart> DecodeSecondStart(const std::string& bytes);

}  // namespace rpn
