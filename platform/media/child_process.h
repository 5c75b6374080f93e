#pragma once
// An outside program fed through pipes: its input streams on file descriptors 3, 4 ...
// (standard input is empty, standard output discarded), its messages on standard error
// kept for the report. Writing never blocks on one pipe while the program waits for
// another: every pipe with bytes pending is served as soon as the program takes them.
#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <atomic>
#include <deque>
#include <sys/types.h>
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
        int fd = -1;
        std::deque<Chunk> chunks;
        qsizetype pending = 0;
        bool broken = false;
    };
    void push(int pipe, Chunk chunk);
    void readMessages();
    void closePipe(Pipe& pipe);
    void wait();

    pid_t pid_ = -1;
    int errorFd_ = -1;
    std::vector<Pipe> pipes_;
    QByteArray messages_;
    bool ended_ = false;
    int status_ = 0;
};

} // namespace quillon
