// lumora: shows text on a character display through a driver plug-in.
#include <cstdio>
#include <string>

#include "CommandLine.h"
#include "Program.h"

#if defined(_WIN32)
#include <windows.h>
#endif

int main(int argc, char** argv)
{
#if defined(_WIN32)
    SetConsoleOutputCP(CP_UTF8);  // the emulated display is drawn with box characters
#endif
    lumora::app::Options options;
    std::string error;
    if (!lumora::app::ParseCommandLine(argc, argv, options, error)) {
        std::fprintf(stderr, "lumora: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(lumora::app::Usage(), stdout);
        return 0;
    }
    return lumora::app::RunProgram(options, stdout, stderr);
}
