// The test programs' main: on POSIX systems the settings store is pointed at a
// fresh directory of its own, so that no test reads or writes a person's
// settings; it is removed afterwards.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#if !defined(_WIN32)
#include <unistd.h>
#endif

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
#if !defined(_WIN32)
    char directory[] = "/tmp/lumora-test-XXXXXX";
    if (mkdtemp(directory) == nullptr) return 1;
    setenv("XDG_CONFIG_HOME", directory, 1);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
    return result;
#else
    return RUN_ALL_TESTS();
#endif
}
