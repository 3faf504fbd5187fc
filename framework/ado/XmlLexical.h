// ADO's XML rowset vocabulary: data types (dt:type with rs:dbtype) and the lexical forms of
// values. Internal to the ADO layer.
#pragma once

#include "framework/ado/ColumnLayout.h"
#include "framework/ado/Variant.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace TDInvoice::Ado {

// The storage type of a dt:type / rs:dbtype pair (either may be empty). Types that ADO reads
// back as text (dateTime.tz, bin.base64, unknown names) give Unicode text.
std::uint16_t dbTypeOfXml(const QString &dtType, const QString &dbType);

struct XmlTypeName {
  QString dtType;
  QString dbType; // empty when not written
  QString maxLength;
};
// Throws EOleException for a column that the XML format cannot carry.
XmlTypeName xmlTypeOf(const ColumnLayout &column);

// The value of a lexical form for a column; nullopt when the text is not a valid value.
std::optional<Variant> parseXmlValue(const ColumnLayout &column, QStringView text);
// The lexical form of a non-null value; throws EOleException when it does not fit the column.
QString xmlValueText(const ColumnLayout &column, const Variant &value);

} // namespace TDInvoice::Ado
