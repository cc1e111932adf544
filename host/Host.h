// The host library's interface for programs: loading driver plug-ins, the event
// queue, the settings profile, virtual serial ports and the wait. Drivers use
// only WaitMs from it; their contract is include/lumora/DisplayDevice.h.
//
// Only plain types cross this boundary, and nothing throws across it.
#pragma once

#include "lumora/DisplayDevice.h"

namespace lumora {

// ---- Driver plug-ins --------------------------------------------------------

struct Plugin;

// Loads a driver library. A bare name ("plover") is looked up next to the
// program (plover.dll on Windows, plover.so elsewhere); anything with a path
// separator or a file extension is taken as a path. Null on failure, with a
// sentence naming the file and the reason in error.
LUMORA_API Plugin* LoadPlugin(const char* nameOrPath, char* error, int errorSize);
// Creates a driver object through the library's CreateDisplayDevice; null when
// the driver could not make one.
LUMORA_API DisplayDevice* CreatePluginDevice(Plugin* plugin, HWND parentWindow, const char* model);
// Unloads the library; every object it created must have been deleted.
LUMORA_API void UnloadPlugin(Plugin* plugin);

// ---- Events -----------------------------------------------------------------

// Takes the oldest event that drivers sent through DisplaySendEvent. Returns 1
// and copies it (zero-terminated, cut to size) into buffer, or 0 when there
// is none. The queue keeps the newest 65536 events for a program that reads
// none.
LUMORA_API int NextEvent(char* buffer, int size);

// ---- Settings profile -------------------------------------------------------

// The profile that GetSettingsKey opens: HKCU\Software\Lumora\<name> on
// Windows, $XDG_CONFIG_HOME/lumora/<name>.conf elsewhere. Names are 1-64
// letters, digits, '-', '_' or '.', not starting with '.'. 0 for a bad name.
LUMORA_API int SetSettingsProfile(const char* name);
// Where the profile lives, for messages to a person.
LUMORA_API int DescribeSettingsLocation(char* buffer, int size);

// ---- Virtual serial ports ----------------------------------------------------

// A port served by the program itself (an emulated display, a capture in a
// test). write receives the bytes of one WriteSerial call; read hands over up
// to size received bytes without waiting and returns how many. Either may be
// null.
struct VirtualPort {
    void* context;
    void (*write)(void* context, const unsigned char* bytes, unsigned int count);
    unsigned int (*read)(void* context, unsigned char* buffer, unsigned int size);
};

// From now on OpenSerial of a port with this name reaches the virtual port
// instead of a device. 0 when the name is empty or longer than 7 characters.
LUMORA_API int RegisterVirtualPort(const char* name, const VirtualPort* port);
LUMORA_API void UnregisterVirtualPort(const char* name);

// ---- The program's loop ------------------------------------------------------

// Waits about ms milliseconds while serving the platform (on Windows it
// dispatches window messages, so that a driver's window stays alive). Drivers
// whose hardware needs time (a display that starts up after its port opens)
// wait here too.
LUMORA_API void WaitMs(int ms);

// Puts wait in the place of the platform's wait for every WaitMs from now on,
// or restores the platform's with null: for a test that notes the waits
// instead of sleeping them, or a program with something to do meanwhile. Set
// it while no other thread waits.
using WaitFunction = void (*)(void* context, int ms);
LUMORA_API void SetWaitFunction(WaitFunction wait, void* context);

}  // namespace lumora
