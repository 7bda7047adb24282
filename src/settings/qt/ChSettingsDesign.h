// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

#include "platform/Twips.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDialog;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace tarnwell {

// The settings dialog's controls as designed: names, text indices ("textIndex" property),
// Turkish design captions and tool tips, fonts and twip positions. The language texts replace
// the captions when the dialog loads.
struct ChSettingsDesign {
  static constexpr double kWidth = 5400;  // client area, twips
  static constexpr double kHeight = 7710;

  void Build(QDialog* dialog, const Twips& twips);

  QGroupBox* PortFrame = nullptr;
  QLabel* PortLabel = nullptr;
  QLabel* SpeedLabel = nullptr;
  QLineEdit* CommSel = nullptr;
  QComboBox* BaudSel = nullptr;
  QComboBox* DevType = nullptr;
  QLabel* LabCommSet = nullptr;
  QLabel* ContinuousSendHint = nullptr;

  QGroupBox* DisplayFrame = nullptr;
  QLabel* SamplesLabel = nullptr;
  QLineEdit* NofSamples = nullptr;
  QCheckBox* MouseEvent = nullptr;
  QCheckBox* GrMode = nullptr;
  QGroupBox* PerformanceFrame = nullptr;
  QGroupBox* RangeFrame = nullptr;
  std::array<QRadioButton*, 3> OptPf{};
  QCheckBox* Expanded = nullptr;
  QLabel* LabMin = nullptr;
  QLineEdit* TxtMin = nullptr;
  QLabel* LabMax = nullptr;
  QLineEdit* TxtMax = nullptr;

  QGroupBox* RecordFrame = nullptr;
  QCheckBox* SelDatLogEnab = nullptr;
  QCheckBox* RecordOnStartup = nullptr;
  QCheckBox* LogIncSel = nullptr;
  std::array<QRadioButton*, 4> LogSet{};
  QLineEdit* TxtSecond = nullptr;
  QLineEdit* TxtMinute = nullptr;
  QLineEdit* TxtMotionTmr = nullptr;
  QLabel* LabStabTime = nullptr;
  QGroupBox* FrameFile = nullptr;
  std::array<QRadioButton*, 2> LogTypeSel{};
  QPushButton* OpenFolder = nullptr;
  QGroupBox* FrameLogStyle = nullptr;
  QLabel* LabJump = nullptr;
  QLineEdit* TxtJump = nullptr;
  QLabel* LabThreshold = nullptr;
  QLineEdit* TxtThreshold = nullptr;

  QGroupBox* LanguageFrame = nullptr;
  QComboBox* LangSel = nullptr;
  QGroupBox* RightsFrame = nullptr;
  QLabel* LabRights = nullptr;

  QPushButton* Defaults = nullptr;
  QPushButton* Apply = nullptr;
  QPushButton* Cancel = nullptr;

  QButtonGroup* OptPfGroup = nullptr;
  QButtonGroup* LogSetGroup = nullptr;
  QButtonGroup* LogTypeSelGroup = nullptr;
};

}  // namespace tarnwell
