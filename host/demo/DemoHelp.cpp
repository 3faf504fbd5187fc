// Help for the report commands, written for someone trying the program for the first time.
#include "host/demo/DemoDatabase.h"
#include "host/demo/DemoOptions.h"

#include <iomanip>

namespace TDInvoice::Demo {
namespace {

void printUsageLine(TReportCommand command, std::ostream &out) {
  out << "Usage: tdinvoice " << commandName(command);
  switch (command) {
  case TReportCommand::Pdf:
    out << " OUT.pdf [OPTIONS]\n\nWrites every selected invoice into one PDF file.\n";
    break;
  case TReportCommand::Png:
    out << " DIR [OPTIONS]\n\nWrites every page as DIR/page-0001.png, page-0002.png, ... "
           "(the folder is created when missing).\n";
    break;
  case TReportCommand::Preview:
    out << " [OPTIONS] [--close-after MS]\n\nShows the invoices in the preview window "
           "(needs a display); returns when the window is closed.\n"
           "--close-after MS closes it by itself after MS milliseconds.\n";
    break;
  case TReportCommand::Print:
    out << " [OPTIONS] [--printer NAME] [--copies N] [--first P --last P]\n\n"
           "Prints the invoices: on NAME (default: the system's default printer), N copies,\n"
           "only pages P to P when --first/--last are given.\n";
    break;
  }
}

} // namespace

void printReportHelp(TReportCommand command, std::ostream &out) {
  printUsageLine(command, out);
  out << "\nOptions:\n"
         "  --db FILE          the SQLite database to read. Default: the demo database,\n"
         "                     built on first use from the SQL shipped with the program, at\n"
         "                     "
      << defaultDemoDatabasePath().toStdString()
      << "\n"
         "                     (folder: $TDINVOICE_DEMO_DIR, else $XDG_CACHE_HOME/tdinvoice,\n"
         "                     else ~/.cache/tdinvoice). Make other sizes with demo-db.\n"
         "  --variant NAME     the payment slip at the bottom of each invoice:\n";
  for (const TDemoVariant &variant : demoVariants())
    out << "                       " << std::left << std::setw(11) << variant.name << variant.slip
        << '\n';
  out << "  --invoices CLAUSE  which invoices: SQL that follows \"FROM Invoices\", e.g.\n"
         "                     \"WHERE InvoiceNo BETWEEN 40001 AND 40005\" or \"WHERE CloseBal > "
         "0\"\n"
         "  --sort FIELDS      their order: InvoiceNo, IssueDT, CloseBal, CloseDate or ParentID,\n"
         "                     each optionally followed by ASC or DESC, e.g. \"CloseBal DESC\"\n"
         "  --no-progress      no progress bar (it is drawn only when writing to a terminal)\n"
         "\nExamples:\n"
         "  tdinvoice pdf invoices.pdf\n"
         "  tdinvoice pdf owing.pdf --variant bpay --invoices \"WHERE CloseBal > 0\" --sort "
         "\"CloseBal DESC\"\n"
         "  tdinvoice demo-db --families 500 --out big.sqlite\n"
         "  tdinvoice pdf big.pdf --db big.sqlite\n"
         "\nExit status: 0 done, 1 failed (missing database, bad SQL, report error), 2 bad "
         "command line.\n";
}

} // namespace TDInvoice::Demo
