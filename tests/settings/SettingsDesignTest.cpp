// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <map>
#include <tuple>

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

// Each control stands inside its container, made before it, clear of its border and of the
// others in it; an option group's buttons are made one after the other and counted from 0.
TEST(SettingsDesign, EveryControlInItsFrameClearOfTheOthers) {
  std::map<std::string, int> groups;
  for (std::size_t i = 0; i < kDesign.size(); ++i) {
    const DesignControl& c = kDesign[i];
    const int container = SettingsDesign::ContainerOf(static_cast<int>(i));
    ASSERT_LT(container, static_cast<int>(i)) << c.name;
    EXPECT_EQ(SettingsDesign::IndexOf(c.name), static_cast<int>(i)) << c.name;  // one of a name
    const DesignPlace room =
        container < 0 ? DesignPlace{0, 0, SettingsDesign::kWidth, SettingsDesign::kHeight}
                      : kDesign[container].place;
    const DesignPlace& p = c.place;
    EXPECT_TRUE(p.left > 0 && p.top > 0 && p.left + p.width < room.width &&
                p.top + p.height < room.height)
        << c.name;
    for (std::size_t j = 0; j < i; ++j) {
      const DesignPlace& o = kDesign[j].place;
      EXPECT_FALSE(kDesign[j].container == c.container && p.left < o.left + o.width &&
                   o.left < p.left + p.width && p.top < o.top + o.height &&
                   o.top < p.top + p.height)
          << c.name << " over " << kDesign[j].name;
    }
    if (!c.group.empty()) {
      EXPECT_TRUE(c.element == 0 || kDesign[i - 1].group == c.group) << c.name;
      EXPECT_EQ(c.element, groups[c.group]++) << c.name;
    }
  }
  EXPECT_EQ(groups, (std::map<std::string, int>{{"LogSet", 4}, {"LogTypeSel", 2}, {"OptPf", 3}}));
}

// Each control shows what the operator's change to it made of the form, and a change of one
// control shows in no other but those its rule ties to it: the port line and the device, the
// other options of its group, enabled states and the stability time the continuous option clears.
TEST(SettingsView, EachControlShowsItsOwnChange) {
  SettingsRig rig;
  FakeMessageBox messages;
  FakeFileSystem files;
  SettingsView view(rig.Services(messages, files), nullptr);
  view.Form().Load();
  const auto shown = [&](std::size_t i) {
    const ControlState s = view.State(static_cast<int>(i));
    return std::tuple(s.text, s.chosen, s.position);
  };
  for (std::size_t i = 0; i < kDesign.size(); ++i) {
    const DesignControl& c = kDesign[i];
    const int at = static_cast<int>(i);
    std::vector<decltype(shown(0))> before;
    for (std::size_t j = 0; j < kDesign.size(); ++j) before.push_back(shown(j));
    const ControlState s = view.State(at);
    bool changed = true;
    switch (c.kind) {
      case ControlKind::kTextBox:
        view.Typed(at, "42");
        changed = view.State(at).text == "42";
        break;
      case ControlKind::kCheckBox:
        view.Ticked(at, !s.chosen.value());
        changed = view.State(at).chosen != s.chosen;
        break;
      case ControlKind::kOptionButton:
        view.Chosen(at);
        changed = view.State(at).chosen == true;
        break;
      case ControlKind::kDropDownList:
        view.Picked(at, s.position == 1 ? 0 : 1);
        changed = view.State(at).position != s.position;
        break;
      default:
        break;
    }
    EXPECT_TRUE(changed) << c.name;
    for (std::size_t j = 0; j < kDesign.size(); ++j) {
      const DesignControl& o = kDesign[j];
      const bool tied = j == i || o.name == "LabCommSet" ||
                        (!o.group.empty() && o.group == c.group) ||
                        (c.name == "LogSet_0" && o.name == "TxtMotionTmr");
      EXPECT_TRUE(tied || shown(j) == before[j]) << c.name << " changed " << o.name;
    }
  }
}

// Right where it just fits, left where it misses by a pixel; where neither side has room, at the
// screen edge on the side that hides less of the owner, right when both hide as much (also when
// the owner is above the screen and neither hides any of it); at the owner's top, but within the
// screen.
TEST(BesidePosition, RightLeftOrWhereItHidesLeast) {
  const auto beside = [](ScreenRect owner, int width = 400) {
    return BesidePosition(owner, width, 500, {0, 0, 1000, 700});
  };
  EXPECT_EQ(
      std::vector({beside({500, 100, 450, 300}), beside({200, 400, 450, 300}),
                   beside({250, 0, 700, 300}), beside({400, 100, 300, 300}, 300),
                   beside({400, 100, 301, 300}, 300), beside({300, 0, 400, 300}),
                   beside({0, -50, 300, 300}), beside({100, -400, 700, 300})}),
      std::vector<ScreenPoint>(
          {{100, 100}, {600, 200}, {0, 0}, {700, 100}, {100, 100}, {600, 0}, {300, 0}, {600, 0}}));
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
