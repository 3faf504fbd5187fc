// Fuzz entry point: the TableGram reader on arbitrary bytes.
#include "FuzzCheck.h"
#include "framework/ado/AdtgReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  try {
    TDInvoice::Ado::checkWritersAgree(TDInvoice::Ado::readAdtg(bytes, 1252));
  } catch (const TDInvoice::EOleException &) {
  }
  return 0;
}
