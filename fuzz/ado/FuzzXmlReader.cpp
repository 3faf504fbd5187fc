// Fuzz entry point: the XML rowset reader on arbitrary bytes.
#include "FuzzCheck.h"
#include "framework/ado/XmlRowsetReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  try {
    TDInvoice::Ado::checkWritersAgree(TDInvoice::Ado::readXmlRowset(bytes));
  } catch (const TDInvoice::EOleException &) {
  }
  return 0;
}
