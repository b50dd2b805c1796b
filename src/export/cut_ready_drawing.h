#pragma once
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "common/text_source.h"
#include "export/conversion_options.h"
#include "export/layout_walk.h"
#include "geometry/contour.h"
#include "geometry/travel_order.h"

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

/// The tolerance outline glyphs are flattened within (drawing units): the options' curve
/// tolerance, or its flattening share when arcs are fitted afterwards, less what a kerf offset
/// takes of it (kerfTolerance); nothing when the converter's RESOLUTION rules. Throws Error for
/// a tolerance that is not a number above 0.
std::optional<double> flatteningTolerance(const ConversionOptions& options);

/// With a curve tolerance and a kerf offset, how far each of the offset's own approximations
/// (its round joins' chords, each clean-up of its rings) may stray, drawing units; nothing
/// otherwise. Throws Error as flatteningTolerance.
std::optional<double> kerfTolerance(const ConversionOptions& options);

/// Receives placed characters one at a time, in text order.
using CharacterSink = std::function<void(PlacedCharacter&& character)>;

/// A placed character fitted with lines and arcs, as a fitted walk hands it over (the spans
/// are valid during the call; the sink may take the bulges' lists).
struct FittedCharacter {
  PlacedCharacter character;              ///< its paths' fitted vertices
  std::span<std::vector<double>> bulges;  ///< per contour, the bulge leaving each vertex
  /// Per contour, the ring that immediately holds it in the character (-1: none), found on
  /// the polylines it was fitted from: a ring of few arcs has chords far inside it.
  std::span<const int> holders;
  Extent outline;  ///< of the polylines' points
};

/// Receives placed characters fitted with arcs, one at a time, in text order.
using FittedCharacterSink = std::function<void(FittedCharacter&& character)>;

/// What a walk would hand over, counted without placing a point.
struct WalkMeasure {
  Extent extent;          ///< of every point of every path, before any factor
  std::size_t paths = 0;  ///< paths of all characters
};

/// Walks a text placed classically, each character made ready to cut, without holding the
/// drawing; its glyphs are made ready once and kept for every walk of the same walker.
class CutReadyWalker {
 public:
  /// text, options and glyphs must outlive the walker.
  CutReadyWalker(const TextSource& text, const ConversionOptions& options, GlyphSource& glyphs);
  ~CutReadyWalker();
  CutReadyWalker(const CutReadyWalker&) = delete;
  CutReadyWalker& operator=(const CutReadyWalker&) = delete;

  /// Hands every character with paths to sink, each point multiplied by factor about the
  /// origin (curves flattened so that the tolerance holds after it); observer, when given, is told of every character as the walk reaches it.
  void walk(const CharacterSink& sink, double factor = 1.0, ExportObserver* observer = nullptr);

  /// walk() at factor 1 with every character's paths fitted with lines and arcs within the
  /// options' curve tolerance as fittedDrawing fits them: each ring of a glyph is fitted once
  /// and its fit moved to every copy, and each glyph's nesting is found once. For
  /// fitsGlyphsOnce options.
  void walkFitted(const FittedCharacterSink& sink, ExportObserver* observer = nullptr);

  /// The extent and path count walk() would give at factor 1, from each ready glyph's
  /// per-path bounds moved into place (placing is monotonic in every coordinate), so exactly
  /// those of the placed points at a fraction of the cost.
  WalkMeasure measure();

  class Glyphs;

 private:
  const TextSource& text_;
  const ConversionOptions& options_;
  std::unique_ptr<Glyphs> glyphs_;
};

/// What the closed-contour writers write: the drawing the classic walk places, made ready
/// to cut (each glyph once per face, size, character and precision or tolerance, then moved
/// into place: at a precision its points exactly the walk's), scaled to any fit size; with a
/// tolerance the curves are within it after the fit. Throws Error as fitFactor and
/// flatteningTolerance.
Drawing cutReadyDrawing(const TextSource& text, const ConversionOptions& options,
                        GlyphSource& glyphs, ExportObserver* observer = nullptr);

/// True when the paths of a text export of options may be fitted with arcs glyph by glyph
/// while they are placed: arcs asked, the classic placement without a fit size, and nothing
/// after the placing that rebuilds the points (weld, kerf, bridges, tabs, leads, fills,
/// carving).
bool fitsGlyphsOnce(const ConversionOptions& options);

/// The drawing cutReadyDrawing places, its paths fitted with arcs as fittedDrawing fits them,
/// without ever holding the polylines.
struct FittedCutReadyDrawing {
  Drawing drawing;                   ///< fitted paths, their bulges in drawing.bulges
  std::vector<CutPrecedence> holes;  ///< as holesBeforeOutlines finds them on the polylines
  Extent outlineExtent;              ///< of the polylines' points (cutReadyDrawing's extent)
};

/// For fitsGlyphsOnce options. Throws Error as flatteningTolerance.
FittedCutReadyDrawing fittedCutReadyDrawing(const TextSource& text,
                                            const ConversionOptions& options, GlyphSource& glyphs,
                                            ExportObserver* observer = nullptr);

}  // namespace kerfline
