/* Our LCDriver 1.x library: lcdriver.cpl on Windows, liblcdriver.so elsewhere.
 *
 * It serves one virtual character display. Its configuration comes from the
 * environment, read at the call that needs it:
 *
 *   LCDRIVER_SIZE   COLSxROWS, each 1 to 255 (default 20x4). A value that
 *                   cannot be read gives a 0 x 0 display that cannot be
 *                   requested.
 *   LCDRIVER_BUSY   when set (not empty), lcdRequest fails: the display is
 *                   held by someone else.
 *   LCDRIVER_TRACE  a file that gets one line per call, the function's name
 *                   and its arguments ("lcdSetCursorPos 4 1"); written afresh
 *                   by each process.
 *
 * The twelve lcd... functions are the library's interface for hosts. Each
 * returns 0 on success and one of the LCD_... codes otherwise. The functions
 * named LCDriverVirtual... are extras for looking at the virtual display and
 * its calls (the program's terminal view, tests); a host needs none of them.
 *
 * All functions use the C calling convention and are exported under their
 * plain names. The library keeps no thread: calls come from one thread at a
 * time, and the marquee moves with the clock, so that it has moved whenever
 * the display is looked at.
 */
#ifndef LCDRIVER_LCDRIVER_H
#define LCDRIVER_LCDRIVER_H

#include <stdint.h>

#if defined(_WIN32)
#if defined(LCDRIVER_BUILDING)
#define LCDRIVER_API __declspec(dllexport)
#else
#define LCDRIVER_API __declspec(dllimport)
#endif
#define LCDRIVER_CALL __cdecl
#else
#define LCDRIVER_API __attribute__((visibility("default")))
#define LCDRIVER_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Results. */
enum {
    LCD_OK = 0,
    LCD_BUSY = 1,              /* the display is held: LCDRIVER_BUSY, or requested already */
    LCD_NOT_REQUESTED = 2,     /* the call needs the display, and it has not been requested */
    LCD_BAD_ARGUMENT = 3,      /* an argument out of range, or a null pointer with a length */
    LCD_BAD_CONFIGURATION = 4, /* LCDRIVER_SIZE cannot be read */
    LCD_NO_MEMORY = 5
};

/* ---- The interface for hosts ------------------------------------------------ */

/* The configured geometry; 0 when LCDRIVER_SIZE cannot be read. */
LCDRIVER_API int32_t LCDRIVER_CALL lcdGetWidth(void);
LCDRIVER_API int32_t LCDRIVER_CALL lcdGetHeight(void);
/* Obtains the display for the caller until lcdFree. The display takes the
 * configured geometry here (blank when the geometry changed). */
LCDRIVER_API int32_t LCDRIVER_CALL lcdRequest(void);
LCDRIVER_API int32_t LCDRIVER_CALL lcdFree(void);
/* Cursor: 0 hidden, 1 underline, 2 block. */
LCDRIVER_API int32_t LCDRIVER_CALL lcdSetCursor(int32_t mode);
/* What text does past the end of a row: with rows nonzero it goes on at the
 * start of the next row, else it is dropped; past the last row it goes on at
 * the top with display nonzero, else it is dropped. */
LCDRIVER_API int32_t LCDRIVER_CALL lcdSetWrapMode(int32_t rows, int32_t display);
/* Blanks every cell and homes the cursor; a running marquee goes on. */
LCDRIVER_API int32_t LCDRIVER_CALL lcdClearDisplay(void);
/* Column and row count from 0. A place off the display is refused, and text
 * sent before the next good position is dropped. */
LCDRIVER_API int32_t LCDRIVER_CALL lcdSetCursorPos(int32_t column, int32_t row);
/* Writes length bytes at the cursor, which moves on; a length of 0 or less
 * writes nothing. */
LCDRIVER_API int32_t LCDRIVER_CALL lcdSendString(const unsigned char* text, int32_t length);
/* Character index (0 to 7) gets the eight rows of bitmap, top first, the five
 * pixels in bits 4 (left) to 0. */
LCDRIVER_API int32_t LCDRIVER_CALL lcdSetCustomChar(int32_t index, const unsigned char* bitmap);
/* Runs text (copied; at most 65536 bytes) through row: every delay 96ths of a
 * second (0 counts as 1) it moves shift places to the left (a negative shift
 * moves it right). The text goes round with three blanks after it. The marquee
 * covers the row until lcdDisableMarquee or lcdFree; the row's own contents
 * show again then. */
LCDRIVER_API int32_t LCDRIVER_CALL lcdEnableMarquee(const unsigned char* text, int32_t length, int32_t row,
                                                    int32_t shift, int32_t delay);
LCDRIVER_API int32_t LCDRIVER_CALL lcdDisableMarquee(void);

/* ---- Looking at the virtual display ----------------------------------------- */

/* One call as the library saw it, arguments in order. A pointer argument
 * (text, bitmap) has pointer set, and bytes and byteCount tell what the call
 * read behind it; an integer argument has its value. */
typedef struct LCDriverArgument {
    int32_t pointer;
    int32_t value;
    const unsigned char* bytes;
    int32_t byteCount;
} LCDriverArgument;

typedef struct LCDriverCall {
    const char* name; /* "lcdSetCursorPos" */
    int32_t argumentCount;
    LCDriverArgument arguments[5];
    int32_t result;
} LCDriverCall;

/* Called after each of the twelve calls has taken effect. */
typedef void(LCDRIVER_CALL* LCDriverObserver)(void* context, const LCDriverCall* call);
/* Adds an observer (LCD_OK), or removes the one added with the same pair. */
LCDRIVER_API int32_t LCDRIVER_CALL LCDriverVirtualObserve(LCDriverObserver observer, void* context);
LCDRIVER_API void LCDRIVER_CALL LCDriverVirtualForget(LCDriverObserver observer, void* context);

typedef struct LCDriverVirtualState {
    int32_t columns;
    int32_t rows;
    int32_t requested;
    int32_t cursorMode;
    int32_t cursorColumn; /* -1 while the cursor is off the display */
    int32_t cursorRow;
    int32_t wrapRows;
    int32_t wrapDisplay;
    int32_t customDefined; /* bit i set once character i has been defined */
    int32_t marqueeRunning;
    int32_t marqueeRow;
    int32_t marqueeShift;
    int32_t marqueeDelay; /* 96ths of a second */
    int32_t marqueeLength;
    int64_t marqueeSteps; /* steps the marquee has taken so far */
} LCDriverVirtualState;

LCDRIVER_API void LCDRIVER_CALL LCDriverVirtualGetState(LCDriverVirtualState* state);
/* Copies the cells as they show now (the marquee's row at its current step),
 * row by row, into buffer when size is at least columns x rows. Returns
 * columns x rows. */
LCDRIVER_API int32_t LCDRIVER_CALL LCDriverVirtualGetCells(unsigned char* buffer, int32_t size);
/* Copies the eight rows of custom character index; LCD_BAD_ARGUMENT for an
 * index outside 0 to 7. */
LCDRIVER_API int32_t LCDRIVER_CALL LCDriverVirtualGetCustomChar(int32_t index, unsigned char* bitmap);

/* The clock the marquee moves by, in milliseconds; null restores the library's
 * own monotonic clock. For tests that need the marquee to stand still. */
typedef int64_t(LCDRIVER_CALL* LCDriverClock)(void);
LCDRIVER_API void LCDRIVER_CALL LCDriverVirtualSetClock(LCDriverClock clock);

#ifdef __cplusplus
}
#endif

#endif
