#include "mainwindow/job_layout_worker.h"

#include <exception>
#include <utility>

#include "export/carve_export.h"
#include "export/converter_glyph_source.h"
#include "export/cut_route.h"
#include "export/fill_export.h"
#include "export/fill_order.h"
#include "export/glyph_cache.h"
#include "export/toolpath_export.h"
#include "typography/job_drawing.h"
#include "mainwindow/job_scene.h"
#include "vectorizer/UTTF2Vct.h"

namespace kerfline {
namespace {

// Thrown at a checkpoint of a layout whose text has been edited meanwhile (or whose window is
// closing): placement, weld, offset, fill and carving check at every character, and a carving
// at each pass of its floors, so no layout runs long after it became stale.
struct Abandoned {};

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
  WeldKerfCache weldKerf;  // after an edit, only the lines it touched are welded and offset
  for (;;) {
    Request r;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stop_ || pending_.has_value(); });
      if (stop_) return;
      r = std::move(*pending_);
      pending_.reset();
    }
    const std::uint64_t own = r.number;
    const Checkpoint checkpoint = [this, own] {
      if (newest_.load(std::memory_order_relaxed) != own) throw Abandoned{};
    };
    try {
      ToolpathNotes notes;
      double travel = 0;
      // A V-carve is a G-code choice: the view shows the letters and, shaded beneath them, what
      // the V-bit's program cuts.
      const bool carves = r.options.cut == CutOperation::VCarve;
      ConversionOptions shown = r.options;
      if (carves) shown.format = OutputFormat::Gcode;
      Drawing finished =
          jobDrawing(r.text, shown, converter, cache, &notes, checkpoint, &weldKerf);
      // A fill is a G-code choice: the view shows the pieces that program cuts.
      std::vector<std::string> fillNotes;
      Drawing drawing;
      CarveShading carving;
      if (carves) {
        const CarveJob job = carveDrawing(finished, shown, checkpoint);
        carving = buildCarveShading(job, carveSettings(shown));
        travel = job.travel.travel;
        fillNotes = job.notes;
        drawing = std::move(finished);
      } else if (fillsLetters(r.options)) {
        ConversionOptions asGcode = r.options;
        asGcode.format = OutputFormat::Gcode;
        FilledDrawing filled = fillDrawing(finished, asGcode, checkpoint);
        travel = fillTravel(filled);
        drawing = std::move(filled.pieces);
        sampleFillArcs(drawing, asGcode);
        fillNotes = std::move(filled.notes);
      } else {
        drawing = drawingAsCut(std::move(finished), r.options, &travel);
      }
      auto scene = std::make_shared<JobScene>(
          buildJobScene(std::move(drawing), unitName(r.options.units)));
      scene->notes = toolpathSummary(notes);
      for (const std::string& note : fillNotes)
        scene->notes += (scene->notes.empty() ? "" : " ") + note;
      scene->travel = travel;
      scene->carving = std::move(carving);
      deliver(r.number, std::move(scene), {});
    } catch (const Abandoned&) {
      // A newer request is waiting (or the window is closing): nothing to show.
    } catch (const std::exception& e) {
      deliver(r.number, nullptr, QString::fromStdString(e.what()));
    }
  }
}

}  // namespace kerfline
