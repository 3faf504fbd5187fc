// A host for tests and demonstrations: it owns a SQLite database and answers the library's
// six callbacks from it. Callbacks carry no context, so they answer from the current host
// (the one made last, or named by makeCurrent).
#pragma once

#include "framework/ado/RecordsetData.h"
#include "intake/HostCallbacks.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>

struct sqlite3;

namespace TDInvoice {
class TShortStringList;
}

namespace TDInvoice::Host {

struct PacketOptions {
  // Characters of Base64 text per packet line, 1 to 255.
  int lineLength = 76;
  Ado::PersistFormat format = Ado::PersistFormat::Adtg;
  // zlib level 0 (stored blocks) to 9.
  int compressionLevel = 6;
};

// How often each callback was answered since the host was made.
struct CallbackCounts {
  int locations = 0, dataPackets = 0, invoiceMessages = 0, familyChildren = 0, fundingKeys = 0,
      history = 0;
};

class TestHost {
public:
  // Opens (or creates) the database at path, ":memory:" for a private one, creates the
  // tables of HostSchema.h that are missing, and becomes the current host.
  explicit TestHost(const QString &path = QStringLiteral(":memory:"));
  ~TestHost();
  TestHost(const TestHost &) = delete;
  TestHost &operator=(const TestHost &) = delete;

  void makeCurrent();
  // The current host; nullptr when none lives.
  static TestHost *current();

  // Runs statements that return no rows; throws Exception with SQLite's message.
  void execute(const QString &sql);
  // The rows of one query, typed as ColumnTypes.h says.
  Ado::RecordsetData query(const QString &sql) const;
  // The packet for one query: persisted, deflated, Base64, in lines of the options' length.
  TShortStringList *packetFor(const QString &sql) const;

  PacketOptions &packetOptions() { return m_options; }
  const CallbackCounts &counts() const { return m_counts; }
  // Every SQL text received through OnGetDataPacket, in order.
  const QStringList &sqlLog() const { return m_sqlLog; }

  // All six callbacks of this class.
  static Intake::THostCallbacks callbacks();

  // The callbacks. Without a current host each raises Exception "No test host is current".
  static TLocationTable *OnGetLocations();
  static TShortStringList *OnGetDataPacket(const char *SQL);
  static char *OnGetInvoiceMessage(std::int32_t CloseDate);
  static TShortStringList *OnGetFamilyChildren(std::int32_t ParentID);
  static char *OnGetInvoiceFundingKeys(std::int32_t InvoiceNo);
  static void OnFillInvoiceHistory(std::int32_t InvoiceNo, TInvHistList *List);

private:
  static TestHost &requireCurrent();

  sqlite3 *m_db = nullptr;
  PacketOptions m_options;
  CallbackCounts m_counts;
  QStringList m_sqlLog;
};

} // namespace TDInvoice::Host
