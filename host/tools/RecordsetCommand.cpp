#include "host/tools/RecordsetCommand.h"

#include "TDInvoice/Exceptions.h"
#include "host/tools/RecordsetJson.h"
#include "intake/PacketDecoder.h"

#include <QFile>
#include <QJsonDocument>
#include <QTextStream>

#include <cstdio>

namespace TDInvoice::Host {
namespace {

// ADTG starts with its header token, "TG!" signature; XML with markup, perhaps after a byte
// order mark or blanks. Anything else is taken for packet text.
QString contentKind(const QByteArray &bytes) {
  if (bytes.startsWith(QByteArray("\x01\x07TG!", 5)))
    return QStringLiteral("adtg");
  if (bytes.startsWith("\xff\xfe") || bytes.startsWith("\xfe\xff") ||
      bytes.startsWith("\xef\xbb\xbf"))
    return QStringLiteral("xml");
  if (bytes.trimmed().startsWith('<'))
    return QStringLiteral("xml");
  return QStringLiteral("packet");
}

} // namespace

int recordsetCommand(const QStringList &args, QTextStream &out, QTextStream &err) {
  if (args.size() != 1) {
    err << "Usage: recordset FILE\n";
    return 2;
  }
  const QString &path = args.front();
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    err << "recordset: " << path << ": " << file.errorString() << '\n';
    return 1;
  }
  const QByteArray bytes = file.readAll();
  const QString kind = contentKind(bytes);
  try {
    const QByteArray persisted = kind == u"packet" ? Intake::decodePacketText(bytes) : bytes;
    if (persisted.isEmpty())
      throw EOleException("Data packet is empty");
    QJsonObject document = recordsetJson(Ado::readPersisted(persisted));
    document.insert("file", path);
    document.insert("content", kind);
    out << QJsonDocument(document).toJson(QJsonDocument::Indented);
    out.flush();
    return 0;
  } catch (const Exception &error) {
    err << "recordset: " << path << " (" << kind << "): " << QString::fromStdString(error.message())
        << '\n';
    return 1;
  }
}

int recordsetCommand(const QStringList &args) {
  QTextStream out(stdout), err(stderr);
  return recordsetCommand(args, out, err);
}

} // namespace TDInvoice::Host
