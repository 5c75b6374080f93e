#pragma once
// An outside program fed through pipes: its input streams on file descriptors 3, 4 ...
// (standard input is empty, standard output discarded), its messages on standard error
// kept for the report. Writing never blocks on one pipe while the program waits for
// another: every pipe with bytes pending is served as soon as the program takes them.
//
// What touches the system (starting the program, its pipes, waiting on them, its end)
// is written once per system, in child_process_posix.cpp: the constructor, the
// destructor, pump, kill and the members marked "per system" below. The queues, finish
// and the reports are shared (child_process.cpp).
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <atomic>
#include <deque>
#include <memory>
#include <vector>

namespace quillon {

class ChildProcess {
public:
    // Starts program with arguments and the given number of input pipes. Raises
    // "%s を起動できません" with the program's path when it cannot be started.
    ChildProcess(const QString& program, const QStringList& arguments, int inputPipes);
    // Kills the program if it is still running.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Queues bytes for a pipe (index from 0, descriptor 3 + index). The image's bytes
    // are shared, not copied; bytes from begin to end of its bits are written.
    void queue(int pipe, const QByteArray& bytes);
    void queue(int pipe, const QImage& image);

    // Bytes queued for a pipe and not yet taken by the program.
    qsizetype pending(int pipe) const { return pipes_.at(size_t(pipe)).pending; }
    // The program stopped taking input on the pipe (it ended or closed it).
    bool broken(int pipe) const { return pipes_.at(size_t(pipe)).broken; }
    // Waits up to timeoutMs for the program to take input or say something, and
    // writes what it takes. False when there is nothing left to wait for.
    bool pump(int timeoutMs);

    // Writes everything queued, closes the pipes and waits for the program to end.
    // False when cancel was set on the way (the program is then killed).
    bool finish(const std::atomic_bool* cancel);
    // Ends the program at once.
    void kill();

    bool ended() const { return ended_; }
    bool exitedNormally() const; // exit status 0
    QString exitDescription() const;
    // The last lines of what the program wrote to standard error.
    QString messages() const;

private:
    struct Chunk {
        QByteArray bytes;
        QImage image;
        const char* data = nullptr;
        qsizetype size = 0;
        qsizetype done = 0;
    };
    struct Pipe {
        std::deque<Chunk> chunks;
        qsizetype pending = 0;
        bool broken = false;
        bool open = true;
    };
    // How the program ended.
    struct Exit {
        bool bySignal = false;
        int code = 0; // the exit status, or the signal's number
    };
    void push(int pipe, Chunk chunk);
    // The program took n bytes of the pipe's first chunks.
    void took(Pipe& pipe, qsizetype n);
    void dropQueued(Pipe& pipe);
    void keepMessages(const char* bytes, qsizetype n);
    [[noreturn]] static void cannotStart(const QString& program);

    // Per system: the program's handle and our ends of its pipes.
    struct Native;
    void start(const QString& program, const QStringList& arguments, int inputPipes);
    void closePipe(int pipe);   // our end; the program sees the end of its input
    bool hearsMessages() const; // standard error is still open
    // Waits up to timeoutMs for the program to say something and keeps it.
    void listen(int timeoutMs);
    void wait();

    std::unique_ptr<Native> native_;
    std::vector<Pipe> pipes_;
    QByteArray messages_;
    bool ended_ = false;
    Exit exit_;
};

} // namespace quillon
