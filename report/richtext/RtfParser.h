// The state machine behind TRtfReader. Internal to the rich-text module.
#pragma once

#include "report/richtext/CodePageDecoder.h"
#include "report/richtext/RichTextDocument.h"
#include "report/richtext/RtfTokenizer.h"

#include <QByteArray>
#include <QHash>

#include <map>
#include <optional>
#include <vector>

namespace TDInvoice::Report {

size_t qHash(const TRichCharFormat &format, size_t seed = 0) noexcept;

class TRtfParser {
public:
  TRtfParser(QByteArrayView input, const TRichCharFormat &defaults);
  TRichTextDocument run();

  // What a control word does; public for the word table.
  enum class Action {
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    Hidden,
    Plain,
    Font,
    FontSize,
    Color,
    Highlight,
    Superscript,
    Subscript,
    NoSuperSub,
    Up,
    Down,
    Pard,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstIndent,
    SpaceBefore,
    SpaceAfter,
    LineSpacing,
    LineSpacingMultiple,
    TabPosition,
    TabRight,
    TabCenter,
    TabDecimal,
    BarTab,
    DefaultTab,
    Paragraph,
    Character,
    Cell,
    Row,
    Unicode,
    UnicodeSkip,
    Ansi,
    AnsiCodePage,
    Mac,
    Pc,
    Pca,
    DefaultFont,
    FontCharset,
    FontCodePage,
    Red,
    Green,
    Blue,
    FontTable,
    ColorTable,
    SkipDestination,
    FontAltName
  };
  struct WordEntry {
    Action action;
    char16_t character = 0; // Action::Character
  };

private:
  enum class Destination { Body, FontTable, FontAltName, ColorTable, Skip };

  struct CharState {
    int font = -1; // -1: the default font
    int halfPoints = 24;
    bool bold = false, italic = false, underline = false, strikeOut = false, hidden = false;
    int color = 0;
    int highlight = 0;
    TRichVerticalAlign verticalAlign = TRichVerticalAlign::Normal;
    int baselineShift = 0;
  };
  struct GroupState {
    CharState chars;
    TRichParagraphFormat paragraph;
    TRichTabKind nextTabKind = TRichTabKind::Left;
    int unicodeSkip = 1;
    Destination destination = Destination::Body;
    bool starred = false; // "\*" seen: the next word's destination is ignorable
  };
  struct FontEntry {
    int charset = -1;
    int codePage = 0;
    QByteArray name, altName;
    QString family;
    bool nameDone = false;
  };

  void handle(const TRtfToken &token);
  bool consumeFallback(TRtfToken &token);
  void openGroup();
  void closeGroup();
  void controlWord(QByteArrayView word, bool hasParameter, int parameter);
  bool destinationWord(Action action);
  void characterWord(Action action, bool hasParameter, int parameter);
  void paragraphWord(Action action, bool hasParameter, int parameter);
  void textWord(const WordEntry &entry, int parameter);
  void documentWord(Action action, bool hasParameter, int parameter);
  void controlSymbol(char symbol);
  void textBytes(QByteArrayView bytes);
  void fontTableText(QByteArrayView bytes);
  void colorTableText(QByteArrayView bytes);
  void finishFontEntry();
  void unicodeCharacter(int value);

  void appendText(QStringView text);
  void appendCharacter(char16_t c) { appendText(QStringView(&c, 1)); }
  void flushBytes();
  void flushSurrogate();
  void closeParagraph();
  void finishDocument();
  int currentFormat();
  int fontCodePage(const FontEntry *entry) const;
  const FontEntry *resolveFont(int number) const;
  std::optional<QRgb> tableColor(int index) const;

  GroupState &state() { return stack_.back(); }

  TRtfTokenizer tokenizer_;
  TCodePageDecoder decoder_;
  TRichCharFormat defaults_;
  std::vector<GroupState> stack_;
  int phantomDepth_ = 0; // groups nested past the depth limit
  bool done_ = false;

  TRichTextDocument document_;
  TRichParagraph paragraph_;
  QHash<TRichCharFormat, int> formatIndex_;
  int cachedFormat_ = -1;
  int cachedCodePage_ = 1252;

  std::map<int, FontEntry> fonts_;
  int fontEntry_ = -1; // entry being read in the font table
  int defaultFont_ = -1;
  int ansiCodePage_ = 1252;
  QList<std::optional<QRgb>> colors_;
  int red_ = 0, green_ = 0, blue_ = 0;
  bool colorGiven_ = false;

  QByteArray pendingBytes_;
  int pendingFormat_ = -1;
  int pendingCodePage_ = 1252;
  int fallbackLeft_ = 0; // characters of a \u fallback still to skip
  char16_t pendingHighSurrogate_ = 0;
  bool endsWithCell_ = false;
};

} // namespace TDInvoice::Report
