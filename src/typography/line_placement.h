#pragma once
// Lines held back until their place is known: shifted for alignment, dropped to their baseline,
// then handed on as placed strokes and current characters in file order.
#include <cstdint>
#include <vector>

#include "common/text_source.h"
#include "export/conversion_options.h"
#include "export/layout_walk.h"
#include "geometry/contour.h"

namespace kerfline {

/// One step of a held line: a character becoming current, or one stroke of it.
struct LineEvent {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  ///< stroke in drawing units, before shift and baseline
  std::int32_t position = 0;             ///< character: its 1-based text position
  char32_t character = 0;                ///< character: its code point
  float unitScale = 0;                   ///< character: the UnitScale the export uses for it
  bool isStroke = false;                 ///< stroke (else a character)
  bool opensContour = false;             ///< stroke: a plunge goes before it
  bool closesContour = false;            ///< stroke: a retract goes after it
  bool openPath = false;                 ///< stroke: part of a single-line face's open path
  /// character: where its advance runs, before shift and baseline (start > end: not known)
  double advanceStart = 1, advanceEnd = 0;
  double advanceBaseline = 0;            ///< character: its baseline before the line's
};

/// One line as laid out, before alignment and line spacing.
struct HeldLine {
  std::vector<LineEvent> events;  ///< in file order
  Extent extent;                  ///< of every stroke end
  double height = 0;              ///< its line height for automatic pitch, drawing units
};

/// Where line after line goes.
struct LineRule {
  Alignment align = Alignment::Left;
  bool autoPitch = false;      ///< baselines by the lines' heights, else by pitch
  float pitch = -2.0f;         ///< added to the baseline at every new line (not autoPitch)
  bool yPlaced = false;        ///< strokes already stand on their baselines (the classic walk)
};

/// Takes lines in order and emits them: at once when lines are left-aligned, else all at
/// finish(), when the widest line is known.
class LinePlacer {
 public:
  /// sink receives the strokes; observer (optional) every character, its font from text.
  LinePlacer(const LineRule& rule, const TextSource& text, StrokeSink& sink,
             ExportObserver* observer)
      : rule_(rule), text_(text), sink_(sink), observer_(observer) {}

  /// The next line.
  void add(HeldLine&& line);
  /// Emits whatever is held.
  void finish();

 private:
  double nextBaseline(const HeldLine& line);
  void emit(const HeldLine& line, double shift, double baseline);

  LineRule rule_;
  const TextSource& text_;
  StrokeSink& sink_;
  ExportObserver* observer_;
  std::vector<HeldLine> held_;
  std::vector<double> baselines_;
  std::size_t count_ = 0;
  float originY_ = 0.0f;
  double autoBaseline_ = 0.0;
};

/// The shift that puts a line's extent at its place against the widest line's extent: none for
/// left alignment (lines start at x = 0), the centres matched, or the right ends matched.
double alignmentShift(const Extent& line, const Extent& widest, Alignment align);

}  // namespace kerfline
