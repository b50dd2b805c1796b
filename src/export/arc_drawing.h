#pragma once
// The last step before a writer when arcs are asked: every path of a finished, routed drawing
// fitted with lines and arcs. Weld, kerf, order and leads all work on polylines, so the fit
// comes after all of them and the tolerance holds from the font to the file.
#include <cstddef>
#include <memory>
#include <vector>

#include "export/conversion_options.h"
#include "geometry/arc_path.h"
#include "geometry/contour.h"

namespace kerfline {

/// How many lines and arcs the paths of a drawing hold.
struct PieceCounts {
  std::size_t lines = 0;  ///< straight pieces
  std::size_t arcs = 0;   ///< circular arcs
  friend bool operator==(const PieceCounts&, const PieceCounts&) = default;
};

/// Fits paths one at a time as fitDrawingArcs does, each ring of a shape seen before (the same
/// points moved) from the fit of the first.
class PathFitter {
 public:
  /// tolerance: the whole curve tolerance, drawing units, above 0.
  explicit PathFitter(double tolerance);
  ~PathFitter();
  PathFitter(const PathFitter&) = delete;
  PathFitter& operator=(const PathFitter&) = delete;

  /// k's lines and arcs: to gets the fitted vertices (k's closedness and depth), bulges their
  /// bulges. A ring keeps its first point as its start where that stays a vertex.
  void fit(const Contour& k, Contour& to, std::vector<double>& bulges);

 private:
  struct Rings;
  double tolerance_;
  std::unique_ptr<Rings> rings_;
  ArcPath path_;  // the path being fitted, its room kept for the next
};

/// Fits every path of drawing with lines and arcs within the fitting share of tolerance
/// (arcToleranceShares: the paths are flattened within the other share): each path's points
/// become the fitted vertices and drawing.bulges gets their bulges. A ring keeps its first
/// point as its start where that stays a vertex (the planned entry). Throws Error for a
/// tolerance that is not a number above 0.
void fitDrawingArcs(Drawing& drawing, double tolerance);

/// drawing's paths fitted as fitDrawingArcs does, into a new drawing (the polylines are
/// only read).
Drawing fittedDrawing(const Drawing& drawing, double tolerance);

/// Turns every fitted path of drawing back into a polyline whose chords stay within tolerance
/// of its arcs (for a view, which draws what the file holds); drawing.bulges is emptied.
void sampleDrawingArcs(Drawing& drawing, double tolerance);

/// The lines and arcs of drawing's paths (every piece a line where it has no bulges).
PieceCounts countPieces(const Drawing& drawing);

}  // namespace kerfline
