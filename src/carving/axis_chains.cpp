#include "carving/axis_chains.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

namespace kerfline {
namespace {

double edgeLength(const AxisEdge& e) {
  double s = 0;
  for (std::size_t i = 1; i < e.points.size(); ++i)
    s += std::hypot(e.points[i].position.x - e.points[i - 1].position.x,
                    e.points[i].position.y - e.points[i - 1].position.y);
  return s;
}

// One connected piece of the axis as a tree rooted at one vertex, walked into chains. Edges
// that close a cycle (the axis round a hole) are not tree edges: each hangs off the vertex it
// was met from as a stub, a branch of that one edge.
class ChainWalk {
 public:
  ChainWalk(const MedialAxis& axis, const std::vector<std::vector<int>>& incident,
            std::vector<bool>& used, const std::function<double(double)>& retraceLimit,
            std::vector<AxisChain>& out)
      : axis_(axis), incident_(incident), used_(used), limit_(retraceLimit), out_(out) {}

  // Walks the piece holding vertex start.
  void piece(int start) {
    // The chain that is never retraced is the tree's longest route; its one end is the vertex
    // farthest from any vertex (a tree's double sweep), so the piece is rooted there.
    std::vector<bool> probe = used_;
    const int root = farthest(buildTree(start, probe));
    buildTree(root, used_);
    deferred_.push_back({root, -1});
    while (!deferred_.empty()) {
      const auto [from, item] = deferred_.back();
      deferred_.pop_back();
      chain_.clear();
      chain_.push_back(axis_.vertices[static_cast<std::size_t>(from)]);
      if (item < 0) {
        walk(from, false);
      } else {
        // A deferred branch: its edge, then all below it, as a walk from its far end.
        const Item& branch = items_[static_cast<std::size_t>(item)];
        along(branch, from);
        if (!branch.stub) walk(branch.to, false);
      }
      if (chain_.size() > 1) out_.push_back(std::move(chain_));
      chain_ = {};
    }
  }

 private:
  // A way out of a vertex: a tree edge to a child, or a stub.
  struct Item {
    int edge = 0;
    int to = 0;
    bool stub = false;
    double cost = 0;   // length of everything below, the edge included
    double reach = 0;  // longest route down from the vertex through this item
  };

  // Depth-first spanning tree of the piece from root (iterative: an axis may have thousands of
  // vertices in a row). Fills items_ per vertex, their costs and reaches; marks the edges used.
  // Returns the vertices in discovery order.
  std::vector<int> buildTree(int root, std::vector<bool>& used) {
    items_.clear();
    below_.assign(axis_.vertices.size(), {});
    dist_.assign(axis_.vertices.size(), -1);
    std::vector<int> order{root};
    std::vector<std::pair<int, std::size_t>> stack{{root, 0}};
    dist_[static_cast<std::size_t>(root)] = 0;
    while (!stack.empty()) {
      auto& [v, next] = stack.back();
      const std::vector<int>& edges = incident_[static_cast<std::size_t>(v)];
      if (next == edges.size()) {
        stack.pop_back();
        continue;
      }
      const int e = edges[next++];
      if (used[static_cast<std::size_t>(e)]) continue;
      used[static_cast<std::size_t>(e)] = true;
      const AxisEdge& edge = axis_.edges[static_cast<std::size_t>(e)];
      const int w = edge.from == v ? edge.to : edge.from;
      const double len = edgeLength(edge);
      const bool stub = dist_[static_cast<std::size_t>(w)] >= 0;
      below_[static_cast<std::size_t>(v)].push_back(static_cast<int>(items_.size()));
      items_.push_back({e, w, stub, len, len});
      if (!stub) {
        dist_[static_cast<std::size_t>(w)] = dist_[static_cast<std::size_t>(v)] + len;
        order.push_back(w);
        stack.push_back({w, 0});
      }
    }
    // Costs and reaches from the leaves up: children are discovered after their parents.
    for (auto v = order.rbegin(); v != order.rend(); ++v)
      for (const int i : below_[static_cast<std::size_t>(*v)]) {
        Item& item = items_[static_cast<std::size_t>(i)];
        if (item.stub) continue;
        double deepest = 0;
        for (const int j : below_[static_cast<std::size_t>(item.to)]) {
          item.cost += items_[static_cast<std::size_t>(j)].cost;
          deepest = std::max(deepest, items_[static_cast<std::size_t>(j)].reach);
        }
        item.reach += deepest;
      }
    return order;
  }

  int farthest(const std::vector<int>& order) const {
    int best = order.front();
    for (const int v : order)
      if (dist_[static_cast<std::size_t>(v)] > dist_[static_cast<std::size_t>(best)]) best = v;
    return best;
  }

  // Appends the edge's points walking away from vertex v (v's own point is already there).
  void along(const Item& item, int v) {
    const std::vector<AxisPoint>& pts = axis_.edges[static_cast<std::size_t>(item.edge)].points;
    const bool forward = axis_.edges[static_cast<std::size_t>(item.edge)].from == v;
    if (forward) {
      chain_.insert(chain_.end(), pts.begin() + 1, pts.end());
    } else {
      chain_.insert(chain_.end(), pts.rbegin() + 1, pts.rend());
    }
  }

  // What to do next in the walk.
  struct Step {
    enum Kind { Walk, Enter, Back } kind;
    int vertex = 0;  // Walk: the vertex whose subtree is cut; Enter/Back: where the edge starts
    int item = -1;   // Enter/Back: the item whose edge is cut
    bool comeBack = false;
  };

  // Cuts everything below root; ends back at root when comeBack. The walk is as deep as the
  // tree, and a long thin shape has an axis of tens of thousands of vertices in a row: the
  // work waits on an explicit stack, not the call stack. Steps run in the order a recursive
  // walk would take them, so the deferred branches are met in the same order too.
  void walk(int root, bool comeBack) {
    std::vector<Step> steps{{Step::Walk, root, -1, comeBack}};
    while (!steps.empty()) {
      const Step step = steps.back();
      steps.pop_back();
      switch (step.kind) {
        case Step::Walk:
          below(step.vertex, step.comeBack, steps);
          break;
        case Step::Enter: {
          const Item& item = items_[static_cast<std::size_t>(step.item)];
          along(item, step.vertex);
          // Pushed in reverse: the subtree is cut before the way back along the edge.
          if (step.comeBack) steps.push_back({Step::Back, item.to, step.item, true});
          if (!item.stub) steps.push_back({Step::Walk, item.to, -1, step.comeBack});
          break;
        }
        case Step::Back:
          along(items_[static_cast<std::size_t>(step.item)], step.vertex);
          break;
      }
    }
  }

  // The branches below v in cutting order, pushed onto steps (last to run pushed first);
  // branches too long to retrace are deferred as chains of their own.
  void below(int v, bool comeBack, std::vector<Step>& steps) {
    std::vector<int> order = below_[static_cast<std::size_t>(v)];
    if (order.empty()) return;
    // Cheap branches first; without a return, the branch reaching farthest comes last, so the
    // chain ends down there rather than running back.
    std::sort(order.begin(), order.end(), [&](int a, int b) {
      return items_[static_cast<std::size_t>(a)].cost < items_[static_cast<std::size_t>(b)].cost;
    });
    int last = -1;
    if (!comeBack) {
      last = order.front();
      for (const int i : order)
        if (items_[static_cast<std::size_t>(i)].reach > items_[static_cast<std::size_t>(last)].reach) last = i;
      order.erase(std::find(order.begin(), order.end(), last));
    }
    const std::size_t first = steps.size();
    for (const int i : order) {
      const Item& item = items_[static_cast<std::size_t>(i)];
      if (comeBack || item.cost <= limit_(axis_.vertices[static_cast<std::size_t>(v)].radius)) {
        steps.push_back({Step::Enter, v, i, true});
      } else {
        deferred_.push_back({v, i});
      }
    }
    if (last >= 0) steps.push_back({Step::Enter, v, last, false});
    std::reverse(steps.begin() + static_cast<std::ptrdiff_t>(first), steps.end());
  }

  const MedialAxis& axis_;
  const std::vector<std::vector<int>>& incident_;
  std::vector<bool>& used_;
  const std::function<double(double)>& limit_;
  std::vector<AxisChain>& out_;
  std::vector<Item> items_;
  std::vector<std::vector<int>> below_;  // items leaving each vertex downwards
  std::vector<double> dist_;             // from the tree's root along the tree; -1 unreached
  std::vector<std::pair<int, int>> deferred_;  // (vertex, item or -1 for the whole piece)
  AxisChain chain_;
};

}  // namespace

std::vector<AxisChain> axisChains(const MedialAxis& axis,
                                  const std::function<double(double)>& retraceLimit) {
  std::vector<std::vector<int>> incident(axis.vertices.size());
  for (std::size_t e = 0; e < axis.edges.size(); ++e) {
    incident[static_cast<std::size_t>(axis.edges[e].from)].push_back(static_cast<int>(e));
    incident[static_cast<std::size_t>(axis.edges[e].to)].push_back(static_cast<int>(e));
  }
  std::vector<bool> used(axis.edges.size(), false);
  std::vector<AxisChain> chains;
  ChainWalk walk(axis, incident, used, retraceLimit, chains);
  for (std::size_t e = 0; e < axis.edges.size(); ++e)
    if (!used[e]) walk.piece(axis.edges[e].from);
  return chains;
}

}  // namespace kerfline
