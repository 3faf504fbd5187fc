// The report commands: pdf, png, preview and print, each through the loaded library.
#include "host/HostCommand.h"
#include "host/InvoiceLibrary.h"
#include "host/demo/DemoDatabase.h"
#include "host/demo/DemoReportRun.h"
#include "host/demo/TerminalProgress.h"

#include <QApplication>
#include <QDir>
#include <QPrinterInfo>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <unistd.h>

namespace TDInvoice::Demo {
namespace {

using Host::THostCommandRegistration;
using Host::THostContext;

// The database a command reads: the one named, or the default, built on first use.
QString resolveDatabase(const TReportOptions &options, std::ostream &out) {
  if (!options.database.isEmpty())
    return options.database;
  bool built = false;
  const QString path = ensureDefaultDemoDatabase(&built);
  if (built)
    out << "built the demo database (first run): " << path.toStdString() << '\n';
  out << "database: " << path.toStdString() << '\n';
  return path;
}

// The high-water mark of this process's resident memory (VmHWM), in MiB; 0 when unknown.
// Read from /proc rather than getrusage, whose figure a spawned process inherits from the
// program that started it.
double peakResidentMiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0)
      return std::atof(line.c_str() + 6) / 1024.0;
  return 0;
}

// The printer index the report's settings take, or a message for a name that is not there.
int printerIndex(const QString &name, std::string &problem) {
  const QStringList names = QPrinterInfo::availablePrinterNames();
  if (names.isEmpty()) {
    problem = "no printer is installed (scripts/cups-setup.sh sets up a PDF printer)";
    return -1;
  }
  if (name.isEmpty())
    return -1;
  const auto at = names.indexOf(name);
  if (at < 0)
    problem = "no printer named \"" + name.toStdString() +
              "\"; installed: " + names.join(QStringLiteral(", ")).toStdString();
  return static_cast<int>(at);
}

void applyPrintOptions(TReportComponent &report, const TReportOptions &options, int index) {
  TReportPrinterSettingsValues settings = report.printerSettings();
  settings.PrinterIndex = index;
  if (options.copies)
    settings.Copies = options.copies;
  settings.FirstPage = options.firstPage;
  settings.LastPage = options.lastPage;
  report.setPrinterSettings(settings);
}

// Runs the command's output on a prepared report; returns what the user is told.
std::string produce(const TReportOptions &options, TDemoReportRun &run, int index) {
  TReportComponent &report = run.report();
  const QByteArray output = QDir::cleanPath(options.output).toLocal8Bit();
  switch (options.command) {
  case TReportCommand::Pdf:
    return "wrote " + output.toStdString() + ": " +
           std::to_string(report.exportTo(output.constData(), "pdf")) + " page(s)";
  case TReportCommand::Png:
    if (!QDir().mkpath(options.output))
      throw EDemoError("cannot create the folder " + output.toStdString());
    return "wrote " + std::to_string(report.exportTo(output.constData(), "png")) +
           " page(s) into " + output.toStdString();
  case TReportCommand::Preview:
    if (options.closeAfter)
      QTimer::singleShot(options.closeAfter, [] {
        for (QWidget *window : QApplication::topLevelWidgets())
          window->close();
      });
    report.preview();
    return "preview closed";
  case TReportCommand::Print:
    applyPrintOptions(report, options, index);
    report.print();
    return "sent to the printer";
  }
  return {};
}

int runReportCommand(TReportCommand command, THostContext &context) {
  const std::string name = commandName(command);
  std::string error;
  const std::optional<TReportOptions> options =
      parseReportOptions(command, context.arguments, error);
  if (!options) {
    context.err << "tdinvoice " << name << ": " << error << " (see: tdinvoice " << name
                << " --help)\n";
    return 2;
  }
  if (options->help) {
    printReportHelp(command, context.out);
    return 0;
  }
  try {
    int index = -1;
    if (command == TReportCommand::Print) {
      std::string problem;
      index = printerIndex(options->printer, problem);
      if (!problem.empty())
        throw EDemoError(problem);
    }
    const TReportRequest request{resolveDatabase(*options, context.out), options->variant,
                                 options->invoices, options->sort};
    TDemoReportRun run(context.library->CreateInvoiceReport, request);
    context.out << run.invoiceCount() << " invoice(s), variant " << options->variant->name << '\n';
    TTerminalProgress progress(context.err, run.invoiceCount(),
                               options->progress && isatty(STDERR_FILENO));
    run.report().setProgressCallback(&TTerminalProgress::callback, &progress);
    const std::string done = produce(*options, run, index);
    progress.finish();
    const double seconds = progress.elapsedSeconds();
    context.out << done << " in " << std::fixed << std::setprecision(2) << seconds << " s ("
                << std::setprecision(1) << run.invoiceCount() / std::max(seconds, 1e-6)
                << " invoices/s)\n";
    const std::int64_t left = run.release();
    if (const double peak = peakResidentMiB(); peak > 0)
      context.out << "peak resident memory: " << std::setprecision(1) << peak << " MiB\n";
    context.out << "report released; shared allocator blocks beyond the baseline: " << left << '\n';
    if (left != 0) {
      context.err << "tdinvoice " << name << ": the report left " << left
                  << " shared allocator block(s) behind\n";
      return 1;
    }
    return 0;
  } catch (const EDemoError &problem) {
    context.err << "tdinvoice " << name << ": " << problem.what() << '\n';
  } catch (const Exception &failure) {
    context.err << "tdinvoice " << name << ": the report failed: " << failure.what() << '\n';
  }
  return 1;
}

int runPdf(THostContext &context) { return runReportCommand(TReportCommand::Pdf, context); }
int runPng(THostContext &context) { return runReportCommand(TReportCommand::Png, context); }
int runPreview(THostContext &context) { return runReportCommand(TReportCommand::Preview, context); }
int runPrint(THostContext &context) { return runReportCommand(TReportCommand::Print, context); }

const THostCommandRegistration pdfCommand(
    {"pdf", "OUT.pdf [--db FILE] [--variant V] [--invoices SQL] [--sort F]: invoices to a PDF",
     true, runPdf});
const THostCommandRegistration
    pngCommand({"png", "DIR [same options as pdf]: one PNG file per page", true, runPng});
const THostCommandRegistration
    previewCommand({"preview", "[same options as pdf]: show the invoices in the preview window",
                    true, runPreview});
const THostCommandRegistration printCommand(
    {"print", "[--printer NAME] [--copies N] [--first P --last P] [options]: print them", true,
     runPrint});

} // namespace
} // namespace TDInvoice::Demo
