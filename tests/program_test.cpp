// The program's command line: what it accepts, and the one-line reasons for
// what it refuses.
#include <gtest/gtest.h>

#include <vector>

#include "CommandLine.h"

namespace lumora::app {
namespace {

bool Parse(std::vector<const char*> words, Options& options, std::string& error)
{
    words.insert(words.begin(), "lumora");
    return ParseCommandLine(static_cast<int>(words.size()), words.data(), options, error);
}

TEST(CommandLine, ReadsOptionsThenActionsInOrder)
{
    Options o;
    std::string error;
    ASSERT_TRUE(Parse({"--driver",
                       "plover",
                       "--port=pts/3",
                       "--size",
                       "40x2",
                       "--contrast",
                       "30",
                       "--brightness=0x64",
                       "--serial-option",
                       "1",
                       "--model",
                       "LK204",
                       "--profile",
                       "lab",
                       "--setting",
                       "DebounceTime=30",
                       "--setting",
                       "MirageFont=Courier New",
                       "clear",
                       "write",
                       "1",
                       "5",
                       "Hi\\x21\\\\",
                       "char",
                       "3",
                       "0x1F",
                       "0",
                       "1",
                       "2",
                       "3",
                       "4",
                       "5",
                       "31",
                       "marquee",
                       "0",
                       "2",
                       "250",
                       "news",
                       "unmarquee",
                       "gpo",
                       "2",
                       "on",
                       "wait",
                       "100",
                       "input",
                       "0",
                       "info"},
                      o, error))
        << error;
    EXPECT_EQ(o.driver, "plover");
    EXPECT_EQ(o.port, "pts/3");
    EXPECT_EQ(o.size, std::make_pair(40, 2));
    EXPECT_EQ(o.contrast, 30);
    EXPECT_EQ(o.brightness, 100);
    EXPECT_EQ(o.serialOption, 1);
    EXPECT_EQ(o.model, "LK204");
    EXPECT_EQ(o.profile, "lab");
    ASSERT_EQ(o.settings.size(), 2u);
    EXPECT_EQ(std::get<int>(o.settings[0].value), 30);
    EXPECT_EQ(std::get<std::string>(o.settings[1].value), "Courier New");

    using K = Action::Kind;
    std::vector<K> kinds;
    for (const Action& a : o.actions) kinds.push_back(a.kind);
    EXPECT_EQ(kinds, (std::vector<K>{K::Clear, K::Write, K::Char, K::Marquee, K::Unmarquee, K::Gpo, K::Wait, K::Input,
                                     K::Info}));
    EXPECT_EQ(o.actions[1].text, "Hi!\\");
    EXPECT_EQ(o.actions[2].index, 3);
    EXPECT_EQ(o.actions[2].bitmap[0], 0x1F);
    EXPECT_EQ(o.actions[2].bitmap[7], 31);
    EXPECT_EQ(o.actions[3].shift, 2);
    EXPECT_EQ(o.actions[3].ms, 250);
    EXPECT_TRUE(o.actions[5].on);
}

TEST(CommandLine, RefusesWhatItCannotUse)
{
    const struct {
        std::vector<const char*> words;
        const char* reason;
    } cases[] = {
        {{}, "no driver given"},
        {{"clear"}, "no driver given"},
        {{"--driver"}, "--driver needs a value"},
        {{"--driver", "plover", "--colour", "red"}, "unknown option '--colour'"},
        {{"--driver", "plover", "--size", "20"}, "--size takes COLSxROWS"},
        {{"--driver", "plover", "--size", "41x4"}, "--size columns must be a whole number from 1 to 40"},
        {{"--driver", "plover", "--size", "20x5"}, "--size rows must be a whole number from 1 to 4"},
        {{"--driver", "plover", "--contrast", "101"}, "--contrast must be a whole number from 0 to 100"},
        {{"--driver", "plover", "--contrast", "5%"}, "not '5%'"},
        {{"--driver", "plover", "--setting", "=3"}, "--setting takes NAME=VALUE"},
        {{"--driver", "plover", "blink"}, "unknown action 'blink'"},
        {{"--driver", "plover", "write", "0", "0"}, "action 'write' needs 3 arguments"},
        {{"--driver", "plover", "write", "x", "0", "t"}, "write ROW must be a whole number"},
        {{"--driver", "plover", "write", "0", "40", "t"}, "write COL must be a whole number from 0 to 39"},
        {{"--driver", "plover", "write", "0", "0", "cut \\x4"}, "needs two hexadecimal digits"},
        {{"--driver", "plover", "write", "0", "0", "end\\"}, "unknown escape"},
        {{"--driver", "plover", "char", "8", "0", "0", "0", "0", "0", "0", "0", "0"}, "char INDEX"},
        {{"--driver", "plover", "char", "0", "0", "0", "0", "0", "0", "0", "0", "256"}, "char B7"},
        {{"--driver", "plover", "marquee", "0", "0", "100", "t"}, "marquee SHIFT"},
        {{"--driver", "plover", "gpo", "1", "maybe"}, "gpo takes on or off"},
        {{"--driver", "plover", "wait", "-1"}, "wait MS"},
        {{"--driver", "plover", "wait", " 5"}, "wait MS"},
    };
    for (const auto& c : cases) {
        Options o;
        std::string error;
        EXPECT_FALSE(Parse(c.words, o, error)) << c.reason;
        EXPECT_NE(error.find(c.reason), std::string::npos) << "said: " << error << "\nexpected: " << c.reason;
    }
}

TEST(CommandLine, HelpNeedsNothingElse)
{
    Options o;
    std::string error;
    ASSERT_TRUE(Parse({"--help"}, o, error));
    EXPECT_TRUE(o.help);
    EXPECT_NE(std::string(Usage()).find("write ROW COL TEXT"), std::string::npos);
}

TEST(CommandLine, TextAfterTheActionsMayLookLikeAnOption)
{
    Options o;
    std::string error;
    ASSERT_TRUE(Parse({"--driver", "plover", "write", "0", "0", "--help"}, o, error)) << error;
    EXPECT_FALSE(o.help);
    EXPECT_EQ(o.actions[0].text, "--help");
}

}  // namespace
}  // namespace lumora::app
