#include "mainwindow/job_scene.h"

#include <algorithm>
#include <utility>

namespace kerfline {
namespace {

QRectF boxOf(const Extent& e) {
  return e.empty() ? QRectF() : QRectF(QPointF(e.minX, e.minY), QPointF(e.maxX, e.maxY));
}

// Where the tool stands after cutting a contour: back at its start for a ring.
const Vec2& endOf(const Contour& k) { return k.closed ? k.points.front() : k.points.back(); }

}  // namespace

std::int32_t JobScene::characterAt(std::int32_t pos) const {
  const auto& cs = drawing.characters;
  const auto it = std::lower_bound(cs.begin(), cs.end(), pos,
                                   [](const PlacedCharacter& c, std::int32_t p) { return c.position < p; });
  if (it != cs.end() && it->position == pos) return static_cast<std::int32_t>(it - cs.begin());
  // A drawing planned for travel is not in text order: look at every character.
  const auto any = std::find_if(cs.begin(), cs.end(),
                                [pos](const PlacedCharacter& c) { return c.position == pos; });
  return any == cs.end() ? -1 : static_cast<std::int32_t>(any - cs.begin());
}

JobScene buildJobScene(Drawing drawing, std::string units, std::int32_t chunkSize) {
  JobScene scene;
  scene.units = std::move(units);
  scene.drawing = std::move(drawing);
  const auto& cs = scene.drawing.characters;
  scene.characterBoxes.reserve(cs.size());

  SceneChunk chunk;
  Extent chunkExtent;
  const Vec2* toolAt = nullptr;  // end of the previous contour, in cut order
  std::int32_t contour = 0;
  // A chunk ends after chunkSize characters or at a change of line.
  const auto endsChunk = [&](std::size_t i, std::int32_t first) {
    const auto index = static_cast<std::int32_t>(i);
    return index - first >= chunkSize || (index > first && cs[i].line != cs[i - 1].line);
  };
  // Each chunk's arrays sized once, from its characters' contours: growing them point by point
  // costs more than copying the points.
  const auto reserve = [&](std::size_t from) {
    std::size_t points = 0, contours = 0;
    for (std::size_t i = from; i < cs.size() && (i == from || !endsChunk(i, std::int32_t(from))); ++i)
      for (const Contour& k : cs[i].contours) {
        points += k.points.size() + (k.closed ? 1 : 0);
        ++contours;
      }
    chunk.points.reserve(points);
    chunk.contourEnds.reserve(contours);
    chunk.travels.reserve(contours);
  };
  auto finish = [&](std::int32_t end) {
    if (end == chunk.firstCharacter) return;
    chunk.endCharacter = end;
    chunk.box = boxOf(chunkExtent);
    scene.chunks.push_back(std::move(chunk));
    chunk = SceneChunk{};
    chunkExtent = Extent{};
    chunk.firstCharacter = end;
    chunk.firstContour = contour;
    reserve(static_cast<std::size_t>(end));
  };
  reserve(0);
  for (std::size_t i = 0; i < cs.size(); ++i) {
    const auto index = static_cast<std::int32_t>(i);
    if (endsChunk(i, chunk.firstCharacter)) finish(index);
    Extent own;
    for (const Contour& k : cs[i].contours) {
      if (k.points.empty()) continue;
      if (toolAt) {
        chunk.travels.emplace_back(toolAt->x, toolAt->y, k.points.front().x, k.points.front().y);
        chunkExtent.add(*toolAt);
      }
      for (const Vec2& p : k.points) {
        chunk.points.emplace_back(p.x, p.y);
        own.add(p);
      }
      if (k.closed) chunk.points.emplace_back(k.points.front().x, k.points.front().y);
      chunk.contourEnds.push_back(static_cast<std::int32_t>(chunk.points.size()));
      toolAt = &endOf(k);
      ++contour;
    }
    scene.characterBoxes.push_back(boxOf(own));
    if (!own.empty()) {
      chunk.tallest = std::max(chunk.tallest, own.height());
      chunkExtent.add({own.minX, own.minY});
      chunkExtent.add({own.maxX, own.maxY});
      scene.extent.add({own.minX, own.minY});
      scene.extent.add({own.maxX, own.maxY});
    }
  }
  finish(static_cast<std::int32_t>(cs.size()));
  scene.contourCount = contour;
  return scene;
}

}  // namespace kerfline
