#include "report/preview/ReportPreviewer.h"

#include "report/engine/Report.h"
#include "report/output/MetaPage.h"
#include "report/output/ReportPrinter.h"
#include "report/preview/PreviewWindow.h"
#include "report/preview/ProgressWindow.h"

#include <QEventLoop>

namespace TDInvoice::Report {

TReportPreviewer::TReportPreviewer(TReport &report) : m_report(&report) {
  report.setPreviewHandler([this](TReport &r) { preview(r); });
  report.setProgressWindowFactory(
      [](TReport &, TReportPrinter &device) -> std::unique_ptr<TReportPrinterClient> {
        auto window = std::make_unique<TProgressWindow>(device);
        window->show();
        return window;
      });
}

TReportPreviewer::~TReportPreviewer() {
  if (m_window)
    m_window->close();
  if (m_report) {
    m_report->setPreviewHandler({});
    m_report->setProgressWindowFactory({});
  }
}

// The run processes window events between its iterations, so the window shows pages while
// they are recorded and may close before the run ends; the device outlives the run.
void TReportPreviewer::preview(TReport &report) {
  if (m_window) {
    m_window->raise();
    return;
  }
  auto device = std::make_unique<TReportPrinter>(TPrinterDestination::Record);
  device->setTitle(report.ReportTitle());
  QPointer<TReport> guarded(&report);
  device->setReprintHandler([guarded] {
    if (guarded)
      guarded->print();
  });
  TPreviewWindow window(*device);
  m_window = &window;
  m_thumbnail.reset();
  window.setPagesAvailableHandler([this, &window](int count) {
    if (count >= 1 && !m_thumbnail) {
      try {
        m_thumbnail = window.device().getPage(1);
      } catch (const std::exception &) {
        // an unreadable page has no thumbnail; the window says why
      }
    }
  });
  window.setClosedHandler([guarded] {
    if (guarded && guarded->running())
      guarded->cancel();
  });
  if (m_windowHook)
    m_windowHook(window);
  window.open();
  window.runStarting();
  struct Detach {
    TReportPreviewer &self;
    TPreviewWindow &window;
    ~Detach() {
      window.close();
      self.m_window = nullptr;
    }
  } detach{*this, window};
  report.run(*device);
  if (device->status() == TPrinterStatus::Ready)
    window.runEnded();
  if (!window.closed())
    waitForClose(window);
  if (guarded && guarded->AfterPreview)
    guarded->AfterPreview(guarded.data());
}

void TReportPreviewer::waitForClose(TPreviewWindow &window) {
  QEventLoop loop;
  window.setClosedHandler([&loop] { loop.quit(); });
  loop.exec();
}

} // namespace TDInvoice::Report
