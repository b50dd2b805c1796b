#pragma once
// The one entry point every export uses to place a text: the classic walk where the options
// ask for nothing else, otherwise shaped or aligned lines at their baselines.
#include <string>

#include "common/text_source.h"
#include "export/conversion_options.h"
#include "export/layout_walk.h"
#include "geometry/contour.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {

/// Places text as options ask (spacing, ligatures, tracking, alignment, pitch) and hands every
/// stroke in file order to sink; observer, when given, is told of every character. With the
/// classic placement this is the classic walk itself. converter is reconfigured; glyphs, when
/// given, serves the conversions by character (a cache), else converter does.
void placeText(const TextSource& text, const ConversionOptions& options,
               TTTFToVectorConverter& converter, StrokeSink& sink,
               ExportObserver* observer = nullptr, GlyphSource* glyphs = nullptr);

/// The Drawing of text as placeText places it, on the layer of options.classic.
Drawing placeDrawing(const TextSource& text, const ConversionOptions& options,
                     TTTFToVectorConverter& converter, ExportObserver* observer = nullptr,
                     GlyphSource* glyphs = nullptr);

/// The "PolyLines XY only" file when options.format is PolyLines, else "Lines + Z moves", of
/// text as placeText places it, every point multiplied by scale (a fit size's factor) about the
/// origin; with the classic placement and scale 1 exactly FileSave / SavePoly2.
/// Same failure rules as those.
void saveStrokeDxf(const std::string& path, const TextSource& text,
                   const ConversionOptions& options, TTTFToVectorConverter& converter,
                   ExportObserver* observer = nullptr, double scale = 1.0);

/// The line height automatic pitch uses for a line set in font: ascender - descender + line
/// gap of the horizontal header of its matched face, scaled as its outlines; 0 without a face.
double autoLineHeight(const TFontDescription& font, int scale, TTTFToVectorConverter& converter);

}  // namespace kerfline
