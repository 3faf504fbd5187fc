// Untrusted packet text through every decoding layer: the input's lines become the items of
// a packet, which is decoded and opened as a recordset. Whatever the bytes, decoding either
// succeeds or throws the library's exceptions, reads nothing out of bounds and leaves no
// boundary block behind.
#include "TDInvoice/Exceptions.h"
#include "TDInvoice/SharedAllocator.h"
#include "TDInvoice/ShortStringList.h"
#include "intake/Base64Decoder.h"
#include "intake/QueryOperations.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace {

std::unique_ptr<TDInvoice::TShortStringList> packetOf(std::string_view text) {
  auto packet = std::make_unique<TDInvoice::TShortStringList>();
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), std::min<std::size_t>(text.size(), 255));
    packet->Add(text.substr(0, end));
    text.remove_prefix(std::min(text.size(), end + (end < text.size() && text[end] == '\n')));
  }
  return packet;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char *>(data), size);
  const std::int64_t blocks = TDInvoice::sharedBlockCount();
  // Three bytes for every four significant characters, never more.
  if (TDInvoice::Intake::decodeBase64(QByteArrayView(text.data(), static_cast<qsizetype>(size)))
          .size() > static_cast<qsizetype>(size / 4 * 3 + 2))
    std::abort();
  try {
    auto packet = packetOf(text);
    TDInvoice::Ado::Recordset recordset = TDInvoice::Intake::QueryPacketRecordset(packet.get());
    for (; !recordset.Eof(); recordset.MoveNext())
      for (int i = 0; i < recordset.FieldCount(); ++i)
        (void)recordset.Fields(i).Value();
  } catch (const TDInvoice::Exception &) {
  }
  if (TDInvoice::sharedBlockCount() != blocks)
    std::abort();
  return 0;
}
