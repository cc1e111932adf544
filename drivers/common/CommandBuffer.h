// The serial drivers' one buffer: a command sequence is assembled here, on the
// stack, and handed to the host in a single WriteSerial call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>

namespace lumora::drivers {

class CommandBuffer {
public:
    static constexpr size_t kCapacity = 128;

    void Add(unsigned char byte)
    {
        if (size_ < kCapacity) bytes_[size_++] = byte;
    }
    void Add(std::initializer_list<unsigned char> sequence)
    {
        for (unsigned char byte : sequence) Add(byte);
    }
    void Add(const unsigned char* bytes, size_t count)
    {
        for (size_t i = 0; i < count; ++i) Add(bytes[i]);
    }
    const unsigned char* Data() const { return bytes_; }
    unsigned int Size() const { return static_cast<unsigned int>(size_); }
    size_t Room() const { return kCapacity - size_; }

    // Sends what the buffer holds followed by length bytes of text. Text that
    // does not fit goes out in further full buffers of text alone, which the
    // display writes on from where the first left its cursor: nothing is lost
    // and no command is split. A length of 0 or less sends the buffer alone.
    template <typename Send>
    void SendWithText(const unsigned char* text, int32_t length, Send send)
    {
        size_t remaining = length > 0 ? static_cast<size_t>(length) : 0;
        for (;;) {
            const size_t part = remaining < Room() ? remaining : Room();
            if (part > 0) std::memcpy(bytes_ + size_, text, part);  // text may be null when there is none
            size_ += part;
            text += part;
            remaining -= part;
            Flush(send);
            if (remaining == 0) return;
        }
    }

    // The same for a display that needs some text bytes in another form (an
    // escape before a byte it would take as a command): encode(byte, out)
    // puts the form of one byte into out, at most kMaxEncoded bytes, and
    // returns how many. A byte's form is never split between writes.
    static constexpr size_t kMaxEncoded = 4;
    template <typename Send, typename Encode>
    void SendWithEncodedText(const unsigned char* text, int32_t length, Send send, Encode encode)
    {
        for (int32_t i = 0; i < length; ++i) {
            if (Room() >= kMaxEncoded) {  // the usual case: straight into the buffer
                size_ += encode(text[i], bytes_ + size_);
                continue;
            }
            unsigned char form[kMaxEncoded];
            const size_t size = encode(text[i], form);
            if (size > Room()) Flush(send);
            std::memcpy(bytes_ + size_, form, size);
            size_ += size;
        }
        Flush(send);
    }

    // Sends what the buffer holds and empties it.
    template <typename Send>
    void Flush(Send send)
    {
        send(Data(), Size());
        size_ = 0;
    }

private:
    unsigned char bytes_[kCapacity];
    size_t size_ = 0;
};

}  // namespace lumora::drivers
