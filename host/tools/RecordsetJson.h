// JSON forms of recordset fields and values, for the recordset command.
#pragma once

#include "framework/ado/RecordsetData.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

namespace TDInvoice::Host {

// ADO's name of a field type ("adVarWChar"); "type <n>" for a code ADO does not name.
QString adoTypeName(Ado::DataTypeEnum type);
QJsonArray attributeNames(std::uint32_t attributes);
QJsonObject fieldJson(const Ado::FieldInfo &field);
QJsonValue valueJson(const Ado::Variant &value);
QJsonObject recordsetJson(const Ado::RecordsetData &data);

} // namespace TDInvoice::Host
