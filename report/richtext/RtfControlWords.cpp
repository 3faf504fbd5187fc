// The control words the reader acts on. Words not listed are ignored (their group is
// read on), except after "\*", where an unknown word makes the group ignorable.
#include "report/richtext/RtfParser.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace TDInvoice::Report {

namespace {

using Action = TRtfParser::Action;
using WordTable = std::unordered_map<std::string_view, TRtfParser::WordEntry>;

struct NamedWord {
  std::string_view name;
  TRtfParser::WordEntry entry;
};

constexpr NamedWord kWords[] = {
    {"b", {Action::Bold}},
    {"i", {Action::Italic}},
    {"ul", {Action::Underline}},
    {"ulnone", {Action::UnderlineNone}},
    {"strike", {Action::Strike}},
    {"striked", {Action::Strike}},
    {"v", {Action::Hidden}},
    {"plain", {Action::Plain}},
    {"f", {Action::Font}},
    {"fs", {Action::FontSize}},
    {"cf", {Action::Color}},
    {"highlight", {Action::Highlight}},
    {"cb", {Action::Highlight}},
    {"chcbpat", {Action::Highlight}},
    {"super", {Action::Superscript}},
    {"sub", {Action::Subscript}},
    {"nosupersub", {Action::NoSuperSub}},
    {"up", {Action::Up}},
    {"dn", {Action::Down}},
    {"pard", {Action::Pard}},
    {"ql", {Action::AlignLeft}},
    {"qc", {Action::AlignCenter}},
    {"qr", {Action::AlignRight}},
    {"qj", {Action::AlignJustify}},
    {"li", {Action::LeftIndent}},
    {"ri", {Action::RightIndent}},
    {"lin", {Action::LeftIndent}}, // left-to-right paragraphs: the same as \li and \ri
    {"rin", {Action::RightIndent}},
    {"fi", {Action::FirstIndent}},
    {"sb", {Action::SpaceBefore}},
    {"sa", {Action::SpaceAfter}},
    {"sl", {Action::LineSpacing}},
    {"slmult", {Action::LineSpacingMultiple}},
    {"tx", {Action::TabPosition}},
    {"tqr", {Action::TabRight}},
    {"tqc", {Action::TabCenter}},
    {"tqdec", {Action::TabDecimal}},
    {"tb", {Action::BarTab}},
    {"deftab", {Action::DefaultTab}},
    {"par", {Action::Paragraph}},
    {"sect", {Action::Paragraph}},
    {"page", {Action::Paragraph}},
    {"cell", {Action::Cell}},
    {"nestcell", {Action::Cell}},
    {"row", {Action::Row}},
    {"nestrow", {Action::Row}},
    {"u", {Action::Unicode}},
    {"uc", {Action::UnicodeSkip}},
    {"ansi", {Action::Ansi}},
    {"ansicpg", {Action::AnsiCodePage}},
    {"mac", {Action::Mac}},
    {"pc", {Action::Pc}},
    {"pca", {Action::Pca}},
    {"deff", {Action::DefaultFont}},
    {"fcharset", {Action::FontCharset}},
    {"cpg", {Action::FontCodePage}},
    {"red", {Action::Red}},
    {"green", {Action::Green}},
    {"blue", {Action::Blue}},
    {"fonttbl", {Action::FontTable}},
    {"colortbl", {Action::ColorTable}},
    {"fname", {Action::FontAltName}},
    {"line", {Action::Character, 0x2028}},
    {"tab", {Action::Character, u'\t'}},
    {"lquote", {Action::Character, 0x2018}},
    {"rquote", {Action::Character, 0x2019}},
    {"ldblquote", {Action::Character, 0x201C}},
    {"rdblquote", {Action::Character, 0x201D}},
    {"bullet", {Action::Character, 0x2022}},
    {"emdash", {Action::Character, 0x2014}},
    {"endash", {Action::Character, 0x2013}},
    {"emspace", {Action::Character, 0x2003}},
    {"enspace", {Action::Character, 0x2002}},
    {"qmspace", {Action::Character, 0x2005}},
    {"zwj", {Action::Character, 0x200D}},
    {"zwnj", {Action::Character, 0x200C}},
    {"ltrmark", {Action::Character, 0x200E}},
    {"rtlmark", {Action::Character, 0x200F}},
};

// Underline variants all print as a single underline.
constexpr std::string_view kUnderlines[] = {
    "uld",   "uldash",   "uldashd",   "uldashdd",   "uldb",      "ulhwave",    "ulldash", "ulth",
    "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw",     "ulwave"};

// Destinations that hold no body text, skipped whole.
constexpr std::string_view kSkippedDestinations[] = {"stylesheet",
                                                     "info",
                                                     "pict",
                                                     "header",
                                                     "headerl",
                                                     "headerr",
                                                     "headerf",
                                                     "footer",
                                                     "footerl",
                                                     "footerr",
                                                     "footerf",
                                                     "footnote",
                                                     "fldinst",
                                                     "xe",
                                                     "tc",
                                                     "txe",
                                                     "rxe",
                                                     "nonshppict",
                                                     "pn",
                                                     "pntxta",
                                                     "pntxtb",
                                                     "listtable",
                                                     "revtbl",
                                                     "rsidtbl",
                                                     "filetbl",
                                                     "pgdsctbl",
                                                     "themedata",
                                                     "latentstyles",
                                                     "datastore",
                                                     "xmlnstbl",
                                                     "generator",
                                                     "template",
                                                     "docvar",
                                                     "userprops",
                                                     "private",
                                                     "ftnsep",
                                                     "ftnsepc",
                                                     "ftncn",
                                                     "aftnsep",
                                                     "aftnsepc",
                                                     "aftncn",
                                                     "annotation",
                                                     "atnid",
                                                     "atnauthor",
                                                     "objdata",
                                                     "objclass",
                                                     "bkmkstart",
                                                     "bkmkend",
                                                     "listoverridetable",
                                                     "colorschememapping",
                                                     "mmathPr",
                                                     "shpinst"};

const WordTable &wordTable() {
  static const WordTable table = [] {
    WordTable t;
    for (const NamedWord &word : kWords)
      t.emplace(word.name, word.entry);
    for (std::string_view word : kUnderlines)
      t.emplace(word, TRtfParser::WordEntry{Action::Underline});
    for (std::string_view word : kSkippedDestinations)
      t.emplace(word, TRtfParser::WordEntry{Action::SkipDestination});
    return t;
  }();
  return table;
}

int clampTwips(int value) { return std::clamp(value, -31680, 31680); }

} // namespace

void TRtfParser::controlWord(QByteArrayView word, bool hasParameter, int parameter) {
  const std::string_view name(word.data(), static_cast<std::size_t>(word.size()));
  const WordTable &table = wordTable();
  const auto found = table.find(name);
  if (state().starred) {
    state().starred = false;
    const bool altName = found != table.end() && found->second.action == Action::FontAltName &&
                         state().destination == Destination::FontTable;
    if (!altName) {
      state().destination = Destination::Skip;
      return;
    }
  }
  if (found == table.end() || state().destination == Destination::Skip)
    return;
  const WordEntry &entry = found->second;
  // The actions are declared in groups: character, paragraph, text, then document words.
  if (destinationWord(entry.action))
    return;
  if (entry.action <= Action::Down)
    characterWord(entry.action, hasParameter, parameter);
  else if (entry.action <= Action::DefaultTab)
    paragraphWord(entry.action, hasParameter, parameter);
  else if (entry.action <= Action::UnicodeSkip)
    textWord(entry, parameter);
  else
    documentWord(entry.action, hasParameter, parameter);
}

// Words that start a destination. Returns true when action was one.
bool TRtfParser::destinationWord(Action action) {
  switch (action) {
  case Action::FontTable:
    state().destination = Destination::FontTable;
    return true;
  case Action::ColorTable:
    state().destination = Destination::ColorTable;
    colors_.clear();
    colorGiven_ = false;
    red_ = green_ = blue_ = 0;
    return true;
  case Action::FontAltName:
    if (state().destination == Destination::FontTable)
      state().destination = Destination::FontAltName;
    return true;
  case Action::SkipDestination:
    state().destination = Destination::Skip;
    return true;
  default:
    return false;
  }
}

void TRtfParser::characterWord(Action action, bool hasParameter, int parameter) {
  if (state().destination != Destination::Body) {
    if (action == Action::Font && state().destination == Destination::FontTable) {
      finishFontEntry();
      fontEntry_ = parameter;
      fonts_[parameter] = FontEntry();
    }
    return;
  }
  CharState &c = state().chars;
  const bool on = !hasParameter || parameter != 0;
  cachedFormat_ = -1;
  switch (action) {
  case Action::Bold:
    c.bold = on;
    break;
  case Action::Italic:
    c.italic = on;
    break;
  case Action::Underline:
    c.underline = on;
    break;
  case Action::UnderlineNone:
    c.underline = false;
    break;
  case Action::Strike:
    c.strikeOut = on;
    break;
  case Action::Hidden:
    c.hidden = on;
    break;
  case Action::Plain:
    c = CharState();
    break;
  case Action::Font:
    c.font = hasParameter ? parameter : -1;
    break;
  case Action::FontSize:
    c.halfPoints = hasParameter ? std::clamp(parameter, 2, 3276) : 24;
    break;
  case Action::Color:
    c.color = parameter;
    break;
  case Action::Highlight:
    c.highlight = parameter;
    break;
  case Action::Superscript:
    c.verticalAlign = TRichVerticalAlign::Superscript;
    break;
  case Action::Subscript:
    c.verticalAlign = TRichVerticalAlign::Subscript;
    break;
  case Action::NoSuperSub:
    c.verticalAlign = TRichVerticalAlign::Normal;
    c.baselineShift = 0;
    break;
  case Action::Up:
    c.baselineShift = hasParameter ? std::clamp(parameter, 0, 3276) : 6;
    break;
  case Action::Down:
    c.baselineShift = -(hasParameter ? std::clamp(parameter, 0, 3276) : 6);
    break;
  default:
    break;
  }
}

void TRtfParser::paragraphWord(Action action, bool hasParameter, int parameter) {
  if (action == Action::DefaultTab) {
    document_.defaultTab = hasParameter && parameter > 0 ? clampTwips(parameter) : 720;
    return;
  }
  if (state().destination != Destination::Body)
    return;
  TRichParagraphFormat &p = state().paragraph;
  const int twips = clampTwips(parameter);
  switch (action) {
  case Action::Pard:
    p = TRichParagraphFormat();
    state().nextTabKind = TRichTabKind::Left;
    break;
  case Action::AlignLeft:
    p.align = TRichAlign::Left;
    break;
  case Action::AlignCenter:
    p.align = TRichAlign::Center;
    break;
  case Action::AlignRight:
    p.align = TRichAlign::Right;
    break;
  case Action::AlignJustify:
    p.align = TRichAlign::Justify;
    break;
  case Action::LeftIndent:
    p.leftIndent = twips;
    break;
  case Action::RightIndent:
    p.rightIndent = twips;
    break;
  case Action::FirstIndent:
    p.firstIndent = twips;
    break;
  case Action::SpaceBefore:
    p.spaceBefore = std::max(0, twips);
    break;
  case Action::SpaceAfter:
    p.spaceAfter = std::max(0, twips);
    break;
  case Action::LineSpacing:
    p.lineSpacing = twips;
    break;
  case Action::LineSpacingMultiple:
    p.lineSpacingMultiple = !hasParameter || parameter != 0;
    break;
  case Action::TabRight:
    state().nextTabKind = TRichTabKind::Right;
    break;
  case Action::TabCenter:
    state().nextTabKind = TRichTabKind::Center;
    break;
  case Action::TabDecimal:
    state().nextTabKind = TRichTabKind::Decimal;
    break;
  case Action::BarTab:
    state().nextTabKind = TRichTabKind::Left;
    break; // a bar, not a stop
  case Action::TabPosition: {
    const TRichTabStop stop{std::max(0, twips), state().nextTabKind};
    state().nextTabKind = TRichTabKind::Left;
    auto at = std::lower_bound(p.tabs.begin(), p.tabs.end(), stop.position,
                               [](const TRichTabStop &s, int pos) { return s.position < pos; });
    if (at != p.tabs.end() && at->position == stop.position)
      *at = stop;
    else
      p.tabs.insert(at, stop);
    break;
  }
  default:
    break;
  }
}

void TRtfParser::textWord(const WordEntry &entry, int parameter) {
  switch (entry.action) {
  case Action::Paragraph:
    closeParagraph();
    break;
  case Action::Character:
    appendCharacter(entry.character);
    break;
  case Action::Cell:
    appendCharacter(u'\t'); // table cells read as tab-separated text
    endsWithCell_ = true;
    break;
  case Action::Row:
    if (endsWithCell_ && paragraph_.text.endsWith(QLatin1Char('\t'))) {
      paragraph_.text.chop(1);
      TRichRun &last = paragraph_.runs.back();
      if (--last.length == 0)
        paragraph_.runs.removeLast();
    }
    closeParagraph();
    break;
  case Action::Unicode:
    if (state().destination == Destination::Body)
      unicodeCharacter(parameter);
    fallbackLeft_ = state().unicodeSkip;
    break;
  case Action::UnicodeSkip:
    state().unicodeSkip = std::clamp(parameter, 0, 16);
    break;
  default:
    break;
  }
}

void TRtfParser::documentWord(Action action, bool hasParameter, int parameter) {
  switch (action) {
  case Action::Ansi:
    ansiCodePage_ = 1252;
    break;
  case Action::AnsiCodePage:
    ansiCodePage_ = parameter > 0 ? parameter : 1252;
    break;
  case Action::Mac:
    ansiCodePage_ = 10000;
    break;
  case Action::Pc:
    ansiCodePage_ = 437;
    break;
  case Action::Pca:
    ansiCodePage_ = 850;
    break;
  case Action::DefaultFont:
    defaultFont_ = parameter;
    break;
  case Action::FontCharset:
    if (state().destination == Destination::FontTable && fontEntry_ >= 0)
      fonts_[fontEntry_].charset = parameter;
    break;
  case Action::FontCodePage:
    if (state().destination == Destination::FontTable && fontEntry_ >= 0)
      fonts_[fontEntry_].codePage = std::max(0, parameter);
    break;
  case Action::Red:
  case Action::Green:
  case Action::Blue: {
    if (state().destination != Destination::ColorTable)
      break;
    const int value = std::clamp(hasParameter ? parameter : 0, 0, 255);
    (action == Action::Red ? red_ : action == Action::Green ? green_ : blue_) = value;
    colorGiven_ = true;
    break;
  }
  default:
    break;
  }
  cachedFormat_ = -1;
}

void TRtfParser::controlSymbol(char symbol) {
  switch (symbol) {
  case '*':
    state().starred = true;
    return;
  case '~':
    appendCharacter(0x00A0);
    break;
  case '_':
    appendCharacter(0x2011);
    break;
  case '-':
    appendCharacter(0x00AD);
    break;
  case '\\':
  case '{':
  case '}': {
    const char byte = symbol;
    textBytes(QByteArrayView(&byte, 1));
    break;
  }
  default:
    break; // \| \: and unknown symbols carry no text
  }
  state().starred = false;
}

} // namespace TDInvoice::Report
