// Our DlPortIO: what its observers and its trace file see of each port write.
// The hardware is never switched on here.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "DlPortIO.h"

#if defined(_WIN32)
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace {

// The library reads its environment at the first write, so the trace file
// is named before any test runs; one file per test process.
const std::string& TracePath()
{
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("dlportio-trace-" + std::to_string(getpid()) + ".txt")).string();
    return path;
}

class TraceEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        std::filesystem::remove(TracePath());
#if defined(_WIN32)
        _putenv_s("DLPORTIO_TRACE", TracePath().c_str());
        _putenv_s("DLPORTIO_HARDWARE", "");
#else
        setenv("DLPORTIO_TRACE", TracePath().c_str(), 1);
        unsetenv("DLPORTIO_HARDWARE");
#endif
    }
    // Windows keeps the file while the library holds it open: it may stay.
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove(TracePath(), ignored);
    }
};
const testing::Environment* const traceEnvironment = testing::AddGlobalTestEnvironment(new TraceEnvironment);

struct Seen {
    uint32_t port;
    uint8_t value;
    bool operator==(const Seen& o) const { return port == o.port && value == o.value; }
};

void Record(void* context, uint32_t port, uint8_t value)
{
    static_cast<std::vector<Seen>*>(context)->push_back({port, value});
}

std::string ReadTrace()
{
    std::ifstream in(TracePath());
    std::stringstream trace;
    trace << in.rdbuf();
    return trace.str();
}

TEST(DlPortIO, TracesEveryWriteAsPortAndValueInHexadecimal)
{
    const size_t before = ReadTrace().size();
    DlPortWritePortUchar(0x37A, 0x03);
    DlPortWritePortUchar(0x378, 0x41);
    DlPortWritePortUchar(0x3BC, 0x00);
    DlPortWritePortUchar(0x10000, 0xFF);
    EXPECT_EQ(ReadTrace().substr(before), "37A 03\n378 41\n3BC 00\n10000 FF\n");
}

TEST(DlPortIO, ShowsEveryWriteToEachObserverInOrderUntilItIsRemoved)
{
    std::vector<Seen> first;
    std::vector<Seen> second;
    ASSERT_TRUE(DlPortAddObserver(Record, &first));
    ASSERT_TRUE(DlPortAddObserver(Record, &second));
    DlPortWritePortUchar(0x278, 0x38);
    DlPortWritePortUchar(0x27A, 0x0E);
    DlPortRemoveObserver(Record, &first);  // the same function with the other context stays
    DlPortWritePortUchar(0x27A, 0x06);
    DlPortRemoveObserver(Record, &second);
    DlPortWritePortUchar(0x27A, 0x02);
    EXPECT_EQ(first, (std::vector<Seen>{{0x278, 0x38}, {0x27A, 0x0E}}));
    EXPECT_EQ(second, (std::vector<Seen>{{0x278, 0x38}, {0x27A, 0x0E}, {0x27A, 0x06}}));
}

TEST(DlPortIO, RefusesAnObserverPastItsRoom)
{
    std::vector<Seen> seen[17];
    for (int i = 0; i < 16; ++i) EXPECT_TRUE(DlPortAddObserver(Record, &seen[i])) << i;
    EXPECT_FALSE(DlPortAddObserver(Record, &seen[16]));
    EXPECT_FALSE(DlPortAddObserver(nullptr, nullptr));
    DlPortWritePortUchar(0x378, 0x01);
    for (int i = 0; i < 16; ++i) DlPortRemoveObserver(Record, &seen[i]);
    EXPECT_EQ(seen[15].size(), 1u);
    EXPECT_TRUE(seen[16].empty());
    EXPECT_TRUE(DlPortAddObserver(Record, &seen[16]));  // room again
    DlPortRemoveObserver(Record, &seen[16]);
}

}  // namespace
