// The process-wide font rasteriser that every canvas draws text through.
#include "platform/FontRasterizer.h"

namespace qj {
namespace {

std::unique_ptr<IFontRasterizer> gRasterizer;

}  // namespace

IFontRasterizer* FontRasterizer() { return gRasterizer.get(); }

void SetFontRasterizer(std::unique_ptr<IFontRasterizer> rasterizer) { gRasterizer = std::move(rasterizer); }

}  // namespace qj
