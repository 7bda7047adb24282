// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsDesign.h"

#include "settings/SettingsForm.h"

namespace tarnwell {
namespace {

constexpr const char* kSameAsBaud = "Baudrate seçimini cihaz ile aynı yapınız";
constexpr const char* kExpandedTip =
    "Grafik ekrandaki değerlere göre Maksimum ve Minimum noktalar otomatik olarak ayarlanır. "
    "Yada bu seçenek seçilmez ise aşağıdaki kutucuklara manuel olarak belirtilir.";
constexpr const char* kContinuousTip =
    "Haberleşme portundan alınan herbir data kayıt edilir. (Haberleme hızına ve cihaza göre "
    "değişiklik gösterir. Gelen data sayısı kadar kayıt tutar)";

class Table {
 public:
  DesignControl& Add(ControlKind kind, const char* name, const char* container, int textIndex,
                     DesignPlace place, const char* caption = "", const char* toolTip = "") {
    DesignControl c;
    c.name = name;
    c.kind = kind;
    c.container = container;
    c.textIndex = textIndex;
    c.place = place;
    c.caption = caption;
    c.toolTip = toolTip;
    c.font = SettingsDesign::kFont;
    controls_.push_back(std::move(c));
    return controls_.back();
  }
  // An option group: its buttons one below the other, `step` twips apart.
  void AddOptions(const char* group, const char* container, const std::vector<int>& textIndices,
                  DesignPlace first, double step, const std::vector<const char*>& captions,
                  const std::vector<const char*>& toolTips) {
    for (std::size_t i = 0; i < captions.size(); ++i) {
      const std::string name = std::string(group) + "_" + std::to_string(i);
      DesignPlace place = first;
      place.top += step * static_cast<double>(i);
      DesignControl& c = Add(ControlKind::kOptionButton, "", container, textIndices[i], place,
                             captions[i], toolTips[i]);
      c.name = name;
      c.group = group;
      c.element = static_cast<int>(i);
    }
  }
  std::vector<DesignControl> Take() { return std::move(controls_); }

 private:
  std::vector<DesignControl> controls_;
};

using K = ControlKind;

std::vector<DesignControl> MakeControls() {
  Table t;
  t.Add(K::kFrame, "PortFrame", "", 4, {60, 60, 5280, 1140}, "Port Ayarları",
        "Haberleşme Ayarları");
  t.Add(K::kLabel, "PortLabel", "PortFrame", 5, {120, 300, 780, 255}, "Comport",
        "Haberleşme portu seçimidir. Cihazın bağlı olduğu Comm portu seçiniz...");
  t.Add(K::kTextBox, "CommSel", "PortFrame", -1, {900, 270, 480, 285}, "0");
  t.Add(K::kLabel, "SpeedLabel", "PortFrame", 6, {1440, 300, 840, 255}, "Baudrate", kSameAsBaud);
  t.Add(K::kDropDownList, "BaudSel", "PortFrame", -1, {2280, 255, 1080, 315}).entries =
      SettingsForm::BaudEntries();
  DesignControl& devType =
      t.Add(K::kDropDownList, "DevType", "PortFrame", -1, {3480, 255, 1500, 315});
  devType.entries = SettingsForm::DevTypeEntries();
  devType.hidden = true;
  t.Add(K::kLabel, "LabCommSet", "PortFrame", 30, {120, 690, 2280, 255}, "Comm1,9600,8b,n,1s")
      .font = "Arial";
  t.Add(K::kLabel, "ContinuousSendHint", "PortFrame", 30, {2460, 600, 2760, 480},
        "Cihazı sürekli gönder moduna alınız...")
      .wordWrap = true;

  t.Add(K::kFrame, "DisplayFrame", "", 8, {60, 1260, 5280, 2160}, "Görünüm Ayarları");
  t.Add(K::kLabel, "SamplesLabel", "DisplayFrame", 9, {120, 300, 1000, 255}, "Data Sayısı",
        "Grafik ekranda görüntülenecek data sayısıdır");
  t.Add(K::kTextBox, "NofSamples", "DisplayFrame", -1, {1140, 270, 600, 285}, "0");
  t.Add(K::kCheckBox, "GrMode", "DisplayFrame", 37, {1860, 285, 1560, 255}, "Kayan Grafik",
        "Kayan Grafik seçildiğinde ekrandaki grafik sürekli olarak sola kayar. Aksi durumda "
        "ekran soldan sağa taranır.");
  t.Add(K::kCheckBox, "MouseEvent", "DisplayFrame", 42, {3420, 285, 1800, 255},
        "Fare İmleci göster", kExpandedTip);
  t.Add(K::kFrame, "PerformanceFrame", "DisplayFrame", 31, {120, 660, 1560, 1380}, "Performans",
        "Ekran yenileme oranının belirlendiği alandır");
  t.AddOptions("OptPf", "PerformanceFrame", {32, 33, 34}, {120, 270, 1320, 255}, 360,
               {"Düşük", "Orta", "Yüksek"},
               {"Saniyede 3 yenileme oranıdır", "Saniyede 10 yenileme oranıdır",
                "Saniyede 20 yenileme oranıdır"});
  t.Add(K::kFrame, "RangeFrame", "DisplayFrame", 40, {1800, 660, 3360, 1380}, "Gösterge Aralığı",
        "Ekran yenileme oranının belirlendiği alandır");
  t.Add(K::kCheckBox, "Expanded", "RangeFrame", 12, {120, 270, 3120, 255}, "Otomatik Ayarla",
        kExpandedTip);
  t.Add(K::kLabel, "LabMin", "RangeFrame", 10, {120, 630, 1560, 255}, "Minimum Değer",
        "Grafik ekran için minimum değerdir.");
  t.Add(K::kTextBox, "TxtMin", "RangeFrame", -1, {1740, 600, 1440, 285}, "0");
  t.Add(K::kLabel, "LabMax", "RangeFrame", 11, {120, 990, 1560, 255}, "Maksimum Değer",
        "Grafik ekran için Maksimum değerdir.");
  t.Add(K::kTextBox, "TxtMax", "RangeFrame", -1, {1740, 960, 1440, 285}, "1000");

  t.Add(K::kFrame, "RecordFrame", "", 17, {60, 3480, 5280, 2700}, "Kayıt Ayarları",
        "Kayıt bilgileri alanıdır");
  t.Add(K::kCheckBox, "SelDatLogEnab", "RecordFrame", 28, {120, 270, 2520, 255},
        "Kayıt Tutma Aktif", "Kayıt dosyası tutma özelliğini aktif eder");
  t.Add(K::kCheckBox, "RecordOnStartup", "RecordFrame", 54, {2700, 270, 2460, 255},
        "Açılışta Kayıt Başlat", "Program açılır açılmaz kayıt tutmaya başlatma özelliğidir");
  t.Add(K::kCheckBox, "LogIncSel", "RecordFrame", 29, {120, 600, 2520, 255}, "Artan Dosya Adı",
        "Bu seçenek seçildiğinde herbir kayıt başlat işleminde yeni bir kayıt dosyası oluşturur");
  t.AddOptions("LogSet", "RecordFrame", {18, 19, 20, 67}, {120, 960, 1800, 255}, 330,
               {"Sürekli Kayıt", "Saniye Bazlı", "Dakika Bazlı", "Kararlılık Süre"},
               {kContinuousTip, "Saniye olarak kayıt tutulur", "Dakika olarak kayıt tutulur",
                kContinuousTip});
  t.Add(K::kTextBox, "TxtSecond", "RecordFrame", -1, {1980, 1275, 600, 285}, "1");
  t.Add(K::kTextBox, "TxtMinute", "RecordFrame", -1, {1980, 1605, 600, 285}, "1");
  t.Add(K::kTextBox, "TxtMotionTmr", "RecordFrame", -1, {1980, 1935, 600, 285}, "0");
  t.Add(K::kLabel, "LabStabTime", "RecordFrame", 68, {2640, 1965, 200, 255}, "s", kSameAsBaud);
  t.Add(K::kFrame, "FrameFile", "RecordFrame", 23, {2880, 600, 2280, 960}, "Dosya Uzantısı");
  t.AddOptions("LogTypeSel", "FrameFile", {21, 22}, {120, 270, 1200, 255}, 330, {"*.txt", "*.xls"},
               {"Metin tipi kayıt dosyası uzantısı olacaktır",
                "Excell tipi kayıt dosyası uzantısı olacaktır"});
  t.Add(K::kFolderButton, "OpenFolder", "FrameFile", -1, {1440, 270, 600, 540});
  t.Add(K::kFrame, "FrameLogStyle", "RecordFrame", 73, {2880, 1620, 2280, 1020},
        "Raporlama Kriterleri");
  t.Add(K::kLabel, "LabJump", "FrameLogStyle", 41, {120, 300, 1170, 255}, "Değişimi Raporla",
        kSameAsBaud);
  t.Add(K::kTextBox, "TxtJump", "FrameLogStyle", 41, {1350, 270, 810, 285}, "0");
  t.Add(K::kLabel, "LabThreshold", "FrameLogStyle", 71, {120, 660, 1170, 255}, "Eşik Değer",
        kSameAsBaud);
  t.Add(K::kTextBox, "TxtThreshold", "FrameLogStyle", 71, {1350, 630, 810, 285}, "0");

  t.Add(K::kFrame, "LanguageFrame", "", 74, {60, 6240, 5280, 660}, "Dil Seçimi");
  t.Add(K::kDropDownList, "LangSel", "LanguageFrame", 56, {120, 255, 2160, 315}).entries =
      SettingsForm::LangEntries();
  // Holds the line naming the device the port number opens: one line of text high.
  t.Add(K::kFrame, "RightsFrame", "", -1, {60, 6915, 5280, 315});
  t.Add(K::kLabel, "LabRights", "RightsFrame", -1, {120, 30, 5040, 255}).elided = true;

  t.Add(K::kButton, "Defaults", "", 13, {60, 7260, 1680, 390}, "Varsayılan",
        "Varsayılan değerleri yükler");
  t.Add(K::kButton, "Apply", "", 14, {1860, 7260, 1680, 390}, "Apply",
        "Değişiklikleri uygular ve kaydeder");
  t.Add(K::kButton, "Cancel", "", 16, {3660, 7260, 1680, 390}, "Exit", "Ayarlar ekranını kapatır");
  return t.Take();
}

}  // namespace

const std::vector<DesignControl>& SettingsDesign::Controls() {
  static const std::vector<DesignControl> controls = MakeControls();
  return controls;
}

int SettingsDesign::IndexOf(std::string_view name) {
  const std::vector<DesignControl>& controls = Controls();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    if (controls[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

int SettingsDesign::ContainerOf(int index) {
  return IndexOf(Controls()[static_cast<std::size_t>(index)].container);
}

}  // namespace tarnwell
