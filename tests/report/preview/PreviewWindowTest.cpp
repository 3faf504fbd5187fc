#include "PreviewTestSupport.h"

#include "report/preview/PreviewPage.h"
#include "report/preview/PreviewWindow.h"

#include <QAction>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace TDInvoice::Report::Testing {
namespace {

QWidget *buttonOf(TPreviewWindow &window, TPreviewAction which) {
  auto *bar = window.findChild<QToolBar *>();
  return bar ? bar->widgetForAction(window.action(which)) : nullptr;
}

void click(TPreviewWindow &window, TPreviewAction which) {
  QWidget *button = buttonOf(window, which);
  ASSERT_NE(button, nullptr);
  QTest::mouseClick(button, Qt::LeftButton);
}

QStringList shownTexts(TPreviewWindow &window) {
  const TMetaPage *page = window.pageImage()->page();
  return page ? textsOf(*page) : QStringList();
}

// A window over a finished five-page recording, at a size that needs scroll bars at 100 %.
class PreviewWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    recordPages(device, 5);
    window = std::make_unique<TPreviewWindow>(device);
    window->resize(700, 500);
    window->show();
    deliverPosted();
  }

  TReportPrinter device{TPrinterDestination::Record};
  std::unique_ptr<TPreviewWindow> window;
};

TEST_F(PreviewWindowTest, ToolBarAndInitialState) {
  const std::pair<TPreviewAction, const char *> captions[] = {
      {TPreviewAction::ZoomToFit, "Zoom to fit"},
      {TPreviewAction::Zoom100, "100%"},
      {TPreviewAction::ZoomToWidth, "Zoom to width"},
      {TPreviewAction::FirstPage, "First page"},
      {TPreviewAction::PreviousPage, "Previous page"},
      {TPreviewAction::NextPage, "Next page"},
      {TPreviewAction::LastPage, "Last page"},
      {TPreviewAction::PrinterSetup, "Printer setup"},
      {TPreviewAction::Print, "Print"},
      {TPreviewAction::SaveReport, "Save Report"},
      {TPreviewAction::LoadReport, "Load Report"},
      {TPreviewAction::Close, "&Close"}};
  for (const auto &[which, caption] : captions) {
    ASSERT_NE(window->action(which), nullptr) << caption;
    EXPECT_EQ(window->action(which)->text().toStdString(), caption);
  }
  EXPECT_TRUE(window->action(TPreviewAction::ZoomToWidth)->isChecked());
  EXPECT_FALSE(window->action(TPreviewAction::ZoomToFit)->isChecked());
  EXPECT_FALSE(window->action(TPreviewAction::Zoom100)->isChecked());
  EXPECT_EQ(window->zoomMode(), TZoomMode::Width);
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Print Preview"));
  EXPECT_EQ(window->pagePanel()->text(), QStringLiteral("Page 1 of 5"));
  EXPECT_EQ(window->progressPanel()->text(), QStringLiteral("0%"));
  EXPECT_TRUE(shownTexts(*window).contains(QStringLiteral("Page 1")));
}

struct NavigationCase {
  const char *name;
  int start;
  Qt::Key key; // Qt::Key_unknown: press the button instead
  Qt::KeyboardModifiers modifiers;
  TPreviewAction button;
  int expected;
};

class PreviewNavigationTest : public PreviewWindowTest,
                              public ::testing::WithParamInterface<NavigationCase> {};

TEST_P(PreviewNavigationTest, MovesOrIgnores) {
  const NavigationCase &c = GetParam();
  window->setPageNumber(c.start);
  window->setZoomMode(TZoomMode::Full);
  deliverPosted();
  QScrollBar *vertical = window->view()->verticalScrollBar();
  QScrollBar *horizontal = window->view()->horizontalScrollBar();
  ASSERT_GT(vertical->maximum(), 0);
  vertical->setValue(vertical->maximum() / 2);
  horizontal->setValue(horizontal->maximum() / 2);
  const int scrolledTo = vertical->value();

  if (c.key != Qt::Key_unknown)
    QTest::keyClick(window->view(), c.key, c.modifiers);
  else
    click(*window, c.button);

  EXPECT_EQ(window->pageNumber(), c.expected);
  EXPECT_EQ(window->pagePanel()->text(), QStringLiteral("Page %1 of 5").arg(c.expected));
  EXPECT_TRUE(shownTexts(*window).contains(QStringLiteral("Page %1").arg(c.expected)));
  if (c.expected != c.start) {
    EXPECT_EQ(vertical->value(), 0);
    EXPECT_EQ(horizontal->value(), 0);
  } else {
    EXPECT_EQ(vertical->value(), scrolledTo) << "an ignored change must not scroll";
  }
}

constexpr auto kNone = Qt::NoModifier;
constexpr auto kCtrl = Qt::ControlModifier;
constexpr auto kNoKey = Qt::Key_unknown;
constexpr auto kAnyButton = TPreviewAction::Close;

INSTANTIATE_TEST_SUITE_P(
    KeysAndButtons, PreviewNavigationTest,
    ::testing::Values(
        NavigationCase{"PageDown", 1, Qt::Key_PageDown, kNone, kAnyButton, 2},
        NavigationCase{"PageUp", 3, Qt::Key_PageUp, kNone, kAnyButton, 2},
        NavigationCase{"PageUpOnFirstIgnored", 1, Qt::Key_PageUp, kNone, kAnyButton, 1},
        NavigationCase{"PageDownOnLastIgnored", 5, Qt::Key_PageDown, kNone, kAnyButton, 5},
        NavigationCase{"Home", 4, Qt::Key_Home, kNone, kAnyButton, 1},
        NavigationCase{"ControlPageUp", 4, Qt::Key_PageUp, kCtrl, kAnyButton, 1},
        NavigationCase{"End", 2, Qt::Key_End, kNone, kAnyButton, 5},
        NavigationCase{"ControlPageDown", 2, Qt::Key_PageDown, kCtrl, kAnyButton, 5},
        NavigationCase{"NextButton", 2, kNoKey, kNone, TPreviewAction::NextPage, 3},
        NavigationCase{"PreviousButton", 2, kNoKey, kNone, TPreviewAction::PreviousPage, 1},
        NavigationCase{"PreviousOnFirstIgnored", 1, kNoKey, kNone, TPreviewAction::PreviousPage, 1},
        NavigationCase{"FirstButton", 5, kNoKey, kNone, TPreviewAction::FirstPage, 1},
        NavigationCase{"LastButton", 1, kNoKey, kNone, TPreviewAction::LastPage, 5}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(PreviewWindowTest, PageNumbersOutsideTheStoreAreIgnored) {
  window->setPageNumber(3);
  for (int page : {0, -1, 6, 100}) {
    window->setPageNumber(page);
    EXPECT_EQ(window->pageNumber(), 3) << page;
  }
  EXPECT_EQ(window->pagePanel()->text(), QStringLiteral("Page 3 of 5"));
}

TEST_F(PreviewWindowTest, EscapeAndCloseButtonCloseAndDetachOnce) {
  for (bool byKey : {true, false}) {
    SCOPED_TRACE(byKey ? "Escape" : "Close button");
    TReportPrinter other(TPrinterDestination::Record);
    recordPages(other, 2, false);
    TPreviewWindow w(other);
    int closedCalls = 0;
    w.setClosedHandler([&closedCalls] { ++closedCalls; });
    w.show();
    deliverPosted();
    ASSERT_EQ(other.client(), &w);
    if (byKey)
      QTest::keyClick(w.view(), Qt::Key_Escape);
    else
      click(w, TPreviewAction::Close);
    EXPECT_TRUE(w.closed());
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(other.client(), nullptr);
    w.close();
    EXPECT_EQ(closedCalls, 1);
    // Pages that arrive after closing no longer reach the window.
    other.newPage();
    other.endDoc();
    deliverPosted();
    EXPECT_EQ(w.pageCount(), 1);
  }
}

TEST(PreviewWindowTitleTest, DeviceTitleOrPrintPreviewAndOpensMaximised) {
  TReportPrinter device(TPrinterDestination::Record);
  device.setTitle(QStringLiteral("Statements March"));
  TPreviewWindow window(device);
  window.open();
  deliverPosted();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Statements March"));
  EXPECT_TRUE(window.windowState() & Qt::WindowMaximized);
}

// Pages and progress arrive while the window is open, as during a run.
TEST(PreviewWindowLiveTest, PanelsFollowArrivingPagesAndProgress) {
  TReportPrinter device(TPrinterDestination::Record);
  TPreviewWindow window(device);
  window.show();
  device.beginDoc();
  window.runStarting();
  deliverPosted();
  EXPECT_EQ(window.pagePanel()->text(), QStringLiteral("Page 0 of 0"));
  EXPECT_FALSE(window.action(TPreviewAction::Print)->isEnabled());
  EXPECT_FALSE(window.action(TPreviewAction::PrinterSetup)->isEnabled());
  EXPECT_FALSE(window.action(TPreviewAction::LoadReport)->isEnabled());

  struct Step {
    int newPages; // pages begun before the progress is set
    int progress;
    const char *pagePanel;
    const char *progressPanel;
  };
  // The page in progress is not available; the panel shows the percentage once it rose by
  // 5 or more since it was last shown, and nothing at 0 and 100.
  const Step steps[] = {
      {1, 3, "Page 0 of 0", "0%"},   {1, 5, "Page 1 of 1", "5%"},   {0, 9, "Page 1 of 1", "5%"},
      {1, 10, "Page 1 of 2", "10%"}, {0, 14, "Page 1 of 2", "10%"}, {0, 15, "Page 1 of 2", "15%"},
      {1, 57, "Page 1 of 3", "57%"}, {0, 61, "Page 1 of 3", "57%"}, {0, 100, "Page 1 of 3", ""},
      {0, 0, "Page 1 of 3", ""},     {0, 4, "Page 1 of 3", ""},     {1, 5, "Page 1 of 4", "5%"},
  };
  for (const Step &step : steps) {
    SCOPED_TRACE(step.progress);
    for (int i = 0; i < step.newPages; ++i) {
      device.newPage();
      device.canvas().textOut(10, 10, QStringLiteral("Page %1").arg(device.pageNumber()));
    }
    device.setProgress(step.progress);
    deliverPosted();
    EXPECT_EQ(window.pagePanel()->text().toStdString(), step.pagePanel);
    EXPECT_EQ(window.progressPanel()->text().toStdString(), step.progressPanel);
  }
  // Page 1 was drawn as soon as it became available; the viewer may move among those there.
  EXPECT_TRUE(shownTexts(window).contains(QStringLiteral("Page 1")));
  QTest::keyClick(window.view(), Qt::Key_End);
  EXPECT_EQ(window.pagePanel()->text(), QStringLiteral("Page 4 of 4"));
  EXPECT_TRUE(shownTexts(window).contains(QStringLiteral("Page 4")));
  EXPECT_FALSE(window.action(TPreviewAction::Print)->isEnabled());

  device.endDoc();
  deliverPosted();
  EXPECT_EQ(window.pagePanel()->text(), QStringLiteral("Page 4 of 5"));
  EXPECT_TRUE(window.action(TPreviewAction::Print)->isEnabled());
  EXPECT_TRUE(window.action(TPreviewAction::PrinterSetup)->isEnabled());
  EXPECT_TRUE(window.action(TPreviewAction::LoadReport)->isEnabled());
}

// A page the store cannot give back (here one with a rectangle of negative size, which the
// page decoder refuses) shows as an empty sheet with the reason; nothing is thrown into the
// event loop, and the other pages still show.
TEST(PreviewWindowDamagedPageTest, UnreadablePageShowsItsReason) {
  TReportPrinter device(TPrinterDestination::Record);
  device.beginDoc();
  device.newPage();
  device.canvas().fillRect(QRect(10, 10, -5, -5));
  device.newPage();
  device.canvas().textOut(10, 10, QStringLiteral("Readable"));
  device.endDoc();
  TPreviewWindow window(device);
  window.show();
  EXPECT_NO_THROW(deliverPosted());
  EXPECT_EQ(window.pageImage()->page(), nullptr);
  EXPECT_FALSE(window.statusBar()->currentMessage().isEmpty());
  EXPECT_EQ(window.pagePanel()->text(), QStringLiteral("Page 1 of 2"));
  QTest::keyClick(window.view(), Qt::Key_PageDown);
  ASSERT_NE(window.pageImage()->page(), nullptr);
  EXPECT_TRUE(textsOf(*window.pageImage()->page()).contains(QStringLiteral("Readable")));
  EXPECT_TRUE(window.statusBar()->currentMessage().isEmpty());
}

// The view's size decides the zoom. The frame is removed so that the view's size is the
// size of its viewport.
class PreviewZoomTest : public PreviewWindowTest {
protected:
  void setView(int w, int h) {
    window->view()->setFrameShape(QFrame::NoFrame);
    window->view()->setFixedSize(w, h);
    window->resize(w + 200, h + 300);
    deliverPosted();
    ASSERT_EQ(window->view()->maximumViewportSize(), QSize(w, h));
  }
};

TEST_F(PreviewZoomTest, PercentagesForAKnownView) {
  setView(800, 600);
  struct Case {
    TPreviewAction button;
    TZoomMode mode;
    int zoom;
    QSize image;
  };
  // The recorded A4 page is 794 x 1123 screen pixels: fit min(800/794, 600/1123) x 95 = 51 %,
  // width 800/794 x 90 = 91 %; the image is the paper at that zoom plus 4 pixels.
  const Case cases[] = {
      {TPreviewAction::ZoomToFit, TZoomMode::Fit, 51, {405 + 4, 573 + 4}},
      {TPreviewAction::Zoom100, TZoomMode::Full, 100, {794 + 4, 1123 + 4}},
      {TPreviewAction::ZoomToWidth, TZoomMode::Width, 91, {723 + 4, 1022 + 4}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.zoom);
    click(*window, c.button);
    EXPECT_EQ(window->zoomMode(), c.mode);
    EXPECT_TRUE(window->action(c.button)->isChecked());
    EXPECT_EQ(window->zoom(), c.zoom);
    EXPECT_EQ(window->pageImage()->size(), c.image);
  }
}

TEST_F(PreviewZoomTest, ResizingReappliesTheZoomMode) {
  setView(800, 600);
  EXPECT_EQ(window->zoom(), 91);
  setView(400, 600); // 400/794 x 90 = 45.3
  EXPECT_EQ(window->zoom(), 45);
  click(*window, TPreviewAction::ZoomToFit);
  EXPECT_EQ(window->zoom(), 48); // min(0.504, 0.534) x 95 = 47.9
  setView(800, 300);             // min(1.008, 0.267) x 95 = 25.4
  EXPECT_EQ(window->zoom(), 25);
  click(*window, TPreviewAction::Zoom100);
  setView(300, 300);
  EXPECT_EQ(window->zoom(), 100);
}

// The window as the user sees it, saved as PNG and probed at the sheet, its outline and its
// shadow.
TEST_F(PreviewZoomTest, ScreenshotShowsSheetOutlineAndShadow) {
  setView(800, 600);
  click(*window, TPreviewAction::ZoomToFit);
  deliverPosted();
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString file = folder.filePath(QStringLiteral("preview.png"));
  ASSERT_TRUE(window->grab().save(file, "PNG"));
  QImage shot(file);
  ASSERT_FALSE(shot.isNull());
  shot = shot.convertToFormat(QImage::Format_RGB32);

  const QPoint o = window->pageImage()->mapTo(window.get(), QPoint(0, 0));
  const int w = 405, h = 573; // the 794 x 1123 page at 51 %
  const QPoint viewOrigin = window->view()->mapTo(window.get(), QPoint(0, 0));
  // Centred in the view, being smaller than it.
  EXPECT_NEAR(o.x() - viewOrigin.x(), (800 - (w + 4)) / 2, 1);
  EXPECT_NEAR(o.y() - viewOrigin.y(), (600 - (h + 4)) / 2, 1);
  auto at = [&](int x, int y) { return shot.pixel(o.x() + x, o.y() + y); };

  struct Probe {
    const char *what;
    int x, y;
    bool black;
  };
  const Probe probes[] = {
      {"outline left", 0, h / 2, true},
      {"outline top", w / 2, 0, true},
      {"outline right", w + 1, h / 2, true},
      {"outline bottom", w / 2, h + 1, true},
      {"outline corner", 0, 0, true},
      {"sheet near the corner", 3, 3, false},
      {"sheet centre bottom", w / 2, h - 5, false},
      {"shadow right, first column", w + 2, h / 2, true},
      {"shadow right, second column", w + 3, h / 2, true},
      {"shadow right starts 2 down", w + 2, 2, true},
      {"shadow bottom, first row", w / 2, h + 2, true},
      {"shadow bottom, second row", w / 2, h + 3, true},
      {"shadow corner", w + 3, h + 3, true},
      {"no shadow beside the top", w + 2, 1, false},
      {"no shadow below the left edge", 1, h + 2, false},
      {"outside the image", -2, h / 2, false},
  };
  for (const Probe &p : probes) {
    const QRgb pixel = at(p.x, p.y);
    EXPECT_EQ(isBlack(pixel), p.black)
        << p.what << " at " << p.x << "," << p.y << " is " << QColor(pixel).name().toStdString();
  }
  EXPECT_TRUE(isWhite(at(3, 3)));
  EXPECT_TRUE(isWhite(at(w / 2, h - 5)));
  // The page is stretched over the sheet: page 1's block at (101..141, 200..220) of 794 x
  // 1123 device pixels lands at the same fraction of the sheet.
  const double sx = w / 794.0, sy = h / 1123.0;
  EXPECT_TRUE(isBlack(at(1 + int(121 * sx), 1 + int(210 * sy))));
  EXPECT_TRUE(isWhite(at(1 + int(121 * sx), 1 + int(250 * sy))));
}

} // namespace
} // namespace TDInvoice::Report::Testing
