// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/qt/MainWindow.h"

#include <QCloseEvent>
#include <QFont>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QResizeEvent>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cmath>

#include "app/Mainform.h"
#include "app/qt/DigitsLabel.h"
#include "i18n/qt/QtFormTexts.h"

namespace tarnwell {
namespace {

void SetTextIndex(QWidget* w, const char* index) { w->setProperty("textIndex", QString(index)); }

QFont TahomaFont(int points, bool bold) {
  QFont f(QStringLiteral("Tahoma"));
  f.setStyleHint(QFont::SansSerif);
  f.setPointSize(points);
  f.setBold(bold);
  return f;
}

void SetBackground(QWidget* w, const QColor& c) {
  QPalette p = w->palette();
  p.setColor(QPalette::Window, c);
  w->setPalette(p);
}

void SetForeground(QWidget* w, const QColor& c) {
  QPalette p = w->palette();
  p.setColor(QPalette::WindowText, c);
  p.setColor(QPalette::Text, c);
  p.setColor(QPalette::ButtonText, c);
  w->setPalette(p);
}

}  // namespace

class MainWindow::Resizable : public ResizableWindow {
 public:
  explicit Resizable(MainWindow& w) : w_(w) {}
  bool Minimized() const override { return w_.isMinimized(); }
  double Width() const override { return w_.Tw(w_.frameGeometry().width()); }
  double Height() const override { return w_.Tw(w_.frameGeometry().height()); }
  // A maximised window keeps its size; it is larger than the minimum in practice.
  void SetWidth(double width) override {
    if (w_.isMaximized()) return;
    w_.resize(std::max(1, w_.Px(width) - w_.FrameExtra().width()), w_.height());
  }
  void SetHeight(double height) override {
    if (w_.isMaximized()) return;
    w_.resize(w_.width(), std::max(1, w_.Px(height) - w_.FrameExtra().height()));
  }

 private:
  MainWindow& w_;
};

MainWindow::MainWindow() {
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    twips_.dpi = screen->logicalDotsPerInch();
  setObjectName(QStringLiteral("Mainform"));
  setWindowTitle(QString::fromUtf8(kDesignCaption));
  SetBackground(this, QColor(40, 40, 40));
  SetForeground(this, QColor(224, 224, 224));
  setWindowIcon(QIcon(QStringLiteral(":/tarnwell/logo.png")));

  graph_ = new QtGraphWidget(this);
  graph_->setObjectName(QStringLiteral("Graph"));
  xaxisTop_ = new QtGraphWidget(this);
  xaxisTop_->setObjectName(QStringLiteral("XaxisTop"));
  SetTextIndex(xaxisTop_, "55");

  rangeofChange_ = new QLabel(QStringLiteral("00000"), this);
  rangeofChange_->setObjectName(QStringLiteral("RangeofChange"));
  labNofDat_ = new QLabel(QStringLiteral("00000"), this);
  labNofDat_->setObjectName(QStringLiteral("LabNofDat"));
  picLogo_ = new QLabel(this);
  picLogo_->setObjectName(QStringLiteral("picLogo"));
  picLogo_->setPixmap(QPixmap(QStringLiteral(":/tarnwell/logo.png")));
  picLogo_->setScaledContents(true);

  weighBox_ = new QWidget(this);
  weighBox_->setObjectName(QStringLiteral("WeighBox"));
  current_ = new DigitsLabel(QStringLiteral("123456.7"), weighBox_);
  current_->setObjectName(QStringLiteral("Current"));
  SetTextIndex(current_, "52");
  current_->setToolTip(QString::fromUtf8("Anlık ölçüm değeridir"));
  current_->setFont(TahomaFont(54, true));
  appStop_ = new QCheckBox(QStringLiteral("Durdur"), weighBox_);
  appStop_->setObjectName(QStringLiteral("App_Stop"));
  SetTextIndex(appStop_, "38");
  appStop_->setFont(TahomaFont(8, false));
  cmdZoomIn_ = new QPushButton(weighBox_);
  cmdZoomIn_->setObjectName(QStringLiteral("CmdZoomIn"));
  SetTextIndex(cmdZoomIn_, "76");
  cmdZoomIn_->setIcon(QIcon(QStringLiteral(":/tarnwell/zoom.png")));
  cmdZoomIn_->setVisible(false);
  theSetup_ = new QPushButton(weighBox_);
  theSetup_->setObjectName(QStringLiteral("TheSetup"));
  SetTextIndex(theSetup_, "81");
  theSetup_->setIcon(QIcon(QStringLiteral(":/tarnwell/setup.png")));
  testPic_ = new QtGraphWidget(weighBox_);
  testPic_->setObjectName(QStringLiteral("TestPic"));
  SetTextIndex(testPic_, "55");
  for (QtGraphWidget* picture : {graph_, xaxisTop_, testPic_}) picture->SetUnits(twips_);

  Place(rangeofChange_, 120, 4080, 1575, 255);
  Place(labNofDat_, 120, 5760, 1575, 255);
  Place(picLogo_, 120, 5280, 2160, 660);
  Place(weighBox_, 0, 0, 6975, 1400);
  PlaceLayout();
  Place(current_, 480, -300, 6495, 1335);
  Place(appStop_, 5040, 1080, 1215, 250);
  Place(cmdZoomIn_, 6360, 1080, 195, 210);
  Place(theSetup_, 6600, 1080, 350, 210);
  Place(testPic_, 0, 0, 90, 135);
  // The picture buttons are small; the picture takes the whole face.
  for (QPushButton* b : {cmdZoomIn_, theSetup_}) {
    b->setStyleSheet(
        QStringLiteral("QPushButton { border: 1px solid #606060; border-radius: 2px; padding: 0;"
                       " background: #d0d0d0; } QPushButton:pressed { background: #a0a0a0; }"));
    b->setIconSize(b->size() - QSize(2, 2));
  }

  resize(Px(6810), Px(5970));
  setMinimumSize(Px(ResizeRules::MinimumWidth()), Px(ResizeRules::MinimumHeight()));

  connect(&frameWatch_, &QTimer::timeout, this, [this] {
    FollowFrame();
    if (++frameChecks_ >= 30) frameWatch_.stop();
  });
  connect(appStop_, &QCheckBox::clicked, this, [this](bool checked) {
    if (form_) form_->SetSuspended(checked);
  });
  connect(theSetup_, &QPushButton::clicked, this, [this] {
    if (onSetup_) onSetup_();
  });
  cmdZoomIn_->installEventFilter(this);
  graph_->SetMouseMoveHandler([this](double x, double y) {
    if (form_) form_->Graph().PointerMoved(x, y);
  });
  graph_->SetMouseDownHandler([this](int button, double, double) {
    if (form_) form_->Graph().PointerPressed(button);
  });
  graph_->SetDoubleClickHandler([this] {
    if (form_) form_->Graph().ResetTrace();
  });
}

MainWindow::~MainWindow() = default;

// Positions come from config.ini, which may hold any number; keep them within what a window
// can take.
int MainWindow::Px(double twips) const {
  const double px = twips_.ToPixels(twips);
  if (!std::isfinite(px)) return 0;
  return static_cast<int>(std::lround(std::clamp(px, -1e6, 1e6)));
}

double MainWindow::Tw(int pixels) const { return std::round(twips_.FromPixels(pixels)); }

void MainWindow::Place(QWidget* w, double left, double top, double width, double height) {
  w->setGeometry(Px(left), Px(top), std::max(0, Px(width)), std::max(0, Px(height)));
}

void MainWindow::SetCurrentColor(Rgb color) {
  if (color == currentColor_) return;
  currentColor_ = color;
  SetForeground(current_, QColor(color.red, color.green, color.blue));
}

void MainWindow::SetCurrentVisible(bool visible) {
  if (current_->isVisible() != visible) current_->setVisible(visible);
}

void MainWindow::SetCurrentCaption(const std::string& caption) {
  const QString text = QString::fromStdString(caption);
  if (current_->text() != text) current_->setText(text);
}

double MainWindow::GraphOuterHeight() const { return Tw(graph_->height()); }

void MainWindow::SetRangeOfChangeTop(double top) {
  rangeofChange_->move(rangeofChange_->x(), Px(top));
}

void MainWindow::SetRangeOfChangeCaption(const std::string& caption) {
  const QString text = QString::fromStdString(caption);
  if (rangeofChange_->text() != text) rangeofChange_->setText(text);
}

void MainWindow::SetLabNofDat(const std::string& caption, double top) {
  const QString text = QString::fromStdString(caption);
  if (labNofDat_->text() != text) labNofDat_->setText(text);
  labNofDat_->move(labNofDat_->x(), Px(top));
}

void MainWindow::SetLogoTop(double top) { picLogo_->move(picLogo_->x(), Px(top)); }

void MainWindow::SetCaption(const std::string& caption) {
  setWindowTitle(QString::fromStdString(caption));
}

std::string MainWindow::Caption() const { return windowTitle().toStdString(); }

std::string MainWindow::CurrentCaption() const { return current_->text().toStdString(); }

bool MainWindow::SetWindowState(int state) {
  switch (state) {
    case 0:
      setWindowState(Qt::WindowNoState);
      return true;
    case 1:
      setWindowState(Qt::WindowMinimized);
      return true;
    case 2:
      setWindowState(Qt::WindowMaximized);
      return true;
    default:
      return false;
  }
}

int MainWindow::WindowState() const {
  if (isMinimized()) return 1;
  if (isMaximized()) return 2;
  return 0;
}

// Moving a maximised or minimised window would make it normal; the place is its restored one.
void MainWindow::MoveWindow(double left, double top) {
  const Qt::WindowStates state = windowState();
  move(Px(left), Px(top));
  setWindowState(state);
}

void MainWindow::ResizeWindow(double width, double height) {
  const QSize outer(Px(width), Px(height));
  if (isMinimized() || isMaximized()) {
    restoredSize_ = outer;
    return;
  }
  wantedOuter_ = outer;
  frameUsed_ = FrameExtra();
  resize((outer - frameUsed_).expandedTo(QSize(1, 1)));
}

// Sizes are outer sizes, frame and title bar included, but the desktop tells a window's frame
// only once it has framed it, and a maximised window has another frame (or none), which it may
// still read as for a while after a restore. So the outer size asked for is applied again
// whenever the frame reads otherwise, until it reads as a restored window's; after a restore,
// which need not bring a geometry event, the frame is watched for a few seconds.
void MainWindow::FollowFrame() {
  const QSize frame = FrameExtra();
  if (isMaximized()) maximisedFrame_ = frame;
  if (!wantedOuter_.isValid() || !isVisible() || isMinimized() || isMaximized()) return;
  const bool restoredFrame = frame != QSize(0, 0) && frame != maximisedFrame_;
  if (restoredFrame) {
    const QSize least(Px(ResizeRules::MinimumWidth()), Px(ResizeRules::MinimumHeight()));
    setMinimumSize((least - frame).expandedTo(QSize(1, 1)));
  }
  if (frame != frameUsed_ || restoredFrame) {
    frameUsed_ = frame;
    resize((wantedOuter_ - frame).expandedTo(QSize(1, 1)));
  }
  if (!restoredFrame) return;
  wantedOuter_ = QSize();
  frameWatch_.stop();
}

void MainWindow::WatchFrame() {
  frameChecks_ = 0;
  frameWatch_.start(100);
  FollowFrame();
}

// The frame and title bar around the window, as the desktop tells them now.
QSize MainWindow::FrameExtra() const {
  const QWindow* window = windowHandle();
  if (window == nullptr) return QSize(0, 0);
  const QMargins m = window->frameMargins();
  return QSize(m.left() + m.right(), m.top() + m.bottom());
}

double MainWindow::WindowLeft() const { return Tw(frameGeometry().x()); }

double MainWindow::WindowTop() const { return Tw(frameGeometry().y()); }

double MainWindow::WindowWidth() const {
  if ((isMinimized() || isMaximized()) && restoredSize_.isValid()) return Tw(restoredSize_.width());
  return Tw(width() + FrameExtra().width());
}

double MainWindow::WindowHeight() const {
  if ((isMinimized() || isMaximized()) && restoredSize_.isValid())
    return Tw(restoredSize_.height());
  return Tw(height() + FrameExtra().height());
}

void MainWindow::ShowPlot() {
  graph_->Show();
  xaxisTop_->Show();
  testPic_->Show();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == cmdZoomIn_ && event->type() == QEvent::MouseButtonPress && form_) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const int button = mouse->button() == Qt::RightButton  ? 2
                       : mouse->button() == Qt::LeftButton ? 1
                                                           : 4;
    form_->ZoomButtonPressed(button);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::SetZoomButtonVisible(bool visible) { cmdZoomIn_->setVisible(visible); }

void MainWindow::SetPointerStyle(int style) {
  if (style == 5) {
    setCursor(Qt::SizeAllCursor);
  } else {
    unsetCursor();
  }
}

void MainWindow::ApplyFormTexts(const LangTable& texts) { ApplyFormTextsTo(this, texts); }

void MainWindow::CloseWindow() {
  closing_ = true;
  close();
}

void MainWindow::RunResizeRules() {
  if (inResize_) return;
  inResize_ = true;
  Resizable window(*this);
  if (ResizeRules::Apply(window, layout_)) PlaceLayout();
  inResize_ = false;
}

// The graph, its sample axis and the value panel where the layout has them, the design's at first.
void MainWindow::PlaceLayout() {
  Place(graph_, 120, 120, layout_.graphWidth, layout_.graphHeight);
  Place(xaxisTop_, 120, layout_.xaxisTop, layout_.xaxisWidth, 135);
  weighBox_->move(Px(layout_.weighBoxLeft), Px(layout_.weighBoxTop));
}

void MainWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (event->spontaneous()) FollowFrame();
  RunResizeRules();
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  if (event->spontaneous()) FollowFrame();
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  WatchFrame();
}

void MainWindow::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::WindowStateChange) return;
  if (!isMinimized() && !isMaximized() && restoredSize_.isValid()) {
    wantedOuter_ = restoredSize_;
    restoredSize_ = QSize();
    frameUsed_ = QSize(-1, -1);
    WatchFrame();
  }
  RunResizeRules();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (form_ && !closing_) form_->ShutDown();
  closing_ = true;
  event->accept();
}

}  // namespace tarnwell
