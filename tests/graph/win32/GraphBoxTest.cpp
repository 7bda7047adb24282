// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <set>
#include <sstream>

#include "GraphScenes.h"
#include "TestFiles.h"
#include "graph/win32/Win32GraphBox.h"

namespace tarnwell::testing {
namespace {

// A 32-bit picture `box` painted itself on, read back pixel by pixel.
class Painted {
 public:
  Painted(Win32GraphBox& box, int width, int height) : width_(width) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    dc_ = ::CreateCompatibleDC(nullptr);
    bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = ::SelectObject(dc_, bitmap_);
    box.PaintOn(dc_, width, height);
    ::GdiFlush();
    pixels_ = static_cast<const std::uint32_t*>(bits);
  }
  Painted(const Painted&) = delete;
  Painted& operator=(const Painted&) = delete;
  ~Painted() {
    ::SelectObject(dc_, old_);
    ::DeleteObject(bitmap_);
    ::DeleteDC(dc_);
  }
  DrawColor operator()(int x, int y) const {
    const std::uint32_t p = pixels_[y * width_ + x];
    return DrawColor{std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p)};
  }

 private:
  int width_;
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ old_;
  const std::uint32_t* pixels_ = nullptr;
};

// Column `x` of a CoveredRows line: the rows of each mark and whether a text is there.
struct Column {
  std::map<char, std::set<int>> rows;
  bool text = false;
};

std::vector<Column> Columns(const std::string& covered) {
  std::vector<Column> columns;
  for (const std::string& line : Split(covered, "\n")) {
    Column c;
    std::istringstream in(line);
    std::string part;
    in >> part;
    while (in >> part) {
      if (part == "t") c.text = true;
      for (const std::string& run : Split(part.substr(1), ","))
        if (part != "t")
          for (int y = std::atoi(run.c_str()); y <= std::atoi(&run[run.find('-') + 1]); ++y)
            c.rows[part[0]].insert(y);
    }
    columns.push_back(c);
  }
  return columns;
}

// A row painted on one side lies within one row of one the other side painted in the column or
// a neighbour: lines drawn as lines may fall a pixel apart where toolkits round differently.
bool Near(const std::vector<Column>& a, const std::vector<Column>& b, std::size_t x, char mark) {
  for (int y : a[x].rows.at(mark)) {
    // A line running out at the picture's edge may end a row further on either side.
    if (y == 0 || y == GraphScene::kHeight - 1) continue;
    bool found = false;
    for (std::size_t n = x == 0 ? 0 : x - 1; n <= x + 1 && n < b.size() && !found; ++n)
      for (int dy = -1; dy <= 1 && !found; ++dy)
        found = b[n].rows.count(mark) && b[n].rows.at(mark).count(y + dy);
    if (!found) return false;
  }
  return true;
}

// A shown top-level window to hold picture boxes.
struct Parent {
  Parent() {
    ::ShowWindow(window, SW_SHOWNOACTIVATE);
    ::UpdateWindow(window);
  }
  ~Parent() { ::DestroyWindow(window); }
  HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 200, nullptr, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr);
};

// GDI paints the trace and the marker in the rows the Linux widget paints, column by column:
// dense traces and level lines exactly, lines within a pixel; columns with text are left out.
TEST(Win32GraphBox, CoversTheRowsTheLinuxWidgetCovers) {
  const auto golden =
      Split(ReadFile(std::string(TARNWELL_TESTS_DIR) + "/graph/golden/CoveredRows.txt"), "\n");
  Parent parent;
  int scenes = 0;
  for (std::size_t i = 0; i < golden.size(); ++i) {
    if (golden[i].empty() || golden[i][0] == '#' || golden[i].starts_with("= ")) continue;
    std::string linux;
    for (std::size_t j = i + 1; j < golden.size() && golden[j].starts_with("= "); ++j)
      linux += golden[j].substr(2) + "\n";
    Win32GraphBox box(parent.window, 1, Twips{96});
    box.Picture() = GraphScene(golden[i]).graph;
    const Painted gdi(box, GraphScene::kWidth, GraphScene::kHeight);
    const std::string painted = GraphScene::CoveredRows([&gdi](int x, int y) { return gdi(x, y); });
    const auto want = Columns(linux), got = Columns(painted);
    ASSERT_EQ(want.size(), got.size());
    std::size_t same = 0, compared = 0;
    std::string apart;
    // Beside a text, its softened edge may cover the trace in a colour of its own.
    const auto nearText = [&](std::size_t x) {
      for (std::size_t n = x < 2 ? 0 : x - 2; n <= x + 2 && n < want.size(); ++n)
        if (want[n].text || got[n].text) return true;
      return false;
    };
    for (std::size_t x = 0; x < want.size(); ++x) {
      if (nearText(x)) continue;
      ++compared;
      same += want[x].rows == got[x].rows;
      for (char mark : {'#', '|'}) {
        if ((want[x].rows.count(mark) && !Near(want, got, x, mark)) ||
            (got[x].rows.count(mark) && !Near(got, want, x, mark)))
          apart += " " + std::to_string(x) + mark;
      }
    }
    EXPECT_EQ(apart, "") << golden[i];
    EXPECT_GT(compared, want.size() / 3) << golden[i];
    // Lines drawn as lines meet the rows exactly in about half the columns, the rest a pixel off.
    EXPECT_GE(same * 10, compared * 4) << golden[i] << ": " << same << " of " << compared;
    ++scenes;
  }
  EXPECT_EQ(scenes, 4);
}

// The window shows what PaintOn paints, through its bitmap, only anew when the picture changed;
// pointer events reach the view in twips with the buttons numbered as the view knows them.
TEST(Win32GraphBox, ShowsItsPictureAndPassesPointerEventsInTwips) {
  Parent parent;
  Win32GraphBox box(parent.window, 1, Twips{96});
  ::SetWindowPos(box.Handle(), nullptr, 0, 0, GraphScene::kWidth, GraphScene::kHeight,
                 SWP_NOZORDER);
  EXPECT_EQ(std::pair(box.Picture().Width(), box.Picture().Height()), std::pair(4800.0, 2400.0));
  box.Picture() = GraphScene("samples=100 shape=sine fixed scroll guide").graph;
  box.Show();
  EXPECT_TRUE(::GetUpdateRect(box.Handle(), nullptr, FALSE));
  ::UpdateWindow(box.Handle());
  box.Show();
  EXPECT_FALSE(::GetUpdateRect(box.Handle(), nullptr, FALSE));
  EXPECT_EQ(::SendMessageW(box.Handle(), WM_ERASEBKGND, 0, 0), 1);
  const Painted painted(box, GraphScene::kWidth, GraphScene::kHeight);
  HDC dc = ::GetDC(box.Handle());
  int differ = 0;
  for (int y = 0; y < GraphScene::kHeight; ++y)
    for (int x = 0; x < GraphScene::kWidth; ++x) {
      const DrawColor c = painted(x, y);
      differ += ::GetPixel(dc, x, y) != RGB(c.red, c.green, c.blue);
    }
  ::ReleaseDC(box.Handle(), dc);
  EXPECT_EQ(differ, 0);

  std::vector<double> seen;  // moves as x and y, presses as button, double clicks as -1
  box.SetMouseMoveHandler([&](double x, double y) { seen.insert(seen.end(), {x, y}); });
  box.SetMouseDownHandler([&](int b, double x, double y) {
    seen.insert(seen.end(), {1. * b, x, y});
  });
  box.SetDoubleClickHandler([&] { seen.push_back(-1); });
  ::SendMessageW(box.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(30, 40));
  for (UINT press : {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN})
    ::SendMessageW(box.Handle(), press, 0, MAKELPARAM(1, 2));
  ::SendMessageW(box.Handle(), WM_LBUTTONDBLCLK, 0, MAKELPARAM(1, 1));
  EXPECT_EQ(seen, (std::vector<double>{450, 600, 1, 15, 30, 2, 15, 30, 4, 15, 30, -1}));
}

}  // namespace
}  // namespace tarnwell::testing
