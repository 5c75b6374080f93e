#include "platform/media/child_process.h"

#include "platform/core/error.h"

#include <QCoreApplication>
#include <algorithm>

namespace quillon {

namespace {
constexpr qsizetype MessageTail = 4096;
} // namespace

void ChildProcess::cannotStart(const QString& program) {
    throw Exception(
        formatMessage(QCoreApplication::translate("Errors", "%s を起動できません"), {program}));
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

void ChildProcess::took(Pipe& pipe, qsizetype n) {
    pipe.pending -= n;
    while (n > 0) {
        Chunk& c = pipe.chunks.front();
        const qsizetype part = std::min(n, c.size - c.done);
        c.done += part;
        n -= part;
        if (c.done == c.size)
            pipe.chunks.pop_front();
    }
}

void ChildProcess::dropQueued(Pipe& pipe) {
    pipe.chunks.clear();
    pipe.pending = 0;
}

void ChildProcess::keepMessages(const char* bytes, qsizetype n) {
    messages_.append(bytes, n);
    if (messages_.size() > MessageTail)
        messages_.remove(0, messages_.size() - MessageTail);
}

bool ChildProcess::finish(const std::atomic_bool* cancel) {
    // Each pipe is closed once written out, so the program sees its end.
    for (;;) {
        bool busy = false;
        for (size_t i = 0; i < pipes_.size(); ++i) {
            Pipe& p = pipes_[i];
            if (p.open && (p.pending == 0 || p.broken))
                closePipe(int(i));
            busy = busy || p.open;
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
    while (hearsMessages()) {
        if (cancel && cancel->load()) {
            kill();
            return false;
        }
        listen(100);
    }
    wait();
    return true;
}

bool ChildProcess::exitedNormally() const {
    return ended_ && !exit_.bySignal && exit_.code == 0;
}

QString ChildProcess::exitDescription() const {
    if (!ended_)
        return QCoreApplication::translate("Errors", "実行中");
    if (exit_.bySignal)
        return formatMessage(QCoreApplication::translate("Errors", "シグナル %d で終了"),
                             {QString::number(exit_.code)});
    return formatMessage(QCoreApplication::translate("Errors", "終了コード %d"),
                         {QString::number(exit_.code)});
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
