#include "report/output/PrinterSettings.h"

#include <QPrinterInfo>
#include <array>
#include <cmath>

namespace TDInvoice::Report {

namespace {

constexpr int kUserBinBit = 256;

int nativeOf(double dots, int dpi) {
  return dpi > 0 ? static_cast<int>(roundHalfEven(dots / dpi * kNativePerInch)) : 0;
}

QList<QPrinterInfo> installedPrinters() { return QPrinterInfo::availablePrinters(); }

QPrinterInfo printerAt(int index) {
  const auto printers = installedPrinters();
  if (index >= 0 && index < printers.size())
    return printers[index];
  return QPrinterInfo::defaultPrinter();
}

bool sameSize(const QSizeF &a, const QSizeF &b) {
  return std::abs(a.width() - b.width()) < 1.0 && std::abs(a.height() - b.height()) < 1.0;
}

} // namespace

TPrinterSettings::TPrinterSettings(int printerIndex) : m_index(printerIndex) {
  const QPrinterInfo info = printerAt(printerIndex);
  m_supported.insert(TReportPaperSize::Custom);
  if (info.isNull()) {
    // No printer: a PDF device takes every paper.
    m_device = QStringLiteral("PDF");
    for (int p = int(TReportPaperSize::Letter); p < int(TReportPaperSize::Custom); ++p)
      m_supported.insert(static_cast<TReportPaperSize>(p));
    return;
  }
  m_device = info.printerName();
  m_driver = info.makeAndModel();
  m_port = info.location();
  const auto sizes = info.supportedPageSizes();
  for (int p = int(TReportPaperSize::Letter); p < int(TReportPaperSize::Custom); ++p) {
    const auto paper = static_cast<TReportPaperSize>(p);
    const QSizeF mm = paperSizeMM(paper);
    for (const QPageSize &size : sizes)
      if (size.id() == pageSizeOf(paper).id() || sameSize(size.size(QPageSize::Millimeter), mm)) {
        m_supported.insert(paper);
        break;
      }
  }
  const auto duplexModes = info.supportedDuplexModes();
  m_duplexCapable = duplexModes.contains(QPrinter::DuplexLongSide) ||
                    duplexModes.contains(QPrinter::DuplexShortSide);
  m_duplex = m_duplexCapable && info.defaultDuplexMode() != QPrinter::DuplexNone;
  const QPageSize current = info.defaultPageSize();
  m_paper = paperOf(current);
  const QSizeF mm = current.size(QPageSize::Millimeter);
  m_customWidth = mm.width() * 10;
  m_customLength = mm.height() * 10;
}

TPrinterSettings TPrinterSettings::describe(const QString &device,
                                            std::set<TReportPaperSize> supported,
                                            TReportPaperSize current, bool duplexCapable,
                                            int currentBinValue) {
  TPrinterSettings settings{Described{}};
  settings.m_device = device;
  settings.m_supported = std::move(supported);
  settings.m_supported.insert(TReportPaperSize::Custom);
  settings.m_supported.erase(TReportPaperSize::Default);
  settings.m_paper = current;
  settings.m_duplexCapable = duplexCapable;
  settings.m_binValue = currentBinValue;
  return settings;
}

bool TPrinterSettings::printerAvailable() { return !installedPrinters().isEmpty(); }

QStringList TPrinterSettings::printerNames() { return QPrinterInfo::availablePrinterNames(); }

bool TPrinterSettings::supports(TReportPaperSize paper) const {
  return paper == TReportPaperSize::Default || m_supported.count(paper) > 0;
}

void TPrinterSettings::setPaperSize(TReportPaperSize paper) {
  if (paper != TReportPaperSize::Default && supports(paper))
    m_paper = paper;
}

double TPrinterSettings::paperWidth() const {
  const QSizeF mm = paperSizeMM(m_paper);
  return mm.isEmpty() ? m_customWidth : mm.width() * 10;
}

double TPrinterSettings::paperLength() const {
  const QSizeF mm = paperSizeMM(m_paper);
  return mm.isEmpty() ? m_customLength : mm.height() * 10;
}

void TPrinterSettings::setPaperWidth(double native) {
  if (native > 0)
    m_customWidth = native;
}

void TPrinterSettings::setPaperLength(double native) {
  if (native > 0)
    m_customLength = native;
}

void TPrinterSettings::setCopies(int copies) { m_copies = std::max(1, copies); }

void TPrinterSettings::setOutputBin(TReportBin bin) {
  m_bin = bin;
  m_binValue = binCode(bin) | (m_binValue & kUserBinBit);
}

void TPrinterSettings::apply(QPrinter &printer) {
  if (m_paper == TReportPaperSize::Custom)
    printer.setPageSize(QPageSize(QSizeF(m_customWidth / 10, m_customLength / 10),
                                  QPageSize::Millimeter, QStringLiteral("Custom"),
                                  QPageSize::ExactMatch));
  else
    printer.setPageSize(pageSizeOf(m_paper));
  printer.setPageOrientation(m_orientation == TReportOrientation::poLandscape
                                 ? QPageLayout::Landscape
                                 : QPageLayout::Portrait);
  printer.setCopyCount(m_copies);
  printer.setPaperSource(paperSourceOf(m_binValue & ~kUserBinBit));
  printer.setDuplex(m_duplexCapable && m_duplex ? horizontalDuplex() : QPrinter::DuplexNone);
  readDevice(printer);
}

void TPrinterSettings::readDevice(const QPrinter &printer) {
  m_dpiX = printer.logicalDpiX();
  m_dpiY = printer.logicalDpiY();
  const QPageLayout layout = printer.pageLayout();
  const QRect full = layout.fullRectPixels(printer.resolution());
  const QRect paint = layout.paintRectPixels(printer.resolution());
  m_leftOffset = nativeOf(paint.left() - full.left(), m_dpiX);
  m_topOffset = nativeOf(paint.top() - full.top(), m_dpiY);
  m_physicalWidth = nativeOf(full.width(), m_dpiX);
  m_physicalLength = nativeOf(full.height(), m_dpiY);
}

// The table's ordinals are the platform's paper codes, which Qt maps to its page sizes.
QPageSize TPrinterSettings::pageSizeOf(TReportPaperSize paper) {
  if (paper == TReportPaperSize::Default || paper == TReportPaperSize::Custom)
    return {};
  const QPageSize platform(QPageSize::id(paperCode(paper)));
  if (platform.isValid() && platform.id() != QPageSize::Custom)
    return platform;
  // A code Qt cannot name (Folio): the table's size.
  return QPageSize(paperSizeMM(paper), QPageSize::Millimeter);
}

TReportPaperSize TPrinterSettings::paperOf(const QPageSize &size) {
  if (!size.isValid())
    return TReportPaperSize::Custom;
  for (int p = int(TReportPaperSize::Letter); p < int(TReportPaperSize::Custom); ++p)
    if (size.id() != QPageSize::Custom &&
        pageSizeOf(static_cast<TReportPaperSize>(p)).id() == size.id())
      return static_cast<TReportPaperSize>(p);
  const QSizeF mm = size.size(QPageSize::Millimeter);
  for (int p = int(TReportPaperSize::Letter); p < int(TReportPaperSize::Custom); ++p)
    if (sameSize(paperSizeMM(static_cast<TReportPaperSize>(p)), mm))
      return static_cast<TReportPaperSize>(p);
  return TReportPaperSize::Custom;
}

int TPrinterSettings::binCode(TReportBin bin) { return static_cast<int>(bin); }

QPrinter::PaperSource TPrinterSettings::paperSourceOf(int code) {
  static constexpr std::array<QPrinter::PaperSource, 15> kSources{
      QPrinter::Auto,    QPrinter::Upper,       QPrinter::Lower,          QPrinter::Middle,
      QPrinter::Manual,  QPrinter::Envelope,    QPrinter::EnvelopeManual, QPrinter::Auto,
      QPrinter::Tractor, QPrinter::SmallFormat, QPrinter::LargeFormat,    QPrinter::LargeCapacity,
      QPrinter::Auto,    QPrinter::Auto,        QPrinter::Cassette};
  if (code < 0 || code >= static_cast<int>(kSources.size()))
    return QPrinter::Auto;
  return kSources[static_cast<std::size_t>(code)];
}

// The platform's horizontal duplex is short-edge binding, whatever the orientation.
QPrinter::DuplexMode TPrinterSettings::horizontalDuplex() { return QPrinter::DuplexShortSide; }

} // namespace TDInvoice::Report
