#include "options/option_list.h"

#include <gtest/gtest.h>

#include "support/documented_files.h"

namespace corvane {
namespace {

List statusesOf(const OptionList& list) {
  List on;
  for (const MakeOption& option : list.options()) {
    if (option.status == 1) on.push_back(option.name);
  }
  return on;
}

TEST(OptionTable, FreshTable) {
  OptionList list;
  ASSERT_EQ(12u, list.options().size());
  EXPECT_EQ((List{"Debug", "Console"}), statusesOf(list));
  EXPECT_EQ(10, list.indexOf("DLL"));
  EXPECT_EQ(-1, list.indexOf("dll"));
  EXPECT_EQ(nullptr, list.find("debug"));
  ASSERT_NE(nullptr, list.find("WarnHigh"));
  EXPECT_EQ("-wcln -wdef -w-nod -wamb -wamp -w-prc -w-pin -w-stu -w-obi -w-stl -w-stv ",
            list.find("WarnHigh")->compileOn);
  EXPECT_EQ(11, list.maxNameLength());
  ASSERT_EQ(3u, list.groups().size());
  EXPECT_EQ((List{"Console", "MultiThread"}), list.groups()[1].names);
}

TEST(OptionTable, OptionLinesByteForByte) {
  EXPECT_EQ(documented::kDefaultOptionLines, OptionList().optionLines());
}

TEST(Toggle, WarningGroup) {
  OptionList list;
  list.toggle("WarnHigh");
  EXPECT_EQ((List{"Debug", "Console", "WarnHigh"}), statusesOf(list));
  list.toggle("NoWarn");
  EXPECT_EQ((List{"Debug", "Console", "NoWarn"}), statusesOf(list));
  list.toggle("NoWarn");  // switching OFF touches nobody else
  EXPECT_EQ((List{"Debug", "Console"}), statusesOf(list));
}

TEST(Toggle, DebugGroupActsOnlyFromDebug) {
  OptionList list;
  list.toggle("Debug");
  EXPECT_EQ((List{"Console"}), statusesOf(list));
  list.toggle("Optimise");
  EXPECT_EQ((List{"Optimise", "Console"}), statusesOf(list));
  list.toggle("Debug");
  EXPECT_EQ((List{"Debug", "Console"}), statusesOf(list));
  list.toggle("SpeedOpt");
  list.toggle("Optimise");
  EXPECT_EQ((List{"Debug", "Optimise", "SpeedOpt", "Console"}), statusesOf(list));
}

TEST(Toggle, ConsoleAndMultiThreadExcludeEachOther) {
  OptionList list;
  list.toggle("MultiThread");
  EXPECT_EQ((List{"Debug", "MultiThread"}), statusesOf(list));
  list.toggle("Console");
  EXPECT_EQ((List{"Debug", "Console"}), statusesOf(list));
}

TEST(Toggle, LoneOptionsAndUnknownNames) {
  OptionList list;
  list.toggle("Dynamic");
  EXPECT_EQ((List{"Debug", "Console", "Dynamic"}), statusesOf(list));
  list.toggle("dynamic");
  list.toggle("");
  EXPECT_EQ((List{"Debug", "Console", "Dynamic"}), statusesOf(list));
}

TEST(OptionLines, SelectStripsPrefixAndSeparators) {
  OptionList list;
  EXPECT_EQ((List{"Pentium ON", "Debug ON", "=", "\x01\xff bytes"}),
            list.selectOptionLines(List{"   Option   Pentium ON", "optional Debug ON",
                                        "option\tDebug ON", "target x", "OPTION = Debug ON",
                                        "option =", "option :\x01\xff bytes"}));
}

TEST(OptionLines, ApplySetsStatusesWithoutGroups) {
  OptionList list;
  list.applyOptionLines(List{"Console off"});
  EXPECT_TRUE(list.isConsole());
  list.applyOptionLines(List{"CONSOLE OFF"});
  EXPECT_TRUE(list.isConsole());
  list.applyOptionLines(List{"Console OFF", "Console\tOFF", "Debug", "", "Nope ON"});
  EXPECT_EQ((List{"Debug"}), statusesOf(list));
  list.applyOptionLines(List{"Console  ON", "MultiThread ON", "Pentium maybe", "ANSI ON",
                             "ANSI OFF"});
  EXPECT_EQ((List{"Debug", "Console", "MultiThread", "Pentium"}), statusesOf(list));
}

TEST(OptionLines, AnyBytesAfterThePrefix) {
  const std::string separators = " \t:=";
  for (int code = 0; code < 256; ++code) {
    const char byte = static_cast<char>(code);
    const bool isSeparator = separators.find(byte) != std::string::npos;
    OptionList beforeName;
    beforeName.applyOptionLines(beforeName.selectOptionLines(
        List{"option " + std::string(1, byte) + "Pentium ON"}));
    EXPECT_EQ(isSeparator, beforeName.find("Pentium")->status == 1) << "byte " << code;
    OptionList afterName;
    afterName.applyOptionLines(afterName.selectOptionLines(
        List{"option Pentium" + std::string(1, byte) + "ON"}));
    EXPECT_EQ(byte == ' ', afterName.find("Pentium")->status == 1) << "byte " << code;
  }
  OptionList list;
  list.applyOptionLines(list.selectOptionLines(
      List{std::string("option \0\xff\x1a\r\n", 12), "option " + std::string(100000, '\xe9'),
           "option Console\xff OFF", "option Debug OFF",
           std::string("option Debug OFF\0", 17)}));
  // "OFF" followed by a NUL is not exactly OFF, so it counts as ON.
  EXPECT_EQ((List{"Debug", "Console"}), statusesOf(list));
}

TEST(OptionLines, RoundTripThroughProjectLines) {
  OptionList edited;
  edited.toggle("DLL");
  edited.toggle("WarnLow");
  List file = concat(List{"# project", "target x"}, edited.optionLines());
  OptionList loaded;
  loaded.applyOptionLines(loaded.selectOptionLines(file));
  EXPECT_EQ(edited.optionLines(), loaded.optionLines());
}

const char kWarnHighText[] =
    "-wcln -wdef -w-nod -wamb -wamp -w-prc -w-pin -w-stu -w-obi -w-stl -w-stv ";

TEST(BuildSettings, Defaults) {
  OptionList list;
  EXPECT_EQ(" -v -k -y -Od -tC -4 ", list.compileFlags());
  EXPECT_EQ(" -v -ap -Tpe ", list.linkFlags());
  EXPECT_EQ("$(DOS_STARTUP)", list.startupObject());
  EXPECT_EQ("$(BCC32RTLIB).lib", list.runtimeLibrary());
  EXPECT_EQ(".exe", list.targetExtension());
  EXPECT_FALSE(list.isDll());
  EXPECT_TRUE(list.isConsole());
  EXPECT_FALSE(list.isMultiThread());
  EXPECT_FALSE(list.isDynamic());
}

// Settings made by toggling options in turn or by loading option lines, and
// what they yield; an empty expectation is not checked for that case.
TEST(BuildSettings, FlagsStartupAndRuntimeFollowTheOptions) {
  const std::string warnHigh = std::string(" -v -k -y -Od -tC ") + kWarnHighText + " -4 ";
  const struct {
    const char* name;
    List toggled;
    List loaded;
    std::string compile, link, startup, runtime, extension;
  } kCases[] = {
      {"dynamic multithread DLL", {"Dynamic", "MultiThread", "DLL"}, {},
       " -v -k -y -Od -tW -tWR -tWM -tWD -4 ", " -v -aa -Tpd -Gi ", "$(DLL_STARTUP)",
       "$(BCC32RTLIB)$(MULTITHREAD)$(DYN).lib", ".dll"},
      {"all off is not no flags", {}, {"Debug OFF", "Console OFF"}, " -v- -k- -y- -Od -tW -4 ",
       " -v- -aa -Tpe ", "$(WIN_STARTUP)", "", ""},
      {"warning text leaves two spaces", {"WarnHigh"}, {}, warnHigh, "", "", "", ""},
      {"Pentium moves to the linker", {"Pentium"}, {}, " -v -k -y -Od -tC ",
       " -v -ap -Tpe -OS ", "", "", ""},
      {"loaded console with multithread", {}, {"MultiThread ON", "Dynamic ON"},
       " -v -k -y -Od -tC -tWR -tWM -4 ", "", "$(DOS_STARTUP)",
       "$(BCC32RTLIB)$(MULTITHREAD)$(DYN).lib", ""},
      {"DLL wins over console", {"DLL"}, {}, " -v -k -y -Od -tC -tWD -4 ", " -v -ap -Tpd -Gi ",
       "$(DLL_STARTUP)", "$(BCC32RTLIB).lib", ""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    OptionList list;
    for (const std::string& option : c.toggled) list.toggle(option);
    if (!c.loaded.empty()) list.applyOptionLines(c.loaded);
    EXPECT_EQ(c.compile, list.compileFlags());
    if (!c.link.empty()) {
      EXPECT_EQ(c.link, list.linkFlags());
    }
    if (!c.startup.empty()) {
      EXPECT_EQ(c.startup, list.startupObject());
    }
    if (!c.runtime.empty()) {
      EXPECT_EQ(c.runtime, list.runtimeLibrary());
    }
    if (!c.extension.empty()) {
      EXPECT_EQ(c.extension, list.targetExtension());
    }
  }
}

}  // namespace
}  // namespace corvane
