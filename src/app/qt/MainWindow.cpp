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

#include "app/MainDesign.h"
#include "app/Mainform.h"
#include "app/qt/DigitsLabel.h"
#include "i18n/qt/QtFormTexts.h"

namespace tarnwell {
namespace {

QColor ToQColor(Rgb c) { return QColor(c.red, c.green, c.blue); }

QFont TahomaFont(int points, bool bold) {
  QFont f(QString::fromUtf8(kMainFontFace));
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
  SetBackground(this, ToQColor(kMainBackground));
  SetForeground(this, ToQColor(kMainForeground));
  setWindowIcon(QIcon(QStringLiteral(":/tarnwell/logo.png")));

  graph_ = new QtGraphWidget(this);
  xaxisTop_ = new QtGraphWidget(this);
  rangeofChange_ = new QLabel(this);
  labNofDat_ = new QLabel(this);
  picLogo_ = new QLabel(this);
  picLogo_->setPixmap(QPixmap(QStringLiteral(":/tarnwell/logo.png")));
  picLogo_->setScaledContents(true);
  weighBox_ = new QWidget(this);
  current_ = new DigitsLabel(weighBox_);
  appStop_ = new QCheckBox(weighBox_);
  cmdZoomIn_ = new QPushButton(weighBox_);
  cmdZoomIn_->setIcon(QIcon(QStringLiteral(":/tarnwell/zoom.png")));
  theSetup_ = new QPushButton(weighBox_);
  theSetup_->setIcon(QIcon(QStringLiteral(":/tarnwell/setup.png")));
  testPic_ = new QtGraphWidget(weighBox_);
  for (QtGraphWidget* picture : {graph_, xaxisTop_, testPic_}) picture->SetUnits(twips_);

  QWidget* const controls[] = {graph_,   xaxisTop_, rangeofChange_, labNofDat_, picLogo_, weighBox_,
                               current_, appStop_,  cmdZoomIn_,     theSetup_,  testPic_};
  for (const MainControlDesign& d : MainDesign()) {
    QWidget* w = controls[static_cast<std::size_t>(d.control)];
    w->setObjectName(QString::fromUtf8(d.name));
    if (*d.textIndex) w->setProperty("textIndex", QString(d.textIndex));
    if (*d.toolTip) w->setToolTip(QString::fromUtf8(d.toolTip));
    if (d.fontPoints > 0) w->setFont(TahomaFont(static_cast<int>(d.fontPoints), d.bold));
    if (auto* label = qobject_cast<QLabel*>(w); label && *d.caption)
      label->setText(QString::fromUtf8(d.caption));
    if (auto* box = qobject_cast<QCheckBox*>(w)) box->setText(QString::fromUtf8(d.caption));
    if (!d.shown) w->setVisible(false);
    if (d.control != MainControl::kGraph && d.control != MainControl::kXaxisTop &&
        d.control != MainControl::kWeighBox)
      Place(w, d.left, d.top, d.width, d.height);
  }
  Place(weighBox_, 0, 0, DesignOf(MainControl::kWeighBox).width,
        DesignOf(MainControl::kWeighBox).height);
  PlaceLayout();
  // The picture buttons are small; the picture takes the whole face.
  for (QPushButton* b : {cmdZoomIn_, theSetup_}) {
    b->setStyleSheet(
        QStringLiteral("QPushButton { border: 1px solid #606060; border-radius: 2px; padding: 0;"
                       " background: #d0d0d0; } QPushButton:pressed { background: #a0a0a0; }"));
    b->setIconSize(b->size() - QSize(2, 2));
  }

  resize(Px(kMainClientWidth), Px(kMainClientHeight));
  setMinimumSize(Px(ResizeRules::MinimumWidth()), Px(ResizeRules::MinimumHeight()));

  connect(&frameWatch_, &QTimer::timeout, this, [this] {
    FollowFrame();
    if (++frameChecks_ >= kFrameChecks) frameWatch_.stop();
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
  graph_->SetMouseDownHandler([this](MouseButton button, double, double) {
    if (form_) form_->Graph().PointerPressed(button);
  });
  graph_->SetDoubleClickHandler([this] {
    if (form_) form_->Graph().ResetTrace();
  });
}

MainWindow::~MainWindow() = default;

int MainWindow::Px(double twips) const { return twips_.WholePixels(twips); }

double MainWindow::Tw(int pixels) const { return twips_.WholeTwips(pixels); }

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

bool MainWindow::SetWindowState(WindowMode mode) {
  switch (mode) {
    case WindowMode::kNormal:
      setWindowState(Qt::WindowNoState);
      return true;
    case WindowMode::kMinimized:
      setWindowState(Qt::WindowMinimized);
      return true;
    case WindowMode::kMaximized:
      setWindowState(Qt::WindowMaximized);
      return true;
  }
  return false;
}

WindowMode MainWindow::WindowState() const {
  if (isMinimized()) return WindowMode::kMinimized;
  if (isMaximized()) return WindowMode::kMaximized;
  return WindowMode::kNormal;
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
// which need not bring a geometry event, the frame is watched until it does, for at most half a
// minute: a busy desktop can take seconds to frame a window again.
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
    const MouseButton button = mouse->button() == Qt::RightButton  ? kRightButton
                               : mouse->button() == Qt::LeftButton ? kLeftButton
                                                                   : kMiddleButton;
    form_->ZoomButtonPressed(button);
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::SetZoomButtonVisible(bool visible) { cmdZoomIn_->setVisible(visible); }

void MainWindow::SetPointerStyle(PointerStyle style) {
  if (style == PointerStyle::kSizeAll) {
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
