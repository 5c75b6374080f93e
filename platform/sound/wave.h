#pragma once
// Wave data: the holder of one sound (format record and samples) and the reader and
// writer of RIFF WAVE images.
#include "platform/core/error.h"

#include <QByteArray>
#include <cstdint>
#include <memory>

class QIODevice;

namespace quillon {

class EWaveStreamError : public Exception {
public:
    using Exception::Exception;
};

// A stream that runs out before the bytes it must supply.
class EStreamReadError : public Exception {
public:
    EStreamReadError();
};

// The holder of one sound: a format record ("fmt " chunk body) and sample bytes.
class TWave {
public:
    // The sample block grows in whole blocks of this size.
    static constexpr int32_t DataBlockSize = 8096;

    TWave() = default;
    TWave(const TWave&) = delete;
    TWave& operator=(const TWave&) = delete;

    void assign(const TWave* source);
    void clear();

    // Loads from a stream positioned at the start of a RIFF WAVE image.
    void readWave(QIODevice& stream);
    // Writes a complete image at the stream's position.
    void writeWave(QIODevice& stream) const;
    // The same over a byte array.
    void loadFromBytes(const QByteArray& image);
    QByteArray saveToBytes() const;

    const uint8_t* data() const { return data_.get(); }
    uint8_t* data() { return data_.get(); }
    int32_t dataSize() const { return dataSize_; }
    void setDataSize(int32_t size);
    // Capacity of the sample block in bytes (a whole number of blocks).
    int32_t dataCapacity() const { return dataBlocks_ * DataBlockSize; }

    const QByteArray& format() const { return format_; }
    int32_t formatSize() const { return static_cast<int32_t>(format_.size()); }
    void setFormatSize(int32_t size);
    void SetFormat(const QByteArray& format);

    // Format fields, read little-endian from the record (0 where it is too short).
    uint16_t formatTag() const;
    uint16_t channels() const;
    uint32_t samplesPerSec() const;
    uint16_t bitsPerSample() const;

private:
    std::unique_ptr<uint8_t[]> data_;
    int32_t dataBlocks_ = 0;
    int32_t dataSize_ = 0;
    QByteArray format_;
};

// A positioned view of sample data; derived classes say where the bytes live.
class TCustomWaveStream {
public:
    enum class Origin { Beginning, Current, End };

    virtual ~TCustomWaveStream() = default;

    int64_t read(void* buffer, int64_t count);
    int64_t write(const void* buffer, int64_t count);
    int64_t seek(int64_t offset, Origin origin);
    int64_t position() const { return position_; }
    // Changing the size of a wave stream has no meaning; it is ignored.
    void setSize(int64_t) {}

    virtual QByteArray format() const = 0;
    virtual int32_t formatSize() const = 0;
    // -1 when the size is not known.
    virtual int64_t size() const { return -1; }

protected:
    virtual int64_t readWave(void* buffer, int64_t count) = 0;
    virtual int64_t writeWave(const void* buffer, int64_t count) = 0;

private:
    int64_t position_ = 0;
};

// A wave stream with a format record of its own.
class TCustomWaveStream2 : public TCustomWaveStream {
public:
    QByteArray format() const override { return format_; }
    int32_t formatSize() const override { return static_cast<int32_t>(format_.size()); }
    void SetFormat(const QByteArray& format) { format_ = format; }

protected:
    QByteArray& formatRecord() { return format_; }

private:
    QByteArray format_;
};

// A RIFF WAVE image inside an outer stream that needs random access (a file, a buffer).
class TWaveStream : public TCustomWaveStream2 {
public:
    explicit TWaveStream(QIODevice& stream);
    ~TWaveStream() override;

    void open(bool writeMode);
    // Completes a written image (chunk lengths); done by the destructor too.
    void close();

    int64_t size() const override;
    int64_t dataPosition() const { return dataPosition_; }
    int64_t dataSize() const { return dataSize_; }

protected:
    int64_t readWave(void* buffer, int64_t count) override;
    int64_t writeWave(const void* buffer, int64_t count) override;

private:
    void openRead();
    void openWrite();
    int64_t readOuter(int64_t position, void* buffer, int64_t count);
    int64_t outerSize() const;

    QIODevice& stream_;
    int64_t startPosition_;
    bool opened_ = false;
    bool readMode_ = false;
    int64_t dataPosition_ = 0;
    int64_t dataSize_ = 0;
    int64_t dataHeaderOffset_ = 0;
};

} // namespace quillon
