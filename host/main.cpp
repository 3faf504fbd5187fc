// tdinvoice: a host for the invoice library. It loads the library the way the child-care
// program does (shared allocator first, then dlopen, InitInvoiceDLL, ... FinaliseInvoiceDLL,
// dlclose) and runs one command against it.
#include "TDInvoice/Application.h"
#include "TDInvoice/Exceptions.h"
#include "TDInvoice/SharedAllocator.h"
#include "host/HostCommand.h"
#include "host/InvoiceLibrary.h"

#include <QApplication>
#include <QEvent>

#include <cstdlib>
#include <exception>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace TDInvoice;
using namespace TDInvoice::Host;

struct TOptions {
  bool help = false;
  std::string library;
  std::string command;
  std::vector<std::string> arguments;
};

// Options come before the command; everything after it belongs to the command.
std::optional<TOptions> parseOptions(int argc, char **argv, std::string &error) {
  TOptions options;
  int i = 1;
  for (; i < argc && options.command.empty(); ++i) {
    const std::string argument = argv[i];
    if (argument == "--help" || argument == "-h") {
      options.help = true;
    } else if (argument == "--library") {
      if (i + 1 >= argc) {
        error = "--library needs a path";
        return std::nullopt;
      }
      options.library = argv[++i];
    } else if (argument.rfind("--", 0) == 0) {
      error = "Unknown option: " + argument;
      return std::nullopt;
    } else {
      options.command = argument;
    }
  }
  options.arguments.assign(argv + i, argv + argc);
  return options;
}

void printUsage(std::ostream &out) {
  out << "Usage: tdinvoice [--library PATH] COMMAND [ARGUMENTS...]\n"
         "       tdinvoice --help\n\n"
         "The library is PATH, else $"
      << TInvoiceLibrary::EnvironmentVariable << ", else " << TInvoiceLibrary::FileName
      << " in the build tree's library/ folder or beside the program.\n\nCommands:\n";
  for (const THostCommand &command : THostCommandTable::instance().commands())
    out << "  " << std::left << std::setw(12) << command.name << ' ' << command.summary << '\n';
}

// Without a display the program still runs, on the offscreen platform.
void chooseQtPlatform() {
  if (std::getenv("QT_QPA_PLATFORM") || std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"))
    return;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

int runCommand(const THostCommand &command, THostContext &context) {
  try {
    return command.run(context);
  } catch (const TDInvoice::Exception &error) {
    context.err << "tdinvoice: " << command.name << ": " << error.what() << '\n';
  } catch (const std::exception &error) {
    context.err << "tdinvoice: " << command.name << ": unexpected error: " << error.what() << '\n';
  }
  return 1;
}

int runWithLibrary(const THostCommand &command, const TOptions &options, QApplication &app,
                   const std::string &executableDir) {
  TInvoiceLibrary library;
  const std::string path = TInvoiceLibrary::locate(options.library, executableDir);
  std::string error;
  if (!library.open(path, error)) {
    std::cerr << "tdinvoice: cannot load the invoice library: " << error << '\n';
    return 1;
  }
  std::cout << "loaded " << library.path() << '\n';
  TApplication hostApplication(&app);
  TScreen hostScreen(QGuiApplication::primaryScreen(), TScreen::DefaultPixelsPerInch);
  library.InitInvoiceDLL(&hostApplication, &hostScreen);
  std::cout << "InitInvoiceDLL: host application and screen installed\n";

  THostContext context{&library, app, options.arguments, std::cout, std::cerr};
  const int result = runCommand(command, context);

  // Released forms must be gone before the library that holds their code.
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  library.FinaliseInvoiceDLL();
  std::cout << "FinaliseInvoiceDLL: library objects restored\n";
  library.close();
  std::cout << "library unloaded\n";
  return result;
}

} // namespace

int main(int argc, char **argv) {
  // Published before the library is loaded, so that the library adopts it.
  initialiseSharedAllocator();
  const std::int64_t baseline = sharedBlockCount();

  std::string error;
  const std::optional<TOptions> options = parseOptions(argc, argv, error);
  if (!options) {
    std::cerr << "tdinvoice: " << error << '\n';
    printUsage(std::cerr);
    return 2;
  }
  if (options->help) {
    printUsage(std::cout);
    return 0;
  }
  const THostCommand *command = THostCommandTable::instance().find(options->command);
  if (!command) {
    if (options->command.empty())
      std::cerr << "tdinvoice: no command given\n";
    else
      std::cerr << "tdinvoice: Unknown command: " << options->command << '\n';
    printUsage(std::cerr);
    return 2;
  }

  chooseQtPlatform();
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  const std::string executableDir =
      std::filesystem::absolute(QCoreApplication::applicationDirPath().toStdString()).string();

  int result;
  if (command->usesLibrary) {
    result = runWithLibrary(*command, *options, app, executableDir);
  } else {
    THostContext context{nullptr, app, options->arguments, std::cout, std::cerr};
    result = runCommand(*command, context);
  }

  const std::int64_t leaked = sharedBlockCount() - baseline;
  std::cout << "shared allocator blocks in use: " << leaked << '\n';
  if (leaked != 0 && result == 0) {
    std::cerr << "tdinvoice: " << leaked << " shared allocator block(s) leaked\n";
    result = 1;
  }
  return result;
}
