#include "platform/sound/wave.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QIODevice>
#include <algorithm>
#include <cstring>
#include <limits>

namespace quillon {

namespace {

uint32_t readLe32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

uint32_t fieldAt(const QByteArray& record, int offset, int width) {
    if (record.size() < offset + width)
        return 0;
    uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = value << 8 | uint8_t(record[offset + i]);
    return value;
}

QByteArray le32(uint32_t v) {
    const char bytes[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    return QByteArray(bytes, 4);
}

// Writes all bytes at the given outer position.
void writeOuter(QIODevice& stream, int64_t position, const QByteArray& bytes) {
    if (!stream.seek(position) || stream.write(bytes) != bytes.size())
        throw EWaveStreamError(
            QCoreApplication::translate("Errors", "ストリームへの書き込みエラー"));
}

} // namespace

EStreamReadError::EStreamReadError()
    : Exception(QCoreApplication::translate("Errors", "ストリームからの読み込みエラー")) {}

// ---- TWave

void TWave::Assign(const TWave* source) {
    if (source == this)
        return;
    if (!source) {
        Clear();
        return;
    }
    SetFormat(source->format_);
    SetDataSize(source->dataSize_);
    if (dataSize_ > 0)
        std::memcpy(data_.get(), source->data_.get(), size_t(dataSize_));
}

void TWave::Clear() {
    data_.reset();
    dataBlocks_ = 0;
    dataSize_ = 0;
    format_.clear();
}

void TWave::SetDataSize(int32_t size) {
    size = std::max(size, 0);
    const int32_t blocks = int32_t((int64_t(size) + DataBlockSize - 1) / DataBlockSize);
    if (blocks != dataBlocks_) {
        // Re-allocate only when the number of blocks changes; keep what still fits.
        std::unique_ptr<uint8_t[]> block;
        if (blocks > 0) {
            block = std::make_unique<uint8_t[]>(size_t(blocks) * DataBlockSize);
            if (data_)
                std::memcpy(block.get(), data_.get(),
                            size_t(std::min(blocks, dataBlocks_)) * DataBlockSize);
        }
        data_ = std::move(block);
        dataBlocks_ = blocks;
    }
    dataSize_ = size;
}

void TWave::SetFormatSize(int32_t size) {
    format_.resize(std::max(size, 0));
}

void TWave::SetFormat(const QByteArray& format) {
    format_ = format;
}

uint16_t TWave::FormatTag() const {
    return uint16_t(fieldAt(format_, 0, 2));
}
uint16_t TWave::Channels() const {
    return uint16_t(fieldAt(format_, 2, 2));
}
uint32_t TWave::SamplesPerSec() const {
    return fieldAt(format_, 4, 4);
}
uint16_t TWave::BitsPerSample() const {
    return uint16_t(fieldAt(format_, 14, 2));
}

void TWave::ReadWave(QIODevice& stream) {
    Clear();
    TWaveStream reader(stream);
    reader.Open(false);
    SetFormat(reader.Format());
    // A data chunk that claims more than the image holds fails here, before any
    // allocation of the claimed size.
    const int64_t present = reader.Size();
    const int64_t available = std::max<int64_t>(stream.size() - reader.DataPosition(), 0);
    if (present > available || present > std::numeric_limits<int32_t>::max()) {
        Clear();
        throw EStreamReadError();
    }
    SetDataSize(int32_t(present));
    if (reader.Read(data_.get(), dataSize_) != dataSize_) {
        Clear();
        throw EStreamReadError();
    }
}

void TWave::WriteWave(QIODevice& stream) const {
    TWaveStream writer(stream);
    writer.SetFormat(format_);
    writer.Open(true);
    if (writer.Write(data_.get(), dataSize_) != dataSize_)
        throw EWaveStreamError(
            QCoreApplication::translate("Errors", "ストリームへの書き込みエラー"));
    writer.Close();
}

void TWave::LoadFromBytes(const QByteArray& image) {
    QBuffer buffer;
    buffer.setData(image);
    buffer.open(QIODevice::ReadOnly);
    ReadWave(buffer);
}

QByteArray TWave::SaveToBytes() const {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteWave(buffer);
    return buffer.data();
}

// ---- TCustomWaveStream

int64_t TCustomWaveStream::Read(void* buffer, int64_t count) {
    const int64_t size = Size();
    if (size >= 0) {
        position_ = std::min(position_, size);
        count = std::min(count, size - position_);
    }
    // The derived reader is asked even for nothing, so that it can refuse when closed.
    const int64_t done = ReadWave(buffer, std::max<int64_t>(count, 0));
    position_ += std::max<int64_t>(done, 0);
    return done;
}

int64_t TCustomWaveStream::Write(const void* buffer, int64_t count) {
    if (count <= 0)
        return 0;
    const int64_t done = WriteWave(buffer, count);
    position_ += std::max<int64_t>(done, 0);
    return done;
}

int64_t TCustomWaveStream::Seek(int64_t offset, Origin origin) {
    const int64_t size = Size();
    int64_t target = offset;
    if (origin == Origin::Current)
        target = position_ + offset;
    else if (origin == Origin::End)
        target = std::max<int64_t>(size, 0) + offset;
    target = std::max<int64_t>(target, 0);
    if (size >= 0)
        target = std::min(target, size);
    position_ = target;
    return position_;
}

// ---- TWaveStream

TWaveStream::TWaveStream(QIODevice& stream) : stream_(stream), startPosition_(stream.pos()) {}

TWaveStream::~TWaveStream() {
    try {
        Close();
    } catch (const Exception&) {
        // A destructor must not throw; the caller's own Close reports write errors.
    }
}

void TWaveStream::Open(bool writeMode) {
    if (opened_)
        throw EWaveStreamError(
            QCoreApplication::translate("Errors", "ストリームはすでに開かれています"));
    opened_ = true;
    readMode_ = !writeMode;
    if (writeMode)
        openWrite();
    else
        openRead();
}

int64_t TWaveStream::outerSize() const {
    return stream_.size();
}

int64_t TWaveStream::readOuter(int64_t position, void* buffer, int64_t count) {
    if (position < 0 || position >= outerSize() || !stream_.seek(position))
        return 0;
    return std::max<int64_t>(stream_.read(static_cast<char*>(buffer), count), 0);
}

void TWaveStream::openRead() {
    uint8_t header[12];
    if (readOuter(startPosition_, header, 12) != 12)
        throw EStreamReadError();
    if (std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0)
        throw EWaveStreamError(QCoreApplication::translate("Errors", "不正な Wave です"));

    const int64_t end = outerSize();
    int64_t position = startPosition_ + 12;
    for (;;) {
        uint8_t chunk[8] = {};
        readOuter(position, chunk, 8);
        const uint32_t id = readLe32(chunk);
        if (id == 0)
            break;
        const int64_t length = readLe32(chunk + 4);
        const int64_t body = position + 8;
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            if (length > end - body)
                throw EStreamReadError();
            QByteArray& record = formatRecord();
            record.resize(qsizetype(length));
            if (readOuter(body, record.data(), length) != length)
                throw EStreamReadError();
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            dataSize_ = length;
            dataPosition_ = body;
        }
        // No pad byte is skipped after an odd length: the next header follows the body.
        position = body + length;
        if (position >= end)
            break;
    }
}

void TWaveStream::openWrite() {
    const QByteArray format = Format();
    QByteArray header = "RIFF" + le32(0) + "WAVE" + "fmt " + le32(uint32_t(format.size())) + format;
    dataHeaderOffset_ = startPosition_ + header.size();
    header += "data" + le32(0);
    writeOuter(stream_, startPosition_, header);
    dataPosition_ = startPosition_ + header.size();
    dataSize_ = 0;
}

void TWaveStream::Close() {
    if (!opened_)
        return;
    opened_ = false;
    if (readMode_)
        return;
    const int64_t end = dataPosition_ + dataSize_;
    writeOuter(stream_, dataHeaderOffset_ + 4, le32(uint32_t(dataSize_)));
    writeOuter(stream_, startPosition_ + 4, le32(uint32_t(end - startPosition_ - 8)));
    stream_.seek(end);
}

int64_t TWaveStream::Size() const {
    if (!opened_)
        return 0;
    return dataSize_;
}

int64_t TWaveStream::ReadWave(void* buffer, int64_t count) {
    if (!opened_)
        throw EWaveStreamError(
            QCoreApplication::translate("Errors", "ストリームは開かれていません"));
    if (count == 0)
        return 0;
    return readOuter(dataPosition_ + Position(), buffer, count);
}

int64_t TWaveStream::WriteWave(const void* buffer, int64_t count) {
    if (!opened_)
        throw EWaveStreamError(
            QCoreApplication::translate("Errors", "ストリームは開かれていません"));
    if (readMode_)
        return 0;
    if (!stream_.seek(dataPosition_ + Position()))
        return 0;
    const int64_t done =
        std::max<int64_t>(stream_.write(static_cast<const char*>(buffer), count), 0);
    dataSize_ = std::max(dataSize_, Position() + done);
    return done;
}

} // namespace quillon
