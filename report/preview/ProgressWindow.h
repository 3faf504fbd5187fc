// The window shown while a report prints: a bar, a line saying how far the run is, and a
// button that cancels through the output device. Cancelling there lets the run end
// normally, so the pages done so far are still printed.
#pragma once

#include "report/output/ReportPrinter.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace TDInvoice::Report {

class TProgressWindow : public QDialog, public TReportPrinterClient {
public:
  explicit TProgressWindow(TReportPrinter &device, QWidget *parent = nullptr);
  ~TProgressWindow() override;

  // Only multiples of 5 move the bar and the text ("25%  Completed").
  void progressChanged(int percent) override;
  void pagesAvailable(int count) override;
  void documentFinished() override;

  QProgressBar *bar() const { return m_bar; }
  QLabel *information() const { return m_information; }
  QPushButton *cancelButton() const { return m_cancel; }

private:
  TReportPrinter &m_device;
  QProgressBar *m_bar;
  QLabel *m_information;
  QPushButton *m_cancel;
};

} // namespace TDInvoice::Report
