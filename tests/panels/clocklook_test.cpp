// The clock's look as a value: its profile keys byte for byte as the clock
// has always written them, what a profile gives back, and the look's
// listeners, whose subscriptions end with them.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "panels/clocklook.h"
#include "settings/observable.h"
#include "settings/platform.h"
#include "settings/profiler.h"

namespace pendo {
namespace {

std::string FileText(const std::string& name) {
  std::ifstream in(tprofiler::ProfileFolder() + name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void Fresh(const std::string& name) { platform::RemoveFile(tprofiler::ProfileFolder() + name); }

TEST(ClockLook, WritesTheProfileAsTheClockAlwaysHas) {
  Fresh("profile_looktest");
  tclocklook look;
  look.interlace = true;
  look.titleColor = 0x800000;
  look.titleFont.style = lsBold | lsItalic | lsUnderline;
  look.valueColor = 0x123456;
  look.gaugeColor = 0x00FF00;
  look.transparentForeground = false;
  look.horizontalNoise = true;
  {
    tprofiler p("profile_looktest");
    p.WriteString("zzz", "kept");  // another version's key stays, after the look's
    WriteClockLook(p, look);
    p.Save();
  }
  EXPECT_EQ(FileText("profile_looktest"),
            "valuefontstyle,0\r\nvaluefontsize,8\r\nvaluefontname,Arial\r\nvaluecolor,1193046\r\n"
            "titlefontstyle,273\r\ntitlefontsize,8\r\ntitlefontname,Arial\r\ntitlecolor,8388608\r\nvisible,1\r\n"
            "titlevisible,1\r\ngradating,1\r\ngradatingblightness,12\r\ntransparentbackground,1\r\n"
            "transparentbackgroundhalftone,1\r\ninterlace,1\r\ngaugecolor,65280\r\ntransparentforeground,0\r\n"
            "horizontalnoise,1\r\nzzz,kept\r\n");
  // A panel without a bar keeps the panel's keys alone.
  Fresh("profile_looktest");
  {
    tprofiler p("profile_looktest");
    WriteClockLook(p, look, tlookkeys::Panel);
    p.Save();
  }
  EXPECT_EQ(FileText("profile_looktest").find("gaugecolor"), std::string::npos);
  // What is written reads back the same.
  tclocklook back;
  ReadClockLook(tprofiler("profile_looktest"), back, tlookkeys::Panel);
  look.gaugeColor = back.gaugeColor;
  look.transparentForeground = back.transparentForeground;
  look.horizontalNoise = back.horizontalNoise;
  EXPECT_TRUE(back == look);
  Fresh("profile_looktest");
}

TEST(ClockLook, BadValuesKeepTheDescriptionsAndSomeKeysStartTheirOwnWay) {
  Fresh("profile_looktest");
  {
    tprofiler p("profile_looktest");
    for (const auto& kv : std::vector<std::pair<std::string, std::string>>{
             {"titlefontstyle", "4352"}, {"valuefontstyle", "abc"}, {"titlecolor", "$FF"}, {"valuecolor", "green"},
             {"titlefontname", std::string(300, 'a')}, {"titlefontsize", "12"}, {"transparentbackground", "0"},
             {"horizontalnoise", "x"}})
      p.WriteString(kv.first, kv.second);
    p.Save();
  }
  tclocklook look;
  look.interlace = true;   // not in the profile: off all the same
  look.gradating = false;  // likewise on
  look.valueColor = 0x445566;
  look.valueFont.style = lsBold;
  look.titleFont.height = -15;  // a dialog's height gives way to the profile's size
  ReadClockLook(tprofiler("profile_looktest"), look);
  EXPECT_EQ(look.titleFont.style, static_cast<unsigned>(lsUnderline | lsStrikeOut));
  EXPECT_EQ(look.valueFont.style, static_cast<unsigned>(lsBold));
  EXPECT_EQ(look.titleColor, 0xFF);
  EXPECT_EQ(look.valueColor, 0x445566);
  EXPECT_EQ(look.titleFont.name, std::string(255, 'a'));
  EXPECT_EQ(look.titleFont.size, 12);
  EXPECT_EQ(look.titleFont.height, 0);
  EXPECT_FALSE(look.transparentBackground);
  EXPECT_FALSE(look.interlace);
  EXPECT_TRUE(look.gradating);
  EXPECT_TRUE(look.horizontalNoise) << "a bad value turns the noise on, as an empty profile does";
  Fresh("profile_looktest");
}

TEST(Observable, ListenersHearChangesOnlyWhileTheirSubscriptionLasts) {
  tobservable<int> value(1);
  std::vector<std::string> heard;
  auto first = value.Subscribe([&](int v) { heard.push_back("a" + std::to_string(v)); });
  {
    auto second = value.Subscribe([&](int v) { heard.push_back("b" + std::to_string(v)); });
    value.Set(2);
    value.Set(2);  // no change, nothing told
  }
  value.Update([](int& v) { v += 1; });
  EXPECT_EQ(heard, (std::vector<std::string>{"a2", "b2", "a3"}));
  // A listener that ends another's subscription while being told.
  tobservable<int>::tsubscription later;
  auto ender = value.Subscribe([&](int) { later.Cancel(); });
  later = value.Subscribe([&](int v) { heard.push_back("c" + std::to_string(v)); });
  value.Set(4);
  EXPECT_EQ(heard.back(), "a4");
  // A subscription that outlives its value ends quietly.
  auto orphan = std::make_unique<tobservable<int>>(0);
  auto lasting = orphan->Subscribe([](int) {});
  orphan.reset();
  lasting.Cancel();
}

}  // namespace
}  // namespace pendo
