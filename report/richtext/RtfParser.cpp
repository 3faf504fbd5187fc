#include "report/richtext/RtfParser.h"

#include "report/richtext/RtfReader.h"

#include <QHashFunctions>

namespace TDInvoice::Report {

namespace {
// Deeper groups share their parent's state: real documents nest a few levels, and the
// limit bounds the memory a hostile input can take.
constexpr std::size_t kMaxDepth = 1024;
} // namespace

size_t qHash(const TRichCharFormat &format, size_t seed) noexcept {
  const unsigned flags = (format.bold ? 1u : 0u) | (format.italic ? 2u : 0u) |
                         (format.underline ? 4u : 0u) | (format.strikeOut ? 8u : 0u) |
                         (format.hidden ? 16u : 0u) |
                         (static_cast<unsigned>(format.verticalAlign) << 5);
  return qHashMulti(seed, format.family, format.pointSize, flags, format.color.value_or(1u << 31),
                    format.background.value_or(1u << 31), format.baselineShift);
}

bool TRtfReader::isRtf(QByteArrayView text) { return text.startsWith("{\\rtf"); }

TRichTextDocument TRtfReader::read(QByteArrayView rtf, const TRichCharFormat &defaults) {
  return TRtfParser(rtf, defaults).run();
}

TRtfParser::TRtfParser(QByteArrayView input, const TRichCharFormat &defaults)
    : tokenizer_(input), defaults_(defaults) {}

TRichTextDocument TRtfParser::run() {
  // Everything before the opening brace of the document is ignored.
  for (TRtfToken token = tokenizer_.next(); token.kind != TRtfToken::End;
       token = tokenizer_.next()) {
    if (stack_.empty() && token.kind != TRtfToken::GroupOpen)
      continue;
    handle(token);
    if (done_)
      break;
  }
  finishDocument();
  return std::move(document_);
}

// Skips the fallback characters that follow \uN. Returns false when the whole token was
// part of the fallback.
bool TRtfParser::consumeFallback(TRtfToken &token) {
  if (fallbackLeft_ == 0)
    return true;
  switch (token.kind) {
  case TRtfToken::GroupOpen:
  case TRtfToken::GroupClose:
    fallbackLeft_ = 0; // a brace ends the fallback
    return true;
  case TRtfToken::Text: {
    const qsizetype skipped = std::min<qsizetype>(fallbackLeft_, token.bytes.size());
    fallbackLeft_ -= static_cast<int>(skipped);
    token.bytes = token.bytes.sliced(skipped);
    return !token.bytes.isEmpty();
  }
  default:
    --fallbackLeft_;
    return false;
  }
}

void TRtfParser::handle(const TRtfToken &input) {
  TRtfToken token = input;
  if (!consumeFallback(token))
    return;
  if (token.kind != TRtfToken::Text && token.kind != TRtfToken::HexByte)
    flushBytes();
  switch (token.kind) {
  case TRtfToken::GroupOpen:
    openGroup();
    break;
  case TRtfToken::GroupClose:
    closeGroup();
    break;
  case TRtfToken::ControlWord:
    controlWord(token.bytes, token.hasParameter, token.parameter);
    break;
  case TRtfToken::ControlSymbol:
    controlSymbol(token.symbol);
    break;
  case TRtfToken::HexByte: {
    const char byte = static_cast<char>(token.value);
    state().starred = false;
    if (token.value >= 0x20 || token.value == '\t') // escaped control bytes carry no text
      textBytes(QByteArrayView(&byte, 1));
    break;
  }
  case TRtfToken::Text:
    state().starred = false;
    textBytes(token.bytes);
    break;
  case TRtfToken::Binary:
  case TRtfToken::End:
    break;
  }
}

void TRtfParser::openGroup() {
  if (stack_.size() >= kMaxDepth) {
    ++phantomDepth_;
    return;
  }
  GroupState inner = stack_.empty() ? GroupState() : stack_.back();
  inner.starred = false;
  stack_.push_back(std::move(inner));
}

void TRtfParser::closeGroup() {
  if (phantomDepth_ > 0) {
    --phantomDepth_;
    return;
  }
  const Destination closed = state().destination;
  if (stack_.size() == 1) {
    // The document's own group: its paragraph state applies to the last paragraph.
    done_ = true;
    return;
  }
  stack_.pop_back();
  if (closed == Destination::FontTable)
    finishFontEntry(); // an entry's group, or the table itself, ended
  cachedFormat_ = -1;
}

void TRtfParser::textBytes(QByteArrayView bytes) {
  switch (state().destination) {
  case Destination::Body:
    break;
  case Destination::FontTable:
  case Destination::FontAltName:
    fontTableText(bytes);
    return;
  case Destination::ColorTable:
    colorTableText(bytes);
    return;
  case Destination::Skip:
    return;
  }
  const int format = currentFormat();
  if (!pendingBytes_.isEmpty() && (format != pendingFormat_ || cachedCodePage_ != pendingCodePage_))
    flushBytes();
  pendingFormat_ = format;
  pendingCodePage_ = cachedCodePage_;
  pendingBytes_.append(bytes);
}

void TRtfParser::flushBytes() {
  if (pendingBytes_.isEmpty())
    return;
  QString text;
  decoder_.decode(pendingBytes_, pendingCodePage_, text);
  pendingBytes_.clear();
  if (text.isEmpty())
    return; // a lone lead byte of a double-byte code page
  flushSurrogate();
  endsWithCell_ = false;
  TRichParagraph &p = paragraph_;
  const int start = static_cast<int>(p.text.size());
  p.text += text;
  if (!p.runs.isEmpty() && p.runs.back().format == pendingFormat_)
    p.runs.back().length += static_cast<int>(text.size());
  else
    p.runs.append({start, static_cast<int>(text.size()), pendingFormat_});
}

void TRtfParser::appendText(QStringView text) {
  if (state().destination != Destination::Body || text.isEmpty())
    return;
  flushBytes();
  endsWithCell_ = false;
  const int format = currentFormat();
  TRichParagraph &p = paragraph_;
  const int start = static_cast<int>(p.text.size());
  p.text += text;
  if (!p.runs.isEmpty() && p.runs.back().format == format)
    p.runs.back().length += static_cast<int>(text.size());
  else
    p.runs.append({start, static_cast<int>(text.size()), format});
}

// A high surrogate waits for its low half; anything else in between leaves it unpaired.
void TRtfParser::flushSurrogate() {
  if (pendingHighSurrogate_ == 0)
    return;
  pendingHighSurrogate_ = 0;
  appendCharacter(0xFFFD);
}

void TRtfParser::unicodeCharacter(int value) {
  if (value < 0)
    value += 65536;
  if (value < 0 || value > 0xFFFF)
    value = 0xFFFD;
  const auto unit = static_cast<char16_t>(value);
  if (QChar::isHighSurrogate(unit)) {
    flushSurrogate();
    pendingHighSurrogate_ = unit;
    return;
  }
  if (QChar::isLowSurrogate(unit)) {
    if (pendingHighSurrogate_ == 0) {
      appendCharacter(0xFFFD);
      return;
    }
    const char16_t pair[2] = {pendingHighSurrogate_, unit};
    pendingHighSurrogate_ = 0;
    appendText(QStringView(pair, 2));
    return;
  }
  flushSurrogate();
  appendCharacter(unit == 0 ? char16_t(0xFFFD) : unit);
}

void TRtfParser::closeParagraph() {
  if (state().destination != Destination::Body)
    return;
  flushBytes();
  flushSurrogate();
  paragraph_.format = state().paragraph;
  paragraph_.markFormat = currentFormat();
  document_.paragraphs.append(std::move(paragraph_));
  paragraph_ = TRichParagraph();
  endsWithCell_ = false;
}

void TRtfParser::finishDocument() {
  if (stack_.empty()) {
    document_.formats.append(defaults_);
    return;
  }
  // Back at the body's state, whatever destination an unclosed group left open.
  while (stack_.size() > 1 && state().destination != Destination::Body)
    stack_.pop_back();
  state().destination = Destination::Body;
  flushBytes();
  flushSurrogate();
  // Rich edit drops the break of the last \par: an empty paragraph after it is not kept.
  if (!paragraph_.text.isEmpty()) {
    paragraph_.format = state().paragraph;
    paragraph_.markFormat = currentFormat();
    document_.paragraphs.append(std::move(paragraph_));
  }
  if (document_.formats.isEmpty())
    document_.formats.append(defaults_);
}

const TRtfParser::FontEntry *TRtfParser::resolveFont(int number) const {
  auto found = fonts_.find(number < 0 ? defaultFont_ : number);
  if (found == fonts_.end())
    found = fonts_.find(defaultFont_);
  return found == fonts_.end() ? nullptr : &found->second;
}

int TRtfParser::fontCodePage(const FontEntry *entry) const {
  if (entry) {
    if (entry->codePage > 0)
      return entry->codePage;
    if (const int codePage = codePageOfCharset(entry->charset))
      return codePage;
  }
  return ansiCodePage_;
}

std::optional<QRgb> TRtfParser::tableColor(int index) const {
  if (index <= 0 || index >= colors_.size())
    return std::nullopt;
  return colors_[index];
}

int TRtfParser::currentFormat() {
  if (cachedFormat_ >= 0)
    return cachedFormat_;
  const CharState &c = state().chars;
  const FontEntry *font = resolveFont(c.font);
  TRichCharFormat format;
  format.family = font && !font->family.isEmpty() ? font->family : defaults_.family;
  format.pointSize = c.halfPoints / 2.0;
  format.bold = c.bold;
  format.italic = c.italic;
  format.underline = c.underline;
  format.strikeOut = c.strikeOut;
  format.hidden = c.hidden;
  format.color = tableColor(c.color);
  format.background = tableColor(c.highlight);
  format.verticalAlign = c.verticalAlign;
  format.baselineShift = c.baselineShift;
  auto found = formatIndex_.constFind(format);
  if (found == formatIndex_.constEnd()) {
    found = formatIndex_.insert(format, static_cast<int>(document_.formats.size()));
    document_.formats.append(format);
  }
  cachedFormat_ = found.value();
  cachedCodePage_ = fontCodePage(font);
  return cachedFormat_;
}

} // namespace TDInvoice::Report
