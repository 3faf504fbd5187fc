// The report component a host drives: print, preview, export, printer settings and title.
#pragma once

#include "TDInvoice/ReportComponent.h"
#include "report/engine/CustomReport.h"

#include <QByteArray>
#include <functional>
#include <memory>

namespace TDInvoice::Report {

class TReportPrinterClient;

class TReport : public TCustomReport, public TDInvoice::TReportComponent {
public:
  using TPreviewHandler = std::function<void(TReport &)>;
  // Makes the progress window shown while printing (as the device's client).
  using TProgressWindowFactory =
      std::function<std::unique_ptr<TReportPrinterClient>(TReport &, TReportPrinter &)>;

  explicit TReport(QObject *owner = nullptr);
  ~TReport() override;

  // Runs onto a fresh printer device; nothing happens when no printer is installed.
  void print() override;
  // Hands the report to the installed preview window; without one raises EReportError
  // "No preview window is available".
  void preview() override;
  // Runs into a recorded page store and writes "pdf", "png" (FileName a folder) or "qrp"
  // (the saved store). Returns the number of pages written.
  std::int32_t exportTo(const char *FileName, const char *Format) override;

  TReportPrinterSettingsValues printerSettings() const override;
  void setPrinterSettings(const TReportPrinterSettingsValues &Settings) override;
  const char *reportTitle() const override;
  using TCustomReport::setReportTitle;
  void setReportTitle(const char *Title) override;
  bool showProgress() const override { return ShowProgress(); }
  void setShowProgress(bool Show) override { TCustomReport::setShowProgress(Show); }
  void setProgressCallback(TProgressCallback Callback, void *Context) override;

  void setPreviewHandler(TPreviewHandler handler) { m_previewHandler = std::move(handler); }
  void setProgressWindowFactory(TProgressWindowFactory factory) {
    m_progressWindow = std::move(factory);
  }
  // Runs the report into a new recording device and hands it over (a preview keeps it).
  std::unique_ptr<TReportPrinter> record();

private:
  TPreviewHandler m_previewHandler;
  TProgressWindowFactory m_progressWindow;
  mutable QByteArray m_titleText;
};

} // namespace TDInvoice::Report
