#include "framework/ado/XmlDocument.h"

#include "TDInvoice/Exceptions.h"

#include <string>
#include <utility>

namespace TDInvoice::Ado {

const XmlAttribute *XmlElement::attribute(const QString &uri, const QString &local) const {
  for (const XmlAttribute &a : attributes)
    if (a.local == local && a.uri == uri)
      return &a;
  return nullptr;
}

namespace {

constexpr int kMaxDepth = 64;

bool isSpace(QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

bool isNameChar(QChar c) {
  return !isSpace(c) && c != u'<' && c != u'>' && c != u'/' && c != u'=' && c != u'\'' &&
         c != u'"' && c != u'&' && c != u'?' && c != u'!' && c.unicode() >= 0x20;
}

struct RawAttribute {
  QString name;
  QString value;
};

class Parser {
public:
  explicit Parser(const QString &text) : m_s(text) {}

  std::unique_ptr<XmlElement> document() {
    if (m_i < m_s.size() && m_s[m_i] == QChar(0xFEFF))
      ++m_i;
    // Every complete document ends with '>' (of the root's end tag or of a trailing comment
    // or processing instruction): a cut-off one is refused without parsing it all.
    qsizetype last = m_s.size();
    while (last > m_i && isSpace(m_s[last - 1]))
      --last;
    if (last == m_i || m_s[last - 1] != u'>') {
      m_i = last;
      fail("the document is incomplete");
    }
    skipMisc();
    if (!startsWith(u"<"))
      fail("no root element");
    auto root = element(0);
    skipMisc();
    if (m_i != m_s.size())
      fail("content after the root element");
    return root;
  }

private:
  [[noreturn]] void fail(const std::string &what) const {
    throw EOleException("Recordset cannot be opened: malformed XML: " + what + " (character " +
                        std::to_string(m_i) + ")");
  }

  bool startsWith(QStringView token) const { return QStringView(m_s).mid(m_i).startsWith(token); }

  void skipSpace() {
    while (m_i < m_s.size() && isSpace(m_s[m_i]))
      ++m_i;
  }

  void skipPast(QStringView terminator, const char *what) {
    const qsizetype end = m_s.indexOf(terminator, m_i);
    if (end < 0)
      fail(std::string("unterminated ") + what);
    m_i = end + terminator.size();
  }

  // Whitespace, comments and processing instructions outside the root element.
  void skipMisc() {
    while (true) {
      skipSpace();
      if (startsWith(u"<!--"))
        skipPast(u"-->", "comment");
      else if (startsWith(u"<?"))
        skipPast(u"?>", "processing instruction");
      else if (startsWith(u"<!"))
        fail("document type declarations are not supported");
      else
        return;
    }
  }

  QString name() {
    const qsizetype start = m_i;
    while (m_i < m_s.size() && isNameChar(m_s[m_i]))
      ++m_i;
    if (m_i == start)
      fail("name expected");
    return m_s.mid(start, m_i - start);
  }

  void appendCodePoint(QString &out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
      fail("character reference out of range");
    if (cp >= 0x10000) {
      out += QChar(char16_t(0xD800 + ((cp - 0x10000) >> 10)));
      out += QChar(char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    } else {
      out += QChar(char16_t(cp));
    }
  }

  void reference(QString &out) {
    const qsizetype end = m_s.indexOf(u';', m_i);
    if (end < 0 || end - m_i > 12)
      fail("unterminated reference");
    const QStringView ref = QStringView(m_s).mid(m_i + 1, end - m_i - 1);
    m_i = end + 1;
    if (ref == u"lt")
      out += u'<';
    else if (ref == u"gt")
      out += u'>';
    else if (ref == u"amp")
      out += u'&';
    else if (ref == u"apos")
      out += u'\'';
    else if (ref == u"quot")
      out += u'"';
    else if (ref.startsWith(u'#')) {
      const bool hex = ref.size() > 1 && (ref[1] == u'x' || ref[1] == u'X');
      const QStringView digits = ref.mid(hex ? 2 : 1);
      bool ok = false;
      const uint cp = digits.isEmpty() || digits.front() == u'+' || digits.front() == u'-'
                          ? 0
                          : digits.toUInt(&ok, hex ? 16 : 10);
      if (!ok)
        fail("bad character reference");
      appendCodePoint(out, cp);
    } else {
      fail("unknown entity");
    }
  }

  QString attributeValue() {
    if (m_i >= m_s.size() || (m_s[m_i] != u'\'' && m_s[m_i] != u'"'))
      fail("quoted attribute value expected");
    const QChar quote = m_s[m_i++];
    const qsizetype end = m_s.indexOf(quote, m_i);
    if (end < 0)
      fail("unterminated attribute value");
    const QStringView raw = QStringView(m_s).mid(m_i, end - m_i);
    const qsizetype less = raw.indexOf(u'<');
    if (less >= 0) {
      m_i += less;
      fail("'<' in an attribute value");
    }
    QString value;
    value.reserve(raw.size());
    while (true) {
      const qsizetype amp = m_s.indexOf(u'&', m_i);
      if (amp < 0 || amp >= end) {
        value += QStringView(m_s).mid(m_i, end - m_i);
        m_i = end + 1;
        return value;
      }
      value += QStringView(m_s).mid(m_i, amp - m_i);
      m_i = amp;
      reference(value);
      if (m_i > end)
        fail("reference across the end of an attribute value");
    }
  }

  QString resolve(const QString &prefix, bool isAttribute) const {
    if (prefix.isEmpty() && isAttribute)
      return QString();
    if (prefix == u"xml")
      return QStringLiteral("http://www.w3.org/XML/1998/namespace");
    for (auto it = m_scopes.rbegin(); it != m_scopes.rend(); ++it)
      if (it->first == prefix)
        return it->second;
    if (prefix.isEmpty())
      return QString();
    fail("undeclared prefix '" + prefix.toStdString() + "'");
  }

  static std::pair<QString, QString> split(const QString &qualified) {
    const qsizetype colon = qualified.indexOf(u':');
    if (colon < 0)
      return {QString(), qualified};
    return {qualified.left(colon), qualified.mid(colon + 1)};
  }

  std::unique_ptr<XmlElement> element(int depth);
  void content(XmlElement &e, const QString &tagName, int depth);

  const QString &m_s;
  qsizetype m_i = 0;
  std::vector<std::pair<QString, QString>> m_scopes; // prefix, URI
};

std::unique_ptr<XmlElement> Parser::element(int depth) {
  if (depth >= kMaxDepth)
    fail("elements nested too deeply");
  auto e = std::make_unique<XmlElement>();
  e->position = m_i;
  ++m_i; // '<'
  const QString tagName = name();
  std::vector<RawAttribute> raw;
  const std::size_t scopeMark = m_scopes.size();
  bool empty = false;
  while (true) {
    const qsizetype before = m_i;
    skipSpace();
    if (startsWith(u"/>")) {
      m_i += 2;
      empty = true;
      break;
    }
    if (startsWith(u">")) {
      ++m_i;
      break;
    }
    if (m_i == before)
      fail("whitespace expected between attributes");
    RawAttribute a;
    a.name = name();
    skipSpace();
    if (!startsWith(u"="))
      fail("'=' expected after an attribute name");
    ++m_i;
    skipSpace();
    a.value = attributeValue();
    for (const RawAttribute &other : raw)
      if (other.name == a.name)
        fail("duplicate attribute");
    if (a.name == u"xmlns")
      m_scopes.emplace_back(QString(), a.value);
    else if (a.name.startsWith(u"xmlns:"))
      m_scopes.emplace_back(a.name.mid(6), a.value);
    else
      raw.push_back(std::move(a));
  }
  const auto [prefix, local] = split(tagName);
  e->uri = resolve(prefix, false);
  e->local = local;
  for (RawAttribute &a : raw) {
    const auto [attrPrefix, attrLocal] = split(a.name);
    e->attributes.push_back({resolve(attrPrefix, true), attrLocal, std::move(a.value)});
  }
  if (!empty)
    content(*e, tagName, depth);
  m_scopes.resize(scopeMark);
  return e;
}

void Parser::content(XmlElement &e, const QString &tagName, int depth) {
  while (true) {
    const qsizetype next = m_s.indexOf(u'<', m_i);
    if (next < 0) {
      m_i = m_s.size();
      fail("unterminated element '" + tagName.toStdString() + "'");
    }
    m_i = next;
    if (startsWith(u"</")) {
      m_i += 2;
      if (name() != tagName)
        fail("end tag does not match '" + tagName.toStdString() + "'");
      skipSpace();
      if (!startsWith(u">"))
        fail("'>' expected");
      ++m_i;
      return;
    }
    if (startsWith(u"<!--"))
      skipPast(u"-->", "comment");
    else if (startsWith(u"<![CDATA["))
      skipPast(u"]]>", "CDATA section");
    else if (startsWith(u"<?"))
      skipPast(u"?>", "processing instruction");
    else if (startsWith(u"<!"))
      fail("markup declaration inside an element");
    else
      e.children.push_back(element(depth + 1));
  }
}

} // namespace

std::unique_ptr<XmlElement> parseXmlDocument(const QString &text) {
  return Parser(text).document();
}

} // namespace TDInvoice::Ado
