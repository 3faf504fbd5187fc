#include "PaintRecorder.h"

namespace TDInvoice::Artwork::Testing {

class TPaintRecorder::TEngine : public QPaintEngine {
public:
  TEngine() : QPaintEngine(AllFeatures) {}
  bool begin(QPaintDevice *) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState &) override {}
  Type type() const override { return User; }

  void drawTextItem(const QPointF &, const QTextItem &) override { ++counts.textItems; }
  void drawPath(const QPainterPath &) override { ++counts.shapes; }
  void drawPolygon(const QPointF *, int, PolygonDrawMode) override { ++counts.shapes; }
  void drawRects(const QRectF *, int) override { ++counts.shapes; }
  void drawEllipse(const QRectF &) override { ++counts.shapes; }
  void drawLines(const QLineF *, int) override { ++counts.shapes; }
  void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override { ++counts.images; }
  void drawImage(const QRectF &, const QImage &, const QRectF &,
                 Qt::ImageConversionFlags) override {
    ++counts.images;
  }
  void drawTiledPixmap(const QRectF &, const QPixmap &, const QPointF &) override {
    ++counts.images;
  }

  TPaintCounts counts;
};

TPaintRecorder::TPaintRecorder() : m_engine(std::make_unique<TEngine>()) {}
TPaintRecorder::~TPaintRecorder() = default;

QPaintEngine *TPaintRecorder::paintEngine() const { return m_engine.get(); }
const TPaintCounts &TPaintRecorder::counts() const { return m_engine->counts; }

int TPaintRecorder::metric(PaintDeviceMetric metric) const {
  switch (metric) {
  case PdmWidth:
  case PdmHeight:
    return 2000;
  case PdmWidthMM:
  case PdmHeightMM:
    return 200;
  case PdmDpiX:
  case PdmDpiY:
  case PdmPhysicalDpiX:
  case PdmPhysicalDpiY:
    return 254;
  case PdmNumColors:
    return 0x7fffffff;
  case PdmDepth:
    return 32;
  case PdmDevicePixelRatio:
    return 1;
  case PdmDevicePixelRatioScaled:
    return static_cast<int>(devicePixelRatioFScale());
  }
  return 0;
}

} // namespace TDInvoice::Artwork::Testing
