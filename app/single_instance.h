#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QSocketNotifier;

namespace rpn {

// What a later start asks of the running calculator: open a state file (an
// absolute path, in the file system's bytes) or just come to the front, with
// what the desktop gave that start for bringing a window to the front: the
// X11 startup-notification id and the Wayland activation token.
struct SecondStart {
    std::optional<std::string> path;
    std::string startupId{};
    std::string activationToken{};
};

// The lock whose holder is the calculator, and the socket it listens on.
struct InstancePaths {
    std::string lock;
    std::string socket;
};

// In $XDG_RUNTIME_DIR when that is private to the user; otherwise in a private
// folder "rpn" under $XDG_STATE_HOME (~/.local/state), where no other user can
// make it first. Nothing when neither is the user's alone.
std::optional<InstancePaths> UserInstancePaths();
std::optional<InstancePaths> InstancePathsIn(const std::string& runtimeDirectory, const std::string& stateDirectory);

enum class ClaimResult { Calculator, HandedOver, NoAnswer };

// As the calculator, a start holds the lock and, unless the bind failed, the
// listening socket, both open for InstanceServer.
struct InstanceClaim {
    ClaimResult result = ClaimResult::Calculator;
    int lockFd = -1;
    int socketFd = -1;
    std::string socketPath;
};

// Takes the lock when it is free, and then this process is the calculator.
// While another holds it, hands the request over and waits up to patience for
// the answer (the holder may still be starting). Plain system calls, so that
// it costs a few when nothing runs and needs neither Qt nor a display.
InstanceClaim ClaimInstance(const InstancePaths& paths, const SecondStart& request,
                            std::chrono::milliseconds patience = std::chrono::seconds(5));

// Answers later starts from the event loop: one request per connection, read
// when it has come, so no slow or silent client holds it up. A request is
// answered at once and handed on afterwards, so the start never waits for a
// box it brings up; requests that come before a receiver is set are kept.
class InstanceServer {
public:
    explicit InstanceServer(InstanceClaim claim);
    ~InstanceServer();
    InstanceServer(const InstanceServer&) = delete;
    InstanceServer& operator=(const InstanceServer&) = delete;

    void SetReceiver(std::function<void(const SecondStart&)> receiver);
    // Closes the socket and removes its file, then gives up the lock: from now
    // on a later start becomes the calculator.
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

// The request's bytes on the socket, and back (nothing for bytes that are not
// a whole request); exposed for tests.
std::string EncodeSecondStart(const SecondStart& request);
std::optional<SecondStart> DecodeSecondStart(const std::string& bytes);

}  // namespace rpn
