// A library that an emulator reads through, found by its file name as the
// platform finds a program's libraries (beside the program first). When the
// process has loaded it already, this is the same library, state and all.
#pragma once

namespace lumora::sim {

class SharedLibrary {
public:
    explicit SharedLibrary(const char* fileName);
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    bool Loaded() const { return handle_ != nullptr; }
    // The address of an exported function, or null.
    void* Symbol(const char* name) const;

    // Symbol as a pointer of the function's own type.
    template <typename Function>
    bool Find(const char* name, Function& function) const
    {
        function = reinterpret_cast<Function>(Symbol(name));
        return function != nullptr;
    }

private:
    void* handle_;
};

}  // namespace lumora::sim
