#include "host/HostCommand.h"

#include <algorithm>
#include <cstring>

namespace TDInvoice::Host {

THostCommandTable &THostCommandTable::instance() {
  static THostCommandTable table;
  return table;
}

void THostCommandTable::add(const THostCommand &command) { FCommands.push_back(command); }

const THostCommand *THostCommandTable::find(const std::string &name) const {
  for (const THostCommand &command : FCommands)
    if (name == command.name)
      return &command;
  return nullptr;
}

std::vector<THostCommand> THostCommandTable::commands() const {
  std::vector<THostCommand> sorted = FCommands;
  std::sort(sorted.begin(), sorted.end(), [](const THostCommand &a, const THostCommand &b) {
    return std::strcmp(a.name, b.name) < 0;
  });
  return sorted;
}

} // namespace TDInvoice::Host
