#include "report/engine/Report.h"

#include "TDInvoice/Exceptions.h"
#include "report/output/Exporters.h"
#include "report/output/PrinterSettings.h"
#include "report/output/ReportPrinter.h"

namespace TDInvoice::Report {

TReport::TReport(QObject *owner) : TCustomReport(owner) {}

TReport::~TReport() = default;

void TReport::print() {
  if (!TPrinterSettings::printerAvailable())
    return;
  TReportPrinter device(TPrinterDestination::Direct);
  std::unique_ptr<TReportPrinterClient> progress;
  if (ShowProgress() && m_progressWindow) {
    progress = m_progressWindow(*this, device);
    device.setClient(progress.get());
  }
  run(device);
  device.setClient(nullptr);
}

void TReport::preview() {
  if (!m_previewHandler)
    throw EReportError("No preview window is available");
  m_previewHandler(*this);
}

std::unique_ptr<TReportPrinter> TReport::record() {
  auto device = std::make_unique<TReportPrinter>(TPrinterDestination::Record);
  run(*device);
  return device;
}

std::int32_t TReport::exportTo(const char *FileName, const char *Format) {
  const QString fileName = QString::fromLocal8Bit(FileName ? FileName : "");
  const QString format = QString::fromLatin1(Format ? Format : "").toLower();
  if (format != QLatin1String("pdf") && format != QLatin1String("png") &&
      format != QLatin1String("qrp"))
    throw EReportError(QStringLiteral("Unknown export format \"%1\"")
                           .arg(QString::fromLatin1(Format))
                           .toStdString());
  std::unique_ptr<TReportPrinter> device = record();
  if (device->status() == TPrinterStatus::Ready)
    return 0; // BeforePrint declined: nothing was output
  if (format == QLatin1String("pdf"))
    return exportPdf(*device->pageStore(), fileName, ReportTitle());
  if (format == QLatin1String("png"))
    return exportPng(*device->pageStore(), fileName);
  device->saveToFile(fileName);
  return device->availablePages();
}

TReportPrinterSettingsValues TReport::printerSettings() const { return PrinterSettings(); }

void TReport::setPrinterSettings(const TReportPrinterSettingsValues &Settings) {
  static_cast<TReportPrinterSettingsValues &>(PrinterSettings()) = Settings;
}

const char *TReport::reportTitle() const {
  m_titleText = ReportTitle().toLatin1();
  return m_titleText.constData();
}

void TReport::setReportTitle(const char *Title) {
  TCustomReport::setReportTitle(QString::fromLatin1(Title ? Title : ""));
}

void TReport::setProgressCallback(TProgressCallback Callback, void *Context) {
  if (!Callback) {
    setProgressHandler({});
    return;
  }
  setProgressHandler([Callback, Context](int percent) { Callback(Context, percent); });
}

} // namespace TDInvoice::Report
