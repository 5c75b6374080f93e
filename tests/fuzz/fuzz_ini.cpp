// The settings file reader: parse, look up, write a value, write out, read again.
// What was written must read back unchanged, and other keys must keep their values.
#include "platform/text/sjis.h"
#include "settings/ini_file.h"
#include "settings/settings_store.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

using namespace quillon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The first byte picks where the file ends and the value to write begins.
    if (size == 0)
        return 0;
    const QByteArray input(reinterpret_cast<const char*>(data + 1),
                           static_cast<qsizetype>(size - 1));
    const qsizetype split = input.size() * data[0] / 256;
    const QByteArray file = input.left(split);
    const QByteArray value = input.mid(split);

    const IniDocument doc = IniDocument::parse(file);
    const auto face = doc.value("Font", "Name");

    IniDocument written = doc;
    const bool stored = written.setValue("Option", "Wait", value);
    const IniDocument reread = IniDocument::parse(written.serialize());
    if (stored && value.size() < IniDocument::ValueBufferSize &&
        reread.value("Option", "Wait") != value)
        std::abort();
    if (reread.value("Font", "Name") != face)
        std::abort();
    if (!stored && written.serialize() != doc.serialize())
        std::abort();

    // All ten settings survive a save and a load, the user file's path exactly (unless
    // its stored form is too long for the value buffer).
    const Settings loaded = readSettings(doc, {});
    IniDocument saved = doc;
    if (!writeSettings(saved, loaded))
        std::abort();
    Settings reloaded = readSettings(IniDocument::parse(saved.serialize()), {});
    if (storedPath(loaded.userFile).size() >= IniDocument::ValueBufferSize)
        reloaded.userFile = loaded.userFile;
    if (reloaded != loaded)
        std::abort();
    // The path as its own value: whatever the text, it reads back as it was.
    const QString path = sjis::toUnicode(value) + QString::fromUtf8(value);
    if (pathOfStored(storedPath(path)) != path)
        std::abort();
    return 0;
}
