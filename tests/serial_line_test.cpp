// A real serial line, named by LUMORA_TEST_PORT, through the host's serial port
// code. The script that runs this program plays the display at the other end.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/TestSupport.h"

namespace lumora::test {
namespace {

// The script waits for the 256 bytes this test sends, then sends the same 256
// bytes back as keys.
TEST(SerialLineBothWays, CarriesEveryByteUnchanged)
{
    const char* port = std::getenv("LUMORA_TEST_PORT");
    if (port == nullptr) GTEST_SKIP() << "LUMORA_TEST_PORT names no line";
    LineDevice device(port);
    ASSERT_TRUE(device.Open()) << device.GetLastError();
    ExpectEveryByteAsEvents(ExchangeEveryByte(device, [] {}));  // the script answers
    device.Close();
}

TEST(SerialLineCycles, TenThousandOpeningsLeaveNothingBehind)
{
    const char* port = std::getenv("LUMORA_TEST_PORT");
    if (port == nullptr) GTEST_SKIP() << "LUMORA_TEST_PORT names no line";
    LoadedDriver plover("plover");
    auto device = plover.Create();
    ASSERT_TRUE(device->SetPortName(port));
    ExpectOpeningsLeaveNothingBehind(*device, 10000);
}

}  // namespace
}  // namespace lumora::test
