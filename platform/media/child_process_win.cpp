#include "platform/media/child_process.h"

#include "platform/core/error.h"

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <atomic>
#include <io.h>
#include <windows.h>

// Windows gives a child no descriptors beyond the standard three, so its input streams
// are named pipes: an argument "pipe:3", "pipe:4" ... (ffmpeg's way of naming a
// descriptor) is replaced by the name of the matching pipe, which the program opens as
// a file. The pipes are in non-blocking mode, so a write takes what fits and returns;
// pump() goes round them and waits a moment when none took anything.
//
// The descriptors of the header hold C run-time descriptors over the handles, and
// pid_ the process handle, which Windows keeps to 32 significant bits.

namespace quillon {

namespace {

constexpr int FirstInputFd = 3;
constexpr qsizetype MessageTail = 4096;
constexpr DWORD PipeBuffer = 1 << 20;
// How long pump() rests when no pipe took anything and the program said nothing.
constexpr DWORD RestMs = 2;

HANDLE handleOf(int fd) {
    return fd >= 0 ? reinterpret_cast<HANDLE>(_get_osfhandle(fd)) : INVALID_HANDLE_VALUE;
}

int descriptorOf(HANDLE handle) {
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), 0);
    if (fd < 0)
        CloseHandle(handle);
    return fd;
}

const wchar_t* wide(const QString& text) {
    return reinterpret_cast<const wchar_t*>(text.utf16());
}

QString pipeName(int index) {
    static std::atomic_int serial{0};
    return QStringLiteral("\\\\.\\pipe\\quillon-%1-%2-%3-%4")
        .arg(GetCurrentProcessId())
        .arg(serial.fetch_add(1))
        .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))
        .arg(index);
}

// One argument as the C run time of the child splits the command line again: quoted
// when it holds a space, a tab or a quote, with backslashes doubled before a quote.
QString quoted(const QString& argument) {
    if (!argument.isEmpty() && !argument.contains(QRegularExpression(QStringLiteral("[ \t\"]"))))
        return argument;
    QString out = QStringLiteral("\"");
    int backslashes = 0;
    for (const QChar c : argument) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        if (c == u'"')
            out += QString(backslashes * 2 + 1, u'\\');
        else
            out += QString(backslashes, u'\\');
        backslashes = 0;
        out += c;
    }
    out += QString(backslashes * 2, u'\\');
    out += u'"';
    return out;
}

QString commandLine(const QString& program, const QStringList& arguments,
                    const QStringList& pipeNames) {
    QStringList words{quoted(QDir::toNativeSeparators(program))};
    for (const QString& a : arguments) {
        QString word = a;
        for (int i = 0; i < pipeNames.size(); ++i)
            if (a == QStringLiteral("pipe:%1").arg(FirstInputFd + i))
                word = pipeNames[i];
        words << quoted(word);
    }
    return words.join(u' ');
}

} // namespace

ChildProcess::ChildProcess(const QString& program, const QStringList& arguments, int inputPipes) {
    const auto cannotStart = [&] {
        throw Exception(
            formatMessage(QCoreApplication::translate("Errors", "%s を起動できません"), {program}));
    };
    const auto closeAll = [&] {
        for (Pipe& p : pipes_)
            closePipe(p);
        if (errorFd_ >= 0)
            _close(errorFd_);
        errorFd_ = -1;
    };

    QStringList names;
    for (int i = 0; i < inputPipes; ++i) {
        const QString name = pipeName(i);
        const HANDLE pipe =
            CreateNamedPipeW(wide(name), PIPE_ACCESS_OUTBOUND | FILE_FLAG_FIRST_PIPE_INSTANCE,
                             PIPE_TYPE_BYTE | PIPE_NOWAIT | PIPE_REJECT_REMOTE_CLIENTS, 1,
                             PipeBuffer, 0, 0, nullptr);
        const int fd = pipe == INVALID_HANDLE_VALUE ? -1 : descriptorOf(pipe);
        if (fd < 0) {
            closeAll();
            cannotStart();
        }
        pipes_.push_back(Pipe{fd, {}, 0, false});
        names << name;
    }

    // Standard error comes back through an anonymous pipe whose writing end only the
    // child inherits.
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE errorRead = nullptr, errorWrite = nullptr;
    if (!CreatePipe(&errorRead, &errorWrite, &inherit, 0)) {
        closeAll();
        cannotStart();
    }
    SetHandleInformation(errorRead, HANDLE_FLAG_INHERIT, 0);
    errorFd_ = descriptorOf(errorRead);
    const HANDLE nul =
        CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    &inherit, OPEN_EXISTING, 0, nullptr);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = nul;
    startup.hStdError = errorWrite;
    PROCESS_INFORMATION process{};
    QString line = commandLine(program, arguments, names);
    const QString path = QDir::toNativeSeparators(program);
    // A group of its own: a Ctrl+C at the console is ours to handle, not the child's.
    // No console window of its own either.
    const BOOL started =
        CreateProcessW(wide(path), reinterpret_cast<wchar_t*>(line.data()), nullptr, nullptr, TRUE,
                       CREATE_NEW_PROCESS_GROUP | CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT,
                       nullptr, nullptr, &startup, &process);
    CloseHandle(errorWrite);
    if (nul != INVALID_HANDLE_VALUE)
        CloseHandle(nul);
    if (!started) {
        closeAll();
        cannotStart();
    }
    CloseHandle(process.hThread);
    pid_ = pid_t(reinterpret_cast<intptr_t>(process.hProcess));
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
    const ULONGLONG deadline = GetTickCount64() + ULONGLONG(std::max(timeoutMs, 0));
    const HANDLE process = reinterpret_cast<HANDLE>(intptr_t(pid_));
    for (;;) {
        // A program that ended takes nothing more, on a pipe it opened or one it never
        // did (a pipe never opened would otherwise wait for it for ever).
        const bool gone = pid_ > 0 && WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
        bool waiting = false, moved = false;
        for (Pipe& p : pipes_) {
            if (p.fd < 0 || p.pending == 0 || p.broken)
                continue;
            if (gone) {
                p.broken = true;
                p.chunks.clear();
                p.pending = 0;
                moved = true;
                continue;
            }
            waiting = true;
            const HANDLE pipe = handleOf(p.fd);
            // Until the program opens the pipe, a write finds no one listening.
            if (!ConnectNamedPipe(pipe, nullptr) && GetLastError() != ERROR_PIPE_CONNECTED) {
                const DWORD error = GetLastError();
                if (error == ERROR_PIPE_LISTENING)
                    continue;
                if (error == ERROR_NO_DATA)
                    p.broken = true; // it opened and closed it again
            }
            while (!p.broken && !p.chunks.empty()) {
                Chunk& c = p.chunks.front();
                const DWORD want = DWORD(std::min<qsizetype>(c.size - c.done, PipeBuffer));
                DWORD written = 0;
                if (!WriteFile(pipe, c.data + c.done, want, &written, nullptr)) {
                    if (GetLastError() != ERROR_PIPE_LISTENING)
                        p.broken = true; // the reader is gone
                    break;
                }
                if (written == 0)
                    break; // full
                moved = true;
                c.done += written;
                p.pending -= written;
                if (c.done < c.size)
                    break;
                p.chunks.pop_front();
            }
            if (p.broken) {
                p.chunks.clear();
                p.pending = 0;
            }
        }
        if (errorFd_ >= 0) {
            waiting = true;
            const qsizetype before = messages_.size();
            readMessages();
            moved = moved || messages_.size() != before || errorFd_ < 0;
        }
        if (!waiting)
            return false;
        if (moved || GetTickCount64() >= deadline)
            return true;
        Sleep(RestMs);
    }
}

void ChildProcess::readMessages() {
    const HANDLE pipe = handleOf(errorFd_);
    DWORD available = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) {
        _close(errorFd_); // the program ended and its end of the pipe with it
        errorFd_ = -1;
        return;
    }
    if (available == 0)
        return;
    char buffer[4096];
    DWORD n = 0;
    if (ReadFile(pipe, buffer, std::min<DWORD>(available, sizeof buffer), &n, nullptr) && n > 0) {
        messages_.append(buffer, n);
        if (messages_.size() > MessageTail)
            messages_.remove(0, messages_.size() - MessageTail);
    }
}

void ChildProcess::closePipe(Pipe& pipe) {
    // Closed without waiting for the program to read the rest, which stays readable: it
    // may be busy with another pipe first.
    if (pipe.fd >= 0)
        _close(pipe.fd);
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
        if (!pump(100))
            break;
    }
    wait();
    return true;
}

void ChildProcess::kill() {
    for (Pipe& p : pipes_)
        closePipe(p);
    if (pid_ > 0 && !ended_)
        TerminateProcess(reinterpret_cast<HANDLE>(intptr_t(pid_)), 1);
    wait();
    if (errorFd_ >= 0)
        _close(errorFd_);
    errorFd_ = -1;
}

void ChildProcess::wait() {
    if (pid_ <= 0 || ended_)
        return;
    const HANDLE process = reinterpret_cast<HANDLE>(intptr_t(pid_));
    WaitForSingleObject(process, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    status_ = int(code);
    ended_ = true;
}

bool ChildProcess::exitedNormally() const {
    return ended_ && status_ == 0;
}

// Windows has no signals: a program that was ended from outside shows only its exit
// code (TerminateProcess's, or an exception's 0xC... code, given in hexadecimal).
QString ChildProcess::exitDescription() const {
    if (!ended_)
        return QCoreApplication::translate("Errors", "実行中");
    const auto code = quint32(status_);
    const QString number = code >= 0xC0000000u
                               ? QStringLiteral("0x%1").arg(code, 8, 16, QLatin1Char('0'))
                               : QString::number(code);
    return formatMessage(QCoreApplication::translate("Errors", "終了コード %d"), {number});
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
