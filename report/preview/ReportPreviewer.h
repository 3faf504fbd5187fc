// Gives a report its preview and progress windows: installs itself as the report's preview
// handler and progress-window maker, and answers the notifications of the preview's device
// (page 1 available: kept as the report's thumbnail; print request: the report prints;
// preview closed: the run is cancelled if it is still going). Uninstalls itself when freed;
// it must outlive any preview it is showing.
#pragma once

#include <QPointer>
#include <functional>
#include <memory>

namespace TDInvoice::Report {

class TMetaPage;
class TPreviewWindow;
class TReport;

class TReportPreviewer {
public:
  using TWindowHook = std::function<void(TPreviewWindow &)>;

  explicit TReportPreviewer(TReport &report);
  ~TReportPreviewer();
  TReportPreviewer(const TReportPreviewer &) = delete;
  TReportPreviewer &operator=(const TReportPreviewer &) = delete;

  // Called with each new preview window before the run begins (to replace its dialogs).
  void setWindowHook(TWindowHook hook) { m_windowHook = std::move(hook); }
  // Whether a preview window is open, and which.
  TPreviewWindow *window() const { return m_window; }
  // Page 1 of the last preview, or nullptr.
  const TMetaPage *thumbnail() const { return m_thumbnail.get(); }

private:
  void preview(TReport &report);
  void waitForClose(TPreviewWindow &window);

  QPointer<TReport> m_report;
  TWindowHook m_windowHook;
  TPreviewWindow *m_window = nullptr;
  std::unique_ptr<TMetaPage> m_thumbnail;
};

} // namespace TDInvoice::Report
