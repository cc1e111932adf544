// The host's inner pieces that need no display: the settings file's text
// form, port names on POSIX systems and the marquee's frames.
#include <gtest/gtest.h>

#include "Marquee.h"
#include "PortName.h"
#include "SettingsFile.h"

namespace lumora::detail {
namespace {

TEST(SettingsFileText, ReadsNumbersAndQuotedText)
{
    SettingsFile file;
    std::string error;
    ASSERT_TRUE(
        file.Parse("# comment\n\nDebounceTime = 52\r\nMirageFont=\"Courier \\\"New\\\" \\\\ \\x01\"\n"
                   "  Negative =  -7  \n",
                   error))
        << error;
    EXPECT_EQ(file.GetInt("DebounceTime"), 52);
    EXPECT_EQ(file.GetInt("Negative"), -7);
    EXPECT_EQ(file.GetString("MirageFont"), std::string("Courier \"New\" \\ \x01"));
    EXPECT_EQ(file.GetString("DebounceTime"), std::nullopt);
    EXPECT_EQ(file.GetInt("MirageFont"), std::nullopt);
}

TEST(SettingsFileText, WritesWhatItReadsBack)
{
    SettingsFile file;
    file.Set("Text", std::string("quote \" backslash \\ bytes \x01\x7F\xFF end"));
    file.Set("Number", -2147483647 - 1);
    file.Set("Empty", std::string());
    SettingsFile again;
    std::string error;
    ASSERT_TRUE(again.Parse(file.Format(), error)) << error << "\n" << file.Format();
    EXPECT_EQ(again.GetString("Text"), file.GetString("Text"));
    EXPECT_EQ(again.GetInt("Number"), -2147483647 - 1);
    EXPECT_EQ(again.GetString("Empty"), std::string());
}

TEST(SettingsFileText, RefusesDamagedText)
{
    const char* damaged[] = {
        "NoEquals\n",
        "= 5\n",
        "Name = \n",
        "Name = 12abc\n",
        "Name = 99999999999\n",
        "Name = \"unterminated\n",
        "Name = \"bad \\q escape\"\n",
        "Name = \"cut \\x4\"\n",
        "Name = \"inner \" quote\"\n",
        "Good = 1\nBad\n",
    };
    for (const char* text : damaged) {
        SettingsFile file;
        std::string error;
        EXPECT_FALSE(file.Parse(text, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
        EXPECT_EQ(file.Size(), 0u) << "a damaged file gives no values at all: " << text;
    }
}

TEST(SettingsFileText, NamesAreCheckedBeforeTheyAreWritten)
{
    for (const char* bad : {"", "a=b", "quo\"te", " lead", "trail ", "#comment", "line\nbreak"})
        EXPECT_FALSE(SettingsFile::IsValidName(bad)) << bad;
    for (const char* good : {"DebounceTime", "Mirage Font", "x.y-z_1"}) EXPECT_TRUE(SettingsFile::IsValidName(good));
}

TEST(PortNames, MapToDevicesUnderDev)
{
    const struct {
        const char* name;
        const char* path;
    } cases[] = {{"ttyUSB0", "/dev/ttyUSB0"}, {"pts/3", "/dev/pts/3"}, {"COM1", "/dev/ttyS0"}, {"COM12", "/dev/ttyS11"},
                 {"COM0", "/dev/COM0"},       {"COMx", "/dev/COMx"},   {"a..b", "/dev/a..b"}};
    for (const auto& c : cases) {
        std::string path;
        std::string error;
        EXPECT_TRUE(PosixDevicePath(c.name, path, error)) << c.name << ": " << error;
        EXPECT_EQ(path, c.path);
    }
}

TEST(PortNames, ThatLeaveDevAreRefused)
{
    for (const char* name : {"", "/dev/ttyS0", "..", "../etc", "pts/../../x", "a/.."}) {
        std::string path;
        std::string error;
        EXPECT_FALSE(PosixDevicePath(name, path, error)) << name;
        EXPECT_FALSE(error.empty());
    }
}

TEST(MarqueeFrames, GoRoundTheTextAndItsGap)
{
    const std::string text = "HELLO";
    const unsigned char* t = reinterpret_cast<const unsigned char*>(text.data());
    EXPECT_EQ(MarqueeCircleLength(5, 8), 8);     // short text: one row wide
    EXPECT_EQ(MarqueeCircleLength(30, 20), 33);  // long text: the text and its gap
    const struct {
        int offset;
        const char* row;
    } cases[] = {{0, "HELLO   "}, {3, "LO   HEL"}, {8, "HELLO   "}, {12, "O   HELL"}};
    for (const auto& c : cases) {
        std::string row(8, '?');
        MarqueeFrame(t, 5, 8, c.offset, ' ', reinterpret_cast<unsigned char*>(row.data()));
        EXPECT_EQ(row, c.row) << "offset " << c.offset;
    }
}

}  // namespace
}  // namespace lumora::detail
