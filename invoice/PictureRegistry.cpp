#include "invoice/PictureRegistry.h"

#include "invoice/artwork/Artwork.h"
#include "invoice/layout/InvoiceLayouts.h"

#include <map>
#include <string>

namespace TDInvoice {
namespace {

using TPictures = std::map<std::string, TInvoicePicture, std::less<>>;

// The slip artwork we ship, under the names the layouts use.
TPictures shippedPictures() {
  TPictures pictures;
  for (const std::string_view name :
       {Layout::kPictureBpayLogo, Layout::kPictureBpayInstructions,
        Layout::kPictureBpayInstructionsCC, Layout::kPictureBpayTrademark}) {
    const auto picture = Artwork::pictureByName(QString::fromLatin1(name.data(), qsizetype(name.size())));
    if (!picture)
      continue;
    // The logo prints as its bitmap; the vector source it is made from is not wanted here.
    TInvoicePicture entry;
    if (!picture->bitmap.isNull())
      entry.bitmap = picture->bitmap;
    else
      entry.svg = picture->svg;
    pictures.emplace(std::string(name), std::move(entry));
  }
  return pictures;
}

// Forms are made and printed on the GUI thread only, so the registry needs no lock.
TPictures &registry() {
  static TPictures pictures = shippedPictures();
  return pictures;
}

} // namespace

void registerInvoicePicture(std::string_view name, const TInvoicePicture &picture) {
  registry().insert_or_assign(std::string(name), picture);
}

void unregisterInvoicePicture(std::string_view name) {
  const auto found = registry().find(name);
  if (found != registry().end())
    registry().erase(found);
}

std::optional<TInvoicePicture> findInvoicePicture(std::string_view name) {
  const auto found = registry().find(name);
  if (found == registry().end())
    return std::nullopt;
  return found->second;
}

} // namespace TDInvoice
