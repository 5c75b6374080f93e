#include "platform/media/child_process.h"

#include "platform/core/error.h"

#include <QCoreApplication>
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

namespace {

constexpr int FirstInputFd = 3;
constexpr qsizetype MessageTail = 4096;

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

ChildProcess::ChildProcess(const QString& program, const QStringList& arguments, int inputPipes) {
    ignoreBrokenPipes();
    const auto cannotStart = [&] {
        throw Exception(
            formatMessage(QCoreApplication::translate("Errors", "%s を起動できません"), {program}));
    };
    std::vector<int> childEnds;
    const auto closeAll = [&] {
        for (int fd : childEnds)
            ::close(fd);
        for (Pipe& p : pipes_)
            closePipe(p);
        if (errorFd_ >= 0)
            ::close(errorFd_);
        errorFd_ = -1;
    };
    for (int i = 0; i <= inputPipes; ++i) {
        int ends[2];
        if (::pipe(ends) != 0) {
            closeAll();
            cannotStart();
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
            pipes_.push_back(Pipe{ours, {}, 0, false});
        } else {
            errorFd_ = ours;
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
    const int result = posix_spawn(&pid_, path.constData(), &spawn.actions, &spawn.attributes,
                                   argv.data(), environ);
    for (int fd : childEnds)
        ::close(fd);
    childEnds.clear();
    if (result != 0) {
        pid_ = -1;
        closeAll();
        cannotStart();
    }
}

ChildProcess::~ChildProcess() {
    kill();
}

void ChildProcess::push(int pipe, Chunk chunk) {
    Pipe& p = pipes_.at(size_t(pipe));
    if (p.broken || chunk.size == 0)
        return;
    p.pending += chunk.size;
    p.chunks.push_back(std::move(chunk));
}

void ChildProcess::queue(int pipe, const QByteArray& bytes) {
    Chunk c;
    c.bytes = bytes;
    c.data = c.bytes.constData();
    c.size = c.bytes.size();
    push(pipe, std::move(c));
}

void ChildProcess::queue(int pipe, const QImage& image) {
    Chunk c;
    c.image = image;
    c.data = reinterpret_cast<const char*>(c.image.constBits());
    c.size = c.image.sizeInBytes();
    push(pipe, std::move(c));
}

bool ChildProcess::pump(int timeoutMs) {
    std::vector<pollfd> fds;
    std::vector<Pipe*> owners;
    for (Pipe& p : pipes_)
        if (p.fd >= 0 && p.pending > 0 && !p.broken) {
            fds.push_back(pollfd{p.fd, POLLOUT, 0});
            owners.push_back(&p);
        }
    if (errorFd_ >= 0)
        fds.push_back(pollfd{errorFd_, POLLIN, 0});
    if (fds.empty())
        return false;
    if (::poll(fds.data(), nfds_t(fds.size()), timeoutMs) < 0)
        return errno == EINTR;
    for (size_t i = 0; i < owners.size(); ++i) {
        if (!fds[i].revents)
            continue;
        Pipe& p = *owners[i];
        while (!p.chunks.empty()) {
            Chunk& c = p.chunks.front();
            const ssize_t n = ::write(p.fd, c.data + c.done, size_t(c.size - c.done));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                if (errno != EAGAIN)
                    p.broken = true; // the reader is gone
                break;
            }
            c.done += n;
            p.pending -= n;
            if (c.done < c.size)
                break;
            p.chunks.pop_front();
        }
        if (p.broken) {
            p.chunks.clear();
            p.pending = 0;
        }
    }
    if (errorFd_ >= 0 && fds.back().revents)
        readMessages();
    return true;
}

void ChildProcess::readMessages() {
    char buffer[4096];
    const ssize_t n = ::read(errorFd_, buffer, sizeof buffer);
    if (n > 0) {
        messages_.append(buffer, n);
        if (messages_.size() > MessageTail)
            messages_.remove(0, messages_.size() - MessageTail);
    } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
        ::close(errorFd_);
        errorFd_ = -1;
    }
}

void ChildProcess::closePipe(Pipe& pipe) {
    if (pipe.fd >= 0)
        ::close(pipe.fd);
    pipe.fd = -1;
    pipe.chunks.clear();
    pipe.pending = 0;
}

bool ChildProcess::finish(const std::atomic_bool* cancel) {
    // Each pipe is closed once written out, so the program sees its end.
    for (;;) {
        bool busy = false;
        for (Pipe& p : pipes_) {
            if (p.fd >= 0 && (p.pending == 0 || p.broken))
                closePipe(p);
            busy = busy || p.fd >= 0;
        }
        if (cancel && cancel->load()) {
            kill();
            return false;
        }
        if (!busy)
            break;
        pump(100);
    }
    // What the program still says before it ends.
    while (errorFd_ >= 0) {
        if (cancel && cancel->load()) {
            kill();
            return false;
        }
        pollfd fd{errorFd_, POLLIN, 0};
        if (::poll(&fd, 1, 100) > 0)
            readMessages();
    }
    wait();
    return true;
}

void ChildProcess::kill() {
    for (Pipe& p : pipes_)
        closePipe(p);
    if (pid_ > 0 && !ended_)
        ::kill(pid_, SIGKILL);
    wait();
    if (errorFd_ >= 0)
        ::close(errorFd_);
    errorFd_ = -1;
}

void ChildProcess::wait() {
    if (pid_ <= 0 || ended_)
        return;
    while (::waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
    }
    ended_ = true;
}

bool ChildProcess::exitedNormally() const {
    return ended_ && WIFEXITED(status_) && WEXITSTATUS(status_) == 0;
}

QString ChildProcess::exitDescription() const {
    if (!ended_)
        return QCoreApplication::translate("Errors", "実行中");
    if (WIFSIGNALED(status_))
        return formatMessage(QCoreApplication::translate("Errors", "シグナル %d で終了"),
                             {QString::number(WTERMSIG(status_))});
    return formatMessage(QCoreApplication::translate("Errors", "終了コード %d"),
                         {QString::number(WEXITSTATUS(status_))});
}

QString ChildProcess::messages() const {
    QString text = QString::fromLocal8Bit(messages_).trimmed();
    // Only the last few lines: the ones that say what went wrong.
    QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    if (lines.size() > 3)
        lines = lines.mid(lines.size() - 3);
    return lines.join(QLatin1Char('\n')).trimmed();
}

} // namespace quillon
