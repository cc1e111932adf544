// Resource and command identifiers of the simulated display.
#pragma once

#define IDI_DISPLAY_ICON 101
#define IDR_DISPLAY_MENU 102

#define ID_CHANGE_FONT 40001
#define ID_CHANGE_TEXT_COLOR 40002
#define ID_CHANGE_BACK_COLOR 40003
#define ID_ALWAYS_ON_TOP 40004
