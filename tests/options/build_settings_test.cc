#include <gtest/gtest.h>

#include "options/option_list.h"

namespace corvane {
namespace {

const char kWarnHighText[] =
    "-wcln -wdef -w-nod -wamb -wamp -w-prc -w-pin -w-stu -w-obi -w-stl -w-stv ";

TEST(BuildSettings, Defaults) {
  OptionList list;
  EXPECT_EQ(" -v -k -y -Od -tC -4 ", list.compileFlags());
  EXPECT_EQ(" -v -ap -Tpe ", list.linkFlags());
  EXPECT_EQ("STARTUP = $(DOS_STARTUP)", list.startupLine());
  EXPECT_EQ("RTLIB = $(BCC32RTLIB).lib", list.runtimeLine());
  EXPECT_EQ(".exe", list.targetExtension());
  EXPECT_FALSE(list.isDll());
  EXPECT_TRUE(list.isConsole());
  EXPECT_FALSE(list.isMultiThread());
  EXPECT_FALSE(list.isDynamic());
}

TEST(BuildSettings, DynamicMultiThreadDll) {
  OptionList list;
  list.toggle("Dynamic");
  list.toggle("MultiThread");
  list.toggle("DLL");
  EXPECT_EQ(" -v -k -y -Od -tW -tWR -tWM -tWD -4 ", list.compileFlags());
  EXPECT_EQ(" -v -aa -Tpd -Gi ", list.linkFlags());
  EXPECT_EQ("STARTUP = $(DLL_STARTUP)", list.startupLine());
  EXPECT_EQ("RTLIB = $(BCC32RTLIB)$(MULTITHREAD)$(DYN).lib", list.runtimeLine());
  EXPECT_EQ(".dll", list.targetExtension());
}

TEST(BuildSettings, AllOffIsNotNoFlags) {
  OptionList list;
  list.applyOptionLines(List{"Debug OFF", "Console OFF"});
  EXPECT_EQ(" -v- -k- -y- -Od -tW -4 ", list.compileFlags());
  EXPECT_EQ(" -v- -aa -Tpe ", list.linkFlags());
  EXPECT_EQ("STARTUP = $(WIN_STARTUP)", list.startupLine());
}

TEST(BuildSettings, WarningTextLeavesTwoSpaces) {
  OptionList list;
  list.toggle("WarnHigh");
  EXPECT_EQ(std::string(" -v -k -y -Od -tC ") + kWarnHighText + " -4 ", list.compileFlags());
}

TEST(BuildSettings, PentiumMovesToLinker) {
  OptionList list;
  list.toggle("Pentium");
  EXPECT_EQ(" -v -k -y -Od -tC ", list.compileFlags());
  EXPECT_EQ(" -v -ap -Tpe -OS ", list.linkFlags());
}

TEST(BuildSettings, LoadedConsoleWithMultiThread) {
  OptionList list;
  list.applyOptionLines(List{"MultiThread ON", "Dynamic ON"});
  EXPECT_EQ(" -v -k -y -Od -tC -tWR -tWM -4 ", list.compileFlags());
  EXPECT_EQ("STARTUP = $(DOS_STARTUP)", list.startupLine());
  EXPECT_EQ("RTLIB = $(BCC32RTLIB)$(MULTITHREAD)$(DYN).lib", list.runtimeLine());
}

TEST(BuildSettings, DllWinsOverConsole) {
  OptionList list;
  list.toggle("DLL");
  EXPECT_EQ(" -v -k -y -Od -tC -tWD -4 ", list.compileFlags());
  EXPECT_EQ(" -v -ap -Tpd -Gi ", list.linkFlags());
  EXPECT_EQ("STARTUP = $(DLL_STARTUP)", list.startupLine());
  EXPECT_EQ("RTLIB = $(BCC32RTLIB).lib", list.runtimeLine());
}

}  // namespace
}  // namespace corvane
