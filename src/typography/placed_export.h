#pragma once
// Every export a program asks for, in any placement: the stroke walk or the placed drawing as
// drawingRoute answers, with the text placed classically or shaped and aligned.
#include <string>

#include "common/text_source.h"
#include "export/conversion_options.h"
#include "export/drawing_export.h"
#include "export/layout_walk.h"
#include "export/toolpath_export.h"
#include "export/weld_kerf_cache.h"
#include "geometry/contour.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {

/// Writes text to path in options.format as options place it: with the classic placement
/// exactly exportDrawingFile. On the stroke walk the strokes keep their file order
/// (saveStrokeDxf), scaled for a fit size. Same failure rules as exportDrawingFile.
void exportTextFile(const std::string& path, const TextSource& text,
                    const ConversionOptions& options, TTTFToVectorConverter& converter,
                    DrawingExportReport* report = nullptr, ExportObserver* observer = nullptr);

/// The drawing the placed-drawing route writes: text placed as options ask, made ready to cut
/// (fit size, nesting, cut order), welded and offset. glyphs, when given, serves the
/// conversions by character (a cache of converter's); notes, when given, receives what weld
/// and kerf did; checkpoint is called at every character placed, welded or offset; weldKerf,
/// when given, welds and offsets only the lines that changed since its last use. Throws
/// Error as fitFactor.
Drawing finishedDrawing(const TextSource& text, const ConversionOptions& options,
                        TTTFToVectorConverter& converter, GlyphSource* glyphs = nullptr,
                        ExportObserver* observer = nullptr, ToolpathNotes* notes = nullptr,
                        const Checkpoint& checkpoint = {}, WeldKerfCache* weldKerf = nullptr);

}  // namespace kerfline
