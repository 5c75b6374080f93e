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

void TWave::assign(const TWave* source) {
    if (source == this)
        return;
    if (!source) {
        clear();
        return;
    }
    SetFormat(source->format_);
    setDataSize(source->dataSize_);
    if (dataSize_ > 0)
        std::memcpy(data_.get(), source->data_.get(), size_t(dataSize_));
}

void TWave::clear() {
    data_.reset();
    dataBlocks_ = 0;
    dataSize_ = 0;
    format_.clear();
}

void TWave::setDataSize(int32_t size) {
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

void TWave::setFormatSize(int32_t size) {
    format_.resize(std::max(size, 0));
}

void TWave::SetFormat(const QByteArray& format) {
    format_ = format;
}

uint16_t TWave::formatTag() const {
    return uint16_t(fieldAt(format_, 0, 2));
}
uint16_t TWave::channels() const {
    return uint16_t(fieldAt(format_, 2, 2));
}
uint32_t TWave::samplesPerSec() const {
    return fieldAt(format_, 4, 4);
}
uint16_t TWave::bitsPerSample() const {
    return uint16_t(fieldAt(format_, 14, 2));
}

void TWave::readWave(QIODevice& stream) {
    clear();
    TWaveStream reader(stream);
    reader.open(false);
    SetFormat(reader.format());
    // A data chunk that claims more than the image holds fails here, before any
    // allocation of the claimed size.
    const int64_t present = reader.size();
    const int64_t available = std::max<int64_t>(stream.size() - reader.dataPosition(), 0);
    if (present > available || present > std::numeric_limits<int32_t>::max()) {
        clear();
        throw EStreamReadError();
    }
    setDataSize(int32_t(present));
    if (reader.read(data_.get(), dataSize_) != dataSize_) {
        clear();
        throw EStreamReadError();
    }
}

void TWave::writeWave(QIODevice& stream) const {
    TWaveStream writer(stream);
    writer.SetFormat(format_);
    writer.open(true);
    if (writer.write(data_.get(), dataSize_) != dataSize_)
        throw EWaveStreamError(
            QCoreApplication::translate("Errors", "ストリームへの書き込みエラー"));
    writer.close();
}

void TWave::loadFromBytes(const QByteArray& image) {
    QBuffer buffer;
    buffer.setData(image);
    buffer.open(QIODevice::ReadOnly);
    readWave(buffer);
}

QByteArray TWave::saveToBytes() const {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    writeWave(buffer);
    return buffer.data();
}

// ---- TCustomWaveStream

int64_t TCustomWaveStream::read(void* buffer, int64_t count) {
    const int64_t total = size();
    if (total >= 0) {
        position_ = std::min(position_, total);
        count = std::min(count, total - position_);
    }
    // The derived reader is asked even for nothing, so that it can refuse when closed.
    const int64_t done = readWave(buffer, std::max<int64_t>(count, 0));
    position_ += std::max<int64_t>(done, 0);
    return done;
}

int64_t TCustomWaveStream::write(const void* buffer, int64_t count) {
    if (count <= 0)
        return 0;
    const int64_t done = writeWave(buffer, count);
    position_ += std::max<int64_t>(done, 0);
    return done;
}

int64_t TCustomWaveStream::seek(int64_t offset, Origin origin) {
    const int64_t total = size();
    int64_t target = offset;
    if (origin == Origin::Current)
        target = position_ + offset;
    else if (origin == Origin::End)
        target = std::max<int64_t>(total, 0) + offset;
    target = std::max<int64_t>(target, 0);
    if (total >= 0)
        target = std::min(target, total);
    position_ = target;
    return position_;
}

// ---- TWaveStream

TWaveStream::TWaveStream(QIODevice& stream) : stream_(stream), startPosition_(stream.pos()) {}

TWaveStream::~TWaveStream() {
    try {
        close();
    } catch (const Exception&) {
        // A destructor must not throw; the caller's own Close reports write errors.
    }
}

void TWaveStream::open(bool writeMode) {
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
    const QByteArray fmt = format();
    QByteArray header = "RIFF" + le32(0) + "WAVE" + "fmt " + le32(uint32_t(fmt.size())) + fmt;
    dataHeaderOffset_ = startPosition_ + header.size();
    header += "data" + le32(0);
    writeOuter(stream_, startPosition_, header);
    dataPosition_ = startPosition_ + header.size();
    dataSize_ = 0;
}

void TWaveStream::close() {
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

int64_t TWaveStream::size() const {
    if (!opened_)
        return 0;
    return dataSize_;
}

int64_t TWaveStream::readWave(void* buffer, int64_t count) {
    if (!opened_)
        throw EWaveStreamError(
            QCoreApplication::translate("Errors", "ストリームは開かれていません"));
    if (count == 0)
        return 0;
    return readOuter(dataPosition_ + position(), buffer, count);
}

int64_t TWaveStream::writeWave(const void* buffer, int64_t count) {
    if (!opened_)
        throw EWaveStreamError(
            QCoreApplication::translate("Errors", "ストリームは開かれていません"));
    if (readMode_)
        return 0;
    if (!stream_.seek(dataPosition_ + position()))
        return 0;
    const int64_t done =
        std::max<int64_t>(stream_.write(static_cast<const char*>(buffer), count), 0);
    dataSize_ = std::max(dataSize_, position() + done);
    return done;
}

} // namespace quillon
