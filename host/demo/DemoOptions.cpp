#include "host/demo/DemoOptions.h"

#include "host/demo/DemoDatabase.h"

#include <QStringList>

#include <charconv>

namespace TDInvoice::Demo {
namespace {

constexpr TDemoVariant kVariants[] = {
    {"standard", 1, 0, 0, "tick boxes for cash, cheque, direct credit and card (default)"},
    {"extend", 1, 0, 1, "as standard, the fees titled \"New Charges\""},
    {"creditcard", 2, 0, 0, "with a credit card payment authority"},
    {"extendcc", 2, 0, 1, "as creditcard, the fees titled \"New Charges\""},
    {"bpay", 3, 0, 0, "with a BPAY block: biller code and customer reference"},
    {"bpaycc", 3, 1, 0, "as bpay, also for payments from a credit card account"},
};

constexpr const char *kInvoiceFields[] = {"InvoiceNo", "IssueDT", "CloseBal", "CloseDate",
                                          "ParentID"};

bool parsePositive(const std::string &text, int &value) {
  const char *end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && at == end && value > 0;
}

class TReader {
public:
  TReader(const std::vector<std::string> &arguments) : FArguments(arguments) {}
  bool done() const { return FAt >= FArguments.size(); }
  // The next argument; an option given as --name=value is split into name and pending value.
  std::string next() {
    std::string argument = FArguments[FAt++];
    FPending.reset();
    if (argument.rfind("--", 0) == 0)
      if (const auto equals = argument.find('='); equals != std::string::npos) {
        FPending = argument.substr(equals + 1);
        argument.resize(equals);
      }
    return argument;
  }
  bool value(const std::string &option, std::string &value, std::string &error) {
    if (FPending) {
      value = *FPending;
      FPending.reset();
      return true;
    }
    if (done()) {
      error = option + " needs a value";
      return false;
    }
    value = FArguments[FAt++];
    return true;
  }
  bool hasPendingValue() const { return FPending.has_value(); }

private:
  const std::vector<std::string> &FArguments;
  std::size_t FAt = 0;
  std::optional<std::string> FPending;
};

bool readCommonOption(const std::string &option, TReader &reader, TReportOptions &options,
                      std::string &error, bool &known) {
  known = true;
  std::string value;
  if (option == "--db" || option == "--invoices" || option == "--sort" || option == "--variant") {
    if (!reader.value(option, value, error))
      return false;
    const QString text = QString::fromLocal8Bit(value.c_str());
    if (option == "--db")
      options.database = text;
    else if (option == "--invoices")
      options.invoices = text;
    else if (option == "--sort")
      options.sort = text;
    else if (!(options.variant = findVariant(value))) {
      error = "unknown variant \"" + value +
              "\" (standard, extend, creditcard, extendcc, bpay or bpaycc)";
      return false;
    }
    return true;
  }
  if (option == "--no-progress") {
    options.progress = false;
    return true;
  }
  known = false;
  return true;
}

bool readNumber(const std::string &option, TReader &reader, int &target, std::string &error) {
  std::string value;
  if (!reader.value(option, value, error))
    return false;
  if (!parsePositive(value, target)) {
    error = option + " needs a whole number of 1 or more, not \"" + value + "\"";
    return false;
  }
  return true;
}

bool readCommandOption(const std::string &option, TReader &reader, TReportOptions &options,
                       std::string &error, bool &known) {
  known = true;
  if (options.command == TReportCommand::Print) {
    if (option == "--printer") {
      std::string value;
      if (!reader.value(option, value, error))
        return false;
      options.printer = QString::fromLocal8Bit(value.c_str());
      return true;
    }
    if (option == "--copies")
      return readNumber(option, reader, options.copies, error);
    if (option == "--first")
      return readNumber(option, reader, options.firstPage, error);
    if (option == "--last")
      return readNumber(option, reader, options.lastPage, error);
  }
  if (options.command == TReportCommand::Preview && option == "--close-after")
    return readNumber(option, reader, options.closeAfter, error);
  known = false;
  return true;
}

bool needsOutput(TReportCommand command) {
  return command == TReportCommand::Pdf || command == TReportCommand::Png;
}

bool checkComplete(TReportOptions &options, std::string &error) {
  if (options.help)
    return true;
  if (needsOutput(options.command) && options.output.isEmpty()) {
    error = options.command == TReportCommand::Pdf ? "the PDF file to write is missing"
                                                   : "the folder to write the pages to is missing";
    return false;
  }
  if (options.firstPage && options.lastPage && options.firstPage > options.lastPage) {
    error = "--first must not come after --last";
    return false;
  }
  return true;
}

} // namespace

std::span<const TDemoVariant> demoVariants() { return kVariants; }

const TDemoVariant *findVariant(const std::string &name) {
  for (const TDemoVariant &variant : kVariants)
    if (name == variant.name)
      return &variant;
  return nullptr;
}

const char *commandName(TReportCommand command) {
  switch (command) {
  case TReportCommand::Png:
    return "png";
  case TReportCommand::Preview:
    return "preview";
  case TReportCommand::Print:
    return "print";
  case TReportCommand::Pdf:
    break;
  }
  return "pdf";
}

std::optional<TReportOptions> parseReportOptions(TReportCommand command,
                                                 const std::vector<std::string> &arguments,
                                                 std::string &error) {
  TReportOptions options;
  options.command = command;
  TReader reader(arguments);
  while (!reader.done()) {
    const std::string argument = reader.next();
    bool known = false;
    if (argument == "--help" || argument == "-h") {
      options.help = true;
      continue;
    }
    if (!readCommonOption(argument, reader, options, error, known))
      return std::nullopt;
    if (!known && !readCommandOption(argument, reader, options, error, known))
      return std::nullopt;
    if (known)
      continue;
    if (argument.rfind("-", 0) == 0 && argument.size() > 1) {
      error = "unknown option " + argument;
      return std::nullopt;
    }
    if (!needsOutput(command) || !options.output.isEmpty()) {
      error = "unexpected argument \"" + argument + "\"";
      return std::nullopt;
    }
    options.output = QString::fromLocal8Bit(argument.c_str());
  }
  if (!checkComplete(options, error))
    return std::nullopt;
  return options;
}

QString invoiceSql(const QString &clause) {
  QString sql =
      QStringLiteral("SELECT InvoiceNo, IssueDT, CloseBal, CloseDate, ParentID FROM Invoices");
  const QString trimmed = clause.trimmed();
  if (!trimmed.isEmpty())
    sql += u' ' + trimmed;
  return sql;
}

std::string sortProblem(const QString &sort) {
  const QStringList items = sort.split(u',');
  for (const QString &item : items) {
    const QStringList words = item.simplified().split(u' ', Qt::SkipEmptyParts);
    if (words.isEmpty())
      return "an empty field in \"" + sort.toStdString() + "\"";
    bool known = false;
    for (const char *field : kInvoiceFields)
      known = known || words[0].compare(QLatin1String(field), Qt::CaseInsensitive) == 0;
    if (!known)
      return "unknown field \"" + words[0].toStdString() +
             "\" (the invoices sort by InvoiceNo, IssueDT, CloseBal, CloseDate or ParentID)";
    if (words.size() > 2 ||
        (words.size() == 2 && words[1].compare(QLatin1String("ASC"), Qt::CaseInsensitive) != 0 &&
         words[1].compare(QLatin1String("DESC"), Qt::CaseInsensitive) != 0))
      return QStringLiteral("\"%1\" is not a field followed by ASC or DESC")
          .arg(item.trimmed())
          .toStdString();
  }
  return {};
}

} // namespace TDInvoice::Demo
