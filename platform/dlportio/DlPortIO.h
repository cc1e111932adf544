// DlPortIO: writes one byte to an I/O port address.
//
// DlPortWritePortUchar is the library's one port operation, exported under
// that plain name (stdcall on 32-bit Windows, undecorated). The port itself is
// written only when DLPORTIO_HARDWARE=1 is set in the environment, because a
// stray write to an I/O port can hang a machine. Every write, to the hardware
// or not, is shown to observers: the trace file named by DLPORTIO_TRACE (one
// line per write, port and value in hexadecimal: "37A 03") and the functions
// added with DlPortAddObserver (an emulated display, a test). A write that
// reaches neither the port nor an observer is mentioned once on stderr.
#ifndef LUMORA_DLPORTIO_H
#define LUMORA_DLPORTIO_H

#include <stdint.h>

#if defined(_WIN32)
#if defined(DLPORTIO_BUILDING)
#define DLPORTIO_API __declspec(dllexport)
#else
#define DLPORTIO_API __declspec(dllimport)
#endif
#define DLPORTIO_STDCALL __stdcall
#else
#define DLPORTIO_API __attribute__((visibility("default")))
#define DLPORTIO_STDCALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Writes value to the I/O port at address port.
DLPORTIO_API void DLPORTIO_STDCALL DlPortWritePortUchar(uint32_t port, uint8_t value);

// Called once for every port write, in order, on the thread that writes. An
// observer must not add or remove observers from inside the call.
typedef void (*DlPortObserver)(void* context, uint32_t port, uint8_t value);

// Adds an observer; 1 on success, 0 when there is no room (16 observers).
DLPORTIO_API int DlPortAddObserver(DlPortObserver observer, void* context);
// Removes an observer added with the same function and context.
DLPORTIO_API void DlPortRemoveObserver(DlPortObserver observer, void* context);

#ifdef __cplusplus
}
#endif

#endif
