// The platform printer's device settings as the report engine sees them: paper from the
// engine's paper table, lengths in native units (tenths of a millimetre), bins by code.
#pragma once

#include "TDInvoice/ReportComponent.h"
#include "report/ReportTypes.h"

#include <QPageSize>
#include <QPrinter>
#include <QString>
#include <set>

namespace TDInvoice::Report {

class TPrinterSettings {
public:
  // Binds to installed printer index (-1: the default printer). Without printers the
  // settings describe a PDF device.
  explicit TPrinterSettings(int printerIndex = -1);

  // A device described by its properties rather than read from an installed printer (hosts
  // and tests that simulate one). Custom is always among the supported sizes.
  static TPrinterSettings describe(const QString &device, std::set<TReportPaperSize> supported,
                                   TReportPaperSize current, bool duplexCapable = false,
                                   int currentBinValue = 7);

  static bool printerAvailable();
  static QStringList printerNames();

  QString device() const { return m_device; }
  QString driver() const { return m_driver; }
  QString port() const { return m_port; }
  int printerIndex() const { return m_index; }

  const std::set<TReportPaperSize> &supportedPaperSizes() const { return m_supported; }
  bool supports(TReportPaperSize paper) const;
  TReportPaperSize paperSize() const { return m_paper; }
  // Accepted only when the printer supports the paper; otherwise the current size stays.
  void setPaperSize(TReportPaperSize paper);
  double paperWidth() const; // portrait, native units
  double paperLength() const;
  void setPaperWidth(double native); // used with Custom
  void setPaperLength(double native);

  TReportOrientation orientation() const { return m_orientation; }
  void setOrientation(TReportOrientation orientation) { m_orientation = orientation; }
  int copies() const { return m_copies; }
  void setCopies(int copies);
  TReportBin outputBin() const { return m_bin; }
  // The platform bin value: the bin's code with the driver's extra bit 256 of the value the
  // printer had kept.
  int binValue() const { return m_binValue; }
  void setOutputBin(TReportBin bin);
  bool duplexCapable() const { return m_duplexCapable; }
  bool duplex() const { return m_duplex; }
  void setDuplex(bool on) { m_duplex = on && m_duplexCapable; }

  int dpiX() const { return m_dpiX; }
  int dpiY() const { return m_dpiY; }
  // Unprintable margins and the physical paper, native units (device dots / dpi x 254).
  int leftOffset() const { return m_leftOffset; }
  int topOffset() const { return m_topOffset; }
  int physicalWidth() const { return m_physicalWidth; }
  int physicalLength() const { return m_physicalLength; }

  // Hands the settings to printer (paper, copies, bin, duplex, orientation) and reads back
  // resolution and offsets.
  void apply(QPrinter &printer);
  void readDevice(const QPrinter &printer);

  // Qt's page size of a paper of the table (an invalid size for Default and Custom), and the
  // table's paper of a Qt page size (Custom when the table has none).
  static QPageSize pageSizeOf(TReportPaperSize paper);
  static TReportPaperSize paperOf(const QPageSize &size);
  static int binCode(TReportBin bin);
  static QPrinter::PaperSource paperSourceOf(int binCode);
  static QPrinter::DuplexMode horizontalDuplex();

private:
  struct Described {};
  explicit TPrinterSettings(Described) {}

  int m_index = -1;
  QString m_device, m_driver, m_port;
  std::set<TReportPaperSize> m_supported;
  TReportPaperSize m_paper = TReportPaperSize::A4;
  double m_customWidth = 2100, m_customLength = 2970;
  TReportOrientation m_orientation = TReportOrientation::poPortrait;
  int m_copies = 1;
  TReportBin m_bin = TReportBin::Auto;
  int m_binValue = 7;
  bool m_duplexCapable = false, m_duplex = false;
  int m_dpiX = 300, m_dpiY = 300;
  int m_leftOffset = 0, m_topOffset = 0, m_physicalWidth = 0, m_physicalLength = 0;
};

} // namespace TDInvoice::Report
