// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>

#include "FakeFileSystem.h"
#include "FakeMessageBox.h"
#include "SettingsRig.h"
#include "settings/BesidePosition.h"
#include "settings/EscapeGuard.h"
#include "settings/SettingsDesign.h"
#include "settings/SettingsView.h"

namespace tarnwell::testing {
namespace {

const std::vector<DesignControl>& kDesign = SettingsDesign::Controls();

bool Inside(const DesignPlace& inner, double width, double height) {
  return inner.left > 0 && inner.top > 0 && inner.left + inner.width < width &&
         inner.top + inner.height < height;
}

bool Overlap(const DesignPlace& a, const DesignPlace& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

// Each control stands inside its container, made before it, clear of its border and of its
// siblings; option groups are made one after the other and counted from 0, and every text box of
// the dialog's logic is a text box of the design.
TEST(SettingsDesign, EveryControlInItsFrameClearOfTheOthers) {
  std::set<std::string> names;
  std::map<std::string, int> groupSize;
  std::string lastGroup;
  for (std::size_t i = 0; i < kDesign.size(); ++i) {
    const DesignControl& c = kDesign[i];
    EXPECT_TRUE(names.insert(c.name).second) << c.name;
    const int container = SettingsDesign::ContainerOf(static_cast<int>(i));
    EXPECT_LT(container, static_cast<int>(i)) << c.name;
    EXPECT_EQ(c.container.empty(), container == -1) << c.name;
    if (container >= 0) {
      EXPECT_EQ(kDesign[container].kind, ControlKind::kFrame) << c.name;
    }
    const DesignPlace room =
        container < 0 ? DesignPlace{0, 0, SettingsDesign::kWidth, SettingsDesign::kHeight}
                      : kDesign[container].place;
    EXPECT_TRUE(Inside(c.place, room.width, room.height)) << c.name;
    for (std::size_t j = 0; j < i; ++j) {
      EXPECT_FALSE(kDesign[j].container == c.container && Overlap(kDesign[j].place, c.place))
          << c.name << " over " << kDesign[j].name;
    }
    EXPECT_EQ(c.kind == ControlKind::kOptionButton, !c.group.empty()) << c.name;
    EXPECT_EQ(c.kind == ControlKind::kDropDownList, !c.entries.empty()) << c.name;
    if (!c.group.empty()) {
      EXPECT_TRUE(c.group == lastGroup || groupSize.count(c.group) == 0) << c.name;
      EXPECT_EQ(c.element, groupSize[c.group]++) << c.name;
      EXPECT_EQ(c.name, c.group + "_" + std::to_string(c.element));
    }
    lastGroup = c.group;
    EXPECT_TRUE(c.font == "Tahoma" || (c.font == "Arial" && c.name == "LabCommSet")) << c.name;
  }
  for (const TextBox& box : kTextBoxes) {
    const int i = SettingsDesign::IndexOf(box.name);
    ASSERT_GE(i, 0) << box.name;
    EXPECT_EQ(kDesign[i].kind, ControlKind::kTextBox) << box.name;
  }
  EXPECT_EQ(groupSize,
            (std::map<std::string, int>{{"LogSet", 4}, {"LogTypeSel", 2}, {"OptPf", 3}}));
  EXPECT_EQ(SettingsDesign::IndexOf("nothing"), -1);
}

struct View : SettingsRig {
  View() { serial.ports.insert(7); }
  struct OneDevice : SerialDevices {
    std::string DeviceFor(int port) const override { return "COM" + std::to_string(port); }
    int PortOf(const std::string&) const override { return 7; }
    std::vector<int> PortEntries() const override { return {}; }
    std::string PortEntryTarget(int) const override { return {}; }
    bool Present(const std::string& d) const override { return d == "COM7"; }
    std::string UsbName(const std::string&) const override { return {}; }
    std::vector<std::string> Devices() const override { return {"COM7"}; }
  } devices;
  FakeMessageBox messages;
  FakeFileSystem files;
  SettingsView view{Services(messages, files), &devices};
  int operator[](const char* name) const { return SettingsDesign::IndexOf(name); }
  // Each control as "name=text/chosen/position/enabled".
  std::vector<std::string> Shown() const {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < kDesign.size(); ++i) {
      const ControlState s = view.State(static_cast<int>(i));
      out.push_back(kDesign[i].name + "=" + s.text.value_or("") + "/" +
                    (s.chosen ? std::to_string(*s.chosen) : "") + "/" +
                    (s.position ? std::to_string(*s.position) : "") + "/" +
                    std::to_string(s.enabled));
    }
    return out;
  }
};

// The operator's changes reach the form by the design's control names, and each control shows
// what the form holds: texts, ticks, the chosen option of each group, list positions, enabled
// states, the port line and the device the port opens.
TEST(SettingsView, ControlsShowTheFormAndPassOnTheOperatorsChanges) {
  View v;
  v.view.Form().Load();
  std::vector<std::string> shown = v.Shown();
  EXPECT_EQ(shown[v["CommSel"]] + " " + shown[v["LabRights"]],
            "CommSel=1///1 LabRights=COM1: not present///1");
  const auto step = [&](auto act) {
    act();
    return Changes(std::exchange(shown, v.Shown()), shown);
  };
  EXPECT_EQ(step([&] { v.view.Typed(v["CommSel"], "7"); }),
            "CommSel=7///1 LabCommSet=Comm7,9600,8b,n,1s///1 LabRights=COM7: present///1");
  EXPECT_EQ(step([&] { v.view.Picked(v["BaudSel"], 4); }),
            "BaudSel=//4/1 LabCommSet=Comm1, 19200,8b,n,1s///1");
  EXPECT_EQ(step([&] { v.view.Ticked(v["SelDatLogEnab"], true); }),
            "SelDatLogEnab=/1//1 LogIncSel=/1//1 LogSet_0=/0//1 LogSet_1=/1//1 LogSet_2=/0//1 "
            "LogSet_3=/0//1 TxtSecond=1///1 LabStabTime=///1 FrameFile=///1 LogTypeSel_0=/1//1 "
            "LogTypeSel_1=/0//1 LabJump=///1 TxtJump=0///1 LabThreshold=///1 "
            "TxtThreshold=-100000///1");
  EXPECT_EQ(step([&] { v.view.Chosen(v["LogSet_3"]); }),
            "LogSet_1=/0//1 LogSet_3=/1//1 TxtSecond=1///0 TxtMotionTmr=0///1");
  EXPECT_EQ(step([&] { v.view.Ticked(v["Expanded"], false); }),
            "Expanded=/0//1 LabMin=///1 TxtMin=0///1 LabMax=///1 TxtMax=1000///1");
  EXPECT_EQ(step([&] { v.view.DoubleClicked(v["ContinuousSendHint"]); }), "");
  EXPECT_TRUE(v.config.AdvancedMode);
  EXPECT_EQ(v.view.LiveToolTip(v["CommSel"]), "Serial devices present, by port number:\n7: COM7");
  EXPECT_EQ(v.view.LiveToolTip(v["NofSamples"]), std::nullopt);

  const auto before = v.Now();
  EXPECT_FALSE(v.view.Pressed(v["Apply"]));
  EXPECT_EQ(Changes(before, v.Now()),
            "CommPort=7 BaudIndex=4 LogTime=0 com=7 line=19200,n,8,1 opens=1 refreshes=1 resets=1 "
            "writes=1");
  EXPECT_FALSE(v.view.Pressed(v["Defaults"]));
  EXPECT_EQ(v.view.Form().Controls().TxtThreshold, "-100000");
  EXPECT_FALSE(v.view.Pressed(v["OpenFolder"]));
  EXPECT_EQ(v.processes.started, "browse /prog/Log");
  EXPECT_TRUE(v.view.Pressed(v["Cancel"]));
}

// Right where it just fits, left where it misses by a pixel; where neither side has room, at the
// screen edge on the side that hides less of the owner, right when both hide as much; at the
// owner's top, but within the screen.
TEST(BesidePosition, RightLeftOrWhereItHidesLeast) {
  const auto beside = [](ScreenRect owner, int width = 400) {
    return BesidePosition(owner, width, 500, {0, 0, 1000, 700});
  };
  EXPECT_EQ(std::vector({beside({500, 100, 450, 300}), beside({200, 400, 450, 300}),
                         beside({250, 0, 700, 300}), beside({400, 100, 300, 300}, 300),
                         beside({400, 100, 301, 300}, 300), beside({300, 0, 400, 300}),
                         beside({0, -50, 300, 300})}),
            std::vector<ScreenPoint>(
                {{100, 100}, {600, 200}, {0, 0}, {700, 100}, {100, 100}, {600, 0}, {300, 0}}));
  EXPECT_EQ(BesidePosition({100, 100, 200, 200}, 300, 900, {50, 20, 1000, 700}),
            (ScreenPoint{300, 20}));
}

// Only a fresh press closes: not one the system marks as repeated, nor a second press without a
// release between, nor one at the time of a release (a repeat sent as a release and a press),
// nor one of a key held as the dialog opened.
TEST(EscapeGuard, OnlyAFreshPressCloses) {
  EscapeGuard guard;
  EXPECT_FALSE(guard.Pressed(true, 5));
  guard.Released(6);
  EXPECT_TRUE(guard.Pressed(false, 10));
  EXPECT_FALSE(guard.Pressed(false, 11));
  guard.Released(20);
  EXPECT_FALSE(guard.Pressed(false, 20));
  guard.Released(21);
  EXPECT_TRUE(guard.Pressed(false, 22));
  EscapeGuard heldAtOpening(true);
  EXPECT_FALSE(heldAtOpening.Pressed(false, 30));
  heldAtOpening.Released(31);
  EXPECT_TRUE(heldAtOpening.Pressed(false, 32));
}

}  // namespace
}  // namespace tarnwell::testing
