#pragma once
// Every export a program asks for, in any placement: the classic walk's exports where the
// options place text classically, otherwise the text shaped or aligned and then written by the
// same writers, made ready to cut, welded and offset the same way.
#include <string>

#include "common/text_source.h"
#include "export/conversion_options.h"
#include "export/drawing_export.h"
#include "export/layout_walk.h"
#include "geometry/contour.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {

/// Writes text to path in options.format as options place it: with the classic placement
/// exactly exportDrawingFile. In the two stroke forms, without weld, kerf or fit size, the
/// strokes keep their file order (saveStrokeDxf). Same failure rules as exportDrawingFile.
void exportTextFile(const std::string& path, const TextSource& text,
                    const ConversionOptions& options, TTTFToVectorConverter& converter,
                    DrawingExportReport* report = nullptr, ExportObserver* observer = nullptr);

}  // namespace kerfline
