#include "platform/media/child_process.h"

#include <QFile>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace quillon {

// The program's input pipes are its descriptors 3, 4 ..., named so in its arguments
// ("pipe:3"); its standard error comes back through one more.
struct ChildProcess::Native {
    pid_t pid = -1;
    std::vector<int> inputs; // our ends, -1 once closed
    int errors = -1;
};

namespace {

constexpr int FirstInputFd = 3;

// A pipe whose reader has gone must give an error on write, not end this program.
void ignoreBrokenPipes() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_handler = SIG_IGN;
        sigemptyset(&action.sa_mask);
        sigaction(SIGPIPE, &action, nullptr);
    });
}

// Out of the way of the descriptors the child is given, and closed in every child.
int highFd(int fd) {
    const int moved = fcntl(fd, F_DUPFD_CLOEXEC, 10);
    ::close(fd);
    return moved;
}

void closeFd(int& fd) {
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

struct Spawn {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    Spawn() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~Spawn() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
};

} // namespace

ChildProcess::ChildProcess(const QString& program, const QStringList& arguments, int inputPipes)
    : native_(std::make_unique<Native>()) {
    start(program, arguments, inputPipes);
}

ChildProcess::~ChildProcess() {
    kill();
}

void ChildProcess::start(const QString& program, const QStringList& arguments, int inputPipes) {
    ignoreBrokenPipes();
    Native& n = *native_;
    std::vector<int> childEnds;
    const auto closeAll = [&] {
        for (int& fd : childEnds)
            closeFd(fd);
        for (int& fd : n.inputs)
            closeFd(fd);
        closeFd(n.errors);
    };
    for (int i = 0; i <= inputPipes; ++i) {
        int ends[2];
        if (::pipe(ends) != 0) {
            closeAll();
            cannotStart(program);
        }
        const bool isInput = i < inputPipes;
        int ours = highFd(isInput ? ends[1] : ends[0]);
        childEnds.push_back(highFd(isInput ? ends[0] : ends[1]));
        fcntl(ours, F_SETFL, fcntl(ours, F_GETFL) | O_NONBLOCK);
        if (isInput) {
#ifdef F_SETPIPE_SZ
            // Whole frames in fewer rounds; a refusal only costs speed.
            fcntl(ours, F_SETPIPE_SZ, 1 << 20);
#endif
            n.inputs.push_back(ours);
            pipes_.push_back(Pipe{});
        } else {
            n.errors = ours;
        }
    }

    Spawn spawn;
    posix_spawn_file_actions_addopen(&spawn.actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&spawn.actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&spawn.actions, childEnds.back(), 2);
    for (int i = 0; i < inputPipes; ++i)
        posix_spawn_file_actions_adddup2(&spawn.actions, childEnds[size_t(i)], FirstInputFd + i);
    // A group of its own: a Ctrl+C at the terminal is ours to handle, not the child's.
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    posix_spawnattr_setsigmask(&spawn.attributes, &none);
    posix_spawnattr_setsigdefault(&spawn.attributes, &defaults);
    posix_spawnattr_setpgroup(&spawn.attributes, 0);
    posix_spawnattr_setflags(&spawn.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF |
                                                    POSIX_SPAWN_SETPGROUP);

    const QByteArray path = QFile::encodeName(program);
    std::vector<QByteArray> argBytes{path};
    for (const QString& a : arguments)
        argBytes.push_back(a.toLocal8Bit());
    std::vector<char*> argv;
    argv.reserve(argBytes.size() + 1);
    for (QByteArray& a : argBytes)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const int result = posix_spawn(&n.pid, path.constData(), &spawn.actions, &spawn.attributes,
                                   argv.data(), environ);
    for (int& fd : childEnds)
        closeFd(fd);
    if (result != 0) {
        n.pid = -1;
        closeAll();
        for (Pipe& p : pipes_)
            p.open = false;
        cannotStart(program);
    }
}

bool ChildProcess::pump(int timeoutMs) {
    Native& n = *native_;
    std::vector<pollfd> fds;
    std::vector<size_t> owners;
    for (size_t i = 0; i < pipes_.size(); ++i)
        if (n.inputs[i] >= 0 && pipes_[i].pending > 0 && !pipes_[i].broken) {
            fds.push_back(pollfd{n.inputs[i], POLLOUT, 0});
            owners.push_back(i);
        }
    if (n.errors >= 0)
        fds.push_back(pollfd{n.errors, POLLIN, 0});
    if (fds.empty())
        return false;
    if (::poll(fds.data(), nfds_t(fds.size()), timeoutMs) < 0)
        return errno == EINTR;
    for (size_t i = 0; i < owners.size(); ++i) {
        if (!fds[i].revents)
            continue;
        Pipe& p = pipes_[owners[i]];
        const int fd = n.inputs[owners[i]];
        while (!p.chunks.empty()) {
            const Chunk& c = p.chunks.front();
            const ssize_t written = ::write(fd, c.data + c.done, size_t(c.size - c.done));
            if (written < 0) {
                if (errno == EINTR)
                    continue;
                if (errno != EAGAIN)
                    p.broken = true; // the reader is gone
                break;
            }
            const bool whole = written == c.size - c.done;
            took(p, written);
            if (!whole)
                break;
        }
        if (p.broken)
            dropQueued(p);
    }
    if (n.errors >= 0 && fds.back().revents)
        listen(0);
    return true;
}

void ChildProcess::listen(int timeoutMs) {
    Native& n = *native_;
    if (n.errors < 0)
        return;
    if (timeoutMs > 0) {
        pollfd fd{n.errors, POLLIN, 0};
        if (::poll(&fd, 1, timeoutMs) <= 0)
            return;
    }
    char buffer[4096];
    const ssize_t got = ::read(n.errors, buffer, sizeof buffer);
    if (got > 0)
        keepMessages(buffer, got);
    else if (got == 0 || (errno != EAGAIN && errno != EINTR))
        closeFd(n.errors);
}

bool ChildProcess::hearsMessages() const {
    return native_->errors >= 0;
}

void ChildProcess::closePipe(int pipe) {
    closeFd(native_->inputs.at(size_t(pipe)));
    Pipe& p = pipes_.at(size_t(pipe));
    p.open = false;
    dropQueued(p);
}

void ChildProcess::kill() {
    for (size_t i = 0; i < pipes_.size(); ++i)
        closePipe(int(i));
    if (native_->pid > 0 && !ended_)
        ::kill(native_->pid, SIGKILL);
    wait();
    closeFd(native_->errors);
}

void ChildProcess::wait() {
    if (native_->pid <= 0 || ended_)
        return;
    int status = 0;
    while (::waitpid(native_->pid, &status, 0) < 0 && errno == EINTR) {
    }
    ended_ = true;
    exit_.bySignal = WIFSIGNALED(status);
    exit_.code = exit_.bySignal ? WTERMSIG(status) : WEXITSTATUS(status);
}

} // namespace quillon
