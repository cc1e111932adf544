#include "EmulatedPort.h"

#include "Host.h"

namespace lumora::sim {

namespace {

void WriteToEmulator(void* context, const unsigned char* bytes, unsigned int count)
{
    static_cast<Emulator*>(context)->Receive(bytes, count);
}

unsigned int ReadFromEmulator(void* context, unsigned char* buffer, unsigned int size)
{
    return static_cast<unsigned int>(static_cast<Emulator*>(context)->TakeSentToHost(buffer, size));
}

}  // namespace

EmulatedPort::EmulatedPort(Emulator& emulator, std::string name) : emulator_(emulator), name_(std::move(name))
{
    const VirtualPort port{&emulator_, WriteToEmulator, ReadFromEmulator};
    registered_ = RegisterVirtualPort(name_.c_str(), &port) != 0;
}

EmulatedPort::~EmulatedPort()
{
    if (registered_) UnregisterVirtualPort(name_.c_str());
}

}  // namespace lumora::sim
