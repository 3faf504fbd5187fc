// A paint device that draws nothing and counts what a painter asks of it: text items, filled
// shapes, raster images. Tells whether a picture is made of shapes or glyphs or pixels.
#pragma once

#include <QPaintDevice>
#include <QPaintEngine>

#include <memory>

namespace TDInvoice::Artwork::Testing {

struct TPaintCounts {
  int textItems = 0;
  int shapes = 0; // paths, polygons, rectangles, ellipses, lines
  int images = 0; // images and pixmaps
};

class TPaintRecorder : public QPaintDevice {
public:
  TPaintRecorder();
  ~TPaintRecorder() override;
  QPaintEngine *paintEngine() const override;
  const TPaintCounts &counts() const;

protected:
  int metric(PaintDeviceMetric metric) const override;

private:
  class TEngine;
  std::unique_ptr<TEngine> m_engine;
};

} // namespace TDInvoice::Artwork::Testing
