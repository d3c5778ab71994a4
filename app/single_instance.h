#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QSocketNotifier;

namespace rpn {

// What a later start asks of the running calculator: open a state file
// (an absolute path, in the file system's bytes) or just come to the front.
struct SecondStart {
    std::optional<std::string> path;
};

// The socket a running calculator listens on and the lock file that tells a
// calculator still starting from a dead one. Both live in the user's
// runtime directory.
struct InstancePaths {
    std::string socket;
    std::string lock;
};

// $XDG_RUNTIME_DIR when it is the user's private directory; otherwise a
// private directory of the user's own under $TMPDIR or /tmp, made on first
// use. Nothing when neither can be trusted: the calculator then starts on
// its own, as it did before there was only one.
std::optional<InstancePaths> UserInstancePaths();
// The same from the two directories given: the runtime directory (empty
// when unset) and the temporary directory.
std::optional<InstancePaths> InstancePathsIn(const std::string& runtimeDirectory,
                                             const std::string& temporaryDirectory);

// A listening socket with the lock taken with it, owned; closing stops the
// listening and removes the socket file while it is still this one's.
class InstanceListener {
public:
    InstanceListener() = default;
    InstanceListener(int socketFd, int lockFd, std::string socketPath);
    ~InstanceListener();
    InstanceListener(InstanceListener&& other) noexcept;
    InstanceListener& operator=(InstanceListener&& other) noexcept;
    InstanceListener(const InstanceListener&) = delete;
    InstanceListener& operator=(const InstanceListener&) = delete;

    int Fd() const { return m_socketFd; }
    bool Listening() const { return m_socketFd >= 0; }
    void Close();

private:
    int m_socketFd = -1;
    int m_lockFd = -1;
    std::string m_socketPath;
    dev_t m_device = 0;
    ino_t m_inode = 0;
};

struct InstanceClaim {
    // The running calculator took the request; this process has nothing to do.
    bool handedOver = false;
    // Otherwise this process is the calculator; it listens here when it could.
    InstanceListener listener;
};

// Hands the request to a running calculator and waits up to patience for its
// answer. When none runs, or it does not answer in time (hung, or a socket
// left by a killed one), this process becomes the calculator and takes the
// socket over. Plain system calls, so that it costs a few system calls when
// nothing runs and needs neither Qt nor a display.
InstanceClaim ClaimInstance(const InstancePaths& paths, const SecondStart& request,
                            std::chrono::milliseconds patience = std::chrono::seconds(1));

// Answers later starts from the event loop. Each request is answered at once
// and handed on afterwards from the event loop, so the starting process never
// waits for a message box the request may bring up; requests that come
// before a receiver is set are kept for it.
class InstanceServer {
public:
    explicit InstanceServer(InstanceListener listener);
    ~InstanceServer();
    InstanceServer(const InstanceServer&) = delete;
    InstanceServer& operator=(const InstanceServer&) = delete;

    void SetReceiver(std::function<void(const SecondStart&)> receiver);
    // From now on a later start finds nobody and starts on its own.
    void Stop();
    bool Listening() const { return m_listener.Listening(); }

private:
    struct Connection;

    void Accept();
    void Read(int id);
    void Drop(int id);
    void Deliver(SecondStart request);

    InstanceListener m_listener;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::vector<std::unique_ptr<Connection>> m_connections;
    std::vector<std::unique_ptr<Connection>> m_finished;
    int m_lastConnectionId = 0;
    bool m_stopped = false;
    std::vector<SecondStart> m_pending;
    std::function<void(const SecondStart&)> m_receiver;
};

// The request's bytes on the socket and back; exposed for tests.
std::string EncodeSecondStart(const SecondStart& request);
enum class DecodeResult { Incomplete, Complete, Invalid };
DecodeResult DecodeSecondStart(const std::string& bytes, SecondStart& request);

}  // namespace rpn
