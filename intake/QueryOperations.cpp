#include "intake/QueryOperations.h"

#include "TDInvoice/Exceptions.h"
#include "TDInvoice/SharedAllocator.h"
#include "TDInvoice/ShortStringList.h"
#include "framework/db/AnsiText.h"
#include "framework/db/Stream.h"
#include "intake/PacketDecoder.h"

#include <cstring>
#include <memory>

namespace TDInvoice::Intake {
namespace {

// The host's packet, destroyed through its own destructor on every path.
using PacketHolder = std::unique_ptr<TShortStringList>;

// A string buffer from the host, freed on every path.
struct StringBufferHolder {
  char *text;
  ~StringBufferHolder() { freeStringBuffer(text); }
};

// Closes the stream on the way out, also when opening the recordset fails.
struct StreamCloser {
  Ado::Stream &stream;
  ~StreamCloser() {
    if (stream.isOpen())
      stream.Close();
  }
};

QByteArray lookupText(char *buffer) {
  StringBufferHolder holder{buffer};
  return buffer ? QByteArray(buffer) : QByteArray();
}

} // namespace

Ado::Recordset QueryPacketRecordset(TShortStringList *packet) {
  const QByteArray persisted = packet ? decodePacket(*packet) : QByteArray();
  if (persisted.isEmpty())
    throw EOleException("Data packet is empty");
  Ado::Stream stream;
  StreamCloser closer{stream};
  stream.Open(Ado::adModeUnknown, Ado::adOpenStreamUnspecified);
  stream.setType(Ado::adTypeBinary);
  stream.Write(persisted);
  stream.setPosition(0);
  Ado::Recordset recordset;
  recordset.Open(stream, Ado::adOpenForwardOnly, Ado::adLockReadOnly, -1);
  return recordset;
}

Ado::Recordset OpenQuery(const THostCallbacks &callbacks, const QString &SQL) {
  const auto onGetDataPacket = requireCallback(callbacks.OnGetDataPacket, "OnGetDataPacket");
  const QByteArray ansi = Ado::toAnsi(SQL);
  // The host may keep nothing of the text beyond the call, and must not write into it.
  const auto buffer = std::make_unique<char[]>(static_cast<std::size_t>(ansi.size()) + 1);
  std::memcpy(buffer.get(), ansi.constData(), static_cast<std::size_t>(ansi.size()) + 1);
  const PacketHolder packet(onGetDataPacket(buffer.get()));
  return QueryPacketRecordset(packet.get());
}

void LoadDataSet(const THostCallbacks &callbacks, TADODataSet &ADODataSet1, const char *SQL) {
  const auto onGetDataPacket = requireCallback(callbacks.OnGetDataPacket, "OnGetDataPacket");
  const PacketHolder packet(onGetDataPacket(SQL));
  Ado::Recordset recordset = QueryPacketRecordset(packet.get());
  Ado::Recordset clone = recordset.Clone(Ado::adLockUnspecified);
  ADODataSet1.setRecordset(std::move(clone));
  recordset.Close();
}

void SetSort(TADODataSet &ADODataSet1, const char *SortText) {
  ADODataSet1.setSort(SortText ? Ado::fromAnsi(SortText) : QString());
}

QByteArray LookupInvoiceMessage(const THostCallbacks &callbacks, std::int32_t CloseDate) {
  return lookupText(
      requireCallback(callbacks.OnGetInvoiceMessage, "OnGetInvoiceMessage")(CloseDate));
}

QByteArray LookupInvoiceFundingKeys(const THostCallbacks &callbacks, std::int32_t InvoiceNo) {
  return lookupText(
      requireCallback(callbacks.OnGetInvoiceFundingKeys, "OnGetInvoiceFundingKeys")(InvoiceNo));
}

} // namespace TDInvoice::Intake
