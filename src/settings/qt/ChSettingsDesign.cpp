// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/qt/ChSettingsDesign.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include "settings/SettingsForm.h"

namespace tarnwell {
namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// Every control is made here: name, position and size in twips within its parent, and the text
// index the language texts are looked up by (none for -1).
class Maker {
 public:
  explicit Maker(const Twips& twips) : twips_(twips) {}

  template <typename W>
  W* Make(QWidget* parent, const QString& name, int textIndex, double left, double top,
          double width, double height) const {
    auto* w = new W(parent);
    w->setObjectName(name);
    if (textIndex >= 0) w->setProperty("textIndex", QString::number(textIndex));
    w->setGeometry(Px(left), Px(top), Px(width), Px(height));
    return w;
  }
  int Px(double t) const { return static_cast<int>(twips_.ToPixels(t) + 0.5); }

 private:
  const Twips& twips_;
};

template <typename W>
void Caption(W* w, const QString& caption, const QString& tip = {}) {
  w->setText(caption);
  if (!tip.isEmpty()) w->setToolTip(tip);
}

void Title(QGroupBox* frame, const QString& caption, const QString& tip = {}) {
  frame->setTitle(caption);
  if (!tip.isEmpty()) frame->setToolTip(tip);
}

void Fill(QComboBox* list, const std::vector<std::string>& entries) {
  for (const std::string& e : entries) list->addItem(QString::fromStdString(e));
}

// Where the family is not installed, the font system's stand-in for Arial keeps the design's
// text widths closer than the default font would.
QFont DesignFont(const char* family) {
  QFont font;
  const QString name = QString::fromLatin1(family);
  font.setFamily(QFontDatabase::families().contains(name) ? name : QStringLiteral("Arial"));
  font.setPointSize(8);
  return font;
}

}  // namespace

void ChSettingsDesign::Build(QDialog* dialog, const Twips& twips) {
  const Maker m(twips);
  dialog->setObjectName(QStringLiteral("ChSettings"));
  dialog->setProperty("textIndex", QStringLiteral("7"));
  dialog->setWindowTitle(QStringLiteral("Channel Settings"));
  dialog->setFixedSize(m.Px(kWidth), m.Px(kHeight));
  dialog->setFont(DesignFont("Tahoma"));

  const QString sameAsBaud = U("Baudrate seçimini cihaz ile aynı yapınız");

  PortFrame = m.Make<QGroupBox>(dialog, "PortFrame", 4, 60, 60, 5280, 1140);
  Title(PortFrame, U("Port Ayarları"), U("Haberleşme Ayarları"));
  PortLabel = m.Make<QLabel>(PortFrame, "PortLabel", 5, 120, 300, 780, 255);
  Caption(PortLabel, U("Comport"),
          U("Haberleşme portu seçimidir. Cihazın bağlı olduğu Comm portu seçiniz..."));
  CommSel = m.Make<QLineEdit>(PortFrame, "CommSel", -1, 900, 270, 480, 285);
  CommSel->setText(QStringLiteral("0"));
  SpeedLabel = m.Make<QLabel>(PortFrame, "SpeedLabel", 6, 1440, 300, 840, 255);
  Caption(SpeedLabel, U("Baudrate"), sameAsBaud);
  BaudSel = m.Make<QComboBox>(PortFrame, "BaudSel", -1, 2280, 255, 1080, 315);
  Fill(BaudSel, SettingsForm::BaudEntries());
  DevType = m.Make<QComboBox>(PortFrame, "DevType", -1, 3480, 255, 1500, 315);
  Fill(DevType, SettingsForm::DevTypeEntries());
  DevType->hide();
  LabCommSet = m.Make<QLabel>(PortFrame, "LabCommSet", 30, 120, 690, 2280, 255);
  LabCommSet->setText(QStringLiteral("Comm1,9600,8b,n,1s"));
  LabCommSet->setFont(DesignFont("Arial"));
  ContinuousSendHint = m.Make<QLabel>(PortFrame, "ContinuousSendHint", 30, 2460, 600, 2760, 480);
  ContinuousSendHint->setText(U("Cihazı sürekli gönder moduna alınız..."));
  ContinuousSendHint->setWordWrap(true);

  DisplayFrame = m.Make<QGroupBox>(dialog, "DisplayFrame", 8, 60, 1260, 5280, 2160);
  Title(DisplayFrame, U("Görünüm Ayarları"));
  SamplesLabel = m.Make<QLabel>(DisplayFrame, "SamplesLabel", 9, 120, 300, 1000, 255);
  Caption(SamplesLabel, U("Data Sayısı"), U("Grafik ekranda görüntülenecek data sayısıdır"));
  NofSamples = m.Make<QLineEdit>(DisplayFrame, "NofSamples", -1, 1140, 270, 600, 285);
  NofSamples->setText(QStringLiteral("0"));
  const QString expandedTip =
      U("Grafik ekrandaki değerlere göre Maksimum ve Minimum noktalar otomatik olarak "
        "ayarlanır. Yada bu seçenek seçilmez ise aşağıdaki kutucuklara manuel olarak "
        "belirtilir.");
  GrMode = m.Make<QCheckBox>(DisplayFrame, "GrMode", 37, 1860, 285, 1560, 255);
  Caption(GrMode, U("Kayan Grafik"),
          U("Kayan Grafik seçildiğinde ekrandaki grafik sürekli olarak sola kayar. Aksi "
            "durumda ekran soldan sağa taranır."));
  MouseEvent = m.Make<QCheckBox>(DisplayFrame, "MouseEvent", 42, 3420, 285, 1800, 255);
  Caption(MouseEvent, U("Fare İmleci göster"), expandedTip);

  PerformanceFrame = m.Make<QGroupBox>(DisplayFrame, "PerformanceFrame", 31, 120, 660, 1560, 1380);
  Title(PerformanceFrame, U("Performans"), U("Ekran yenileme oranının belirlendiği alandır"));
  const char* pfCaptions[] = {"Düşük", "Orta", "Yüksek"};
  const char* pfTips[] = {"Saniyede 3 yenileme oranıdır", "Saniyede 10 yenileme oranıdır",
                          "Saniyede 20 yenileme oranıdır"};
  OptPfGroup = new QButtonGroup(dialog);
  for (int i = 0; i < 3; ++i) {
    OptPf[i] = m.Make<QRadioButton>(PerformanceFrame, QStringLiteral("OptPf_%1").arg(i), 32 + i,
                                    120, 270 + 360 * i, 1320, 255);
    Caption(OptPf[i], U(pfCaptions[i]), U(pfTips[i]));
    OptPfGroup->addButton(OptPf[i], i);
  }

  RangeFrame = m.Make<QGroupBox>(DisplayFrame, "RangeFrame", 40, 1800, 660, 3360, 1380);
  Title(RangeFrame, U("Gösterge Aralığı"), U("Ekran yenileme oranının belirlendiği alandır"));
  Expanded = m.Make<QCheckBox>(RangeFrame, "Expanded", 12, 120, 270, 3120, 255);
  Caption(Expanded, U("Otomatik Ayarla"), expandedTip);
  LabMin = m.Make<QLabel>(RangeFrame, "LabMin", 10, 120, 630, 1560, 255);
  Caption(LabMin, U("Minimum Değer"), U("Grafik ekran için minimum değerdir."));
  TxtMin = m.Make<QLineEdit>(RangeFrame, "TxtMin", -1, 1740, 600, 1440, 285);
  TxtMin->setText(QStringLiteral("0"));
  LabMax = m.Make<QLabel>(RangeFrame, "LabMax", 11, 120, 990, 1560, 255);
  Caption(LabMax, U("Maksimum Değer"), U("Grafik ekran için Maksimum değerdir."));
  TxtMax = m.Make<QLineEdit>(RangeFrame, "TxtMax", -1, 1740, 960, 1440, 285);
  TxtMax->setText(QStringLiteral("1000"));

  RecordFrame = m.Make<QGroupBox>(dialog, "RecordFrame", 17, 60, 3480, 5280, 2700);
  Title(RecordFrame, U("Kayıt Ayarları"), U("Kayıt bilgileri alanıdır"));
  SelDatLogEnab = m.Make<QCheckBox>(RecordFrame, "SelDatLogEnab", 28, 120, 270, 2520, 255);
  Caption(SelDatLogEnab, U("Kayıt Tutma Aktif"), U("Kayıt dosyası tutma özelliğini aktif eder"));
  RecordOnStartup = m.Make<QCheckBox>(RecordFrame, "RecordOnStartup", 54, 2700, 270, 2460, 255);
  Caption(RecordOnStartup, U("Açılışta Kayıt Başlat"),
          U("Program açılır açılmaz kayıt tutmaya başlatma özelliğidir"));
  LogIncSel = m.Make<QCheckBox>(RecordFrame, "LogIncSel", 29, 120, 600, 2520, 255);
  Caption(LogIncSel, U("Artan Dosya Adı"),
          U("Bu seçenek seçildiğinde herbir kayıt başlat işleminde yeni bir kayıt dosyası "
            "oluşturur"));

  const QString continuousTip =
      U("Haberleşme portundan alınan herbir data kayıt edilir. (Haberleme hızına ve cihaza "
        "göre değişiklik gösterir. Gelen data sayısı kadar kayıt tutar)");
  const char* logCaptions[] = {"Sürekli Kayıt", "Saniye Bazlı", "Dakika Bazlı", "Kararlılık Süre"};
  const QString logTips[] = {continuousTip, U("Saniye olarak kayıt tutulur"),
                             U("Dakika olarak kayıt tutulur"), continuousTip};
  const int logIndices[] = {18, 19, 20, 67};
  LogSetGroup = new QButtonGroup(dialog);
  for (int i = 0; i < 4; ++i) {
    LogSet[i] = m.Make<QRadioButton>(RecordFrame, QStringLiteral("LogSet_%1").arg(i), logIndices[i],
                                     120, 960 + 330 * i, 1800, 255);
    Caption(LogSet[i], U(logCaptions[i]), logTips[i]);
    LogSetGroup->addButton(LogSet[i], i);
  }
  TxtSecond = m.Make<QLineEdit>(RecordFrame, "TxtSecond", -1, 1980, 1275, 600, 285);
  TxtSecond->setText(QStringLiteral("1"));
  TxtMinute = m.Make<QLineEdit>(RecordFrame, "TxtMinute", -1, 1980, 1605, 600, 285);
  TxtMinute->setText(QStringLiteral("1"));
  TxtMotionTmr = m.Make<QLineEdit>(RecordFrame, "TxtMotionTmr", -1, 1980, 1935, 600, 285);
  TxtMotionTmr->setText(QStringLiteral("0"));
  LabStabTime = m.Make<QLabel>(RecordFrame, "LabStabTime", 68, 2640, 1965, 200, 255);
  Caption(LabStabTime, QStringLiteral("s"), sameAsBaud);

  FrameFile = m.Make<QGroupBox>(RecordFrame, "FrameFile", 23, 2880, 600, 2280, 960);
  Title(FrameFile, U("Dosya Uzantısı"));
  LogTypeSelGroup = new QButtonGroup(dialog);
  const char* typeCaptions[] = {"*.txt", "*.xls"};
  const char* typeTips[] = {"Metin tipi kayıt dosyası uzantısı olacaktır",
                            "Excell tipi kayıt dosyası uzantısı olacaktır"};
  for (int i = 0; i < 2; ++i) {
    LogTypeSel[i] = m.Make<QRadioButton>(FrameFile, QStringLiteral("LogTypeSel_%1").arg(i), 21 + i,
                                         120, 270 + 330 * i, 1200, 255);
    Caption(LogTypeSel[i], U(typeCaptions[i]), U(typeTips[i]));
    LogTypeSelGroup->addButton(LogTypeSel[i], i);
  }
  OpenFolder = m.Make<QPushButton>(FrameFile, "OpenFolder", -1, 1440, 270, 600, 540);
  OpenFolder->setIcon(dialog->style()->standardIcon(QStyle::SP_DirOpenIcon));

  FrameLogStyle = m.Make<QGroupBox>(RecordFrame, "FrameLogStyle", 73, 2880, 1620, 2280, 1020);
  Title(FrameLogStyle, U("Raporlama Kriterleri"));
  LabJump = m.Make<QLabel>(FrameLogStyle, "LabJump", 41, 120, 300, 1170, 255);
  Caption(LabJump, U("Değişimi Raporla"), sameAsBaud);
  TxtJump = m.Make<QLineEdit>(FrameLogStyle, "TxtJump", 41, 1350, 270, 810, 285);
  TxtJump->setText(QStringLiteral("0"));
  LabThreshold = m.Make<QLabel>(FrameLogStyle, "LabThreshold", 71, 120, 660, 1170, 255);
  Caption(LabThreshold, U("Eşik Değer"), sameAsBaud);
  TxtThreshold = m.Make<QLineEdit>(FrameLogStyle, "TxtThreshold", 71, 1350, 630, 810, 285);
  TxtThreshold->setText(QStringLiteral("0"));

  LanguageFrame = m.Make<QGroupBox>(dialog, "LanguageFrame", 74, 60, 6240, 5280, 660);
  Title(LanguageFrame, U("Dil Seçimi"));
  LangSel = m.Make<QComboBox>(LanguageFrame, "LangSel", 56, 120, 255, 2160, 315);
  Fill(LangSel, SettingsForm::LangEntries());

  // Holds the line naming the device the port number opens: one line of text high.
  RightsFrame = m.Make<QGroupBox>(dialog, "RightsFrame", -1, 60, 6915, 5280, 315);
  LabRights = m.Make<QLabel>(RightsFrame, "LabRights", -1, 120, 30, 5040, 255);

  Defaults = m.Make<QPushButton>(dialog, "Defaults", 13, 60, 7260, 1680, 390);
  Caption(Defaults, U("Varsayılan"), U("Varsayılan değerleri yükler"));
  Apply = m.Make<QPushButton>(dialog, "Apply", 14, 1860, 7260, 1680, 390);
  Caption(Apply, QStringLiteral("Apply"), U("Değişiklikleri uygular ve kaydeder"));
  Cancel = m.Make<QPushButton>(dialog, "Cancel", 16, 3660, 7260, 1680, 390);
  Caption(Cancel, QStringLiteral("Exit"), U("Ayarlar ekranını kapatır"));
  // Enter has no meaning in this dialog: no button is the default.
  for (QPushButton* b : {Defaults, Apply, Cancel, OpenFolder}) {
    b->setAutoDefault(false);
    b->setDefault(false);
  }
}

}  // namespace tarnwell
