// demo-db: writes a demo database (or its SQL) of any number of families.
#include "TDInvoice/Exceptions.h"
#include "host/HostCommand.h"
#include "host/demo/DemoDatabase.h"
#include "host/demo/DemoGenerator.h"

#include <QFile>

#include <charconv>
#include <chrono>
#include <iomanip>
#include <optional>

namespace TDInvoice::Demo {
namespace {

using Host::THostCommandRegistration;
using Host::THostContext;

struct TDemoDbOptions {
  bool help = false;
  int families = 0;
  std::uint64_t seed = kDefaultDemoSeed;
  QString out;
  QString sql;
};

template <class T> bool parseWhole(const std::string &text, T &value) {
  const char *end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && at == end;
}

std::optional<TDemoDbOptions> parseDemoDbOptions(const std::vector<std::string> &arguments,
                                                 std::string &error) {
  TDemoDbOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string &option = arguments[i];
    if (option == "--help" || option == "-h") {
      options.help = true;
      continue;
    }
    if (option != "--families" && option != "--seed" && option != "--out" && option != "--sql") {
      error = "unknown argument \"" + option + "\"";
      return std::nullopt;
    }
    if (i + 1 >= arguments.size()) {
      error = option + " needs a value";
      return std::nullopt;
    }
    const std::string &value = arguments[++i];
    if (option == "--families" && (!parseWhole(value, options.families) || options.families < 1 ||
                                   options.families > kMaxDemoFamilies)) {
      error = "--families needs a number from 1 to " + std::to_string(kMaxDemoFamilies) +
              ", not \"" + value + "\"";
      return std::nullopt;
    }
    if (option == "--seed" && !parseWhole(value, options.seed)) {
      error = "--seed needs a whole number, not \"" + value + "\"";
      return std::nullopt;
    }
    if (option == "--out")
      options.out = QString::fromLocal8Bit(value.c_str());
    if (option == "--sql")
      options.sql = QString::fromLocal8Bit(value.c_str());
  }
  if (!options.help && options.families == 0) {
    error = "--families N is missing";
    return std::nullopt;
  }
  return options;
}

void printDemoDbHelp(std::ostream &out) {
  out << "Usage: tdinvoice demo-db --families N [--out FILE] [--sql FILE] [--seed S]\n\n"
         "Writes a demo database with N families (1 to "
      << kMaxDemoFamilies
      << "): one invoice per family, with six weeks of\n"
         "account history, two weeks of pending attendances, notes, absences and funding.\n"
         "The same N and seed always give the same data, and the first families of a large\n"
         "database are those of a small one. The default demo database is N = "
      << kDefaultDemoFamilies
      << ".\n\n"
         "  --out FILE   the SQLite file to write (default: demo-N.sqlite here); replaced if "
         "present\n"
         "  --sql FILE   write the SQL text instead (with --out too: both)\n"
         "  --seed S     another set of families of the same shape (default "
      << kDefaultDemoSeed
      << ")\n\n"
         "Then: tdinvoice pdf invoices.pdf --db FILE\n";
}

void writeSqlFile(const QString &path, const QByteArray &sql) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(sql) != sql.size())
    throw Exception("Cannot write " + path.toStdString() + ": " + file.errorString().toStdString());
}

int runDemoDb(THostContext &context) {
  std::string error;
  std::optional<TDemoDbOptions> options = parseDemoDbOptions(context.arguments, error);
  if (!options) {
    context.err << "tdinvoice demo-db: " << error << " (see: tdinvoice demo-db --help)\n";
    return 2;
  }
  if (options->help) {
    printDemoDbHelp(context.out);
    return 0;
  }
  const auto start = std::chrono::steady_clock::now();
  const QByteArray sql = generateDemoSql(options->families, options->seed);
  if (!options->sql.isEmpty()) {
    writeSqlFile(options->sql, sql);
    context.out << "wrote the SQL of " << options->families << " families to "
                << options->sql.toStdString() << '\n';
    if (options->out.isEmpty())
      return 0;
  }
  if (options->out.isEmpty())
    options->out = QStringLiteral("demo-%1.sqlite").arg(options->families);
  writeDemoDatabase(options->out, sql);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  context.out << "wrote " << options->out.toStdString() << ": " << options->families
              << " families, " << options->families << " invoices, in " << std::fixed
              << std::setprecision(1) << seconds << " s\n"
              << "try: tdinvoice pdf invoices.pdf --db " << options->out.toStdString() << '\n';
  return 0;
}

const THostCommandRegistration
    demoDbCommand({"demo-db", "--families N [--out FILE]: write a demo database of N families",
                   false, runDemoDb});

} // namespace
} // namespace TDInvoice::Demo
