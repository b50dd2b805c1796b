#pragma once
// What the job view paints, built once per layout (on any thread): the drawing's paths in
// groups with their boxes, so that a frame draws only the groups it can see.
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <cstdint>
#include <string>
#include <vector>

#include "geometry/contour.h"
#include "mainwindow/carve_shading.h"

namespace kerfline {

/// A run of neighbouring characters of one line of text, in flat arrays that a frame hands
/// to the painter as they are.
struct SceneChunk {
  QRectF box;                          ///< drawing units; covers contours and travel moves
  std::vector<QPointF> points;         ///< every contour's points, a ring's first repeated last
  std::vector<std::int32_t> contourEnds;  ///< per contour, one past its last entry of points
  std::vector<QLineF> travels;         ///< the moves between contours, into this run's each
  double tallest = 0;                  ///< height of its tallest character, drawing units
  std::int32_t firstCharacter = 0;  ///< index into JobScene::drawing.characters
  std::int32_t endCharacter = 0;    ///< one past the last
  std::int32_t firstContour = 0;    ///< cut-order number (0-based) of its first contour
};

/// The job view's picture of one layout.
struct JobScene {
  Drawing drawing;                  ///< in cut order, as the export writes it
  Extent extent;                    ///< of every point of every contour
  std::vector<SceneChunk> chunks;   ///< in cut order
  std::vector<QRectF> characterBoxes;  ///< per character of drawing, drawing units
  std::int32_t contourCount = 0;
  std::string units = "mm";         ///< what one drawing unit is
  std::string notes;                ///< what weld and kerf did that the user must know
  double travel = 0;                ///< rapid travel of the cut order drawn, drawing units
  CarveShading carving;             ///< a V-carve's strokes by depth and its floors; else empty

  /// The index in drawing.characters of the character (or, in a planned order, of one path
  /// of the character) at 1-based text position pos, or -1.
  std::int32_t characterAt(std::int32_t pos) const;
};

/// Builds the scene of drawing, chunks of at most chunkSize characters.
JobScene buildJobScene(Drawing drawing, std::string units, std::int32_t chunkSize = 32);

}  // namespace kerfline
