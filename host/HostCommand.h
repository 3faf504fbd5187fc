// The commands of the tdinvoice program.
//
// A command registers itself from its own source file with a static THostCommandRegistration,
// so adding one means adding a file: host/*.cpp is compiled into the program, and a
// sub-folder's static library whose target name is appended to the global property
// TDI_HOST_COMMAND_LIBS is linked in whole.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

class QApplication;

namespace TDInvoice::Host {

class TInvoiceLibrary;

struct THostContext {
  // Loaded and initialised (InitInvoiceDLL done) when the command uses the library;
  // otherwise null.
  TInvoiceLibrary *library;
  QApplication &application;
  // The arguments after the command name.
  std::vector<std::string> arguments;
  std::ostream &out;
  std::ostream &err;
};

struct THostCommand {
  const char *name;
  // One line for --help.
  const char *summary;
  // Whether main loads the library and calls InitInvoiceDLL/FinaliseInvoiceDLL around run.
  bool usesLibrary;
  // The process's exit code: 0 success, 1 failure, 2 bad usage.
  int (*run)(THostContext &context);
};

class THostCommandTable {
public:
  static THostCommandTable &instance();

  void add(const THostCommand &command);
  const THostCommand *find(const std::string &name) const;
  // By name.
  std::vector<THostCommand> commands() const;

private:
  std::vector<THostCommand> FCommands;
};

struct THostCommandRegistration {
  explicit THostCommandRegistration(const THostCommand &command) {
    THostCommandTable::instance().add(command);
  }
};

} // namespace TDInvoice::Host
