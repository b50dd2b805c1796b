#include "typography/placed_export.h"

#include <utility>

#include "export/converter_glyph_source.h"
#include "export/cut_ready_drawing.h"
#include "export/dxf_export.h"
#include "export/toolpath_export.h"
#include "typography/text_placement.h"

namespace kerfline {

void exportTextFile(const std::string& path, const TextSource& text,
                    const ConversionOptions& options, TTTFToVectorConverter& converter,
                    DrawingExportReport* report, ExportObserver* observer) {
  if (placesClassically(options)) {
    ConverterGlyphSource glyphs(converter);
    exportDrawingFile(path, text, options, glyphs, report, observer);
    return;
  }
  checkDrawingOptions(options);
  const bool strokeForm =
      options.format == OutputFormat::Lines || options.format == OutputFormat::PolyLines;
  if (strokeForm && !changesPaths(options)) {
    if (!options.fitWidth && !options.fitHeight) {
      saveStrokeDxf(path, text, options, converter, observer);
      if (report) fillReport(report, placeDrawing(text, options, converter));
      return;
    }
    // A fit size scales the placed paths; they stay in the order they were placed.
    Drawing drawing = placeDrawing(text, options, converter, observer);
    scaleDrawing(drawing, fitFactor(drawing.extent(), options));
    if (options.format == OutputFormat::Lines) {
      saveLinesDxf(path, drawing, options.classic);
    } else {
      savePolyLinesDxf(path, drawing, options.classic);
    }
    fillReport(report, drawing);
    return;
  }
  writePlacedDrawing(path, placeDrawing(text, options, converter, observer), options, report);
}

}  // namespace kerfline
