#include "platform/media/child_process.h"

#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <algorithm>
#include <windows.h>

// Windows gives a child no descriptors beyond the standard three, so its input streams
// are named pipes: an argument "pipe:3", "pipe:4" ... (ffmpeg's way of naming a
// descriptor) is replaced by the name of the matching pipe, which the program opens as
// a file. The pipes are in non-blocking mode, so a write takes what fits and returns;
// pump() goes round them and rests a moment when none took anything.

namespace quillon {

struct ChildProcess::Native {
    HANDLE process = nullptr;
    std::vector<HANDLE> inputs; // our ends, INVALID_HANDLE_VALUE once closed
    HANDLE errors = INVALID_HANDLE_VALUE;
};

namespace {

constexpr int FirstInputFd = 3;
constexpr DWORD PipeBuffer = 1 << 20;
// How long pump() and listen() rest when nothing moved.
constexpr DWORD RestMs = 2;

void closeHandle(HANDLE& handle) {
    if (handle != INVALID_HANDLE_VALUE && handle != nullptr)
        CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
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

// Whether a wait that rests in steps still has time.
bool before(ULONGLONG deadline) {
    return GetTickCount64() < deadline;
}

} // namespace

ChildProcess::ChildProcess(const QString& program, const QStringList& arguments, int inputPipes)
    : native_(std::make_unique<Native>()) {
    start(program, arguments, inputPipes);
}

ChildProcess::~ChildProcess() {
    kill();
}

void ChildProcess::start(const QString& program, const QStringList& arguments, int inputPipes) {
    Native& n = *native_;
    const auto fail = [&] {
        for (HANDLE& h : n.inputs)
            closeHandle(h);
        closeHandle(n.errors);
        for (Pipe& p : pipes_)
            p.open = false;
        cannotStart(program);
    };

    QStringList names;
    for (int i = 0; i < inputPipes; ++i) {
        const QString name = pipeName(i);
        const HANDLE pipe =
            CreateNamedPipeW(wide(name), PIPE_ACCESS_OUTBOUND | FILE_FLAG_FIRST_PIPE_INSTANCE,
                             PIPE_TYPE_BYTE | PIPE_NOWAIT | PIPE_REJECT_REMOTE_CLIENTS, 1,
                             PipeBuffer, 0, 0, nullptr);
        n.inputs.push_back(pipe);
        pipes_.push_back(Pipe{});
        if (pipe == INVALID_HANDLE_VALUE)
            fail();
        names << name;
    }

    // Standard error comes back through an anonymous pipe whose writing end only the
    // child inherits.
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE errorWrite = nullptr;
    if (!CreatePipe(&n.errors, &errorWrite, &inherit, 0)) {
        n.errors = INVALID_HANDLE_VALUE;
        fail();
    }
    SetHandleInformation(n.errors, HANDLE_FLAG_INHERIT, 0);
    HANDLE nul =
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
    closeHandle(errorWrite);
    closeHandle(nul);
    if (!started)
        fail();
    CloseHandle(process.hThread);
    n.process = process.hProcess;
}

bool ChildProcess::pump(int timeoutMs) {
    Native& n = *native_;
    const ULONGLONG deadline = GetTickCount64() + ULONGLONG(std::max(timeoutMs, 0));
    for (;;) {
        // A program that ended takes nothing more, on a pipe it opened or one it never
        // did (a pipe never opened would otherwise wait for it for ever).
        const bool gone = n.process && WaitForSingleObject(n.process, 0) == WAIT_OBJECT_0;
        bool waiting = false, moved = false;
        for (size_t i = 0; i < pipes_.size(); ++i) {
            Pipe& p = pipes_[i];
            const HANDLE pipe = n.inputs[i];
            if (pipe == INVALID_HANDLE_VALUE || p.pending == 0 || p.broken)
                continue;
            if (gone) {
                p.broken = true;
                dropQueued(p);
                moved = true;
                continue;
            }
            waiting = true;
            // Until the program opens the pipe, a write finds no one listening.
            if (!ConnectNamedPipe(pipe, nullptr) && GetLastError() != ERROR_PIPE_CONNECTED) {
                const DWORD error = GetLastError();
                if (error == ERROR_PIPE_LISTENING)
                    continue;
                if (error == ERROR_NO_DATA)
                    p.broken = true; // it opened and closed it again
            }
            while (!p.broken && !p.chunks.empty()) {
                const Chunk& c = p.chunks.front();
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
                const bool whole = qsizetype(written) == c.size - c.done;
                took(p, written);
                if (!whole)
                    break;
            }
            if (p.broken)
                dropQueued(p);
        }
        if (hearsMessages()) {
            waiting = true;
            const qsizetype heard = messages_.size();
            listen(0);
            moved = moved || messages_.size() != heard || !hearsMessages();
        }
        if (!waiting)
            return false;
        if (moved || !before(deadline))
            return true;
        Sleep(RestMs);
    }
}

void ChildProcess::listen(int timeoutMs) {
    Native& n = *native_;
    const ULONGLONG deadline = GetTickCount64() + ULONGLONG(std::max(timeoutMs, 0));
    while (n.errors != INVALID_HANDLE_VALUE) {
        DWORD available = 0;
        if (!PeekNamedPipe(n.errors, nullptr, 0, nullptr, &available, nullptr)) {
            closeHandle(n.errors); // the program ended and its end of the pipe with it
            return;
        }
        if (available > 0) {
            char buffer[4096];
            DWORD got = 0;
            if (ReadFile(n.errors, buffer, std::min<DWORD>(available, sizeof buffer), &got,
                         nullptr) &&
                got > 0)
                keepMessages(buffer, got);
            return;
        }
        if (!before(deadline))
            return;
        Sleep(RestMs);
    }
}

bool ChildProcess::hearsMessages() const {
    return native_->errors != INVALID_HANDLE_VALUE;
}

void ChildProcess::closePipe(int pipe) {
    // Closed without waiting for the program to read the rest, which stays readable: it
    // may be busy with another pipe first.
    closeHandle(native_->inputs.at(size_t(pipe)));
    Pipe& p = pipes_.at(size_t(pipe));
    p.open = false;
    dropQueued(p);
}

void ChildProcess::kill() {
    for (size_t i = 0; i < pipes_.size(); ++i)
        closePipe(int(i));
    if (native_->process && !ended_)
        TerminateProcess(native_->process, 1);
    wait();
    closeHandle(native_->errors);
}

// Windows has no signals: a program ended from outside shows only its exit code.
void ChildProcess::wait() {
    HANDLE& process = native_->process;
    if (!process || ended_)
        return;
    WaitForSingleObject(process, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    process = nullptr;
    ended_ = true;
    exit_.code = int(code);
}

} // namespace quillon
