// Every byte over a real serial line, both ways, through the host's serial
// port code. The line is named by LUMORA_TEST_PORT; the script that runs this
// program plays the display at the other end: it waits for the 256 bytes this
// test sends, then sends the same 256 bytes back as keys.
#include <gtest/gtest.h>

#include <cstdlib>

#include "support/TestSupport.h"

namespace lumora::test {
namespace {

TEST(SerialLineBothWays, CarriesEveryByteUnchanged)
{
    const char* port = std::getenv("LUMORA_TEST_PORT");
    if (port == nullptr) GTEST_SKIP() << "LUMORA_TEST_PORT names no line";
    LineDevice device(port);
    ASSERT_TRUE(device.Open()) << device.GetLastError();
    ExpectEveryByteAsEvents(ExchangeEveryByte(device, [] {}));  // the script answers
    device.Close();
}

}  // namespace
}  // namespace lumora::test
