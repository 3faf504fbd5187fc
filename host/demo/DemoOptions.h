// The command lines of the report commands (pdf, png, preview, print) and their help.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace TDInvoice::Demo {

// A report variant by name, and the CreateInvoiceReport arguments that choose it.
struct TDemoVariant {
  const char *name;
  std::int32_t PaymentType;
  std::int16_t WithCard;
  std::int16_t Extended;
  const char *slip;
};

std::span<const TDemoVariant> demoVariants();
const TDemoVariant *findVariant(const std::string &name);

enum class TReportCommand { Pdf, Png, Preview, Print };

struct TReportOptions {
  TReportCommand command = TReportCommand::Pdf;
  bool help = false;
  QString database; // empty: the default demo database
  const TDemoVariant *variant = &demoVariants()[0];
  QString invoices; // SQL after "FROM Invoices"
  QString sort;
  bool progress = true;
  QString output; // pdf: the file; png: the folder
  // print
  QString printer;
  int copies = 0; // 0: as the report stores it
  int firstPage = 0, lastPage = 0;
  // preview: close the window after this many milliseconds (0: the user closes it)
  int closeAfter = 0;
};

// Reads the arguments after the command name; nullopt with error set for a bad command line.
std::optional<TReportOptions> parseReportOptions(TReportCommand command,
                                                 const std::vector<std::string> &arguments,
                                                 std::string &error);

const char *commandName(TReportCommand command);
void printReportHelp(TReportCommand command, std::ostream &out);

// The invoice rows the commands load: "SELECT InvoiceNo, ... FROM Invoices" and the clause.
QString invoiceSql(const QString &clause);

// Checks a sort text against the invoice rows' fields; an empty result means it is fine.
std::string sortProblem(const QString &sort);

} // namespace TDInvoice::Demo
