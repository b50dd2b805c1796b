#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include "mainwindow/Unit1.h"

namespace kerfline {

void TMainForm::Delay(std::uint32_t ms) {
  // A monotonic clock cannot wrap; the nested loop handles paints, ticks and input while
  // waiting without spinning the processor. A precise timer may still fire a little early,
  // hence the loop until the clock agrees.
  QElapsedTimer clock;
  clock.start();
  for (;;) {
    const qint64 remaining = static_cast<qint64>(ms) - clock.elapsed();
    // Closing the window ends the program: once the application is quitting, every nested
    // loop returns at once, and the wait would only spin the processor with nobody watching.
    if (remaining <= 0 || closed_) return;
    QEventLoop loop;
    QTimer::singleShot(std::chrono::milliseconds(remaining), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
  }
}

}  // namespace kerfline
