#pragma once
// Lays out the window's text for the job view on a thread of its own, so that typing never
// waits for the drawing.
#include <QObject>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "export/conversion_options.h"
#include "richtext/styled_text.h"

namespace kerfline {

struct JobScene;

class JobLayoutWorker : public QObject {
  Q_OBJECT
 public:
  explicit JobLayoutWorker(QObject* parent = nullptr);
  /// Abandons any layout under way and waits for the thread to end.
  ~JobLayoutWorker() override;

  /// Lays out text with options. A layout still under way for an older request is
  /// abandoned; only the newest request's scene is delivered.
  void request(StyledText text, const ConversionOptions& options);
  /// The text or settings changed and a request will follow: a layout under way, or one
  /// finished but not yet delivered, is of an older text and is not delivered.
  void markStale();
  /// True from a request until its scene (or failure) has been delivered.
  bool busy() const { return delivered_ != requested_; }

 signals:
  /// The scene of the newest request (on the window's thread).
  void finished(std::shared_ptr<const JobScene> scene);
  /// The newest request could not be laid out: the reason.
  void failed(const QString& message);

 private:
  struct Request {
    StyledText text;
    ConversionOptions options;
    std::uint64_t number = 0;
  };
  void run();
  void deliver(std::uint64_t number, std::shared_ptr<const JobScene> scene, const QString& error);

  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<Request> pending_;
  bool stop_ = false;
  std::atomic<std::uint64_t> newest_{0};  // read by the thread to abandon stale work
  std::uint64_t requested_ = 0;           // window thread only
  std::uint64_t delivered_ = 0;           // window thread only
  std::thread thread_;
};

}  // namespace kerfline
