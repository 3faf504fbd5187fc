#include "host/testhost/TestHost.h"

#include "TDInvoice/Exceptions.h"
#include "TDInvoice/InvHistList.h"
#include "TDInvoice/LocationTable.h"
#include "TDInvoice/SharedAllocator.h"
#include "TDInvoice/ShortStringList.h"
#include "framework/db/AnsiText.h"
#include "host/testhost/HostSchema.h"
#include "host/testhost/PacketEncoder.h"
#include "host/testhost/SqliteQuery.h"

#include <sqlite3.h>

#include <memory>

namespace TDInvoice::Host {
namespace {

TestHost *gCurrent = nullptr;

QString sqlOf(const char *text) { return text ? Ado::fromAnsi(text) : QString(); }

std::string ansiOf(const Ado::Variant &v) {
  if (v.isNull() || v.isEmpty())
    return {};
  return Ado::toAnsi(v.toString()).toStdString();
}

char *stringBufferFor(const QByteArray &ansi) {
  return allocStringBuffer(ansi.constData(), static_cast<std::size_t>(ansi.size()));
}

// The value of a named column of one result row.
class Row {
public:
  Row(const Ado::RecordsetData &data, std::size_t row) : m_data(data), m_row(row) {}
  const Ado::Variant &operator[](const char *name) const {
    for (std::size_t i = 0; i < m_data.fields.size(); ++i)
      if (m_data.fields[i].name.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
        return m_data.rows[m_row][i];
    throw Exception(std::string("Test host: no column ") + name);
  }
  std::int32_t integer(const char *name) const {
    const Ado::Variant &v = (*this)[name];
    return v.isNull() ? 0 : v.toInt();
  }
  std::int64_t currency(const char *name) const {
    const Ado::Variant &v = (*this)[name];
    return v.isNull() ? 0 : v.toCurrency();
  }
  float single(const char *name) const {
    const Ado::Variant &v = (*this)[name];
    return v.isNull() ? 0.0f : static_cast<float>(v.toDouble());
  }

private:
  const Ado::RecordsetData &m_data;
  std::size_t m_row;
};

void fillHistoryItem(TInvHistItem &item, const Row &row) {
  item.Kind = row.integer("Kind");
  item.Stamp = row.integer("Stamp");
  item.EntryAmount = row.currency("EntryAmount");
  if (item.Kind == kHistText) {
    item.setEntryText(ansiOf(row["EntryText"]));
    return;
  }
  item.WeekEndDate = row.integer("WeekEndDate");
  item.ChildOrMethod = row.integer("ChildOrMethod");
  item.CareType = row.integer("CareType");
  item.Sessions = static_cast<std::int16_t>(row.integer("Sessions"));
  item.CCBRate = row.single("CCBRate");
  item.CCBPercent = row.single("CCBPercent");
  item.CCBAltPercent = row.single("CCBAltPercent");
  item.CCBHours = row.single("CCBHours");
  item.FeeAmount = row.currency("FeeAmount");
  item.ChargedHours = row.single("ChargedHours");
  item.CCBAmount = row.currency("CCBAmount");
  item.JFAAmount = row.currency("JFAAmount");
  item.CCRAmount = row.currency("CCRAmount");
  item.AbsencesPaid = static_cast<std::int16_t>(row.integer("AbsencesPaid"));
  item.CCBEntry = row.integer("CCBEntry");
  item.setCareTypeAbbrev(ansiOf(row["CareTypeAbbrev"]));
  item.setEnrolmentId(ansiOf(row["EnrolmentId"]));
}

} // namespace

TestHost::TestHost(const QString &path) {
  if (sqlite3_open(path.toUtf8().constData(), &m_db) != SQLITE_OK) {
    const std::string message = m_db ? sqlite3_errmsg(m_db) : "out of memory";
    sqlite3_close(m_db);
    throw Exception("SQLite cannot open " + path.toStdString() + ": " + message);
  }
  try {
    TDInvoice::Host::execute(m_db, QByteArray(hostSchemaSql()));
  } catch (...) {
    sqlite3_close(m_db);
    throw;
  }
  gCurrent = this;
}

TestHost::~TestHost() {
  if (gCurrent == this)
    gCurrent = nullptr;
  sqlite3_close(m_db);
}

void TestHost::makeCurrent() { gCurrent = this; }
TestHost *TestHost::current() { return gCurrent; }

TestHost &TestHost::requireCurrent() {
  if (!gCurrent)
    throw Exception("No test host is current");
  return *gCurrent;
}

void TestHost::execute(const QString &sql) { TDInvoice::Host::execute(m_db, sql.toUtf8()); }

Ado::RecordsetData TestHost::query(const QString &sql) const {
  return runQuery(m_db, sql.toUtf8());
}

TShortStringList *TestHost::packetFor(const QString &sql) const {
  const QByteArray persisted = Ado::writePersisted(query(sql), m_options.format);
  return makePacket(persisted, m_options.lineLength, m_options.compressionLevel);
}

Intake::THostCallbacks TestHost::callbacks() {
  return {&OnGetLocations,      &OnGetDataPacket,         &OnGetInvoiceMessage,
          &OnGetFamilyChildren, &OnGetInvoiceFundingKeys, &OnFillInvoiceHistory};
}

TShortStringList *TestHost::OnGetDataPacket(const char *SQL) {
  TestHost &host = requireCurrent();
  ++host.m_counts.dataPackets;
  host.m_sqlLog.append(sqlOf(SQL));
  return host.packetFor(host.m_sqlLog.last());
}

TLocationTable *TestHost::OnGetLocations() {
  TestHost &host = requireCurrent();
  ++host.m_counts.locations;
  const Ado::RecordsetData data = host.query(QStringLiteral(
      "SELECT LocationID, Name, CareType FROM HostLocations ORDER BY Position LIMIT 12"));
  auto table = std::make_unique<TLocationTable>();
  for (std::size_t i = 0; i < data.rows.size(); ++i) {
    const Row row(data, i);
    auto *location = new TLocationRec;
    table->Locations[i] = location;
    location->LocationID = row.integer("LocationID");
    location->setName(ansiOf(row["Name"]));
    location->CareType = static_cast<std::uint8_t>(row.integer("CareType"));
  }
  return table.release();
}

char *TestHost::OnGetInvoiceMessage(std::int32_t CloseDate) {
  TestHost &host = requireCurrent();
  ++host.m_counts.invoiceMessages;
  const Ado::RecordsetData data =
      host.query(QStringLiteral("SELECT Message FROM HostInvoiceMessages WHERE CloseDate = %1")
                     .arg(CloseDate));
  if (data.rows.empty() || data.rows.front().front().isNull())
    return nullptr;
  return stringBufferFor(Ado::toAnsi(data.rows.front().front().toString()));
}

char *TestHost::OnGetInvoiceFundingKeys(std::int32_t InvoiceNo) {
  TestHost &host = requireCurrent();
  ++host.m_counts.fundingKeys;
  const Ado::RecordsetData data = host.query(
      QStringLiteral("SELECT LocationID * 256 + CareType FROM HostFundingKeys WHERE InvoiceNo = "
                     "%1 ORDER BY Position")
          .arg(InvoiceNo));
  if (data.rows.empty())
    return nullptr;
  QStringList keys;
  for (const auto &row : data.rows)
    keys.append(row.front().toString());
  return stringBufferFor(keys.join(u',').toLatin1());
}

TShortStringList *TestHost::OnGetFamilyChildren(std::int32_t ParentID) {
  TestHost &host = requireCurrent();
  ++host.m_counts.familyChildren;
  const Ado::RecordsetData data = host.query(
      QStringLiteral("SELECT ChildID, FirstName || ' ' || LastName AS DisplayName FROM Child "
                     "WHERE ParentID = %1 ORDER BY ChildID")
          .arg(ParentID));
  auto children = std::make_unique<TShortStringList>();
  for (std::size_t i = 0; i < data.rows.size(); ++i) {
    const Row row(data, i);
    children->AddWithTag(ansiOf(row["DisplayName"]), row.integer("ChildID"));
  }
  return children.release();
}

void TestHost::OnFillInvoiceHistory(std::int32_t InvoiceNo, TInvHistList *List) {
  TestHost &host = requireCurrent();
  ++host.m_counts.history;
  if (!List)
    throw Exception("OnFillInvoiceHistory: no list to fill");
  const Ado::RecordsetData data =
      host.query(QStringLiteral("SELECT * FROM HostHistory WHERE InvoiceNo = %1 ORDER BY Position")
                     .arg(InvoiceNo));
  for (std::size_t i = 0; i < data.rows.size(); ++i) {
    auto item = std::make_unique<TInvHistItem>();
    fillHistoryItem(*item, Row(data, i));
    List->Add(item.get());
    item.release();
  }
}

} // namespace TDInvoice::Host
