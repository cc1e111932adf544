// The Futaba driver's bytes, captured at the host's serial layer.
#include <gtest/gtest.h>

#include <cstring>

#include "EmulatedPort.h"
#include "FutabaEmulator.h"
#include "support/TestSupport.h"

namespace lumora::test {
namespace {

class Plover : public testing::Test {
protected:
    void SetUp() override
    {
        device = driver.Create();
        ASSERT_NE(device, nullptr);
        ASSERT_TRUE(device->SetPortName(port.Name().c_str()));
    }

    // Opens the display and forgets the bytes of the opening.
    void OpenQuietly()
    {
        ASSERT_TRUE(device->Open());
        port.Forget();
    }

    LoadedDriver driver{"plover"};
    CapturePort port;
    std::unique_ptr<DisplayDevice> device;
};

TEST_F(Plover, CreatesTheSameDisplayWhateverItIsGiven)
{
    ForEachWayOfCreating(driver, [](DisplayDevice& d) {
        EXPECT_EQ(d.GetWidth(), 20);
        EXPECT_EQ(d.GetHeight(), 4);
        EXPECT_EQ(d.GetPortType(), 1);
        EXPECT_STREQ(d.GetPortName(), "COM2");
        EXPECT_EQ(d.GetBaudRate(), 9600);
    });
}

TEST_F(Plover, KeepsTheHostDefaultsForEveryCapability)
{
    EXPECT_EQ(device->HasSetSize(), 0);
    EXPECT_EQ(device->HasContrast(), 0);
    EXPECT_EQ(device->HasBrightness(), 0);
    EXPECT_EQ(device->HasBacklight(), 0);
    EXPECT_EQ(device->HasKeypad(), 0);
    EXPECT_EQ(device->GetOutputCount(), 0);
    EXPECT_FALSE(device->SetSize(40, 2));
}

struct WriteCase {
    int row;
    int column;
    Bytes text;
    int length;
    Bytes sent;
};

TEST_F(Plover, PositionsTheTextAtTheCellOfATwentyColumnDisplay)
{
    const WriteCase cases[] = {
        {0, 0, {72, 105}, 2, {0x10, 0x00, 0x48, 0x69}},
        {1, 5, {72, 105}, 2, {0x10, 0x19, 0x48, 0x69}},
        {3, 19, {88}, 1, {0x10, 0x4F, 0x58}},
        {2, 0, {}, 0, {0x10, 0x28}},
        {2, 0, {65}, -3, {0x10, 0x28}},
        {12, 20, {65}, 1, {0x10, 0x04, 0x41}},  // cell 260: the position byte wraps at 256
        {0, 0, {0x00, 0x1F, 0x10, 0xFF}, 4, {0x10, 0x00, 0x00, 0x1F, 0x10, 0xFF}},  // bytes go out as given
    };
    OpenQuietly();
    for (const WriteCase& c : cases) {
        port.Forget();
        DeviceAccess::Write(*device, c.row, c.column, c.text, c.length);
        ASSERT_EQ(port.Writes().size(), 1u) << "row " << c.row << " column " << c.column;
        EXPECT_EQ(Hex(port.Writes()[0]), Hex(c.sent)) << "row " << c.row << " column " << c.column;
    }
}

TEST_F(Plover, UsesTwentyColumnsWhateverTheWidthHolds)
{
    OpenQuietly();
    DeviceAccess::SetWidth(*device, 40);
    DeviceAccess::Write(*device, 1, 0, {65}, 1);
    EXPECT_EQ(Hex(port.AllBytes()), "10 14 41");
}

TEST_F(Plover, OpenClearAndCloseSendTheReset)
{
    EXPECT_EQ(DeviceAccess::Open(*device), 1);
    DeviceAccess::Clear(*device);
    DeviceAccess::Close(*device);
    ASSERT_EQ(port.Writes().size(), 3u);
    for (const Bytes& write : port.Writes()) EXPECT_EQ(Hex(write), "1F");
    // The port was released: nothing more reaches it.
    DeviceAccess::Write(*device, 0, 0, {65}, 1);
    EXPECT_EQ(port.Writes().size(), 3u);
}

TEST_F(Plover, AnUnopenablePortSendsNothingAndFails)
{
    ASSERT_TRUE(device->SetPortName("nowhere"));
    EXPECT_EQ(DeviceAccess::Open(*device), 0);
    EXPECT_FALSE(device->Open());
    EXPECT_NE(std::string(device->GetLastError()).find("nowhere"), std::string::npos) << device->GetLastError();
    EXPECT_TRUE(port.Writes().empty());
}

TEST_F(Plover, CustomCharactersSendNothing)
{
    OpenQuietly();
    const unsigned char bitmap[8] = {0x1F, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1F, 0x00};
    for (int index : {0, 3, 7, -1, 200}) DeviceAccess::SetCustomChar(*device, index, bitmap);
    EXPECT_TRUE(device->DefineCustomChar(2, bitmap));
    EXPECT_TRUE(port.Writes().empty());
}

TEST_F(Plover, OpensAfreshEachTime)
{
    ASSERT_TRUE(device->Open());
    device->Close();
    ASSERT_TRUE(device->Open());
    device->Close();
    ASSERT_EQ(port.Writes().size(), 4u);
    for (const Bytes& write : port.Writes()) EXPECT_EQ(Hex(write), "1F");
}

TEST_F(Plover, DeletingTheObjectSendsNothing)
{
    OpenQuietly();
    device.reset();
    EXPECT_TRUE(port.Writes().empty());
}

// Text longer than the 128-byte buffer goes out in further writes that carry
// on at the cursor: nothing overflows and nothing is lost.
TEST_F(Plover, LongTextContinuesInFurtherWrites)
{
    OpenQuietly();
    Bytes text(300);
    for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<unsigned char>('A' + i % 26);
    DeviceAccess::Write(*device, 0, 0, text, static_cast<int>(text.size()));

    ASSERT_EQ(port.Writes().size(), 3u);
    EXPECT_EQ(port.Writes()[0].size(), 128u);
    EXPECT_EQ(port.Writes()[1].size(), 128u);
    EXPECT_EQ(port.Writes()[2].size(), 300u - 126u - 128u);
    const Bytes all = port.AllBytes();
    EXPECT_EQ(Hex(Bytes(all.begin(), all.begin() + 2)), "10 00");
    EXPECT_EQ(Bytes(all.begin() + 2, all.end()), text);

    // On the display the text runs on from the cursor, round the 80 cells.
    sim::FutabaEmulator vfd;
    vfd.Receive(all.data(), all.size());
    for (int cell = 0; cell < 80; ++cell) {
        const int last = cell + 80 * ((299 - cell) / 80);  // the last text byte that landed on this cell
        EXPECT_EQ(vfd.Cell(cell / 20, cell % 20), text[last]) << "cell " << cell;
    }
}

TEST_F(Plover, TheApplicationInterfaceSendsOnlyWhatWasAskedFor)
{
    ASSERT_TRUE(device->Open());
    ASSERT_TRUE(device->ClearText());
    ASSERT_TRUE(device->WriteText(1, 5, "Hi", 2));
    device->Close();
    EXPECT_EQ(Hex(port.AllBytes()), "1F 1F 10 19 48 69 1F");
}

TEST(PloverOnTheEmulatedDisplay, TenThousandOpeningsLeaveNothingBehind)
{
    sim::FutabaEmulator vfd;
    sim::EmulatedPort port(vfd, "vfd");
    LoadedDriver plover("plover");
    auto device = plover.Create();
    ASSERT_TRUE(device->SetPortName("vfd"));
    ExpectOpeningsLeaveNothingBehind(*device, 10000);
}

}  // namespace
}  // namespace lumora::test
