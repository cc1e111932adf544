// What a person types while an emulated display is shown: the keys of its
// keypad. The keys come from standard input; on a terminal each key arrives as
// it is typed (no line editing, no echo) until the keyboard is released.
#pragma once

#include <cstddef>

namespace lumora::sim {

class Keyboard {
public:
    Keyboard();
    ~Keyboard();
    Keyboard(const Keyboard&) = delete;
    Keyboard& operator=(const Keyboard&) = delete;

    // What was typed since the last call, without waiting; 0 when nothing was,
    // and for good once standard input has ended.
    size_t Read(unsigned char* buffer, size_t size);

private:
    bool ended_ = false;
};

}  // namespace lumora::sim
