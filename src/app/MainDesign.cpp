// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainDesign.h"

namespace tarnwell {

const std::array<MainControlDesign, 11>& MainDesign() {
  using K = MainControlKind;
  using C = MainControl;
  static const std::array<MainControlDesign, 11> design{{
      {C::kGraph, "Graph", K::kPicture, false, 120, 120, 6615, 3975, "", "", "", 0, false, true},
      {C::kXaxisTop, "XaxisTop", K::kPicture, false, 120, 45, 6925, 135, "55", "", "", 0, false,
       true},
      {C::kRangeofChange, "RangeofChange", K::kLabel, false, 120, 4080, 1575, 255, "", "00000", "",
       0, false, true},
      {C::kLabNofDat, "LabNofDat", K::kLabel, false, 120, 5760, 1575, 255, "", "00000", "", 0,
       false, true},
      {C::kPicLogo, "picLogo", K::kLogo, false, 120, 5280, 2160, 660, "", "", "", 0, false, true},
      {C::kWeighBox, "WeighBox", K::kPanel, false, -240, 4320, 6975, 1400, "", "", "", 0, false,
       true},
      {C::kCurrent, "Current", K::kLabel, true, 480, -300, 6495, 1335, "52", "123456.7",
       "Anlık ölçüm değeridir", 54, true, true},
      {C::kAppStop, "App_Stop", K::kCheckBox, true, 5040, 1080, 1215, 250, "38", "Durdur", "", 8,
       false, true},
      {C::kCmdZoomIn, "CmdZoomIn", K::kPictureButton, true, 6360, 1080, 195, 210, "76", "", "", 0,
       false, false},
      {C::kTheSetup, "TheSetup", K::kPictureButton, true, 6600, 1080, 350, 210, "81", "", "", 0,
       false, true},
      {C::kTestPic, "TestPic", K::kPicture, true, 0, 0, 90, 135, "55", "", "", 0, false, true},
  }};
  return design;
}

const MainControlDesign& DesignOf(MainControl control) {
  return MainDesign()[static_cast<std::size_t>(control)];
}

}  // namespace tarnwell
