// The user subtitle file reader: any bytes split into lines that a rewrite reproduces,
// and the list hands the line fields no more than its item buffer holds.
#include "subtitles/subtitle_combo.h"
#include "subtitles/user_file.h"

#include <QApplication>
#include <cstdint>
#include <cstdlib>

using namespace quillon;

namespace {
// Both live until the process ends: tearing widgets down in the exit handlers, after
// the toolkit has cleaned up, would crash.
QApplication* app = nullptr;
SubtitleCombo* combo = nullptr;
} // namespace

// The font library keeps a few allocations for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = new QApplication(*argc, *argv);
    combo = new SubtitleCombo;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QList<QByteArray> lines = parseSubtitleLines(bytes);

    qsizetype total = 0;
    for (const QByteArray& line : lines) {
        if (line.contains('\r') || line.contains('\n'))
            std::abort();
        total += line.size();
    }
    if (total > bytes.size())
        std::abort();

    // Written back and read again, the lines are the same, NUL and long ones included.
    const QByteArray written = serializeSubtitleLines(lines);
    if (parseSubtitleLines(written) != lines)
        std::abort();
    if (written.size() != total + 2 * lines.size())
        std::abort();

    // The bounded read holds the same lines, as far as it goes, and no line past the bound.
    const UserFileContents read = parseUserFile(bytes);
    if (read.items.toList() != lines.mid(0, read.items.size()) ||
        read.complete != (read.items.size() == lines.size()))
        std::abort();
    for (int i = 0; i < read.items.size(); ++i)
        if (read.items.view(i).size() > UserLineByteBound)
            std::abort();

    // The list keeps every line whole and never gives the fields more than 4095 bytes.
    combo->setItems(lines);
    if (combo->items().toList() != lines || combo->itemCount() != lines.size())
        std::abort();
    for (int i = -1; i <= combo->itemCount(); ++i) {
        const QByteArray item = combo->itemBytes(i);
        if (item.size() >= SubtitleCombo::ItemBufferSize || item.contains('\0'))
            std::abort();
    }
    return 0;
}
