#include "app/single_instance.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace rpn {

namespace {

using Clock = std::chrono::steady_clock;

// The desktop entry's id, so no other program's socket is taken for ours.
constexpr char kInstanceName[] = "io.github.rpn_calculator.rpn";
constexpr char kMagic[] = {'R', 'P', 'N', '1'};
constexpr std::size_t kHeaderSize = sizeof kMagic + 4;
// No path is longer; anything more is not a calculator talking.
constexpr std::uint32_t kLongestPath = 64 * 1024;
constexpr char kAnswer = 'K';
constexpr int kMostConnections = 8;
constexpr int kConnectionPatienceMs = 2000;

bool IsPrivateDirectory(const std::string& path)
{
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == geteuid() &&
           (status.st_mode & 077) == 0;
}

bool FillAddress(const std::string& path, sockaddr_un& address)
{
    address = {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

int MillisecondsLeft(Clock::time_point deadline)
{
    // Rounded up: a wait never ends before its deadline.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

bool WaitFor(int fd, short events, Clock::time_point deadline)
{
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = poll(&entry, 1, MillisecondsLeft(deadline));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

enum class Answer { Taken, NoListener, Silent };

Answer TryHandOver(const std::string& socketPath, const std::string& message, Clock::time_point deadline)
{
    sockaddr_un address;
    if (!FillAddress(socketPath, address))
        return Answer::NoListener;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return Answer::NoListener;
    Answer answer = Answer::Silent;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        // A full backlog (EAGAIN) is a listener that does not accept: waited
        // for like one not there yet.
        answer = Answer::NoListener;
    } else {
        std::size_t sent = 0;
        while (sent < message.size() && WaitFor(fd, POLLOUT, deadline)) {
            const ssize_t written = send(fd, message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
            if (written < 0 && errno != EINTR && errno != EAGAIN)
                break;
            if (written > 0)
                sent += static_cast<std::size_t>(written);
        }
        char reply = 0;
        while (sent == message.size() && WaitFor(fd, POLLIN, deadline)) {
            const ssize_t got = recv(fd, &reply, 1, 0);
            if (got < 0 && (errno == EINTR || errno == EAGAIN))
                continue;
            if (got == 1 && reply == kAnswer)
                answer = Answer::Taken;
            break;
        }
    }
    close(fd);
    return answer;
}

InstanceListener Listen(const std::string& socketPath, int lockFd)
{
    sockaddr_un address;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0 || !FillAddress(socketPath, address)) {
        if (fd >= 0)
            close(fd);
        if (lockFd >= 0)
            close(lockFd);
        return {};
    }
    unlink(socketPath.c_str());
    // Still one thread here, so the narrower mask holds for this bind alone.
    const mode_t mask = umask(077);
    const bool bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    umask(mask);
    if (!bound || listen(fd, kMostConnections) != 0) {
        close(fd);
        if (lockFd >= 0)
            close(lockFd);
        return {};
    }
    return InstanceListener(fd, lockFd, socketPath);
}

void PutLength(std::string& bytes, std::uint32_t length)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<char>((length >> shift) & 0xFFu));
}

std::uint32_t GetLength(const std::string& bytes, std::size_t at)
{
    std::uint32_t length = 0;
    for (int index = 3; index >= 0; --index)
        length = (length << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(index)]);
    return length;
}

}  // namespace

std::optional<InstancePaths> UserInstancePaths()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const char* temporary = std::getenv("TMPDIR");
    return InstancePathsIn(runtime != nullptr ? runtime : "",
                           temporary != nullptr && temporary[0] == '/' ? temporary : "/tmp");
}

std::optional<InstancePaths> InstancePathsIn(const std::string& runtimeDirectory, const std::string& temporaryDirectory)
{
    std::string directory;
    if (!runtimeDirectory.empty() && runtimeDirectory.front() == '/' && IsPrivateDirectory(runtimeDirectory)) {
        directory = runtimeDirectory;
    } else {
        directory = temporaryDirectory + "/rpn-" + std::to_string(geteuid());
        if (mkdir(directory.c_str(), 0700) != 0 && errno != EEXIST)
            return std::nullopt;
        // Someone else's directory of that name, or a link, is not used.
        if (!IsPrivateDirectory(directory))
            return std::nullopt;
    }
    const std::string base = directory + '/' + kInstanceName;
    return InstancePaths{base + ".socket", base + ".lock"};
}

InstanceListener::InstanceListener(int socketFd, int lockFd, std::string socketPath)
    : m_socketFd(socketFd), m_lockFd(lockFd), m_socketPath(std::move(socketPath))
{
    struct stat status {};
    if (stat(m_socketPath.c_str(), &status) == 0) {
        m_device = status.st_dev;
        m_inode = status.st_ino;
    }
}

InstanceListener::~InstanceListener()
{
    Close();
}

InstanceListener::InstanceListener(InstanceListener&& other) noexcept
{
    *this = std::move(other);
}

InstanceListener& InstanceListener::operator=(InstanceListener&& other) noexcept
{
    if (this != &other) {
        Close();
        m_socketFd = std::exchange(other.m_socketFd, -1);
        m_lockFd = std::exchange(other.m_lockFd, -1);
        m_socketPath = std::move(other.m_socketPath);
        m_device = other.m_device;
        m_inode = other.m_inode;
    }
    return *this;
}

void InstanceListener::Close()
{
    if (m_socketFd >= 0) {
        close(m_socketFd);
        m_socketFd = -1;
        // A start that took the socket over from this one keeps its own.
        struct stat status {};
        if (stat(m_socketPath.c_str(), &status) == 0 && status.st_dev == m_device && status.st_ino == m_inode)
            unlink(m_socketPath.c_str());
    }
    // The lock goes last: a start waiting on it then finds no socket left.
    if (m_lockFd >= 0) {
        close(m_lockFd);
        m_lockFd = -1;
    }
}

std::string EncodeSecondStart(const SecondStart& request)
{
    std::string bytes(kMagic, sizeof kMagic);
    const std::string path = request.path.value_or(std::string());
    PutLength(bytes, static_cast<std::uint32_t>(path.size()));
    return bytes + path;
}

DecodeResult DecodeSecondStart(const std::string& bytes, SecondStart& request)
{
    if (bytes.compare(0, std::min(bytes.size(), sizeof kMagic), kMagic, std::min(bytes.size(), sizeof kMagic)) != 0)
        return DecodeResult::Invalid;
    if (bytes.size() < kHeaderSize)
        return DecodeResult::Incomplete;
    const std::uint32_t length = GetLength(bytes, sizeof kMagic);
    if (length > kLongestPath || bytes.size() > kHeaderSize + length)
        return DecodeResult::Invalid;
    if (bytes.size() < kHeaderSize + length)
        return DecodeResult::Incomplete;
    std::string path = bytes.substr(kHeaderSize);
    // A file name has no NUL; an empty one asks only for the window.
    if (path.find('\0') != std::string::npos)
        return DecodeResult::Invalid;
    request.path = path.empty() ? std::nullopt : std::optional<std::string>(std::move(path));
    return DecodeResult::Complete;
}

InstanceClaim ClaimInstance(const InstancePaths& paths, const SecondStart& request, std::chrono::milliseconds patience)
{
    const Clock::time_point deadline = Clock::now() + patience;
    const std::string message = EncodeSecondStart(request);
    const int lockFd = open(paths.lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    bool locked = false;
    for (;;) {
        const Answer answer = TryHandOver(paths.socket, message, deadline);
        if (answer == Answer::Taken) {
            if (lockFd >= 0)
                close(lockFd);
            return {true, {}};
        }
        if (answer == Answer::Silent)
            break;
        // Nobody listens. A free lock means nobody runs: the socket, if any,
        // was left by a killed calculator. A held one means one is starting,
        // so its socket comes in a moment.
        if (lockFd < 0 || flock(lockFd, LOCK_EX | LOCK_NB) == 0) {
            locked = lockFd >= 0;
            break;
        }
        if (Clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // Without the lock, the holder is hung; this process takes its place.
    if (!locked && lockFd >= 0)
        close(lockFd);
    return {false, Listen(paths.socket, locked ? lockFd : -1)};
}

struct InstanceServer::Connection {
    int id = 0;
    int fd = -1;
    std::string bytes;
    std::unique_ptr<QSocketNotifier> notifier;
};

InstanceServer::InstanceServer(InstanceListener listener) : m_listener(std::move(listener))
{
    if (!m_listener.Listening())
        return;
    m_notifier = std::make_unique<QSocketNotifier>(m_listener.Fd(), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { Accept(); });
}

InstanceServer::~InstanceServer()
{
    Stop();
}

void InstanceServer::SetReceiver(std::function<void(const SecondStart&)> receiver)
{
    m_receiver = std::move(receiver);
    for (SecondStart& request : std::exchange(m_pending, {}))
        Deliver(std::move(request));
}

void InstanceServer::Stop()
{
    // Stop may come from inside one of the notifiers' own calls (a close
    // begun while a handed-on request shows a message box), so they are
    // only switched off here and deleted with the server.
    m_stopped = true;
    if (m_notifier)
        m_notifier->setEnabled(false);
    while (!m_connections.empty())
        Drop(m_connections.back()->id);
    m_listener.Close();
    m_pending.clear();
}

void InstanceServer::Accept()
{
    m_finished.clear();
    for (;;) {
        const int fd = accept4(m_listener.Fd(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            return;
        // The directory is the user's own; the check costs nothing and keeps
        // it so should the directory ever be shared.
        ucred peer{};
        socklen_t size = sizeof peer;
        if (getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.uid != geteuid() ||
            m_connections.size() >= kMostConnections) {
            close(fd);
            continue;
        }
        auto connection = std::make_unique<Connection>();
        const int id = ++m_lastConnectionId;
        connection->id = id;
        connection->fd = fd;
        connection->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(connection->notifier.get(), &QSocketNotifier::activated, [this, id] { Read(id); });
        // A start that connects and says nothing is not kept waiting on.
        QTimer::singleShot(kConnectionPatienceMs, m_notifier.get(), [this, id] { Drop(id); });
        m_connections.push_back(std::move(connection));
    }
}

void InstanceServer::Read(int id)
{
    const auto found =
        std::find_if(m_connections.begin(), m_connections.end(), [id](const auto& each) { return each->id == id; });
    if (found == m_connections.end())
        return;
    Connection& connection = **found;
    char buffer[4096];
    for (;;) {
        const ssize_t got = recv(connection.fd, buffer, sizeof buffer, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno == EAGAIN)
            return;
        if (got <= 0) {
            Drop(id);
            return;
        }
        connection.bytes.append(buffer, static_cast<std::size_t>(got));
        SecondStart request;
        const DecodeResult result = DecodeSecondStart(connection.bytes, request);
        if (result == DecodeResult::Incomplete)
            continue;
        if (result == DecodeResult::Complete) [[maybe_unused]]
            const ssize_t sent = send(connection.fd, &kAnswer, 1, MSG_NOSIGNAL);
        Drop(id);
        if (result == DecodeResult::Complete)
            Deliver(std::move(request));
        return;
    }
}

void InstanceServer::Drop(int id)
{
    const auto found =
        std::find_if(m_connections.begin(), m_connections.end(), [id](const auto& each) { return each->id == id; });
    if (found == m_connections.end())
        return;
    (*found)->notifier->setEnabled(false);
    close((*found)->fd);
    // Deleted at the next accept, outside its own call.
    m_finished.push_back(std::move(*found));
    m_connections.erase(found);
}

void InstanceServer::Deliver(SecondStart request)
{
    if (m_stopped)
        return;
    if (!m_receiver) {
        m_pending.push_back(std::move(request));
        return;
    }
    // Handed on from the event loop, after the answer has gone out.
    QTimer::singleShot(0, m_notifier.get(), [this, request = std::move(request)] {
        if (m_receiver && !m_stopped)
            m_receiver(request);
    });
}

}  // namespace rpn
