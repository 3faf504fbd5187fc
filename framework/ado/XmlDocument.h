// A small XML reader for ADO's rowset files. It keeps attribute values exactly as written (raw
// TAB, CR, LF and other control characters included, which ADO writes unescaped and a
// conforming parser would normalise or reject) and resolves namespaces by URI.
#pragma once

#include <QString>

#include <memory>
#include <vector>

namespace TDInvoice::Ado {

struct XmlAttribute {
  QString uri; // empty for an unprefixed attribute
  QString local;
  QString value;
};

struct XmlElement {
  QString uri;
  QString local;
  std::vector<XmlAttribute> attributes;
  std::vector<std::unique_ptr<XmlElement>> children;
  qsizetype position = 0; // character offset of the start tag

  const XmlAttribute *attribute(const QString &uri, const QString &local) const;
};

// Parses one document: optional prolog (comments, processing instructions), one root element,
// nothing but whitespace, comments or processing instructions after it. Text content is
// skipped; DOCTYPE is refused. Throws EOleException with the offset of the fault.
std::unique_ptr<XmlElement> parseXmlDocument(const QString &text);

} // namespace TDInvoice::Ado
