#include "report/preview/ProgressWindow.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace TDInvoice::Report {

TProgressWindow::TProgressWindow(TReportPrinter &device, QWidget *parent)
    : QDialog(parent), m_device(device), m_bar(new QProgressBar(this)),
      m_information(new QLabel(this)), m_cancel(new QPushButton(QStringLiteral("Cancel"), this)) {
  setWindowTitle(QStringLiteral("Printing progress"));
  m_bar->setRange(0, 100);
  m_bar->setValue(0);
  m_bar->setTextVisible(false);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(m_bar);
  layout->addWidget(m_information);
  layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
  connect(m_cancel, &QPushButton::clicked, this, [this] { m_device.cancel(); });
}

TProgressWindow::~TProgressWindow() {
  if (m_device.client() == this)
    m_device.setClient(nullptr);
}

void TProgressWindow::progressChanged(int percent) {
  if (percent % 5 != 0)
    return;
  m_bar->setValue(percent);
  m_information->setText(QString::number(percent) + QStringLiteral("% ") +
                         QStringLiteral(" Completed"));
}

void TProgressWindow::pagesAvailable(int) {}

void TProgressWindow::documentFinished() { m_cancel->setEnabled(false); }

} // namespace TDInvoice::Report
