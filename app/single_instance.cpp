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
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <thread>

namespace rpn {

namespace {

using Clock = std::chrono::steady_clock;

// The desktop entry's id, so no other program's files are taken for ours.
constexpr char kInstanceName[] = "io.github.rpn_calculator.rpn";
// A request is one packet: this word and then its fields, each ended by a
// NUL, which neither a path nor an environment variable can hold.
constexpr char kMagic[] = "RPN2";
// No request is longer; anything more is not a calculator talking.
constexpr std::size_t kLongestRequest = 64 * 1024;
constexpr char kAnswer = 'K';
// Beyond this many open connections the oldest makes way, so however many
// say nothing, a start always gets through.
constexpr int kMostConnections = 32;

bool IsPrivateDirectory(const std::string& path)
{
    struct stat status {};
    return !path.empty() && path.front() == '/' && lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == geteuid() && (status.st_mode & 077) == 0;
}

// A socket connected to the path or, for the calculator, bound and listening
// there; -1 when that fails.
int OpenSocket(const std::string& path, bool listening)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const int fd = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd >= 0 && path.size() < sizeof address.sun_path) {
        path.copy(address.sun_path, path.size());
        const auto* name = reinterpret_cast<const sockaddr*>(&address);
        if (listening ? bind(fd, name, sizeof address) == 0 && listen(fd, SOMAXCONN) == 0
                      : connect(fd, name, sizeof address) == 0)
            return fd;
    }
    if (fd >= 0)
        close(fd);
    return -1;
}

// True when the running calculator took the request and said so in time. A
// socket not there yet, or a full backlog, is tried again by the caller.
bool HandOver(const std::string& socketPath, const std::string& message, Clock::time_point deadline)
{
    const int fd = OpenSocket(socketPath, false);
    if (fd < 0)
        return false;
    // The wait is rounded up, so it never ends before its deadline.
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd answer{fd, POLLIN, 0};
    char reply = 0;
    const bool taken = send(fd, message.data(), message.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(message.size()) &&
                       poll(&answer, 1, static_cast<int>(std::max<decltype(left)>(left, 0))) > 0 &&
                       recv(fd, &reply, 1, 0) == 1 && reply == kAnswer;
    close(fd);
    return taken;
}

}  // namespace

std::optional<InstancePaths> UserInstancePaths()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const char* state = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    std::string stateDirectory = state != nullptr && state[0] == '/' ? state : "";
    if (stateDirectory.empty() && home != nullptr)
        stateDirectory = std::string(home) + "/.local/state";
    return InstancePathsIn(runtime != nullptr ? runtime : "", stateDirectory);
}

std::optional<InstancePaths> InstancePathsIn(const std::string& runtimeDirectory, const std::string& stateDirectory)
{
    std::string directory = runtimeDirectory;
    if (!IsPrivateDirectory(directory) && stateDirectory.rfind('/', 0) == 0) {
        std::error_code ignored;
        std::filesystem::create_directories(stateDirectory, ignored);
        directory = stateDirectory + "/rpn";
        mkdir(directory.c_str(), 0700);
    }
    // Someone else's folder of that name, or a link, is not used.
    if (!IsPrivateDirectory(directory))
        return std::nullopt;
    const std::string base = directory + '/' + kInstanceName;
    return InstancePaths{base + ".lock", base + ".socket"};
}

InstanceClaim ClaimInstance(const InstancePaths& paths, const SecondStart& request, std::chrono::milliseconds patience)
{
    const Clock::time_point deadline = Clock::now() + patience;
    const std::string message = EncodeSecondStart(request);
    InstanceClaim claim;
    // Without a lock file, or locks, this start can only go on alone.
    claim.lockFd = open(paths.lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    while (claim.lockFd >= 0 && flock(claim.lockFd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR)
            return claim;
        // Held: the holder is the calculator, perhaps still starting, so its
        // socket may not be there yet.
        const bool handedOver = HandOver(paths.socket, message, deadline);
        if (handedOver || Clock::now() >= deadline) {
            close(std::exchange(claim.lockFd, -1));
            claim.result = handedOver ? ClaimResult::HandedOver : ClaimResult::NoAnswer;
            return claim;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // Only the lock holder binds or removes the socket, so a file found here
    // is one a killed calculator left. The directory is the user's alone,
    // which keeps everyone else off the socket.
    unlink(paths.socket.c_str());
    claim.socketFd = OpenSocket(paths.socket, true);
    claim.socketPath = paths.socket;
    return claim;
}

InstanceServer::InstanceServer(InstanceClaim claim) : m_claim(std::move(claim))
{
    if (!Listening())
        return;
    m_notifier = std::make_unique<QSocketNotifier>(m_claim.socketFd, QSocketNotifier::Read);
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
    // Stop may come from inside a request handed on, which runs in the
    // listener's notifier's context: that is deleted only with the server.
    m_stopped = true;
    if (m_notifier) {
        m_notifier->setEnabled(false);
        qDeleteAll(QObjectList(m_notifier->children()));
    }
    if (m_claim.socketFd >= 0) {
        close(std::exchange(m_claim.socketFd, -1));
        unlink(m_claim.socketPath.c_str());
    }
    // The lock goes last, so the next holder finds no socket of ours left.
    if (m_claim.lockFd >= 0)
        close(std::exchange(m_claim.lockFd, -1));
}

void InstanceServer::Accept()
{
    for (int fd = -1; (fd = accept4(m_claim.socketFd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0;) {
        if (m_notifier->children().size() >= kMostConnections)
            delete m_notifier->children().front();
        auto* connection = new QSocketNotifier(fd, QSocketNotifier::Read, m_notifier.get());
        QObject::connect(connection, &QObject::destroyed, [fd] { close(fd); });
        QObject::connect(connection, &QSocketNotifier::activated, [this, connection] { Read(*connection); });
    }
}

void InstanceServer::Read(QSocketNotifier& connection)
{
    const int fd = static_cast<int>(connection.socket());
    // One byte more than a request may have, so a longer one is refused.
    std::string bytes(kLongestRequest + 1, '\0');
    const ssize_t got = recv(fd, bytes.data(), bytes.size(), 0);
    if (got < 0 && errno == EAGAIN)
        return;
    bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    // A start that gave up before the answer is not acted for.
    std::optional<SecondStart> request = DecodeSecondStart(bytes);
    const bool answered = request && send(fd, &kAnswer, 1, MSG_NOSIGNAL) == 1;
    connection.setEnabled(false);
    connection.deleteLater();
    if (answered)
        Deliver(std::move(*request));
}

void InstanceServer::Deliver(SecondStart request)
{
    if (!m_receiver && !m_stopped)
        m_pending.push_back(std::move(request));
    else if (!m_stopped)
        QTimer::singleShot(0, m_notifier.get(), [this, request = std::move(request)] {
            if (m_receiver && !m_stopped)
                m_receiver(request);
        });
}

std::string EncodeSecondStart(const SecondStart& request)
{
    std::string bytes;
    for (const std::string& field :
         {std::string(kMagic), request.path.value_or(std::string()), request.startupId, request.activationToken})
        (bytes += field) += '\0';
    return bytes;
}

std::optional<SecondStart> DecodeSecondStart(const std::string& bytes)
{
    std::vector<std::string> fields;
    std::size_t begin = 0;
    for (std::size_t end = 0; (end = bytes.find('\0', begin)) != std::string::npos; begin = end + 1)
        fields.push_back(bytes.substr(begin, end - begin));
    if (begin != bytes.size() || fields.size() != 4 || fields[0] != kMagic || bytes.size() > kLongestRequest)
        return std::nullopt;
    // An empty path asks only for the window.
    return SecondStart{fields[1].empty() ? std::nullopt : std::optional<std::string>(fields[1]), fields[2], fields[3]};
}

}  // namespace rpn
