// The application and screen objects that a host hands to the invoice library.
//
// Both are plain inline classes so that a host can build them without linking anything of
// the library. While the host's objects are installed (between InitInvoiceDLL and
// FinaliseInvoiceDLL), every form the library creates belongs to the host's application and
// measures with the host's screen. The library's own objects carry no Qt application: only
// one QCoreApplication may exist in a process, and the library never creates it.
#pragma once

class QCoreApplication;
class QScreen;

namespace TDInvoice {

class TApplication {
public:
  explicit TApplication(QCoreApplication *application = nullptr) : FApplication(application) {}

  // The Qt application whose event loop runs the forms; null for the library's own object.
  QCoreApplication *qtApplication() const { return FApplication; }

private:
  QCoreApplication *FApplication;
};

class TScreen {
public:
  static constexpr int DefaultPixelsPerInch = 96;

  explicit TScreen(QScreen *screen = nullptr, int pixelsPerInch = DefaultPixelsPerInch)
      : FScreen(screen), FPixelsPerInch(pixelsPerInch) {}

  // The logical resolution that layouts in pixels are converted with.
  int pixelsPerInch() const { return FPixelsPerInch; }
  // The Qt screen behind this object; may be null (offscreen, or the library's own object).
  QScreen *qtScreen() const { return FScreen; }

private:
  QScreen *FScreen;
  int FPixelsPerInch;
};

} // namespace TDInvoice
