// The font and colour tables of the RTF header.
#include "report/richtext/RtfParser.h"

namespace TDInvoice::Report {

namespace {

// Windows names charset variants of a font "Arial CE", "Times New Roman CYR"; the family
// to match is the plain name.
QString withoutCharsetSuffix(QString name) {
  static const char *const suffixes[] = {" CE",     " CYR",         " Cyr",      " Greek",
                                         " Tur",    " Baltic",      " (Hebrew)", " (Arabic)",
                                         " (Thai)", " (Vietnamese)"};
  for (const char *suffix : suffixes) {
    const QLatin1StringView s(suffix);
    if (name.endsWith(s) && name.size() > s.size()) {
      name.chop(s.size());
      break;
    }
  }
  return name;
}

} // namespace

void TRtfParser::fontTableText(QByteArrayView bytes) {
  if (fontEntry_ < 0)
    return;
  FontEntry &entry = fonts_[fontEntry_];
  const bool alt = state().destination == Destination::FontAltName;
  if (!alt && entry.nameDone)
    return;
  const qsizetype end = bytes.indexOf(';');
  QByteArray &target = alt ? entry.altName : entry.name;
  target.append(end < 0 ? bytes : bytes.first(end));
  if (end >= 0 && !alt)
    finishFontEntry();
}

void TRtfParser::finishFontEntry() {
  if (fontEntry_ < 0)
    return;
  FontEntry &entry = fonts_[fontEntry_];
  const int codePage = fontCodePage(&entry);
  QString family;
  if (!entry.altName.trimmed().isEmpty()) {
    decoder_.decode(entry.altName, codePage, family);
  } else {
    decoder_.decode(entry.name, codePage, family);
    family = withoutCharsetSuffix(family.trimmed());
  }
  entry.family = family.trimmed();
  entry.nameDone = true;
  fontEntry_ = -1;
  cachedFormat_ = -1;
}

void TRtfParser::colorTableText(QByteArrayView bytes) {
  for (char c : bytes) {
    if (c != ';')
      continue;
    // An entry without colour words is "auto".
    colors_.append(colorGiven_ ? std::optional<QRgb>(qRgb(red_, green_, blue_)) : std::nullopt);
    colorGiven_ = false;
    red_ = green_ = blue_ = 0;
  }
}

} // namespace TDInvoice::Report
