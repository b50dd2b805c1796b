#include "mainwindow/job_layout_worker.h"

#include <exception>
#include <utility>

#include "export/converter_glyph_source.h"
#include "export/glyph_cache.h"
#include "export/toolpath_export.h"
#include "mainwindow/job_drawing.h"
#include "mainwindow/job_scene.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {
namespace {

// Thrown from the glyph source to leave a walk whose text has been edited meanwhile: the
// walk asks for every character's glyph, so no layout runs long after it became stale.
struct Abandoned {};

class AbandoningGlyphSource final : public GlyphSource {
 public:
  AbandoningGlyphSource(GlyphSource& inner, const std::atomic<std::uint64_t>& newest, std::uint64_t own)
      : inner_(inner), newest_(newest), own_(own) {}
  std::optional<TStrokeCollection> strokesOf(const TFontDescription& font, char32_t c,
                                             int precision) override {
    if (newest_.load(std::memory_order_relaxed) != own_) throw Abandoned{};
    return inner_.strokesOf(font, c, precision);
  }

 private:
  GlyphSource& inner_;
  const std::atomic<std::uint64_t>& newest_;
  std::uint64_t own_;
};

// The same check for placements that convert by glyph index (font spacing), at every character
// they place.
class AbandoningObserver final : public ExportObserver {
 public:
  AbandoningObserver(const std::atomic<std::uint64_t>& newest, std::uint64_t own)
      : newest_(newest), own_(own) {}
  void characterBecameCurrent(std::int32_t, char32_t, const TFontDescription&, float) override {
    if (newest_.load(std::memory_order_relaxed) != own_) throw Abandoned{};
  }

 private:
  const std::atomic<std::uint64_t>& newest_;
  std::uint64_t own_;
};

}  // namespace

JobLayoutWorker::JobLayoutWorker(QObject* parent) : QObject(parent), thread_([this] { run(); }) {}

JobLayoutWorker::~JobLayoutWorker() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
    pending_.reset();
  }
  newest_.store(0);  // abandons the walk under way at its next character
  wake_.notify_all();
  thread_.join();
}

void JobLayoutWorker::request(StyledText text, const ConversionOptions& options) {
  const std::uint64_t number = ++requested_;
  {
    std::lock_guard lock(mutex_);
    pending_ = Request{std::move(text), options, number};
  }
  newest_.store(number);
  wake_.notify_all();
}

void JobLayoutWorker::markStale() {
  newest_.store(++requested_);
  std::lock_guard lock(mutex_);
  pending_.reset();
}

void JobLayoutWorker::deliver(std::uint64_t number, std::shared_ptr<const JobScene> scene,
                              const QString& error) {
  // Runs on the window's thread; the worker object may have been asked for more since.
  QMetaObject::invokeMethod(
      this,
      [this, number, scene = std::move(scene), error] {
        if (number != requested_) return;
        delivered_ = number;
        if (scene)
          emit finished(scene);
        else
          emit failed(error);
      },
      Qt::QueuedConnection);
}

void JobLayoutWorker::run() {
  // The thread's own converter and cache: the font library behind them locks for itself.
  TTTFToVectorConverter converter;
  ConverterGlyphSource converted(converter);
  GlyphCache cache(converted);
  for (;;) {
    Request r;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || pending_.has_value(); });
      if (stop_) return;
      r = std::move(*pending_);
      pending_.reset();
    }
    AbandoningGlyphSource glyphs(cache, newest_, r.number);
    AbandoningObserver observer(newest_, r.number);
    try {
      ToolpathNotes notes;
      Drawing drawing = jobDrawing(r.text, r.options, converter, glyphs, &notes, &observer);
      auto scene = std::make_shared<JobScene>(
          buildJobScene(std::move(drawing), unitName(r.options.units)));
      scene->notes = vanishedSummary(notes.vanished);
      const std::string overlaps = overlapSummary(notes.overlapping);
      if (!overlaps.empty()) scene->notes += (scene->notes.empty() ? "" : " ") + overlaps;
      deliver(r.number, std::move(scene), {});
    } catch (const Abandoned&) {
      // A newer request is waiting (or the window is closing): nothing to show.
    } catch (const std::exception& e) {
      deliver(r.number, nullptr, QString::fromStdString(e.what()));
    }
  }
}

}  // namespace kerfline
