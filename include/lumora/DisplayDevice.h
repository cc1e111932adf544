// The contract between the host library lumora and its display driver plug-ins.
//
// A driver library exports one function, CreateDisplayDevice, which returns an
// object of a class derived from DisplayDevice. The host keeps the model of the
// display (geometry, text, custom characters, marquee, settings) and the serial
// port; the driver turns the host's requests into the bytes of one kind of
// display.
//
// Layout rules that drivers compiled elsewhere rely on:
// - the data members below lie in this order; the private stretches between them
//   are the host's own state, which no driver touches;
// - the virtual table holds exactly twenty operations, the destructor first, in
//   the order declared here. Nothing may be inserted, removed or reordered.
//
// This header uses nothing beyond C++11.
#ifndef LUMORA_DISPLAYDEVICE_H
#define LUMORA_DISPLAYDEVICE_H

#include <stdint.h>

#include "lumora/Platform.h"

namespace lumora {
namespace detail {
struct HostState;
}
}  // namespace lumora

class LUMORA_API DisplayDevice {
public:
    virtual ~DisplayDevice();

protected:
    DisplayDevice();

    // Driver operations, in virtual table order. The host calls them only
    // through the application interface further down, which keeps screen,
    // customChars and the marquee fields in step with what it asks for.

    // Show length bytes of text (already translated through charMap) on row
    // `row` from column `column`; a length of 0 or less writes no text.
    virtual void DeviceWrite(int32_t row, int32_t column, const unsigned char* text, int32_t length) = 0;
    // Define custom character index (0 to 7); customChars[index] already holds it.
    virtual void DeviceSetCustomChar(int32_t index, const unsigned char* bitmap) = 0;
    // Open the port, window or library and put the display in its initial,
    // cleared state. 1 when usable, 0 when not (and then nothing was sent).
    virtual int32_t DeviceOpen() = 0;
    // Shut the display down and release the port, window or library.
    virtual void DeviceClose() = 0;
    // Blank the whole display; screen has already been blanked.
    virtual void DeviceClear() = 0;

    // Operations with default bodies in the host.
    virtual void DeviceSetMarquee();     // default: the host's simulated marquee
    virtual void DeviceClearMarquee();   // default: stops the host's marquee
    virtual int32_t DeviceHasSetSize();  // default 0 for each query
    virtual int32_t DeviceHasContrast();
    virtual int32_t DeviceHasBrightness();
    virtual int32_t DeviceHasBacklight();
    virtual int32_t DeviceHasKeypad();
    virtual int32_t DeviceEnableInput();  // default 0: no input
    virtual void DeviceDisableInput();
    virtual void DeviceInput(unsigned char key);
    virtual int32_t DeviceGetGPOs();  // default 0 outputs
    virtual void DeviceSetGPO(int32_t gpo, int32_t on);
    virtual void DeviceLoadSettings(HKEY key);  // default: no settings
    virtual void DeviceSaveSettings(HKEY key);

public:
    // ---- Services to drivers -------------------------------------------------

    // Nonzero once the device is open, having called DeviceOpen if it was
    // closed; 0 when it cannot be opened.
    int Open();
    // Calls DeviceClose on an open device and marks it closed. A nested call
    // from inside DeviceClose finds the device closed and does nothing.
    void Close();

    // The settings store. A key is an open registry key on Windows and an open
    // settings profile elsewhere. An absent value leaves the variable as it
    // was; a string is always zero-terminated within size bytes. Results are
    // nonzero on success.
    static int GetSettingInt(HKEY key, const char* name, int& value);
    static int SetSettingInt(HKEY key, const char* name, int value);
    static int GetSettingBool(HKEY key, const char* name, int& value);
    static int SetSettingBool(HKEY key, const char* name, int value);
    static int GetSettingString(HKEY key, const char* name, char* buffer, int size);
    static int SetSettingString(HKEY key, const char* name, const char* text);
    // An open key to the profile that settings are loaded from; the caller
    // closes it (RegCloseKey on Windows, or CloseSettingsKey anywhere).
    static HKEY GetSettingsKey();
    static void CloseSettingsKey(HKEY key);

protected:
    // Opens the serial port named by portName at baudRate. option is
    // serialOption (or 0): 1 asks for RTS/CTS handshaking. Nonzero on success.
    int OpenSerial(int option);
    // Sends count bytes in order; done with the buffer when it returns.
    int WriteSerial(const unsigned char* bytes, unsigned int count);
    void CloseSerial();
    // From EnableSerialInput on, each received byte goes to DeviceInput.
    int EnableSerialInput();
    void DisableSerialInput();
    // The host runs (or stops) the marquee described by the marquee fields.
    void SetSimulatedMarquee();
    void ClearSimulatedMarquee();

public:
    // ---- The application interface -----------------------------------------
    // Everything a program does with a display goes through these members. Each
    // returns nonzero on success; on failure GetLastError() says why, and
    // nothing has been sent to the display.

    int IsOpen() const;
    int GetWidth() const;
    int GetHeight() const;
    int GetPortType() const;
    const char* GetPortName() const;
    int GetBaudRate() const;
    int GetContrast() const;
    int GetBrightness() const;
    int GetSerialOption() const;
    // The display contents, GetWidth() x GetHeight() bytes (as sent, after
    // charMap); null while no display has been opened.
    const unsigned char* GetScreen() const;
    const unsigned char* GetCustomChar(int index) const;
    // The marquee row, or -1 when no marquee runs.
    int GetMarqueeRow() const;

    // Configuration, refused while the display is open.
    int SetSize(int columns, int rows);  // 1-40 columns, 1-4 rows; only where HasSetSize()
    int SetPortName(const char* name);   // at most 7 characters
    int SetContrast(int percent);        // 0-100
    int SetBrightness(int percent);      // 0-100
    int SetSerialOption(int option);

    // Capabilities.
    int HasSetSize();
    int HasContrast();
    int HasBrightness();
    int HasBacklight();
    int HasKeypad();
    int GetOutputCount();

    // Writes text at a row and column: translated through charMap, stored in
    // screen, clipped to the row, then sent. length < 0 means up to the first
    // zero byte.
    int WriteText(int row, int column, const char* text, int length);
    int ClearText();
    int DefineCustomChar(int index, const unsigned char* bitmap);
    int StartMarquee(int row, int shift, int delayMs, const char* text, int length);
    int StopMarquee();
    int SetOutput(int gpo, int on);
    int StartInput();
    int StopInput();
    int LoadSettings();
    int SaveSettings();

    // Runs what is due: a step of the host's marquee, received bytes to
    // DeviceInput. A program calls it from its loop; ServiceAt takes the time
    // from the caller (milliseconds on the host's monotonic clock).
    void Service();
    void ServiceAt(int64_t nowMs);
    static int64_t MonotonicMs();

    const char* GetLastError() const;
    // Why the open display's port stopped working (it was unplugged, the
    // device went away), or null while it works. From then on what is sent
    // is dropped, until the display is opened again.
    const char* GetPortFailure() const;

private:
    DisplayDevice(const DisplayDevice&) = delete;
    DisplayDevice& operator=(const DisplayDevice&) = delete;

    // The host's own helpers.
    int Refuse(const char* reason);  // records reason for GetLastError, returns 0
    int CheckOpen();
    int CheckClosed();
    int CheckPosition(int row, int column);
    void StepMarquee(int64_t nowMs);
    void ShowMarqueeFrame();
    int WithSettingsKey(void (DisplayDevice::*operation)(HKEY));
    void DeliverInput();
    void PortFailed(const char* why);

    // ---- Fields, in the order drivers rely on ---------------------------------
protected:
    unsigned char charMap[256];

private:
    lumora::detail::HostState* host;

protected:
    int32_t width;
    int32_t height;
    unsigned char* screen;
    unsigned char customChars[8][8];

private:
    int32_t isOpen;

protected:
    unsigned char* marqueeText;
    int32_t marqueeRow;
    int32_t marqueeLength;

private:
    int32_t marqueeRunning;

protected:
    int32_t marqueeShift;
    int32_t marqueeDelay;

private:
    int32_t marqueeOffset;

protected:
    int32_t portType;
    char portName[8];
    int32_t baudRate;

private:
    int32_t inputEnabled;

protected:
    int32_t contrast;
    int32_t brightness;
    int32_t serialOption;

private:
    int32_t screenCells;
};

// Hands an event (a zero-terminated string) to the host, which copies it into
// the queue that the program reads. Nonzero on success.
extern "C" LUMORA_API int DisplaySendEvent(const char* text);

// The one export of every driver library.
typedef DisplayDevice*(LUMORA_CDECL* CreateDisplayDeviceFunction)(HWND parentWindow, const char* model);

#endif
