#pragma once
#include "common/text_source.h"
#include "export/conversion_options.h"
#include "export/layout_walk.h"
#include "geometry/contour.h"

namespace kerfline {

/// The factor every coordinate is multiplied by so that the extent gets the options' fit
/// width or fit height (with both, the smaller factor: the drawing fits inside both); exactly
/// 1 when neither is given. Throws Error when a fit size is not a number above 0, or when the
/// drawing has no width (or height) to fit.
double fitFactor(const Extent& extent, const ConversionOptions& options);

/// Multiplies every X and Y of the drawing by factor, about the origin.
void scaleDrawing(Drawing& drawing, double factor);

/// Makes a placed drawing (of any placement) ready to cut: scaled to the fit size, every
/// character's contours nested, turned and ordered for cutting. Throws Error as fitFactor.
void makeCutReady(Drawing& drawing, const ConversionOptions& options);

/// What the closed-contour writers write: the drawing the classic walk places, made ready
/// to cut.
Drawing cutReadyDrawing(const TextSource& text, const ConversionOptions& options,
                        GlyphSource& glyphs, ExportObserver* observer = nullptr);

}  // namespace kerfline
