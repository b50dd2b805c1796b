#include "typography/line_placement.h"

#include <utility>

#include "export/text_export.h"

namespace kerfline {

double alignmentShift(const Extent& line, const Extent& widest, Alignment align) {
  if (line.empty() || widest.empty()) return 0.0;
  switch (align) {
    case Alignment::Center:
      return (widest.minX + widest.maxX) / 2 - (line.minX + line.maxX) / 2;
    case Alignment::Right:
      return widest.maxX - line.maxX;
    case Alignment::Left:
      break;
  }
  return 0.0;
}

double LinePlacer::nextBaseline(const HeldLine& line) {
  const bool first = count_++ == 0;
  if (rule_.yPlaced) return 0.0;
  if (rule_.autoPitch) {
    if (!first) autoBaseline_ -= line.height;
    return autoBaseline_;
  }
  // The classic walk's own sum, one single-precision addition per line.
  if (!first) originY_ = originY_ + rule_.pitch;
  return originY_;
}

void LinePlacer::add(HeldLine&& line) {
  const double baseline = nextBaseline(line);
  if (rule_.align == Alignment::Left) {
    emit(line, 0.0, baseline);
    return;
  }
  held_.push_back(std::move(line));
  baselines_.push_back(baseline);
}

void LinePlacer::finish() {
  Extent widest;
  for (const HeldLine& line : held_) {
    if (!line.extent.empty() && (widest.empty() || line.extent.width() > widest.width()))
      widest = line.extent;
  }
  for (std::size_t i = 0; i < held_.size(); ++i)
    emit(held_[i], alignmentShift(held_[i].extent, widest, rule_.align), baselines_[i]);
  held_.clear();
  baselines_.clear();
}

void LinePlacer::emit(const HeldLine& line, double shift, double baseline) {
  // Each coordinate is rounded once to single precision here; with no shift and no baseline a
  // coordinate the classic walk placed passes unchanged.
  for (const LineEvent& e : line.events) {
    if (!e.isStroke) {
      if (observer_) {
        observer_->characterBecameCurrent(e.position, e.character, text_.fontAt(e.position),
                                          e.unitScale);
      }
      if (e.advanceStart <= e.advanceEnd) {
        sink_.characterAdvance(e.advanceStart + shift, e.advanceEnd + shift,
                               e.advanceBaseline + baseline);
      }
      continue;
    }
    PlacedStroke s;
    s.x1 = static_cast<float>(e.x1 + shift);
    s.y1 = static_cast<float>(e.y1 + baseline);
    s.x2 = static_cast<float>(e.x2 + shift);
    s.y2 = static_cast<float>(e.y2 + baseline);
    s.opensContour = e.opensContour;
    s.closesContour = e.closesContour;
    s.openPath = e.openPath;
    sink_.placeStroke(s);
  }
}

}  // namespace kerfline
